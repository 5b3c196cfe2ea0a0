#include "data/vrkDbFailureCause.h"

#include "resources/SafeguardTexts.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace {

struct TCause {
    QStringList Marks;  // any of them in the engine's text (case-insensitive)
    const QString* Text;
};

// First match wins: a full disk also reports an I/O error, a refused login
// also "no permission".
const TCause Causes[] = {
    {{QStringLiteral("No space left on device"), QStringLiteral("Disk quota exceeded"), QStringLiteral("File too large")},
     &txt::DbCauseDiskFull},
    {{QStringLiteral("read-only"), QStringLiteral("read only"), QStringLiteral("Permission denied"),
      QStringLiteral("Read-only file system")},
     &txt::DbCauseReadOnly},
    {{QStringLiteral("appears corrupt"), QStringLiteral("wrong page type"), QStringLiteral("is not a valid database"),
      QStringLiteral("checksum error"), QStringLiteral("unsupported on-disk structure"), QStringLiteral("bad checksum"),
      QStringLiteral("Database is probably already opened by another engine instance in another Windows session"),
      QStringLiteral("internal Firebird consistency check")},
     &txt::DbCauseDamaged},
    {{QStringLiteral("user name and password are not defined"), QStringLiteral("Install incomplete"),
      QStringLiteral("no permission for"), QStringLiteral("login")},
     &txt::DbCauseLogin},
    {{QStringLiteral("No such file or directory")}, &txt::DbCauseMissing},
    {{QStringLiteral("Unable to complete network request"), QStringLiteral("connection shutdown"),
      QStringLiteral("Connection lost"), QStringLiteral("Error writing data to the connection"),
      QStringLiteral("Error reading data from the connection"), QStringLiteral("connection rejected"),
      QStringLiteral("Connection is not open")},
     &txt::DbCauseConnectionLost},
};

const QString IoErrorCode = QStringLiteral("335544344");

}  // namespace

// The engine's stored procedures report only the code of an input/output
// error; a full disk is then told apart by looking at the disk itself.
bool DatabaseDiskNearlyFull(const QString& DbName)
{
    if (DbName.isEmpty() || DbName.contains(QLatin1Char(':')))
        return false;  // a server path: its disk is not ours to look at
    const QStorageInfo disk(QFileInfo(DbName).absolutePath());
    constexpr qint64 kLowSpace = 4 * 1024 * 1024;
    return disk.isValid() && disk.bytesAvailable() < kLowSpace;
}

QString DbFailureCause(const QString& EngineText, const QString& DbName)
{
    if ((EngineText.contains(IoErrorCode) || EngineText.contains(QStringLiteral("I/O error"))) && DatabaseDiskNearlyFull(DbName))
        return txt::DbCauseDiskFull.arg(DbName);
    for (const TCause& c : Causes) {
        for (const QString& mark : c.Marks) {
            if (EngineText.contains(mark, Qt::CaseInsensitive))
                return c.Text->arg(DbName);
        }
    }
    return QString();
}

QString DbFailureText(const QString& EngineText, const QString& DbName)
{
    const QString cause = DbFailureCause(EngineText, DbName);
    return cause.isEmpty() ? EngineText : cause;
}
