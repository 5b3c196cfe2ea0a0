#pragma once
// The framed tool bar lays its controls out itself, in the order of its
// ToolbarControls list, in rows (or columns) of a fixed pitch, wrapping when
// a control does not fit or, without wrapping, showing an overflow button.
// It holds the button size, layout and caption settings its tool buttons
// take over, and saves and restores the order and visibility of its controls.

#include "components/framed/FcPanel.h"
#include "platform/ui/Buttons.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TCustomImageList;
class TFcRegIniFile;
class TFcToolbar;

enum TFcToolbarTextOptions { ttoNoTextLabels, ttoShowTextLabels, ttoSelectiveTextOnRight, ttoCustom };

// What the bar tells its children when the button settings change.
enum TFcToolbarNotification { tnShowCaptionsChanged = 2301, tnButtonLayoutChanged = 2302,
                              tnButtonSizeChanged = 2303, tnVisualStyleChanged = 2304 };
class IFcToolbarClient {
public:
    virtual ~IFcToolbarClient() = default;
    virtual void ToolbarChanged(TFcToolbarNotification Notification) = 0;
};

// The older tool-bar button the text options resize directly.
class IFcToolbarButtonSizing {
public:
    virtual ~IFcToolbarButtonSizing() = default;
    virtual void ApplyToolbarSize(int Width, int Height, bool ShowCaption, TButtonLayout Layout) = 0;
};

struct TFcToolbarControl {
    TControl* Control = nullptr;
    QString ControlName;
};

class TFcToolbarControlList {
public:
    explicit TFcToolbarControlList(TFcToolbar* AToolbar) : FToolbar(AToolbar) {}
    int Count() const { return int(FItems.size()); }
    const TFcToolbarControl& Items(int Index) const { return FItems.at(size_t(Index)); }
    int IndexOf(const TControl* Control) const;
    int IndexOfName(const QString& Name) const;
    int AddControl(TControl* Control);
    int AddControlName(const QString& Name);
    int RemoveControl(const TControl* Control);
    int RemoveControlName(const QString& Name);
    void Move(int From, int To);
    void Clear() { FItems.clear(); }
    QStringList Names() const;

private:
    TFcToolbar* FToolbar;
    std::vector<TFcToolbarControl> FItems;
};

class TFcSpacer : public TGraphicControl {
public:
    explicit TFcSpacer(TComponent* AOwner);
    bool Grooved() const { return FGrooved; }
    virtual void SetGrooved(bool Value);
    TOrientation Orientation() const { return FOrientation; }
    virtual void SetOrientation(TOrientation Value);

protected:
    void Paint() override;
    bool FGrooved = false;
    TOrientation FOrientation = orHorizontal;
};

class TFcToolButton;

// The button at the end of a bar that does not wrap; it pops up a small
// tool bar with copies of the buttons that did not fit.
class TFcToolbarPopupButton : public TCustomControl {
public:
    explicit TFcToolbarPopupButton(TFcToolbar* AToolbar);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    // The listed tool buttons that lie beyond the bar's right limit.
    std::vector<TControl*> HiddenControls() const;
    // Pops up the copies; after it closes the chosen button is clicked.
    void DisplayButtons();
    TFcToolButton* SelectedButton() const { return FSelectedButton; }
    void SetSelectedButton(TFcToolButton* Value) { FSelectedButton = Value; }
    bool ClicksOnMouseUp() const override { return false; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint() override;
    virtual void DrawBackground(const TRect& R, bool Down);
    virtual void DrawChevron(const TRect& R);
    // The chevron of the visual style: a bar over a filled arrow in Colour.
    void DrawThemedChevron(const TRect& R, bool Down, TColor Colour);
    TColor FFrameColor = clBtnShadow;
    TFcToolbar* FToolbar;
    TFcToolButton* FSelectedButton = nullptr;
    bool FPressed = false;
    bool FDown = false;
};

// The texts of the customize dialog; stored only once one was written.
class TFcCustomizeCaptions {
public:
    QString Caption(int Index) const;
    void SetCaption(int Index, const QString& Value);
    bool StoreCaptions() const { return FStoreCaptions; }

private:
    bool FStoreCaptions = false;
    QString FTexts[9] = {QStringLiteral("Customize Toolbar"), QStringLiteral("Uncheck to hide control"),
                         QStringLiteral("Close"), QStringLiteral("Move Up"), QStringLiteral("Move Down"),
                         QStringLiteral("Text Options"), QStringLiteral("No text labels"),
                         QStringLiteral("Show text labels"), QStringLiteral("Selective text on right")};
};

class TFcToolbar : public TFcCustomPanel {
public:
    explicit TFcToolbar(TComponent* AOwner);
    ~TFcToolbar() override;

