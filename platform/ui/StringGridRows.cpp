// TStringGrid::PermuteRows. The cells of one column lie next to each other
// in the cell map, in row order, so each column is walked once: every row
// gets an entry (empty texts read as missing ones), then the texts move
// between the entries. No entry is created or freed per cell moved.
#include "platform/ui/Grids.h"

namespace {

template <class Map, class Value>
void PermuteColumn(Map& M, int Col, const std::vector<int>& From, Value Empty)
{
    const int rows = int(From.size());
    std::vector<Value*> cells(static_cast<size_t>(rows), nullptr);
    auto it = M.lower_bound({Col, 0});
    for (int r = 0; r < rows; ++r) {
        if (it == M.end() || it->first != std::pair<int, int>(Col, r))
            it = M.emplace_hint(it, std::pair<int, int>(Col, r), Empty);
        cells[size_t(r)] = &it->second;
        ++it;
    }
    std::vector<Value> old(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r)
        old[size_t(r)] = std::move(*cells[size_t(r)]);
    for (int r = 0; r < rows; ++r)
        *cells[size_t(r)] = std::move(old[size_t(From[size_t(r)])]);
}

}  // namespace

void TStringGrid::PermuteRows(const std::vector<int>& From)
{
    if (int(From.size()) != RowCount())
        return;
    std::vector<bool> seen(From.size(), false);
    for (int f : From) {
        if (f < 0 || f >= RowCount() || seen[size_t(f)])
            return;  // not a rearrangement of the rows: nothing moves
        seen[size_t(f)] = true;
    }
    for (int c = 0; c < ColCount(); ++c) {
        PermuteColumn(FCells, c, From, QString());
        if (!FObjects.empty())
            PermuteColumn(FObjects, c, From, static_cast<void*>(nullptr));
    }
    Invalidate();
}
