#pragma once
// The table properties dialog: every change is applied to the grid at once
// (lines, colours, filters, fonts, row heights, style, column widths, frozen
// columns, field groups, memo preview); "Close" keeps them all.

#include "components/grid/rDBDlgBaseForm.h"

#include <functional>

class TrDBGrid;
class TCheckBox;
class TrColorBox;
class TrEditNum;
class TComboBox;
class TGroupBox;
class TPanel;
class TLabel;
class TButton;

// Dialogs of the layers above the grid that the properties dialog opens, and
// the settings kept by parts that link themselves to the grid; a control
// whose hook is missing is not shown.
struct TrDBGridPropsHooks {
    std::function<void(TrDBGrid* Grid)> ChooseFields;
    std::function<void(TrDBGrid* Grid)> CellParams;
    std::function<void(TrDBGrid* Grid)> FieldsGroups;
    std::function<bool(TrDBGrid* Grid)> GetCellConditionActive;
    std::function<void(TrDBGrid* Grid, bool Active)> SetCellConditionActive;
};
TrDBGridPropsHooks& DBGridPropsHooks();

class TrDBGridPropsForm : public TrDBDlgBaseForm {
public:
    explicit TrDBGridPropsForm(TComponent* AOwner);
    TrDBGrid* Gr = nullptr;

    TGroupBox* gbLines;
    TCheckBox* chRowLines;
    TCheckBox* chRowLineDot;
    TrColorBox* cbColorDataLine;
    TGroupBox* gbColors;
    TCheckBox* chColorActiveRow;
    TrColorBox* cbColorActiveRow;
    TCheckBox* chActiveRowGradient;
    TCheckBox* chColoredOdd;
    TrColorBox* cbColorOdd;
    TCheckBox* chFontFiltered;
    TrColorBox* cbColorFiltered;
    TCheckBox* chGradient;
    TPanel* pGradFrom;
    TPanel* pGradTo;
    TLabel* lFromTo;
    TLabel* lStyle;
    TComboBox* cbStyle;
    TGroupBox* gbFilters;
    TCheckBox* chTitleFilterBtn;
    TCheckBox* chTitleFilterBar;
    TCheckBox* chFilterPanel;
    TCheckBox* chColorRec;
    TButton* btColorRec;
    TGroupBox* gbColumns;
    TCheckBox* cbAutoWidth;
    TCheckBox* cbSameWidth;
    TButton* btWidthData;
    TButton* btWidthDef;
    TButton* btColumn;
    TLabel* lFixedCols;
    TLabel* lFixedColsCount;
    TrEditNum* eFixedCols;
    TLabel* lColorFixedCol;
    TrColorBox* cbColorFixedCol;
    TGroupBox* gbFonts;
    TButton* btFont;
    TButton* btFontTitle;
    TLabel* lRowLines;
    TrEditNum* eRowLines;
    TLabel* lTitleLines;
    TrEditNum* eTitleLines;
    TCheckBox* chShowMemoContent;
    TCheckBox* chGroupFields;
    TButton* btGroupSettings;
    TButton* btDefault;
    TPanel* pBottom;
    TrButton* btClose;

    // Which control groups show (DBGridProperties sets them before showing).
    void AdjustVisibility(bool ShowColumns, bool ShowCellConditions, bool ShowFilters, bool ShowStyles);
    void FormShow();
    void LoadColors();
    void SetAll();
    // The "Set default properties" work after the question.
    void SetDefault();
private:
    void Wire();
    void LineChange();
    bool FLoading = false;
};

void DBGridProperties(TrDBGrid* Grid, bool ShowColumns, bool ShowCellConditions, bool ShowFilters, bool ShowStyles);
