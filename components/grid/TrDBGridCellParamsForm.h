#pragma once
// The dialogs of a grid's cell conditions: "Conditions for colored records"
// edits the rule list as a table (field, sign, value, action, colours, bold,
// whole row, icon, shown text, stop, skip), and "Value to compare" builds one
// rule's compared value (a fixed value, a date or today, another field or a
// column summary).

#include "components/grid/rDBDlgBaseForm.h"
#include "components/grid/TrDBGridCellParamsData.h"

class TrStringGridEd;
class TStringGrid;
class TComboBox;
class TDateTimePicker;
class TRadioButton;
class TCheckBox;
class TLabel;
class TrHTMLLabel;
class TCellParamsCondList;
class TPanel;

class TrDBGridCellParamsForm : public TrDBDlgBaseForm {
public:
    // Grid: the data grid whose rules are edited.
    TrDBGridCellParamsForm(TComponent* AOwner, TComponent* Grid);
    TrStringGridEd* grCond;
    TPanel* pBottom;
    TrButton *btOk, *btCancel;
    // The rule table as a plain string grid (for code that cannot see the editable grid's header).
    TStringGrid* Table() const;
    TButton *btUp, *btDown, *btClear, *btAll, *btUse;
    // Field names and captions of the grid's simple and memo columns, in step.
    QStringList FieldNames, FieldCaptions;

    // Fills the table from the grid's rules / the rules from the table.
    void LoadCond();
    void StoreCond();
    // A row whose action is ">>>" carries formats.
    bool IsFormattingRow(int Row) const;
    void MoveRow(int Row, bool Up);
    void DeleteRow(int Row);
    void ClearAll();
    // The value dialog for a row; true when its value cell was rewritten.
    bool EditValue(int Row);

private:
    void CellEdited(int ACol, int ARow);
    TComponent* rDBGrid;
};

class TrDBGridCellParamsValuesForm : public TrDBDlgBaseForm {
public:
    explicit TrDBGridCellParamsValuesForm(TComponent* AOwner);
    TrButton *btOk, *btCancel;
    // The field caption and operator caption of the rule, shown at the top.
    QString cond;
    TrHTMLLabel* lCond;
    TRadioButton *rbFix, *rbDate, *rbField;
    TComboBox *cbValue, *cbField, *cbSummary;
    TDateTimePicker* dtDate;
    TCheckBox* chActualDate;

    // Shows Value in the inputs (the fixed value, "=$Date", "=FIELD" or "=SUM(FIELD)").
    void SetValue(const QString& Value);
    // The value the inputs give.
    QString Value() const;
    // "Value of other field" without a field keeps the dialog open.
    bool CanClose() const;
};

// Shows the rule dialog for a grid; false, showing nothing, without an active dataset.
bool DBGridCellParams(TComponent* Grid);
