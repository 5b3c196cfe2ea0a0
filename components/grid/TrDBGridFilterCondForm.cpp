#include "components/grid/TrDBGridFilterCondForm.h"

#include "components/base/rEditNum.h"
#include "platform/ui/PlaceControl.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/TrDBGridFilterForm.h"
#include "components/grid/TrDBGridFilterGlyphs.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "resources/GridFilterTexts.h"

namespace {

const QStringList NumCond = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"), QStringLiteral(">="),
                             QStringLiteral("<"), QStringLiteral("<=")};
const QStringList TextCond = {QStringLiteral("="), QStringLiteral("<>")};
const QStringList DateCond = {QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">")};

double NumberOf(const TrEditNum* E)
{
    double v = 0;
    TrEditNum::ReadNumber(E->Text(), v);
    return v;
}

}  // namespace

TrDBGridFilterCondForm::TrDBGridFilterCondForm(TComponent* AOwner) : TrDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("TrDBGridFilterCondForm"));
    // Opened beside its funnel list, it keeps no place of its own between
    // runs; its inputs are kept per field by the funnel list.
    if (auto* saver = dynamic_cast<TPropSaveMain*>(DlgPropSave)) {
        saver->FormSavePos = false;
        saver->PropSaveEvents = pseNone;
    }
    SetClientWidth(355);
    SetClientHeight(196);
    pc = PlaceControl<TPageControl>(this, this, 0, 0, 355, 155);
    pc->SetAlign(alClient);
    auto page = [this](const QStringList& Signs, TListBox*& List) {
        auto* ts = new TTabSheet(this);
        ts->SetPageControl(pc);
        ts->SetTabVisible(false);
        PlaceControl<TLabel>(ts, this, 8, 6, 150, 16, gridfiltxt::TypeOfComparison);
        List = PlaceControl<TListBox>(ts, this, 8, 24, 150, 124);
        List->SetItems(Signs);
        PlaceControl<TLabel>(ts, this, 170, 6, 170, 16, gridfiltxt::Value);
        return ts;
    };
    tsNum = page(gridfiltxt::NumSigns, lbSignNum_nostore);
    eValNum1 = PlaceControl<TrEditNum>(tsNum, this, 170, 24, 170, 23);
    lNum2 = PlaceControl<TLabel>(tsNum, this, 170, 54, 170, 16, gridfiltxt::Value);
    eValNum2 = PlaceControl<TrEditNum>(tsNum, this, 170, 72, 170, 23);
    for (TrEditNum* e : {eValNum1, eValNum2}) {
        e->Style = enFloat;
        e->StepValue = 1;
        e->OnChange = [this](TComponent*) { RefreshOk(); };
    }
    lbSignNum_nostore->OnClick = [this](TComponent*) { RefAll(); };
    tsText = page(gridfiltxt::TextSigns, lbSignText_nostore);
    cbValText1_nostore = PlaceControl<TComboBox>(tsText, this, 170, 24, 170, 23);
    cbValText1_nostore->OnChange = [this](TComponent*) { RefreshOk(); };
    lbSignText_nostore->OnClick = [this](TComponent*) { RefreshOk(); };
    tsDate = page(gridfiltxt::DateSigns, lbSignDate_nostore);
    eValDate1 = PlaceControl<TDateTimePicker>(tsDate, this, 170, 24, 170, 23);
    lDate2 = PlaceControl<TLabel>(tsDate, this, 170, 54, 170, 16, gridfiltxt::Value);
    eValDate2 = PlaceControl<TDateTimePicker>(tsDate, this, 170, 72, 170, 23);
    lbSignDate_nostore->OnClick = [this](TComponent*) { RefAll(); };
    ToolBarPeriod = PlaceControl<TToolBar>(tsDate, this, 170, 104, 170, 24);
    ToolBarPeriod->SetAlign(alNone);
    ToolBarPeriod->SetBounds(170, 104, 170, 24);
    ToolBarPeriod->SetShowCaptions(true);
    ToolBarPeriod->List = true;
    ToolBarPeriod->SetButtonWidth(120);
    ToolBarPeriod->Images = MakePeriodImages(this);
    btPeriod = new TToolButton(this);
    btPeriod->SetParent(ToolBarPeriod);
    btPeriod->SetStyle(tbsDropDown);
    btPeriod->SetCaption(gridfiltxt::SetPeriod);
    btPeriod->SetImageIndex(PeriodImageIndex);
    pmPeriod = BuildFilterPeriodMenu(this, gridfiltxt::OtherPeriod,
                                     [this](TFilterPeriodKind Kind, int N) { SetPeriod(Kind, N, QDate::currentDate()); });
    btPeriod->DropdownMenu = pmPeriod;
    ToolBarPeriod->SetButtonWidth(130);
    // The period bar keeps its size when the window is laid out at its
    // creation, so its button takes its width (caption and picture) then.
    OnCreate = [this, created = OnCreate](TComponent* S) {
        if (created)
            created(S);
        ToolBarPeriod->Realign();
    };
    const TDateTime today = QDateToDateTime(QDate::currentDate());
    eValDate1->SetDate(today);
    eValDate2->SetDate(today);
    btOk->SetModalResult(mrNone);
    btOk->OnClick = [this](TComponent*) {
        btOkClick();
        SetModalResult(mrOk);
    };
}

