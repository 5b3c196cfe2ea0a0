#include "platform/ui/EditAlignment.h"

#include "platform/ui/StdCtrls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>

void SetEditAlignment(TCustomEdit* Edit, TAlignment Alignment)
{
    auto* e = static_cast<QLineEdit*>(Edit->Widget());
    if (!e)
        return;
    // left and right as seen on the screen, whatever the text's own direction
    const Qt::Alignment h = Alignment == taRightJustify ? Qt::AlignRight : Alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    e->setAlignment(h | Qt::AlignVCenter | Qt::AlignAbsolute);
}

void SetEditRightMargin(TCustomEdit* Edit, int Pixels)
{
    if (auto* e = static_cast<QLineEdit*>(Edit->Widget()))
        e->setTextMargins(0, 0, Pixels, 0);
}

void SetEditMargins(TCustomEdit* Edit, int Left, int Right)
{
    if (auto* e = static_cast<QLineEdit*>(Edit->Widget())) {
        e->setTextMargins(Left, 0, Right, 0);
        e->update();
    }
}

namespace {

// Paints the owner's frame after the edit painted itself.
class TEditFrameFilter : public QObject {
public:
    explicit TEditFrameFilter(std::function<void(TCanvas*)> Painter) : FPainter(std::move(Painter)) {}
    std::function<void(TCanvas*)> FPainter;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() != QEvent::Paint)
            return false;
        auto* w = static_cast<QWidget*>(Watched);
        w->removeEventFilter(this);
        QCoreApplication::sendEvent(w, Event);
        w->installEventFilter(this);
        QPainter p(w);
        TCanvas canvas;
        canvas.BeginPaint(&p, Rect(0, 0, w->width(), w->height()));
        FPainter(&canvas);
        canvas.EndPaint();
        return true;
    }
};

}  // namespace

void SetEditFramePainter(TCustomEdit* Edit, std::function<void(TCanvas*)> Painter)
{
    auto* e = static_cast<QLineEdit*>(Edit->Widget());
    if (!e)
        return;
    // found by name: the filter has no meta object of its own
    QObject* old = e->findChild<QObject*>(QStringLiteral("sorvexEditFrame"), Qt::FindDirectChildrenOnly);
    if (old) {
        e->removeEventFilter(old);
        delete old;
    }
    e->setFrame(!Painter);
    if (Painter) {
        auto* filter = new TEditFrameFilter(std::move(Painter));
        filter->setObjectName(QStringLiteral("sorvexEditFrame"));
        filter->setParent(e);
        e->installEventFilter(filter);
        e->setTextMargins(2, 0, e->textMargins().right(), 0);
    }
    e->update();
}