    bool AutoResize() const { return FAutoResize; }
    virtual void SetAutoResize(bool Value);
    bool AutoStyle() const { return FAutoStyle; }
    void SetAutoStyle(bool Value) { FAutoStyle = Value; }
    TBitmap* Background() { return &FBackground; }
    virtual void SetBackground(const TBitmap* Value);
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    virtual void SetDisabledImages(TCustomImageList* Value);
    TOrientation Orientation() const { return FOrientation; }
    virtual void SetOrientation(TOrientation Value);
    int RowHeight() const { return FRowHeight; }
    virtual void SetRowHeight(int Value);
    bool ShowDivider() const { return FShowDivider; }
    virtual void SetShowDivider(bool Value);
    bool ShowButtonCaptions() const { return FShowButtonCaptions; }
    virtual void SetShowButtonCaptions(bool Value);
    TButtonLayout ButtonLayout() const { return FButtonLayout; }
    virtual void SetButtonLayout(TButtonLayout Value);
    int ButtonWidth() const { return FButtonWidth; }
    virtual void SetButtonWidth(int Value);
    int ButtonHeight() const { return FButtonHeight; }
    virtual void SetButtonHeight(int Value);
    TFcToolbarTextOptions TextOptions() const { return FTextOptions; }
    virtual void SetTextOptions(TFcToolbarTextOptions Value);
    bool WrapControls() const { return FWrapControls; }
    virtual void SetWrapControls(bool Value);
    int Margin() const { return FMargin; }
    virtual void SetMargin(int Value);
    int TopMargin() const { return FTopMargin; }
    virtual void SetTopMargin(int Value);
    TFcRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TFcRegIniFile* Value);
    bool ShowToolbarPopupButton() const { return FShowToolbarPopupButton; }
    void SetShowToolbarPopupButton(bool Value);
    TFcToolbarPopupButton* ToolbarPopupButton() const { return FToolbarPopupButton; }
    TFcToolbarControlList* ToolbarControls() { return &FToolbarControls; }
    TFcCustomizeCaptions* CustomizeCaptions() { return &FCustomizeCaptions; }
    void SetCustomizeCaptions(const TFcCustomizeCaptions& Value) { FCustomizeCaptions = Value; }
    // Opens the customize dialog modally.
    void Customize(bool ShowTextOptions);
    // The layout order by control names, as a window lists it.
    void SetToolbarControlNames(const QStringList& Names);
    TNotifyEvent OnVisibleChanged;

    void SetAlign(TAlign Value);
    virtual void AdjustStyle(TAlign Align);
    void SetBorderInner(TFrameStyleEx Value) override;
    void SetBorderOuter(TFrameStyleEx Value) override;
    void SetBorderSides(TSides Value) override;
    void SetVisualStyle(TFcVisualStyle Value) override;
    void SetGradientColorStyle(TFcGradientColorStyle Value) override;
    TPoint InvalidateMarginSize() const override;
    // The children's box, and as much room after the last control as before the first.
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    virtual int CalculateRowHeight(int Row) const { (void)Row; return FRowHeight; }
    virtual void PositionControls();
    virtual void UpdateButtonSize(int NewWidth, int NewHeight, bool ShowCaptions);
    void SaveLayout();
    void RestoreLayout();
    void Loaded() override;
    void SetParent(TWinControl* AParent) override;

protected:
    void Paint() override;
    void DrawCaption(TRect) override {}
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void ChangeScale(int M, int D) override;
    void VisibleChanged() override;
    void BiDiModeChanged() override;
    void ImagesChanged();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void PositionControl(int Index, int Row, int& Pos);
    virtual void CheckAutoResize(bool& Value);
    void NotifyChildren(TFcToolbarNotification Notification);
    void PlacePopupButton();
    void ButtonSettingChanged(TFcToolbarNotification Notification);

    bool FAutoResize = true;
    bool FAutoStyle = true;
    TBitmap FBackground;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TOrientation FOrientation = orHorizontal;
    int FRowHeight = 25;
    bool FShowDivider = true;
    bool FShowButtonCaptions = false;
    TButtonLayout FButtonLayout = blGlyphLeft;
    int FButtonWidth = 25;
    int FButtonHeight = 25;
    TFcToolbarTextOptions FTextOptions = ttoNoTextLabels;
    bool FUpdatingTextOptions = false;
    bool FWrapControls = true;
    TFcToolbarPopupButton* FToolbarPopupButton = nullptr;
    bool FShowToolbarPopupButton = false;
    TFcRegIniFile* FRegIniFile = nullptr;
    TFcToolbarControlList FToolbarControls;
    TFcCustomizeCaptions FCustomizeCaptions;
    QStringList FTempControlList;
    int FMargin = 4;
    int FTopMargin = 2;
    int FCalculatedRowHeight = 25;
    bool FPositioning = false;
};
