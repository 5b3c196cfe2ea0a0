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

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    TComponent* FOwner = nullptr;
    QString FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FDestroying = false;
};
