#pragma once
// TComponent: the ownership tree of windows, modules and their parts. An owner
// frees the components it owns (last created first) when it is freed itself.

#include <QString>
#include <vector>

class TComponent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const QString& Name() const { return FName; }
    void SetName(const QString& Value) { FName = Value; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(size_t(Index)); }
    TComponent* FindComponent(const QString& AName) const;
    int Tag = 0;

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    // Told when a component this one asked about (FreeNotification) is freed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    enum TOperation { opInsert, opRemove };

    // Component state flags: a window built in code is "loading" from its
    // creation until EndLoading, which then calls Loaded on everything it
    // owns (creation order) and on itself, as a window read from a layout.
    enum TComponentStateFlag : unsigned { csLoading = 1, csReading = 2, csDestroying = 8, csDesigning = 16 };
    unsigned ComponentState() const { return FComponentState | (FDestroying ? csDestroying : 0u); }
    bool Loading() const { return FComponentState & csLoading; }
    void BeginLoading();
    void EndLoading();

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Called once the component's properties are all set (after loading).
    virtual void Loaded();

private:
    TComponent* FOwner = nullptr;
    QString FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
    unsigned FComponentState = 0;
};
