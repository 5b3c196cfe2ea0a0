#pragma once
// A temporary program folder for one test: SORVEX_HOME points at it while the
// object lives, so every file the program writes lands inside it.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();

    // The folder with a trailing "/".
    QString Path() const;
    QString File(const QString& Name) const { return Path() + Name; }
    void Write(const QString& Name, const QByteArray& Content) const;
    QByteArray Read(const QString& Name) const;

private:
    QTemporaryDir FDir;
    QByteArray FOldHome;
    bool FHadHome = false;
};
