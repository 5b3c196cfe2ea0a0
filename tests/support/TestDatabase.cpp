#include "tests/support/TestDatabase.h"

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"

#include <QFile>
#include <memory>
#include <stdexcept>

TestDatabase::TestDatabase(TKind Kind)
{
    if (!FDir.isValid())
        throw std::runtime_error("cannot create a temporary folder for the test database");
    FPath = FDir.filePath(QStringLiteral("SORVEX.FDB"));
    if (Kind == Empty) {
        TFbConnection::CreateDatabase(FPath);
        return;
    }
    if (!QFile::copy(TemplatePath(), FPath))
        throw std::runtime_error(("cannot copy the event database template " + TemplatePath()).toStdString());
    QFile::setPermissions(FPath, QFile::ReadOwner | QFile::WriteOwner);
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::Folder() const
{
    return FDir.path() + QLatin1Char('/');
}

QString TestDatabase::TemplatePath()
{
    return QStringLiteral(SORVEX_EVENTDB_TEMPLATE);
}

const QString& SuiteDatabasePath()
{
    static std::unique_ptr<TestDatabase> db = std::make_unique<TestDatabase>();
    static QString path = db->Path();
    return path;
}

QStringList RowOnOwnConnection(const QString& Database, const QString& Sql, const QString& User, const QString& Password)
{
    TFbConnection C;
    C.DatabaseName = Database;
    if (!User.isEmpty()) {
        C.UserName = User;
        C.Password = Password;
    }
    C.Open();
    TFbTransaction T;
    T.SetConnection(&C);
    C.SetDefaultTransaction(&T);
    TFbQuery Q;
    Q.SetConnection(&C);
    Q.SQL().SetText(Sql);
    Q.Open();
    QStringList Row;
    for (int I = 0; I < Q.FieldCount(); ++I)
        Row << Q.Fields()[I]->AsString();
    Q.Close();
    T.Commit();
    C.Close();
    return Row;
}
