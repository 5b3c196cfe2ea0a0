#pragma once
// A button inside the data-aware edit, at its left or right end: a glyph
// from the edit's image list (its own images while hot, pushed or
// disabled) that clicks, opens the edit's text as a web, mail or file
// address, or drops a menu down. Invisible until asked for.

#include "platform/ui/Controls.h"

#include <functional>

class TCustomEdit;
class TCustomImageList;
class TPopupMenu;

enum TButtonPosition { bpLeft, bpRight };
enum TButtonClickAction { caClick, caHTTP, caMailTo, caFile };

class TrDBEditButton {
public:
    // The button's window inside the edit.
    class TGlyph : public TCustomControl {
    public:
        enum TButtonState { bsNormal, bsHot, bsPushed };
        TGlyph(TComponent* AOwner, TrDBEditButton* AButton);
        TButtonState State() const { return FState; }
        // The image painted for the present state (-1: none).
        int CurrentImageIndex() const;
        void Click() override;
        void MouseEnter() override;
        void MouseLeave() override;
        void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
        void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
        // Over the glyph the edit's own menu, or none.
        void DoContextPopup(TPoint MousePos, bool& Handled) override;

    protected:
        void Paint() override;
        void VisibleChanged() override;

    private:
        void SetState(TButtonState S);
        TrDBEditButton* FButton;
        TButtonState FState = bsNormal;
    };

    TrDBEditButton(TCustomEdit* EditControl, TButtonPosition APosition);
    ~TrDBEditButton();
    TrDBEditButton(const TrDBEditButton&) = delete;
    TrDBEditButton& operator=(const TrDBEditButton&) = delete;
    TGlyph* Glyph() const { return FGlyph; }
    TButtonPosition Position() const { return FPosition; }
    TButtonClickAction ButtonClickAction = caClick;
    TPopupMenu* DropDownMenu = nullptr;
    int ImageIndex = -1;
    int HotImageIndex = -1;
    int PressedImageIndex = -1;
    int DisabledImageIndex = -1;
    bool Visible() const;
    void SetVisible(bool V);
    bool Enabled() const;
    void SetEnabled(bool V);
    QString Hint() const;
    void SetHint(const QString& V);
    // The glyph's OnClick, run with the edit as Sender for caClick.
    TNotifyEvent OnClick;
    // The glyph's action: run for caClick when no OnClick is set.
    TBasicAction* Action() const { return FGlyph->Action(); }
    void SetAction(TBasicAction* Value) { FGlyph->SetAction(Value); }
    // Shown or hidden: the edit gives the text its room again.
    std::function<void()> OnVisibleChange;
    // The edit's image list (set by the edit).
    TCustomImageList* Images = nullptr;
    // Places the glyph at its end of the edit, as large as an image.
    void UpdateBounds();
    // Copies the settings of another button.
    void Assign(const TrDBEditButton& Source);

private:
    friend class TGlyph;
    void DoClick();
    TCustomEdit* FEditControl;
    TGlyph* FGlyph;
    TButtonPosition FPosition;
};
