#include "components/dbcontrols/TrDBEditButton.h"

#include "components/base/rtool.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

// ---- the glyph ---------------------------------------------------------------------------------

TrDBEditButton::TGlyph::TGlyph(TComponent* AOwner, TrDBEditButton* AButton) : TCustomControl(AOwner), FButton(AButton)
{
    SetCursor(crArrow);
}

int TrDBEditButton::TGlyph::CurrentImageIndex() const
{
    int i = FButton->ImageIndex;
    if (!Enabled() && FButton->DisabledImageIndex != -1)
        i = FButton->DisabledImageIndex;
    else if (FState == bsHot && FButton->HotImageIndex != -1)
        i = FButton->HotImageIndex;
    else if (FState == bsPushed && FButton->PressedImageIndex != -1)
        i = FButton->PressedImageIndex;
    return i;
}

void TrDBEditButton::TGlyph::Paint()
{
    const int i = CurrentImageIndex();
    if (i < 0 || !Visible() || !FButton->Images)
        return;
    FButton->Images->Draw(Canvas(), 0, 0, i, true);
}

void TrDBEditButton::TGlyph::SetState(TButtonState S)
{
    if (FState == S)
        return;
    FState = S;
    Invalidate();
}

void TrDBEditButton::TGlyph::MouseEnter()
{
    TCustomControl::MouseEnter();
    SetState(bsHot);
}

void TrDBEditButton::TGlyph::MouseLeave()
{
    TCustomControl::MouseLeave();
    SetState(bsNormal);
}

void TrDBEditButton::TGlyph::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (!FButton->DropDownMenu) {
        SetState(bsPushed);
        return;
    }
    // The menu opens under the edit, at the glyph's left edge.
    const TPoint p = ClientToScreen(TPoint{0, FButton->FEditControl->Height() - Top()});
    FButton->DropDownMenu->Popup(p.X, p.Y);
}

void TrDBEditButton::TGlyph::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft)
        SetState(bsHot);
}

void TrDBEditButton::TGlyph::DoContextPopup(TPoint MousePos, bool& Handled)
{
    TCustomControl::DoContextPopup(MousePos, Handled);
    if (!FButton->FEditControl->PopupMenu())
        Handled = true;
}

void TrDBEditButton::TGlyph::Click()
{
    if (!FButton->DropDownMenu)
        FButton->DoClick();
}

void TrDBEditButton::TGlyph::VisibleChanged()
{
    TCustomControl::VisibleChanged();
    FButton->UpdateBounds();
    if (FButton->OnVisibleChange)
        FButton->OnVisibleChange();
}

// ---- the button --------------------------------------------------------------------------------

TrDBEditButton::TrDBEditButton(TCustomEdit* EditControl, TButtonPosition APosition)
    : FEditControl(EditControl), FGlyph(new TGlyph(EditControl, this)), FPosition(APosition)
{
    FGlyph->SetVisible(false);
    FGlyph->SetParent(EditControl);
}

TrDBEditButton::~TrDBEditButton() { delete FGlyph; }

bool TrDBEditButton::Visible() const { return FGlyph->Visible(); }
void TrDBEditButton::SetVisible(bool V) { FGlyph->SetVisible(V); }
bool TrDBEditButton::Enabled() const { return FGlyph->Enabled(); }
void TrDBEditButton::SetEnabled(bool V) { FGlyph->SetEnabled(V); }
QString TrDBEditButton::Hint() const { return FGlyph->Hint(); }
void TrDBEditButton::SetHint(const QString& V) { FGlyph->SetHint(V); }

void TrDBEditButton::UpdateBounds()
{
    if (!FGlyph)
        return;
    const int w = Images ? Images->Width() : 0, h = Images ? Images->Height() : 0;
    const bool themes = GetThemeEnabled();
    int left = 0;
    if (FPosition == bpLeft) {
        left = themes ? 0 : 1;
    } else {
        // The platform's edit always draws its border.
        left = FEditControl->Width() - w - 4 - (themes ? 0 : 1);
    }
    // Centred in the edit's height.
    const int top = Images ? std::max(0, (FEditControl->ClientHeight() - h) / 2) : (themes ? 0 : 1);
    FGlyph->SetBounds(left, top, w, h);
}

void TrDBEditButton::Assign(const TrDBEditButton& Source)
{
    ButtonClickAction = Source.ButtonClickAction;
    DropDownMenu = Source.DropDownMenu;
    ImageIndex = Source.ImageIndex;
    HotImageIndex = Source.HotImageIndex;
    PressedImageIndex = Source.PressedImageIndex;
    DisabledImageIndex = Source.DisabledImageIndex;
    OnClick = Source.OnClick;
    SetAction(Source.Action());
    SetHint(Source.Hint());
    SetEnabled(Source.Enabled());
    SetVisible(Source.Visible());
}

void TrDBEditButton::DoClick()
{
    const QString s = FEditControl->Text();
    switch (ButtonClickAction) {
    case caClick:
        if (OnClick)
            OnClick(FEditControl);
        else if (Action() && !(FGlyph->ComponentState() & TComponent::csDesigning))
            Action()->Execute();
        break;
    case caHTTP:
        if (!s.isEmpty())
            RunFileSimple(QStringLiteral("http://") + s);
        break;
    case caMailTo:
        if (!s.isEmpty())
            RunFileSimple(QStringLiteral("mailto:") + s);
        break;
    case caFile:
        if (!s.isEmpty())
            RunFileSimple(QStringLiteral("file:") + s);
        break;
    }
}
