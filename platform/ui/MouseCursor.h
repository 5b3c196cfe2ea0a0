#pragma once
// Where the mouse pointer is, in screen coordinates.

#include "platform/ui/Types.h"

TPoint MouseCursorPos();
