#include "TopologyFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TopologyFixture::TopologyFixture(bool withNodes)
{
    Write(QStringLiteral("cpu/online"), QStringLiteral("0-5\n"));
    const char* siblings[] = {"0-1", "0-1", "2-3", "2-3", "4-5", "4-5"};
    for (int i = 0; i < 6; ++i)
        Write(QStringLiteral("cpu/cpu%1/topology/thread_siblings_list").arg(i), QString::fromLatin1(siblings[i]));
    if (withNodes) {
        Write(QStringLiteral("node/node1/cpulist"), QStringLiteral("4-5\n"));
        Write(QStringLiteral("node/node1/distance"), QStringLiteral("21 10\n"));
        Write(QStringLiteral("node/node0/cpulist"), QStringLiteral("0-3\n"));
        Write(QStringLiteral("node/node0/distance"), QStringLiteral("10 21\n"));
    }
}

void TopologyFixture::Write(const QString& relPath, const QString& text)
{
    const QString path = FDir.filePath(relPath);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text.toLatin1());
}
