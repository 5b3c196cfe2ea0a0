#include "components/grid/TrDBGridCellParamsForm.h"

#include "platform/ui/PlaceControl.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rtool.h"
#include "components/grid/TGridsPropSave.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/TrDBGridCellParamsData.h"
#include "components/grid/rDBDlgButtons.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/GridCellCondTexts.h"
#include "resources/LibraryTexts.h"

#include <algorithm>

using namespace cellconddata;

// ---- the rule dialog -----------------------------------------------------------------------

TrDBGridCellParamsForm::TrDBGridCellParamsForm(TComponent* AOwner, TComponent* Grid) : TrDBDlgBaseForm(AOwner), rDBGrid(Grid)
{
    SetName(QStringLiteral("TrDBGridCellParamsForm"));
    SetCaption(cellcondtxt::Caption);
    SetClientWidth(860);
    SetClientHeight(350);
    Constraints.MinWidth = 600;
    Constraints.MinHeight = 200;
    PlaceControl<TLabel>(this, this, 8, 6, 300, 16, cellcondtxt::ListOfConditions);
    auto* hint = PlaceControl<TLabel>(this, this, 500, 6, 352, 16, cellcondtxt::ShownTextHint);
    hint->Font()->SetColor(clGrayText);
    hint->SetAlignment(taRightJustify);
    grCond = PlaceControl<TrStringGridEd>(this, this, 8, 24, 844, 220);
    grCond->SetName(QStringLiteral("grCond"));
    grCond->SetDrawingStyle(ParioCompConfig.rDBToolCfg.rDlg_GridDrawingStyle);
    grCond->SetColCount(colCount);
    grCond->SetFixedCols(1);
    grCond->SetFixedRows(1);
    grCond->SetRowCount(2);
    grCond->SetAutoAddNewRow(true);
    const int widths[colCount] = {11, 130, 80, 110, 50, 80, 90, 40, 60, 50, 80, 60, 40};
    for (int c = 0; c < colCount; ++c) {
        grCond->SetColWidths(c, widths[c]);
        grCond->SetCells(c, 0, cellcondtxt::ColumnTitles[c]);
    }
    TrStringGridEdColumns* cols = grCond->Columns();
    cols->Items(colField)->SetButtonStyle(sgbDropDownList);
    cols->Items(colField)->DropDownRows = 15;
    cols->Items(colSign)->SetButtonStyle(sgbDropDownList);
    cols->Items(colSign)->PickList = cellcondtxt::OperatorCaptions;
    cols->Items(colValue)->SetButtonStyle(sgbEllipsis);
    cols->Items(colAction)->SetButtonStyle(sgbDropDownList);
    cols->Items(colAction)->PickList = cellcondtxt::ActionCaptions;
    for (int c : {colFontColor, colBkColor}) {
        cols->Items(c)->SetButtonStyle(sgbDropDownColor);
        cols->Items(c)->DropDownListCanDelete = true;
    }
    for (int c : {colBold, colWholeRow, colStop, colSkip})
        cols->Items(c)->SetButtonStyle(sgbCheckbox);
    cols->Items(colIcon)->SetButtonStyle(sgbDropDownDataImage);
    cols->Items(colIcon)->DataType = sgdInteger;
    cols->Items(colIcon)->DropDownListCanDelete = true;
    if (TCustomImageList* images = cellconddata::DataImages(Grid))
        cols->Items(colIcon)->SetDataImageList(images);
    // Formats belong to ">>>" rows only.
    grCond->OnCanEdit = [this](TrStringGridEd*, int ACol, bool& CanEdit, int ARow) {
        if (ACol >= colFontColor && !IsFormattingRow(ARow))
            CanEdit = false;
    };
    grCond->OnGetCellParams = [this](TrStringGridEd*, int ACol, bool&, TColor& Background, TFont*, int ARow) {
        if (ARow > 0 && ACol >= colFontColor && !IsFormattingRow(ARow))
            Background = clBtnFace;
    };
    grCond->OnFinishCellEditing = [this](TrStringGridEd*, int ACol, int ARow) { CellEdited(ACol, ARow); };
    grCond->OnEllipsisClicked = [this](TrStringGridEd*, int, int ARow) { EditValue(ARow); };

    auto* moveLabel = PlaceControl<TLabel>(this, this, 8, 254, 120, 16, cellcondtxt::MoveOfCondition);
    btUp = PlaceControl<TButton>(this, this, 8, 272, 40, 25, QStringLiteral("\u2191"));
    btUp->SetHint(cellcondtxt::MoveUpHint);
    btUp->OnClick = [this](TComponent*) { MoveRow(grCond->Row(), true); };
    btDown = PlaceControl<TButton>(this, this, 52, 272, 40, 25, QStringLiteral("\u2193"));
    btDown->SetHint(cellcondtxt::MoveDownHint);
    btDown->OnClick = [this](TComponent*) { MoveRow(grCond->Row(), false); };
    auto* deleteLabel = PlaceControl<TLabel>(this, this, 140, 254, 140, 16, cellcondtxt::DeleteOfCondition);
    btClear = PlaceControl<TButton>(this, this, 140, 272, 70, 25, cellcondtxt::Clear);
    btClear->SetHint(cellcondtxt::ClearHint);
    btClear->OnClick = [this](TComponent*) { DeleteRow(grCond->Row()); };
    btAll = PlaceControl<TButton>(this, this, 214, 272, 70, 25, cellcondtxt::All);
    btAll->SetHint(cellcondtxt::AllHint);
    btAll->OnClick = [this](TComponent*) { ClearAll(); };
    const TDlgBottomRow bottom = AddDlgBottomRow(this, 310);
    pBottom = bottom.Panel;
    btUse = PlaceControl<TButton>(bottom.Right, this, 4, 8, 97, 25, cellcondtxt::Use);
    btUse->SetHint(cellcondtxt::UseHint);
    btUse->OnClick = [this](TComponent*) {
        StoreCond();
        LoadCond();
    };
    btOk = AddDlgButton(this, bottom, 108, libtxt::BaseFormOk, dgOk, mrNone);
    btOk->SetDefault(true);
    btOk->SetHint(cellcondtxt::OkHint);
    btCancel = AddDlgButton(this, bottom, 212, libtxt::BaseFormCancel, dgCancel, mrCancel);
    btCancel->SetCancel(true);
    btCancel->SetHint(cellcondtxt::CancelHint);
    btOk->OnClick = [this](TComponent*) {
        StoreCond();
        SetModalResult(mrOk);
    };
    // The rule grid takes what the dialog grows by; the row buttons stay
    // under it, clear of the bottom panel.
    grCond->SetAnchors(TAnchors(akLeft) | akTop | akRight | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{moveLabel, btUp, btDown, deleteLabel, btClear, btAll})
        c->SetAnchors(TAnchors(akLeft) | akBottom);
    // The rule grid's column widths are kept with the dialog's place.
    auto* columnWidths = new TGridsPropSave(this);
    columnWidths->StoreStrings = false;
    columnWidths->StoreRowColCount = false;
    columnWidths->SetPropSaveMain(rDlgPropSave);
    columnWidths->Components.Add(grCond->Name());

    // The grid's simple and memo columns, hidden ones too.
    cellconddata::FieldLists(Grid, FieldNames, FieldCaptions);
    cols->Items(colField)->PickList = FieldCaptions;
    LoadCond();
    BindDlgEvents(this);
}

