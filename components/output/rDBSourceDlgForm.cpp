#include "components/output/rDBSourceDlgForm.h"

#include "components/dbcontrols/TrDBRecView.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFilterForm.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/TrDBGridsPropSave.h"
#include "components/output/rDBTwinGrid.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/PrintTexts.h"
#include "platform/ui/TreeViews.h"

TrDBSourceDlgForm::TrDBSourceDlgForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    rDlgPropSave->SetPropSaveFile(GetGlobal_PropSaveFile());
    rDlgPropSave->PropSaveEvents = pseFormShowHide;
    DBGridsPS = new TDBGridsPropSave(this);
    DBGridsPS->SetName(QStringLiteral("DBGridsPS"));
    DBGridsPS->SetPropSaveMain(rDlgPropSave);
    DBGridsPS->StoreColumnsProp = true;
    // Each grid of each window keeps its own column choice.
    DBGridsPS->OnGetKeyString = [this](TComponent* Comp, QString& Key) {
        TComponent* named = OrigGr ? static_cast<TComponent*>(OrigGr) : Comp;
        Key += QLatin1Char('.') + (named->Owner() ? named->Owner()->Name() : QString()) + QLatin1Char('.') + named->Name();
    };
}

void TrDBSourceDlgForm::StoreControls(std::initializer_list<const char*> Names)
{
    for (const char* n : Names)
        rDlgPropSave->StdCtrl()->Components.Add(QLatin1String(n));
}

void TrDBSourceDlgForm::SetSource(TSourceType AType, TComponent* ASource, TDataSet* AData)
{
    SourceType = AType;
    DataSet = AData;
    if (AType == stGrid) {
        OrigGr = dynamic_cast<TCustomDBGrid*>(ASource);
        DBGrid = MakeTwinGrid(this, OrigGr);
        DBGridsPS->Components.Add(QStringLiteral("gr"));
        DBGridsPS->Disable = ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields;
    } else if (AType == stRecView) {
        RecView = dynamic_cast<TrDBRecView*>(ASource);
    } else if (AType == stTreeView) {
        TreeView = dynamic_cast<TTreeView*>(ASource);
    } else if (AType == stStringGrid) {
        StringGrid = ASource;
    }
}

void TrDBSourceDlgForm::AssignGridProps()
{
    CopyToTwin(OrigGr, DBGrid);
}

void TrDBSourceDlgForm::RunFilterChoice()
{
    if (SourceType == stGrid) {
        // the twin shares the dataset: the caller's grid must show the new filter too
        if (FilterRec(DBGrid, false))
            if (auto* orig = dynamic_cast<TrDBGrid*>(OrigGr))
                TrDBGridColumnFilters::Of(orig)->RefreshFilteredFieldNames();
    } else if (SourceType == stDataset)
        FilterRec(DataSet, false);
}

void TrDBSourceDlgForm::RunColumnChoice()
{
    if (SourceType == stGrid)
        ChooseFields(DBGrid, 0);
    else if (SourceType == stDataset)
        ChooseFields(DataSet, 0);
}

TComponent* TrDBSourceDlgForm::RunSource() const
{
    switch (SourceType) {
    case stGrid: return DBGrid;
    case stDataset: return DataSet;
    case stRecView: return RecView;
    case stTreeView: return TreeView;
    case stStringGrid: return StringGrid;
    }
    return nullptr;
}

TTabSheet* TrDBSourceDlgForm::BuildBusyBar(int Y, TPageControl*& Pc, TLabel*& Info, TProgressBar*& Bar, TButton*& Abort)
{
    Pc = PutControl<TPageControl>(this, this, "pc", 8, Y, ClientWidth() - 16, 32);
    auto* buttons = new TTabSheet(this);
    buttons->SetPageControl(Pc);
    auto* busy = new TTabSheet(this);
    busy->SetPageControl(Pc);
    buttons->SetTabVisible(false);
    busy->SetTabVisible(false);
    Info = PutControl<TLabel>(busy, this, "lInfo", 4, 6, 180, 16, prntxt::CreatingReport);
    Bar = PutControl<TProgressBar>(busy, this, "PBar", 190, 4, ClientWidth() - 16 - 292, 20);
    Abort = PutControl<TButton>(busy, this, "btAbort", ClientWidth() - 16 - 96, 2, 88, 25, prntxt::Cancel);
    Pc->SetActivePageIndex(0);
    return buttons;
}
