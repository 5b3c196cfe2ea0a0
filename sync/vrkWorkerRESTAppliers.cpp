// The download side of the worker: the dispatch of one fetched message (apply
// in one transaction, confirm, commit only after the service accepted the
// confirmation) and the appliers: the common pattern for one procedure per
// row, the class with its nested courses and controls, the person with its
// request for missing data, and the run with its nested rows.

#include "sync/vrkWorkerREST.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "sync/AppliedMessages.h"
#include "sync/DownloadProcedures.h"
#include "sync/UploadBuilders.h"
#include "sync/jsonnode.h"

namespace {

constexpr int ConfirmAttempts = 3;

void Start(TFbTransaction* T)
{
    if (!T->Active())
        T->StartTransaction();
}

// Sets the statement, fills the inputs that read the row, lets the caller
// set the rest, and executes.
void Run(TFbQuery& Q, const TReplProcedure& P, const TJsonNode& Row, const std::function<void(TFbQuery&)>& Extra = nullptr)
{
    replinput::UseStatement(Q, P.ExecuteStatement());
    replinput::SetInputs(Q, Row, P);
    if (Extra)
        Extra(Q);
    Q.ExecSQL();
}

// The deletion: only the key inputs and the repl type are set.
void RunDelete(TFbQuery& Q, const TApplierTable& Table, const TJsonNode& Row, const QString& ReplType)
{
    const TReplProcedure Delete = Table.Delete();
    replinput::UseStatement(Q, Delete.ExecuteStatement());
    for (const QString& Key : Table.DeleteKeys)
        for (const TReplInput& In : Delete.Inputs)
            if (In.Member == Key)
                replinput::SetInput(Q, Row, TReplInput{In.Param, In.Member, In.Kind, true});
    Q.ParamByName(Table.ReplTypeParam).SetAsString(ReplType);
    Q.ExecSQL();
}

const TJsonNode& Rows(const TJsonNode& Root, const QString& Type)
{
    const TJsonNode& Node = Root.Member(Type);
    if (!Node.IsList())
        throw EJSONParseError(QStringLiteral("%1 ei ole lista").arg(Type));
    return Node;
}

QString ErrorPrefix(const QString& Type, bool WithType)
{
    return WithType ? QStringLiteral("(%1) REPLICATION_ID:").arg(Type) : QStringLiteral("REPLICATION_ID:");
}

bool HasMore(const TJsonNode& Node)
{
    if (Node.ValueKind() == TJsonNode::TValueKind::vkBoolean)
        return Node.AsBoolean();
    return Node.AsString() == QLatin1String("true");
}

}  // namespace

namespace confirmation {

QString Processed(const QString& ReplicationId)
{
    return QStringLiteral("{\"replication_id\": \"%1\"}").arg(JsonEscape(ReplicationId));
}

QString Error(const QString& ReplicationId, const QString& Text)
{
    return QStringLiteral("{\"replication_id\": \"%1\", \"error_message\": \"%2\"}").arg(JsonEscape(ReplicationId), JsonEscape(Text));
}

QString RequestError(const QString& ReplicationId, const QString& Text, const QString& RequestData, const QString& RequestId)
{
    return QStringLiteral("{\"replication_id\": \"%1\", \"error_message\": \"%2\", \"request_data\": \"%3\", \"request_data_id\": \"%4\"}")
        .arg(JsonEscape(ReplicationId), JsonEscape(Text), JsonEscape(RequestData), JsonEscape(RequestId));
}

QString Body(const QString& MessageId, const QStringList& Processed, const QStringList& Errors)
{
    const QString P = QLatin1Char('[') + Processed.join(QStringLiteral(", ")) + QLatin1Char(']');
    const QString E = QLatin1Char('[') + Errors.join(QStringLiteral(", ")) + QLatin1Char(']');
    return QStringLiteral("{\"message_id\": \"%1\", \"processed\": \"%2\", \"errors\": \"%3\"}")
        .arg(JsonEscape(MessageId), JsonEscape(P), JsonEscape(E));
}

QString StripLineBreaks(const QString& Text)
{
    static const QString EscapedCrLf = QStringLiteral("\\\\r\\\\n");
    QString Out;
    Out.reserve(Text.size());
    bool InString = false;
    for (qsizetype K = 0; K < Text.size(); ++K) {
        const QChar C = Text.at(K);
        if (C == QLatin1Char('\n'))
            continue;
        if (!InString) {
            InString = C == QLatin1Char('"');
            Out += C;
            continue;
        }
        if (C == QLatin1Char('"')) {
            InString = false;
            Out += C;
        } else if (C == QLatin1Char('\\') && K + 1 < Text.size()) {
            if (QStringView(Text).mid(K, 6) == EscapedCrLf) {
                K += 5;
            } else if (Text.at(K + 1) == QLatin1Char('n')) {
                K += 1;
            } else {
                Out += C;
                Out += Text.at(++K);
            }
        } else {
            Out += C;
        }
    }
    return Out;
}

}  // namespace confirmation

