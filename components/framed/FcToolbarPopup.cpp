#include "components/framed/FcToolbarPopup.h"

#include "components/framed/FcFrames.h"
#include "components/framed/FcGrafx.h"
#include "components/framed/FcPopups.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ThemedElements.h"

// ---- TFcPopupToolButton --------------------------------------------------------------------

void TFcPopupToolButton::AssignFrom(TFcToolButton* S)
{
    FMappedButton = S;
    SetAlignment(S->Alignment());
    SetAllowAllUp(S->AllowAllUp());
    SetBiDiMode(S->BiDiMode());
    SetCaption(S->Caption());
    SetColor(S->Color());
    SetDisabledIndex(S->DisabledIndex());
    SetDownIndex(S->DownIndex());
    SetDropDownMenu(S->DropDownMenu());
    SetEnabled(S->Enabled());
    SetFlat(S->Flat());
    SetFont(*S->Font());
    SetGradientColorStyle(S->GradientColorStyle());
    SetGroupIndex(S->GroupIndex());
    SetDown(S->Down());
    SetHint(S->Hint());
    SetHotIndex(S->HotIndex());
    SetImageIndex(S->ImageIndex());
    SetImages(S->Images());
    SetDisabledImages(S->DisabledImages());
    SetLayout(S->Layout());
    SelectionColorStart = S->SelectionColorStart;
    SelectionColorStop = S->SelectionColorStop;
    SelectionFrameColor = S->SelectionFrameColor;
    SetShowCaption(S->ShowCaption());
    SetShowHint(S->ShowHint());
    SetToolStyle(S->ToolStyle());
    SetButtonTransparent(S->ButtonTransparent());
    SetUseToolbarButtonLayout(S->UseToolbarButtonLayout());
    SetUseToolbarButtonSize(S->UseToolbarButtonSize());
    SetUseToolbarShowCaption(S->UseToolbarShowCaption());
    SetUseToolbarVisualStyle(S->UseToolbarVisualStyle());
    SetVisible(S->Visible());
    SetVisualStyle(S->VisualStyle());
    Tag = S->Tag;
    SetBounds(Left(), Top(), S->Width(), S->Height());
    // last: setting a value above ends following the parent, as the source may still do
    SetParentBiDiMode(S->ParentBiDiMode());
    SetParentFont(S->ParentFont());
    SetParentShowHint(S->ParentShowHint());
}

void TFcPopupToolButton::Click()
{
    if (FToolbarPopupButton)
        FToolbarPopupButton->SetSelectedButton(FMappedButton);
    if (auto* bar = dynamic_cast<TFcToolbar*>(Parent()))
        bar->Click();
}

// ---- TFcToolbarPopupButton --------------------------------------------------------------------

TFcToolbarPopupButton::TFcToolbarPopupButton(TFcToolbar* AToolbar) : TCustomControl(AToolbar), FToolbar(AToolbar)
{
    SetBounds(0, 0, 14, 25);
}

void TFcToolbarPopupButton::SetFrameColor(TColor Value)
{
    if (FFrameColor != Value) {
        FFrameColor = Value;
        Invalidate();
    }
}

std::vector<TControl*> TFcToolbarPopupButton::HiddenControls() const
{
    std::vector<TControl*> hidden;
    TFcToolbarControlList* list = FToolbar->ToolbarControls();
    for (int i = 0; i < list->Count(); ++i) {
        TControl* c = list->Items(i).Control;
        if (!c || !c->Visible())
            continue;
        // a right-to-left bar runs its controls leftwards: they fall off its left edge
        const bool cutOff = FToolbar->UseRightToLeftAlignment() ? c->Left() < FToolbar->Margin()
                                                                 : c->Left() + c->Width() > FToolbar->Width() - FToolbar->Margin();
        if (cutOff)
            hidden.push_back(c);
    }
    return hidden;
}

void TFcToolbarPopupButton::Paint()
{
    DrawBackground(ClientRect(), FDown);
    if (!(FToolbar->VisualStyle() == vsWinXP && ThemeServicesEnabled()))
        DrawChevron(ClientRect());
}

void TFcToolbarPopupButton::DrawBackground(const TRect& R, bool Down)
{
    TCanvas* c = Canvas();
    if (FToolbar->VisualStyle() == vsWinXP && ThemeServicesEnabled()) {
        // the rebar's chevron element: the band, a pressed face while down, the chevron
        DrawThemedRebarBackground(c, R);
        if (Down)
            DrawThemedToolButton(c, R, tsPressed);
        DrawThemedChevron(R, Down, clBtnText);
        return;
    }
    const TRect in = DrawBox(c, R, FFrameColor);
    if (FToolbar->VisualStyle() == vsGradient) {
        TColor start, stop;
        FToolbar->GetGradientColors(start, stop);
        PaintGradient(c, in, FToolbar->GradientDirection(), Down ? stop : start, Down ? start : stop);
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Down ? DarkerColor(FToolbar->Color(), 20) : FToolbar->Color());
        c->FillRect(in);
    }
}

