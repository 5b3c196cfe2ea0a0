#include "tests/support/TempProgramDir.h"

#include <QFile>
#include <cstdlib>

TempProgramDir::TempProgramDir()
{
    FHadHome = qEnvironmentVariableIsSet("SORVEX_HOME");
    FOldHome = qgetenv("SORVEX_HOME");
    qputenv("SORVEX_HOME", FDir.path().toUtf8());
}

TempProgramDir::~TempProgramDir()
{
    if (FHadHome)
        qputenv("SORVEX_HOME", FOldHome);
    else
        qunsetenv("SORVEX_HOME");
}

QString TempProgramDir::Path() const
{
    return FDir.path() + QLatin1Char('/');
}

void TempProgramDir::Write(const QString& Name, const QByteArray& Content) const
{
    QFile f(File(Name));
    if (f.open(QIODevice::WriteOnly))
        f.write(Content);
}

QByteArray TempProgramDir::Read(const QString& Name) const
{
    QFile f(File(Name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
