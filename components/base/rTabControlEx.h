#pragma once
// The tab control and page control with tab drawing of their own: fonts and
// colours per state (normal, selected, hot), a coloured strip on the
// selected or hot tab, a close button per tab, a menu per tab, and a button
// and an HTML label at the right end of the tab row. The drawing lives in
// TTabPropsEx, shared by both controls through TTabHostEx.

#include "components/base/rButton.h"
#include "components/base/rHTMLLabel.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/TabControl.h"

#include <functional>
#include <memory>

class TPopupMenu;
class TCustomImageList;

using TTabGetPropsEvent = std::function<void(TComponent* Sender, int TabIndex, TFont* Font, TColor& BkColor, bool& CanClose)>;
using TTabCloseEvent = std::function<void(TComponent* Sender, int TabIndex, bool& CanClose)>;
using TTabGetPopupMenu = std::function<void(TComponent* Sender, int TabIndex, TPopupMenu*& PopupMenu)>;
using TTabDrawTabEvent = std::function<void(TComponent* Sender, int TabIndex, const TRect& PaneRect, const TRect& TabRect,
                                            TColor BkColor, bool Selected, bool Hot, bool CloseBtn)>;

// What the shared tab drawing needs of the control it draws.
class TTabHostEx {
public:
    virtual ~TTabHostEx() = default;
    virtual TCustomControl* HostControl() = 0;
    virtual TCanvas* HostCanvas() = 0;
    virtual int HostTabCount() const = 0;
    virtual TRect HostTabRect(int Index) const = 0;
    virtual QString HostTabText(int Index) const = 0;
    virtual int HostTabImageIndex(int Index) const = 0;
    virtual TCustomImageList* HostImages() const = 0;
    virtual int HostSelectedTab() const = 0;
    virtual TTabPosition HostTabPosition() const = 0;
    virtual bool HostHotTrack() const = 0;
    virtual bool HostOwnerDraw() const = 0;
    virtual bool HostHasDrawTabHandler() const = 0;
    virtual void HostDrawTabHandler(int Index, const TRect& Rect, bool Active) = 0;
    virtual int HostTabAt(int X, int Y) const = 0;
    // Closes the tab whose close button was clicked.
    virtual void HostCloseTab(int Index) = 0;
    virtual bool HostSetActiveTab(int Index) = 0;
};

class TTabPropsEx : public TComponent {
public:
    TTabPropsEx(TComponent* AOwner, TTabHostEx* Host);

