// The editor's drop-downs and button: which list opens and how it is drawn,
// the list's width (the widest item, room for colour squares) and place,
// the general events around it, and the ellipsis button's look.

#include "components/grid/rDBGridInplaceEditEx.h"

#include "components/base/rGlyphs.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/ui/Themes.h"

#include <algorithm>

namespace {

// Room a vertical scroll bar takes in a list.
constexpr int ScrollBarWidth = 16;

}  // namespace

TGridDataListLayer& GridDataListLayer()
{
    static TGridDataListLayer layer;
    return layer;
}

void TrDBGridInplaceEditEx::MakeDataList()
{
    // The base makes the platform's list when this leaves it missing.
    if (FDataList || !GridDataListLayer().Make)
        return;
    FDataList = GridDataListLayer().Make();
    FDataList->OnSelect = [this](TDBLookupListBase*) { CloseUp(true); };
}

bool TrDBGridInplaceEditEx::IsOwnerDrawnList(TField* F) const
{
    return F && !UseDataList() && (FGrid->IsColorEx(F) || FGrid->IsDrawDropDownEx(F));
}

void TrDBGridInplaceEditEx::DropDown()
{
    TField* f = FGrid->SelectedField();
    const bool wasVisible = ListVisible();
    FGrid->DoGeneralEventField(geDropDownShowing, f);
    if (!wasVisible) {
        TPopupPickList* l = PickListBox();
        if (IsOwnerDrawnList(f)) {
            l->OnDrawItem = [this](TWinControl* C, int I, const TRect& R, TOwnerDrawState S) { PickListDrawItem(C, I, R, S); };
            l->OnMeasureItem = [this](TWinControl* C, int I, int& H) { PickListMeasureItem(C, I, H); };
        } else {
            l->OnDrawItem = nullptr;
            l->OnMeasureItem = nullptr;
        }
        if (UseDataList() && DataList() && f && f->LookupDataSet)
            PrepareDataList(f);
    }
    TDBGridInplaceEdit::DropDown();
    if (!wasVisible && ListVisible())
        SetListWidth();
}

void TrDBGridInplaceEditEx::PrepareDataList(TField* F)
{
    // A lookup-filter column lists every record of its lookup dataset.
    if (FGrid->IsLookupFilterColumn(FGrid->ColumnAt(FGrid->Col())) && F->LookupDataSet->Filtered())
        F->LookupDataSet->SetFiltered(false);
    int h = FGrid->LookupListItemHeight;
    if (FGrid->OnGetLookupListItemHeight)
        FGrid->OnGetLookupListItemHeight(FGrid, DataList()->Canvas(), F->LookupKeyFields, F->LookupResultField, h);
    if (GridDataListLayer().Prepare) {
        TGridDataListSettings s;
        s.ItemHeight = h;
        s.IncreaseHeight = FGrid->LookupListItemIncreaseHeight;
        s.IncreaseWidth = FGrid->LookupListItemIncreaseWidth;
        s.ItemProps = FGrid->OnGetLookupListItemProps;
        s.Sender = this;
        GridDataListLayer().Prepare(DataList(), s);
    } else {
        DataList()->RowHeightFixed = h;
        DataList()->RowHeightIncrease = FGrid->LookupListItemIncreaseHeight;
    }
    // The list wears the editor's colour and text colour as the style paints list boxes.
    DataList()->SetColor(GetStyleBkColor_ListBox(Color()));
    DataList()->Font()->SetColor(GetStyleFontColor_ListBox(Font()->Color(), false));
}

int TrDBGridInplaceEditEx::WidestPickListItem()
{
    TCanvas* c = FGrid->Canvas();
    c->Font()->Assign(*Font());
    int w = 0;
    for (const QString& s : PickList)
        w = std::max(w, c->TextWidth(s));
    return w;
}

int TrDBGridInplaceEditEx::DataListWidth()
{
    if (GridDataListLayer().MaxItemWidth)
        return GridDataListLayer().MaxItemWidth(DataList());
    TCanvas* c = FGrid->Canvas();
    c->Font()->Assign(*Font());
    int w = 0;
    for (int i = 0; i < DataList()->RecordCount(); ++i)
        w = std::max(w, c->TextWidth(DataList()->RowText(i)));
    // The text margins of the row.
    return w + FGrid->LookupListItemIncreaseWidth + 8;
}

