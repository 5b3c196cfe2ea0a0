#include "components/dbcontrols/TrDBEdit.h"

#include "platform/ui/EditAlignment.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

TrDBEdit::TrDBEdit(TComponent* AOwner)
    : TrDBFieldControl(AOwner), FLeftButton(std::make_unique<TrDBEditButton>(this, bpLeft)),
      FRightButton(std::make_unique<TrDBEditButton>(this, bpRight))
{
    for (TrDBEditButton* b : {FLeftButton.get(), FRightButton.get()})
        b->OnVisibleChange = [this] { UpdateEditMargins(); };
}

TrDBEdit::~TrDBEdit()
{
    if (FImages)
        FImages->UnRegisterChanges(this);
}

void TrDBEdit::SetImages(TCustomImageList* Value)
{
    if (FImages) {
        FImages->UnRegisterChanges(this);
        FImages->RemoveFreeNotification(this);
    }
    FImages = Value;
    if (Value) {
        Value->FreeNotification(this);
        // Another image size or new pictures: the buttons and the text's room again.
        Value->RegisterChanges(this, [this] {
            UpdateButtons();
            Invalidate();
        });
    }
    UpdateButtons();
}

void TrDBEdit::UpdateButtons()
{
    for (TrDBEditButton* b : {FLeftButton.get(), FRightButton.get()}) {
        b->Images = FImages;
        b->UpdateBounds();
    }
    UpdateEditMargins();
}

void TrDBEdit::UpdateEditMargins()
{
    const int w = FImages ? FImages->Width() + 2 : 0;
    SetEditMargins(this, FLeftButton->Visible() ? w : 0, FRightButton->Visible() ? w : 0);
}

void TrDBEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TrDBFieldControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FRightButton)
        FRightButton->UpdateBounds();
}

void TrDBEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TrDBFieldControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages) {
        FImages = nullptr;
        UpdateButtons();
    }
    for (TrDBEditButton* b : {FLeftButton.get(), FRightButton.get()})
        if (b && AComponent == b->DropDownMenu)
            b->DropDownMenu = nullptr;
}

void TrDBEdit::ApplyFieldAlignment(bool Typing)
{
    const TField* f = Field();
    TAlignment a = taLeftJustify;
    if (f && !Typing)
        a = f->Alignment() == TFieldAlignment::RightJustify ? taRightJustify
            : f->Alignment() == TFieldAlignment::Center     ? taCenter
                                                            : taLeftJustify;
    SetEditAlignment(this, a);
}

void TrDBEdit::DataChange()
{
    TrDBFieldControl::DataChange();
    ApplyFieldAlignment(Focused());
}

void TrDBEdit::DoEnter()
{
    TrDBFieldControl::DoEnter();
    ApplyFieldAlignment(true);
}

void TrDBEdit::DoExit()
{
    TrDBFieldControl::DoExit();
    ApplyFieldAlignment(Focused());
}

void TrDBEdit::MouseEnter()
{
    // The whole value as the hint when the edit cuts it off.
    ShowLongValueHint(this, Text(), ClientWidth() - 4, FAutoHint);
    TrDBFieldControl::MouseEnter();
}

void TrDBEdit::SetReadOnly(bool V)
{
    TDBEdit::SetReadOnly(V);
    UpdateState(nullptr);
}

QString TrDBEdit::ValidateEdit(const QString& Text) const
{
    const TField* f = Field();
    if (dynamic_cast<const TNumericField*>(f))
        return CleanNumericString(Text);
    if (dynamic_cast<const TDateTimeField*>(f))
        return CleanDateTimeString(Text);
    return CleanLastEOL(Text);
}

void TrDBEdit::UpdateData()
{
    const QString cleaned = ValidateEdit(Text());
    if (cleaned != Text()) {
        FShowing = true;
        SetText(cleaned);
        FShowing = false;
    }
    TDBEdit::UpdateData();
}
