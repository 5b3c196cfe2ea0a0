#pragma once
// A string grid's row and column counts and cells kept in a property file:
// "ColCount" and "RowCount" in the section Key, and each column's cells, top
// to bottom, as a string list in the section Key + ".Column" + n. The saved
// sorts and the stored filters keep their lists this way.

#include <QString>

class TPropSaveFile;
class TStringGrid;

void SaveStrGridCells(TPropSaveFile* File, const QString& Key, TStringGrid* Grid);
// Sets the counts first, then the cells (as far as the stored lists and the
// rows reach); false when nothing is stored under Key.
bool ReadStrGridCells(TPropSaveFile* File, const QString& Key, TStringGrid* Grid);
// Erases the section Key and its column sections.
void DelStrGridCells(TPropSaveFile* File, const QString& Key, int ColCount);
