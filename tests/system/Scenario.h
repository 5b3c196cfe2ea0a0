#pragma once
// Small pieces the whole-process scenarios share: waiting on a condition
// outside the test's process, a card that ran course A, and the boxes an
// operator saw that a scenario did not expect.

#include "tests/support/DriverClient.h"
#include "tools/emitsim/EmitCard.h"

#include <QStringList>
#include <functional>

// Polls Done every 20 ms for at most Ms (the other processes cannot signal us).
bool WaitFor(const std::function<bool()>& Done, int Ms);
// A card with course A of the fixture and of the demo account (31, 32, 33,
// finish unit 100) in 40:00, read by a 250 reader.
TEmitCard CourseACard(uint32_t Number);
// The message boxes the program showed, without the notice that the event's
// courses could not be downloaded: the fixture's event lives only in the
// database, as an event whose courses were made on this computer.
QStringList UnexpectedBoxes(TDriverClient& Driver);
// Full validation of a database file that no program holds open (the
// embedded engine's gfix -v -full): the errors it counted, empty when there
// were none. Warnings are left out: a killed process leaves back versions
// nobody points to and free-space marks a little behind, which the engine
// expects after a crash and tidies itself. A validation that could not run
// says so.
QString ValidationErrors(const QString& DatabasePath);
