#pragma once
// Actions and action lists: one command (caption, hint, shortcut, image,
// enabled/visible/checked) shared by the buttons, tool buttons and menu items
// linked to it; the update pass recomputes their state.

#include "platform/ui/Controls.h"

#include <vector>

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;
    // Runs OnExecute; false when nothing handled it.
    virtual bool Execute();
    // Runs OnUpdate; false when nothing handled it.
    virtual bool Update();
    void RegisterClient(TComponent* Client);
    void UnregisterClient(TComponent* Client);
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    void Change();
    std::vector<TComponent*> FClients;
};

class TActionList;

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* AOwner);
    ~TCustomAction() override;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& V) { FCaption = V; Change(); }
    QString Hint() const { return FHint; }
    void SetHint(const QString& V) { FHint = V; Change(); }
    QString Category() const { return FCategory; }
    void SetCategory(const QString& V) { FCategory = V; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut V) { FShortCut = V; Change(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int V) { FImageIndex = V; Change(); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool V);
    bool Visible() const { return FVisible; }
    void SetVisible(bool V);
    bool Checked() const { return FChecked; }
    void SetChecked(bool V);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool V) { FAutoCheck = V; }
    int GroupIndex = 0;
    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* List);
    bool Execute() override;
    // The list's update handler first (it may recompute every action of the
    // list at once), else the action's own.
    bool Update() override;
    void SetActionListInternal(TActionList* List) { FActionList = List; }

private:
    QString FCaption, FHint, FCategory;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    bool FEnabled = true, FVisible = true, FChecked = false, FAutoCheck = false;
    TActionList* FActionList = nullptr;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

class TCustomImageList;

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner);
    ~TActionList() override;
    int ActionCount() const { return int(FActions.size()); }
    TCustomAction* Actions(int Index) const { return FActions.at(size_t(Index)); }
    void AddAction(TCustomAction* A);
    void RemoveAction(TCustomAction* A);
    // Executes the first enabled action with this shortcut.
    bool IsShortCut(TShortCut ShortCut);
    // The update pass: OnUpdate of the list, else each action's own.
    void UpdateActions();
    TCustomImageList* Images = nullptr;
    bool State = true;  // false suspends the list
    std::function<void(TBasicAction* Action, bool& Handled)> OnUpdate;
    std::function<void(TBasicAction* Action, bool& Handled)> OnExecute;

private:
    std::vector<TCustomAction*> FActions;
};
