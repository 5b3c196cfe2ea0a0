// The grid action module on two windows: the main results window (grid Tag
// 129: no editing, no close) with the action tool bar, and an editor window
// (Tag 0) with tool bar and edit bar while a record is being edited; rows
// coloured by cell conditions with a footer of column summaries, before and
// after a filter-bar text; the column filters as a user meets them (the
// filter bar being typed in, applied texts with a refused one in red, the
// funnel value list, the condition dialog, the filter panel) and the
// cell-condition dialogs.
// Screenshots go into the folder given as the first argument (default
// "gallery_gridactions"); run under Xvfb.

#include "components/base/rHTMLLabel.h"
#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterCondForm.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/TrDBGridSummaries.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/HintWindow.h"

#include <QDir>
#include <functional>

namespace {

std::unique_ptr<TClientDataSet> Runs(int Count)
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("NRO"), ftInteger);
    d->AddField(QStringLiteral("NIMI"), ftWideString, 30);
    d->AddField(QStringLiteral("SEURA"), ftWideString, 20);
    d->AddField(QStringLiteral("AIKA"), ftInteger);
    d->AddField(QStringLiteral("PVM"), ftDate);
    d->CreateDataSet();
    const char* names[] = {"Virtanen Aino", "Korhonen Eero", "Mäkinen Liisa", "Nieminen Matti",
                           "Hämäläinen Säde", "Laine Juha", "Heikkinen Olli", "Koskinen Anna"};
    const char* clubs[] = {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere"};
    for (int i = 0; i < Count; ++i)
        d->AppendRecord({i + 101, QString::fromUtf8(names[i % 8]), QString::fromUtf8(clubs[i % 3]), 1800 + i * 97,
                         QDate(2026, 12, 1 + i % 9)});
    d->First();
    return d;
}

using TShot = std::function<void(const char* Name, TControl* C)>;

