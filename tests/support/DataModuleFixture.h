#pragma once
// The data module over a fresh event database: a private program folder (for
// the day log), the main window's configuration pointing at the test's own
// copy of the event database, and DataModule1 created as the program creates
// it. Connect() opens it; Exec() writes fixture rows in a transaction of its
// own, committed at once.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "tests/support/TempProgramDir.h"
#include "tests/support/TestDatabase.h"

#include <QStringList>
#include <memory>

class DataModuleFixture {
public:
    DataModuleFixture();
    ~DataModuleFixture();

    bool Connect();
    // Runs statements (";"-separated script) and commits. With Raw set, the
    // database's own derivations and upload queueing stay out of the way, so
    // rows are stored exactly as written.
    void Exec(const QString& Script, bool Raw = false);
    // A single value of a query (first column of the first row).
    QVariant Value(const QString& Sql);
    // The day log's lines written so far: "kind text;shown;message" parts.
    QStringList LogLines() const;
    // Log lines of one kind ("Information", "Error", ...), message text only.
    QStringList Messages(const QString& Kind) const;

    TempProgramDir Home;
    TestDatabase Db;
    std::unique_ptr<TformMain> Main;
    std::unique_ptr<TDataModule1> Module;
};
