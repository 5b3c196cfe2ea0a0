#pragma once
// What the cell-condition dialogs read from and write to their grid, in
// plain texts: the dialogs' table lives in the string grid, whose header
// cannot be used together with the data grid's.

#include <QString>
#include <QStringList>
#include <vector>

class TComponent;
class TCustomImageList;

namespace cellconddata {

// Column order of a rule row (column 0 is the row marker).
enum { colField = 1, colSign, colValue, colAction, colFontColor, colBkColor, colBold, colWholeRow, colIcon, colShowText,
       colStop, colSkip, colCount };

// Names and captions of the grid's simple and memo columns (hidden ones too).
void FieldLists(TComponent* Grid, QStringList& Names, QStringList& Captions);
TCustomImageList* DataImages(TComponent* Grid);
// The grid's rules as table rows (colCount cells each), and back; storing
// switches the grid's cell conditions on and repaints it.
std::vector<QStringList> LoadRows(TComponent* Grid, const QStringList& Names, const QStringList& Captions);
void StoreRows(TComponent* Grid, const std::vector<QStringList>& Rows, const QStringList& Names, const QStringList& Captions);

struct TFieldValues {
    bool Exists = false;
    bool IsDate = false;
    QStringList Values;  // distinct texts, sorted by the field's type; "Yes"/"No" for a Boolean
};
TFieldValues FieldValues(TComponent* Grid, const QString& FieldName);
bool GridIsActive(TComponent* Grid);

}  // namespace cellconddata
