#include "tests/system/DeskFolder.h"

#include "tests/support/TestDatabase.h"
#include "tools/scramble/Scramble.h"

#include <QDate>
#include <QFile>
#include <stdexcept>

TDeskFolder::TDeskFolder()
{
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a program folder");
    if (!QFile::copy(TestDatabase::TemplatePath(), LocalDatabase()))
        throw std::runtime_error("cannot copy the event database template");
    QFile::setPermissions(LocalDatabase(), QFile::ReadOwner | QFile::WriteOwner);
}

QString TDeskFolder::Path() const
{
    return FDir.path() + QLatin1Char('/');
}

void TDeskFolder::Write(const QString& Name, const QByteArray& Text) const
{
    QFile f(File(Name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Text) != Text.size())
        throw std::runtime_error(("cannot write " + File(Name)).toStdString());
}

void TDeskFolder::Configure(const TDeskSettings& S) const
{
    const QString system = QStringLiteral("[CONNECT_PARAMS]\r\nDB_NAME=%1\r\nUSER_NAME=%2\r\nPASSWORD=%3\r\n\r\n"
                                          "[WEB_SERVICE]\r\nREST_BASE_URL=%4\r\nREST_BASE_URL_V2=%5\r\n")
                               .arg(S.Database, ScrambleText(S.User), S.Password.isEmpty() ? QString() : ScrambleText(S.Password),
                                    S.FirstUrl, S.SecondUrl);
    Write(QStringLiteral("vrkEventSystem.ini"), system.toUtf8());
    const QString devices = QStringLiteral("[CHIP_READER]\r\nUNIT=0\r\nCOM=%1\r\nREAD_SUCCESSIVELY=E\r\nREAD_DELAY=0\r\n\r\n"
                                           "[CHIP_PRINTER]\r\nCOM=%2\r\nTYPE=%3\r\n")
                                .arg(S.ReaderPort, S.PrinterPort, S.PrinterPort.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
    Write(QStringLiteral("vrkEvent.ini"), devices.toUtf8());
}

QString TDeskFolder::Dialogs() const
{
    QFile f(File(QStringLiteral("dialogs.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList TDeskFolder::DayLog(const QString& Kind) const
{
    QFile f(File(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("_loki.csv")));
    QStringList r;
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(';'));
        if (parts.size() >= 5 && parts[2] == Kind)
            r << QStringList(parts.mid(4)).join(QLatin1Char(';'));
    }
    return r;
}

QProcessEnvironment TDeskFolder::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SORVEX_HOME"), Path());
    env.insert(QStringLiteral("SORVEX_RUNTIME_DIR"), Path());
    env.insert(QStringLiteral("SORVEX_DIALOG_LOG"), File(QStringLiteral("dialogs.log")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}
