#include "platform/http/RESTClient.h"

#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

const char* const SORVEX_CA_FILE_VARIABLE = "SORVEX_CA_FILE";

namespace {

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The reply body as it arrives, cut off at the client's limit: a reply that
// would pass it stops the transfer (a short write makes libcurl give up).
struct BodyState {
    QByteArray Bytes;
    qsizetype Limit = 0;
    bool TooLarge = false;
};

size_t WriteBody(char* Data, size_t Size, size_t Count, void* User)
{
    auto* Body = static_cast<BodyState*>(User);
    const auto Length = static_cast<qsizetype>(Size * Count);
    if (Body->Bytes.size() + Length > Body->Limit) {
        Body->TooLarge = true;
        return 0;
    }
    Body->Bytes.append(Data, Length);
    return Size * Count;
}

// Collects the reason phrase and the content type of the final reply.
struct HeaderState {
    QString StatusText;
    QString ContentType;
};

size_t ReadHeader(char* Data, size_t Size, size_t Count, void* User)
{
    auto* State = static_cast<HeaderState*>(User);
    const QByteArray Line = QByteArray(Data, static_cast<qsizetype>(Size * Count)).trimmed();
    if (Line.startsWith("HTTP/")) {
        // A new status line (after a 100 Continue, say) starts the reply afresh.
        const QList<QByteArray> Parts = Line.split(' ');
        State->StatusText = Parts.size() > 2 ? QString::fromUtf8(Line.mid(Line.indexOf(' ', Line.indexOf(' ') + 1) + 1)) : QString();
        State->ContentType.clear();
    } else if (Line.toLower().startsWith("content-type:")) {
        State->ContentType = QString::fromUtf8(Line.mid(13).trimmed());
    }
    return Size * Count;
}

// Adds the certificates of SORVEX_CA_FILE to the ones libcurl already trusts.
CURLcode AddTrustedFile(CURL*, void* SslCtx, void* User)
{
    const auto* File = static_cast<const QByteArray*>(User);
    X509_STORE* Store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(SslCtx));
    if (X509_STORE_load_locations(Store, File->constData(), nullptr) != 1) {
        ERR_clear_error();
        return CURLE_SSL_CACERT_BADFILE;
    }
    return CURLE_OK;
}

// The system's trusted certificates and those of the added file in one file
// of our own, made once per process for each content of the added file. A
// callback that adds certificates to each new connection's store keeps
// libcurl from reusing the store it built, so every new connection loaded
// the system's whole bundle again (some 30 ms of processor time); with one
// file (and no certificate folder) it keeps the store. Empty when libcurl
// names no bundle of its own.
QByteArray CombinedTrustFile(CURL* H, const QByteArray& Added)
{
#if LIBCURL_VERSION_NUM >= 0x075400
    QFile AddedFile(QString::fromLocal8Bit(Added));
    if (!AddedFile.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray AddedPem = AddedFile.readAll();
    static std::mutex Lock;
    static std::map<QByteArray, std::unique_ptr<QTemporaryFile>> Files;
    std::lock_guard<std::mutex> Guard(Lock);
    std::unique_ptr<QTemporaryFile>& File = Files[AddedPem];
    if (!File) {
        char* Bundle = nullptr;
        if (curl_easy_getinfo(H, CURLINFO_CAINFO, &Bundle) != CURLE_OK || !Bundle || !*Bundle)
            return QByteArray();
        QFile System(QString::fromLocal8Bit(Bundle));
        if (!System.open(QIODevice::ReadOnly))
            return QByteArray();
        auto Made = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/sorvex-trust-XXXXXX.pem"));
        if (!Made->open() || Made->write(System.readAll() + '\n' + AddedPem) < 0 || !Made->flush())
            return QByteArray();
        File = std::move(Made);
    }
    return File->fileName().toLocal8Bit();
#else
    Q_UNUSED(H);
    Q_UNUSED(Added);
    return QByteArray();
#endif
}

// Without an added file the system's bundle is what is trusted. libcurl
// also names the system's certificate folder, and with a folder set it
// builds its store anew for every new connection (some 30 ms of processor
// time); the folder holds the same certificates as the bundle, so the
// bundle alone is used and the store is kept.
void KeepSystemStore(CURL* H)
{
#if LIBCURL_VERSION_NUM >= 0x075400
    char* Bundle = nullptr;
    if (curl_easy_getinfo(H, CURLINFO_CAINFO, &Bundle) == CURLE_OK && Bundle && *Bundle)
        curl_easy_setopt(H, CURLOPT_CAPATH, nullptr);
#else
    Q_UNUSED(H);
#endif
}

}  // namespace

