#include "tools/webservice/WebServiceState.h"

#include <QDate>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <algorithm>

namespace webservice {

const char* const FirstBasePath = "/apex/sorvex/api/v1";
const char* const SecondBasePath = "/apex/sorvex/api/v2";

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString NowText()
{
    return QDateTime::currentDateTime().toString(TimeFormat);
}

QByteArray Json(const QJsonObject& Object)
{
    return QJsonDocument(Object).toJson(QJsonDocument::Compact);
}

TReply Message(int Status, const QString& Text)
{
    return {Status, Json(QJsonObject{{QStringLiteral("message"), Text}})};
}

QString RandomHex(int Bytes)
{
    QString Out;
    for (int K = 0; K < Bytes; ++K)
        Out += QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(256), 2, 16, QLatin1Char('0'));
    return Out;
}

// A value as text whatever its JSON kind: ids may come as strings or numbers.
QString Text(const QJsonValue& V)
{
    if (V.isString())
        return V.toString();
    if (V.isDouble())
        return QString::number(static_cast<qint64>(V.toDouble()));
    if (V.isBool())
        return V.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QString();
}

QString KeyOf(const QString& Type, const QJsonObject& Row, bool* Complete = nullptr)
{
    QStringList Parts;
    bool Ok = true;
    for (const QString& Member : KeyMembers(Type)) {
        if (!Row.contains(Member) || Text(Row.value(Member)).isEmpty())
            Ok = false;
        Parts << Text(Row.value(Member));
    }
    if (Complete)
        *Complete = Ok && !Parts.isEmpty();
    return Parts.join(QLatin1Char('|'));
}

const QMap<QString, QString>& ListTypes()
{
    static const QMap<QString, QString> Map{
        {QStringLiteral("clients"), QStringLiteral("vrk_client")},
        {QStringLiteral("events"), QStringLiteral("vrk_event")},
        {QStringLiteral("controls"), QStringLiteral("vrk_controls")},
        {QStringLiteral("courses"), QStringLiteral("vrk_course")},
        {QStringLiteral("course_controls"), QStringLiteral("vrk_course_controls")},
        {QStringLiteral("classes"), QStringLiteral("vrk_class")},
        {QStringLiteral("class_courses"), QStringLiteral("vrk_class_course")},
        {QStringLiteral("additional_classes"), QStringLiteral("vrk_additional_class")},
        {QStringLiteral("clubs"), QStringLiteral("vrk_club")},
        {QStringLiteral("persons"), QStringLiteral("vrk_person")},
        {QStringLiteral("special_ccs"), QStringLiteral("vrk_special_cc")},
        {QStringLiteral("rastilippu_entries"), QStringLiteral("vrk_rastilippu_entries")},
        {QStringLiteral("results_classes"), QStringLiteral("vrk_results_class")},
    };
    return Map;
}

QJsonArray RowsWhere(const QMap<QString, QJsonObject>& Rows, const QString& Member, const QString& Value)
{
    QJsonArray Out;
    for (const QJsonObject& Row : Rows)
        if (Text(Row.value(Member)) == Value)
            Out.append(Row);
    return Out;
}

}  // namespace

QString DownloadTypeOfList(const QString& List)
{
    return ListTypes().value(List);
}

QStringList KeyMembers(const QString& Type)
{
    static const QMap<QString, QStringList> Keys{
        {QStringLiteral("vrk_client"), {QStringLiteral("client_id")}},
        {QStringLiteral("vrk_event_series"), {QStringLiteral("event_series_id")}},
        {QStringLiteral("vrk_client_event_series"), {QStringLiteral("client_id"), QStringLiteral("event_series_id")}},
        {QStringLiteral("vrk_event_series_season"), {QStringLiteral("event_series_season_id")}},
        {QStringLiteral("vrk_event"), {QStringLiteral("event_id")}},
        {QStringLiteral("vrk_controls"), {QStringLiteral("control_id")}},
        {QStringLiteral("vrk_course"), {QStringLiteral("course_id")}},
        {QStringLiteral("vrk_course_controls"), {QStringLiteral("course_control_id")}},
        {QStringLiteral("vrk_class"), {QStringLiteral("class_id")}},
        {QStringLiteral("vrk_class_course"), {QStringLiteral("class_course_id")}},
        {QStringLiteral("vrk_additional_class"), {QStringLiteral("additional_class_id")}},
        {QStringLiteral("vrk_club"), {QStringLiteral("club_id")}},
        {QStringLiteral("vrk_person"), {QStringLiteral("person_id")}},
        {QStringLiteral("vrk_special_cc"), {QStringLiteral("chip_id")}},
        {QStringLiteral("vrk_rastilippu_entries"), {QStringLiteral("rastilippu_entries_id")}},
        {QStringLiteral("vrk_results_class"), {QStringLiteral("results_class_id")}},
        {QStringLiteral("vrk_person_chips"), {QStringLiteral("control_card")}},
        {QStringLiteral("vrk_chip_balance"), {QStringLiteral("chip_balance_id")}},
        {QStringLiteral("vrk_chip_balance_payment_o"), {QStringLiteral("chip_balance_id"), QStringLiteral("chip_payment_option_id")}},
        {QStringLiteral("vrk_event_ss_payment_method"), {QStringLiteral("event_ss_payment_method_id")}},
        {QStringLiteral("vrk_chip_balance_options"), {QStringLiteral("chip_balance_options_id")}},
    };
    return Keys.value(Type);
}

