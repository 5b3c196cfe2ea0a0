#pragma once
// The same five runners in an in-memory dataset and in a Firebird table of a
// database of the suite's own, so filters and indexes are checked on both.

#include "platform/database/ClientDataSet.h"
#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"

#include <QString>
#include <memory>
#include <set>

class TestDatabase;

enum class TRunnerSource { Memory, Firebird };

class RunnerData {
public:
    explicit RunnerData(TRunnerSource Source);
    ~RunnerData();
    TDataSet& DataSet() { return *FDataSet; }
    // The ID values of the rows the dataset shows, in order.
    std::vector<int> Ids();
    std::set<int> IdSet();

private:
    std::unique_ptr<TestDatabase> FDb;
    std::unique_ptr<TFbConnection> FCon;
    std::unique_ptr<TFbTransaction> FTr;
    std::unique_ptr<TDataSet> FDataSet;
};
