#pragma once
// A workbook as a user keeps it: a sheet with a filled and bordered cell,
// merged cells, a Boolean, a filled-down formula, a picture and a data bar,
// and a second sheet of plain rows; written by libxlsxwriter directly, not
// through the program's own model.

#include <QString>

// Writes the workbook; the first sheet is "Club", the second "Runs" (a
// title row and two rows of names and numbers).
void MakeUserWorkbook(const QString& FileName);
