#include "tests/support/DataModuleFixture.h"

#include "app/vrkDoMessage.h"
#include "data/vrkEntities.h"
#include "platform/database/FbScript.h"

#include <QDate>
#include <QFile>

DataModuleFixture::DataModuleFixture()
{
    Main = std::make_unique<TformMain>(nullptr);
    formMain = Main.get();
    formMain->s_db_name = Db.Path();
    formMain->s_db_user_name = QStringLiteral("SYSDBA");
    formMain->s_db_password.clear();
    formMain->vcUILanguageCode = QStringLiteral("FI");
    Module = std::make_unique<TDataModule1>(nullptr);
    DataModule1 = Module.get();
    CreateEntityGlobals();
}

DataModuleFixture::~DataModuleFixture()
{
    Module.reset();
    DataModule1 = nullptr;
    Main.reset();
    formMain = nullptr;
}

bool DataModuleFixture::Connect()
{
    return Module->Connect();
}

void DataModuleFixture::Exec(const QString& Script, bool Raw)
{
    TFbTransaction t;
    t.SetConnection(Module->convrkEventFD);
    TFbScript s;
    s.Connection = Module->convrkEventFD;
    s.Transaction = &t;
    t.StartTransaction();
    if (Raw)
        s.ExecuteScript(QStringLiteral("select rdb$set_context('USER_TRANSACTION', 'VRK_NO_QUEUE', '1') from rdb$database;"));
    s.ExecuteScript(Script);
    if (t.Active())
        t.Commit();
}

QVariant DataModuleFixture::Value(const QString& Sql)
{
    TFbTransaction t;
    t.SetConnection(Module->convrkEventFD);
    TFbQuery q;
    q.SetConnection(Module->convrkEventFD);
    q.SetTransaction(&t);
    q.SQL().Add(Sql);
    q.Open();
    QVariant v = q.IsEmpty() ? QVariant() : q.Fields()[0]->AsVariant();
    q.Close();
    t.Commit();
    return v;
}

QStringList DataModuleFixture::LogLines() const
{
    QFile file(DayLogFileName(QDate::currentDate()));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines;
}

QStringList DataModuleFixture::Messages(const QString& Kind) const
{
    QStringList r;
    const QStringList lines = LogLines();
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(QLatin1Char(';'));
        if (parts.size() < 5)
            continue;
        QString text = QStringList(parts.mid(4)).join(QLatin1Char(';'));
        // A text of several lines is one quoted field over several lines.
        if (text.startsWith(QLatin1Char('"'))) {
            while (!(text.endsWith(QLatin1Char('"')) && text.size() > 1) && i + 1 < lines.size())
                text += QStringLiteral("\r\n") + lines[++i];
            text = text.mid(1, text.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        }
        if (parts[2] == Kind)
            r << text;
    }
    return r;
}