// One message is applied and recorded as applied in one transaction, which is
// committed before the confirmation goes out (see AppliedMessages.h): the
// service counts a message as delivered as soon as it takes the confirmation,
// whether or not its reply gets here, so the rows must already be safe by
// then. A message delivered again is confirmed again with the body stored for
// it, without applying its rows a second time; so is one whose confirmation
// the service refused.
int TformWorkerREST::process_json(QString& inout_result)
{
    inout_result = confirmation::StripLineBreaks(inout_result);
    std::unique_ptr<TJsonNode> Root = TJsonNode::Parse(inout_result);
    if (!Root)
        throw EJSONParseError(QStringLiteral("Tyhjä viesti"));
    const QString Type = Root->Member(u"message_type").AsString();
    const QString MessageId = Root->Member(u"message_id").AsString();
    const bool More = HasMore(Root->Member(u"hasMore"));
    struct TRollback {
        TFbTransaction* T;
        ~TRollback()
        {
            try {
                if (T->Active())
                    T->Rollback();
            } catch (const std::exception&) {
            }
        }
    } Guard{fbTrWorkerUpdateDefaultFD};
    Start(fbTrWorkerUpdateDefaultFD);
    if (Type == QLatin1String("none"))
        return 0;

    TAppliedMessages Applied(*FDQueryUpdateDefaultFD);
    const QString Print = TAppliedMessages::Fingerprint(Type, *Root);
    int Result = 0;
    if (!Applied.Find(MessageId, Print, inout_result)) {
        Result = ApplyMessage(Type, *Root, inout_result, MessageId);
        if (Result != 9) {
            Applied.Record(MessageId, Print, Type, inout_result);
            // Before the confirmation, not after it: a rollback on a lost reply would lose the message.
            fbTrWorkerUpdateDefaultFD->Commit();
        }
    }
    if (Result != 9) {
        if (ConfirmWithRetry(inout_result) == 0) {
            MarkConfirmed(Applied, MessageId);
            Result = More ? 1 : 0;
        } else {
            Result = 9;
        }
    }
    if (FSession.FirstSyncDone() == QLatin1String("N") && (Result == 0 || Result == 1) && Type == QLatin1String("vrk_person_chips"))
        Result = 2;
    try {
        if (Type == QLatin1String("vrk_class") || Type == QLatin1String("vrk_club") || Type == QLatin1String("vrk_person"))
            OnMain([this] { FHost.RefreshMainTreeEvent(); });
        if (Type == QLatin1String("vrk_results_class"))
            OnMain([this] { FHost.RefreshResultsGrid(); });
    } catch (const std::exception&) {
        // A cancelled cycle skips the refreshes.
    }
    return Result;
}

int TformWorkerREST::ApplyMessage(const QString& Type, const TJsonNode& Root, QString& inout_body, const QString& MessageId)
{
    if (const TApplierTable* Table = downloadprocs::Plain(Type))
        return ApplyPlain(*Table, Root, inout_body, MessageId);
    if (Type == QLatin1String("vrk_class"))
        return vrk_class_in(Root, inout_body, MessageId);
    if (Type == QLatin1String("vrk_person"))
        return vrk_person_in(Root, inout_body, MessageId);
    if (Type == QLatin1String("vrk_results_class"))
        return vrk_results_class_in(Root, inout_body, MessageId);
    return 0;  // no applier: confirmed with its own text
}

// Only a mark for the record: the message is safe without it (the caller's
// guard rolls back a mark that failed).
void TformWorkerREST::MarkConfirmed(TAppliedMessages& Applied, const QString& MessageId)
{
    try {
        Start(fbTrWorkerUpdateDefaultFD);
        Applied.MarkConfirmed(MessageId);
        fbTrWorkerUpdateDefaultFD->Commit();
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
    }
}

