#include "sync/UploadBuilders.h"

#include "platform/database/FbQuery.h"
#include "platform/rtl/DateUtils.h"

#include <QStringList>

namespace {

const QString ClientMessageOpening = QStringLiteral("\"client_message\": \"");

QString Quoted(const QString& Name, const QString& Value)
{
    return QLatin1Char('"') + Name + QStringLiteral("\": \"") + JsonEscape(Value) + QLatin1Char('"');
}

// The members of a record or item read from the current row: "name": "value"
// pairs in order, null optional columns left out.
QStringList Members(const TWireRecord& Record, const TDataSet& Row, int64_t ChangedRowId = 0, int64_t ThisClient = 0)
{
    QStringList Out;
    for (const TWireMember& Member : Record.Members) {
        if (Member.Direction == TWireDirection::wdDownloadOnly)
            continue;
        if (Member.Source == TWireSource::wsChangedRowId) {
            Out << Quoted(Member.Name, QString::number(ChangedRowId));
            continue;
        }
        if (Member.Source == TWireSource::wsThisClient) {
            Out << Quoted(Member.Name, QString::number(ThisClient));
            continue;
        }
        const TField& Field = *Row.FieldByName(Member.ColumnName());
        if (Field.IsNull()) {
            // A column that should never be null still keeps its member.
            if (Member.Always)
                Out << Quoted(Member.Name, QString());
            continue;
        }
        Out << Quoted(Member.Name, WireValue(Field, Member.Form));
    }
    return Out;
}

QString SelectList(const TWireRecord& Record, bool WithKey = true)
{
    QStringList Columns;
    for (const TWireMember& Member : Record.Members)
        if (Member.Direction != TWireDirection::wdDownloadOnly && Member.Source == TWireSource::wsColumn
            && (WithKey || Member.Name != Record.KeyMember))
            Columns << QStringLiteral("a.") + Member.ColumnName();
    return Columns.join(QStringLiteral(", "));
}

}  // namespace

QString JsonEscape(const QString& Text)
{
    QString Out;
    Out.reserve(Text.size() + 8);
    for (const QChar C : Text) {
        switch (C.unicode()) {
        case u'"': Out += QStringLiteral("\\\""); break;
        case u'\\': Out += QStringLiteral("\\\\"); break;
        case u'\b': Out += QStringLiteral("\\b"); break;
        case u'\f': Out += QStringLiteral("\\f"); break;
        case u'\n': Out += QStringLiteral("\\n"); break;
        case u'\r': Out += QStringLiteral("\\r"); break;
        case u'\t': Out += QStringLiteral("\\t"); break;
        default:
            if (C.unicode() < 0x20)
                Out += QStringLiteral("\\u%1").arg(C.unicode(), 4, 16, QLatin1Char('0'));
            else
                Out += C;
        }
    }
    return Out;
}

QString WireValue(const TField& Field, TWireForm Form)
{
    switch (Form) {
    case TWireForm::wfInteger:
        return QString::number(Field.AsLargeInt());
    case TWireForm::wfText:
        return Field.AsString();
    case TWireForm::wfText22:
        return Field.AsString().replace(QLatin1Char('"'), QStringLiteral("%22"));
    case TWireForm::wfDateTime: {
        int Y, Mo, D, H, Mi, S, Ms;
        const TDateTime DT = Field.AsDateTime();
        DecodeDate(DT, Y, Mo, D);
        DecodeTime(DT, H, Mi, S, Ms);
        return QStringLiteral("%1-%2-%3T%4:%5:%6")
            .arg(Y, 4, 10, QLatin1Char('0')).arg(Mo, 2, 10, QLatin1Char('0')).arg(D, 2, 10, QLatin1Char('0'))
            .arg(H, 2, 10, QLatin1Char('0')).arg(Mi, 2, 10, QLatin1Char('0')).arg(S, 2, 10, QLatin1Char('0'));
    }
    case TWireForm::wfWhole:
        return QString::number(Field.AsCurrency().ToScaled(0));
    case TWireForm::wfHundredths:
        return QString::number(Field.AsCurrency().ToScaled(2));
    case TWireForm::wfBase64:
        return QString::fromLatin1(Field.AsString().toUtf8().toBase64());
    }
    return QString();
}

