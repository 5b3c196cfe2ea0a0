#pragma once
// The condition dialog behind the funnel's "Filter...": one comparison for a
// number, text or date column (with a menu of ready-made date periods),
// turned into a filter condition for the grid's column filter.

#include "components/base/rdlg_baseform.h"
#include "components/grid/rDBFilterPeriod.h"

class TrDBGrid;
class TField;
class TPageControl;
class TTabSheet;
class TListBox;
class TrEditNum;
class TComboBox;
class TDateTimePicker;
class TToolBar;
class TToolButton;
class TPopupMenu;
class TLabel;
struct TFilterCondInputs;

class TrDBGridFilterCondForm : public TrDlgBaseForm {
public:
    explicit TrDBGridFilterCondForm(TComponent* AOwner);

    TPageControl* pc;
    TTabSheet *tsNum, *tsText, *tsDate;
    TListBox *lbSignNum_nostore, *lbSignText_nostore, *lbSignDate_nostore;
    TrEditNum *eValNum1, *eValNum2;
    TComboBox* cbValText1_nostore;
    TDateTimePicker *eValDate1, *eValDate2;
    TLabel *lNum2, *lDate2;
    TToolBar* ToolBarPeriod;
    TToolButton* btPeriod;
    TPopupMenu* pmPeriod;
    // The result, read after ShowModal gave mrOk.
    QString FilterString;

    void InitCond(TrDBGrid* DBGrid, TField* DisplayField);
    // Builds FilterString from the active page (what Ok does).
    void btOkClick();
    // The two dates of a period item counted from Today.
    void SetPeriod(TFilterPeriodKind Kind, int N, const QDate& Today);
    void RefAll();
    void LoadInputs(const TFilterCondInputs& In);
    void StoreInputs(TFilterCondInputs& Out) const;

protected:
    void DoShow() override;

private:
    void RefreshOk();
    TrDBGrid* Gr = nullptr;
    TField* Fld = nullptr;
};
