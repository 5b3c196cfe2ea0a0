// The owner-drawn pick lists: colour cells draw each colour name with its
// square (the user-defined entry opens the colour dialog); the grid's
// FieldsDrawDropDown fields are drawn and measured by the window's events.

#include "components/grid/rDBGridInplaceEditEx.h"

#include "components/base/rpictool.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/Fields.h"
#include "platform/ui/CommonDialogs.h"

namespace {

// The colour list's entry for a colour of the user's own choosing.
constexpr int UserDefinedColorEntry = 20;

}  // namespace

void TrDBGridInplaceEditEx::PickListMeasureItem(TWinControl* Control, int Index, int& Height)
{
    TField* f = FGrid->SelectedField();
    if (f && FGrid->IsColorEx(f)) {
        auto* l = static_cast<TCustomListBox*>(Control);
        Height = l->Canvas()->TextHeight(QStringLiteral("Wg")) + 2;
    } else if (f && FGrid->IsDrawDropDownEx(f) && FGrid->OnPickListMeasureItem) {
        FGrid->OnPickListMeasureItem(Control, Index, Height);
    }
}

void TrDBGridInplaceEditEx::PickListDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)
{
    TField* fld = FGrid->SelectedField();
    if (fld && !FGrid->IsColorEx(fld)) {
        if (FGrid->IsDrawDropDownEx(fld) && FGrid->OnPickListDrawItem)
            FGrid->OnPickListDrawItem(Control, Index, Rect, State);
        return;
    }
    auto* l = static_cast<TCustomListBox*>(Control);
    TCanvas* c = l->Canvas();
    TField* f = FGrid->SelectedField();
    if (f)
        oldFieldColorString = f->AsString();
    const bool selected = State & odSelected;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : clWindow);
    c->FillRect(Rect);
    // The user-defined entry shows the field's own colour once it has one.
    TColor col = Index < ColorsDefCount ? GetColorValue(Index) : clNone;
    if (Index == UserDefinedColorEntry && f && f->AsString().startsWith(QLatin1Char('$')))
        col = StringToColor(f->AsString());
    const int h = Rect.Height();
    c->Brush()->SetColor(clBlack);
    c->FrameRect(::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Left + h - 1, Rect.Bottom - 1));
    if (col != clNone) {
        c->Brush()->SetColor(col);
        c->FillRect(::Rect(Rect.Left + 2, Rect.Top + 2, Rect.Left + h - 2, Rect.Bottom - 2));
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(selected ? clHighlightText : clWindowText);
    c->TextOut(Rect.Left + h + 2, Rect.Top + 1, PickList.value(Index));
    c->Brush()->SetStyle(bsSolid);
}

bool TrDBGridInplaceEditEx::CheckSelectUserDefinedColor(TField* Field)
{
    if (!Field || PickList.size() <= UserDefinedColorEntry || Field->AsString() != PickList.value(UserDefinedColorEntry))
        return false;
    TColorDialog dlg(this);
    dlg.FullOpen = true;
    const TColor old = StringToColor(oldFieldColorString);
    dlg.Color = old == clNone ? clBlack : old;
    if (dlg.Execute()) {
        Field->SetAsString(QStringLiteral("$%1").arg(uint(ColorToRGB(dlg.Color)), 8, 16, QLatin1Char('0')).toUpper());
        UpdateContents();
        return true;
    }
    Field->SetAsString(oldFieldColorString);
    UpdateContents();
    return false;
}