TUploadBuilders::TUploadBuilders(TFbQuery* ReplData, TFbQuery* ReplData2, TFbQuery* ReplData3, TFbQuery* ReplData4)
    : fbQueryReplDataFD(ReplData), fbQueryReplData2FD(ReplData2), fbQueryReplData3FD(ReplData3), fbQueryReplData4FD(ReplData4)
{
}

TUploadBuilders::~TUploadBuilders() = default;

TFbQuery& TUploadBuilders::OpenQuery(TFbQuery& Query, const QString& Sql, const QString& Param, int64_t Value)
{
    std::unique_ptr<TFbQuery>& Q = FStatements[{&Query, Sql}];
    if (!Q) {
        Q = std::make_unique<TFbQuery>();
        Q->SetConnection(Query.Connection());
        Q->SetTransaction(Query.Transaction());
        Q->SQL().SetText(Sql);
    }
    Q->Close();
    Q->ParamByName(Param).SetAsLargeInt(Value);
    Q->Open();
    return *Q;
}

QString TUploadBuilders::BatchOpening(int64_t SyncMessageId)
{
    return QStringLiteral("{\"message_id\" : \"%1\", ").arg(SyncMessageId);
}

void TUploadBuilders::CloseBatch(QString& Message, const QString& ListName)
{
    if (!Message.contains(ClientMessageOpening))
        Message += ClientMessageOpening + JsonEscape(QLatin1Char('"') + ListName + QStringLiteral("\": ["));
    Message += QStringLiteral("]\"}");
}

// The record's start: the list name for the batch's first record, else the
// separator. The batch's "client_message" opening comes with the first record
// written, whichever row of the batch that is.
static QString RecordStart(const TWireRecord& Record, QString& inout_message)
{
    if (!inout_message.contains(ClientMessageOpening)) {
        inout_message += ClientMessageOpening;
        return QLatin1Char('"') + Record.ListName + QStringLiteral("\": [{");
    }
    return QStringLiteral(", {");
}

void TUploadBuilders::ShortRecord(const TWireRecord& Record, int64_t replication_id, int64_t in_repl_data_id,
                                  QString& inout_message, const QString& ReplType)
{
    const QString Start = RecordStart(Record, inout_message);
    const QString Text = Start + Quoted(QStringLiteral("client_message_id"), QString::number(replication_id)) + QStringLiteral(", ")
                         + Quoted(Record.KeyMember, QString::number(in_repl_data_id)) + QStringLiteral(", ")
                         + Quoted(QStringLiteral("repl_type"), ReplType) + QLatin1Char('}');
    inout_message += JsonEscape(Text);
}

void TUploadBuilders::Build(const TWireRecord& Record, int64_t replication_id, int64_t in_repl_data_id,
                            QString& inout_message, const QString& in_repl_type)
{
    const bool IsClientMessage = Record.QueueTable == QLatin1String("VRK_CLIENT_MESSAGE");
    if (!IsClientMessage && in_repl_type == QLatin1String("D")) {
        ShortRecord(Record, replication_id, in_repl_data_id, inout_message, in_repl_type);
        return;
    }
    const bool KeyInSelect = Record.QueueTable != QLatin1String("VRK_CLIENT");
    TFbQuery& Q = OpenQuery(*fbQueryReplDataFD, QStringLiteral("select %1 from %2 a where a.%3 = :%3")
                     .arg(SelectList(Record, KeyInSelect), Record.Table, Record.KeyMember),
              Record.KeyMember, in_repl_data_id);
    if (Q.Eof()) {
        Q.Close();
        if (!IsClientMessage)  // a client message that is gone is left out
            ShortRecord(Record, replication_id, in_repl_data_id, inout_message, QStringLiteral("D"));
        return;
    }
    QStringList Pairs;
    Pairs << Quoted(QStringLiteral("client_message_id"), QString::number(replication_id));
    Pairs << Members(Record, Q, in_repl_data_id, ThisClientId);
    Q.Close();
    if (!IsClientMessage)
        Pairs << Quoted(QStringLiteral("repl_type"), in_repl_type);
    QString Text = RecordStart(Record, inout_message) + Pairs.join(QStringLiteral(", "));
    if (Record.QueueTable == QLatin1String("VRK_CLASS"))
        Text += ClassLists(in_repl_data_id);
    else if (Record.QueueTable == QLatin1String("VRK_RESULTS_CLASS"))
        Text += RunLists(in_repl_data_id);
    Text += QLatin1Char('}');
    inout_message += JsonEscape(Text);
}

