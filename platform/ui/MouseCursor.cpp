#include "platform/ui/MouseCursor.h"

#include <QCursor>

TPoint MouseCursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}
