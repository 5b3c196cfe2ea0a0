#pragma once
// The real program (build/bin/sorvex) started for one desk's folder, offscreen,
// with its dialogs written to the folder's dialog log. It dies with the test
// (also when the test crashes) and is killed at the end when still running.

#include "tests/system/DeskFolder.h"

#include <QProcess>
#include <memory>

class TDeskProgram {
public:
    TDeskProgram(const TDeskFolder& Folder, const QProcessEnvironment& Extra = QProcessEnvironment());
    ~TDeskProgram();

    bool Running() const;
    qint64 Pid() const;
    // kill -9, as a power cut or a crash would end it; waits until it is gone.
    void KillHard();
    QByteArray Output() const;

private:
    std::unique_ptr<QProcess> FProcess;
};
