#include "components/dbcontrols/StringGridCellsStore.h"

#include "components/grid/TPropSaveFile.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Grids.h"

namespace {

QString ColumnKey(const QString& Key, int Col) { return Key + QStringLiteral(".Column%1").arg(Col); }

}  // namespace

void SaveStrGridCells(TPropSaveFile* File, const QString& Key, TStringGrid* Grid)
{
    if (!File || !Grid)
        return;
    File->WriteInteger(Key, QStringLiteral("ColCount"), Grid->ColCount());
    File->WriteInteger(Key, QStringLiteral("RowCount"), Grid->RowCount());
    for (int c = 0; c < Grid->ColCount(); ++c) {
        TStringList cells;
        for (int r = 0; r < Grid->RowCount(); ++r)
            cells.Add(Grid->Cells(c, r));
        File->EraseSection(ColumnKey(Key, c));
        File->WriteStrings(ColumnKey(Key, c), cells);
    }
}

bool ReadStrGridCells(TPropSaveFile* File, const QString& Key, TStringGrid* Grid)
{
    if (!File || !Grid || !File->SectionExists(Key))
        return false;
    Grid->SetColCount(File->ReadInteger(Key, QStringLiteral("ColCount"), Grid->ColCount()));
    Grid->SetRowCount(File->ReadInteger(Key, QStringLiteral("RowCount"), Grid->RowCount()));
    for (int c = 0; c < Grid->ColCount(); ++c) {
        TStringList cells;
        File->ReadStrings(ColumnKey(Key, c), cells);
        for (int r = 0; r < cells.Count() && r < Grid->RowCount(); ++r)
            Grid->SetCells(c, r, cells[r]);
    }
    return true;
}

void DelStrGridCells(TPropSaveFile* File, const QString& Key, int ColCount)
{
    if (!File)
        return;
    File->EraseSection(Key);
    for (int c = 0; c < ColCount; ++c)
        File->EraseSection(ColumnKey(Key, c));
}
