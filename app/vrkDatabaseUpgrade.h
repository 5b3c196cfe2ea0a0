#pragma once
// The database upgrade from the scripts delivered beside the program: the
// folder "db" holds one sub-folder per version (named after it, its last four
// characters being the version), each with "*.sql*" scripts that are run in
// name order, one transaction per script, and moved into the sub-folder "ok"
// once done. A script whose name ends in "sqldata" may fail: what it did is
// committed and it is moved all the same. Any other failing script stops the
// upgrade. Sub-folders of a version lower than the database's are skipped.
// Folders and files are taken in ordinal name order, so a delivery lists
// in version and run order whatever the file system returns.

#include <QString>

class TDataModule1;

class TDatabaseUpgrade {
public:
    struct TResult {
        bool Ran = false;     // at least one script was attempted
        bool Failed = false;  // a script other than a data script failed
    };

    // ProgramDir ends in "/". ClientVersion: the client row's CLIENT_VERSION.
    static TResult Run(TDataModule1& Module, const QString& ProgramDir, const QString& ClientVersion);
    // After an upgrade without failure: removes "db" with all its version
    // folders and the old-version folder "vanha_versio".
    static void CleanUp(const QString& ProgramDir);
    // After any upgrade run: removes the saved layouts that no longer fit.
    static void RemoveLayoutFiles(const QString& ProgramDir);

private:
    // Runs one script; false when it failed and the upgrade must stop.
    static bool RunScript(TDataModule1& Module, const QString& Path, const QString& DoneFolder);
    static void MoveDone(const QString& Path, const QString& DoneFolder);
};
