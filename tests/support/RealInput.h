#pragma once
// The operator's mouse and keyboard for window tests: real mouse and key
// events delivered to a control's window as the window system delivers them
// (a window that a modal dialog blocks never gets them), and a modal showing
// whose steps run inside its own modal loop. Needs Qt6::Test.

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace realinput {

// A left click at a point of a control (its own coordinates).
inline void Click(TControl* Control, QPoint At, bool Double = false)
{
    QWidget* w = Control->Widget();
    QWindow* window = w->window()->windowHandle();
    const QPoint p = w->mapTo(w->window(), At);
    if (Double)
        QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, p);
    else
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, p);
}

inline void ClickMiddle(TControl* Control) { Click(Control, QPoint(Control->Width() / 2, Control->Height() / 2)); }

// A key pressed and released in the window of a control (to its focused control).
inline void Key(TControl* InWindowOf, Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier)
{
    QTest::keyClick(InWindowOf->Widget()->window()->windowHandle(), K, M);
}

// Text typed key by key into the focused control of the window (Latin-1).
inline void Type(TControl* InWindowOf, const QString& Text)
{
    QWindow* window = InWindowOf->Widget()->window()->windowHandle();
    for (const QChar c : Text)
        QTest::keyClick(window, c.toLatin1());
}

// The hint that pops up when the mouse rests on a control: the tool tip event
// the window system's resting mouse brings, on the control's own widget.
// Empty when none pops up.
inline QString RestOn(TControl* Control, QPoint At = QPoint(3, 3))
{
    QToolTip::hideText();
    (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
    QWidget* w = Control->Widget();
    QHelpEvent e(QEvent::ToolTip, At, w->mapToGlobal(At));
    QApplication::sendEvent(w, &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Shows the window modally and runs Steps in its modal loop; a window still
// open after them is closed (mrAbort), so the test never waits.
inline int ShowModalWith(TCustomForm& Form, const std::function<void()>& Steps)
{
    QTimer::singleShot(0, [&] {
        Steps();
        if (Form.Visible() && Form.ModalResult() == mrNone)
            Form.SetModalResult(mrAbort);
    });
    return Form.ShowModal();
}

}  // namespace realinput
