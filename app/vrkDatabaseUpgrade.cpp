#include "app/vrkDatabaseUpgrade.h"

#include "app/vrkDoMessage.h"
#include "data/vrkDataModule.h"
#include "resources/MainWindowTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Entries of a folder in ordinal name order.
QStringList SortedEntries(const QString& Folder, const QStringList& Filters, QDir::Filters Kind)
{
    QStringList names = QDir(Folder).entryList(Filters, Kind | QDir::NoDotAndDotDot, QDir::Unsorted);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.compare(b) < 0; });
    return names;
}

bool IsDataScript(const QString& Path)
{
    return Path.endsWith(QLatin1String("sqldata"), Qt::CaseInsensitive);
}

}  // namespace

TDatabaseUpgrade::TResult TDatabaseUpgrade::Run(TDataModule1& Module, const QString& ProgramDir,
                                                const QString& ClientVersion)
{
    TResult result;
    const QString root = ProgramDir + txt::UpgradeFolder;
    if (!QFileInfo(root).isDir())
        return result;
    for (const QString& name : SortedEntries(root, {}, QDir::Dirs)) {
        const QString folder = root + QLatin1Char('/') + name;
        const QString done = folder + QLatin1Char('/') + txt::UpgradeDoneFolder;
        QDir().mkpath(done);
        const QString version = name.right(4);
        if (version.compare(ClientVersion) < 0)
            continue;
        do_message(false, txt::UpgradeStarting + version + QStringLiteral(" (") + ClientVersion + QStringLiteral(")"),
                   MSG_INFORMATION);
        for (const QString& file : SortedEntries(folder, {QStringLiteral("*.sql*")}, QDir::Files)) {
            result.Ran = true;
            if (!RunScript(Module, folder + QLatin1Char('/') + file, done)) {
                result.Failed = true;
                return result;
            }
        }
    }
    return result;
}

bool TDatabaseUpgrade::RunScript(TDataModule1& Module, const QString& Path, const QString& DoneFolder)
{
    TFbTransaction& tr = *Module.fbTransactionDefaultFD;
    try {
        if (!tr.Active())
            tr.StartTransaction();
        Module.FDScript1->Transaction = &tr;
        Module.FDScript1->ExecuteFile(Path);
        if (tr.Active())
            tr.Commit();
        MoveDone(Path, DoneFolder);
        return true;
    } catch (const std::exception& e) {
        if (IsDataScript(Path)) {
            // A data script may fail: keep what it did and go on.
            try {
                if (tr.Active())
                    tr.Commit();
                MoveDone(Path, DoneFolder);
                return true;
            } catch (const std::exception&) {
                // Falls through to the failure below: a data script that
                // cannot even be committed or moved would run again forever.
            }
        }
        if (tr.Active()) {
            try {
                tr.Rollback();
            } catch (...) {
            }
        }
        do_message(true,
                   txt::UpgradeScriptFailed + QStringLiteral("(") + QDir::toNativeSeparators(Path) + QStringLiteral(")") +
                       Module.GetDbMessage(QString::fromUtf8(e.what())),
                   MSG_ERROR);
        return false;
    }
}

void TDatabaseUpgrade::MoveDone(const QString& Path, const QString& DoneFolder)
{
    const QString target = DoneFolder + QLatin1Char('/') + QFileInfo(Path).fileName();
    if (QFile::exists(target) && !QFile::remove(target))
        throw std::runtime_error(("Cannot replace " + target).toStdString());
    if (!QFile::rename(Path, target))
        throw std::runtime_error(("Cannot move " + Path + " to " + target).toStdString());
}

void TDatabaseUpgrade::CleanUp(const QString& ProgramDir)
{
    QDir(ProgramDir + txt::UpgradeFolder).removeRecursively();
    QDir(ProgramDir + txt::OldVersionFolder).removeRecursively();
}

void TDatabaseUpgrade::RemoveLayoutFiles(const QString& ProgramDir)
{
    QFile::remove(ProgramDir + txt::AppPropertyFile);
    QFile::remove(ProgramDir + txt::ForestPropertyFile);
}
