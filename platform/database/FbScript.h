#pragma once
// SQL scripts run statement by statement: ";" ends a statement until
// "SET TERM" names another terminator; comments and string literals are
// skipped when looking for the terminator; "COMMIT" and "ROLLBACK" end the
// script's transaction and start the next; isql's display settings are
// ignored. The first failing statement stops the run with its line number.

#include "platform/database/FbConnection.h"

#include <QString>
#include <functional>
#include <vector>

struct TScriptStatement {
    QString Text;  // without the terminator
    int Line = 1;  // line where the statement begins
};

// Splits a script into its statements (SET TERM lines are consumed).
std::vector<TScriptStatement> SplitScript(const QString& Script);

class TFbScript : public TComponent {
public:
    explicit TFbScript(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    TFbConnection* Connection = nullptr;
    // The connection's default transaction when none is set.
    TFbTransaction* Transaction = nullptr;
    // Commits after every data-definition statement, as isql's AUTODDL does;
    // "SET AUTODDL ON/OFF" in a script switches it.
    bool AutoCommitDDL = false;
    // Told before each statement runs (index from 0).
    std::function<void(int Index, const TScriptStatement& Statement)> OnStatement;

    // Runs the statements in the transaction (started when not active). The
    // transaction is left active for the caller to commit; on an error it is
    // left as it is and EFbScriptError is raised.
    void ExecuteScript(const QString& Script);
    // Reads the file as UTF-8 and runs it.
    void ExecuteFile(const QString& Path);
};
