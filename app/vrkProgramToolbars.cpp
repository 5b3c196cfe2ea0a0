#include "app/vrkProgramToolbars.h"

#include "app/vrkOwnCaptionToolButton.h"

#include "components/framed/FcToolbar.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"

void TOwnCaptionToolButton::SetOwnCaption(const QString& Value)
{
    FOwnCaption = Value;
    SetCaption(Value);
}

void TOwnCaptionToolButton::ActionChange(TBasicAction* Sender, bool CheckDefaults)
{
    TFcToolButton::ActionChange(Sender, CheckDefaults);
    if (!FOwnCaption.isEmpty() && Caption() != FOwnCaption)
        SetCaption(FOwnCaption);
}

namespace progbars {

TFcToolbar* MakeToolbar(TComponent* Owner, TWinControl* Parent, const char* Name, TCustomImageList* Images, int RowHeight)
{
    auto* t = new TFcToolbar(Owner);
    t->SetName(QString::fromLatin1(Name));
    t->SetParent(Parent);
    t->SetAlign(alTop);
    t->SetVisualStyle(vsGradient);
    t->SetShowDivider(true);
    if (Images)
        t->SetImages(Images);
    t->SetShowButtonCaptions(true);
    t->SetButtonLayout(blGlyphTop);
    t->SetButtonWidth(60);
    t->SetButtonHeight(RowHeight);
    t->SetRowHeight(RowHeight);
    t->SetWrapControls(false);
    t->SetCaption(QString());
    return t;
}

void StyleButton(TFcToolButton* B, TAction* Action, int W, int H, int Glyph, int DisabledGlyph)
{
    B->SetUseToolbarButtonSize(false);
    B->SetUseToolbarVisualStyle(false);
    B->SetUseToolbarButtonLayout(false);
    B->SetUseToolbarShowCaption(false);
    B->SetLayout(blGlyphTop);
    B->SetShowCaption(true);
    B->SetFlat(false);
    B->SetVisualStyle(vsWinXP);
    B->SetGradientColorStyle(gcsSystem);
    B->SetParentFont(false);
    B->Font()->SetName(QStringLiteral("Segoe UI"));
    B->Font()->SetHeight(-16);
    // The glyph rides on the action, which the button follows.
    if (Glyph >= 0)
        Action->SetImageIndex(Glyph);
    B->SetAction(Action);
    B->SetDisabledIndex(DisabledGlyph);
    B->SetBounds(B->Left(), B->Top(), W, H);
}

TFcToolButton* MakeButton(TComponent* Owner, TWinControl* Parent, const char* Name, TAction* Action, int W, int H,
                          int Glyph, int DisabledGlyph)
{
    auto* b = new TFcToolButton(Owner);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Parent);
    StyleButton(b, Action, W, H, Glyph, DisabledGlyph);
    return b;
}

TOwnCaptionToolButton* MakeOwnCaptionButton(TComponent* Owner, TWinControl* Parent, const char* Name, TAction* Action,
                                            const QString& Caption, int W, int H, int Glyph, int DisabledGlyph)
{
    auto* b = new TOwnCaptionToolButton(Owner);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Parent);
    b->SetOwnCaption(Caption);
    StyleButton(b, Action, W, H, Glyph, DisabledGlyph);
    return b;
}

void InParentFont(TOwnCaptionToolButton* B)
{
    B->SetParentFont(true);
}

TFcSpacer* AddSpacer(TComponent* Owner, TFcToolbar* Bar, const char* Name, int W)
{
    auto* s = new TFcSpacer(Owner);
    s->SetName(QString::fromLatin1(Name));
    s->SetParent(Bar);
    s->SetWidth(W);
    return s;
}

TFcToolbar* MakeDialogToolbar(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T, int W, int ButtonH)
{
    TFcToolbar* t = MakeToolbar(Owner, Parent, Name, nullptr, ButtonH + 2);
    t->SetAlign(alNone);
    t->SetShowDivider(false);
    t->SetMargin(0);
    t->SetTopMargin(0);
    t->SetBounds(L, T, W, ButtonH + 2);
    return t;
}

TControl* AddDialogButton(TComponent* Owner, TFcToolbar* Bar, TAction* Action, int W, const QString& Caption,
                          const char* Name)
{
    const int h = Bar->RowHeight() - 2;
    TFcToolButton* b = Caption.isEmpty() ? MakeButton(Owner, Bar, Name, Action, W, h)
                                         : MakeOwnCaptionButton(Owner, Bar, Name, Action, Caption, W, h);
    // Among the dialog's edits and lists the main window's large captions
    // would stand out; the row reads as part of the dialog.
    b->SetParentFont(true);
    return b;
}

std::vector<TControl*> AddDialogButtons(TComponent* Owner, TFcToolbar* Bar, std::initializer_list<TDialogButton> Buttons)
{
    std::vector<TControl*> made;
    for (const TDialogButton& b : Buttons) {
        if (!made.empty())
            AddSpacer(Owner, Bar, "", 10);
        made.push_back(AddDialogButton(Owner, Bar, b.Action, b.Width, b.Caption, b.Name));
    }
    Bar->SetWidth(RowWidth(Bar));
    Bar->Realign();
    return made;
}

int RowWidth(TFcToolbar* Bar)
{
    int w = 2 * Bar->Margin();
    for (int i = 0; i < Bar->ControlCount(); ++i)
        if (Bar->Controls(i)->Visible())
            w += Bar->Controls(i)->Width();
    return w;
}

}  // namespace progbars
