#pragma once
// Page controls with tab sheets, status bars, tool bars with tool buttons and
// progress bars, drawn with the element painter.

#include "platform/ui/Controls.h"
#include "platform/ui/TabRow.h"
#include "platform/ui/Themes.h"

#include <vector>

class TCustomImageList;
class TPopupMenu;
class TPageControl;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    int PageIndex() const;
    int ImageIndex = -1;

protected:
    void TextChanged() override;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(size_t(Index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Index);
    int TabHeight() const;
    // The row's depth: the tab height on top or at the bottom, the widest tab at the sides.
    int TabRowDepth() const;
    TRect TabRect(int Index) const;
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    TCustomImageList* Images = nullptr;
    TNotifyEvent OnChange;
    std::function<void(TComponent* Sender, bool& AllowChange)> OnChanging;

    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void PageChanged() { Realign(); Invalidate(); }

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabPosition FTabPosition = tpTop;

private:
    int TabLength(int Index) const;
};

enum TStatusPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
    QString Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelStyle Style = psText;
};

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    std::vector<TStatusPanel>& Panels() { return FPanels; }
    TStatusPanel* AddPanel(const QString& Text, int Width);
    void SetPanelText(int Index, const QString& Text);
    bool SimplePanel = false;
    QString SimpleText() const { return FSimpleText; }
    void SetSimpleText(const QString& V) { FSimpleText = V; Invalidate(); }
    bool SizeGrip = true;
    std::function<void(TStatusBar* Sender, TStatusPanel& Panel, const TRect& Rect)> OnDrawPanel;

protected:
    void Paint() override;
    std::vector<TStatusPanel> FPanels;
    QString FSimpleText;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle V);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V) { FImageIndex = V; Invalidate(); }
    bool Down() const { return FDown; }
    void SetDown(bool V) { FDown = V; Invalidate(); }
    TPopupMenu* DropdownMenu = nullptr;
    bool Grouped = false;
    void Click() override;
    void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
    void SetParent(TWinControl* AParent) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    TToolButtonStyle FStyle = tbsButton;
    int FImageIndex = -1;
    bool FDown = false, FHot = false, FPressed = false;
};

class TToolBar : public TCustomControl {
public:
    explicit TToolBar(TComponent* AOwner);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int V) { FButtonWidth = V; Realign(); }
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int V) { FButtonHeight = V; Realign(); }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool V) { FShowCaptions = V; Realign(); Invalidate(); }
    bool List = false;  // captions right of the images
    bool Flat = true;
    // Buttons that do not fit in the bar's width go on to the next row.
    bool Wrapable = false;
    // The bar takes the size of its visible buttons whenever they are laid out.
    void SetAutoSize(bool V) override;
    // The bar sizes itself to its buttons as it lays them out.
    bool CanAutoSize(int&, int&) override { return false; }
    TCustomImageList* Images = nullptr;
    TCustomImageList* DisabledImages = nullptr;
    TCustomImageList* HotImages = nullptr;
    int ButtonCount() const;
    TToolButton* Buttons(int Index) const;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    int FButtonWidth = 23, FButtonHeight = 22;
    bool FShowCaptions = false;
};

class TProgressBar : public TCustomControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min = 0;
    int Max() const { return FMax; }
    void SetMax(int V) { FMax = V; Invalidate(); }
    int Position() const { return FPosition; }
    void SetPosition(int V);
    int Step = 10;
    void StepIt() { SetPosition(FPosition + Step); }

protected:
    void Paint() override;
    int FMax = 100, FPosition = 0;
};