    double ScaleRatio() const { return FScaleRatio; }
    int HotTabIndex() const { return FHotTabIndex; }
    int HotBtnIndex() const { return FHotBtnIndex; }
    bool DrawThemed() const { return FDrawThemed; }
    void SetDrawThemed(bool V) { Store(FDrawThemed, V); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool V) { Store(FWordWrap, V); }
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor V) { Store(FTabColor, V); }
    TColor SelectedTabColor() const { return FSelectedTabColor; }
    void SetSelectedTabColor(TColor V) { Store(FSelectedTabColor, V); }
    TColor HotTabColor() const { return FHotTabColor; }
    void SetHotTabColor(TColor V) { Store(FHotTabColor, V); }
    TColor SelectedBorderColor() const { return FSelectedBorderColor; }
    void SetSelectedBorderColor(TColor V) { Store(FSelectedBorderColor, V); }
    TColor HotBorderColor() const { return FHotBorderColor; }
    void SetHotBorderColor(TColor V) { Store(FHotBorderColor, V); }
    bool ShowCloseBtn() const { return FShowCloseBtn; }
    void SetShowCloseBtn(bool V) { Store(FShowCloseBtn, V); }
    int CloseBtnSize() const { return FCloseBtnSize; }
    void SetCloseBtnSize(int V) { Store(FCloseBtnSize, V); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool V);
    TFont* TabFont() { return &FTabFont; }
    TFont* SelectedTabFont() { return &FSelectedTabFont; }
    TFont* HotTabFont() { return &FHotTabFont; }
    TPicture* CloseBtn() { return &FCloseBtn; }
    TPicture* HotCloseBtn() { return &FHotCloseBtn; }

    TTabGetPropsEvent OnTabGetProps;
    TTabCloseEvent OnTabClose;
    TTabGetPopupMenu OnTabGetPopupMenu;
    TTabDrawTabEvent OnDrawTabBackground;
    TTabDrawTabEvent OnDrawTabContent;
    TTabDrawTabEvent OnDrawTabCloseBtn;
    TTabDrawTabEvent OnDrawTabFinalize;

    int S(int V) const;
    void UpdateScale(double Ratio, int M, int D);
    void ResetFont(const TFont& Font);
    void ResetHotState(bool Repaint);
    bool CheckRightBorder(int TabIndex, TRect& Rect, int Extra) const;
    bool CloseBtnShown(int TabIndex);
    TRect CloseBtnRect(int TabIndex) const;
    void DrawTabEx(int TabIndex, const TRect& Rect, TOwnerDrawState State);
    void CheckMouseMove(TShiftState Shift, int X, int Y);
    void CheckMouseClick(TMouseButton Button, TShiftState Shift, int X, int Y);

    virtual void DrawBkThemed(int TabIndex, const TRect& PaneRect, const TRect& TabRect, bool Selected, bool Hot);
    virtual void DrawBkStandard(int TabIndex, const TRect& PaneRect, const TRect& TabRect, TColor BkColor, bool Selected,
                                bool Hot);
    virtual void DrawTabContent(int TabIndex, const TRect& TabRect, bool Selected, bool Hot, bool CloseBtn);
    virtual void DrawCloseBtn(int TabIndex, const TRect& BtnRect, bool Hot);

private:
    template <class T>
    void Store(T& Field, T Value)
    {
        if (Field != Value) {
            Field = Value;
            FHost->HostControl()->Invalidate();
        }
    }
    void FontChanged();
    TTabHostEx* FHost;
    double FScaleRatio = 1.0;
    int FHotTabIndex = -1;
    int FHotBtnIndex = -1;
    bool FDrawThemed = true;
    bool FWordWrap = false;
    TColor FTabColor = clNone, FSelectedTabColor = clNone, FHotTabColor = clNone;
    bool FParentFont = true;
    TFont FTabFont, FSelectedTabFont, FHotTabFont;
    TColor FSelectedBorderColor = 0x0080FF, FHotBorderColor = 0x0080FF;
    bool FShowCloseBtn = false;
    int FCloseBtnSize = 16;
    TPicture FCloseBtn, FHotCloseBtn;
};

class TrTabControlEx : public TCustomTabControl, public TTabHostEx {
public:
    explicit TrTabControlEx(TComponent* AOwner);
    TTabPropsEx* TabPropsEx() const { return FTabPropsEx; }
    TrButton* TabRightButton() const { return FTabRightButton; }
    bool TabRightButtonVisible() const { return FTabRightButtonVisible; }
    void SetTabRightButtonVisible(bool V);
    TrHTMLLabel* TabRightLabel() const { return FTabRightLabel; }
    bool TabRightLabelVisible() const { return FTabRightLabelVisible; }
    void SetTabRightLabelVisible(bool V);
    double ScaleRatio() const { return FScaleRatio; }
    int UseScale(int Value) const;