QJsonDocument ParseLenient(const QByteArray& Text, QString* Error)
{
    // Escape what a careless writer left raw inside strings, then read strictly.
    QByteArray Fixed;
    Fixed.reserve(Text.size() + 16);
    bool InString = false;
    for (qsizetype K = 0; K < Text.size(); ++K) {
        const char C = Text.at(K);
        if (!InString) {
            if (C == '"')
                InString = true;
            Fixed.append(C);
            continue;
        }
        if (C == '"') {
            InString = false;
            Fixed.append(C);
        } else if (C == '\\') {
            const char Next = K + 1 < Text.size() ? Text.at(K + 1) : '\0';
            if (Next && QByteArray("\"\\/bfnrtu").contains(Next)) {
                Fixed.append(C).append(Next);
                ++K;
            } else {
                Fixed.append("\\\\");
            }
        } else if (static_cast<unsigned char>(C) < 0x20) {
            Fixed.append(QStringLiteral("\\u%1").arg(static_cast<int>(C), 4, 16, QLatin1Char('0')).toLatin1());
        } else {
            Fixed.append(C);
        }
    }
    QJsonParseError Parse;
    QJsonDocument Doc = QJsonDocument::fromJson(Fixed, &Parse);
    if (Error)
        *Error = Parse.error == QJsonParseError::NoError ? QString() : Parse.errorString();
    return Doc;
}

TWebServiceState::TWebServiceState() = default;

// ---------------------------------------------------------------------------
// Administration

int64_t TWebServiceState::CreateAccount(const QString& Name)
{
    std::lock_guard<std::mutex> Guard(FLock);
    const int64_t Id = FNextAccount++;
    FAccounts[Id].Name = Name;
    return Id;
}

int64_t TWebServiceState::LoadAccount(const QJsonObject& Demo)
{
    const int64_t Id = CreateAccount(Demo.value(QStringLiteral("account")).toString(QStringLiteral("Demo")));
    const QJsonObject Tables = Demo.value(QStringLiteral("tables")).toObject();
    // An event dated "today" is held on the day the service starts, so a
    // first-time user can start processing it at once.
    const QString Today = QDate::currentDate().startOfDay().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    for (auto It = Tables.begin(); It != Tables.end(); ++It)
        for (const QJsonValue& Value : It.value().toArray()) {
            QJsonObject Row = Value.toObject();
            if (Row.value(QStringLiteral("event_date")).toString() == QLatin1String("today"))
                Row[QStringLiteral("event_date")] = Today;
            PutRow(Id, It.key(), Row);
        }
    for (const QJsonValue& V : Demo.value(QStringLiteral("temp_codes")).toArray()) {
        const QJsonObject Code = V.toObject();
        AddTempCode(Id, Code.value(QStringLiteral("code")).toString(), Code.value(QStringLiteral("client_name")).toString(),
                    Code.value(QStringLiteral("owner")).toString(), Code.value(QStringLiteral("valid_seconds")).toInt(7 * 24 * 3600));
    }
    std::lock_guard<std::mutex> Guard(FLock);
    for (const QJsonValue& V : Demo.value(QStringLiteral("clients")).toArray()) {
        const QJsonObject C = V.toObject();
        TClient Client;
        Client.Id = Text(C.value(QStringLiteral("client_id"))).toLongLong();
        Client.Account = Id;
        Client.Secret = C.value(QStringLiteral("client_secret")).toString();
        Client.Row = C;
        TClient& Stored = FClients[Client.Id] = Client;
        FNextClient = std::max(FNextClient, Client.Id + 1);
        // A computer linked before the service started may still be owed its
        // first download (a test's desk, set up with its secret).
        if (C.value(QStringLiteral("first_use_download")).toBool())
            QueueFirstUseLocked(Stored);
    }
    return Id;
}

void TWebServiceState::PutRowLocked(TAccount& Account, const QString& Type, const QJsonObject& Row)
{
    QJsonObject Clean = Row;
    Clean.remove(QStringLiteral("replication_id"));
    Clean.remove(QStringLiteral("client_message_id"));
    Clean.remove(QStringLiteral("repl_type"));
    Account.Rows[Type][KeyOf(Type, Clean)] = Clean;
}

