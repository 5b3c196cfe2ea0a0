#pragma once
// The menu a right click on a column title opens: the column's title, then
// one line per entry of the grid's TitlePopupItems with the column's
// summaries filled in (sum, minimum, maximum, average, counts, distinct
// values as a submenu); a click copies the line's values. A right click on
// the top-left cell opens the grid's TitleExPopupMenu when one is set.

#include "components/grid/TrDBGridSummaries.h"
#include "platform/rtl/Component.h"
#include "platform/ui/Controls.h"

#include <memory>

class TrDBGrid;
class TPopupMenu;
class TMenuItem;
class TColumn;

class TrDBGridTitlePopup : public TComponent {
public:
    explicit TrDBGridTitlePopup(TrDBGrid* Grid);
    ~TrDBGridTitlePopup() override;
    // The grid's title popup, made on first use (named "TitlePopup").
    static TrDBGridTitlePopup* Of(TrDBGrid* Grid);

    TrDBGridSummaries* Summaries() { return FSummaries.get(); }
    TPopupMenu* Menu() const { return FTitlePopup; }

    // The grid's context-menu handling for a press at MousePos (client
    // coordinates); Handled when a title menu was shown.
    void ContextPopup(TPoint MousePos, bool& Handled);
    // Fills the menu for a column (what a right click on its title shows).
    void BuildTitlePopup(TColumn* Column);
    // Recomputes the summaries; the popup reuses them while ForPopup holds.
    void RecalculateSummaryResults(bool UseCalculatedSummaryForPopup);
    void TitlePopupClick(TMenuItem* Item);

private:
    TrDBGrid* FGrid;
    std::unique_ptr<TrDBGridSummaries> FSummaries;
    TPopupMenu* FTitlePopup;
    bool FUseCalculatedSummaryForPopup = false;
};
