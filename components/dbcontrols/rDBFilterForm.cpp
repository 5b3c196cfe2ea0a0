#include "components/dbcontrols/rDBFilterForm.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"

#include <QFile>
#include <QLocale>

namespace {

constexpr int RowBetween = 6;

TrStringGridEd* PutGrid(TWinControl* Parent, TComponent* Owner, int X, int Y, int W, int H, int W0, int W1)
{
    auto* g = PlaceControl<TrStringGridEd>(Parent, Owner, X, Y, W, H);
    g->SetColCount(2);
    g->SetFixedCols(0);
    g->SetFixedRows(0);
    g->SetRowCount(1);
    g->SetOptions((g->Options() | goRowSelect) & ~goEditing);
    // The widths after the columns, which set their own on creation.
    g->SetColWidths(0, W0);
    g->SetColWidths(1, W1);
    g->SetLeftCol(0);
    return g;
}

bool IsValueField(const TField* F)
{
    return F && (dynamic_cast<const TNumericField*>(F) || IsDateTimeField(F));
}

}  // namespace

TrDBFilterForm::TrDBFilterForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBFilterForm"));
    SetCaption(dbctltxt::FilterCaption);
    SetClientWidth(674);
    SetClientHeight(404);
    Constraints.MinWidth = 674;
    Constraints.MinHeight = 404;
    auto* gb = PlaceControl<TGroupBox>(this, this, 8, 4, 658, 250, dbctltxt::AddOneCondition);
    PlaceControl<TLabel>(gb, this, 8, 18, 120, 16, dbctltxt::FieldCaption);
    lFieldName = PlaceControl<TLabel>(gb, this, 130, 18, 120, 16, dbctltxt::FieldName);
    sgPol = PutGrid(gb, this, 8, 34, 262, 172, 120, 120);
    sgPol->SetHint(dbctltxt::FieldsSelectionHint);
    sgPol->OnClick = [this](TComponent*) { FieldChanged(); };
    sgPol->OnDblClick = [this](TComponent*) { InsertText(GetQuotedFieldName(sgPol->Cells(1, sgPol->Row()))); };
    // Every drag is welcome over the field list; a drop there does nothing.
    sgPol->OnDragOver = [](TComponent*, TComponent*, int, int, bool& Accept) { Accept = true; };
    PlaceControl<TLabel>(gb, this, 278, 18, 120, 16, dbctltxt::SignLabel);
    sgSign = PutGrid(gb, this, 278, 34, 160, 172, 112, 36);
    sgSign->SetHint(dbctltxt::SignHint);
    sgSign->SetScrollBars(ssNone);
    sgSign->OnClick = [this](TComponent*) { RefreshValueEditors(); };
    sgSign->OnDblClick = [this](TComponent*) { InsertText(sgSign->Cells(1, sgSign->Row())); };
    lValue1 = PlaceControl<TLabel>(gb, this, 446, 18, 200, 16, dbctltxt::ValueLabel);
    eValue = PlaceControl<TComboBox>(gb, this, 446, 34, 204, 23);
    lblClearHist = PlaceControl<TrHTMLLabel>(gb, this, 446, 60, 204, 16);
    lblClearHist->SetCaptionStrings({dbctltxt::ClearHistory});
    lblClearHist->OnClick = [this](TComponent*) { eValue->Clear(); };
    eValNum1 = PlaceControl<TrEditNum>(gb, this, 446, 34, 204, 23);
    eValDate1 = PlaceControl<TDateTimePicker>(gb, this, 446, 34, 204, 23);
    rbValTrue = PlaceControl<TRadioButton>(gb, this, 446, 36, 80, 20, dbctltxt::YesText);
    rbValTrue->SetChecked(true);
    rbValFalse = PlaceControl<TRadioButton>(gb, this, 530, 36, 80, 20, dbctltxt::NoText);
    lValue2 = PlaceControl<TLabel>(gb, this, 446, 84, 200, 16, dbctltxt::ValueTo);
    eValNum2 = PlaceControl<TrEditNum>(gb, this, 446, 100, 204, 23);
    eValDate2 = PlaceControl<TDateTimePicker>(gb, this, 446, 100, 204, 23);
    for (TrEditNum* e : {eValNum1, eValNum2}) {
        e->Style = enFloat;
        e->StepValue = 1;
    }
    ToolBarPeriod = PlaceControl<TToolBar>(gb, this, 446, 128, 204, 24);
    ToolBarPeriod->SetAlign(alNone);
    ToolBarPeriod->SetBounds(446, 128, 204, 24);
    ToolBarPeriod->SetShowCaptions(true);
    ToolBarPeriod->SetButtonWidth(120);
    btPeriod = new TToolButton(this);
    btPeriod->SetParent(ToolBarPeriod);
    btPeriod->SetStyle(tbsDropDown);
    btPeriod->SetCaption(dbctltxt::SetPeriod);
    BuildPeriodMenu();
    btPeriod->DropdownMenu = pmPeriod;
    ToolBarPeriod->SetButtonWidth(130);
    auto* rgAndOr = PlaceControl<TGroupBox>(gb, this, 446, 160, 204, 44, dbctltxt::LogicalOperator);
    rbAnd = PlaceControl<TRadioButton>(rgAndOr, this, 10, 18, 80, 20, dbctltxt::AndText);
    rbAnd->SetChecked(true);
    rbOr = PlaceControl<TRadioButton>(rgAndOr, this, 100, 18, 80, 20, dbctltxt::OrText);
    btAdd = PlaceControl<TButton>(gb, this, 8, 214, 200, 27, dbctltxt::AddCondition);
    btAdd->SetHint(dbctltxt::AddConditionHint);
    btAdd->OnClick = [this](TComponent*) { AddCondition(false); };
    btAddOk = PlaceControl<TButton>(gb, this, 216, 214, 200, 27, dbctltxt::AddConditionOk);
    btAddOk->SetHint(dbctltxt::AddConditionOkHint);
    btAddOk->OnClick = [this](TComponent*) { AddCondition(true); };

    auto* lRes = PlaceControl<TLabel>(this, this, 8, 260, 200, 16, dbctltxt::FilterConditions);
    lRes->Font()->SetStyle(fsBold);
    eRes = PlaceControl<TMemo>(this, this, 8, 278, 520, 82);
    eRes->WantReturns = false;
    eRes->SetScrollBars(ssVertical);
    eRes->SetHint(dbctltxt::FilterConditionsHint);
    eRes->OnChange = [this](TComponent*) { ExpressionChanged(); };
    btClear = PlaceControl<TButton>(this, this, 536, 278, 130, 25, dbctltxt::ClearAll);
    btClear->SetHint(dbctltxt::ClearAllHint);
    btClear->OnClick = [this](TComponent*) { eRes->Clear(); };
    btLoad = PlaceControl<TButton>(this, this, 536, 306, 62, 25, QStringLiteral("\u2191"));
    btLoad->SetHint(dbctltxt::LoadConditionsHint);
    btLoad->OnClick = [this](TComponent*) {
        TOpenDialog dlg(this);
        dlg.DefaultExt = QStringLiteral("flt");
        dlg.Filter = dbctltxt::FilterFiles + QStringLiteral("|") + dbctltxt::AllFiles;
        if (dlg.Execute())
            LoadConditions(dlg.FileName);
    };
    btSave = PlaceControl<TButton>(this, this, 604, 306, 62, 25, QStringLiteral("\u2193"));
    btSave->SetHint(dbctltxt::SaveConditionsHint);
    btSave->OnClick = [this](TComponent*) {
        TSaveDialog dlg(this);
        dlg.DefaultExt = QStringLiteral("flt");
        dlg.Filter = dbctltxt::FilterFiles + QStringLiteral("|") + dbctltxt::AllFiles;
        dlg.Options = dlg.Options | ofOverwritePrompt;
        if (dlg.Execute())
            SaveConditions(dlg.FileName);
    };
    chCase = PlaceControl<TCheckBox>(this, this, 536, 332, 130, 18, dbctltxt::CaseSensitive);
    chCase->OnClick = [this](TComponent*) { ExpressionChanged(); };
    cbDelQuotes = PlaceControl<TCheckBox>(this, this, 536, 350, 130, 18, dbctltxt::DeleteQuotes);
    cbDelQuotes->SetVisible(false);
    btTest = PlaceControl<TButton>(this, this, 8, 370, 80, 27, dbctltxt::Test);
    btTest->SetHint(dbctltxt::TestHint);
    btTest->SetEnabled(false);
    btTest->OnClick = [this](TComponent*) { TestClick(); };
    lTest = PlaceControl<TLabel>(this, this, 96, 376, 170, 16);
    chShowRecCount = PlaceControl<TCheckBox>(this, this, 270, 370, 140, 20, dbctltxt::ShowRecordCount);
    btOk = PlaceControl<TrButton>(this, this, 478, 370, 90, 27, dbctltxt::Ok);
    SetButtonGlyph(btOk, dgOk);
    btOk->SetDefault(true);
    btOk->SetHint(dbctltxt::UseFilterHint);
    btOk->OnClick = [this](TComponent*) { OkClick(); };
    btCancel = PlaceControl<TrButton>(this, this, 576, 370, 90, 27, dbctltxt::Cancel);
    SetButtonGlyph(btCancel, dgCancel);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
    btCancel->SetHint(dbctltxt::CancelHint);
    SetNames();
    SetAnchorsOnResize(gb, lRes);
    SetUpPropSave();
    FormCreate(this);
    OnActivate = [this](TComponent* S) { FormActivate(S); };
}

