#include "components/grid/TGridsPropSave.h"

#include "components/grid/TrDBGridsPropSave.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Grids.h"

#include <algorithm>

bool TGridsPropSave::CanSave(TComponent* Comp) const
{
    return dynamic_cast<TStringGrid*>(Comp) != nullptr;
}

void TGridsPropSave::ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key)
{
    auto* sg = dynamic_cast<TStringGrid*>(Comp);
    if (!sg)
        return;
    if (psAction == psaRead) {
        ReadStrGrid(PSFile, Key, sg);
    } else {
        DelStrGrid(PSFile, Key, sg);
        if (psAction == psaSave)
            SaveStrGrid(PSFile, Key, sg);
    }
}

void TGridsPropSave::SaveStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG)
{
    if (TDBGridsPropSave::StoresAppearance()) {
        F->WriteInteger(Key, QStringLiteral("ColorStartGradient"), int(SG->GradientStartColor));
        F->WriteInteger(Key, QStringLiteral("ColorEndGradient"), int(SG->GradientEndColor));
        F->WriteInteger(Key, QStringLiteral("DrawingStyle"), int(SG->DrawingStyle()));
    }
    if (StoreRowColCount) {
        F->WriteInteger(Key, QStringLiteral("ColCount"), SG->ColCount());
        F->WriteInteger(Key, QStringLiteral("RowCount"), SG->RowCount());
    }
    if (StoreMetrix)
        for (int r = 0; r < SG->RowCount(); ++r)
            F->WriteInteger(Key, QStringLiteral("RowHeight%1").arg(r), SG->RowHeights(r));
    for (int c = 0; c < SG->ColCount(); ++c) {
        const QString s = GetColumnKey(Key, c);
        if (StoreMetrix)
            F->WriteInteger(s, QStringLiteral("Width"), SG->ColWidths(c));
        if (StoreStrings) {
            TStringList cells;
            for (int r = 0; r < SG->RowCount(); ++r)
                cells.Add(SG->Cells(c, r));
            F->WriteStrings(s, cells);
        }
    }
}

void TGridsPropSave::ReadStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG)
{
    if (TDBGridsPropSave::StoresAppearance()) {
        SG->GradientStartColor = TColor(F->ReadInteger(Key, QStringLiteral("ColorStartGradient"), int(SG->GradientStartColor)));
        SG->GradientEndColor = TColor(F->ReadInteger(Key, QStringLiteral("ColorEndGradient"), int(SG->GradientEndColor)));
        SG->SetDrawingStyle(grids::TGridDrawingStyle(
            std::clamp(F->ReadInteger(Key, QStringLiteral("DrawingStyle"), int(SG->DrawingStyle())), 0, int(grids::gdsGradient))));
    }
    if (StoreRowColCount) {
        SG->SetColCount(F->ReadInteger(Key, QStringLiteral("ColCount"), SG->ColCount()));
        SG->SetRowCount(F->ReadInteger(Key, QStringLiteral("RowCount"), SG->RowCount()));
    }
    if (StoreMetrix)
        for (int r = 0; r < SG->RowCount(); ++r)
            SG->SetRowHeights(r, F->ReadInteger(Key, QStringLiteral("RowHeight%1").arg(r), SG->RowHeights(r)));
    for (int c = 0; c < SG->ColCount(); ++c) {
        const QString s = GetColumnKey(Key, c);
        if (StoreMetrix)
            SG->SetColWidths(c, F->ReadInteger(s, QStringLiteral("Width"), SG->ColWidths(c)));
        if (!StoreStrings)
            continue;
        // A column without stored cells keeps its own.
        TStringList cells;
        F->ReadStrings(s, cells);
        for (int r = 0; r < cells.Count() && r < SG->RowCount(); ++r)
            SG->SetCells(c, r, cells[r]);
    }
}

void TGridsPropSave::DelStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG)
{
    for (int c = 0; c < SG->ColCount(); ++c)
        F->EraseSection(GetColumnKey(Key, c));
}
