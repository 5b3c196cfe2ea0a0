// sorvex-webservice: the stand-in web result service as a program.
//   sorvex-webservice [--port N] [--cert-out FILE] [--demo FILE] [--uploads-out FILE]
// Prints its two base URLs and the certificate file, then serves until
// stopped (Ctrl+C or SIGTERM); with --uploads-out it then writes every
// uploaded record (JSON array) for a test to read.

#include "tools/webservice/WebServiceServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace {
volatile std::sig_atomic_t Stopped = 0;
void OnSignal(int) { Stopped = 1; }
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication App(argc, argv);
    int Port = 0;
    QString CertOut, Demo, UploadsOut;
    const QStringList Args = App.arguments();
    for (int K = 1; K < Args.size(); ++K) {
        const QString A = Args[K];
        const QString Next = K + 1 < Args.size() ? Args[K + 1] : QString();
        if (A == QLatin1String("--port")) { Port = Next.toInt(); ++K; }
        else if (A == QLatin1String("--cert-out")) { CertOut = Next; ++K; }
        else if (A == QLatin1String("--demo")) { Demo = Next; ++K; }
        else if (A == QLatin1String("--uploads-out")) { UploadsOut = Next; ++K; }
        else {
            std::fprintf(stderr, "usage: sorvex-webservice [--port N] [--cert-out FILE] [--demo FILE] [--uploads-out FILE]\n");
            return 2;
        }
    }
    try {
        webservice::TWebServiceServer Server(Port, CertOut);
        if (!Demo.isEmpty()) {
            QFile F(Demo);
            if (!F.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(Demo));
                return 1;
            }
            Server.State().LoadAccount(QJsonDocument::fromJson(F.readAll()).object());
        }
        std::cout << "REST_BASE_URL=" << Server.FirstBaseURL().toStdString() << "\n"
                  << "REST_BASE_URL_V2=" << Server.SecondBaseURL().toStdString() << "\n"
                  << "SORVEX_CA_FILE=" << Server.CertificateFile().toStdString() << std::endl;
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        while (!Stopped)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Server.Stop();
        if (!UploadsOut.isEmpty()) {
            QJsonArray Uploads;
            for (const QJsonObject& Record : Server.State().UploadedRecords())
                Uploads.append(Record);
            QFile F(UploadsOut);
            if (!F.open(QIODevice::WriteOnly) || F.write(QJsonDocument(Uploads).toJson()) < 0) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(UploadsOut));
                return 1;
            }
        }
    } catch (const std::exception& E) {
        std::fprintf(stderr, "sorvex-webservice: %s\n", E.what());
        return 1;
    }
    return 0;
}