QString TUploadBuilders::ClassLists(int64_t ClassId)
{
    QString Out = QStringLiteral(", \"class_courses\": [");
    TFbQuery& Links = OpenQuery(*fbQueryReplData2FD, QStringLiteral("select a.class_course_id, a.class_id, a.course_id, a.inserted, a.updated "
                                    "from vrk_class_course a where a.class_id = :class_id and a.deleted = 'E' "
                                    "order by a.class_course_id"),
              QStringLiteral("class_id"), ClassId);
    bool FirstLink = true;
    for (; !Links.Eof(); Links.Next()) {
        Out += FirstLink ? QStringLiteral("{") : QStringLiteral(", {");
        FirstLink = false;
        Out += Members(wire::ClassCourseItem(), Links).join(QStringLiteral(", ")) + QStringLiteral(" , \"courses\": [");
        TFbQuery& Courses = OpenQuery(*fbQueryReplData3FD, QStringLiteral("select a.course_id, a.event_id, a.course_name, a.course_length, a.climb, a.notes, "
                                          "a.controls_string, a.inserted, a.updated from vrk_course a "
                                          "where a.course_id = :course_id and a.deleted = 'E'"),
                  QStringLiteral("course_id"), Links.FieldByName(QStringLiteral("course_id"))->AsLargeInt());
        bool FirstCourse = true;
        for (; !Courses.Eof(); Courses.Next()) {
            Out += FirstCourse ? QStringLiteral("{") : QStringLiteral(", {");
            FirstCourse = false;
            Out += Members(wire::CourseItem(), Courses).join(QStringLiteral(", ")) + QStringLiteral(" , \"course_controls\": [");
            TFbQuery& Controls = OpenQuery(*fbQueryReplData4FD,
                      QStringLiteral("select a.course_control_id, a.course_id, a.control_sequence, a.control_id, a.control_code, "
                                     "a.control_type, a.leg_length, a.online_name, a.online_leg_length, a.inserted, a.updated, "
                                     "a.online_control cc_online_control, b.punching_unit1, b.punching_unit2, b.punching_unit3, "
                                     "b.punching_unit4, b.punching_unit5, b.online_control, b.mandatory_control "
                                     "from vrk_controls b, vrk_course_controls a where b.control_id = a.control_id "
                                     "and a.course_id = :course_id order by a.control_sequence, a.course_control_id"),
                      QStringLiteral("course_id"), Courses.FieldByName(QStringLiteral("course_id"))->AsLargeInt());
            bool FirstControl = true;
            for (; !Controls.Eof(); Controls.Next()) {
                Out += FirstControl ? QStringLiteral("{") : QStringLiteral(", {");
                FirstControl = false;
                Out += Members(wire::CourseControlItem(), Controls).join(QStringLiteral(", ")) + QStringLiteral(" }");
            }
            Controls.Close();
            Out += QStringLiteral("]}");
        }
        Courses.Close();
        Out += QStringLiteral("]}");
    }
    Links.Close();
    Out += QStringLiteral("], \"additional_classes\": [");
    TFbQuery& Extras = OpenQuery(*fbQueryReplData2FD, QStringLiteral("select a.additional_class_id, a.class_id, a.inserted, a.updated, a.class_name, a.fee "
                                    "from vrk_additional_class a where a.class_id = :class_id order by a.additional_class_id"),
              QStringLiteral("class_id"), ClassId);
    bool FirstExtra = true;
    for (; !Extras.Eof(); Extras.Next()) {
        Out += FirstExtra ? QStringLiteral("{") : QStringLiteral(", {");
        FirstExtra = false;
        Out += Members(wire::AdditionalClassItem(), Extras).join(QStringLiteral(", ")) + QStringLiteral(" }");
    }
    Extras.Close();
    Out += QStringLiteral("]");
    return Out;
}

