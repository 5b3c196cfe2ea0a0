#include "platform/ui/DropDownWindow.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

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
    if (Popup->parentWidget() != owner) {
        // setParent drops the window flags unless they are given again
        Popup->setParent(owner, Popup->windowFlags() | Qt::ToolTip | Qt::FramelessWindowHint);
        Popup->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    auto* watch = Popup->findChild<TDropDownOwnerWatch*>(QString(), Qt::FindDirectChildrenOnly);
    if (!watch)
        watch = new TDropDownOwnerWatch(Popup);
    watch->Watch(owner, std::move(OnOwnerHidden));
}