void TrDBFilterForm::SetAnchorsOnResize(TGroupBox* Group, TLabel* ResLabel)
{
    // A wider window widens the field list and the expression; a higher one
    // gives the expression the room. Everything right of them follows the
    // right edge, the bottom row the bottom edge.
    Group->SetAnchors(akLeft | akTop | akRight);
    sgPol->SetAnchors(akLeft | akTop | akRight);
    for (int i = 0; i < Group->ControlCount(); ++i) {
        TControl* c = Group->Controls(i);
        if (c != sgPol && c->Left() > sgPol->Left() + sgPol->Width() - 8)
            c->SetAnchors(akRight | akTop);
    }
    ResLabel->SetAnchors(akLeft | akTop);
    eRes->SetAnchors(akLeft | akTop | akRight | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{btClear, btLoad, btSave, chCase, cbDelQuotes})
        c->SetAnchors(akRight | akTop);
    for (TControl* c : std::initializer_list<TControl*>{btTest, lTest, chShowRecCount})
        c->SetAnchors(akLeft | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{btOk, btCancel})
        c->SetAnchors(akRight | akBottom);
}

void TrDBFilterForm::SetNames()
{
    const std::pair<TComponent*, const char*> names[] = {
        {eValue, "eValue"},       {cbDelQuotes, "cbDelQuotes"}, {chShowRecCount, "chShowRecCount"}, {chCase, "chCase"},
        {eValNum1, "eValNum1"},   {eValNum2, "eValNum2"},       {eValDate1, "eValDate1"},           {eValDate2, "eValDate2"},
        {sgPol, "sgPol"},         {sgSign, "sgSign"},           {eRes, "eRes"}};
    for (const auto& [c, n] : names)
        c->SetName(QLatin1String(n));
}

