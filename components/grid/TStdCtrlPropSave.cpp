// The standard-control saver: the values of memos, list and check-list boxes,
// combo and colour boxes, check boxes, radio groups and buttons, edits, menu
// items, tab and page controls and date pickers, each in its own section.

#include "components/grid/TPropSaveMain.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/framed/FcRadGrp.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/TabControl.h"

#include <cmath>

namespace {

bool HasNoStoreSuffix(const QString& Name)
{
    const QString& suffix = ParioCompConfig.PropSaveCfg.Suffix_BlockSaveItems;
    return !suffix.isEmpty() && Name.contains(suffix, Qt::CaseInsensitive);
}

void ProcItems(TPropSaveAction A, TPropSaveFile* F, const QString& Key, QStringList Items, const std::function<void(const QStringList&)>& Set)
{
    TStringList l;
    if (A == psaSave) {
        for (const QString& s : Items)
            l.Add(s);
        F->WriteStrings(Key, l);
    } else if (A == psaDelete) {
        F->DeleteStrings(Key);
    } else if (F->ValueExists(Key, QStringLiteral("ItemsCount"))) {
        F->ReadStrings(Key, l);
        Items.clear();
        for (int i = 0; i < l.Count(); ++i)
            Items << l[i];
        Set(Items);
    }
}

void ProcInt(TPropSaveAction A, TPropSaveFile* F, const QString& Key, const QString& Ident, int Current, const std::function<void(int)>& Set)
{
    if (A == psaSave)
        F->WriteInteger(Key, Ident, Current);
    else if (A == psaDelete)
        F->DeleteKey(Key, Ident);
    else
        Set(F->ReadInteger(Key, Ident, Current));
}

void ProcBool(TPropSaveAction A, TPropSaveFile* F, const QString& Key, const QString& Ident, bool Current, const std::function<void(bool)>& Set)
{
    if (A == psaSave)
        F->WriteBool(Key, Ident, Current);
    else if (A == psaDelete)
        F->DeleteKey(Key, Ident);
    else
        Set(F->ReadBool(Key, Ident, Current));
}

QString Indexed(const char* Ident, int I)
{
    return QLatin1String(Ident) + QString::number(I);
}

void ProcListBox(TPropSaveAction A, TPropSaveFile* F, const QString& Key, TCustomListBox* lb)
{
    auto* clb = dynamic_cast<TCheckListBox*>(lb);
    if (A == psaDelete) {
        // Every index the file or the box may know.
        const int n = std::max(F->ReadInteger(Key, QStringLiteral("ItemsCount"), -1), int(lb->Items().size()));
        for (int i = 0; i <= n; ++i) {
            F->DeleteKey(Key, Indexed("Selected", i));
            F->DeleteKey(Key, Indexed("Checked", i));
        }
        F->DeleteKey(Key, QStringLiteral("ItemIndex"));
        F->DeleteStrings(Key);
        return;
    }
    if (!HasNoStoreSuffix(lb->Name()))
        ProcItems(A, F, Key, lb->Items(), [lb](const QStringList& L) { lb->SetItems(L); });
    const int count = int(lb->Items().size());
    if (lb->MultiSelect()) {
        for (int i = 0; i < count; ++i)
            ProcBool(A, F, Key, Indexed("Selected", i), lb->Selected(i), [lb, i](bool v) { lb->SetSelected(i, v); });
    } else {
        ProcInt(A, F, Key, QStringLiteral("ItemIndex"), lb->ItemIndex(), [lb](int v) { lb->SetItemIndex(v); });
    }
    if (clb)
        for (int i = 0; i < count; ++i)
            ProcBool(A, F, Key, Indexed("Checked", i), clb->Checked(i), [clb, i](bool v) { clb->SetChecked(i, v); });
}

void ProcComboBox(TPropSaveAction A, TPropSaveFile* F, const QString& Key, TComboBox* cb)
{
    if (!HasNoStoreSuffix(cb->Name()))
        ProcItems(A, F, Key, cb->Items(), [cb](const QStringList& L) { cb->SetItems(L); });
    if (A == psaDelete) {
        F->DeleteKey(Key, QStringLiteral("ItemIndex"));
        F->DeleteKey(Key, QStringLiteral("Text"));
    } else if (cb->Style() == csDropDownList) {
        ProcInt(A, F, Key, QStringLiteral("ItemIndex"), cb->ItemIndex(), [cb](int v) { cb->SetItemIndex(v); });
    } else if (A == psaSave) {
        F->WriteString(Key, QStringLiteral("Text"), cb->Text());
    } else {
        cb->SetText(F->ReadString(Key, QStringLiteral("Text"), cb->Text()));
    }
}

void ProcDatePicker(TPropSaveAction A, TPropSaveFile* F, const QString& Key, TDateTimePicker* dp)
{
    if (A == psaSave) {
        F->WriteDateTime(Key, QStringLiteral("Date"), std::floor(dp->Date()));
        if (dp->ShowCheckbox())
            F->WriteBool(Key, QStringLiteral("DateChecked"), dp->Checked());
    } else if (A == psaDelete) {
        F->DeleteKey(Key, QStringLiteral("Date"));
        if (dp->ShowCheckbox())
            F->DeleteKey(Key, QStringLiteral("DateChecked"));
    } else {
        // Setting the date may tick the box: the stored state goes on the state before.
        const bool checked = dp->Checked();
        dp->SetDate(std::floor(F->ReadDateTime(Key, QStringLiteral("Date"), dp->Date())));
        if (dp->ShowCheckbox())
            dp->SetChecked(F->ReadBool(Key, QStringLiteral("DateChecked"), checked));
    }
}

}  // namespace

