#pragma once
// The system's printer set-up dialog for one printer: the user may pick
// another printer and its paper orientation.

#include "platform/print/TPrinter.h"

#include <QString>
#include <functional>

// False when cancelled; PrinterName and Orientation change only when confirmed.
bool ShowPrinterSetupDialog(QString& PrinterName, TPrinterOrientation& Orientation);
// Tests answer the dialog instead of showing it (an empty hook: the real dialog).
using TPrinterSetupHook = std::function<bool(QString& PrinterName, TPrinterOrientation& Orientation)>;
void SetPrinterSetupHook(TPrinterSetupHook Hook);
