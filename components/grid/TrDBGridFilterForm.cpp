#include "components/grid/TrDBGridFilterForm.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rListBoxes.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TrDBGridColumnFilters.h"
#include "components/grid/TrDBGridFilterBar.h"
#include "components/grid/TrDBGridFilterCondForm.h"
#include "components/grid/TrDBGridFilterGlyphs.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/GridFilterTexts.h"

#include <algorithm>
#include <numeric>

TrDBGridFilterForm::TrDBGridFilterForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetClientWidth(133);
    SetClientHeight(152);
    Constraints.MinWidth = 128;
    Constraints.MinHeight = 150;
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetHeight(-11);
    tbTop = new TToolBar(this);
    tbTop->SetParent(this);
    tbTop->SetAlign(alTop);
    tbTop->SetShowCaptions(true);
    tbTop->SetButtonWidth(52);
    ImgList = MakeFunnelListImages(this);
    tbTop->Images = ImgList;
    // Room for a picture above each caption.
    tbTop->SetButtonHeight(36);
    tbTop->SetHeight(38);
    tbEnter = new TToolButton(this);
    tbEnter->SetParent(tbTop);
    tbEnter->SetCaption(gridfiltxt::FilterDots);
    tbEnter->SetHint(gridfiltxt::EnterFilterCondition);
    tbEnter->SetImageIndex(0);
    tbEnter->OnClick = [this](TComponent*) { tbEnterClick(); };
    auto* sep = new TToolButton(this);
    sep->SetParent(tbTop);
    sep->SetStyle(tbsSeparator);
    sep->SetWidth(8);
    tbClear = new TToolButton(this);
    tbClear->SetParent(tbTop);
    tbClear->SetHint(gridfiltxt::Clear);
    tbClear->SetImageIndex(1);
    tbClear->OnClick = [this](TComponent*) { tbClearClick(); };
    tbTop->SetButtonWidth(52);
    pBtn = new TPanel(this);
    pBtn->SetParent(this);
    pBtn->SetAlign(alBottom);
    pBtn->SetHeight(32);
    pBtn->SetBevelOuter(bvNone);
    btOk = new TButton(this);
    btOk->SetParent(pBtn);
    btOk->SetBounds(4, 4, 58, 24);
    btOk->SetCaption(gridfiltxt::Ok);
    btOk->SetDefault(true);
    btOk->OnClick = [this](TComponent*) { SetFilter(); };
    btCancel = new TButton(this);
    btCancel->SetParent(pBtn);
    btCancel->SetBounds(66, 4, 58, 24);
    btCancel->SetCaption(gridfiltxt::Cancel);
    btCancel->SetCancel(true);
    btCancel->OnClick = [this](TComponent*) { btCancelClick(); };
    chAnd = new TCheckBox(this);
    chAnd->SetParent(this);
    chAnd->SetAlign(alBottom);
    chAnd->SetHeight(20);
    chAnd->SetCaption(gridfiltxt::AddToActFilter);
    chAnd->SetVisible(false);
    CheckBoxList = new TrCheckListBox(this);
    CheckBoxList->SetParent(this);
    CheckBoxList->SetAlign(alClient);
    CheckBoxList->OnClickCheck = [this](TComponent*) { CheckBoxListClickCheck(); };
    CheckBoxList->SetStyle(lbOwnerDrawFixed);
    CheckBoxList->OnDrawItem = [this](TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
        CheckBoxListDrawItem(Index, R, State);
    };
    OnDeactivate = [this](TComponent*) { Hide(); };
}

void TrDBGridFilterForm::AddToList(const QString& DisplayText, const QString& ValueText, bool Checked)
{
    ValueList << ValueText;
    ValueChecked.push_back(Checked);
    DisplayList << DisplayText;
    DisplayValue.push_back(int(ValueList.size()) - 1);
    if (!Checked)
        CheckAll = false;
    if (DisplayText != gridfiltxt::Empty)
        maxw = std::max(maxw, CheckBoxList->Canvas()->TextWidth(DisplayText));
}

