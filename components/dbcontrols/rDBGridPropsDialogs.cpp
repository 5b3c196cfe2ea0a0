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

// The zoom bar's four glyphs, drawn here so the dialog needs no picture files:
// fit to the window, zoom in, zoom out, edit in a window of its own.
void DrawMagnifier(TCanvas* C, const char* Sign)
{
    C->Pen()->SetWidth(2);
    C->Brush()->SetStyle(bsClear);
    C->Ellipse(1, 1, 11, 11);
    C->MoveTo(10, 10);
    C->LineTo(14, 14);
    C->Pen()->SetWidth(1);
    if (!Sign)
        return;
    C->MoveTo(4, 6);
    C->LineTo(9, 6);
    if (Sign[0] == '+') {
        C->MoveTo(6, 3);
        C->LineTo(6, 8);
    }
}

void DrawZoomGlyph(TCanvas* C, int Index)
{
    C->Pen()->SetColor(TColor(0x404040));
    switch (Index) {
    case 0:  // a frame with the picture's corners pointing out
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(2, 2, 14, 14);
        C->Polyline({{4, 7}, {4, 4}, {7, 4}});
        C->Polyline({{9, 11}, {11, 11}, {11, 9}});
        break;
    case 1: DrawMagnifier(C, "+"); break;
    case 2: DrawMagnifier(C, "-"); break;
    default:  // a pencil
        C->Brush()->SetColor(TColor(0x00A0E0));
        C->Polygon({{3, 13}, {4, 9}, {11, 2}, {14, 5}, {7, 12}});
        break;
    }
}

TImageList* ZoomGlyphs(TComponent* Owner)
{
    auto* list = new TImageList(Owner);
    for (int i = 0; i < 4; ++i) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(clFuchsia);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        DrawZoomGlyph(b.Canvas(), i);
        list->AddMasked(&b, clFuchsia);
    }
    return list;
}

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
    img->BoundButtons()->SetImages(ZoomGlyphs(img));
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
