#pragma once
// The finish desk's windows (card reader device form, finish dialog and its
// older form, result board) joined to the main window: the main window's
// hooks open them, and the finish desk reaches the main window through its
// host interface.

// Creates nothing: links the windows the program created to the main window.
void LinkFinishDesk();
