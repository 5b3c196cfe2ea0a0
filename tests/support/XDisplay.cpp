#include "tests/support/XDisplay.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

TXDisplay::~TXDisplay()
{
    Stop(FManager);
    Stop(FServer);
}

std::unique_ptr<QProcess> TXDisplay::StartProcess(const QString& Program, const QStringList& Args)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), FName);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    p->start(Program, Args);
    if (!p->waitForStarted(5000)) {
        FLastError = Program + QStringLiteral(" did not start: ") + p->errorString();
        return nullptr;
    }
    return p;
}

void TXDisplay::Stop(std::unique_ptr<QProcess>& Process)
{
    if (!Process)
        return;
    if (Process->state() != QProcess::NotRunning) {
        Process->terminate();
        if (!Process->waitForFinished(3000)) {
            Process->kill();
            Process->waitForFinished(3000);
        }
    }
    Process.reset();
}

bool TXDisplay::Start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty() || openbox.isEmpty()) {
        FLastError = QStringLiteral("Xvfb or openbox is not installed");
        return false;
    }
    // A display number that no other server holds, spread by the process id
    // so that tests running side by side do not meet.
    int number = 0;
    for (int i = 0; i < 200 && number == 0; ++i) {
        const int n = 300 + (int(::getpid()) + i * 7) % 600;
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) && !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            number = n;
    }
    if (number == 0) {
        FLastError = QStringLiteral("no free X display number");
        return false;
    }
    FName = QStringLiteral(":%1").arg(number);
    FServer = StartProcess(xvfb, {FName, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                  QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!FServer)
        return false;
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))) {
        if (clock.elapsed() > 10000 || FServer->state() == QProcess::NotRunning) {
            FLastError = QStringLiteral("Xvfb did not come up on ") + FName;
            return false;
        }
        QThread::msleep(50);
    }
    FManager = StartProcess(openbox, {QStringLiteral("--sm-disable")});
    if (!FManager)
        return false;
    // The manager takes the screen over in a moment; windows mapped before
    // would be placed without it.
    QThread::msleep(1500);
    if (FManager->state() == QProcess::NotRunning) {
        FLastError = QStringLiteral("openbox ended at once");
        return false;
    }
    return true;
}
