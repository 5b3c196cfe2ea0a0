#pragma once
// Files dropped on a control from the desktop's file manager.

#include "platform/ui/Controls.h"

#include <QStringList>
#include <functional>

using TFilesDroppedEvent = std::function<void(const QStringList& Files, const TPoint& ClientPoint)>;

// Lets Control accept dropped files (Handler unset: no longer accepts them).
void RegisterFileDrop(TControl* Control, TFilesDroppedEvent Handler);
