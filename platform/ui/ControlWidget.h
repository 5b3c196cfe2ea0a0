#pragma once
// The Qt side of controls (included only by platform/ui sources).

#include "platform/ui/Controls.h"

#include <QObject>
#include <QWidget>

// The widget of a control that paints itself.
class TControlWidget : public QWidget {
public:
    TControlWidget(TControl* Control, bool Windowless);
    TControl* Control() const { return FControl; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TControl* FControl;
};

// Routes the events of every control widget (also of the native widgets
// that some controls use) to the control's virtual operations.
class TControlBridge : public QObject {
public:
    static TControlBridge* Instance();
    // Connects a widget to its control.
    static void Attach(QWidget* Widget, TControl* Control, bool Native);
    static TControl* ControlOf(const QObject* Widget);
    // Paints a control on a painter (from a paint event or PaintTo).
    static void PaintControl(TControl* Control, QPainter* Painter, const QRect& Area);
    // During KeyPress: the characters of the same key event after the one
    // handed over (the low half of a surrogate pair), empty otherwise.
    static QString PendingKeyText();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool KeyPress(TControl* Control, QWidget* Widget, class QKeyEvent* E, bool Native);
};

TShiftState ShiftFromQt(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons);
// Applies a control's font and colours to a native Qt widget.
void ApplyNativeLook(QWidget* Widget, TControl* Control, TColor Background);
