#pragma once
// The "Fields grouping" dialog: lists a data grid's field groups and edits
// the selected one (titles, mask, colours, member fields and master). New,
// Delete, Collapse, Expand, the merged header switch and the default groups
// act on the grid at once; edits of the shown group are stored by "Use" or
// "Ok", and leaving an edited group asks whether to keep the changes.

#include "components/grid/rDBDlgBaseForm.h"

#include <QStringList>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TrCheckListBox;
class TrColorBox;
class TrDBGrid;
class TrURLLabel;
class TStringList;

class TrDBFieldsGroupForm : public TrDBDlgBaseForm {
public:
    explicit TrDBFieldsGroupForm(TComponent* AOwner);
    ~TrDBFieldsGroupForm() override;

    TrDBGrid* Gr = nullptr;

    TListBox* lbGroups;
    TButton* btNew;
    TButton* btDelete;
    TButton* btCollapse;
    TButton* btExpand;
    TLabel* lLocked;
    TEdit* eMergedCellTitle;
    TEdit* eCollapsedGroupTitle;
    TEdit* eCollapsedGroupMask;
    TButton* btToMask;
    TrColorBox* cgGroupTitleColor;
    TrColorBox* cgGroupLineColor;
    TrURLLabel* btTitleColorDefault;
    TrURLLabel* btLineColorDefault;
    TrCheckListBox* lbGroupFields;
    TComboBox* cbGroupMaster;
    TCheckBox* chShowMergedCell;
    TrURLLabel* btSetDefault;
    TButton* btUse;
    TrButton* btOk;
    TrButton* btCancel;

    // The dialog's steps, public so the program's tests can drive it.
    void LoadGroups(bool KeepSelected);
    QString GetSelGroupName() const;
    void SelectGroup(int Index);  // as a click in the list
    void lbGroupsClick();
    void LoadGroupFields(const QStringList& FieldList);
    // Checks or unchecks a field item as a click on its box does.
    void SetFieldChecked(int Index, bool Checked);
    void FieldClicked(int Index);
    bool UpdateGroup(bool Delete);
    void NewClick();
    void DeleteClick();
    void CollapseClick(bool Expand);
    void ToMaskClick();
    void UseClick();
    void OkClick();
    void SetDefaultClick();
    bool Changed() const { return FChanged; }
    int GroupCount() const;

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void Edited();
    void FieldCheckChanged(int Index);
    void EnableControls();
    TStringList* Groups;
    QStringList Flds;
    QStringList Cols;
    bool FChanged = false;
    bool FLoading = false;
};

// Shows the field-group dialog for a grid (modal).
void SetFieldsGroup(TrDBGrid* rDBGrid);
