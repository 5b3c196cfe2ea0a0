#pragma once
// The filter dialog of a grid or dataset: pick a field, a comparison and a
// value, add the condition with AND or OR to the expression, edit it freely,
// test it with the number of matching records, load and save it as a file,
// and apply it as the dataset's filter.

#include "components/grid/rDBDlgBaseForm.h"
#include "components/grid/rDBFilterPeriod.h"

#include <QStringList>

class TButton;
class TCheckBox;
class TComboBox;
class TDataSet;
class TDateTimePicker;
class TField;
class TGroupBox;
class TLabel;
class TMemo;
class TPopupMenu;
class TPropSaveFile;
class TRadioButton;
class TToolBar;
class TToolButton;
class TrEditNum;
class TrHTMLLabel;
class TrStringGridEd;

class TrDBFilterForm : public TrDBDlgBaseForm {
public:
    explicit TrDBFilterForm(TComponent* AOwner);

    TrStringGridEd* sgPol;
    TrStringGridEd* sgSign;
    TLabel* lValue1;
    TLabel* lValue2;
    TComboBox* eValue;
    TrHTMLLabel* lblClearHist;
    TrEditNum* eValNum1;
    TrEditNum* eValNum2;
    TDateTimePicker* eValDate1;
    TDateTimePicker* eValDate2;
    TRadioButton* rbValTrue;
    TRadioButton* rbValFalse;
    TToolBar* ToolBarPeriod;
    TToolButton* btPeriod;
    TPopupMenu* pmPeriod;
    TRadioButton* rbAnd;
    TRadioButton* rbOr;
    TButton* btAdd;
    TButton* btAddOk;
    TMemo* eRes;
    TButton* btClear;
    TButton* btLoad;
    TButton* btSave;
    TButton* btTest;
    TLabel* lTest;
    TCheckBox* chCase;
    TCheckBox* cbDelQuotes;
    TCheckBox* chShowRecCount;
    TrButton* btOk;
    TrButton* btCancel;

    TComponent* GDS = nullptr;
    bool Sorted = false;

    // ---- what the user does (also the tests' hook) ----
    // Selects the field row of sgPol (by field name); false when not listed.
    bool SelectField(const QString& FieldName);
    void SelectSign(int Row);
    // Adds the condition of the selected field, comparison and value.
    void AddCondition(bool AndOk);
    // Applies the expression (TestOnly: only checks it); true on success.
    bool SetFilter(bool TestOnly);
    void TestClick();
    void OkClick();
    void LoadConditions(const QString& FileName);
    void SaveConditions(const QString& FileName);
    // Sets the two date pickers to a period of the menu.
    void SetPeriod(TFilterPeriodKind Kind, int N);
    void AddTextToFieldList(const QString& Caption, const QString& Name);
    void AddTextToValueList(const QString& Text);
    TField* SelFld() const { return FSelFld; }
    int SelFldType() const { return FSelFldType; }

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void SetNames();
    void SetAnchorsOnResize(TGroupBox* Group, TLabel* ResLabel);
    void SetUpPropSave();
    // "rDBFilterForm." + grid owner + "." + grid: the field and comparison last used.
    QString GridSection() const;
    void ReadOwnProps(TPropSaveFile* F, const QString& Key);
    void SaveOwnProps(TPropSaveFile* F, const QString& Key);
    void FocusValueEditor();
    TLabel* lFieldName = nullptr;
    void FieldChanged();
    void RefreshValueEditors();
    void InsertText(const QString& Text);
    void ExpressionChanged();
    void BuildPeriodMenu();
    QString ValueHook(const QString& Text, int EventId);
    QString MakeCondition();
    TDataSet* DataSet() const;
    TField* FSelFld = nullptr;
    int FSelFldType = 0;
    bool FAdvantage = false;
};

// Shows the filter dialog for a grid or a dataset; true when a filter was applied.
bool FilterRec(TComponent* GridOrDataSet, bool Sorted);