void TFcToolbarPopupButton::DrawChevron(const TRect& R)
{
    TCanvas* c = Canvas();
    if (ThemeServicesEnabled()) {
        // the colour of the style's drop-down arrow, unless it would vanish on the window colour
        TBitmap sample(17, 21);
        DrawThemedComboButton(sample.Canvas(), Rect(0, 0, 16, 20), tsNormal);
        TColor colour = sample.Pixel(8, 10);
        if (ColorsTooClose(colour, clWindow))
            colour = cl3DDkShadow;
        DrawThemedChevron(R, FDown, colour);
        return;
    }
    const int cx = R.Left + R.Width() / 2;
    const int ty = FDown ? R.Bottom - 3 : R.Bottom - 4;
    const TColor keep = c->Brush()->Color();
    auto row = [c](int x1, int x2, int y) { c->FillRect(Rect(x1, y, x2 + 1, y + 1)); };
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    row(cx - 3, cx + 3, ty - 5);
    row(cx - 3, cx + 3, ty - 3);
    row(cx - 2, cx + 2, ty - 2);
    row(cx - 1, cx + 1, ty - 1);
    row(cx, cx, ty);
    c->Brush()->SetColor(keep);
}

void TFcToolbarPopupButton::DrawThemedChevron(const TRect& R, bool Down, TColor Colour)
{
    TCanvas* c = Canvas();
    const int cx = R.Left + R.Width() / 2;
    const int ty = Down ? R.Bottom - 3 : R.Bottom - 4;
    const TColor keepBrush = c->Brush()->Color();
    const TPenStyle keepPen = c->Pen()->Style();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Colour);
    c->FillRect(Rect(cx - 3, ty - 6, cx + 4, ty - 5));
    c->Pen()->SetStyle(psClear);
    c->Polygon({{cx, ty}, {cx - 3, ty - 4}, {cx, ty - 4}, {cx, ty - 3}, {cx + 1, ty - 4}, {cx + 4, ty - 4}});
    c->Pen()->SetStyle(keepPen);
    c->Brush()->SetColor(keepBrush);
}

void TFcToolbarPopupButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FPressed = true;
    FDown = true;
    Repaint();
}

void TFcToolbarPopupButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FPressed)
        return;
    const bool inside = ClientRect().Contains(Point(X, Y));
    if (inside != FDown) {
        FDown = inside;
        Repaint();
    }
}

void TFcToolbarPopupButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FPressed = false;
    if (FDown) {
        FDown = false;
        DisplayButtons();
        Repaint();
    }
}

void TFcToolbarPopupButton::DisplayButtons()
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    // 1. a popup panel holding a small tool bar like the overflowing one
    auto panel = std::make_unique<TFcPopupPanel>(this);
    auto* bar = new TFcToolbar(panel.get());
    bar->SetBorderOuter(fsFlat);
    bar->SetBorderSides(sdAllSides);
    bar->SetAlign(alNone);
    bar->SetWidth(3 * FToolbar->ButtonWidth() + 8);
    bar->SetBackground(FToolbar->Background());
    bar->SetBiDiMode(FToolbar->BiDiMode());
    bar->SetShowHint(FToolbar->ShowHint());
    bar->SetButtonHeight(FToolbar->ButtonHeight());
    bar->SetButtonLayout(FToolbar->ButtonLayout());
    bar->SetButtonWidth(FToolbar->ButtonWidth());
    bar->SetGradientColorStart(FToolbar->GradientColorStart());
    bar->SetGradientColorStop(FToolbar->GradientColorStop());
    bar->SetGradientColorStyle(FToolbar->GradientColorStyle());
    bar->SetGradientDirection(FToolbar->GradientDirection());
    bar->SetImages(FToolbar->Images());
    bar->SetDisabledImages(FToolbar->DisabledImages());
    bar->SetRowHeight(FToolbar->RowHeight());
    bar->SetShowButtonCaptions(FToolbar->ShowButtonCaptions());
    bar->SetTextOptions(FToolbar->TextOptions());
    bar->SetVisualStyle(FToolbar->VisualStyle());
    bar->SetColor(FToolbar->VisualStyle() == vsGradient ? clWindow : FToolbar->Color());
    // 2. copies of the buttons cut off at the bar's end
    for (TControl* c : HiddenControls()) {
        auto* source = dynamic_cast<TFcToolButton*>(c);
        if (!source)
            continue;
        auto* copy = new TFcPopupToolButton(bar);
        copy->SetToolbarPopupButton(this);
        copy->AssignFrom(source);
        copy->OnClick = source->OnClick;
        copy->SetParent(bar);
        bar->ToolbarControls()->AddControl(copy);
    }
    // 3.
    panel->SetParent(form);
    panel->Font()->SetName(Font()->Name());
    panel->Font()->SetColor(Font()->Color());
    bar->SetParent(panel.get());
    bar->PositionControls();
    panel->SetBounds(0, 0, bar->Width() + 4, bar->Height() + 4);
    bar->SetBounds(2, 2, bar->Width(), bar->Height());
    TFcPopupPanel* host = panel.get();
    bar->OnClick = [host](TComponent* Sender) { host->Close(Sender); };
    FSelectedButton = nullptr;
    panel->Popup(this);
    panel.reset();
    if (FSelectedButton)
        FSelectedButton->Click();
}
