#pragma once
// The sort dialog of a data grid: an editable list of sort criteria (field
// and descending flag per row, in priority order) applied through the grid's
// sorting. The last row, marked "*", is the empty new row.

#include "components/grid/rDBDlgBaseForm.h"

#include <QStringList>
#include <vector>

class TButton;
class TListBox;
class TrDBGrid;
class TrStringGridEd;

class TrDBSortForm2 : public TrDBDlgBaseForm {
public:
    explicit TrDBSortForm2(TComponent* AOwner);

    TrStringGridEd* grSort;
    TrButton* btUp;
    TrButton* btDown;
    TrButton* btDel;
    TrButton* btDelAll;
    TrButton* btSave;
    TListBox* lbSavedSort;
    TrButton* btDelSort;
    TrButton* btOk;
    TrButton* btCancel;

    // The grid sorted (a TrDBGrid).
    TComponent* rDBGrid = nullptr;
    const QStringList& FieldNames() const { return FN; }
    const QStringList& FieldCaptions() const { return FL; }

    // Fills the field lists and the criteria from the grid's present sort.
    void LoadFromGrid();
    // The criterion rows (1 .. count-2) as "caption" and descending flags.
    int CriteriaCount() const;
    // Sets a row's field; a field in the "*" row adds a new last row.
    void SetRowField(int Row, const QString& Caption, bool Descending);
    void MoveRow(bool Up);
    void DeleteRow();
    void DeleteAllRows();
    void Renumber();
    // Applies the criteria to the grid (the grid's answer).
    bool TrySort();
    void btOkClick();
    // ---- saved sorts (slots 0 to 19 of the grid in the global property file) ----
    static constexpr int MaxSavedSorts = 20;
    // The section of a slot of the grid.
    QString SortSection(int Slot) const;
    // Lists the saved sorts (names, slot numbers as objects).
    void LoadSavedSortNames();
    // Saves the criteria under Name: the slot of that name, else the first
    // free one; refused with a warning when all slots are used.
    bool SaveSorting(const QString& Name);
    // Reads a slot into the criteria exactly as saved.
    void LoadSavedSort(int Slot);
    void DeleteSavedSort();
    // ">>": asks for a name, proposing the captions or the selected name.
    void btSaveClick();
    // The criteria grid as the tests and the program read it.
    int SortRowCount() const;
    QString CellText(int ACol, int ARow) const;
    void SelectRow(int ARow);

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void SwapRows(int A, int B);
    QStringList FN;
    QStringList FL;
};

// Shows the sort dialog for a grid; true when a sort was applied with Ok.
bool SortRec(TrDBGrid* Grid);
// The same for a grid known as a component (what SortRec runs).
bool ShowSortDialog(TComponent* Grid);

// The sorting of a data grid the dialog works on, reached through the component.
QStringList GetGridSortFields(TComponent* Grid);
std::vector<bool> GetGridSortDescending(TComponent* Grid);
bool ChangeGridSort(TComponent* Grid, const QString& Fields, const QString& Directions);
// The saved sorts of a grid live in the global property file; without one
// there are none: both answer false. The names come alphabetically; Slots
// (when given) holds each name's slot number, which is what
// SortRec_ActiveSortIdx takes: a list position is not a slot.
bool SortRec_LoadSortNames(TrDBGrid* Grid, QStringList& Names, std::vector<int>* Slots = nullptr);
bool SortRec_ActiveSortIdx(TrDBGrid* Grid, int SortIdx);
// Applies the saved sort at a position of SortRec_LoadSortNames' list.
bool SortRec_ActiveSortListPos(TrDBGrid* Grid, int ListPos);
