#include "platform/ui/WindowSizing.h"

#include "platform/ui/Forms.h"

#include <QWidget>
#include <QWindow>

bool StartWindowSizingFromCorner(TCustomForm* Form)
{
    QWidget* w = Form ? Form->Widget() : nullptr;
    QWindow* win = w ? w->windowHandle() : nullptr;
    return win && win->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
}
