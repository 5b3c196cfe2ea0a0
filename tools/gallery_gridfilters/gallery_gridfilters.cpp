// The grid's column filters as a user meets them: the filter bar with a text
// being typed and texts applied (one of them refused, in red), the funnel
// value list of a column opened under its title, the condition dialog of
// "Filter...", and the filter panel under the rows with the whole filter.
// Screenshots go into the folder given as the first argument (default
// "gallery_gridfilters"); run under Xvfb.

#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterCondForm.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

#include <QDir>

namespace {

std::unique_ptr<TClientDataSet> Runs()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("NRO"), ftInteger);
    d->AddField(QStringLiteral("NIMI"), ftWideString, 30);
    d->AddField(QStringLiteral("SEURA"), ftWideString, 20);
    d->AddField(QStringLiteral("AIKA"), ftInteger);
    d->AddField(QStringLiteral("PVM"), ftDate);
    d->CreateDataSet();
    const char* names[] = {"Virtanen Aino", "Korhonen Eero", "Mäkinen Liisa", "Nieminen Matti", "Hämäläinen Säde",
                           "Laine Juha",    "Heikkinen Olli", "Koskinen Anna"};
    const char* clubs[] = {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere"};
    for (int i = 0; i < 16; ++i)
        d->AppendRecord({i + 101, QString::fromUtf8(names[i % 8]), QString::fromUtf8(clubs[i % 3]), 1800 + i * 97,
                         QDate(2026, 12, 1 + i % 9)});
    d->First();
    return d;
}

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery_gridfilters");
    QDir().mkpath(out);
    TrDBAction* actions = nullptr;
    Application->CreateForm(actions);
    auto data = Runs();
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
    f->SetBounds(20, 20, 640, 380);
    actions->CreateToolBar(f);
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
    actions->SetActiveGrid(grid);
    shot("bar_empty", f);

    TrDBGridColumnFilters* store = TrDBGridColumnFilters::Of(grid);
    TrDBGridFilterBar* bar = TrDBGridFilterBar::Of(grid);
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("SEURA")), QStringLiteral("Espoo | Tampere"));
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("AIKA")), QStringLiteral(">2000"));
    bar->SetTextFilter(grid->Columns()->Items(1), QStringLiteral("Ko"), false);
    shot("bar_typing", f);
    bar->FilterComboUpdateTimer();
    bar->FilterComboHide(false, false);
    // A text that gives no condition turns red and changes nothing.
    store->ProcFilterBarFilter(data->FieldByName(QStringLiteral("NRO")), QStringLiteral("abc"));
    store->EditValues.SetValues(QStringLiteral("NRO"), QStringLiteral("abc"));
    grid->Invalidate();
    shot("bar_applied", f);

    // The funnel list of the club column, with the other filters in place.
    bar->IntShowFilterDlg(grid->DataToRawColumn(2));
    TrDBGridFilterForm* funnel = bar->FunnelForm();
    shot("funnel_list", funnel);
    funnel->Hide();

    TrDBGridFilterCondForm cond(f);
    cond.InitCond(grid, data->FieldByName(QStringLiteral("PVM")));
    cond.lbSignDate_nostore->SetItemIndex(3);
    cond.SetPeriod(fpQuarterNo, 4, QDate(2026, 12, 10));
    cond.RefAll();
    cond.Show();
    shot("condition_date", &cond);
    cond.InitCond(grid, data->FieldByName(QStringLiteral("AIKA")));
    cond.lbSignNum_nostore->SetItemIndex(6);
    cond.RefAll();
    shot("condition_number", &cond);
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
    shot("conditions_grid", f);
    TrDBGridCellParamsForm rulesDlg(f, grid);
    rulesDlg.Show();
    shot("conditions_dialog", &rulesDlg);
    rulesDlg.Hide();
    TrDBGridCellParamsValuesForm valueDlg(f);
    valueDlg.lCond->SetCaption(QStringLiteral("Entered condition: AIKA >"));
    valueDlg.cbField->SetItems({QStringLiteral("NRO"), QStringLiteral("AIKA")});
    valueDlg.SetValue(QStringLiteral("=AVG(AIKA)"));
    valueDlg.Show();
    shot("conditions_value", &valueDlg);
    return 0;
}
