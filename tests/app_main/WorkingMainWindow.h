#pragma once
// The main window as the operator meets it: the grid action module with its
// dialogs installed (created before the window, as the program does), the
// small fixture event (series 1, event 100 with four classes) linked to this
// computer, two runs in the results, the window started and shown with the
// event chosen in the tree and being processed. Modal windows, message boxes
// and common dialogs are answered by the MainTestFixture's hooks.

#include "components/grid/TrDBAction.h"
#include "tests/app_main/MainTestFixture.h"

#include <memory>

class TWinControl;
class TControl;

class WorkingMainWindow {
public:
    WorkingMainWindow();
    ~WorkingMainWindow();

    // Runs the posted work and paints, as the message loop would.
    static void Settle();
    // Clicks the control with the left mouse button at its middle, through
    // the window system's own event.
    static void MouseClick(TControl* Control);

    std::unique_ptr<TrDBAction> Actions;
    MainTestFixture f;
};
