#include "tests/sync/WebDesk.h"

#include "platform/http/RESTClient.h"

#include <QJsonObject>

TFbQuery& TRecordingHost::Prepared(std::unique_ptr<TFbQuery>& Q, const QString& Sql)
{
    if (!Q) {
        Q = std::make_unique<TFbQuery>();
        Q->SetConnection(&FMain);
        Q->SQL().SetText(Sql);
    }
    return *Q;
}

int TRecordingHost::UnsentMessagesWorker()
{
    TFbQuery& Q = Prepared(FUnsent, QStringLiteral("select count(*) from vrk_data_replication where repl_status <> 'P'"));
    Q.Open();
    const int N = Q.Fields()[0]->AsInteger();
    Q.Close();
    if (Q.Transaction() && Q.Transaction()->Active())
        Q.Transaction()->Commit();
    return N;
}

WebDesk::WebDesk(webservice::TWebServiceServer& Service, const webservice::TClientCredentials& C, const TWebSession::TDbParams& Shared)
    : Host(Main), Client(C)
{
    const TWebSession::TDbParams Login = Shared.Name.isEmpty() ? TWebSession::TDbParams{Db.Path(), QString(), QString()} : Shared;
    Main.DatabaseName = Login.Name;
    Main.UserName = Login.User;
    Main.Password = Login.Password;
    Main.Open();
    MainTr.SetConnection(&Main);
    Main.SetDefaultTransaction(&MainTr);
    Session.SetBaseUrls(Service.FirstBaseURL(), Service.SecondBaseURL());
    Session.SetClient(C.ClientId, C.Secret);
    Session.SetDb(Login);
    Worker = std::make_unique<TformWorkerREST>(Session, Host);
    Worker->LoginPauseMs = 0;
    Worker->CyclePauseMs = 0;
    Worker->ConnectTimeoutMs = 2000;
    Worker->ReadTimeoutMs = 2000;
}

WebDesk::~WebDesk()
{
    Worker.reset();
    Host.Release();
    if (MainTr.Active())
        MainTr.Rollback();
    Main.Close();
}

void WebDesk::Exec(const QString& Sql)
{
    TFbQuery Q;
    Q.SetConnection(&Main);
    Q.SQL().SetText(Sql);
    Q.ExecSQL();
    MainTr.Commit();
}

QVariant WebDesk::Value(const QString& Sql)
{
    TFbQuery Q;
    Q.SetConnection(&Main);
    Q.SQL().SetText(Sql);
    Q.Open();
    const QVariant V = Q.Eof() ? QVariant() : Q.Fields()[0]->AsVariant();
    Q.Close();
    MainTr.Commit();
    return V;
}

WebAccount::WebAccount()
{
    qputenv(SORVEX_CA_FILE_VARIABLE, Service.CertificateFile().toLocal8Bit());
    auto& S = Service.State();
    Account = S.CreateAccount(QStringLiteral("Testitili"));
    const QString T = QStringLiteral("2026-06-01T18:00:00");
    S.PutRow(Account, QStringLiteral("vrk_event_series"),
             QJsonObject{{"event_series_id", "7"}, {"event_series_name", "Tiistairastit"}, {"inserted", T}, {"updated", T}});
    S.PutRow(Account, QStringLiteral("vrk_event_series_season"),
             QJsonObject{{"event_series_season_id", "70"}, {"event_series_id", "7"}, {"event_series_season_name", "Kesä 2026"},
                         {"season_abbr", "K26"}, {"inserted", T}, {"updated", T}});
    S.PutRow(Account, QStringLiteral("vrk_event"),
             QJsonObject{{"event_id", "3001"}, {"event_series_season_id", "70"}, {"event_name", "Tiistairastit 1"},
                         {"arena_name", "Keskuspuisto"}, {"event_date", "2026-06-02T00:00:00"}, {"event_start_time", "17:00"},
                         {"inserted", T}, {"updated", T}});
}
