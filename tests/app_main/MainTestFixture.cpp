#include "tests/app_main/MainTestFixture.h"

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Forms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

MainTestFixture::MainTestFixture()
{
    formMain->vcCurrentExeDirectory = Data.Home.Path();
    // The window's controls finish loading as a created window's do (its
    // trees build only then); its OnCreate stays out of the tests' way.
    formMain->EndLoading();
    FirstUse = std::make_unique<TFormFirstUse>(nullptr);
    FormFirstUse = FirstUse.get();
    Settings = std::make_unique<TformSettings>(nullptr);
    formSettings = Settings.get();
    SetMessageBoxHook([this](const TMessageBoxRequest& r) {
        Boxes << r.Text;
        return BoxAnswer;
    });
    SetCommonDialogHook([this](TCommonDialog*, QString& Value) {
        ++InputBoxes;
        Value = SecretAnswer;
        return !SecretAnswer.isEmpty();
    });
    SetModalHook([this](TCustomForm* F) { return OnModal ? OnModal(F) : int(mrCancel); });
    WebSync = std::make_unique<TMainWebSync>(nullptr);
    MainWebSync = WebSync.get();
    TMainWebLink link;
    link.StartOnline = [this] { ++WebStarts; };
    link.StopOnline = [this] { ++WebStops; };
    link.DownloadCalendar = [this](const QString& Id) { Calendars << Id; };
    link.DownloadEventData = [this](int64_t Id) { EventDownloads << Id; };
    FOldLink = SetMainWebLink(link);
}

MainTestFixture::~MainTestFixture()
{
    SetMainWebLink(FOldLink);
    WebSync.reset();
    SetModalHook(nullptr);
    SetCommonDialogHook(nullptr);
    SetMessageBoxHook(nullptr);
    Settings.reset();
    FirstUse.reset();
}

void MainTestFixture::InsertClient(const QString& Version, const QString& Secret)
{
    Data.Connect();
    const QString secret = Secret.isEmpty() ? QStringLiteral("null") : "'" + Secret + "'";
    Data.Exec(QStringLiteral("execute procedure E_CLIENT.INSERT_CLIENT(5, 'Maalikone', 'Tiistairastit', 'K', null, '%1', %2);")
                  .arg(Version, secret));
    Data.Module->Disconnect();
}

void MainTestFixture::WriteFile(const QString& RelativePath, const QByteArray& Content)
{
    const QString path = Data.Home.File(RelativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(Content);
}

bool MainTestFixture::Exists(const QString& RelativePath) const
{
    return QFileInfo::exists(Data.Home.File(RelativePath));
}

bool MainTestFixture::TableExists(const QString& Table)
{
    return Data.Value(QStringLiteral("select count(*) from rdb$relations where rdb$relation_name = '%1'").arg(Table)).toInt() > 0;
}
