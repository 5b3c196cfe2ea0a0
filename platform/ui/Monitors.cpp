#include "platform/ui/Monitors.h"

#include "platform/ui/Controls.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

TRect ToTRect(const QRect& r)
{
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

QScreen* ScreenAt(int Index)
{
    const auto screens = QGuiApplication::screens();
    return Index >= 0 && Index < screens.size() ? screens.at(Index) : nullptr;
}

}  // namespace

int MonitorCount()
{
    return int(QGuiApplication::screens().size());
}

TRect MonitorBoundsRect(int Index)
{
    QScreen* s = ScreenAt(Index);
    return s ? ToTRect(s->geometry()) : TRect();
}

TRect MonitorWorkAreaRect(int Index)
{
    QScreen* s = ScreenAt(Index);
    return s ? ToTRect(s->availableGeometry()) : TRect();
}

int MonitorOfControl(const TControl* Control)
{
    QWidget* w = Control ? Control->Widget() : nullptr;
    QScreen* s = w ? w->screen() : QGuiApplication::primaryScreen();
    const int i = int(QGuiApplication::screens().indexOf(s));
    return i < 0 ? 0 : i;
}
