#pragma once
// A row of tabs over one shared pane (no pages): the tab texts with an
// object each, the selected index, tabs on any side of the pane, hot
// tracking and owner drawing. A change by the user first asks CanChange
// (OnChanging may refuse) and then raises OnChange.

#include "platform/ui/Controls.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/TabRow.h"

#include <QStringList>
#include <vector>

class TCustomImageList;

class TCustomTabControl : public TCustomControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    const QStringList& Tabs() const { return FTabs; }
    void SetTabs(const QStringList& Value);
    int AddTab(const QString& Text, void* Object = nullptr);
    void DeleteTab(int Index);
    void SetTabText(int Index, const QString& Text);
    void* TabObject(int Index) const;
    int TabCount() const { return int(FTabs.size()); }
    int TabIndex() const { return FTabIndex; }
    // Selects a tab without asking or telling anyone (-1: none).
    void SetTabIndex(int Value);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    bool HotTrack = false;
    bool OwnerDraw = false;
    TCustomImageList* Images = nullptr;
    int TabHeight() const;
    // The row's depth: the tab height on top or at the bottom, the widest tab at the sides.
    int TabRowDepth() const;
    TRect TabRect(int Index) const;
    int IndexOfTabAt(int X, int Y) const;
    // The area of the pane beside the tab row.
    TRect DisplayRect() const;

    TNotifyEvent OnChange;
    std::function<void(TComponent* Sender, bool& AllowChange)> OnChanging;
    // Draws one tab in place of the control's own drawing.
    std::function<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)> OnDrawTab;

    // Asks OnChanging whether the selection may change.
    virtual bool CanChange();
    virtual void Change();

protected:
    void Paint() override;
    void AdjustClientRect(TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Left and Right choose the neighbouring tab, as a click on it would.
    void KeyDown(Word& Key, TShiftState Shift) override;
    // Draws one tab; the default is the light look's tab with its text.
    virtual void DrawTab(int TabIndex, const TRect& Rect, TOwnerDrawState State);
    QStringList FTabs;
    std::vector<void*> FObjects;
    int FTabIndex = -1;
    TTabPosition FTabPosition = tpTop;

private:
    int TabLength(int Index) const;
};

class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}
};
