#pragma once
// The string-grid saver: a string grid's gradient colours and drawing style,
// its column and row counts, row heights and column widths, and its cells
// column by column (Key + ".Column" + n), as the sort and stored-filter
// dialogs keep their lists.

#include "components/grid/TPropSaveMain.h"

class TStringGrid;

class TGridsPropSave : public TCustomPropSave {
public:
    explicit TGridsPropSave(TComponent* AOwner) : TCustomPropSave(AOwner) {}
    bool StoreMetrix = true;
    bool StoreStrings = true;
    bool StoreRowColCount = true;

    static QString GetColumnKey(const QString& Key, int Idx) { return Key + QStringLiteral(".Column") + QString::number(Idx); }
    void SaveStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG);
    // Counts first, then widths, heights and cells, each applied at once.
    void ReadStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG);
    void DelStrGrid(TPropSaveFile* F, const QString& Key, TStringGrid* SG);
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;
};
