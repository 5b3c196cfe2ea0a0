#pragma once
// The funnel drop-down of a grid column: the column's distinct values with
// check boxes (checked = shown by the present filter), "(select all)" on top;
// Ok filters the column to the checked values, "Filter..." asks for one
// comparison in the condition dialog, Clear removes the column's filter.

#include "platform/ui/Forms.h"
#include "platform/ui/ListBoxes.h"

#include <QStringList>
#include <QHash>
#include <map>
#include <vector>

class TrDBGrid;
class TColumn;
class TField;
class TDataSet;
class TToolBar;
class TImageList;
class TToolButton;
class TrCheckListBox;
class TCheckBox;
class TPanel;
class TButton;

// What the condition dialog last held for a field (kept while the program runs).
struct TFilterCondInputs {
    int Page = -1;
    int Sign = 0;
    QString Text, Num1, Num2;
    double Date1 = 0, Date2 = 0;
};

class TrDBGridFilterForm : public TForm {
public:
    explicit TrDBGridFilterForm(TComponent* AOwner);

    TToolBar* tbTop;
    TImageList* ImgList;  // the tool bar's pictures
    TToolButton* tbEnter;
    TToolButton* tbClear;
    TrCheckListBox* CheckBoxList;
    TCheckBox* chAnd;
    TPanel* pBtn;
    TButton* btOk;
    TButton* btCancel;

    TField* DisplayField = nullptr;
    TField* ValueField = nullptr;
    TColumn* GridCol = nullptr;
    // Display texts in list order, each with the index of its value.
    QStringList DisplayList;
    std::vector<int> DisplayValue;
    // Distinct value texts; checked = occurs under the present filter.
    QStringList ValueList;
    std::vector<bool> ValueChecked;
    bool Aborted = false;
    bool CheckAll = true;
    // The condition dialog's inputs per field name.
    std::map<QString, TFilterCondInputs> CondInputs;

    void LoadList(TrDBGrid* DBGrid, TColumn* C);
    void AddToList(const QString& DisplayText, const QString& ValueText, bool Checked);
    // The filter text of the checked values (empty with "(select all)").
    QString CheckedFilterText() const;
    void SetFilter() { IntSetFilter(CheckedFilterText()); }
    void IntSetFilter(const QString& FilterText);
    // The height that shows every item (the grid never opens it taller).
    int WantedHeight() const;
    void tbEnterClick();
    void tbClearClick() { IntSetFilter(QString()); }
    void btCancelClick();

private:
    void CheckBoxListClickCheck();
    void CheckBoxListDrawItem(int Index, const TRect& R, TOwnerDrawState State);
    void LoadPass(bool Checked, bool IgnoreFilter, QHash<QString, int>& Seen);
    TrDBGrid* Gr = nullptr;
    TDataSet* DS = nullptr;
    int maxw = 0;
};