void TrDBGridFilterCondForm::InitCond(TrDBGrid* DBGrid, TField* DisplayField)
{
    Gr = DBGrid;
    Fld = DisplayField;
    SetCaption(Fld ? Fld->DisplayLabel() : QString());
    FilterString.clear();
    for (TListBox* l : {lbSignNum_nostore, lbSignText_nostore, lbSignDate_nostore})
        l->SetItemIndex(0);
    if (Fld && IsDateTimeField(Fld))
        pc->SetActivePage(tsDate);
    else if (dynamic_cast<TNumericField*>(Fld))
        pc->SetActivePage(tsNum);
    else
        pc->SetActivePage(tsText);
    RefAll();
}

void TrDBGridFilterCondForm::DoShow()
{
    TrDlgBaseForm::DoShow();
    RefAll();
    TWinControl* first = pc->ActivePage() == tsNum    ? static_cast<TWinControl*>(eValNum1)
                         : pc->ActivePage() == tsDate ? static_cast<TWinControl*>(eValDate1)
                                                      : static_cast<TWinControl*>(cbValText1_nostore);
    if (first->CanFocus())
        first->SetFocus();
}

void TrDBGridFilterCondForm::RefAll()
{
    const bool between = lbSignNum_nostore->ItemIndex() == 6;
    eValNum2->SetVisible(between);
    lNum2->SetVisible(between);
    const bool period = lbSignDate_nostore->ItemIndex() == 3;
    eValDate2->SetVisible(period);
    lDate2->SetVisible(period);
    ToolBarPeriod->SetVisible(period);
    RefreshOk();
}

void TrDBGridFilterCondForm::RefreshOk()
{
    bool ok = true;
    if (pc->ActivePage() == tsNum)
        ok = !eValNum1->Text().trimmed().isEmpty() && (!eValNum2->Visible() || !eValNum2->Text().trimmed().isEmpty());
    else if (pc->ActivePage() == tsText) {
        const int sign = lbSignText_nostore->ItemIndex();
        ok = !((sign == 2 || sign == 3) && cbValText1_nostore->Text().isEmpty());
    }
    btOk->SetEnabled(ok);
}

void TrDBGridFilterCondForm::btOkClick()
{
    if (!Fld)
        return;
    const QString q = GetQuotedFieldName(Fld->FieldName());
    if (pc->ActivePage() == tsNum) {
        const int sign = std::max(0, lbSignNum_nostore->ItemIndex());
        const QString v1 = GetNumericFieldFilterValue(NumberOf(eValNum1));
        FilterString = sign == 6 ? MakeFilterBetweenCond(q, v1, GetNumericFieldFilterValue(NumberOf(eValNum2)), QString())
                                 : MakeFilterCond(q, NumCond[sign], v1, QString());
    } else if (pc->ActivePage() == tsText) {
        const int sign = std::max(0, lbSignText_nostore->ItemIndex());
        QString v = cbValText1_nostore->Text();
        const TOptionsFilters& o = Gr->OptionsEx2().Filters;
        const QString w = QString(o.GetTextFilterLikeChar());
        QString op = o.GetTextFilterLikeOperator();
        QString field = q;
        if (sign == 2)
            v = v + w;
        else if (sign == 3)
            v = w + v + w;
        else
            op = TextCond[sign];
        if (IsMemoField(Fld) && IsClientDataset(Fld->DataSet())) {
            if (sign == 1)
                field = QStringLiteral("NOT ") + q;
            op = QStringLiteral("LIKE");
        }
        FilterString = MakeFilterCond(field, op, v, QStringLiteral("'"));
    } else {
        const int sign = std::max(0, lbSignDate_nostore->ItemIndex());
        const QString d1 = GetDateFieldFilterValue(DateOf(eValDate1->Date()));
        FilterString = sign == 3 ? MakeFilterBetweenCond(q, d1, GetDateFieldFilterValue(DateOf(eValDate2->Date())), QStringLiteral("'"))
                                 : MakeFilterCond(q, DateCond[sign], d1, QStringLiteral("'"));
    }
}

void TrDBGridFilterCondForm::SetPeriod(TFilterPeriodKind Kind, int N, const QDate& Today)
{
    const auto [from, to] = FilterPeriod(Kind, N, Today);
    eValDate1->SetDate(QDateToDateTime(from));
    eValDate2->SetDate(QDateToDateTime(to));
}

void TrDBGridFilterCondForm::LoadInputs(const TFilterCondInputs& In)
{
    if (In.Page < 0)
        return;
    TListBox* signs = pc->ActivePage() == tsNum ? lbSignNum_nostore : pc->ActivePage() == tsDate ? lbSignDate_nostore : lbSignText_nostore;
    if (In.Page == pc->ActivePageIndex() && In.Sign < signs->Count())
        signs->SetItemIndex(In.Sign);
    cbValText1_nostore->SetText(In.Text);
    eValNum1->SetText(In.Num1);
    eValNum2->SetText(In.Num2);
    if (In.Date1 != 0) {
        eValDate1->SetDate(In.Date1);
        eValDate2->SetDate(In.Date2);
    }
    RefAll();
}

void TrDBGridFilterCondForm::StoreInputs(TFilterCondInputs& Out) const
{
    Out.Page = pc->ActivePageIndex();
    const TListBox* signs = pc->ActivePage() == tsNum ? lbSignNum_nostore : pc->ActivePage() == tsDate ? lbSignDate_nostore : lbSignText_nostore;
    Out.Sign = signs->ItemIndex();
    Out.Text = cbValText1_nostore->Text();
    Out.Num1 = eValNum1->Text();
    Out.Num2 = eValNum2->Text();
    Out.Date1 = eValDate1->Date();
    Out.Date2 = eValDate2->Date();
}
