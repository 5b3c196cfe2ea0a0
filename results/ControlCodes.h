#pragma once
// The controls string of a course as the operator types it: codes 1 to 999
// separated by commas (blanks and semicolons allowed). The database checks
// the same, but answers in the interface language and only after the edit is
// sent; here the operator gets a clear Finnish refusal and keeps the text.

#include <QString>

// False with the refusal text in Message when Text is not a controls string.
bool CheckControlCodes(const QString& Text, QString& Message);