// The filter bar, funnel list, condition dialog and filter panel on the
// results window, then cell conditions with their dialogs.
void FilterShots(TrDBAction* Actions, const TShot& Shot)
{
    auto data = Runs(16);
    TDataSource src;
    src.SetDataSet(data.get());
    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tulokset"));
    f->SetBounds(20, 20, 640, 380);
    Actions->CreateToolBar(f);
    auto* grid = new TrDBGrid(f);
    grid->SetParent(f);
    grid->SetAlign(alClient);
    TOptionsFilters& o = grid->OptionsEx2().Filters;
    o.TextBar = true;
    o.FunnelBtn = true;
    o.MultiFieldFilter = true;
    o.FilterPanel = true;
    o.SetFilterPanelButtonList(QStringLiteral("1, 2"));
    grid->SetDataSource(&src);
    grid->LayoutChanged();
    f->Show();
    Actions->SetActiveGrid(grid);
    Shot("bar_empty", f);

    TrDBGridColumnFilters* store = TrDBGridColumnFilters::Of(grid);
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(grid);
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("SEURA")), QStringLiteral("Espoo | Tampere"));
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("AIKA")), QStringLiteral(">2000"));
    bar->SetTextFilter(grid->Columns()->Items(1), QStringLiteral("Ko"), false);
    Shot("bar_typing", f);
    bar->FilterComboUpdateTimer();
    bar->FilterComboHide(false, false);
    // A text that gives no condition turns red and changes nothing.
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("NRO")), QStringLiteral("abc"));
    store->EditValues.SetValues(QStringLiteral("NRO"), QStringLiteral("abc"));
    grid->Invalidate();
    Shot("bar_applied", f);

    // The funnel list of the club column, with the other filters in place.
    bar->IntShowFilterDlg(grid->DataToRawColumn(2));
    TrDBGridFilterForm* funnel = bar->FunnelForm();
    Shot("funnel_list", funnel);
    funnel->Hide();

    TrDBGridFilterCondForm cond(f);
    cond.InitCond(grid, data->FieldByName(QStringLiteral("PVM")));
    cond.lbSignDate_nostore->SetItemIndex(3);
    cond.SetPeriod(fpQuarterNo, 4, QDate(2026, 12, 10));
    cond.RefAll();
    cond.Show();
    Shot("condition_date", &cond);
    cond.InitCond(grid, data->FieldByName(QStringLiteral("AIKA")));
    cond.lbSignNum_nostore->SetItemIndex(6);
    cond.RefAll();
    Shot("condition_number", &cond);
    cond.Hide();

    // Cell conditions: slow runs in yellow, OK Espoo in bold navy.
    bar->FilterComboHide(true, true);
    TCellParamsCondList& rules = TrDBGridCellConds::Of(grid)->List;
    TCellParamsCond* slow = rules.Add();
    slow->FieldName = QStringLiteral("AIKA");
    slow->CondOperator = cpoGreater;
    slow->Value = QStringLiteral("=AVG(AIKA)");
    slow->BkColor = 0x99FFFF;
    slow->WholeRow = true;
    TCellParamsCond* club = rules.Add();
    club->FieldName = QStringLiteral("SEURA");
    club->CondOperator = cpoStart;
    club->Value = QStringLiteral("OK");
    club->FontColor = clNavy;
    club->Bold = true;
    grid->OptionsEx2().CellCondition.Active = true;
    TrDBGridCellConds::Of(grid)->RefreshSummaries();
    grid->Invalidate();
    Shot("conditions_grid", f);
    TrDBGridCellParamsForm rulesDlg(f, grid);
    rulesDlg.Show();
    Shot("conditions_dialog", &rulesDlg);
    // Enlarged, the rule table takes the room and the row buttons follow the bottom.
    rulesDlg.SetClientWidth(960);
    rulesDlg.SetClientHeight(470);
    Shot("conditions_dialog_large", &rulesDlg);
    rulesDlg.Hide();
    TrDBGridCellParamsValuesForm valueDlg(f);
    valueDlg.lCond->SetCaption(QStringLiteral("Entered condition: AIKA >"));
    valueDlg.cbField->SetItems({QStringLiteral("NRO"), QStringLiteral("AIKA")});
    valueDlg.SetValue(QStringLiteral("=AVG(AIKA)"));
    valueDlg.Show();
    Shot("conditions_value", &valueDlg);
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_gridactions");
    QDir().mkpath(out);
    TrDBAction* actions = nullptr;
    Application->CreateForm(actions);
    auto data = Runs(6);
    TDataSource src;
    src.SetDataSet(data.get());

    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    };
    auto shot = [&](const char* Name, TControl* C) {
        settle();
        TBitmap b;
        C->PaintTo(&b);
        b.SaveToFile(out + QStringLiteral("/%1.png").arg(QLatin1String(Name)));
    };

    TForm* f = nullptr;
    Application->CreateForm(f);
    f->SetCaption(QStringLiteral("Tulokset"));
    f->SetBounds(20, 20, 620, 300);
    actions->CreateToolBar(f);
    auto* grid = new TrDBGrid(f);
    grid->SetParent(f);
    grid->SetAlign(alClient);
    grid->SetDataSource(&src);
    grid->Tag = 129;
    f->Show();
    actions->SetActiveGrid(grid);
    shot("results_toolbar", f);
    // Typing into the read-only results grid searches; the hint window shows beside the cell.
    grid->SetOptions(grid->Options() & ~dgEditing);
    grid->SetSelectedIndex(1);
    for (QChar k : QStringLiteral("Ko")) {
        QChar key = k;
        grid->KeyPress(key);
    }
    settle();
    {
        TBitmap b;
        f->PaintTo(&b);
        if (THintWindow* h = grid->OwnHintWindow(); h && h->Showing()) {
            TBitmap hb;
            h->PaintTo(&hb);
            const TPoint at = f->ScreenToClient(TPoint(h->Left(), h->Top()));
            b.Canvas()->Draw(at.X, at.Y, &hb);
        }
        b.SaveToFile(out + QStringLiteral("/results_search_hint.png"));
    }
    grid->StopSearching();

    TForm* e = nullptr;
    Application->CreateForm(e);
    e->SetCaption(QStringLiteral("Henkilöt"));
    e->SetBounds(60, 60, 700, 330);
    actions->CreateToolBar(e);
    actions->CreateEditBar(e);
    auto* egrid = new TrDBGrid(e);
    egrid->SetParent(e);
    egrid->SetAlign(alClient);
    egrid->SetDataSource(&src);
    e->Show();
    actions->SetActiveGrid(egrid);
    shot("editor_browsing", e);
    data->Edit();
    actions->RefreshAction();
    shot("editor_editing", e);
    data->Cancel();
    actions->RefreshAction();

    // Cell conditions: runs over 30 min in yellow, the fastest in green, bold
    // names of OK Espoo; the footer sums the times.
    TrDBGridSummaries sums(egrid);
    TCellParamsCondList conds;
    conds.LinkGrid(egrid);
    conds.Summaries = &sums;
    conds.Active = true;
    TCellParamsCond* slow = conds.Add();
    slow->FieldName = QStringLiteral("AIKA");
    slow->CondOperator = cpoGreater;
    slow->Value = QStringLiteral("2000");
    slow->BkColor = 0x99FFFF;
    slow->WholeRow = true;
    TCellParamsCond* best = conds.Add();
    best->FieldName = QStringLiteral("AIKA");
    best->Value = QStringLiteral("=MIN(AIKA)");
    best->BkColor = 0xB0F0B0;
    best->WholeRow = true;
    TCellParamsCond* club = conds.Add();
    club->FieldName = QStringLiteral("SEURA");
    club->CondOperator = cpoStart;
    club->Value = QStringLiteral("OK");
    club->Bold = true;
    club->FontColor = clNavy;
    egrid->OnGetCellParams = [&conds](TComponent*, TField* F, TFont* Font, TColor& Bk, bool, bool Highlight) {
        TDataImageDef img;
        conds.GetFieldCond(F, Font, Bk, img, Highlight, false);
    };
    auto footer = [&] {
        sums.Recalculate();
        // The footer fills its summary tags from the grid's own summaries.
        egrid->FooterRow()->FieldFooterDefs.Clear();
        egrid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("NIMI=%COUNTALL juoksijaa;R"));
        egrid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("AIKA=Σ %SUM;R"));
        egrid->FooterRow()->SetFooterVisible(true);
        egrid->RecalculateSummaryResults(true);
    };
    footer();
    shot("conditions_footer", e);
    TrDBGridColumnFilters::Of(egrid)->ProcFilterBarFilter(data->FieldByName(QStringLiteral("SEURA")), QStringLiteral("Espoo | Tampere"));
    footer();
    shot("conditions_filtered", e);
    FilterShots(actions, shot);
    return 0;
}