void TWebServiceState::PutRow(int64_t Account, const QString& Type, const QJsonObject& Row)
{
    std::lock_guard<std::mutex> Guard(FLock);
    PutRowLocked(FAccounts[Account], Type, Row);
}

QJsonObject TWebServiceState::Row(int64_t Account, const QString& Type, const QString& Key) const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FAccounts.value(Account).Rows.value(Type).value(Key);
}

int TWebServiceState::RowCount(int64_t Account, const QString& Type) const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return static_cast<int>(FAccounts.value(Account).Rows.value(Type).size());
}

TClientCredentials TWebServiceState::AddClient(int64_t Account, const QString& Name)
{
    std::lock_guard<std::mutex> Guard(FLock);
    TClient Client;
    Client.Id = FNextClient++;
    Client.Account = Account;
    Client.Secret = RandomHex(16);
    Client.Row = QJsonObject{{QStringLiteral("client_id"), QString::number(Client.Id)},
                             {QStringLiteral("client_name"), Name},
                             {QStringLiteral("in_use"), QStringLiteral("K")}};
    TClient& Stored = FClients[Client.Id] = Client;
    LinkAllSeriesLocked(Stored, nullptr);
    return {Client.Id, Client.Secret};
}

void TWebServiceState::AddTempCode(int64_t Account, const QString& Code, const QString& ClientName,
                                   const QString& Owner, int ValidSeconds)
{
    std::lock_guard<std::mutex> Guard(FLock);
    FTempCodes[Code] = TTempCode{Account, ClientName, Owner, QDateTime::currentDateTime().addSecs(ValidSeconds), false};
}

void TWebServiceState::QueueForClientLocked(TClient& Client, const QString& Type, const QJsonArray& Rows)
{
    TDownloadMessage Message;
    Message.Id = QString::number(FNextMessage++);
    Message.Type = Type;
    for (const QJsonValue& V : Rows) {
        QJsonObject Row = V.toObject();
        Row.remove(QStringLiteral("client_message_id"));
        Row[QStringLiteral("replication_id")] = QString::number(FNextReplication++);
        if (!Row.contains(QStringLiteral("repl_type")))
            Row[QStringLiteral("repl_type")] = QStringLiteral("U");
        Message.Rows.append(Row);
    }
    Client.Queue.append(Message);
}

void TWebServiceState::QueueLocked(int64_t Account, int64_t Sender, const QString& Type, const QJsonArray& Rows)
{
    for (TClient& Client : FClients)
        if (Client.Account == Account && Client.Id != Sender)
            QueueForClientLocked(Client, Type, Rows);
}

void TWebServiceState::QueueMessage(int64_t Account, int64_t SenderClient, const QString& Type, const QJsonArray& Rows)
{
    std::lock_guard<std::mutex> Guard(FLock);
    QueueLocked(Account, SenderClient, Type, Rows);
}

int TWebServiceState::PendingCount(int64_t ClientId) const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return static_cast<int>(FClients.value(ClientId).Queue.size());
}

QList<TDownloadMessage> TWebServiceState::Pending(int64_t ClientId) const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FClients.value(ClientId).Queue;
}

int TWebServiceState::TokenLifetimeSeconds() const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FTokenLifetime;
}

void TWebServiceState::SetTokenLifetimeSeconds(int Seconds)
{
    std::lock_guard<std::mutex> Guard(FLock);
    FTokenLifetime = Seconds;
}

void TWebServiceState::ExpireAllTokens()
{
    std::lock_guard<std::mutex> Guard(FLock);
    FTokens.clear();
}

QList<TRequestLogEntry> TWebServiceState::RequestLog() const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FLog;
}

QList<QJsonObject> TWebServiceState::UploadedRecords() const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FUploaded;
}

QList<QJsonObject> TWebServiceState::Confirmations() const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FConfirmations;
}

QList<QJsonObject> TWebServiceState::ClientMessages() const
{
    std::lock_guard<std::mutex> Guard(FLock);
    return FClientMessages;
}

// ---------------------------------------------------------------------------
// The protocol

TReply TWebServiceState::Handle(int Base, const QString& Method, const QString& Resource,
                                const QMap<QString, QString>& Headers, const QByteArray& Body)
{
    std::lock_guard<std::mutex> Guard(FLock);
    TReply Reply = Dispatch(Base, Method, Resource, Headers, Body);
    FLog.append(TRequestLogEntry{Base, Method, Resource, Headers, Body, Reply.Status});
    return Reply;
}

