#include "components/grid/TrDBGridSummaries.h"

#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"

#include <QHash>
#include <cmath>

namespace {

void Accumulate(double V, int Count, double& Sum, double& Min, double& Max)
{
    if (Count == 0)
        Min = Max = V;
    Min = std::min(Min, V);
    Max = std::max(Max, V);
    Sum += V;
}

}  // namespace

double TrDBGridSummaries::DoRound(double V)
{
    if (V == 0)
        return 0;
    int d = 0;
    while (d < 15 && std::fabs(V) < std::pow(10.0, 5 - d))
        ++d;
    const double f = std::pow(10.0, d);
    return std::nearbyint(V * f) / f;
}

void TrDBGridSummaries::Recalculate()
{
    FResults.clear();
    FCalculated = false;
    TDBGridColumns* cols = FGrid->Columns();
    std::vector<QHash<QString, std::pair<QString, int>>> lists(size_t(cols->Count()));
    for (int i = 0; i < cols->Count(); ++i) {
        TSummaryResults r;
        r.Field = cols->Items(i)->Field();
        FResults.push_back(r);
    }
    if (FGrid->OnRecalculateSummaryResult) {
        for (TSummaryResults& r : FResults)
            FGrid->OnRecalculateSummaryResult(FGrid, r.Field, r);
        FCalculated = true;
        return;
    }
    if (!FGrid->IsActive())
        return;
    FGrid->ScanAllRecords(2, 0, true, false, [&](TDataSet*, int) {
        const bool sel = FGrid->RowIsMultiselected(true, 0);
        for (size_t i = 0; i < FResults.size(); ++i) {
            TSummaryResults& r = FResults[i];
            TField* f = r.Field;
            // A column without field skips only itself.
            if (!f)
                continue;
            if (f->IsNull()) {
                ++r.CountEmpty;
                if (sel)
                    ++r.SelCountEmpty;
                continue;
            }
            if (dynamic_cast<TNumericField*>(f) || IsDateTimeField(f)) {
                const double v = f->AsFloat();
                Accumulate(v, r.CountValues, r.Sum, r.Min, r.Max);
                if (sel)
                    Accumulate(v, r.SelCountValues, r.SelSum, r.SelMin, r.SelMax);
            } else if (dynamic_cast<TBooleanField*>(f) && f->AsBoolean()) {
                r.Sum += 1;
                if (sel)
                    r.SelSum += 1;
            }
            ++r.CountValues;
            if (sel)
                ++r.SelCountValues;
            if (CalculateDistinctValues) {
                const QString text = f->DisplayText();
                auto& entry = lists[i][text.toLower()];
                if (entry.second == 0)
                    entry.first = text;
                ++entry.second;
            }
        }
    });
    FCalculated = true;
    for (size_t i = 0; i < FResults.size(); ++i) {
        TSummaryResults& r = FResults[i];
        if (r.CountValues > 0)
            r.Avg = DoRound(r.Sum / r.CountValues);
        if (r.SelCountValues > 0)
            r.SelAvg = DoRound(r.SelSum / r.SelCountValues);
        r.DistinctValueCount = int(lists[i].size());
        std::vector<TDistinctValues> all;
        all.reserve(size_t(lists[i].size()));
        for (auto e = lists[i].cbegin(); e != lists[i].cend(); ++e)
            all.push_back({e->first, e->second});
        // Only the 25 most frequent are kept: sort just those.
        const size_t keep = std::min<size_t>(25, all.size());
        std::partial_sort(all.begin(), all.begin() + qsizetype(keep), all.end(), [](const TDistinctValues& A, const TDistinctValues& B) {
            if (A.Count != B.Count)
                return A.Count > B.Count;
            return A.Value.compare(B.Value, Qt::CaseInsensitive) < 0;
        });
        all.resize(keep);
        r.DistinctValues = std::move(all);
    }
    FGrid->Invalidate();
}

TSummaryResults TrDBGridSummaries::GetSummaryResults(TField* F, bool DoRecalculate)
{
    if (DoRecalculate)
        Recalculate();
    for (const TSummaryResults& r : FResults)
        if (r.Field == F)
            return r;
    return TSummaryResults();
}

QString TrDBGridSummaries::ReplaceSummaryTags(QString& S, TField* F, const TSummaryResults& R, bool ForFooter) const
{
    enum Kind { kInt, kSum, kValue };
    const int recNo = FGrid->IsActive() && FGrid->DataSet() ? FGrid->DataSet()->RecNo() : 0;
    const struct { const char* Tag; double Value; Kind K; } tags[] = {
        {"RECNO", double(recNo), kInt},
        {"SUM", R.Sum, kSum},
        {"MIN", R.Min, kValue},
        {"MAX", R.Max, kValue},
        {"AVG", R.Avg, kValue},
        {"COUNTVAL", double(R.CountValues), kInt},
        {"COUNTNULL", double(R.CountEmpty), kInt},
        {"COUNTALL", double(R.CountValues + R.CountEmpty), kInt},
        {"SELSUM", R.SelSum, kSum},
        {"SELMIN", R.SelMin, kValue},
        {"SELMAX", R.SelMax, kValue},
        {"SELAVG", R.SelAvg, kValue},
        {"SELCOUNTVAL", double(R.SelCountValues), kInt},
        {"SELCOUNTNULL", double(R.SelCountEmpty), kInt},
        {"SELCOUNTALL", double(R.SelCountValues + R.SelCountEmpty), kInt},
        {"DISTINCTVALUES", double(R.DistinctValueCount), kInt},
    };
    QString result;
    TField* rf = R.Field;
    for (const auto& t : tags) {
        const QString tag = QLatin1Char('%') + QLatin1String(t.Tag);
        if (!S.contains(tag, Qt::CaseInsensitive))
            continue;
        QString text;
        if (t.K == kInt) {
            text = QString::number(qint64(std::nearbyint(t.Value)));
        } else if (dynamic_cast<TNumericField*>(rf)) {
            // Without a display format the general format (15 significant digits).
            text = rf->DisplayFormat().isEmpty() ? FloatToStr(t.Value) : FormatFloat(rf->DisplayFormat(), t.Value);
        } else if (dynamic_cast<TDateTimeField*>(rf) && t.K != kSum) {
            text = FormatDateTime(rf->DisplayFormat().isEmpty() ? QStringLiteral("c") : rf->DisplayFormat(), t.Value);
        } else if (dynamic_cast<TBooleanField*>(rf)) {
            text = t.K == kSum || t.Value == 0 ? QString::number(qint64(std::nearbyint(t.Value))) : FormatFloat(QStringLiteral("0.000"), t.Value);
        }
        if (FGrid->OnGetSummaryResult)
            FGrid->OnGetSummaryResult(FGrid, F, R, tag, ForFooter, text);
        S.replace(tag, text, Qt::CaseInsensitive);
        if (!result.isEmpty())
            result += QStringLiteral("; ");
        result += text;
    }
    return result;
}
