#pragma once
// A desk's program folder for whole-process scenarios: the installation file
// (database, user, web service addresses), the device file (reader and
// printer ports, self-service settings), the dialog log the program writes
// instead of showing boxes, and the day log it keeps. The folder is removed
// at the end; the program runs in it through SORVEX_HOME.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct TDeskSettings {
    QString Database = QStringLiteral("SORVEX.FDB");  // DB_NAME
    QString User = QStringLiteral("SYSDBA");
    QString Password;
    QString FirstUrl, SecondUrl;  // the web service; empty: none
    QString ReaderPort, PrinterPort;
};

class TDeskFolder {
public:
    // With a fresh copy of the event database as SORVEX.FDB.
    TDeskFolder();

    QString Path() const;  // with a trailing "/"
    QString File(const QString& Name) const { return Path() + Name; }
    QString LocalDatabase() const { return File(QStringLiteral("SORVEX.FDB")); }
    void Configure(const TDeskSettings& Settings) const;

    // What the program showed in boxes (caption, flags and text per entry).
    QString Dialogs() const;
    // Today's day log lines of one kind ("Error", "Warning", ...).
    QStringList DayLog(const QString& Kind) const;
    // The environment a program of this desk runs with.
    QProcessEnvironment Environment() const;

private:
    void Write(const QString& Name, const QByteArray& Text) const;
    QTemporaryDir FDir;
};