// A confirmation whose reply was lost is sent again at once (the service takes
// a repeated confirmation as accepted), so the service learns of it within
// this pass; when every reply is lost the error reaches the pass, and the
// service's next delivery of the message is confirmed from the record.
int TformWorkerREST::ConfirmWithRetry(const QString& Body)
{
    for (int Attempt = 1;; ++Attempt) {
        try {
            QString Reply;
            return send_confirmation_rest(Body, Reply);
        } catch (const std::exception&) {
            if (Attempt >= ConfirmAttempts || Cancelled())
                throw;
        }
    }
}

int TformWorkerREST::ApplyEachRow(const QString& Type, const QString& ErrorText, const TJsonNode& Root,
                                  const std::function<void(const TJsonNode&)>& Apply, QString& inout_body,
                                  const QString& MessageId)
{
    QStringList Processed, Errors;
    try {
        for (const TJsonNode* Row : Rows(Root, Type)) {
            QString R;
            try {
                R = Row->Member(u"replication_id").AsString();
                Apply(*Row);
                Processed << confirmation::Processed(R);
            } catch (const std::exception& E) {
                const QString Text = ErrorText + R + QStringLiteral(":::::") + DbMessage(QString::fromUtf8(E.what()));
                Report(Text);
                Errors << confirmation::Error(R, Text);
            }
        }
        inout_body = confirmation::Body(MessageId, Processed, Errors);
        return 0;
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        return 9;
    }
}

int TformWorkerREST::ApplyPlain(const TApplierTable& Table, const TJsonNode& Root, QString& inout_body, const QString& MessageId)
{
    return ApplyEachRow(
        Table.MessageType, ErrorPrefix(Table.MessageType, Table.TypeInErrorText), Root,
        [&](const TJsonNode& Row) {
            const QString ReplType = Row.Member(u"repl_type").AsString();
            if (ReplType == QLatin1String("D"))
                RunDelete(*fbProcReplFD, Table, Row, ReplType);
            else
                Run(*fbProcReplFD, Table.Upsert, Row,
                    [&](TFbQuery& Q) { Q.ParamByName(Table.ReplTypeParam).SetAsString(ReplType); });
        },
        inout_body, MessageId);
}

void TformWorkerREST::ApplyClassRow(const TJsonNode& Row)
{
    const QString ReplType = Row.Member(u"repl_type").AsString();
    TFbQuery& Q = *fbProcReplFD;
    if (ReplType == QLatin1String("D")) {
        replinput::UseStatement(Q, downloadprocs::Class().ExecuteStatement());
        Q.ParamByName(QStringLiteral("IN_CLASS_ID")).SetAsLargeInt(Row.Member(u"class_id").AsInt64());
        Q.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(QStringLiteral("D"));
        Q.ExecSQL();
        return;
    }
    const QString U = QStringLiteral("U");
    Run(Q, downloadprocs::Class(), Row, [&](TFbQuery& P) { P.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(U); });
    const int64_t EventId = Row.Member(u"event_id").AsInt64();
    const int64_t ClassId = Row.Member(u"class_id").AsInt64();
    const TJsonNode& ClassCourses = Row.Member(u"class_courses");
    if (!ClassCourses.IsList())
        return;
    for (const TJsonNode* C : ClassCourses) {
        const TJsonNode& Courses = C->Member(u"courses");
        int64_t CourseId = 0;
        if (Courses.IsList()) {
            if (Courses.ListItems()->Count() == 0)
                throw EJSONUnknownFieldOrIndex(QStringLiteral("class_course %1: courses on tyhjä").arg(C->Member(u"class_course_id").AsString()));
            for (const TJsonNode* K : Courses)
                Run(Q, downloadprocs::NestedCourse(), *K, [&](TFbQuery& P) {
                    P.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(EventId);
                    P.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(U);
                });
            const TJsonNode& Last = *(*Courses.ListItems())[Courses.ListItems()->Count() - 1];
            CourseId = Last.Member(u"course_id").AsInt64();
            const TJsonNode& Controls = Last.Member(u"course_controls");
            if (Controls.IsList())
                for (const TJsonNode* Item : Controls) {
                    Run(Q, downloadprocs::NestedControl(), *Item, [&](TFbQuery& P) {
                        P.ParamByName(QStringLiteral("IN_EVENT_ID")).SetAsLargeInt(EventId);
                        P.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(U);
                    });
                    Run(Q, downloadprocs::NestedCourseControl(), *Item, [&](TFbQuery& P) {
                        P.ParamByName(QStringLiteral("IN_COURSE_ID")).SetAsLargeInt(CourseId);
                        P.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(U);
                    });
                }
        } else {
            CourseId = Courses.Member(u"course_id").AsInt64();
        }
        Run(Q, downloadprocs::NestedClassCourse(), *C, [&](TFbQuery& P) {
            P.ParamByName(QStringLiteral("IN_CLASS_ID")).SetAsLargeInt(ClassId);
            P.ParamByName(QStringLiteral("IN_COURSE_ID")).SetAsLargeInt(CourseId);
            P.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(U);
        });
    }
}

