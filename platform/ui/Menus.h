#pragma once
// Menu items, main menus and popup menus. The Qt menus are built from the
// items each time a menu opens, so items may change freely in between.

#include "platform/ui/Controls.h"

#include <QPointer>
#include <vector>

class TBasicAction;
class TCustomImageList;
class TCustomForm;
class QMenu;
class QMenuBar;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& V) { FCaption = V; }
    QString Hint() const { return FHint; }
    void SetHint(const QString& V) { FHint = V; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut V) { FShortCut = V; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V) { FImageIndex = V; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool V) { FEnabled = V; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool V) { FVisible = V; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool V) { FChecked = V; }
    // The item a double click would choose: drawn bold.
    bool Default() const { return FDefault; }
    void SetDefault(bool V) { FDefault = V; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool V) { FAutoCheck = V; }
    bool RadioItem = false;
    int GroupIndex = 0;
    // Accelerators handled by the owner instead of "&" marks.
    bool AutoHotkeys = true;
    bool IsLine() const { return FCaption == QLatin1String("-"); }
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    void ActionChange(TBasicAction* Sender);

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(size_t(Index)); }
    TMenuItem* Parent() const { return FParentItem; }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    int MenuIndex() const { return FParentItem ? FParentItem->IndexOf(this) : -1; }
    TMenuItem* Find(const QString& ACaption) const;

    virtual void Click();
    TNotifyEvent OnClick;

    // Builds the Qt menu of this item's sub-items (platform layer only).
    void FillQMenu(QMenu* Menu);
    bool IsShortCut(TShortCut S);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    QString FCaption, FHint;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    bool FEnabled = true, FVisible = true, FChecked = false, FAutoCheck = false, FDefault = false;
    TBasicAction* FAction = nullptr;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParentItem = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images = nullptr;
    bool IsShortCut(TShortCut S) { return FItems->IsShortCut(S); }

protected:
    TMenuItem* FItems;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
    ~TMainMenu() override;
    // Shows the menu bar at the top of the window (rebuilt by Rebuild()).
    void AttachTo(TCustomForm* Form);
    void Rebuild();

private:
    // Guarded: the form's window may delete the bar first.
    QPointer<QMenuBar> FBar;
    TCustomForm* FForm = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
    // Opens at a screen point and returns when the menu closed.
    virtual void Popup(int X, int Y);
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* C) { FPopupComponent = C; }
    bool AutoPopup = true;
    TPopupAlignment Alignment = paLeft;
    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;
    // Test hook: instead of showing the menu, called with it (may Click an item).
    static std::function<void(TPopupMenu*)> PopupHook;

private:
    TComponent* FPopupComponent = nullptr;
};

// Makes an item with these values (nullptr owner: owned by nobody).
TMenuItem* NewItem(const QString& Caption, TShortCut ShortCut, bool Checked, bool Enabled, TNotifyEvent OnClick, int HelpContext, const QString& Name);
TMenuItem* NewLine();
