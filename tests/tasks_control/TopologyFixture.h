#pragma once
// A made-up sysfs tree for the processor environment: six online
// processors in three two-thread cores, optionally two NUMA nodes
// (0: processors 0-3, 1: processors 4-5, distances 10/21).

#include "tasks/WeftEnvironment.h"

#include <QTemporaryDir>

class TopologyFixture {
public:
    explicit TopologyFixture(bool withNodes = true);
    QString Root() const { return FDir.path(); }
    PWeftEnvironment Environment() const { return CreateEnvironment(ReadWeftTopology(Root())); }

private:
    void Write(const QString& relPath, const QString& text);
    QTemporaryDir FDir;
};
