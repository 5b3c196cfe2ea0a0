#pragma once
// What the main window and the web worker share about the web service: the
// two base addresses, this computer's client id and secret, the client row's
// first-use flag, the database the worker connects to, and the access token
// that either thread's login replaces and a failed pass empties. Both threads
// read and write it, so every value sits behind one lock.

#include <QString>
#include <cstdint>
#include <mutex>

class TWebSession {
public:
    QString RestBaseUrl() const { return Get(FRestBaseUrl); }
    QString RestBaseUrlV2() const { return Get(FRestBaseUrlV2); }
    QString AccessToken() const { return Get(FAccessToken); }
    QString ClientSecret() const { return Get(FClientSecret); }
    QString FirstSyncDone() const { return Get(FFirstSyncDone); }
    int64_t ClientId() const
    {
        std::lock_guard<std::mutex> G(FLock);
        return FClientId;
    }

    void SetBaseUrls(const QString& First, const QString& Second)
    {
        std::lock_guard<std::mutex> G(FLock);
        FRestBaseUrl = First;
        FRestBaseUrlV2 = Second;
    }
    void SetAccessToken(const QString& V) { Set(FAccessToken, V); }
    void ClearAccessToken() { Set(FAccessToken, QString()); }
    void SetClient(int64_t Id, const QString& Secret)
    {
        std::lock_guard<std::mutex> G(FLock);
        FClientId = Id;
        FClientSecret = Secret;
    }
    void SetFirstSyncDone(const QString& V) { Set(FFirstSyncDone, V); }

    // The worker's database connection values (the main window's).
    struct TDbParams {
        QString Name, User, Password;
    };
    TDbParams Db() const
    {
        std::lock_guard<std::mutex> G(FLock);
        return FDb;
    }
    void SetDb(const TDbParams& V)
    {
        std::lock_guard<std::mutex> G(FLock);
        FDb = V;
    }

private:
    QString Get(const QString& V) const
    {
        std::lock_guard<std::mutex> G(FLock);
        return V;
    }
    void Set(QString& Field, const QString& V)
    {
        std::lock_guard<std::mutex> G(FLock);
        Field = V;
    }

    mutable std::mutex FLock;
    QString FRestBaseUrl, FRestBaseUrlV2, FAccessToken, FClientSecret;
    QString FFirstSyncDone = QStringLiteral("Y");
    int64_t FClientId = 0;
    TDbParams FDb;
};
