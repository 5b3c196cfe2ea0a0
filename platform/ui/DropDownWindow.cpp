#include "platform/ui/DropDownWindow.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches the owning window for the drop-down it serves.
class TDropDownOwnerWatch : public QObject {
public:
    explicit TDropDownOwnerWatch(QWidget* Popup) : QObject(Popup), FPopup(Popup) {}
    ~TDropDownOwnerWatch() override
    {
        if (FOwner)
            FOwner->removeEventFilter(this);
    }
    void Watch(QWidget* Owner, std::function<void()> OnOwnerHidden)
    {
        if (FOwner != Owner) {
            if (FOwner)
                FOwner->removeEventFilter(this);
            FOwner = Owner;
            Owner->installEventFilter(this);
        }
        FOnOwnerHidden = std::move(OnOwnerHidden);
    }

protected:
    bool eventFilter(QObject*, QEvent* Event) override
    {
        const bool gone = Event->type() == QEvent::Hide || Event->type() == QEvent::Close;
        if (gone && FPopup && FPopup->isVisible() && FOnOwnerHidden) {
            const auto closeUp = FOnOwnerHidden;
            closeUp();
            if (FPopup && FPopup->isVisible())
                FPopup->hide();
        }
        return false;
    }

private:
    QPointer<QWidget> FPopup;
    QPointer<QWidget> FOwner;
    std::function<void()> FOnOwnerHidden;
};

}  // namespace

void OwnDropDown(QWidget* Popup, QWidget* Anchor, std::function<void()> OnOwnerHidden)
{
    QWidget* owner = Anchor->window();
    // The owner's window becomes the list's transient parent, not its Qt
    // parent: the modal dialog then counts the list as its own, while the
    // list stays owned (and freed) by the control that made it.
    if (owner != Popup) {
        Popup->setAttribute(Qt::WA_ShowWithoutActivating);
        Popup->winId();
        QWindow* list = Popup->windowHandle();
        QWindow* window = owner->windowHandle();
        if (list && window && list->transientParent() != window)
            list->setTransientParent(window);
    }
    TDropDownOwnerWatch* watch = nullptr;
    for (QObject* child : Popup->children())
        if ((watch = dynamic_cast<TDropDownOwnerWatch*>(child)))
            break;
    if (!watch)
        watch = new TDropDownOwnerWatch(Popup);
    watch->Watch(owner, std::move(OnOwnerHidden));
}
