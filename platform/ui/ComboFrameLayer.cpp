#include "platform/ui/ComboFrameLayer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace {

const QString LayerName = QStringLiteral("sorvexComboFrame");

class TComboFrameLayer : public QWidget {
public:
    TComboFrameLayer(QWidget* Parent, TComboLayerPainter Painter) : QWidget(Parent), FPainter(std::move(Painter))
    {
        setObjectName(LayerName);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        Parent->installEventFilter(this);
    }

    void Follow(bool CatchMouse)
    {
        setGeometry(parentWidget()->rect());
        setAttribute(Qt::WA_TransparentForMouseEvents, !CatchMouse);
        raise();
        show();
        update();
    }
    void SetPainter(TComboLayerPainter Painter) { FPainter = std::move(Painter); }

protected:
    bool eventFilter(QObject*, QEvent* E) override
    {
        switch (E->type()) {
        case QEvent::Resize:
        case QEvent::ChildAdded:  // a new edit field must stay under the layer
            setGeometry(parentWidget()->rect());
            raise();
            update();
            break;
        case QEvent::Enter:
        case QEvent::Leave:
            // the edit field inside does not make the box lose the mouse
            FOver = E->type() == QEvent::Enter;
            update();
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
            update();
            break;
        default:
            break;
        }
        return false;
    }
    void mousePressEvent(QMouseEvent* E) override { E->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* E) override { E->accept(); }
    void mouseReleaseEvent(QMouseEvent* E) override { E->accept(); }

    void paintEvent(QPaintEvent*) override
    {
        if (!FPainter)
            return;
        QPainter painter(this);
        TCanvas canvas;
        canvas.BeginPaint(&painter, Rect(0, 0, width(), height()));
        FPainter(&canvas, FOver);
        canvas.EndPaint();
    }

private:
    TComboLayerPainter FPainter;
    bool FOver = false;
};

}  // namespace

void SetComboFrameLayer(TComboBox* Combo, TComboLayerPainter Painter, bool CatchMouse)
{
    if (!Combo->HandleAllocated())
        return;
    QWidget* w = Combo->Widget();
    auto* layer = static_cast<TComboFrameLayer*>(w->findChild<QWidget*>(LayerName, Qt::FindDirectChildrenOnly));
    if (!Painter) {
        delete layer;
        return;
    }
    if (!layer)
        layer = new TComboFrameLayer(w, Painter);
    else
        layer->SetPainter(Painter);
    layer->Follow(CatchMouse);
}