TReply TWebServiceState::Dispatch(int Base, const QString& Method, const QString& Resource,
                                  const QMap<QString, QString>& Headers, const QByteArray& Body)
{
    struct TRoute {
        int Base;
        const char* Method;
        const char* Resource;
    };
    static const TRoute Routes[] = {
        {1, "POST", "client/register"}, {1, "POST", "client/login"}, {1, "POST", "client/messagecount"},
        {1, "GET", "client/getevents"}, {1, "GET", "client/geteventdata"}, {2, "POST", "client/message"},
        {2, "GET", "web/message"},      {1, "POST", "web/confirmation"},
    };
    const TRoute* Route = nullptr;
    for (const TRoute& R : Routes)
        if (R.Base == Base && Resource == QLatin1String(R.Resource))
            Route = &R;
    if (!Route)
        return Message(404, QStringLiteral("Tuntematon palvelu: %1").arg(Resource));
    if (Method != QLatin1String(Route->Method))
        return Message(405, QStringLiteral("Väärä pyyntötapa %1 palvelulle %2").arg(Method, Resource));

    if (Resource == QLatin1String("client/register"))
        return Register(Headers);
    if (Resource == QLatin1String("client/login"))
        return Login(Headers);
    TClient* Client = Authorised(Headers);
    if (!Client)
        return Message(401, QStringLiteral("Virheellinen tai vanhentunut access_token."));
    if (Resource == QLatin1String("client/messagecount"))
        return MessageCount(*Client);
    if (Resource == QLatin1String("client/getevents"))
        return GetEvents(*Client);
    if (Resource == QLatin1String("client/geteventdata"))
        return GetEventData(*Client, Headers);
    if (Resource == QLatin1String("client/message"))
        return Upload(*Client, Body);
    if (Resource == QLatin1String("web/message"))
        return NextMessage(*Client);
    return Confirm(*Client, Body);
}

TWebServiceState::TClient* TWebServiceState::Authorised(const QMap<QString, QString>& Headers)
{
    const auto Token = FTokens.constFind(Headers.value(QStringLiteral("access_token")));
    if (Token == FTokens.constEnd() || Token->Expires < QDateTime::currentDateTime())
        return nullptr;
    bool Ok = false;
    const int64_t Id = Headers.value(QStringLiteral("id")).toLongLong(&Ok);
    if (!Ok || Id != Token->Client || !FClients.contains(Id))
        return nullptr;
    return &FClients[Id];
}

TReply TWebServiceState::Register(const QMap<QString, QString>& Headers)
{
    const QString Code = Headers.value(QStringLiteral("id"));
    auto It = FTempCodes.find(Code);
    if (It == FTempCodes.end() || It->Used || It->ValidUntil < QDateTime::currentDateTime())
        return Message(400, QStringLiteral("Väliaikainen käyttötunnus \"%1\" on tuntematon, käytetty tai vanhentunut.").arg(Code));
    It->Used = true;
    TClient Client;
    Client.Id = FNextClient++;
    Client.Account = It->Account;
    Client.Secret = RandomHex(16);
    Client.Row = QJsonObject{
        {QStringLiteral("client_id"), QString::number(Client.Id)},
        {QStringLiteral("client_name"), It->ClientName},
        {QStringLiteral("owner"), It->Owner},
        {QStringLiteral("in_use"), QStringLiteral("K")},
        {QStringLiteral("notes"), QString()},
        {QStringLiteral("client_version"), QStringLiteral("26.1")},
        {QStringLiteral("client_secret"), Client.Secret},
    };
    TClient& Stored = FClients[Client.Id] = Client;
    QueueFirstUseLocked(Stored);
    return {200, Json(Stored.Row)};
}

void TWebServiceState::QueueFirstUseLocked(TClient& Client)
{
    TAccount& Account = FAccounts[Client.Account];
    const QString Now = NowText();
    QJsonArray Links;
    LinkAllSeriesLocked(Client, &Links);
    if (!Links.isEmpty())
        QueueForClientLocked(Client, QStringLiteral("vrk_client_event_series"), Links);
    // Dependencies first: clubs before persons, events before their entries.
    static const char* const Order[] = {"vrk_event_series", "vrk_event_series_season", "vrk_event", "vrk_club",
                                        "vrk_person", "vrk_special_cc", "vrk_chip_balance",
                                        "vrk_chip_balance_payment_o", "vrk_rastilippu_entries"};
    constexpr int PerMessage = 50;
    for (const char* TypeName : Order) {
        const QString Type = QString::fromLatin1(TypeName);
        QJsonArray Rows;
        for (const QJsonObject& Row : Account.Rows.value(Type)) {
            Rows.append(Row);
            if (Rows.size() == PerMessage) {
                QueueForClientLocked(Client, Type, Rows);
                Rows = QJsonArray();
            }
        }
        if (!Rows.isEmpty())
            QueueForClientLocked(Client, Type, Rows);
    }
    // The card register comes last: it tells the client the first download is complete.
    QJsonArray Chips;
    for (const QJsonObject& Row : Account.Rows.value(QStringLiteral("vrk_person_chips")))
        Chips.append(Row);
    QueueForClientLocked(Client, QStringLiteral("vrk_person_chips"), Chips);
}