void TrDBGridInplaceEditEx::SetListWidth()
{
    TWinControl* list = ActiveList();
    if (!list || !ListVisible())
        return;
    int w = list->Width(), h = list->Height();
    bool changed = false;
    if (FGrid->OptionsEx2().Editors.AutoPickListWidth) {
        TField* f = FGrid->SelectedField();
        if (list != PickListBox()) {
            // A data list as wide as its widest row.
            if (const int need = DataListWidth(); need > w) {
                w = need;
                changed = true;
            }
        } else if (const int widest = WidestPickListItem(); f && FGrid->IsColorEx(f)) {
            // Room for the colour square before each name.
            w = std::max(w, widest + Height() + ScrollBarWidth + 12);
            changed = true;
        } else {
            if (widest + 8 > w)
                w = widest + 8;
            if (w != Width()) {
                w += 12;
                changed = true;
            }
        }
    }
    if (FGrid->OnPickListSetSize)
        FGrid->OnPickListSetSize(list, w, h, changed);
    if (changed)
        ShowPopup(list, w, h);
}

void TrDBGridInplaceEditEx::CloseUp(bool Accept)
{
    if (!ListVisible())
        return;
    const bool wasPickList = PickListActive();
    TDBGridInplaceEdit::CloseUp(Accept);
    TField* f = FGrid->SelectedField();
    if (Accept && wasPickList && f && FGrid->IsColorEx(f))
        CheckSelectUserDefinedColor(f);
    // The lookup-filter search filters the lookup dataset; closing the list ends that.
    if (f && f->LookupDataSet && FGrid->IsLookupFilterColumn(FGrid->ColumnAt(FGrid->Col())) && f->LookupDataSet->Filtered())
        f->LookupDataSet->SetFiltered(false);
    FGrid->DoGeneralEventField(geDropDownClosed, f);
}

void TrDBGridInplaceEditEx::PaintButton(TCanvas* ACanvas, const TRect& R, bool Pressed)
{
    if (EditStyle() != esEllipsis) {
        TDBGridInplaceEdit::PaintButton(ACanvas, R, Pressed);
        return;
    }
    // 1.
    TBitmap* glyph = rGlyphs.BmpFromIndex(TrGlyphsRec::EllipsisIndex(), FGrid->ScaleRatio(), FGrid->CustomGlyphs());
    int w = R.Width();
    bool framed = true;
    TRect b = R;
    // 2.
    if (FGrid->OnGetEllipsisButtonFormat) {
        FGrid->OnGetEllipsisButtonFormat(FGrid, FGrid->SelectedIndex(), FGrid->SelectedField(), w, glyph);
        framed = w > 0;
        if (w <= 0)
            w = glyph ? glyph->Width() + 4 : R.Width();
        b.Left = std::max(R.Left, R.Right - w);
    }
    // 3.
    if (!FGrid->OnGetEllipsisButtonFormat && !glyph) {
        TDBGridInplaceEdit::PaintButton(ACanvas, R, Pressed);
        return;
    }
    // The part of the button area left of a narrower button looks like the cell.
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color());
    ACanvas->FillRect(R);
    // 4.
    if (framed) {
        if (ThemeServicesEnabled()) {
            DrawThemedPushButton(ACanvas, b, Pressed ? tsPressed : tsNormal);
        } else {
            ACanvas->Brush()->SetColor(clBtnFace);
            ACanvas->FillRect(b);
            TRect e = b;
            DrawEdge(ACanvas, e, Pressed ? BDR_SUNKENOUTER : EDGE_RAISED, BF_RECT);
        }
    }
    // 5.
    const int shift = Pressed ? 1 : 0;
    if (glyph) {
        TBitmap g;
        g.Assign(glyph);
        g.SetTransparent(true);
        ACanvas->Draw((b.Left + b.Right - g.Width()) / 2 + shift, (b.Top + b.Bottom - g.Height()) / 2 + shift, &g);
        return;
    }
    const int d = std::max(1, w / 8);
    const int x = (b.Left + b.Right - d) / 2 + shift, y = (b.Top + b.Bottom - d) / 2 + shift;
    ACanvas->Brush()->SetColor(clBlack);
    for (int i = -1; i <= 1; ++i)
        ACanvas->FillRect(Rect(x + i * 2 * d, y, x + i * 2 * d + d, y + d));
}
