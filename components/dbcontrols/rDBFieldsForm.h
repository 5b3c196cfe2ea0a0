#pragma once
// The column choice dialog of a grid or dataset: a check list of every column
// (or field) to show or hide and reorder, and the display properties of the
// selected one (caption, alignment, width, format; for grids also font and
// colour; for a TrDBGrid the row header). Every change acts at once.

#include "components/grid/rDBDlgBaseForm.h"
#include "platform/ui/Graphics.h"

#include <QStringList>

class TButton;
class TCheckBox;
class TColumn;
class TComboBox;
class TCustomDBGrid;
class TDataSet;
class TEdit;
class TField;
class TGroupBox;
class TLabel;
class TPanel;
class TRadioButton;
class TrCheckListBox;
class TrColorBox;
class TrDBGrid;
class TrEditNum;
class TrURLLabel;

class TrDBFieldsForm : public TrDBDlgBaseForm {
public:
    explicit TrDBFieldsForm(TComponent* AOwner);

    TrCheckListBox* lbLabels;
    TrButton* btUp;
    TrButton* btDown;
    TButton* btAll;
    TGroupBox* gb;
    TButton* btFont;
    TLabel* lColor;
    TrColorBox* cbColor;
    TGroupBox* rgAlign;
    TRadioButton* rbAlign[3];
    TEdit* eCaption;
    TrEditNum* enWidth;
    TLabel* lFormat;
    TComboBox* cbFormat;
    TLabel* lContentInfo1;
    TLabel* lContentInfo2;
    TPanel* pTest;
    TLabel* lTest;
    TButton* btApply;
    TCheckBox* chGroupFields;
    TrURLLabel* btGroupSettings;
    TrURLLabel* btDefault;
    TrButton* btClose;

    // The grid or dataset the dialog works on; UseFixedCol offers the row header.
    TComponent* GDS = nullptr;
    bool UseFixedCol = false;

    // ---- what the user does (also the tests' hook) ----
    // Selects an entry; pending changes are asked about first. False when
    // the user cancelled and the edited entry stays selected.
    bool SelectEntry(int Index);
    // Checks or unchecks an entry and applies it to the column or field.
    void SetEntryChecked(int Index, bool Checked);
    void AllClick();
    // Moves the selected entry one place; false when it cannot move.
    bool MoveSelected(bool Up);
    void SetAlign(int Index);
    // Applies the pending properties of the selected entry.
    void SetProp();
    bool Pending() const;
    // Closes asking about pending changes; false when cancelled.
    bool TryClose();
    void SetDefaultClick();
    // How an entry is drawn: the row header in italics, a group master bold.
    TFontStyles EntryFontStyle(int Index) const;
    int FixedNum() const { return FFixedNum; }

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void SetUpListGestures();
    void DragOver(int Y);
    void DrawEntry(int Index, const TRect& Rect);
    bool IsGroupMaster(int Index) const;
    static void DisableGridSavers(TCustomDBGrid* Grid);
    int FDragFrom = -1;
    void LoadAll();
    void RefState();
    void ReadProp();
    void SetTest();
    void ApplyVisible(int Index);
    bool AskPending();
    bool MoveEntry(int From, int To);
    void CaptionExit();
    TColumn* ColumnOf(int Index) const;
    TField* FieldOf(int Index) const;
    TDataSet* DS = nullptr;
    TCustomDBGrid* Gr = nullptr;
    TrDBGrid* RGr = nullptr;
    bool SetAll = true;
    int FFixedNum = 0;
    bool SelFixedCol = false;
    int act = -1;
    bool FReading = false;
    bool FCaptionEdited = false;
    QStringList mNumFormat;
    QStringList mFldList;
};

// Shows the column choice dialog for a grid or a dataset (Mode: -1 no row
// header, 1 with it, else the configured default). Nothing without an active dataset.
void ChooseFields(TComponent* GridOrDataSet, int Mode);
