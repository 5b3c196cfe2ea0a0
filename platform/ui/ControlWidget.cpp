#include "platform/ui/ControlWidget.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/HintAction.h"
#include "platform/ui/HoverHint.h"

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

const char* const ControlProperty = "sorvexControl";
const char* const NativeProperty = "sorvexNative";

TMouseButton ButtonOf(Qt::MouseButton B)
{
    return B == Qt::RightButton ? mbRight : B == Qt::MiddleButton ? mbMiddle : mbLeft;
}

// The key being re-sent with a changed character must not be handled twice.
bool GResending = false;
// The rest of the text of the key event whose first character KeyPress has.
QString GPendingKeyText;

}  // namespace

TShiftState ShiftFromQt(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons)
{
    TShiftState s = 0;
    if (Mods & Qt::ShiftModifier)
        s |= ssShift;
    if (Mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (Mods & Qt::AltModifier)
        s |= ssAlt;
    if (Buttons & Qt::LeftButton)
        s |= ssLeft;
    if (Buttons & Qt::RightButton)
        s |= ssRight;
    if (Buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

void ApplyNativeLook(QWidget* Widget, TControl* Control, TColor Background)
{
    Widget->setFont(Control->Font()->ToQFont());
    QPalette pal = Widget->palette();
    const QColor text = ToQColor(Control->Font()->Color());
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::Base, ToQColor(Background));
    Widget->setPalette(pal);
}

TControlWidget::TControlWidget(TControl* Control, bool Windowless) : FControl(Control)
{
    // a windowless control lets its parent's picture show where it does not paint
    setAttribute(Qt::WA_NoSystemBackground, Windowless);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Windowless ? Qt::NoFocus : Qt::ClickFocus);
}

void TControlWidget::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    TControlBridge::PaintControl(FControl, &p, e->rect());
}

TControlBridge* TControlBridge::Instance()
{
    static TControlBridge* bridge = new TControlBridge;
    return bridge;
}

void TControlBridge::Attach(QWidget* Widget, TControl* Control, bool Native)
{
    Widget->setProperty(ControlProperty, QVariant::fromValue(reinterpret_cast<quintptr>(Control)));
    Widget->setProperty(NativeProperty, Native);
    Widget->installEventFilter(Instance());
    if (Native)
        Widget->setMouseTracking(true);
}

TControl* TControlBridge::ControlOf(const QObject* Widget)
{
    const QVariant v = Widget ? Widget->property(ControlProperty) : QVariant();
    return v.isValid() ? reinterpret_cast<TControl*>(v.value<quintptr>()) : nullptr;
}

