#pragma once
// The monitors of the desktop: their full bounds and work areas (without
// panels and task bars), and the one a control's window lies on.

#include "platform/ui/Types.h"

class TControl;

int MonitorCount();
TRect MonitorBoundsRect(int Index);
TRect MonitorWorkAreaRect(int Index);
// The monitor nearest to the control's window (0 without one).
int MonitorOfControl(const TControl* Control);