// The platform derives its date picker from the edit and its colour box from
// the combo box, so those two are tested before their bases.
bool TStdCtrlPropSave::CanSave(TComponent* Comp) const
{
    return dynamic_cast<TMemo*>(Comp) || dynamic_cast<TCustomListBox*>(Comp) || dynamic_cast<TComboBox*>(Comp) ||
           dynamic_cast<TCheckBox*>(Comp) || dynamic_cast<TFcCustomRadioGroup*>(Comp) || dynamic_cast<TRadioButton*>(Comp) ||
           dynamic_cast<TCustomEdit*>(Comp) || dynamic_cast<TMenuItem*>(Comp) || dynamic_cast<TCustomTabControl*>(Comp) ||
           dynamic_cast<TPageControl*>(Comp);
}

void TStdCtrlPropSave::ReadSaveProps(TPropSaveAction A, TPropSaveFile* F, TComponent* Comp, const QString& Key)
{
    if (auto* m = dynamic_cast<TMemo*>(Comp)) {
        ProcItems(A, F, Key, m->Text().split(QStringLiteral("\r\n")), [m](const QStringList& L) { m->SetText(L.join(QStringLiteral("\r\n"))); });
    } else if (auto* lb = dynamic_cast<TCustomListBox*>(Comp)) {
        ProcListBox(A, F, Key, lb);
    } else if (auto* colors = dynamic_cast<TColorBox*>(Comp)) {
        ProcInt(A, F, Key, QStringLiteral("Color"), int(colors->Selected()), [colors](int v) { colors->SetSelected(TColor(v)); });
    } else if (auto* cb = dynamic_cast<TComboBox*>(Comp)) {
        ProcComboBox(A, F, Key, cb);
    } else if (auto* ch = dynamic_cast<TCheckBox*>(Comp)) {
        ProcInt(A, F, Key, QStringLiteral("State"), int(ch->State()), [ch](int v) {
            if (v >= 0 && v <= 2)
                ch->SetState(TCheckState(v));
        });
    } else if (auto* rg = dynamic_cast<TFcCustomRadioGroup*>(Comp)) {
        ProcInt(A, F, Key, QStringLiteral("ItemIndex"), rg->ItemIndex(), [rg](int v) { rg->SetItemIndex(v); });
    } else if (auto* rb = dynamic_cast<TRadioButton*>(Comp)) {
        ProcBool(A, F, Key, QStringLiteral("Checked"), rb->Checked(), [rb](bool v) { rb->SetChecked(v); });
    } else if (auto* dp = dynamic_cast<TDateTimePicker*>(Comp)) {
        ProcDatePicker(A, F, Key, dp);
    } else if (auto* e = dynamic_cast<TCustomEdit*>(Comp)) {
        if (A == psaSave)
            F->WriteString(Key, QStringLiteral("Text"), e->Text());
        else if (A == psaDelete)
            F->DeleteKey(Key, QStringLiteral("Text"));
        else
            e->SetText(F->ReadString(Key, QStringLiteral("Text"), e->Text()));
    } else if (auto* mi = dynamic_cast<TMenuItem*>(Comp)) {
        ProcBool(A, F, Key, QStringLiteral("Checked"), mi->Checked(), [mi](bool v) { mi->SetChecked(v); });
    } else if (auto* tc = dynamic_cast<TCustomTabControl*>(Comp)) {
        ProcInt(A, F, Key, QStringLiteral("ItemIndex"), tc->TabIndex(), [tc](int v) { tc->SetTabIndex(v); });
    } else if (auto* pc = dynamic_cast<TPageControl*>(Comp)) {
        ProcInt(A, F, Key, QStringLiteral("ItemIndex"), pc->ActivePageIndex(), [pc](int v) { pc->SetActivePageIndex(v); });
    }
}
