#include "components/dbcontrols/rDBGridPropsDialogs.h"

#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/dbcontrols/TrDBImage.h"
#include "components/dbcontrols/TrPopupDataList.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridCellForms.h"
#include "components/grid/rDBGridPropsForm.h"

namespace {

// The picture dialog's picture: zoom buttons above it, scroll bars, the
// editor opened modally; what the dialog writes keeps the picture's own kind.
TrImageZoom* MakeGridPicture(TComponent* Owner)
{
    auto* img = new TrDBImage(Owner);
    img->SetScrollBar(true);
    img->ShowEditor = ieEditModal;
    img->SaveInJPG = false;
    img->SetShowConvertMenu(false);
    img->BoundButtons()->SetSize(22);
    img->BoundButtons()->SetShowGlyphs(true);
    img->BoundButtons()->SetCaptions(QStringLiteral("Fit;+;-;Edit"));
    img->BoundButtons()->SetPosition(bpTopRight);
    img->BoundButtons()->SetVisible(true);
    // The dialog's caption names the field already.
    img->DBEditLabel()->SetVisible(false);
    img->DBEditLabel()->StoreVisible();
    return img;
}

void BindGridPicture(TrImageZoom* Control, TDataSource* Source, const QString& FieldName)
{
    if (auto* img = dynamic_cast<TrDBImage*>(Control)) {
        img->SetDataSource(Source);
        img->SetDataField(FieldName);
    }
}

}  // namespace

void InstallDBGridPropsDialogs()
{
    TrDBGridPropsHooks& h = DBGridPropsHooks();
    h.ChooseFields = [](TrDBGrid* Grid) { ChooseFields(Grid, 0); };
    h.FieldsGroups = [](TrDBGrid* Grid) { SetFieldsGroup(Grid); };
    // The highlight rules are reached from the properties dialog as well.
    h.CellParams = [](TrDBGrid* Grid) { DBGridCellParams(Grid); };
    h.GetCellConditionActive = [](TrDBGrid* Grid) { return bool(Grid->OptionsEx2().CellCondition.Active); };
    h.SetCellConditionActive = [](TrDBGrid* Grid, bool Active) { Grid->OptionsEx2().CellCondition.Active = Active; };
    InstallGridDataList();
    GridPictureLayer().Make = MakeGridPicture;
    GridPictureLayer().Bind = BindGridPicture;
}