TStringGrid* TrDBGridCellParamsForm::Table() const
{
    return grCond;
}

bool TrDBGridCellParamsForm::IsFormattingRow(int Row) const
{
    return Row > 0 && grCond->Cells(colAction, Row) == cellcondtxt::ActionCaptions[0];
}

void TrDBGridCellParamsForm::LoadCond()
{
    const std::vector<QStringList> rows = cellconddata::LoadRows(rDBGrid, FieldNames, FieldCaptions);
    grCond->SetRowCount(2);
    for (int c = 0; c < colCount; ++c)
        grCond->SetCells(c, 1, QString());
    grCond->SetRowCount(int(rows.size()) + 2);
    for (int i = 0; i < int(rows.size()); ++i)
        for (int c = 1; c < colCount; ++c)
            grCond->SetCells(c, i + 1, rows[size_t(i)].value(c));
    for (int c = 0; c < colCount; ++c)
        grCond->SetCells(c, grCond->RowCount() - 1, QString());
}

void TrDBGridCellParamsForm::StoreCond()
{
    std::vector<QStringList> rows;
    for (int row = 1; row <= grCond->RowCount() - 2; ++row) {
        QStringList cells;
        for (int c = 0; c < colCount; ++c)
            cells << grCond->Cells(c, row);
        rows.push_back(cells);
    }
    cellconddata::StoreRows(rDBGrid, rows, FieldNames, FieldCaptions);
}

