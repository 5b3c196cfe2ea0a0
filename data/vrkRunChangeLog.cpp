#include "data/vrkRunChangeLog.h"

#include "data/vrkDbMethod.h"

#include <algorithm>
#include <stdexcept>

namespace {
// The changes a grid takes at its start: older ones are long committed.
constexpr int64_t kStartWindow = 1000;
}  // namespace

void TRunChangeLog::Start(TFbQuery& Shared, int64_t NowMs)
{
    FStarted = false;
    FMissing.clear();
    TFbQuery& q = SetStatement(Shared, {QStringLiteral("select gen_id(SEQ_VRK_RUN_CHANGES, 0) from RDB$DATABASE")});
    q.Open();
    const int64_t taken = q.Fields()[0]->AsLargeInt();
    q.Close();
    FLast = std::max<int64_t>(0, taken - kStartWindow);
    ReadAfter(Shared, FLast, NowMs);
    FStarted = true;
}

QSet<int64_t> TRunChangeLog::Changed(TFbQuery& Shared, int64_t NowMs)
{
    if (!FStarted)
        return {};
    for (auto it = FMissing.begin(); it != FMissing.end();)
        it = NowMs - it.value() > kMissingForgottenMs ? FMissing.erase(it) : std::next(it);
    int64_t after = FLast;
    for (auto it = FMissing.cbegin(); it != FMissing.cend(); ++it)
        after = std::min(after, it.key() - 1);
    return ReadAfter(Shared, after, NowMs);
}

QSet<int64_t> TRunChangeLog::ReadAfter(TFbQuery& Shared, int64_t After, int64_t NowMs)
{
    TFbQuery& q = SetStatement(Shared, {QStringLiteral("select C.CHANGE_ID, C.RESULTS_CLASS_ID from VRK_RUN_CHANGES C"),
                                        QStringLiteral("where C.CHANGE_ID > :AFTER")});
    q.ParamByName(QStringLiteral("AFTER")).SetAsLargeInt(After);
    q.Open();
    const TField* number = q.Fields()[0];
    const TField* run = q.Fields()[1];
    QSet<int64_t> runs;
    QSet<int64_t> seen;
    int64_t highest = FLast;
    for (; !q.Eof(); q.Next()) {
        const int64_t n = number->AsLargeInt();
        if (n > FLast || FMissing.remove(n) > 0)
            runs.insert(run->AsLargeInt());
        if (n > FLast)
            seen.insert(n);
        highest = std::max(highest, n);
    }
    q.Close();
    // The log keeps the last kKeptChanges numbers: a reading that far
    // behind may have lost some (the grid then reads its runs whole).
    if (FStarted && highest - FLast > kKeptChanges)
        throw std::runtime_error("the run change log no longer holds every change since the last reading");
    // (a jump of the numbering, as after a restore, leaves nothing to wait for)
    for (int64_t n = FLast + 1; n < highest && highest - FLast <= kKeptChanges; ++n)
        if (!seen.contains(n))
            FMissing.insert(n, NowMs);
    FLast = highest;
    return runs;
}