// The client sees every series of its account (the calendar lists only the
// linked ones); the links are kept as rows like the rest.
void TWebServiceState::LinkAllSeriesLocked(TClient& Client, QJsonArray* Links)
{
    TAccount& Account = FAccounts[Client.Account];
    const QString Now = NowText();
    for (const QJsonObject& Series : Account.Rows.value(QStringLiteral("vrk_event_series"))) {
        const QJsonObject Link{{QStringLiteral("client_id"), QString::number(Client.Id)},
                               {QStringLiteral("event_series_id"), Text(Series.value(QStringLiteral("event_series_id")))},
                               {QStringLiteral("inserted"), Now},
                               {QStringLiteral("start_date"), Now},
                               {QStringLiteral("end_date"), QDateTime::currentDateTime().addYears(10).toString(TimeFormat)}};
        PutRowLocked(Account, QStringLiteral("vrk_client_event_series"), Link);
        if (Links)
            Links->append(Link);
    }
}

// A merge: the merged person's runs and cards move to the kept person, every
// other computer hears of the moved runs, and the merged person goes.
void TWebServiceState::MergePersonLocked(TClient& Client, const QString& MergedId, const QString& KeptId)
{
    TAccount& Account = FAccounts[Client.Account];
    QJsonArray MovedRuns;
    for (QJsonObject& Run : Account.Rows[QStringLiteral("vrk_results_class")]) {
        if (Text(Run.value(QStringLiteral("person_id"))) != MergedId)
            continue;
        Run[QStringLiteral("person_id")] = KeptId;
        QJsonObject Row = Run;
        for (const char* Nested : {"results_splits", "special_punches", "results_class_all"})
            if (!Row.contains(QLatin1String(Nested)))
                Row[QLatin1String(Nested)] = QJsonArray();
        MovedRuns.append(Row);
    }
    auto& Persons = Account.Rows[QStringLiteral("vrk_person")];
    const QJsonObject Merged = Persons.value(MergedId);
    if (Persons.contains(KeptId)) {
        QJsonObject& Kept = Persons[KeptId];
        for (const char* Card : {"control_card", "emitag_card", "sportident_card"})
            if (Text(Kept.value(QLatin1String(Card))).isEmpty() && !Text(Merged.value(QLatin1String(Card))).isEmpty())
                Kept[QLatin1String(Card)] = Merged.value(QLatin1String(Card));
        QueueLocked(Client.Account, 0, QStringLiteral("vrk_person"), QJsonArray{Kept});
    }
    Persons.remove(MergedId);
    if (!MovedRuns.isEmpty())
        QueueLocked(Client.Account, 0, QStringLiteral("vrk_results_class"), MovedRuns);
}

TReply TWebServiceState::Login(const QMap<QString, QString>& Headers)
{
    bool Ok = false;
    const int64_t Id = Headers.value(QStringLiteral("id")).toLongLong(&Ok);
    const auto It = FClients.constFind(Id);
    // 401 only for credentials that are wrong for good: the client stops trying.
    if (!Ok || It == FClients.constEnd() || It->Secret.isEmpty() || It->Secret != Headers.value(QStringLiteral("client_secret")))
        return Message(401, QStringLiteral("Virheellinen asiakastunnus tai salasana."));
    const QString Token = RandomHex(24);
    FTokens[Token] = TToken{Id, QDateTime::currentDateTime().addSecs(FTokenLifetime)};
    return {200, Json(QJsonObject{{QStringLiteral("access_token"), Token}})};
}

TReply TWebServiceState::MessageCount(TClient& Client)
{
    return {200, Json(QJsonObject{{QStringLiteral("message_count"), QString::number(Client.Queue.size())}})};
}

TReply TWebServiceState::GetEvents(TClient& Client)
{
    const TAccount& Account = FAccounts[Client.Account];
    const auto& Rows = Account.Rows;
    QJsonArray SeriesList;
    for (QJsonObject Series : Rows.value(QStringLiteral("vrk_event_series"))) {
        const QString SeriesId = Text(Series.value(QStringLiteral("event_series_id")));
        if (!Rows.value(QStringLiteral("vrk_client_event_series")).contains(QString::number(Client.Id) + QLatin1Char('|') + SeriesId))
            continue;
        QJsonArray Seasons;
        for (const QJsonValue& V : RowsWhere(Rows.value(QStringLiteral("vrk_event_series_season")), QStringLiteral("event_series_id"), SeriesId)) {
            QJsonObject Season = V.toObject();
            const QString SeasonId = Text(Season.value(QStringLiteral("event_series_season_id")));
            Season[QStringLiteral("events")] = RowsWhere(Rows.value(QStringLiteral("vrk_event")), QStringLiteral("event_series_season_id"), SeasonId);
            Season[QStringLiteral("event_series_season_payment_methods")] =
                RowsWhere(Rows.value(QStringLiteral("vrk_event_ss_payment_method")), QStringLiteral("event_series_season_id"), SeasonId);
            Seasons.append(Season);
        }
        Series[QStringLiteral("event_series_seasons")] = Seasons;
        Series[QStringLiteral("chip_balance_options")] =
            RowsWhere(Rows.value(QStringLiteral("vrk_chip_balance_options")), QStringLiteral("event_series_id"), SeriesId);
        SeriesList.append(Series);
    }
    return {200, Json(QJsonObject{{QStringLiteral("event_series"), SeriesList}})};
}

