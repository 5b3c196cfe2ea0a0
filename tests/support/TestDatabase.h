#pragma once
// A database file of the test's own: a copy of the event database that the
// build made from eventdb/*.sql (copying is fast; building is not), or an
// empty database for tests of the access layer. Each lives in its own
// temporary folder, since the embedded engine lets one process at a time
// open a file.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TestDatabase {
public:
    enum TKind { EventDatabase, Empty };
    explicit TestDatabase(TKind Kind = EventDatabase);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The database file's absolute path.
    QString Path() const { return FPath; }
    // The folder holding it (a program folder for tests that need one).
    QString Folder() const;

    // The template the build made.
    static QString TemplatePath();

private:
    QTemporaryDir FDir;
    QString FPath;
};

// One event database per test process, made on first use and removed at exit.
const QString& SuiteDatabasePath();

// The first row of a query as a connection of its own sees it (committed data
// only), each field as text: what another desk or process would read now.
QStringList RowOnOwnConnection(const QString& Database, const QString& Sql, const QString& User = QString(),
                               const QString& Password = QString());
