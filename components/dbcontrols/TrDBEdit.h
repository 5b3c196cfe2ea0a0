#pragma once
// The library's data-aware edit: the platform's edit with a caption label,
// the read-only colour while its dataset is not being edited, cleaned
// numeric and date texts, the library's exit hook, optional buttons at
// either end and the whole value as hint when the edit cuts it off.

#include "components/dbcontrols/TrDBEditButton.h"
#include "components/dbcontrols/TrDBFieldControl.h"
#include "platform/ui/DBCtrls.h"

#include <memory>

class TrDBEdit : public TrDBFieldControl<TDBEdit> {
public:
    explicit TrDBEdit(TComponent* AOwner);
    ~TrDBEdit() override;
    void SetReadOnly(bool V);
    // The images of both buttons (not owned).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TrDBEditButton* LeftButton() const { return FLeftButton.get(); }
    TrDBEditButton* RightButton() const { return FRightButton.get(); }
    void SetLeftButton(const TrDBEditButton& Value) { FLeftButton->Assign(Value); }
    void SetRightButton(const TrDBEditButton& Value) { FRightButton->Assign(Value); }
    // The room the shown buttons take from the text at either end.
    void UpdateEditMargins();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void MouseEnter() override;
    // The edit's text as the field receives it (blanks out of numbers and
    // dates, trailing line ends off other texts).
    QString ValidateEdit(const QString& Text) const;

protected:
    void UpdateData() override;
    // Unfocused, the text stands as its field is aligned; while typing at the left.
    void DataChange() override;
    void DoEnter() override;
    void DoExit() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateButtons();
    void ApplyFieldAlignment(bool Typing);
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TrDBEditButton> FLeftButton, FRightButton;
    QString FAutoHint;
};