// ---- what the dialog keeps between uses --------------------------------------------------------

QString TrDBFilterForm::GridSection() const
{
    const TComponent* owner = GDS ? GDS->Owner() : nullptr;
    return QStringLiteral("rDBFilterForm.%1.%2").arg(owner ? owner->Name() : QString(), GDS ? GDS->Name() : QString());
}

void TrDBFilterForm::SetUpPropSave()
{
    // Read when shown and saved when closed, by the dialog itself.
    rDlgPropSave->PropSaveEvents = pseNone;
    for (TComponent* c : std::initializer_list<TComponent*>{cbDelQuotes, eValue, chShowRecCount, chCase, eValNum1, eValNum2})
        rDlgPropSave->StdCtrl()->Components.Add(c->Name());
    rDlgPropSave->OnReadProperties = [this](TPropSaveFile* F, const QString& Key) { ReadOwnProps(F, Key); };
    rDlgPropSave->OnSaveProperties = [this](TPropSaveFile* F, const QString& Key) { SaveOwnProps(F, Key); };
}

void TrDBFilterForm::ReadOwnProps(TPropSaveFile* F, const QString& Key)
{
    try {
        // The pickers keep the day as a number: a text would follow the locale.
        for (TDateTimePicker* d : {eValDate1, eValDate2})
            d->SetDate(F->ReadFloat(Key + QLatin1Char('.') + d->Name(), QStringLiteral("Date"), d->Date()));
        const QString section = GridSection();
        QString field;
        if (!ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields)
            field = F->ReadString(section, QStringLiteral("SelectedField"), QString());
        // A field no longer listed leaves the grid's column selected.
        if (!field.isEmpty())
            SelectField(field);
        SelectSign(F->ReadInteger(section, QStringLiteral("SelectedOperator"), 0));
    } catch (const std::exception&) {
        // A damaged entry leaves the dialog as it opened.
    }
}