TReply TWebServiceState::GetEventData(TClient& Client, const QMap<QString, QString>& Headers)
{
    const QString EventId = Headers.value(QStringLiteral("event_id"));
    const auto& Rows = FAccounts[Client.Account].Rows;
    if (!Rows.value(QStringLiteral("vrk_event")).contains(EventId))
        return Message(400, QStringLiteral("Tuntematon tapahtuma %1.").arg(EventId));
    const auto Courses = Rows.value(QStringLiteral("vrk_course"));
    const auto Controls = Rows.value(QStringLiteral("vrk_controls"));
    const auto CourseControls = Rows.value(QStringLiteral("vrk_course_controls"));
    QJsonArray Classes;
    for (const QJsonValue& CV : RowsWhere(Rows.value(QStringLiteral("vrk_class")), QStringLiteral("event_id"), EventId)) {
        QJsonObject Class = CV.toObject();
        QJsonArray ClassCourses;
        for (const QJsonValue& LV : RowsWhere(Rows.value(QStringLiteral("vrk_class_course")), QStringLiteral("class_id"),
                                              Text(Class.value(QStringLiteral("class_id"))))) {
            const QJsonObject Link = LV.toObject();
            const QString CourseId = Text(Link.value(QStringLiteral("course_id")));
            QJsonObject Course = Courses.value(CourseId);
            if (Course.isEmpty())
                continue;
            QList<QJsonObject> Items;
            for (const QJsonValue& QV : RowsWhere(CourseControls, QStringLiteral("course_id"), CourseId)) {
                const QJsonObject Place = QV.toObject();
                const QJsonObject Control = Controls.value(Text(Place.value(QStringLiteral("control_id"))));
                QJsonObject Item = Control;
                for (const char* M : {"course_control_id", "control_sequence", "control_type", "leg_length", "online_name",
                                      "online_leg_length", "inserted", "updated", "control_code"})
                    if (Place.contains(QLatin1String(M)))
                        Item[QLatin1String(M)] = Place.value(QLatin1String(M));
                Item[QStringLiteral("cc_online_control")] = Place.value(QStringLiteral("online_control")).toString(QStringLiteral("E"));
                Item.remove(QStringLiteral("event_id"));
                Item.remove(QStringLiteral("course_id"));
                Items.append(Item);
            }
            std::sort(Items.begin(), Items.end(), [](const QJsonObject& A, const QJsonObject& B) {
                return Text(A.value(QStringLiteral("control_sequence"))).toInt() < Text(B.value(QStringLiteral("control_sequence"))).toInt();
            });
            QJsonArray ItemArray;
            for (const QJsonObject& Item : Items)
                ItemArray.append(Item);
            Course.remove(QStringLiteral("event_id"));
            Course[QStringLiteral("course_controls")] = ItemArray;
            ClassCourses.append(QJsonObject{{QStringLiteral("class_course_id"), Link.value(QStringLiteral("class_course_id"))},
                                            {QStringLiteral("course_id"), CourseId},
                                            {QStringLiteral("inserted"), Link.value(QStringLiteral("inserted"))},
                                            {QStringLiteral("updated"), Link.value(QStringLiteral("updated"))},
                                            {QStringLiteral("courses"), QJsonArray{Course}}});
        }
        Class[QStringLiteral("class_courses")] = ClassCourses;
        Classes.append(Class);
    }
    return {200, Json(QJsonObject{{QStringLiteral("classes"), Classes}})};
}

