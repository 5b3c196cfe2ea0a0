#pragma once
// The runs written since a results grid last read them, from the event
// database's change log (every change of a run, and of its place in the
// upload queue, is logged there under a rising number by the database
// itself). Numbers are taken as the changes are written but become visible
// only as their transactions commit, so a number below the highest one seen
// may still come: such missing numbers are read again until they come, or
// until they are old enough to belong to a transaction that was undone.

#include "platform/database/FbQuery.h"

#include <QHash>
#include <QSet>
#include <cstdint>

class TRunChangeLog {
public:
    // The grid is about to read every run: what the log holds now counts as
    // read. Statements go through Shared's transaction.
    void Start(TFbQuery& Shared, int64_t NowMs);
    // The runs logged since the last call (or since Start); throws when the
    // log cannot be read or no longer holds every change since, and tells
    // nothing before a Start.
    QSet<int64_t> Changed(TFbQuery& Shared, int64_t NowMs);
    bool Started() const { return FStarted; }

    // How many of the last numbers the database keeps in the log.
    static constexpr int64_t kKeptChanges = 100000;
    // A missing number older than this is taken as undone.
    static constexpr int64_t kMissingForgottenMs = 10 * 60 * 1000;

private:
    QSet<int64_t> ReadAfter(TFbQuery& Shared, int64_t After, int64_t NowMs);
    bool FStarted = false;
    int64_t FLast = 0;                 // the highest number seen
    QHash<int64_t, int64_t> FMissing;  // numbers below FLast not seen yet -> since when
};