    bool SetActiveTabEx(int Index);
    QString ActiveTabCaption() const;
    void* ActiveTabObject() const;
    void AddSpaceForCloseBtn(bool Center);
    void ReplaceAccelChar();

    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // ---- TTabHostEx ----
    TCustomControl* HostControl() override { return this; }
    TCanvas* HostCanvas() override { return Canvas(); }
    int HostTabCount() const override { return TabCount(); }
    TRect HostTabRect(int Index) const override { return TabRect(Index); }
    QString HostTabText(int Index) const override { return Tabs().value(Index); }
    int HostTabImageIndex(int Index) const override { return Index; }
    TCustomImageList* HostImages() const override { return Images; }
    int HostSelectedTab() const override { return TabIndex(); }
    TTabPosition HostTabPosition() const override { return TabPosition(); }
    bool HostHotTrack() const override { return HotTrack; }
    bool HostOwnerDraw() const override { return OwnerDraw; }
    bool HostHasDrawTabHandler() const override { return bool(OnDrawTab); }
    void HostDrawTabHandler(int Index, const TRect& Rect, bool Active) override;
    int HostTabAt(int X, int Y) const override { return IndexOfTabAt(X, Y); }
    void HostCloseTab(int Index) override;
    bool HostSetActiveTab(int Index) override { return SetActiveTabEx(Index); }

protected:
    void Loaded() override;
    void AdjustClientRect(TRect& Rect) override;
    void ChangeScale(int M, int D) override;
    void FontChanged() override;
    void DrawTab(int TabIndex, const TRect& Rect, TOwnerDrawState State) override;

private:
    TTabPropsEx* FTabPropsEx;
    TrButton* FTabRightButton;
    bool FTabRightButtonVisible = false;
    TrHTMLLabel* FTabRightLabel;
    bool FTabRightLabelVisible = false;
    double FScaleRatio = 1.0;
};

class TrPageControlEx : public TPageControl, public TTabHostEx {
public:
    explicit TrPageControlEx(TComponent* AOwner);
    TTabPropsEx* TabPropsEx() const { return FTabPropsEx; }
    TrButton* TabRightButton() const { return FTabRightButton; }
    bool TabRightButtonVisible() const { return FTabRightButtonVisible; }
    void SetTabRightButtonVisible(bool V);
    TrHTMLLabel* TabRightLabel() const { return FTabRightLabel; }
    bool TabRightLabelVisible() const { return FTabRightLabelVisible; }
    void SetTabRightLabelVisible(bool V);
    double ScaleRatio() const { return FScaleRatio; }
    int UseScale(int Value) const;
    bool HotTrack = false;
    bool OwnerDraw = false;

    bool SetActivePageEx(TTabSheet* Sheet);
    bool SetActiveTabEx(int Index);
    QString ActiveTabCaption() const;
    TTabSheet* ActiveTabObject() const { return ActivePage(); }
    void AddSpaceForCloseBtn(bool Center);
    int VisiblePageCount() const;

    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // ---- TTabHostEx ----
    TCustomControl* HostControl() override { return this; }
    TCanvas* HostCanvas() override { return Canvas(); }
    int HostTabCount() const override { return PageCount(); }
    TRect HostTabRect(int Index) const override { return TabRect(Index); }
    QString HostTabText(int Index) const override { return Pages(Index)->Caption(); }
    int HostTabImageIndex(int Index) const override { return Pages(Index)->ImageIndex; }
    TCustomImageList* HostImages() const override { return Images; }
    int HostSelectedTab() const override { return ActivePageIndex(); }
    TTabPosition HostTabPosition() const override { return TabPosition(); }
    bool HostHotTrack() const override { return HotTrack; }
    bool HostOwnerDraw() const override { return OwnerDraw; }
    bool HostHasDrawTabHandler() const override { return false; }
    void HostDrawTabHandler(int, const TRect&, bool) override {}
    int HostTabAt(int X, int Y) const override;
    void HostCloseTab(int Index) override;
    bool HostSetActiveTab(int Index) override { return SetActiveTabEx(Index); }

protected:
    void Loaded() override;
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void ChangeScale(int M, int D) override;
    void FontChanged() override;

private:
    TTabPropsEx* FTabPropsEx;
    TrButton* FTabRightButton;
    bool FTabRightButtonVisible = false;
    TrHTMLLabel* FTabRightLabel;
    bool FTabRightLabelVisible = false;
    double FScaleRatio = 1.0;
};