void TrDBGridCellParamsForm::CellEdited(int ACol, int ARow)
{
    if (ACol == colField && !grCond->Cells(colField, ARow).isEmpty()) {
        if (grCond->Cells(colSign, ARow).isEmpty())
            grCond->SetCells(colSign, ARow, cellcondtxt::OperatorCaptions[0]);
        if (grCond->Cells(colAction, ARow).isEmpty())
            grCond->SetCells(colAction, ARow, cellcondtxt::ActionCaptions[0]);
    } else if (ACol == colAction && !IsFormattingRow(ARow)) {
        for (int c : {colFontColor, colBkColor, colBold, colWholeRow, colStop})
            grCond->SetCells(c, ARow, QString());
    }
    grCond->Invalidate();
}

void TrDBGridCellParamsForm::MoveRow(int Row, bool Up)
{
    const int last = grCond->RowCount() - 1;  // the empty new row
    auto swap = [this](int A, int B) {
        for (int c = 0; c < colCount; ++c) {
            const QString t = grCond->Cells(c, A);
            grCond->SetCells(c, A, grCond->Cells(c, B));
            grCond->SetCells(c, B, t);
        }
    };
    if (Up && Row == last && Row > 1) {
        grCond->SetRow(Row - 1);
    } else if (Up && Row > 1 && Row < last) {
        swap(Row, Row - 1);
        grCond->SetRow(Row - 1);
    } else if (!Up && Row >= 1 && Row < last - 1) {
        swap(Row, Row + 1);
        grCond->SetRow(Row + 1);
    }
}

void TrDBGridCellParamsForm::DeleteRow(int Row)
{
    const int last = grCond->RowCount() - 1;
    if (Row < 1 || Row >= last)
        return;
    for (int r = Row; r < last; ++r)
        for (int c = 0; c < colCount; ++c)
            grCond->SetCells(c, r, grCond->Cells(c, r + 1));
    for (int c = 0; c < colCount; ++c)
        grCond->SetCells(c, last, QString());
    if (grCond->RowCount() > 2)
        grCond->SetRowCount(grCond->RowCount() - 1);
}

void TrDBGridCellParamsForm::ClearAll()
{
    for (int r = 1; r < grCond->RowCount(); ++r)
        for (int c = 0; c < colCount; ++c)
            grCond->SetCells(c, r, QString());
    grCond->SetRowCount(2);
}

bool TrDBGridCellParamsForm::EditValue(int Row)
{
    // 1.
    const int f = FieldCaptions.indexOf(grCond->Cells(colField, Row));
    const cellconddata::TFieldValues values = cellconddata::FieldValues(rDBGrid, f >= 0 ? FieldNames[f] : QString());
    if (!values.Exists)
        return false;
    TrDBGridCellParamsValuesForm dlg(this);
    dlg.cond = grCond->Cells(colField, Row) + QLatin1Char(' ') + grCond->Cells(colSign, Row);
    // 2.
    dlg.cbValue->SetItems(values.Values);
    // 3.
    dlg.cbField->SetItems(FieldNames);
    const bool date = values.IsDate;
    dlg.rbDate->SetEnabled(date);
    dlg.dtDate->SetEnabled(date);
    dlg.chActualDate->SetEnabled(date);
    // 4.
    dlg.SetValue(grCond->Cells(colValue, Row));
    if (dlg.ShowModal() != mrOk)
        return false;
    grCond->SetCells(colValue, Row, dlg.Value());
    return true;
}

// ---- the value dialog -----------------------------------------------------------------------