int TformWorkerREST::vrk_class_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId)
{
    const QString Type = QStringLiteral("vrk_class");
    return ApplyEachRow(Type, ErrorPrefix(Type, true), Root, [this](const TJsonNode& Row) { ApplyClassRow(Row); }, inout_body,
                        MessageId);
}

int TformWorkerREST::vrk_person_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId)
{
    const TApplierTable& Table = downloadprocs::Person();
    QStringList Processed, Errors;
    try {
        for (const TJsonNode* Row : Rows(Root, Table.MessageType)) {
            QString R;
            try {
                R = Row->Member(u"replication_id").AsString();
                const QString ReplType = Row->Member(u"repl_type").AsString();
                QString D;
                int64_t N = 0;
                if (ReplType == QLatin1String("D")) {
                    RunDelete(*fbProcReplFD, Table, *Row, ReplType);
                } else {
                    TFbQuery& Q = *fbProcReplFD;
                    replinput::UseStatement(Q, Table.Upsert.SelectStatement(QStringLiteral("OUT_REQUEST_DATA, OUT_REQUEST_DATA_ID")));
                    replinput::SetInputs(Q, *Row, Table.Upsert);
                    Q.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(ReplType);
                    Q.Open();
                    if (!Q.Eof() && !Q.Fields()[0]->IsNull()) {
                        D = Q.Fields()[0]->AsString();
                        N = Q.Fields()[1]->AsLargeInt();
                    }
                    Q.Close();
                }
                if (N != 0) {
                    const QString Id = QString::number(N);
                    const QString Text = QStringLiteral("(vrk_person) REPLICATION_ID:") + R + QLatin1Char(':') + D + QLatin1Char(':') +
                                         Id + QStringLiteral(":::VRK_PERSON ") + Row->Member(u"person_id").AsString() +
                                         QStringLiteral(" synkronointi ei onnistunut. Puuttuva tieto: ") + D + QLatin1Char(':') + Id;
                    Errors << confirmation::RequestError(R, Text, D, Id);
                } else {
                    Processed << confirmation::Processed(R);
                }
            } catch (const std::exception& E) {
                const QString Text = QStringLiteral("(vrk_person) REPLICATION_ID:") + R + QStringLiteral(":OTHERS::::") +
                                     DbMessage(QString::fromUtf8(E.what()));
                Report(Text);
                Errors << confirmation::Error(R, Text);
            }
        }
        inout_body = confirmation::Body(MessageId, Processed, Errors);
        return Errors.isEmpty() ? 0 : 1;
    } catch (const std::exception& E) {
        Report(DbMessage(QString::fromUtf8(E.what())));
        return 9;
    }
}

void TformWorkerREST::ApplyRunRow(const TJsonNode& Row)
{
    const TApplierTable& Table = downloadprocs::Run();
    const QString ReplType = Row.Member(u"repl_type").AsString();
    if (ReplType == QLatin1String("D")) {
        RunDelete(*fbProcReplFD, Table, Row, ReplType);
        return;
    }
    Run(*fbProcReplFD, Table.Upsert, Row, [&](TFbQuery& Q) { Q.ParamByName(QStringLiteral("IN_REPL_TYPE")).SetAsString(ReplType); });
    const std::pair<const char16_t*, const TReplProcedure*> Nested[] = {{u"results_splits", &downloadprocs::RunSplit()},
                                                                        {u"special_punches", &downloadprocs::RunSpecialPunch()},
                                                                        {u"results_class_all", &downloadprocs::RunCourseCheck()}};
    for (const auto& [Name, Procedure] : Nested) {
        const TJsonNode& Items = Row.Member(QStringView(Name));
        for (const TJsonNode* Item : Items)
            Run(*fbProcRepl2FD, *Procedure, *Item);
    }
}

int TformWorkerREST::vrk_results_class_in(const TJsonNode& Root, QString& inout_body, const QString& MessageId)
{
    const QString Type = QStringLiteral("vrk_results_class");
    return ApplyEachRow(Type, ErrorPrefix(Type, true), Root, [this](const TJsonNode& Row) { ApplyRunRow(Row); }, inout_body,
                        MessageId);
}