void TrDBFilterForm::SaveOwnProps(TPropSaveFile* F, const QString& Key)
{
    for (TDateTimePicker* d : {eValDate1, eValDate2})
        F->WriteFloat(Key + QLatin1Char('.') + d->Name(), QStringLiteral("Date"), double(d->Date()));
    const QString section = GridSection();
    if (!ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields)
        F->WriteString(section, QStringLiteral("SelectedField"), sgPol->Cells(1, sgPol->Row()));
    F->WriteInteger(section, QStringLiteral("SelectedOperator"), sgSign->Row());
}

void TrDBFilterForm::FocusValueEditor()
{
    for (TWinControl* c : std::initializer_list<TWinControl*>{eValue, eValNum1, eValDate1})
        if (c->Visible() && c->CanFocus()) {
            c->SetFocus();
            return;
        }
}

void TrDBFilterForm::DoClose(TCloseAction& Action)
{
    TrDBDlgBaseForm::DoClose(Action);
    rDlgPropSave->SaveProperties();
    FormClose(this, Action);
}

TDataSet* TrDBFilterForm::DataSet() const
{
    return GetDataSet(GDS);
}

void TrDBFilterForm::DoShow()
{
    // 1.
    FormShow(this);
    const bool hideNames = ParioCompConfig.rDBFilterCfg.HideFieldNames;
    if (hideNames)
        sgPol->SetColWidths(1, 0);
    lFieldName->SetVisible(!hideNames);
    sgPol->SetDrawingStyle(ParioCompConfig.rDBToolCfg.rDlg_GridDrawingStyle);
    sgSign->SetDrawingStyle(ParioCompConfig.rDBToolCfg.rDlg_GridDrawingStyle);
    // 2. The visible simple and memo fields, captions and names.
    TStringList captions, names;
    const TGetFldDefs defs = FldDef(fdVisibleFieldOnly) | FldDef(fdSimpleField) | FldDef(fdMemoField);
    GetFldList(GDS, &captions, defs | FldDef(fdGetLabels));
    GetFldList(GDS, &names, defs);
    sgPol->SetRowCount(std::max(1, names.Count()));
    for (int i = 0; i < names.Count(); ++i) {
        sgPol->SetCells(0, i, i < captions.Count() ? captions[i] : names[i]);
        sgPol->SetCells(1, i, names[i]);
    }
    // 3.
    lTest->SetCaption(QString());
    TDataSet* ds = DataSet();
    FAdvantage = IsAdvantageDatabaseDataset(ds);
    chCase->SetChecked(!(ds->FilterOptions() & foCaseInsensitive));
    chCase->SetVisible(ParioCompConfig.rDBFilterCfg.ShowCaseSensitive);
    // 4. Sorted by caption, names moving along.
    if (Sorted) {
        const int n = names.Count();
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (sgPol->Cells(0, j).compare(sgPol->Cells(0, i), Qt::CaseInsensitive) < 0)
                    for (int c = 0; c < 2; ++c) {
                        const QString t = sgPol->Cells(c, i);
                        sgPol->SetCells(c, i, sgPol->Cells(c, j));
                        sgPol->SetCells(c, j, t);
                    }
    }
    sgPol->SetRow(0);
    // 5.
    eValDate1->SetDate(Date());
    eValDate2->SetDate(Date());
    // 6. The saved field, comparison, values and options; without a saved
    // field the grid's selected column, else the first row.
    TCustomDBGrid* grid = dynamic_cast<TCustomDBGrid*>(GDS);
    TField* gridField = grid ? grid->SelectedField() : nullptr;
    if (!gridField || !SelectField(gridField->FieldName()))
        FieldChanged();
    rDlgPropSave->ReadProperties();
    // A box saved ticked while it was shown must not strip quotes unseen.
    if (!cbDelQuotes->Visible())
        cbDelQuotes->SetChecked(false);
    eValue->SetText(QString());
    eRes->SetSelStart(int(eRes->Text().size()));
    TrDBDlgBaseForm::DoShow();
    FocusValueEditor();
}

