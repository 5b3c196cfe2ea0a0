#pragma once
// The find dialog of a data grid: a value, the fields to search in (ordered
// and selected by the user) and the kind of comparison; it steps through the
// matching records (first, next, previous) and shows the matched field.

#include "components/grid/rDBDlgBaseForm.h"

#include <QStringList>

class TButton;
class TCheckBox;
class TComboBox;
class TCustomDBGrid;
class TDataSet;
class TField;
class TGroupBox;
class TLabel;
class TPropSaveFile;
class TListBox;
class TMemo;
class TRadioButton;
class TrHTMLLabel;
class TrMemoEx;

class TrDBFindForm : public TrDBDlgBaseForm {
public:
    explicit TrDBFindForm(TComponent* AOwner);
    ~TrDBFindForm() override;

    TComboBox* eText;
    TrHTMLLabel* btClearHist;
    TCheckBox* cbDelQuotes;
    TGroupBox* rgOpt;
    TRadioButton* rbOpt[3];
    TCheckBox* cbCase;
    TCheckBox* chIgnoreDiacritics;
    TCheckBox* chCloseFound;
    TCheckBox* chShowMsg;
    TListBox* lbLabels;
    TLabel* btSort;
    TrButton* btUp;
    TrButton* btDown;
    TLabel* btSelAll;
    TLabel* lblResult;
    TrMemoEx* mInfo;
    TrButton* btFind;
    TrButton* btFindNext;
    TrButton* btFindPrev;
    TrButton* btClose;

    // The grid (or data component) searched and the field list shown.
    TComponent* GDS = nullptr;
    bool Sorted = false;
    const QStringList& FieldNames() const { return FN; }
    int FoundIndex = -1;
    QString FoundFieldText;

    int OptIndex() const;
    void SetOptIndex(int Index);
    // The three search buttons; Sender tells which.
    void btFindClick(TComponent* Sender);
    void btUpClick(bool Up);
    void btSortClick();
    void btSelAllClick();
    // Searches from the current record (Backward: towards the first).
    bool TryFind(bool Backward);

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void BuildControls();
    void SetAnchorsOnResize();
    void SetUpPropSave();
    // Section prefix of what is kept per grid: dialog key, grid owner, grid.
    QString GridKey() const;
    void ReadGridProps(TPropSaveFile* F);
    void SaveGridProps(TPropSaveFile* F);
    void MoveEntry(int From, int To);
    QString Fold(const QString& S) const;
    QStringList FN;
};

// Shows the find dialog for a grid's dataset; false without an active
// dataset (and after any use: none of its buttons ends it with Ok).
bool FindRec(TCustomDBGrid* Grid, bool Sorted);
// The dialog of the running FindRec (for tests and the program's hooks).
TrDBFindForm* ActiveFindForm();