QString TWebServiceState::ApplyUploadRecordLocked(TClient& Client, const QString& List, const QJsonObject& Record,
                                                  QJsonArray& FanOut, QString& FanOutType)
{
    TAccount& Account = FAccounts[Client.Account];
    if (List == QLatin1String("client_messages")) {
        FClientMessages.append(Record);
        return QString();
    }
    const QString Type = DownloadTypeOfList(List);
    if (Type.isEmpty())
        return QStringLiteral("Tuntematon lista %1").arg(List);
    bool Complete = false;
    const QString Key = KeyOf(Type, Record, &Complete);
    if (!Complete)
        return QStringLiteral("Avain %1 puuttuu").arg(KeyMembers(Type).join(QLatin1Char(',')));
    const QString ReplType = Text(Record.value(QStringLiteral("repl_type")));
    if (ReplType.isEmpty())
        return QStringLiteral("repl_type puuttuu");
    FanOutType = Type;

    if (ReplType == QLatin1String("D")) {
        Account.Rows[Type].remove(Key);
        QJsonObject Row;
        for (const QString& M : KeyMembers(Type))
            Row[M] = Record.value(M);
        Row[QStringLiteral("repl_type")] = QStringLiteral("D");
        FanOut.append(Row);
        return QString();
    }
    if (Type == QLatin1String("vrk_person") && !Text(Record.value(QStringLiteral("new_person_id"))).isEmpty()) {
        MergePersonLocked(Client, Key, Text(Record.value(QStringLiteral("new_person_id"))));
        FanOut.append(QJsonObject{{QStringLiteral("person_id"), Record.value(QStringLiteral("person_id"))},
                                  {QStringLiteral("repl_type"), QStringLiteral("D")}});
        return QString();
    }
    QJsonObject Row = Record;
    Row.remove(QStringLiteral("client_message_id"));
    if (Type == QLatin1String("vrk_class")) {
        // Keep the nested course data as rows so the event data reply has it too.
        const QString EventId = Text(Record.value(QStringLiteral("event_id")));
        for (const QJsonValue& LV : Record.value(QStringLiteral("class_courses")).toArray()) {
            const QJsonObject Link = LV.toObject();
            QJsonObject LinkRow = Link;
            LinkRow.remove(QStringLiteral("courses"));
            LinkRow[QStringLiteral("class_id")] = Record.value(QStringLiteral("class_id"));
            PutRowLocked(Account, QStringLiteral("vrk_class_course"), LinkRow);
            for (const QJsonValue& KV : Link.value(QStringLiteral("courses")).toArray()) {
                QJsonObject Course = KV.toObject();
                const QJsonArray Items = Course.take(QStringLiteral("course_controls")).toArray();
                Course[QStringLiteral("event_id")] = EventId;
                PutRowLocked(Account, QStringLiteral("vrk_course"), Course);
                for (const QJsonValue& QV : Items) {
                    const QJsonObject Item = QV.toObject();
                    QJsonObject Control, Place;
                    for (const char* M : {"control_id", "control_code", "punching_unit1", "punching_unit2", "punching_unit3",
                                          "punching_unit4", "punching_unit5", "online_control", "mandatory_control", "inserted", "updated"})
                        if (Item.contains(QLatin1String(M)))
                            Control[QLatin1String(M)] = Item.value(QLatin1String(M));
                    Control[QStringLiteral("event_id")] = EventId;
                    for (const char* M : {"course_control_id", "control_sequence", "control_id", "control_code", "control_type",
                                          "leg_length", "online_name", "online_leg_length", "inserted", "updated"})
                        if (Item.contains(QLatin1String(M)))
                            Place[QLatin1String(M)] = Item.value(QLatin1String(M));
                    Place[QStringLiteral("course_id")] = Course.value(QStringLiteral("course_id"));
                    Place[QStringLiteral("online_control")] = Item.value(QStringLiteral("cc_online_control"));
                    if (!Text(Control.value(QStringLiteral("control_id"))).isEmpty())
                        PutRowLocked(Account, QStringLiteral("vrk_controls"), Control);
                    PutRowLocked(Account, QStringLiteral("vrk_course_controls"), Place);
                }
            }
        }
        Row.remove(QStringLiteral("additional_classes"));
        QJsonObject Stored = Row;
        Stored.remove(QStringLiteral("class_courses"));
        PutRowLocked(Account, Type, Stored);
    } else {
        PutRowLocked(Account, Type, Row);
    }
    FanOut.append(Row);
    return QString();
}