// ---- field, comparison and value ----------------------------------------------------------------

bool TrDBFilterForm::SelectField(const QString& FieldName)
{
    for (int r = 0; r < sgPol->RowCount(); ++r)
        if (sgPol->Cells(1, r).compare(FieldName, Qt::CaseInsensitive) == 0) {
            sgPol->SetRow(r);
            FieldChanged();
            return true;
        }
    return false;
}

void TrDBFilterForm::SelectSign(int Row)
{
    if (Row >= 0 && Row < sgSign->RowCount())
        sgSign->SetRow(Row);
    RefreshValueEditors();
}

void TrDBFilterForm::FieldChanged()
{
    TDataSet* ds = DataSet();
    const QString name = sgPol->Cells(1, sgPol->Row());
    FSelFld = ds && !name.isEmpty() ? ds->FindField(name) : nullptr;
    const int kind = !FSelFld ? 1 : FSelFld->DataType() == ftBoolean ? 3 : IsValueField(FSelFld) ? 2 : 1;
    if (kind != FSelFldType) {
        static const QStringList textOps = {QStringLiteral("LIKE"), QStringLiteral("LIKE"), QStringLiteral("="), QStringLiteral("<>"),
                                            QStringLiteral(">"),    QStringLiteral(">="),   QStringLiteral("<"), QStringLiteral("<=")};
        static const QStringList valueOps = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"), QStringLiteral(">="),
                                             QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(" - ")};
        const QStringList& captions = kind == 1 ? dbctltxt::TextSigns : dbctltxt::ValueSigns;
        const QStringList& ops = kind == 1 ? textOps : valueOps;
        const int rows = kind == 3 ? 2 : int(captions.size());
        sgSign->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            sgSign->SetCells(0, r, captions[r]);
            sgSign->SetCells(1, r, kind == 1 && r < 2 && FAdvantage ? QStringLiteral("$") : ops[r]);
        }
        sgSign->SetRow(0);
        FSelFldType = kind;
    }
    RefreshValueEditors();
}

void TrDBFilterForm::RefreshValueEditors()
{
    const bool number = FSelFld && dynamic_cast<TNumericField*>(FSelFld);
    const bool date = FSelFld && IsDateTimeField(FSelFld);
    const bool boolean = FSelFldType == 3;
    const bool text = !number && !date && !boolean;
    const bool between = (number || date) && sgSign->Row() == RowBetween;
    eValue->SetVisible(text);
    lblClearHist->SetVisible(text);
    eValNum1->SetVisible(number);
    eValNum2->SetVisible(number && between);
    eValDate1->SetVisible(date);
    eValDate2->SetVisible(date && between);
    ToolBarPeriod->SetVisible(date && between);
    ToolBarPeriod->SetButtonWidth(130);  // lays the shown button out again
    rbValTrue->SetVisible(boolean);
    rbValFalse->SetVisible(boolean);
    lValue2->SetVisible(between);
    lValue1->SetCaption(between ? dbctltxt::ValueFrom : dbctltxt::ValueLabel);
}

