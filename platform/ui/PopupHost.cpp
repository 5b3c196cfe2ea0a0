#include "platform/ui/PopupHost.h"

#include "platform/ui/Controls.h"

#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <map>

std::function<bool(TWinControl* Content)> PopupHostHook;

namespace {

struct TPopupRun {
    QEventLoop Loop;
    bool Accepted = false;
};

std::map<const TWinControl*, TPopupRun*>& Runs()
{
    static std::map<const TWinControl*, TPopupRun*> runs;
    return runs;
}

// Ends the loop when the popup hides, however that happens; Escape cancels.
class TPopupWatcher : public QObject {
public:
    explicit TPopupWatcher(TPopupRun* Run) : FRun(Run) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::Hide)
            FRun->Loop.quit();
        else if (Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape)
            static_cast<QWidget*>(Watched)->hide();
        return false;
    }

private:
    TPopupRun* FRun;
};

}  // namespace

bool RunPopup(TWinControl* Content, int X, int Y)
{
    if (PopupHostHook)
        return PopupHostHook(Content);
    QWidget* w = Content->Widget();
    if (!w || Runs().count(Content))
        return false;
    QPointer<QWidget> parent = w->parentWidget();
    const QPoint oldPos = w->pos();
    const bool wasVisible = w->isVisible();
    TPopupRun run;
    TPopupWatcher watcher(&run);
    Runs()[Content] = &run;
    w->setParent(nullptr, Qt::Popup | Qt::FramelessWindowHint);
    w->move(X, Y);
    w->installEventFilter(&watcher);
    w->show();
    run.Loop.exec();
    w->removeEventFilter(&watcher);
    Runs().erase(Content);
    w->hide();
    w->setParent(parent, Qt::Widget);
    w->move(oldPos);
    w->setVisible(wasVisible);
    return run.Accepted;
}

void ClosePopup(TWinControl* Content, bool Accepted)
{
    auto it = Runs().find(Content);
    if (it == Runs().end())
        return;
    it->second->Accepted = Accepted;
    Content->Widget()->hide();
}

bool PopupShowing(const TWinControl* Content)
{
    return Runs().count(Content) != 0;
}
