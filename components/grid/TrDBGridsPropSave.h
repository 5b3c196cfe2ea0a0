#pragma once
// Savers of data grids: TDBGridsPropSave keeps a data grid's columns (order,
// widths, visibility and, optionally, colours, fonts, alignments and titles);
// TrDBGridsPropSave adds the library grid's own settings: sort, width mode,
// line counts, filter switches and state, fixed column, field groups, footer
// and the row colours. Sections: Key for the grid, Key + ".Column" + n per
// column, Key + ".FieldsGroup" for the group lines, Key + ".Filter" for the
// filter state. Controls of the layers above join through TPropSaveParts.h.

#include "components/grid/TPropSaveMain.h"

#include <utility>
#include <vector>

class TDataSet;
class TDBGrid;
class TCustomDBGrid;
class TField;
class TrDBGrid;
class TColumn;
class TCellParamsCondList;

class TDBGridsPropSave : public TCustomPropSave {
public:
    explicit TDBGridsPropSave(TComponent* AOwner) : TCustomPropSave(AOwner) {}
    bool StoreColumns = true;
    bool StoreColumnsProp = false;
    bool EraseUnusedSection = true;
    TStringList SavedDBColumnFieldList;

    static QString GetColumnKey(const QString& Key, int Idx) { return Key + QStringLiteral(".Column") + QString::number(Idx); }
    static QString GetFieldKey(const QString& Key, int Idx) { return Key + QStringLiteral(".Field") + QString::number(Idx); }
    // Whether the name is among the configuration's fields that keep their
    // designed width and format (";"-separated, without case).
    static bool FieldInList(const QString& FieldName);
    // Grid-wide appearance is stored unless the configuration keeps it global.
    static bool StoresAppearance();
    void SaveDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS);
    // A stored field count that differs from the dataset's discards every stored field.
    void ReadDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS);
    void DelDataSet(TPropSaveFile* F, const QString& Key, TDataSet* DS);
    void SaveDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G);
    void ReadDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G);
    void DelDBGrid(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G);
    // A data-aware combo or list box: its items in section Key.
    void ProcDBList(TPropSaveAction psAction, TPropSaveFile* F, const QString& Key, TComponent* Comp);
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;

protected:
    double ScaleRatio = 1.0;

private:
    // Line options, gradient colours, drawing style and the grid and title fonts.
    void SaveGridAppearance(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G);
    void ReadGridAppearance(TPropSaveFile* F, const QString& Key, TCustomDBGrid* G);
    static void SaveFieldFormat(TPropSaveFile* F, const QString& Section, TField* Fld);
    static void ReadFieldWidthFormat(TPropSaveFile* F, const QString& Section, TField* Fld);
    void SaveDBColumn(TPropSaveFile* F, const QString& Key, int Idx, TColumn* C, bool Customised);
    void ReadDBColumn(TPropSaveFile* F, const QString& Key, int Idx, TColumn* C);
    int ReadDBColumnList(TPropSaveFile* F, const QString& Key);
};

class TrDBGridsPropSave : public TDBGridsPropSave {
public:
    explicit TrDBGridsPropSave(TComponent* AOwner) : TDBGridsPropSave(AOwner) {}
    bool StoreFieldsGroup = false;
    bool StoreFooterRow = false;
    bool StoreFilterSetting = false;
    bool StoreDesignSetting = false;
    std::function<void(TrDBGrid* G, TPropSaveAction A, TPropSaveFile* PSFile)> OnReadSaveProps;

    static QString GetCellParamKey(const QString& Key, int Idx) { return Key + QStringLiteral(".CellParamsCond") + QString::number(Idx); }
    static void SaveCellParamsCondList(TPropSaveFile* F, const QString& Key, const TCellParamsCondList& L);
    // A stored count of 0, or none, leaves the list as it is.
    static void ReadCellParamsCondList(TPropSaveFile* F, const QString& Key, TCellParamsCondList& L);
    void SaveRDBGrid(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    void ReadRDBGrid(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    void DelRDBGrid(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    // The 21 display-kind lists and their section suffixes, in saving order.
    static std::vector<std::pair<TStringList*, QString>> DesignLists(TrDBGrid* G);
    static void SaveFixedColText(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    static void ReadFixedColText(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    static void SaveFooterRow(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    static void ReadFooterRow(TPropSaveFile* F, const QString& Key, TrDBGrid* G);
    // The grid's filter state in section GetKey(G) + ".Filter" + KeySuffix.
    void SaveFilterSetting(TrDBGrid* G, const QString& KeySuffix);
    void ReadFilterSetting(TrDBGrid* G, const QString& KeySuffix);
    void ReadSaveProps(TPropSaveAction psAction, TPropSaveFile* PSFile, TComponent* Comp, const QString& Key) override;
    bool CanSave(TComponent* Comp) const override;

private:
    static void SaveFilterState(TPropSaveFile* F, const QString& S, TrDBGrid* G);
    static void ReadFilterState(TPropSaveFile* F, const QString& S, TrDBGrid* G);
};