void TrDBFilterForm::AddTextToFieldList(const QString& Caption, const QString& Name)
{
    int r = sgPol->RowCount();
    if (r == 1 && sgPol->Cells(1, 0).isEmpty())
        r = 0;
    sgPol->SetRowCount(r + 1);
    sgPol->SetCells(0, r, Caption);
    sgPol->SetCells(1, r, Name);
}

void TrDBFilterForm::AddTextToValueList(const QString& Text)
{
    for (const QString& s : eValue->Items())
        if (s.compare(Text, Qt::CaseInsensitive) == 0)
            return;
    QStringList items = eValue->Items();
    items << Text;
    items.sort(Qt::CaseInsensitive);
    const QString keep = eValue->Text();
    eValue->SetItems(items);
    eValue->SetText(keep);
}

// ---- building the expression --------------------------------------------------------------------

QString TrDBFilterForm::ValueHook(const QString& Text, int EventId)
{
    if (!ParioCompConfig.Global_OnParioCompGeneralEvent)
        return Text;
    QVariant v(Text);
    ParioCompConfig.Global_OnParioCompGeneralEvent(this, EventId, FSelFld, nullptr, v);
    return v.toString();
}

QString TrDBFilterForm::MakeCondition()
{
    TDataSet* ds = DataSet();
    const int sign = sgSign->Row();
    const QString quote = IsApostrField(FSelFld) ? QStringLiteral("'") : QString();
    const QString F = GetQuotedFieldName(FSelFld->FieldName());
    const bool number = dynamic_cast<TNumericField*>(FSelFld) != nullptr;
    const bool date = IsDateTimeField(FSelFld);
    if ((number || date) && sign == RowBetween) {
        const QString from = ValueHook(number ? GetNumericFieldFilterValue(eValNum1->Value()) : GetDateFieldFilterValue(eValDate1->Date()), 1);
        const QString to = ValueHook(number ? GetNumericFieldFilterValue(eValNum2->Value()) : GetDateFieldFilterValue(eValDate2->Date()), 1);
        return MakeFilterBetweenCond(F, from, to, number ? QString() : QStringLiteral("'"));
    }
    if (FSelFldType == 1 && sign < 2 && FAdvantage)
        return QStringLiteral("(") + quote + ValueHook(eValue->Text(), 1) + quote + QStringLiteral(" $ ") + F + QStringLiteral(")");
    QString value, op = sgSign->Cells(1, sign), N;
    if (number) {
        value = GetNumericFieldFilterValue(eValNum1->Value());
    } else if (date) {
        value = GetDateFieldFilterValue(eValDate1->Date());
    } else if (FSelFldType == 3) {
        const QString* b = ParioCompConfig.rDBFilterCfg.BooleanString;
        value = rbValTrue->Checked() ? b[1] : b[0];
    } else {
        value = eValue->Text();
        const QString wild(GetFilterWildCardChar(ds, false));
        if (sign == 0)
            value = wild + value + wild;
        else if (sign == 1)
            value += wild;
        if (sign < 2)
            op = GetFilterLikeOperator(ds, false);
        if (IsMemoField(FSelFld) && IsClientDataset(ds) && (sign == 2 || sign == 3)) {
            op = GetFilterLikeOperator(ds, false);
            if (sign == 3)
                N = QStringLiteral(" NOT ");
        }
    }
    return MakeFilterCond(N + F, op, ValueHook(value, 1), quote);
}

void TrDBFilterForm::AddCondition(bool AndOk)
{
    if (!FSelFld)
        return;
    // 1.
    const QString typed = eValue->Text().trimmed();
    if (eValue->Visible() && !typed.isEmpty())
        AddTextToValueList(typed);
    // 3.
    if (AndOk)
        eRes->Clear();
    if (!eRes->Text().trimmed().isEmpty())
        InsertText(rbOr->Checked() ? QStringLiteral(" OR ") : QStringLiteral(" AND "));
    // 4.-6.
    InsertText(ValueHook(MakeCondition(), 2));
    eValue->SetText(QString());
    if (sgPol->CanFocus())
        sgPol->SetFocus();
    if (AndOk)
        OkClick();
}

void TrDBFilterForm::InsertText(const QString& Text)
{
    eRes->SetSelText(Text);
}

