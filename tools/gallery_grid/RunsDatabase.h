#pragma once
// A copy of the event database holding one event with a given number of
// runs in 20 clubs, for the grid gallery and the grid benchmarks.

#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "tests/support/TestDatabase.h"

#include <memory>

class TRunsDatabase {
public:
    explicit TRunsDatabase(int Runs);
    ~TRunsDatabase();
    // The runs of the event (15 columns), editable and keyed by run id.
    std::unique_ptr<TFbQuery> NewRunsQuery();
    // The clubs (CLUB_ID, CLUB_NAME).
    std::unique_ptr<TFbQuery> NewClubsQuery();
    TFbConnection Con;
    TFbTransaction Tr;

private:
    TestDatabase FDb;
};
