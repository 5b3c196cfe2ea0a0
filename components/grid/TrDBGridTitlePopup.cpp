#include "components/grid/TrDBGridTitlePopup.h"

#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridFieldGroups.h"
#include "platform/database/Fields.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"

namespace {

const QString PopupName = QStringLiteral("TitlePopup");
const QString DistinctTag = QStringLiteral("%DISTINCTVALUES");

}  // namespace

TrDBGridTitlePopup::TrDBGridTitlePopup(TrDBGrid* Grid)
    : TComponent(Grid), FGrid(Grid), FSummaries(std::make_unique<TrDBGridSummaries>(Grid)), FTitlePopup(new TPopupMenu(this))
{
    SetName(PopupName);
}

TrDBGridTitlePopup::~TrDBGridTitlePopup() = default;

TrDBGridTitlePopup* TrDBGridTitlePopup::Of(TrDBGrid* Grid)
{
    if (!Grid)
        return nullptr;
    if (auto* p = dynamic_cast<TrDBGridTitlePopup*>(Grid->FindComponent(PopupName)))
        return p;
    return new TrDBGridTitlePopup(Grid);
}

void TrDBGridTitlePopup::RecalculateSummaryResults(bool UseCalculatedSummaryForPopup)
{
    FUseCalculatedSummaryForPopup = UseCalculatedSummaryForPopup;
    const TOptionsFixedCell& fc = FGrid->OptionsEx2().FixedCell;
    FSummaries->CalculateDistinctValues =
        fc.TitlePopupDistinctValues && FGrid->TitlePopupItems.Text().contains(DistinctTag, Qt::CaseInsensitive);
    FSummaries->Recalculate();
    FGrid->Invalidate();
}

void TrDBGridTitlePopup::BuildTitlePopup(TColumn* Column)
{
    TMenuItem* root = FTitlePopup->Items();
    while (root->Count() > 0)
        delete root->Items(root->Count() - 1);
    const TOptionsFixedCell& fc = FGrid->OptionsEx2().FixedCell;
    if (fc.TitlePopup)
        FGrid->SetDefaultTitlePopup();
    if (!Column || FGrid->TitlePopupItems.Count() == 0 || FGrid->TitlePopupItems.Text().trimmed().isEmpty())
        return;
    TSummaryResults r;
    if (fc.TitlePopup) {
        if (!FUseCalculatedSummaryForPopup)
            RecalculateSummaryResults(false);
        r = FSummaries->GetSummaryResults(Column->Field(), false);
    }
    auto add = [this](TMenuItem* Parent, const QString& Caption, const QString& Hint, int Tag) {
        auto* m = new TMenuItem(this);
        m->SetCaption(Caption);
        m->SetHint(Hint);
        m->Tag = Tag;
        m->OnClick = [this, m](TComponent*) { TitlePopupClick(m); };
        Parent->Add(m);
        return m;
    };
    add(root, Column->Title()->Caption() + QLatin1Char(':'), Column->FieldName(), 9);
    add(root, QStringLiteral("-"), QString(), 0);
    for (int i = 0; i < FGrid->TitlePopupItems.Count(); ++i) {
        QString line = FGrid->TitlePopupItems[i].trimmed();
        const bool dv = line.contains(DistinctTag, Qt::CaseInsensitive);
        if (dv && !fc.TitlePopupDistinctValues)
            continue;
        const QString values = FSummaries->ReplaceSummaryTags(line, Column->Field(), r, false);
        TMenuItem* m = add(root, line, values, dv ? 1 : 2);
        if (line == QLatin1String("-"))
            m->SetHint(QString());
        if (dv)
            for (const TDistinctValues& v : r.DistinctValues)
                add(m, QStringLiteral("%1 (%2)").arg(v.Value).arg(v.Count), v.Value, 2);
    }
}

void TrDBGridTitlePopup::TitlePopupClick(TMenuItem* Item)
{
    if (FGrid->OnTitlePopupItemClick)
        FGrid->OnTitlePopupItemClick(Item);
    else if (Item && Item->Tag > 1)
        Clipboard()->SetAsText(Item->Hint());
}

void TrDBGridTitlePopup::ContextPopup(TPoint MousePos, bool& Handled)
{
    QVariant param = QStringLiteral("%1;%2").arg(MousePos.X).arg(MousePos.Y);
    if (!FGrid->DoGeneralEventParam(geContextPopup, nullptr, param, nullptr, nullptr))
        return;
    const TGridCoord c = FGrid->MouseCoordEx(MousePos.X, MousePos.Y);
    if (c.Y != FGrid->TitleRow() || FGrid->TitleRow() < 0)
        return;
    const TPoint screen = FGrid->ClientToScreen(MousePos);
    // Every branch below owns the right click on the titles, also when it has
    // no menu to show: the grid's own popup menu is for the data. Only a
    // general event that vetoes leaves it to the grid.
    if (c.X == FGrid->FixCol() && c.X >= 0) {
        QVariant v;
        if (!FGrid->DoGeneralEventParam(geContextTitleExPopup, nullptr, v, FGrid->TitleExPopupMenu(), nullptr))
            return;
        if (FGrid->TitleExPopupMenu())
            FGrid->TitleExPopupMenu()->Popup(screen.X, screen.Y);
        Handled = true;
        return;
    }
    TColumn* column = FGrid->ColumnAt(c.X);
    if (!column)
        return;
    TGroupInfo info;
    if (FGrid->PointInGroupMergedCell(FGrid->CellRect(c.X, c.Y), MousePos, c.X, info)) {
        QVariant v;
        if (!FGrid->DoGeneralEventParam(geContextTitleMergedCellPopup, column, v, FGrid->TitleMergedCellPopupMenu(), column->Field()))
            return;
        if (FGrid->TitleMergedCellPopupMenu())
            FGrid->TitleMergedCellPopupMenu()->Popup(screen.X, screen.Y);
        Handled = true;
        return;
    }
    BuildTitlePopup(column);
    QVariant v;
    if (!FGrid->DoGeneralEventParam(geContextTitlePopup, column, v, FTitlePopup, column->Field()))
        return;
    if (FTitlePopup->Items()->Count() > 0)
        FTitlePopup->Popup(screen.X, screen.Y);
    Handled = true;
}

void TrDBGrid::DoContextPopup(TPoint MousePos, bool& Handled)
{
    TrDBGridTitlePopup::Of(this)->ContextPopup(MousePos, Handled);
    TDBGrid::DoContextPopup(MousePos, Handled);
}

// ---- the grid's summary operations ----------------------------------------------------

TrDBGridSummaries* TrDBGrid::SummaryStore()
{
    return TrDBGridTitlePopup::Of(this)->Summaries();
}

void TrDBGrid::RecalculateSummaryResults(bool UseCalculatedSummaryForPopup)
{
    TrDBGridTitlePopup::Of(this)->RecalculateSummaryResults(UseCalculatedSummaryForPopup);
}

TSummaryResults TrDBGrid::GetSummaryResults(TField* F, bool Recalculate)
{
    if (Recalculate)
        RecalculateSummaryResults(false);
    return SummaryStore()->GetSummaryResults(F, false);
}

TSummaryResults TrDBGrid::SummaryResults(TColumn* Column, bool Recalculate)
{
    return GetSummaryResults(Column ? Column->Field() : nullptr, Recalculate);
}

QString TrDBGrid::ReplaceSummaryTags(QString& S, TField* F, const TSummaryResults& R, bool ForFooter)
{
    return SummaryStore()->ReplaceSummaryTags(S, F, R, ForFooter);
}