QString TUploadBuilders::RunLists(int64_t RunId)
{
    struct TList {
        const char* Name;
        const TWireRecord& Item;
        const char* Sql;
    };
    const TList Lists[] = {
        {"results_splits", wire::SplitItem(),
         "select A.RESULTS_SPLIT_ID, A.RESULTS_CONTROL_ID, A.RESULTS_CLASS_ID, a.class_course_id, A.TIME_SEC, A.LEG_TIME_SEC, "
         "A.PUNCH_TIME, A.CONTROL_NUMBER, A.CONTROL_CODE, A.PUNCH_ORDER, A.PUNCHED_CODE, A.PUNCH_TYPE, A.PUNCH_EDITED, "
         "A.CONTROL_ID from VRK_RESULTS_SPLITS A where A.RESULTS_CLASS_ID = :RESULTS_CLASS_ID "
         "order by A.CLASS_COURSE_ID, A.PUNCH_ORDER, A.RESULTS_SPLIT_ID"},
        {"special_punches", wire::SpecialPunchItem(),
         "select a.special_punches_id, a.event_id, a.results_class_id, a.punch_code, a.punch_time, a.prev_punch_code, "
         "a.prev_punch_time from vrk_special_punches a where a.results_class_id = :results_class_id "
         "order by a.special_punches_id"},
        {"results_class_all", wire::CourseCheckItem(),
         "select a.results_class_all_id, a.results_class_id, a.class_course_id, a.time_sec, a.status, a.inserted, a.updated, "
         "a.start_time, a.finish_time, a.fixed_start_time, a.registered_time, a.start_punch_time, a.missing_controls, "
         "a.missing_controls_count, a.course_control_count, a.status_reason, a.result_notes, a.credit_penalty_time, "
         "a.times_changed from VRK_RESULTS_CLASS_ALL A where A.RESULTS_CLASS_ID = :RESULTS_CLASS_ID "
         "order by A.RESULTS_CLASS_ALL_ID"},
    };
    QString Out;
    bool FirstList = true;
    for (const TList& List : Lists) {
        Out += (FirstList ? QStringLiteral(", \"") : QStringLiteral("], \"")) + QLatin1String(List.Name) + QStringLiteral("\": [");
        FirstList = false;
        TFbQuery& Q = OpenQuery(*fbQueryReplData2FD, QLatin1String(List.Sql), QStringLiteral("RESULTS_CLASS_ID"), RunId);
        bool FirstItem = true;
        for (; !Q.Eof(); Q.Next()) {
            Out += (FirstItem ? QStringLiteral("{") : QStringLiteral(", {")) + Members(List.Item, Q).join(QStringLiteral(", ")) + QLatin1Char('}');
            FirstItem = false;
        }
        Q.Close();
    }
    Out += QStringLiteral("]");
    return Out;
}

bool TUploadBuilders::BuildRow(const QString& QueueTable, int, int64_t replication_id, int64_t in_repl_data_id,
                               QString& inout_message, const QString& in_repl_type)
{
    const TWireRecord* Record = wire::RecordOfQueueTable(QueueTable);
    if (!Record)
        return false;
    Build(*Record, replication_id, in_repl_data_id, inout_message, in_repl_type);
    return true;
}

#define SORVEX_BUILDER(Method, Queue)                                                                                      \
    void TUploadBuilders::Method(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id,                      \
                                 QString& inout_message, const QString& in_repl_type)                                      \
    {                                                                                                                      \
        BuildRow(QStringLiteral(Queue), i_sync_counter, replication_id, in_repl_data_id, inout_message, in_repl_type);    \
    }

void TUploadBuilders::client_message_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message)
{
    BuildRow(QStringLiteral("VRK_CLIENT_MESSAGE"), i_sync_counter, replication_id, in_repl_data_id, inout_message, QString());
}
SORVEX_BUILDER(vrk_client_out, "VRK_CLIENT")
SORVEX_BUILDER(vrk_event_out, "VRK_EVENT")
SORVEX_BUILDER(vrk_controls_out, "VRK_CONTROLS")
SORVEX_BUILDER(vrk_course_out, "VRK_COURSE")
SORVEX_BUILDER(vrk_course_controls_out, "VRK_COURSE_CONTROLS")
SORVEX_BUILDER(vrk_class_out, "VRK_CLASS")
SORVEX_BUILDER(vrk_class_course_out, "VRK_CLASS_COURSE")
SORVEX_BUILDER(vrk_additional_class_out, "VRK_ADDITIONAL_CLASS")
SORVEX_BUILDER(vrk_club_out, "VRK_CLUB")
SORVEX_BUILDER(vrk_person_out, "VRK_PERSON")
SORVEX_BUILDER(vrk_special_cc_out, "VRK_SPECIAL_CC")
SORVEX_BUILDER(vrk_rastilippu_entries_out, "VRK_RASTILIPPU_ENTRIES")
SORVEX_BUILDER(vrk_results_class_out, "VRK_RESULTS_CLASS")
#undef SORVEX_BUILDER
