#pragma once
// The card dispatch (the main window's ChipRead) and its test entry: a card
// that passed the repeat filter, or an emit string typed by hand, opens the
// finish dialog or, at the start desk, the check-in dialog for a card not yet
// registered into the forest.

#include <QString>

// ChipRead: the card dispatch for one card read.
void ChipRead(const QString& EmitString);
// The test entry's button: dispatches a hand-typed emit string (the finish
// dialog always modally). An empty text does nothing; a text without a card
// number is refused with a message.
void ChipStringOK(const QString& EmitString);
// Field 4 of an emit string with its double quotes removed.
QString EmitCardNumber(const QString& EmitString);
