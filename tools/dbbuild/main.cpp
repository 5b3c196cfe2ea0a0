// sorvex-dbbuild OUTPUT.FDB SCRIPT.sql...
// Creates a fresh database and runs the scripts in the order given, each as
// one script; data-definition statements are committed as they run. The file
// appears under OUTPUT only when every script ran, so a failed build leaves
// no half-made database behind.

#include "platform/database/FbScript.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: sorvex-dbbuild OUTPUT.FDB [SCRIPT.sql...]\n");
        return 2;
    }
    const QString output = QFileInfo(args[1]).absoluteFilePath();
    const QString temp = output + QStringLiteral(".building");
    QFile::remove(temp);
    QString current;
    try {
        TFbConnection::CreateDatabase(temp);
        TFbConnection con;
        con.DatabaseName = temp;
        con.UserName = QStringLiteral("SYSDBA");
        con.Open();
        TFbTransaction tr;
        tr.SetConnection(&con);
        TFbScript script;
        script.Connection = &con;
        script.Transaction = &tr;
        for (int i = 2; i < args.size(); ++i) {
            current = args[i];
            script.AutoCommitDDL = true;
            script.ExecuteFile(current);
            if (tr.Active())
                tr.Commit();
        }
        con.Close();
    } catch (const EFbScriptError& e) {
        std::fprintf(stderr, "%s:%d: error: %s\n", qPrintable(current), e.Line(), qPrintable(e.Message()));
        if (!e.Statement().isEmpty())
            std::fprintf(stderr, "  in statement:\n%s\n", qPrintable(e.Statement().left(400)));
        QFile::remove(temp);
        return 1;
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s: error: %s\n", qPrintable(current.isEmpty() ? output : current), qPrintable(e.Message()));
        QFile::remove(temp);
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(temp, output)) {
        std::fprintf(stderr, "sorvex-dbbuild: cannot move the database to %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}