TReply TWebServiceState::Upload(TClient& Client, const QByteArray& Body)
{
    QString Error;
    const QJsonObject Batch = ParseLenient(Body, &Error).object();
    if (!Error.isEmpty() || !Batch.contains(QStringLiteral("client_message")))
        return {400, Json(QJsonObject{{QStringLiteral("result"), QStringLiteral("Sanoman rakenne on virheellinen: %1").arg(Error)}})};
    const QString Inner = Batch.value(QStringLiteral("client_message")).toString();
    const QJsonObject Lists = ParseLenient(QByteArray("{") + Inner.toUtf8() + QByteArray("}"), &Error).object();
    if (!Error.isEmpty() || Lists.size() != 1 || !Lists.begin().value().isArray())
        return {400, Json(QJsonObject{{QStringLiteral("result"), QStringLiteral("client_message on virheellinen: %1").arg(Error)}})};
    const QString List = Lists.begin().key();
    QJsonArray Processed, Errors, FanOut;
    QString FanOutType;
    for (const QJsonValue& V : Lists.begin().value().toArray()) {
        const QJsonObject Record = V.toObject();
        QJsonObject Logged = Record;
        Logged[QStringLiteral("list")] = List;
        Logged[QStringLiteral("message_id")] = Batch.value(QStringLiteral("message_id"));
        Logged[QStringLiteral("uploader")] = QString::number(Client.Id);
        FUploaded.append(Logged);
        const QString Id = Text(Record.value(QStringLiteral("client_message_id")));
        const QString Seen = QString::number(Client.Id) + QLatin1Char('|') + Id;
        QString Problem;
        if (Id.isEmpty())
            Problem = QStringLiteral("client_message_id puuttuu");
        else if (!FAppliedUploads.contains(Seen))
            Problem = ApplyUploadRecordLocked(Client, List, Record, FanOut, FanOutType);
        if (Problem.isEmpty() && !Id.isEmpty())
            FAppliedUploads.insert(Seen);
        if (Problem.isEmpty())
            Processed.append(QJsonObject{{QStringLiteral("client_message_id"), Id}});
        else
            Errors.append(QJsonObject{{QStringLiteral("client_message_id"), Id},
                                      {QStringLiteral("error_message"), Problem},
                                      {QStringLiteral("request_data"), QString()},
                                      {QStringLiteral("request_data_id"), QString()}});
    }
    if (!FanOut.isEmpty())
        QueueLocked(Client.Account, Client.Id, FanOutType, FanOut);
    const QJsonObject Verdict{{QStringLiteral("processed"), Processed}, {QStringLiteral("errors"), Errors}};
    return {200, Json(QJsonObject{{QStringLiteral("result"), QString::fromUtf8(Json(Verdict))}})};
}

TReply TWebServiceState::NextMessage(TClient& Client)
{
    if (Client.Queue.isEmpty())
        return {200, Json(QJsonObject{{QStringLiteral("message_type"), QStringLiteral("none")},
                                      {QStringLiteral("message_id"), QStringLiteral("0")},
                                      {QStringLiteral("hasMore"), QStringLiteral("false")}})};
    // The oldest unconfirmed message, again and again until it is confirmed.
    const TDownloadMessage& Message = Client.Queue.first();
    return {200, Json(QJsonObject{{QStringLiteral("message_type"), Message.Type},
                                  {QStringLiteral("message_id"), Message.Id},
                                  {QStringLiteral("hasMore"), Client.Queue.size() > 1 ? QStringLiteral("true") : QStringLiteral("false")},
                                  {Message.Type, Message.Rows}})};
}

TReply TWebServiceState::Confirm(TClient& Client, const QByteArray& Body)
{
    QString Error;
    const QJsonObject Object = ParseLenient(Body, &Error).object();
    if (!Error.isEmpty() || !Object.contains(QStringLiteral("message_id")))
        return Message(400, QStringLiteral("Kuittaus on virheellinen: %1").arg(Error));
    const QString MessageId = Text(Object.value(QStringLiteral("message_id")));
    auto ArrayOf = [&](const char* Name) {
        const QJsonValue V = Object.value(QLatin1String(Name));
        if (V.isArray())
            return V.toArray();
        return ParseLenient(V.toString().toUtf8()).array();
    };
    const QJsonArray Processed = ArrayOf("processed");
    const QJsonArray Errors = ArrayOf("errors");
    FConfirmations.append(QJsonObject{{QStringLiteral("message_id"), MessageId},
                                      {QStringLiteral("processed"), Processed},
                                      {QStringLiteral("errors"), Errors}});
    TDownloadMessage Confirmed;
    for (qsizetype K = 0; K < Client.Queue.size(); ++K)
        if (Client.Queue[K].Id == MessageId) {
            Confirmed = Client.Queue.takeAt(K);
            break;
        }
    // Rows refused for missing data: send what was asked for, then the rows again.
    const TAccount& Account = FAccounts[Client.Account];
    for (const QJsonValue& V : Errors) {
        const QJsonObject Entry = V.toObject();
        const QString Wanted = Text(Entry.value(QStringLiteral("request_data"))).toLower();
        if (Wanted.isEmpty() || Confirmed.Type.isEmpty())
            continue;
        const QJsonObject Row = Account.Rows.value(Wanted).value(Text(Entry.value(QStringLiteral("request_data_id"))));
        if (!Row.isEmpty())
            QueueForClientLocked(Client, Wanted, QJsonArray{Row});
        for (const QJsonValue& R : Confirmed.Rows)
            if (Text(R.toObject().value(QStringLiteral("replication_id"))) == Text(Entry.value(QStringLiteral("replication_id"))))
                QueueForClientLocked(Client, Confirmed.Type, QJsonArray{R});
    }
    return {200, Json(QJsonObject{{QStringLiteral("message"), QStringLiteral("OK")}})};
}

}  // namespace webservice