TrDBGridCellParamsValuesForm::TrDBGridCellParamsValuesForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("TrDBGridCellParamsValuesForm"));
    SetCaption(cellcondtxt::ValueCaption);
    // Its own minimum, smaller than the dataset dialogs' one, before the size.
    Constraints.MinWidth = 360;
    Constraints.MinHeight = 312;
    SetClientWidth(360);
    SetClientHeight(312);
    // Only the condition itself is bold.
    lCond = PlaceControl<TrHTMLLabel>(this, this, 8, 8, 344, 18);
    lCond->SetCaptionStrings({cellcondtxt::EnteredCondition + QStringLiteral("<B><VAR>Cond</VAR>")});
    lCond->OnGetParameter = [this](TComponent*, QString& Param) {
        if (Param.compare(QLatin1String("Cond"), Qt::CaseInsensitive) == 0)
            Param = cond;
    };
    auto* gb = PlaceControl<TGroupBox>(this, this, 8, 32, 344, 230, cellcondtxt::ComparedValue);
    rbFix = PlaceControl<TRadioButton>(gb, this, 8, 20, 320, 20, cellcondtxt::FixValue);
    rbFix->SetChecked(true);
    cbValue = PlaceControl<TComboBox>(gb, this, 24, 42, 300, 23);
    cbValue->SetDropDownCount(15);
    rbDate = PlaceControl<TRadioButton>(gb, this, 8, 74, 320, 20, cellcondtxt::DateValue);
    dtDate = PlaceControl<TDateTimePicker>(gb, this, 24, 96, 140, 23);
    dtDate->SetDate(QDateToDateTime(QDate::currentDate()));
    chActualDate = PlaceControl<TCheckBox>(gb, this, 24, 122, 300, 20, cellcondtxt::ActualDate);
    rbField = PlaceControl<TRadioButton>(gb, this, 8, 150, 320, 20, cellcondtxt::OtherField);
    cbField = PlaceControl<TComboBox>(gb, this, 24, 172, 140, 23);
    PlaceControl<TLabel>(gb, this, 172, 156, 150, 16, cellcondtxt::UseSummary);
    cbSummary = PlaceControl<TComboBox>(gb, this, 172, 172, 150, 23);
    cbSummary->SetItems(QStringList{QString()} + cellcondtxt::SummaryFunctions);
    cbValue->OnChange = [this](TComponent*) { rbFix->SetChecked(true); };
    dtDate->OnChange = [this](TComponent*) { rbDate->SetChecked(true); };
    chActualDate->OnClick = [this](TComponent*) { rbDate->SetChecked(true); };
    cbField->OnChange = [this](TComponent*) { rbField->SetChecked(true); };
    cbSummary->OnChange = [this](TComponent*) { rbField->SetChecked(true); };
    const TDlgBottomRow bottom = AddDlgBottomRow(this, 210);
    btOk = AddDlgButton(this, bottom, 4, libtxt::BaseFormOk, dgOk, mrNone);
    btOk->SetDefault(true);
    btOk->SetHint(cellcondtxt::OkHint);
    btCancel = AddDlgButton(this, bottom, 108, libtxt::BaseFormCancel, dgCancel, mrCancel);
    btCancel->SetCancel(true);
    btCancel->SetHint(cellcondtxt::CancelHint);
    btOk->OnClick = [this](TComponent*) {
        if (CanClose())
            SetModalResult(mrOk);
    };
    BindDlgEvents(this);
}

void TrDBGridCellParamsValuesForm::SetValue(const QString& V)
{
    if (!V.startsWith(QLatin1Char('='))) {
        cbValue->SetText(V);
        rbFix->SetChecked(true);
        return;
    }
    if (V == QLatin1String("=$Date")) {
        chActualDate->SetChecked(true);
        rbDate->SetChecked(true);
        return;
    }
    const QString rest = V.mid(1);
    const int open = int(rest.indexOf(QLatin1Char('('))), close = int(rest.lastIndexOf(QLatin1Char(')')));
    if (open > 0 && close > open && cellcondtxt::SummaryFunctions.contains(rest.left(open), Qt::CaseInsensitive)) {
        cbSummary->SetText(rest.left(open).toUpper());
        cbField->SetText(rest.mid(open + 1, close - open - 1));
    } else {
        cbField->SetText(rest);
    }
    rbField->SetChecked(true);
}

QString TrDBGridCellParamsValuesForm::Value() const
{
    if (rbDate->Checked())
        return chActualDate->Checked() ? QStringLiteral("=$Date") : DateToStr(dtDate->Date());
    if (rbField->Checked()) {
        const QString fn = cbSummary->Text().trimmed();
        return fn.isEmpty() ? QLatin1Char('=') + cbField->Text() : QLatin1Char('=') + fn + QLatin1Char('(') + cbField->Text() + QLatin1Char(')');
    }
    return cbValue->Text();
}

bool TrDBGridCellParamsValuesForm::CanClose() const
{
    return !(rbField->Checked() && cbField->Text().trimmed().isEmpty());
}

bool DBGridCellParams(TComponent* Grid)
{
    if (!cellconddata::GridIsActive(Grid))
        return false;
    TrDBGridCellParamsForm dlg(GetActiveOwner(), Grid);
    dlg.ShowModal();
    return true;
}