void TrDBGridFilterForm::LoadPass(bool Checked, bool IgnoreFilter, QHash<QString, int>& Seen)
{
    const bool memo = IsMemoField(DisplayField);
    // Large sizes show their progress and can be aborted. The pass over the
    // hidden records counts them once the scan has switched the filter off.
    int n = 0;
    bool progress = false;
    auto start = [&] {
        n = DS->RecordCount();
        progress = n > 1000;
        if (progress)
            ShowInfoEx(gridfiltxt::Loading, Gr, [this](TComponent*) { Aborted = true; });
    };
    if (!IgnoreFilter)
        start();
    bool first = true;
    Gr->ScanAllRecords(6, 0, true, IgnoreFilter, [&](TDataSet*, int Index) {
        if (first && IgnoreFilter)
            start();
        first = false;
        if (Aborted)
            return;
        if (progress) {
            if (Index % 100 == 0)
                ShowInfoProgressBar(gridfiltxt::Loading, Gr, [this](TComponent*) { Aborted = true; }, Index * 100 / n);
            // Every record, so that Abort stops the loading at once.
            Application->ProcessMessages();
            if (Aborted)
                return;
        }
        QString display, value;
        if (DisplayField->IsNull()) {
            display = value = gridfiltxt::Empty;
        } else {
            value = ValueField->AsString();
            display = memo ? DisplayField->AsString().left(200) : DisplayField->DisplayText();
        }
        const QString key = value.toLower();
        if (Seen.contains(key))
            return;
        Seen.insert(key, 1);
        AddToList(display, value, Checked);
    });
    if (progress)
        ShowInfo(QString(), nullptr);
}

void TrDBGridFilterForm::LoadList(TrDBGrid* DBGrid, TColumn* C)
{
    // 1.
    DisplayList.clear();
    DisplayValue.clear();
    ValueList.clear();
    ValueChecked.clear();
    CheckBoxList->SetItems({});
    if (!DBGrid || !C || !C->Field() || !(IsSimpleField(C->Field()) || IsMemoField(C->Field())))
        return;
    // 2.
    Gr = DBGrid;
    GridCol = C;
    DS = DBGrid->DataSet();
    DisplayField = C->Field();
    ValueField = DisplayField;
    if (DisplayField->FieldKind() == fkLookup)
        if (TField* key = DS->FindField(DisplayField->KeyFields))
            ValueField = key;
    CheckAll = true;
    tbEnter->SetEnabled(DisplayField->FieldKind() == fkData && DisplayField->DataType() != ftBoolean);
    tbClear->SetEnabled(DS->Filtered());
    Aborted = false;
    maxw = 0;
    CheckBoxList->Canvas()->Font()->Assign(*CheckBoxList->Font());
    // 3. The program may fill the list itself.
    bool loaded = false;
    if (DBGrid->OnLoadFunnelFilter)
        DBGrid->OnLoadFunnelFilter(this, DS, DisplayField->FieldName(),
                                [this](const QString& D, const QString& V, bool C) { AddToList(D, V, C); }, loaded);
    // 4. The values the filter shows, checked; then those it hides.
    if (!loaded) {
        // The current record stays on its screen row (restored also on errors).
        DBGrid->SaveRowPos(true);
        try {
            QHash<QString, int> seen;
            LoadPass(true, false, seen);
            if (DS->Filtered() && !Aborted) {
                const int before = int(ValueList.size());
                LoadPass(false, true, seen);
                if (int(ValueList.size()) > before)
                    CheckAll = false;
            }
        } catch (...) {
            DBGrid->RestoreRowPos();
            throw;
        }
        DBGrid->RestoreRowPos();
    }
    std::vector<int> order(size_t(DisplayList.size()));
    std::iota(order.begin(), order.end(), 0);
    std::function<int(const QString&, const QString&)> cmp = [](const QString& A, const QString& B) {
        return A.localeAwareCompare(B);
    };
    if (loaded)
        cmp = [](const QString&, const QString&) { return 0; };  // the program's order
    else if (IsDateTimeField(DisplayField))
        cmp = SortDate;
    else if (dynamic_cast<TNumericField*>(DisplayField))
        cmp = SortNum;
    std::stable_sort(order.begin(), order.end(), [&](int A, int B) { return cmp(DisplayList[A], DisplayList[B]) < 0; });
    QStringList display;
    std::vector<int> values;
    for (int i : order) {
        display << DisplayList[i];
        values.push_back(DisplayValue[size_t(i)]);
    }
    // 5. "(select all)" on top.
    DisplayList = QStringList{gridfiltxt::SelectAll} + display;
    DisplayValue = values;
    DisplayValue.insert(DisplayValue.begin(), -1);
    CheckBoxList->SetItems(DisplayList);
    for (int i = 0; i < int(DisplayList.size()); ++i)
        CheckBoxList->SetChecked(i, CheckAll || (i > 0 && ValueChecked[size_t(DisplayValue[size_t(i)])]));
}

