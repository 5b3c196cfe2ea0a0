#include "tests/system/DeskProgram.h"

#include <csignal>
#include <stdexcept>
#include <sys/prctl.h>

TDeskProgram::TDeskProgram(const TDeskFolder& Folder, const QProcessEnvironment& Extra)
    : FProcess(std::make_unique<QProcess>())
{
    QProcessEnvironment env = Folder.Environment();
    for (const QString& k : Extra.keys())
        env.insert(k, Extra.value(k));
    FProcess->setProcessEnvironment(env);
    FProcess->setProcessChannelMode(QProcess::MergedChannels);
    FProcess->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    FProcess->start(QStringLiteral(SORVEX_BIN_DIR "/sorvex"), {});
    if (!FProcess->waitForStarted(10000))
        throw std::runtime_error("the program did not start");
}

TDeskProgram::~TDeskProgram()
{
    KillHard();
}

bool TDeskProgram::Running() const
{
    FProcess->waitForFinished(0);
    return FProcess->state() != QProcess::NotRunning;
}

qint64 TDeskProgram::Pid() const
{
    return FProcess->processId();
}

void TDeskProgram::KillHard()
{
    if (!Running())
        return;
    FProcess->kill();
    FProcess->waitForFinished(10000);
}

QByteArray TDeskProgram::Output() const
{
    return FProcess->readAll();
}
