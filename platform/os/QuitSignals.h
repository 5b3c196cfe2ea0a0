#pragma once
// The terminal's interrupt (SIGINT) and the system's termination request
// (SIGTERM: a logout, `timeout`, `systemctl stop`) as a request to close the
// program the way the user closes it. The first signal is handed to the
// handler on the thread that installed the watch, through its event loop
// (nothing of the program runs inside the signal handler itself); a second
// signal ends the process at once, as the signal's default would.
//
// The database client library installs handlers of its own for both signals
// when it first connects, and they only cancel database calls: the watch is
// installed again after connecting, which takes both signals back.

#include <functional>

using TQuitSignalHandler = std::function<void(int Signal)>;

// Installs (or installs again) the process's handlers of SIGINT and SIGTERM
// and sets the handler of the first signal. Call on the main thread. An empty
// handler gives both signals their default action back.
void WatchQuitSignals(TQuitSignalHandler Handler);
// Installs the handlers again, keeping the handler (after a library took the
// signals over).
void ReclaimQuitSignals();
// The name of a signal for the log ("SIGTERM").
const char* QuitSignalName(int Signal);