void TrDBGridFilterForm::CheckBoxListDrawItem(int Index, const TRect& R, TOwnerDrawState State)
{
    TCanvas* c = CheckBoxList->Canvas();
    c->Brush()->SetColor((State & odSelected) ? clHighlight : clWindow);
    c->FillRect(R);
    c->Font()->Assign(*CheckBoxList->Font());
    c->Font()->SetColor((State & odSelected) ? clHighlightText : clWindowText);
    const QString text = CheckBoxList->Items().value(Index);
    const TrDBGridCfg& cfg = ParioCompConfig.rDBGridCfg;
    if (Index == 0 && cfg.FilterListBoldSelectAll)
        c->Font()->SetStyle(fsBold);
    unsigned align = DT_LEFT;
    TRect t = Rect(R.Left + 2, R.Top, R.Right - 2, R.Bottom);
    // Values line up in a column as wide as the widest value.
    if (cfg.FilterListUseColumnAlignment && Index > 0 && text != gridfiltxt::Empty && GridCol) {
        if (GridCol->Alignment() == taRightJustify)
            align = DT_RIGHT;
        else if (GridCol->Alignment() == taCenter)
            align = DT_CENTER;
        if (align != DT_LEFT && t.Width() > maxw + 2)
            t.Right = t.Left + maxw + 2;
    }
    c->Brush()->SetStyle(bsClear);
    c->DrawText(text, t, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

void TrDBGridFilterForm::CheckBoxListClickCheck()
{
    const int i = CheckBoxList->ItemIndex();
    if (i == 0) {
        const bool all = CheckBoxList->Checked(0);
        for (int k = 1; k < CheckBoxList->Count(); ++k)
            CheckBoxList->SetChecked(k, all);
    } else if (i > 0 && !CheckBoxList->Checked(i)) {
        CheckBoxList->SetChecked(0, false);
    }
}

QString TrDBGridFilterForm::CheckedFilterText() const
{
    if (CheckBoxList->Count() == 0 || CheckBoxList->Checked(0) || !ValueField)
        return QString();
    QStringList conds;
    for (int i = 1; i < CheckBoxList->Count(); ++i) {
        if (!CheckBoxList->Checked(i))
            continue;
        QString v = ValueList[DisplayValue[size_t(i)]];
        const bool isNull = v == gridfiltxt::Empty;
        TDateTime d = 0;
        if (!isNull && IsDateTimeField(ValueField) && TryStrToDateTime(v, d))
            v = GetDateFieldFilterValue(d);
        const QString c = GetFilterCond(ValueField, v, isNull, QString());
        if (!c.isEmpty())
            conds << c;
    }
    return conds.join(QStringLiteral(" OR "));
}

void TrDBGridFilterForm::IntSetFilter(const QString& FilterText)
{
    if (!Gr || !DisplayField)
        return;
    if (Gr->OnSetColumnFilter) {
        bool result = true;
        Gr->OnSetColumnFilter(Gr, DS, ValueField, FilterText, QString(), this, result);
        if (result) {
            Hide();
            Gr->Invalidate();
            TrDBGridColumnFilters::Of(Gr)->RefreshFilteredFieldNames();
        }
        return;
    }
    TrDBGridColumnFilters::Of(Gr)->SetFilterForField(DisplayField, FilterText, chAnd->Checked(), true, true);
    Hide();
}

int TrDBGridFilterForm::WantedHeight() const
{
    return CheckBoxList->Count() * CheckBoxList->ItemHeight() + tbTop->Height() + pBtn->Height() + 18 +
           (chAnd->Visible() ? chAnd->Height() : 0);
}

void TrDBGridFilterForm::btCancelClick()
{
    Hide();
    if (Gr) {
        Gr->SetFilteredFieldNames(Gr->FilteredFieldNames());
        if (TrDBGridFilterBar* bar = TrDBGridFilterBar::Find(Gr))
            bar->ResetFilterDlgLastColIdx();
    }
}

void TrDBGridFilterForm::tbEnterClick()
{
    if (!Gr || !DisplayField)
        return;
    btCancelClick();
    TrDBGridFilterCondForm dlg(Gr);
    dlg.InitCond(Gr, DisplayField);
    TFilterCondInputs& saved = CondInputs[DisplayField->FieldName()];
    QStringList items = DisplayList.mid(1);
    if (!items.isEmpty() && items.first() == gridfiltxt::Empty)
        items.removeFirst();
    dlg.cbValText1_nostore->SetItems(items);
    dlg.LoadInputs(saved);
    if (dlg.ShowModal() == mrOk) {
        IntSetFilter(dlg.FilterString);
        dlg.StoreInputs(saved);
    }
}
