// The worker's side of the web protocol: login, message count, upload of one
// batch, fetch of the next download message and its confirmation, and how
// each reply status becomes a result code (0 reply to process, 9 refusal
// with its text, 1 nothing to process: a login was made instead or the reply
// is unusable).

#include "sync/vrkWorkerREST.h"

#include "platform/http/RESTClient.h"
#include "sync/jsonnode.h"

TformWorkerREST::THttpReply TformWorkerREST::Call(bool SecondBase, bool Post, const QString& Resource,
                                                  const QVector<QPair<QString, QString>>& Headers, const QString* Body)
{
    RESTClient1->BaseURL = SecondBase ? FSession.RestBaseUrlV2() : FSession.RestBaseUrl();
    RESTClient1->ConnectTimeout = ConnectTimeoutMs;
    RESTClient1->ReadTimeout = ReadTimeoutMs;
    const QByteArray Bytes = Body ? Body->toUtf8() : QByteArray();
    // A call that gets no reply or a server error counts against the pass,
    // also where the protocol goes on as if nothing came (a fetch that
    // failed is only fetched again later): the cycle then backs off.
    TRESTClient::TReply R;
    try {
        R = RESTClient1->Execute(Post ? TRESTRequestMethod::rmPOST : TRESTRequestMethod::rmGET, Resource, Headers,
                                 Body ? &Bytes : nullptr);
    } catch (...) {
        FCallFailedInPass = true;
        // No answer at all: the main window shows it now, not at the next
        // login, which a valid access token may put off for a long time.
        WebReachable(false);
        throw;
    }
    if (R.StatusCode >= 500)
        FCallFailedInPass = true;
    if (R.StatusCode == 200)
        WebReachable(true);
    return {R.StatusCode, QString::fromUtf8(R.RawBytes)};
}

void TformWorkerREST::WebReachable(bool Reachable)
{
    if (Reachable != FWebLost)
        return;
    FWebLost = !Reachable;
    OnMain([this, Reachable] { FHost.SetWebStatus(Reachable); });
}

void TformWorkerREST::ConnectOnline()
{
    const QString Id = QString::number(FSession.ClientId());
    try {
        const THttpReply R = Call(false, true, QStringLiteral("client/login"),
                                  {{QStringLiteral("id"), Id}, {QStringLiteral("client_secret"), FSession.ClientSecret()}}, nullptr);
        if (R.Status == 200) {
            std::unique_ptr<TJsonNode> Reply = TJsonNode::Parse(R.Text);
            if (!Reply)
                throw EJSONParseError(QStringLiteral("Tyhjä vastaus"));
            FSession.SetAccessToken(Reply->Member(u"access_token").AsString());
            const QString Reset = resetSyncTriedCounts();
            if (!Reset.isEmpty())
                Report(QStringLiteral("resetSyncTriedCounts: ") + Reset);
            return;
        }
        if (R.Status == 404) {
            Report(websync::NoConnection + QStringLiteral(": ") + QStringLiteral("HTTP 404: Palvelua ei löydy."));
        } else {
            std::unique_ptr<TJsonNode> Reply = TJsonNode::Parse(R.Text);
            if (!Reply)
                throw EJSONParseError(QStringLiteral("Tyhjä vastaus (HTTP %1)").arg(R.Status));
            Report(websync::NoConnection + QStringLiteral(": ") + Reply->Member(u"message").AsString());
            if (R.Status == 401)
                DoNotConnect = 1;
        }
    } catch (const std::exception& E) {
        Report(websync::NoConnection + QStringLiteral(": ") + DbMessage(QString::fromUtf8(E.what())));
    }
    try {
        WebReachable(false);
    } catch (const std::exception&) {
    }
    Pause(LoginPauseMs);
}

int TformWorkerREST::RestExchange(bool Post, const QString& Resource, const QString& Body, QString& out_result)
{
    const QString Token = FSession.AccessToken();
    if (Token.isEmpty()) {
        ConnectOnline();
        return 1;
    }
    THttpReply R;
    const QVector<QPair<QString, QString>> Headers{{QStringLiteral("id"), QString::number(FSession.ClientId())},
                                                   {QStringLiteral("access_token"), Token}};
    if (Post) {
        R = Call(true, true, Resource, Headers, &Body);  // a failure of the upload reaches the pass
    } else {
        try {
            R = Call(true, false, Resource, Headers, &Body);
        } catch (const std::exception&) {
            Report(QStringLiteral("json_rest_in Execute exception"));
            return 1;
        }
    }
    switch (R.Status) {
    case 200:
        out_result = R.Text;
        return 0;
    case 400:
    case 500:
        out_result = R.Text;
        return 9;
    case 401:
        ConnectOnline();
        return 1;
    default:
        // Nothing to process: the batch or the fetch comes again later.
        return 1;
    }
}

int TformWorkerREST::json_rest_out(const QString& in_message, QString& out_result)
{
    return RestExchange(true, QStringLiteral("client/message"), in_message, out_result);
}

int TformWorkerREST::json_rest_in(const QString&, QString& out_result)
{
    return RestExchange(false, QStringLiteral("web/message"), QStringLiteral("{}"), out_result);
}

int TformWorkerREST::send_confirmation_rest(const QString& in_message, QString& out_result)
{
    const THttpReply R = Call(false, true, QStringLiteral("web/confirmation"),
                              {{QStringLiteral("id"), QString::number(FSession.ClientId())},
                               {QStringLiteral("access_token"), FSession.AccessToken()}},
                              &in_message);
    out_result = R.Text;
    return R.Status == 200 ? 0 : 9;
}

int TformWorkerREST::hae_web_viestit(const QString& in_client_id)
{
    try {
        const THttpReply R = Call(false, true, QStringLiteral("client/messagecount"),
                                  {{QStringLiteral("id"), in_client_id}, {QStringLiteral("access_token"), FSession.AccessToken()}},
                                  nullptr);
        if (R.Status != 200)
            return 0;
        std::unique_ptr<TJsonNode> Reply = TJsonNode::Parse(R.Text);
        if (!Reply)
            return 0;
        bool Ok = false;
        const int Count = Reply->Member(u"message_count").AsString().trimmed().toInt(&Ok);
        if (!Ok)
            return 0;
        iWebViestitLkm = Count;
        return Count;
    } catch (const std::exception&) {
        return 0;
    }
}
