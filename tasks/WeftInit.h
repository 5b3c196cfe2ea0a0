#pragma once
// The task framework's start-up work, run once, first in main() (before the
// application object exists): what each part of the framework must have in
// place before any thread, window or task is made. A failure ends the start.

#include "platform/os/OsTypes.h"

#include <QString>

// Registered window messages of the task framework (valid after initialize):
// a task has sent a message / a task has ended (wParam, lParam = low and high
// 32 bits of the task's unique id); a thread-pool notice (lParam = the
// notice object, freed by the receiver).
extern UINT CWeftTaskMsg_NewMessage;
extern UINT CWeftTaskMsg_Terminated;
extern UINT CWeftPoolMsg;

namespace weft {

// Runs the start-up work; false with *error set when the start must end.
// Calling it again does nothing and returns the first result.
bool initialize(QString* error = nullptr);
bool initialized();

}  // namespace weft