void TControlBridge::PaintControl(TControl* Control, QPainter* Painter, const QRect&)
{
    TCanvas* canvas = Control->PaintCanvas();
    canvas->BeginPaint(Painter, Rect(0, 0, Control->Width(), Control->Height()));
    canvas->Font()->Assign(*Control->Font());
    canvas->Brush()->SetColor(Control->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetMode(pmCopy);
    try {
        Control->PaintWindow(canvas);
    } catch (...) {
        canvas->EndPaint();
        throw;
    }
    canvas->EndPaint();
}

QString TControlBridge::PendingKeyText()
{
    return GPendingKeyText;
}

bool TControlBridge::KeyPress(TControl* Control, QWidget* Widget, QKeyEvent* E, bool Native)
{
    auto* ctl = dynamic_cast<TWinControl*>(Control);
    if (!ctl)
        return false;
    TCustomForm* form = ctl->ParentForm();
    Word key = QtKeyToVK(E->key(), E->modifiers() & Qt::KeypadModifier);
    const TShiftState shift = ShiftFromQt(E->modifiers(), Qt::NoButton);
    if (key != 0) {
        // shortcuts of the window's menus and actions first, then the dialog keys
        if (form && form->IsShortCut(key, shift))
            return true;
        if (form && (key == VK_RETURN || key == VK_ESCAPE) && !ctl->WantsKey(key, shift) && form->DialogKey(key, shift))
            return true;
        // Alt+letter goes to the caption that carries it; a focused self-painted
        // button takes no typing, so there the plain letter counts too
        const bool plainOnButton = shift == 0 && dynamic_cast<TDialogKeyTarget*>(ctl) && IsAcceleratorKey(key, ssAlt);
        if (form && (IsAcceleratorKey(key, shift) || plainOnButton) && DispatchDialogChar(form, key, shift))
            return true;
        if (form && form != ctl && form->KeyPreview()) {
            form->KeyDown(key, shift);
            if (key == 0)
                return true;
        }
        ctl->KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    const QString text = E->text();
    if (!text.isEmpty()) {
        QChar ch = text[0];
        if (form && form != ctl && form->KeyPreview()) {
            form->KeyPress(ch);
            if (ch.isNull())
                return true;
        }
        GPendingKeyText = text.mid(1);
        ctl->KeyPress(ch);
        GPendingKeyText.clear();
        if (ch.isNull())
            return true;
        if (ch != text[0] && Native) {
            QKeyEvent changed(E->type(), E->key(), E->modifiers(), QString(ch), E->isAutoRepeat(), ushort(E->count()));
            GResending = true;
            QApplication::sendEvent(Widget, &changed);
            GResending = false;
            return true;
        }
    }
    return !Native;
}

bool TControlBridge::eventFilter(QObject* Watched, QEvent* Event)
{
    auto* widget = qobject_cast<QWidget*>(Watched);
    TControl* control = ControlOf(Watched);
    if (!widget || !control)
        return false;
    const bool native = Watched->property(NativeProperty).toBool();
    switch (Event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(Event);
        const QPoint p = e->position().toPoint();
        control->MouseDown(ButtonOf(e->button()), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
        return !native;
    }
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(Event);
        const QPoint p = e->position().toPoint();
        control->MouseDown(ButtonOf(e->button()), ShiftFromQt(e->modifiers(), e->buttons()) | ssDouble, p.x(), p.y());
        if (e->button() == Qt::LeftButton)
            control->DblClick();
        return !native;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(Event);
        const QPoint p = e->position().toPoint();
        control->MouseUp(ButtonOf(e->button()), ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
        if (e->button() == Qt::LeftButton && widget->rect().contains(p) && control->ClicksOnMouseUp())
            control->Click();
        return !native;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(Event);
        const QPoint p = e->position().toPoint();
        control->MouseMove(ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
        return false;
    }
    case QEvent::Enter:
        control->MouseEnter();
        ControlHintEntered(control);
        return false;
    case QEvent::Leave:
        control->MouseLeave();
        return false;
    case QEvent::ToolTip:
        // the hint follows ShowHint and ParentShowHint, not the widget's own tool tip
        ShowHoverHint(control, widget, static_cast<QHelpEvent*>(Event));
        return true;
    case QEvent::Wheel: {
        auto* e = static_cast<QWheelEvent*>(Event);
        const QPoint g = e->globalPosition().toPoint();
        return control->DoMouseWheel(ShiftFromQt(e->modifiers(), e->buttons()), e->angleDelta().y(), {g.x(), g.y()});
    }
    case QEvent::ContextMenu: {
        auto* e = static_cast<QContextMenuEvent*>(Event);
        bool handled = false;
        control->DoContextPopup({e->pos().x(), e->pos().y()}, handled);
        if (!handled && control->PopupMenu()) {
            control->PopupMenu()->SetPopupComponent(control);
            control->PopupMenu()->Popup(e->globalPos().x(), e->globalPos().y());
            handled = true;
        }
        return handled;
    }
    case QEvent::KeyPress:
        if (GResending)
            return false;
        return KeyPress(control, widget, static_cast<QKeyEvent*>(Event), native);
    case QEvent::KeyRelease: {
        auto* ctl = dynamic_cast<TWinControl*>(control);
        if (!ctl)
            return false;
        auto* e = static_cast<QKeyEvent*>(Event);
        Word key = QtKeyToVK(e->key(), e->modifiers() & Qt::KeypadModifier);
        const TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
        TCustomForm* form = ctl->ParentForm();
        if (key && form && form != ctl && form->KeyPreview()) {
            form->KeyUp(key, shift);
            if (key == 0)
                return true;
        }
        if (key)
            ctl->KeyUp(key, shift);
        return key == 0 || !native;
    }
    case QEvent::FocusIn:
        if (auto* ctl = dynamic_cast<TWinControl*>(control)) {
            if (TCustomForm* f = ctl->ParentForm(); f && f != ctl)
                f->FocusControlChanged(ctl);
            ctl->DoEnter();
        }
        return false;
    case QEvent::FocusOut:
        if (auto* ctl = dynamic_cast<TWinControl*>(control);
            ctl && static_cast<QFocusEvent*>(Event)->reason() != Qt::PopupFocusReason &&
            static_cast<QFocusEvent*>(Event)->reason() != Qt::ActiveWindowFocusReason)
            ctl->DoExit();
        return false;
    default:
        return false;
    }
}