void TrDBFilterForm::ExpressionChanged()
{
    btTest->SetEnabled(true);
    lTest->SetCaption(QString());
}

// ---- applying -----------------------------------------------------------------------------------

bool TrDBFilterForm::SetFilter(bool TestOnly)
{
    TDataSet* ds = DataSet();
    // 1.
    try {
        TFilterOptions o = ds->FilterOptions();
        ds->SetFilterOptions(chCase->Checked() ? o & ~TFilterOptions(foCaseInsensitive) : o | foCaseInsensitive);
    } catch (const std::exception&) {
    }
    // 2.
    QString text = eRes->Text().trimmed();
    if (cbDelQuotes->Checked())
        text.remove(QLatin1Char('"'));
    // 3.
    const bool ok = ::SetFilterString(ds, text, true);
    if (ok && text.isEmpty())
        ds->SetFilter(QString());
    // 4.
    if (TestOnly || !ok)
        return ok;
    // 5.
    if (chShowRecCount->Checked()) {
        int count = 0;
        ScanAllRecords(ds, [&](TDataSet*, int, bool&) { ++count; }, true, false, true);
        DlgI(QString(dbctltxt::SelectedRecords).replace(QStringLiteral("%d"), QString::number(count)));
    }
    // 6. The grid marks the columns the expression filters by.
    if (auto* g = dynamic_cast<TrDBGrid*>(GDS))
        TrDBGridColumnFilters::Of(g)->RefreshFilteredFieldNames();
    return true;
}

void TrDBFilterForm::TestClick()
{
    TDataSet* ds = DataSet();
    const TFilterOptions options = ds->FilterOptions();
    const QString filter = ds->Filter();
    const bool filtered = ds->Filtered();
    if (SetFilter(true)) {
        lTest->SetCaption(dbctltxt::AllOk + QStringLiteral(" ")
                          + QString(dbctltxt::SelectedRecords).replace(QStringLiteral("%d"), QString::number(ds->RecordCount())));
        btTest->SetEnabled(false);
    } else {
        lTest->SetCaption(QString());
    }
    ds->SetFilterOptions(options);
    ds->SetFilter(filter);
    ds->SetFiltered(filtered);
}

void TrDBFilterForm::OkClick()
{
    if (SetFilter(false))
        SetModalResult(mrOk);
}

// ---- files --------------------------------------------------------------------------------------

void TrDBFilterForm::LoadConditions(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly)) {
        DlgE(f.errorString());
        return;
    }
    eRes->SetText(QString::fromUtf8(f.readAll()).trimmed());
}

void TrDBFilterForm::SaveConditions(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(eRes->Text().toUtf8()) < 0) {
        DlgE(f.errorString());
        return;
    }
}

// ---- period menu --------------------------------------------------------------------------------

void TrDBFilterForm::SetPeriod(TFilterPeriodKind Kind, int N)
{
    const auto [from, to] = FilterPeriod(Kind, N, DateTimeToQDateTime(Date()).date());
    eValDate1->SetDate(QDateTimeToDateTime(QDateTime(from, QTime())));
    eValDate2->SetDate(QDateTimeToDateTime(QDateTime(to, QTime())));
}

void TrDBFilterForm::BuildPeriodMenu()
{
    pmPeriod = BuildFilterPeriodMenu(this, QStringLiteral("Other"), [this](TFilterPeriodKind Kind, int N) { SetPeriod(Kind, N); });
}

bool FilterRec(TComponent* GridOrDataSet, bool Sorted)
{
    if (!IsLinkedAndActive(GridOrDataSet))
        return false;
    auto* f = new TrDBFilterForm(GetActiveOwner());
    f->GDS = GridOrDataSet;
    f->eRes->SetText(GetDataSet(GridOrDataSet)->Filter());
    f->cbDelQuotes->SetVisible(ParioCompConfig.rDBFilterCfg.ShowDelQuotes);
    if (!ParioCompConfig.rDBFilterCfg.ShowDelQuotes)
        f->cbDelQuotes->SetChecked(false);
    f->Sorted = Sorted;
    const bool ok = f->ShowModal() == mrOk;
    FreeF(f);
    return ok;
}
