#pragma once
// Column summaries of a grid: per column the sum, minimum, maximum, average
// and counts of values and empty values, the same over the multi-selected
// records, and the most frequent display texts. Texts carry the values
// through tags ("%SUM", "%COUNTALL", ...) that ReplaceSummaryTags fills in.

#include <QString>
#include <functional>
#include <vector>

class TrDBGrid;
class TField;

struct TDistinctValues {
    QString Value;
    int Count = 0;
};

struct TSummaryResults {
    TField* Field = nullptr;
    double Sum = 0, Min = 0, Max = 0, Avg = 0;
    int CountValues = 0, CountEmpty = 0;
    double SelSum = 0, SelMin = 0, SelMax = 0, SelAvg = 0;
    int SelCountValues = 0, SelCountEmpty = 0;
    int DistinctValueCount = 0;
    std::vector<TDistinctValues> DistinctValues;
};

class TrDBGridSummaries {
public:
    explicit TrDBGridSummaries(TrDBGrid* Grid) : FGrid(Grid) {}
    bool CalculateDistinctValues = false;

    // Recomputes every column's summary over the records under the current filter.
    void Recalculate();
    const std::vector<TSummaryResults>& Results() const { return FResults; }
    // Whether the stored results were counted over open data (not merely
    // laid out while the grid had none).
    bool Calculated() const { return FCalculated; }
    // The summary of the first column showing F (an empty one when none).
    TSummaryResults GetSummaryResults(TField* F, bool Recalculate);
    // Replaces the tags in S; returns the replaced values joined by "; ".
    QString ReplaceSummaryTags(QString& S, TField* F, const TSummaryResults& R, bool ForFooter) const;
    // About six significant digits, half to even.
    static double DoRound(double V);

private:
    TrDBGrid* FGrid;
    std::vector<TSummaryResults> FResults;
    bool FCalculated = false;
};
