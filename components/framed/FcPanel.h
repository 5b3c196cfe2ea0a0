#pragma once
// The container every framed container rests on: its own outer and inner
// frame on chosen sides with a band of BorderColor between them, a solid or
// gradient fill, a dot or line grid, a caption placed both ways, children
// disabled and re-enabled as a block, and a shared frame controller.

#include "components/framed/FcCommon.h"
#include "components/framed/FcFrameController.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/ExtCtrls.h"

#include <memory>
#include <vector>

class TFcPanelDockManager;

enum TFcGridStyle { gsDots, gsDottedLines, gsSolidLines };

class TFcCustomPanel : public TCustomPanel, public IFcCustomFramingNotification, public TDialogKeyTarget {
public:
    explicit TFcCustomPanel(TComponent* AOwner);
    ~TFcCustomPanel() override;

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical Value);
    TFrameStyleEx BorderInner() const { return FBorderInner; }
    virtual void SetBorderInner(TFrameStyleEx Value);
    TFrameStyleEx BorderOuter() const { return FBorderOuter; }
    virtual void SetBorderOuter(TFrameStyleEx Value);
    TSides BorderSides() const { return FBorderSides; }
    virtual void SetBorderSides(TSides Value);
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor Value);
    TColor BorderHighlight() const { return FBorderHighlight; }
    virtual void SetBorderHighlight(TColor Value);
    TColor BorderShadow() const { return FBorderShadow; }
    virtual void SetBorderShadow(TColor Value);
    TColor FlatColor() const { return FFlatColor; }
    virtual void SetFlatColor(TColor Value);
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int Value);
    bool PaintClientArea() const { return FPaintClientArea; }
    virtual void SetPaintClientArea(bool Value);
    TFcVisualStyle VisualStyle() const { return FVisualStyle; }
    virtual void SetVisualStyle(TFcVisualStyle Value);
    TFcGradientColorStyle GradientColorStyle() const { return FGradientColorStyle; }
    virtual void SetGradientColorStyle(TFcGradientColorStyle Value);
    TColor GradientColorStart() const { return FGradientColorStart; }
    virtual void SetGradientColorStart(TColor Value);
    TColor GradientColorStop() const { return FGradientColorStop; }
    virtual void SetGradientColorStop(TColor Value);
    TFcGradientDirection GradientDirection() const { return FGradientDirection; }
    virtual void SetGradientDirection(TFcGradientDirection Value);
    TColor GridColor() const { return FGridColor; }
    virtual void SetGridColor(TColor Value);
    TFcGridStyle GridStyle() const { return FGridStyle; }
    virtual void SetGridStyle(TFcGridStyle Value);
    int GridXSize() const { return FGridXSize; }
    virtual void SetGridXSize(int Value);
    int GridYSize() const { return FGridYSize; }
    virtual void SetGridYSize(int Value);
    void SetGridSize(int XSize, int YSize);
    bool ShowGrid() const { return FShowGrid; }
    virtual void SetShowGrid(bool Value);
    virtual void SetTransparent(bool Value);
    int TextMargin() const { return FTextMargin; }
    virtual void SetTextMargin(int Value);
    int TextMarginVertical() const { return FTextMarginVertical; }
    virtual void SetTextMarginVertical(int Value);
    bool WordWrap() const { return FWordWrap; }
    virtual void SetWordWrap(bool Value);
    bool ShowDockClientCaptions = true;
    bool DockSite() const { return FDockSite; }
    // A dock site with UseDockManager gets a dock manager with grabbers.
    void SetDockSite(bool Value);
    bool UseDockManager = true;
    TFcPanelDockManager* DockManager() const { return FDockManager.get(); }
    // The focus moved in the window: a dock site repaints its grabbers.
    void FocusChanged(TWinControl* NewFocus) override;
    bool FullRepaint = true;
    bool Locked = false;
    TFcFrameController* FrameController() const { return FFrameController; }
    virtual void SetFrameController(TFcFrameController* Value);
    TFcFrameControllerNotifications FrameControllerNotifications = fcnAll;
    TNotifyEvent OnPaint;
    TFcAboutInfo About;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    virtual TRect FixClientRect(TRect Rect, bool IncludeBorderWidth) const;
    virtual TRect GetControlRect() const { return Rect(0, 0, Width(), Height()); }
    virtual TPoint InvalidateMarginSize() const { return {1, 1}; }
    virtual void EnableChildControls(bool Enable);
    virtual void GetGradientColors(TColor& Start, TColor& Stop) const;
    virtual void GetGradientFrameColor(TColor& Color, int& Adjustment) const;
    void CustomFramingChanged() override;
    // Old form files: "UseGradients" True turns on the gradient look.
    void ReadLegacyUseGradients(bool Value);
    // "UseGradients"; "ThemeAware" and "FrameSides" are read and ignored.
    virtual bool ReadLegacyProperty(const QString& Name, const QString& Value);
    TColor PanelColor() const { return FPanelColor; }

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void AdjustClientRect(TRect& Rect) override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DrawCaption(TRect R);
    virtual void DrawGrid(const TRect& R);
    // Paints the frames, fill, grid and caption as a panel does.
    void PaintPanel();
    void Changed();
    void Rearranged();

    TAlignmentVertical FAlignmentVertical = avCenter;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsRaised;
    TSides FBorderSides = sdAllSides;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    bool FPaintClientArea = true;
    TColor FPanelColor = clBtnFace;
    TFcVisualStyle FVisualStyle = vsWinXP;
    TFcGradientColorStyle FGradientColorStyle = gcsSystem;
    TColor FGradientColorStart = clWhite;
    TColor FGradientColorStop = clBtnFace;
    TFcGradientDirection FGradientDirection = gdHorizontalEnd;
    TColor FGridColor = clBtnShadow;
    TFcGridStyle FGridStyle = gsDots;
    int FGridXSize = 8;
    int FGridYSize = 8;
    bool FShowGrid = false;
    int FTextMargin = 0;
    int FTextMarginVertical = 0;
    bool FWordWrap = true;
    // per child: enabled when the panel was disabled
    std::vector<std::pair<TControl*, bool>> FEnabledList;
    bool FDockSite = false;
    std::unique_ptr<TFcPanelDockManager> FDockManager;
    TFcFrameController* FFrameController = nullptr;
};

class TFcPanel : public TFcCustomPanel {
public:
    explicit TFcPanel(TComponent* AOwner) : TFcCustomPanel(AOwner) {}
};
