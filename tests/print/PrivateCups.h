#pragma once
// A print scheduler of the test's own: Debian's cupsd as a child process
// with its own configuration folder and a loopback port, holding printers
// whose device keeps every job as a file in a folder. While it runs, this
// process (and every program it starts, lp among them) talks to it through
// CUPS_SERVER. The destructor stops it; it also dies with the test process.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TPrivateCups {
public:
    TPrivateCups();
    ~TPrivateCups();
    TPrivateCups(const TPrivateCups&) = delete;
    TPrivateCups& operator=(const TPrivateCups&) = delete;

    // False (with the reason in Why) when the scheduler could not start,
    // e.g. because cupsd or lp is not installed.
    bool Running() const { return FRunning; }
    const QString& Why() const { return FWhy; }
    // "127.0.0.1:<port>"
    QString Server() const;

    // Adds a printer that keeps its jobs; Default makes it the scheduler's default.
    bool AddPrinter(const QString& Name, bool Default);
    // The files of the jobs kept so far, oldest first; waits up to
    // TimeoutMs for at least Count of them to be complete.
    QStringList Jobs(int Count, int TimeoutMs = 60000) const;

    // The text of a PDF file (pdftotext), empty when it is not a PDF.
    static QString PdfText(const QString& File);

    void Stop();

private:
    bool Start();
    bool Run(const QString& Program, const QStringList& Args, QString* Output = nullptr) const;

    QTemporaryDir FDir;
    QProcess FDaemon;
    int FPort = 0;
    bool FRunning = false;
    QString FWhy;
    QByteArray FOldServer;
    bool FHadOldServer = false;
};