struct TRESTClient::Impl {
    CURL* Handle = nullptr;
    std::atomic<bool> Busy{false};
};

TRESTClient::TRESTClient() : FImpl(std::make_unique<Impl>())
{
    GlobalInit();
}

TRESTClient::~TRESTClient()
{
    if (FImpl->Handle)
        curl_easy_cleanup(FImpl->Handle);
}

QString TRESTClient::FullURL(const QString& Resource) const
{
    QString Base = BaseURL;
    while (Base.endsWith(QLatin1Char('/')))
        Base.chop(1);
    QString Res = Resource;
    while (Res.startsWith(QLatin1Char('/')))
        Res.remove(0, 1);
    return Res.isEmpty() ? Base : Base + QLatin1Char('/') + Res;
}

TRESTClient::TReply TRESTClient::Execute(TRESTRequestMethod Method, const QString& Resource,
                                         const QVector<QPair<QString, QString>>& Headers,
                                         const QByteArray* Body)
{
    // A pooled worker may run its cycles on different threads one after
    // another; two threads at once would corrupt the handle.
    if (FImpl->Busy.exchange(true))
        throw ERESTException(QStringLiteral("The HTTP client is already in use by another thread; every thread needs a client of its own."));
    struct TRelease {
        std::atomic<bool>& Flag;
        ~TRelease() { Flag = false; }
    } Release{FImpl->Busy};
    if (!FImpl->Handle) {
        FImpl->Handle = curl_easy_init();
        if (!FImpl->Handle)
            throw ERESTException(QStringLiteral("The HTTP client could not be created."));
    }
    CURL* H = FImpl->Handle;
    curl_easy_reset(H);  // keeps the open connections

    const QString Url = FullURL(Resource);
    const QByteArray UrlBytes = Url.toUtf8();
    // The access token travels in the headers: never in clear, never to a
    // local file or another protocol libcurl happens to know.
    if (!Url.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive))
        throw ERESTException(QStringLiteral("Only HTTPS addresses are allowed: %1").arg(Url));
    // A line break inside a header would start a header of its own.
    auto CheckHeaderText = [](const QString& Name, const QString& Text) {
        if (Text.contains(QLatin1Char('\r')) || Text.contains(QLatin1Char('\n')))
            throw ERESTException(QStringLiteral("The header %1 holds a line break and is not sent.").arg(Name.simplified()));
    };
    CheckHeaderText(QStringLiteral("Accept"), Accept);
    CheckHeaderText(QStringLiteral("Accept-Charset"), AcceptCharset);
    CheckHeaderText(QStringLiteral("Content-Type"), ContentType);
    for (const auto& Header : Headers) {
        CheckHeaderText(Header.first, Header.first);
        CheckHeaderText(Header.first, Header.second);
    }
    char ErrorBuffer[CURL_ERROR_SIZE] = {0};
    BodyState ReplyBody;
    ReplyBody.Limit = MaxReplyBytes;
    HeaderState ReplyHeaders;

    curl_easy_setopt(H, CURLOPT_URL, UrlBytes.constData());
    curl_easy_setopt(H, CURLOPT_ERRORBUFFER, ErrorBuffer);
    curl_easy_setopt(H, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(H, CURLOPT_FOLLOWLOCATION, 0L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(H, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(H, CURLOPT_REDIR_PROTOCOLS_STR, "https");
#else
    curl_easy_setopt(H, CURLOPT_PROTOCOLS, long(CURLPROTO_HTTPS));
    curl_easy_setopt(H, CURLOPT_REDIR_PROTOCOLS, long(CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(H, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(H, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(H, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeout));
    curl_easy_setopt(H, CURLOPT_TIMEOUT_MS, static_cast<long>(ReadTimeout));
    curl_easy_setopt(H, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(H, CURLOPT_WRITEDATA, &ReplyBody);
    // A declared length over the limit is refused before any of it is read.
    curl_easy_setopt(H, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxReplyBytes));
    curl_easy_setopt(H, CURLOPT_HEADERFUNCTION, ReadHeader);
    curl_easy_setopt(H, CURLOPT_HEADERDATA, &ReplyHeaders);

    QByteArray CaFile;
    if (const char* Env = std::getenv(SORVEX_CA_FILE_VARIABLE); Env && *Env) {
        CaFile = CombinedTrustFile(H, Env);
        if (!CaFile.isEmpty()) {
            curl_easy_setopt(H, CURLOPT_CAINFO, CaFile.constData());
            // The file holds the system's bundle too; a certificate folder
            // beside it would keep libcurl from reusing its store.
            curl_easy_setopt(H, CURLOPT_CAPATH, nullptr);
        } else {
            CaFile = Env;
            curl_easy_setopt(H, CURLOPT_SSL_CTX_FUNCTION, AddTrustedFile);
            curl_easy_setopt(H, CURLOPT_SSL_CTX_DATA, &CaFile);
#if LIBCURL_VERSION_NUM >= 0x075700
            // The added certificates must not stay in a store shared with later transfers.
            curl_easy_setopt(H, CURLOPT_CA_CACHE_TIMEOUT, 0L);
#endif
        }
    } else {
        KeepSystemStore(H);
    }

    curl_slist* List = nullptr;
    QVector<QByteArray> Lines;
    auto AddLine = [&](const QByteArray& Line) {
        Lines.append(Line);
        List = curl_slist_append(List, Lines.last().constData());
    };
    AddLine("Accept: " + Accept.toUtf8());
    AddLine("Accept-Charset: " + AcceptCharset.toUtf8());
    AddLine("Content-Type: " + ContentType.toUtf8());
    AddLine("Expect:");  // no 100-continue round trip for larger bodies
    for (const auto& Header : Headers) {
        // "name;" is libcurl's way to send a header with an empty value.
        if (Header.second.isEmpty())
            AddLine(Header.first.toUtf8() + ';');
        else
            AddLine(Header.first.toUtf8() + ": " + Header.second.toUtf8());
    }
    curl_easy_setopt(H, CURLOPT_HTTPHEADER, List);

    if (Method == TRESTRequestMethod::rmPOST || Body) {
        const char* Data = Body ? Body->constData() : "";
        const long Size = Body ? static_cast<long>(Body->size()) : 0L;
        curl_easy_setopt(H, CURLOPT_POST, 1L);
        curl_easy_setopt(H, CURLOPT_POSTFIELDSIZE, Size);
        curl_easy_setopt(H, CURLOPT_POSTFIELDS, Data);
        if (Method == TRESTRequestMethod::rmGET)
            curl_easy_setopt(H, CURLOPT_CUSTOMREQUEST, "GET");
    } else {
        curl_easy_setopt(H, CURLOPT_HTTPGET, 1L);
    }

    const CURLcode Code = curl_easy_perform(H);
    curl_slist_free_all(List);
    if (Code != CURLE_OK) {
        const QString Reason = QString::fromUtf8(ErrorBuffer[0] ? ErrorBuffer : curl_easy_strerror(Code));
        if (ReplyBody.TooLarge || Code == CURLE_FILESIZE_EXCEEDED)
            throw ERESTReplyTooLargeException(
                QStringLiteral("The reply from %1 is larger than %2 bytes and was not read.").arg(Url).arg(MaxReplyBytes));
        if (Code == CURLE_OPERATION_TIMEDOUT)
            throw ERESTTimeoutException(QStringLiteral("No reply from %1 within the time limit: %2").arg(Url, Reason));
        throw ERESTException(QStringLiteral("Error sending data to %1: %2").arg(Url, Reason));
    }

    TReply Reply;
    long Status = 0;
    curl_easy_getinfo(H, CURLINFO_RESPONSE_CODE, &Status);
    Reply.StatusCode = static_cast<int>(Status);
    Reply.StatusText = ReplyHeaders.StatusText;
    Reply.ContentType = ReplyHeaders.ContentType;
    Reply.RawBytes = std::move(ReplyBody.Bytes);
    if (RaiseExceptionOn500 && Reply.StatusCode >= 500)
        throw ERESTException(QStringLiteral("%1 - %2").arg(Reply.StatusCode).arg(Reply.StatusText));
    return Reply;
}

void TRESTResponse::Clear()
{
    FStatusCode = 0;
    FStatusText.clear();
    FContentType.clear();
    FRawBytes.clear();
}

void TRESTRequest::Execute()
{
    if (!Client)
        throw ERESTException(QStringLiteral("The request has no client."));
    if (Response)
        Response->Clear();
    TRESTClient::TReply Reply = Client->Execute(Method, Resource, FHeaders, FHasBody ? &FBody : nullptr);
    if (Response) {
        Response->FStatusCode = Reply.StatusCode;
        Response->FStatusText = Reply.StatusText;
        Response->FContentType = Reply.ContentType;
        Response->FRawBytes = std::move(Reply.RawBytes);
    }
}
