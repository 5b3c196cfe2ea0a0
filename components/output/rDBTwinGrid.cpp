#include "components/output/rDBTwinGrid.h"

#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/output/GridSelection.h"
#include "platform/database/DataSource.h"
#include "platform/ui/DBGrids.h"

bool ResolveSourceDataSet(TSourceType Type, TComponent* Source, TDataSet*& Data)
{
    Data = nullptr;
    if (!Source)
        return false;
    if (Type == stDataset) {
        Data = dynamic_cast<TDataSet*>(Source);
        return Data != nullptr;
    }
    if (Type != stGrid && Type != stRecView)
        return true;
    TDataSource* src = nullptr;
    if (auto* g = dynamic_cast<TCustomDBGrid*>(Source); g && Type == stGrid)
        src = g->DataSource();
    if (auto* r = dynamic_cast<TrDBRecView*>(Source); r && Type == stRecView)
        src = r->GetDataSource();
    Data = src ? src->DataSet() : nullptr;
    return Data && Data->Active();
}

TCustomDBGrid* MakeTwinGrid(TComponent* Owner, TCustomDBGrid* Orig)
{
    TCustomDBGrid* twin = dynamic_cast<TrDBGrid*>(Orig) ? new TrDBGrid(Owner) : new TDBGrid(Owner);
    twin->SetName(QStringLiteral("gr"));
    twin->SetVisible(false);
    twin->SetParent(Orig->Parent());
    CopyToTwin(Orig, twin);
    return twin;
}

void CopyToTwin(TCustomDBGrid* Orig, TCustomDBGrid* Twin)
{
    if (!Orig || !Twin)
        return;
    AssignGridProps(Orig, Twin);
    auto* from = dynamic_cast<TrDBGrid*>(Orig);
    auto* to = dynamic_cast<TrDBGrid*>(Twin);
    if (from && to)
        to->Assign(*from);
    // The twin's own selection would be empty: it takes the caller's, so
    // "Selected rows only" works on the rows the user selected.
    TDataSet* data = Orig->DataSource() ? Orig->DataSource()->DataSet() : nullptr;
    if (SelectedRowCount(Orig) == 0 || !data || !data->Active())
        return;
    Twin->SetOptions(Twin->Options() | dgMultiSelect);
    Twin->SelectedRows()->Clear();
    ScanAllRecords(
        data,
        [&](TDataSet*, int, bool&) {
            if (IsCurrentRowSelected(Orig))
                Twin->SelectedRows()->SetCurrentRowSelected(true);
        },
        true, true, true);
}
