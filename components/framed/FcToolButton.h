#pragma once
// The button of the framed tool bar: a windowless control with an image and
// an optional caption, usually bound to an action, that can stay down in a
// group and can carry a drop-down menu on the whole button or on a separate
// 14-pixel arrow part. It takes its size, layout, caption visibility and look
// from its tool bar unless told otherwise.

#include "components/framed/FcToolbar.h"
#include "platform/ui/DialogKeys.h"

#include <QElapsedTimer>

class TCustomAction;
class TPopupMenu;
class TCustomImageList;

enum TFcToolButtonState { tbsUp, tbsDisabled, tbsDown, tbsExclusive, tbsDropDown };
enum TFcToolStyle { tsButton, tsDropDown };

class TFcToolButton : public TGraphicControl, public IFcToolbarClient, public TDialogKeyTarget {
public:
    explicit TFcToolButton(TComponent* AOwner);
    ~TFcToolButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    virtual void SetAllowAllUp(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    virtual void SetDropDownMenu(TPopupMenu* Value);
    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int Value);
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    int DownIndex() const { return FDownIndex; }
    void SetDownIndex(int Value);
    int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int Value);
    int HotIndex() const { return FHotIndex; }
    void SetHotIndex(int Value);
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    virtual void SetDisabledImages(TCustomImageList* Value);
    TButtonLayout Layout() const { return FLayout; }
    virtual void SetLayout(TButtonLayout Value);
    bool ShowCaption() const { return FShowCaption; }
    virtual void SetShowCaption(bool Value);
    int Spacing() const { return FSpacing; }
    virtual void SetSpacing(int Value);
    TFcToolStyle ToolStyle() const { return FToolStyle; }
    virtual void SetToolStyle(TFcToolStyle Value);
    bool ButtonTransparent() const { return FButtonTransparent; }
    virtual void SetButtonTransparent(bool Value);
    TFcVisualStyle VisualStyle() const { return FVisualStyle; }
    virtual void SetVisualStyle(TFcVisualStyle Value);
    TFcGradientColorStyle GradientColorStyle() const { return FGradientColorStyle; }
    virtual void SetGradientColorStyle(TFcGradientColorStyle Value);
    TColor SelectionColorStart = clBtnFace;
    TColor SelectionColorStop = clBtnShadow;
    TColor SelectionFrameColor = cl3DDkShadow;
    bool UseToolbarButtonLayout() const { return FUseToolbarButtonLayout; }
    void SetUseToolbarButtonLayout(bool Value);
    bool UseToolbarButtonSize() const { return FUseToolbarButtonSize; }
    void SetUseToolbarButtonSize(bool Value);
    bool UseToolbarShowCaption() const { return FUseToolbarShowCaption; }
    void SetUseToolbarShowCaption(bool Value);
    bool UseToolbarVisualStyle() const { return FUseToolbarVisualStyle; }
    void SetUseToolbarVisualStyle(bool Value);
    TFcToolButtonState State() const { return FState; }
    TNotifyEvent OnDropDown;
    TFcAboutInfo About;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void Click() override;
    bool ClicksOnMouseUp() const override { return false; }
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    void ToolbarChanged(TFcToolbarNotification Notification) override;
    void PickupToolbarStyles();
    TCustomImageList* ImageList() const;
    TCustomImageList* DisabledImageList() const;
    TSize GetImageSize() const;
    void GetImageAndCaptionRects(TRect& ImageRect, TRect& CaptionRect);
    // Gives an action the button's caption, hint, states, click, Down (as Checked) and image.
    void AssignTo(TCustomAction* Dest) const;
    // "GradientColorStart", "GradientColorStop" and "FrameColor" (the selection
    // colours) and "UseGradients" (the gradient look) of older versions.
    bool ReadLegacyProperty(const QString& Name, const QString& Value);
    // A sibling with the same group index went down.
    void ButtonPressed(int GroupIndex, TFcToolButton* Sender);
    bool MouseOver() const { return FMouseOverButton; }
    void Loaded() override;
    // The caption's accelerator clicks the button, or drops its menu down.
    bool DialogChar(Word Key, TShiftState Shift) override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;
    void TextChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DrawBtnBorder(TRect& R);
    virtual void DrawImage(const TRect& ImageRect);
    virtual void DrawArrow();
    virtual void DrawCaption(const TRect& CaptionRect);
    virtual void DoDropDown();
    virtual void DropDown();
    bool Split() const;
    // Takes the arrow part of a drop-down button off R.
    void TakeArrowPart(TRect& R) const;
    void ImagesChanged();
    bool FaceShown() const;
    bool ShowsPressed() const;
    void GradientColors(TColor& Frame, TColor& Start, TColor& Stop) const;
    void UpdateExclusive();
    TFcToolbar* Toolbar() const;
    int GetMenuWidth() const;

    bool FAllowAllUp = false;
    bool FDown = false;
    bool FDragging = false;
    bool FFlat = true;
    int FGroupIndex = 0;
    int FImageIndex = -1, FDownIndex = -1, FDisabledIndex = -1, FHotIndex = -1;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TButtonLayout FLayout = blGlyphLeft;
    bool FMouseOverButton = false;
    TPopupMenu* FDropDownMenu = nullptr;
    qint64 FDropTime = 0;
    bool FTreatAsNormal = true;
    TFcToolStyle FToolStyle = tsButton;
    bool FShowCaption = false;
    int FSpacing = 4;
    bool FButtonTransparent = true;
    bool FInDoDropDown = false;
    TAlignment FAlignment = taCenter;
    TFcVisualStyle FVisualStyle = vsWinXP;
    TFcGradientColorStyle FGradientColorStyle = gcsSystem;
    bool FUseToolbarButtonLayout = true;
    bool FUseToolbarButtonSize = true;
    bool FUseToolbarShowCaption = true;
    bool FUseToolbarVisualStyle = true;
    TFcToolButtonState FState = tbsUp;
    bool FSizing = false;
};

// The tick the drop-down menu's reopen guard counts in (milliseconds since start).
qint64 FcTickCount();
