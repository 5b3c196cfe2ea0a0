#include "components/dbcontrols/rDBFieldsGroupForm.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rListBoxes.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGrid.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"
#include "resources/LibraryTexts.h"

namespace {

TrColorBox* PutColorBox(TWinControl* Parent, int X, int Y)
{
    auto* b = PlaceControl<TrColorBox>(Parent, Parent, X, Y, 140, 23);
    b->SetColorStyle(cbStandardColors | cbExtendedColors | cbSystemColors | cbIncludeNone | cbCustomColor | cbPrettyNames);
    b->SetSelected(clNone);
    return b;
}

}  // namespace

TrDBFieldsGroupForm::TrDBFieldsGroupForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner), Groups(new TStringList)
{
    SetName(QStringLiteral("rDBFieldsGroupForm"));
    SetCaption(dbctltxt::FieldsGroupingCaption);
    SetClientWidth(600);
    SetClientHeight(452);
    Constraints.MinWidth = 580;
    Constraints.MinHeight = 480;
    // Left: the groups and the shown group's properties.
    PlaceControl<TLabel>(this, this, 8, 6, 200, 16, dbctltxt::GroupsLabel);
    lbGroups = PlaceControl<TListBox>(this, this, 8, 24, 200, 150);
    lbGroups->OnClick = [this](TComponent*) { lbGroupsClick(); };
    btNew = PlaceControl<TButton>(this, this, 216, 24, 84, 25, dbctltxt::NewGroup);
    btNew->OnClick = [this](TComponent*) { NewClick(); };
    btDelete = PlaceControl<TButton>(this, this, 216, 54, 84, 25, dbctltxt::DeleteGroup);
    btDelete->OnClick = [this](TComponent*) { DeleteClick(); };
    btCollapse = PlaceControl<TButton>(this, this, 216, 94, 84, 25, dbctltxt::CollapseGroup);
    btCollapse->OnClick = [this](TComponent*) { CollapseClick(false); };
    btExpand = PlaceControl<TButton>(this, this, 216, 124, 84, 25, dbctltxt::ExpandGroup);
    btExpand->OnClick = [this](TComponent*) { CollapseClick(true); };
    lLocked = PlaceControl<TLabel>(this, this, 216, 158, 84, 16, dbctltxt::Locked);
    lLocked->Font()->SetStyle(fsBold);
    lLocked->Font()->SetColor(clMaroon);
    lLocked->SetVisible(false);
    PlaceControl<TLabel>(this, this, 8, 184, 290, 16, dbctltxt::MergedCellTitle);
    eMergedCellTitle = PlaceControl<TEdit>(this, this, 8, 201, 292, 23);
    PlaceControl<TLabel>(this, this, 8, 230, 290, 16, dbctltxt::CollapsedGroupTitle);
    eCollapsedGroupTitle = PlaceControl<TEdit>(this, this, 8, 247, 292, 23);
    PlaceControl<TLabel>(this, this, 8, 276, 290, 16, dbctltxt::CollapsedGroupMask);
    eCollapsedGroupMask = PlaceControl<TEdit>(this, this, 8, 293, 200, 23);
    btToMask = PlaceControl<TButton>(this, this, 216, 292, 84, 25, dbctltxt::ToMask);
    btToMask->SetHint(dbctltxt::ToMaskHint);
    btToMask->OnClick = [this](TComponent*) { ToMaskClick(); };
    auto* note = PlaceControl<TLabel>(this, this, 8, 319, 290, 16, dbctltxt::MaskNote);
    note->Font()->SetColor(clGrayText);
    PlaceControl<TLabel>(this, this, 8, 346, 110, 16, dbctltxt::GroupTitleColor);
    cgGroupTitleColor = PutColorBox(this, 120, 342);
    btTitleColorDefault = PlaceControl<TrURLLabel>(this, this, 266, 346, 50, 16, dbctltxt::DefaultColor);
    PlaceControl<TLabel>(this, this, 8, 376, 110, 16, dbctltxt::GroupLineColor);
    cgGroupLineColor = PutColorBox(this, 120, 372);
    btLineColorDefault = PlaceControl<TrURLLabel>(this, this, 266, 376, 50, 16, dbctltxt::DefaultColor);
    for (auto [link, box] : {std::pair{btTitleColorDefault, cgGroupTitleColor}, std::pair{btLineColorDefault, cgGroupLineColor}}) {
        link->OnClick = [this, box = box](TComponent*) {
            box->SetSelected(clNone);
            Edited();
        };
        box->OnChange = [this](TComponent*) { Edited(); };
    }
    for (TEdit* e : {eMergedCellTitle, eCollapsedGroupTitle, eCollapsedGroupMask})
        e->OnChange = [this](TComponent*) { Edited(); };
    // Right: the grid's columns to group and the master among them.
    PlaceControl<TLabel>(this, this, 316, 6, 276, 16, dbctltxt::GroupedFieldsSelection);
    lbGroupFields = PlaceControl<TrCheckListBox>(this, this, 316, 24, 276, 306);
    lbGroupFields->OnClickCheck = [this](TComponent*) { FieldCheckChanged(lbGroupFields->ItemIndex()); };
    lbGroupFields->OnClick = [this](TComponent*) { FieldClicked(lbGroupFields->ItemIndex()); };
    lbGroupFields->OnDblClick = [this](TComponent*) {
        const int i = lbGroupFields->ItemIndex();
        if (i >= 0 && lbGroupFields->Enabled())
            SetFieldChecked(i, !lbGroupFields->Checked(i));
    };
    PlaceControl<TLabel>(this, this, 316, 338, 276, 16, dbctltxt::MasterField);
    cbGroupMaster = PlaceControl<TComboBox>(this, this, 316, 355, 276, 23);
    cbGroupMaster->SetStyle(csDropDownList);
    cbGroupMaster->OnChange = [this](TComponent*) { Edited(); };
    // Bottom.
    chShowMergedCell = PlaceControl<TCheckBox>(this, this, 8, 404, 220, 20, dbctltxt::ShowMergedHeader);
    chShowMergedCell->OnClick = [this](TComponent*) {
        if (!FLoading && Gr)
            Gr->SetGroupsShowMergedCell(chShowMergedCell->Checked());
    };
    btSetDefault = PlaceControl<TrURLLabel>(this, this, 8, 428, 200, 16, dbctltxt::SetDefaultGroups);
    btSetDefault->OnClick = [this](TComponent*) { SetDefaultClick(); };
    btUse = PlaceControl<TButton>(this, this, 336, 414, 80, 27, dbctltxt::Use);
    btUse->SetHint(dbctltxt::UseChangesHint);
    btUse->OnClick = [this](TComponent*) { UseClick(); };
    btOk = PlaceControl<TrButton>(this, this, 424, 414, 80, 27, dbctltxt::Ok);
    SetButtonGlyph(btOk, dgOk);
    btOk->SetDefault(true);
    btOk->OnClick = [this](TComponent*) { OkClick(); };
    btCancel = PlaceControl<TrButton>(this, this, 512, 414, 80, 27, dbctltxt::Cancel);
    SetButtonGlyph(btCancel, dgCancel);
    btCancel->SetHint(dbctltxt::CancelHint);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
    AnchorAroundGrowing(this, lbGroupFields);
    FormCreate(this);
    OnActivate = [this](TComponent* S) { FormActivate(S); };
}

TrDBFieldsGroupForm::~TrDBFieldsGroupForm()
{
    delete Groups;
}

void TrDBFieldsGroupForm::DoShow()
{
    FormShow(this);
    Cols.clear();
    Flds.clear();
    if (Gr)
        for (int i = 0; i < Gr->Columns()->Count(); ++i) {
            TColumn* c = Gr->Columns()->Items(i);
            Cols << c->Title()->Caption();
            Flds << c->FieldName();
        }
    LoadGroups(false);
    FLoading = true;
    chShowMergedCell->SetChecked(Gr && Gr->OptionsEx2().Groups.ShowMergedCell);
    FLoading = false;
    TrDBDlgBaseForm::DoShow();
}

void TrDBFieldsGroupForm::DoClose(TCloseAction& Action)
{
    if (Gr)
        Gr->FixedGroupedCol(false, false);
    FormClose(this, Action);
    TrDBDlgBaseForm::DoClose(Action);
}

int TrDBFieldsGroupForm::GroupCount() const { return Groups->Count(); }

void TrDBFieldsGroupForm::Edited()
{
    if (!FLoading)
        FChanged = true;
}

// ---- the group list ------------------------------------------------------------------------------

void TrDBFieldsGroupForm::LoadGroups(bool KeepSelected)
{
    FChanged = false;
    const int former = lbGroups->ItemIndex();
    if (Gr)
        Gr->Fields_GetGroupList(Groups);
    else
        Groups->Clear();
    lbGroups->Clear();
    for (int i = 0; i < Groups->Count(); ++i) {
        int id;
        QString merged, collapsed, mask;
        TColor title, line;
        bool locked;
        Gr->Fields_GetGroupSettingsEx((*Groups)[i], id, merged, collapsed, mask, title, line, locked, nullptr);
        lbGroups->AddItem(QStringLiteral("%1 - %2").arg(id).arg(merged.isEmpty() ? collapsed : merged));
    }
    lbGroups->SetItemIndex(-1);
    if (KeepSelected && former >= 0 && former < lbGroups->Count())
        lbGroups->SetItemIndex(former);
    lbGroupsClick();
}

QString TrDBFieldsGroupForm::GetSelGroupName() const
{
    const int i = lbGroups->ItemIndex();
    if (i < 0)
        return QString();
    if (i < Groups->Count())
        return (*Groups)[i];
    return lbGroups->Strings(i);
}

void TrDBFieldsGroupForm::SelectGroup(int Index)
{
    lbGroups->SetItemIndex(Index);
    lbGroupsClick();
}

void TrDBFieldsGroupForm::lbGroupsClick()
{
    if (!Gr)
        return;
    // 1.
    if (FChanged && DlgQ(dbctltxt::UseChanges) == mrYes)
        UpdateGroup(false);
    FLoading = true;
    // 2.
    lLocked->SetVisible(false);
    lbGroups->Tag = 0;
    eMergedCellTitle->SetText(QString());
    eCollapsedGroupTitle->SetText(QString());
    eCollapsedGroupMask->SetText(QString());
    cgGroupTitleColor->SetSelected(clNone);
    cgGroupLineColor->SetSelected(clNone);
    QStringList fields;
    // 3.
    const QString def = GetSelGroupName();
    if (!def.isEmpty()) {
        int id;
        QString merged, collapsed, mask;
        TColor title, line;
        bool locked;
        if (Gr->Fields_GetGroupSettingsEx(def, id, merged, collapsed, mask, title, line, locked, &fields)) {
            eMergedCellTitle->SetText(merged);
            eCollapsedGroupTitle->SetText(collapsed);
            eCollapsedGroupMask->SetText(mask);
            cgGroupTitleColor->SetSelected(title);
            cgGroupLineColor->SetSelected(line);
            lLocked->SetVisible(locked);
        }
        lbGroups->Tag = id;
    }
    LoadGroupFields(fields);
    FLoading = false;
    // 4.
    FChanged = false;
    EnableControls();
}

void TrDBFieldsGroupForm::EnableControls()
{
    const bool selected = lbGroups->ItemIndex() >= 0;
    const bool editable = selected && !lLocked->Visible();
    for (TControl* c : std::initializer_list<TControl*>{eMergedCellTitle, eCollapsedGroupTitle, eCollapsedGroupMask,
                                                        cgGroupTitleColor, cgGroupLineColor, btTitleColorDefault,
                                                        btLineColorDefault, lbGroupFields, cbGroupMaster, btDelete})
        c->SetEnabled(editable);
    btCollapse->SetEnabled(selected);
    btExpand->SetEnabled(selected);
    btToMask->SetEnabled(false);
}

// ---- the fields of the shown group -------------------------------------------------------------

void TrDBFieldsGroupForm::LoadGroupFields(const QStringList& FieldList)
{
    lbGroupFields->Clear();
    cbGroupMaster->Clear();
    for (const QString& caption : Cols)
        lbGroupFields->AddItem(caption);
    int master = -1;
    for (int i = 0; i < Flds.size(); ++i) {
        const bool in = std::any_of(FieldList.begin(), FieldList.end(), [&](const QString& f) { return SameText(f, Flds[i]); });
        if (!in)
            continue;
        lbGroupFields->SetChecked(i, true);
        cbGroupMaster->AddItem(Cols[i]);
        if (!FieldList.isEmpty() && SameText(FieldList.first(), Flds[i]))
            master = cbGroupMaster->Count() - 1;
    }
    cbGroupMaster->SetItemIndex(master);
}

void TrDBFieldsGroupForm::SetFieldChecked(int Index, bool Checked)
{
    if (Index < 0 || Index >= lbGroupFields->Count())
        return;
    lbGroupFields->SetItemIndex(Index);
    lbGroupFields->SetChecked(Index, Checked);
    FieldCheckChanged(Index);
}

void TrDBFieldsGroupForm::FieldCheckChanged(int Index)
{
    if (Index < 0 || Index >= Cols.size())
        return;
    const QString caption = Cols[Index];
    const QString shown = cbGroupMaster->Text();
    bool firstChanged = false;
    if (lbGroupFields->Checked(Index)) {
        firstChanged = cbGroupMaster->Count() == 0;
        cbGroupMaster->AddItem(caption);
    } else if (const int at = cbGroupMaster->IndexOf(caption); at >= 0) {
        firstChanged = at == 0;
        QStringList items = cbGroupMaster->Items();
        items.removeAt(at);
        cbGroupMaster->SetItems(items);
        cbGroupMaster->SetItemIndex(cbGroupMaster->IndexOf(shown));
    }
    if (firstChanged && cbGroupMaster->Count() > 0)
        cbGroupMaster->SetItemIndex(0);
    FChanged = true;
    FieldClicked(Index);
}

void TrDBFieldsGroupForm::FieldClicked(int Index)
{
    btToMask->SetEnabled(Index >= 0 && lbGroupFields->Enabled());
}

// ---- storing and the buttons --------------------------------------------------------------------

bool TrDBFieldsGroupForm::UpdateGroup(bool Delete)
{
    if (!Gr || lbGroups->ItemIndex() < 0)
        return true;
    // 1.
    QStringList fields;
    if (!Delete) {
        const QString master = cbGroupMaster->Text();
        for (int i = 0; i < Cols.size(); ++i) {
            if (!lbGroupFields->Checked(i))
                continue;
            if (Cols[i] == master)
                fields.prepend(Flds[i]);
            else
                fields.append(Flds[i]);
        }
        if (fields.isEmpty()) {
            DlgW2(libtxt::ErrorInInputParameters, dbctltxt::GroupedFieldsSelection);
            return false;
        }
    }
    // 2.
    Gr->Fields_SetGroupSettingsEx(lbGroups->Tag, eMergedCellTitle->Text(), eCollapsedGroupTitle->Text(),
                                  eCollapsedGroupMask->Text(), cgGroupTitleColor->Selected(), cgGroupLineColor->Selected(),
                                  lLocked->Visible(), fields);
    // 3.
    LoadGroups(true);
    return true;
}

void TrDBFieldsGroupForm::NewClick()
{
    int last = 0;
    for (int i = 0; i < Groups->Count(); ++i)
        last = std::max(last, TrDBGrid::GetGroupID((*Groups)[i]));
    lbGroups->AddItem(QString::number(last + 1));
    SelectGroup(lbGroups->Count() - 1);
}

void TrDBFieldsGroupForm::DeleteClick()
{
    if (lbGroups->ItemIndex() >= 0)
        UpdateGroup(true);
}

void TrDBFieldsGroupForm::CollapseClick(bool Expand)
{
    if (!Gr || lbGroups->ItemIndex() < 0)
        return;
    const int id = TrDBGrid::GetGroupID(GetSelGroupName());
    if (Expand)
        Gr->ExpandGroup(id);
    else
        Gr->CollapseGroup(id);
}

void TrDBFieldsGroupForm::ToMaskClick()
{
    const int i = lbGroupFields->ItemIndex();
    if (i < 0 || i >= Flds.size())
        return;
    eCollapsedGroupMask->SetText(eCollapsedGroupMask->Text() + QStringLiteral("<<") + Flds[i] + QStringLiteral(">>"));
    if (eCollapsedGroupMask->CanFocus())
        eCollapsedGroupMask->SetFocus();
    FChanged = true;
}

void TrDBFieldsGroupForm::UseClick()
{
    if (!UpdateGroup(false))
        return;
    Gr->FixedGroupedCol(true, false);
    lbGroupsClick();
}

void TrDBFieldsGroupForm::OkClick()
{
    if (!UpdateGroup(false))
        return;
    if (Gr)
        Gr->FixedGroupedCol(true, false);
    SetModalResult(mrOk);
}

void TrDBFieldsGroupForm::SetDefaultClick()
{
    if (!Gr || DlgQ(dbctltxt::ResetToDefault) != mrYes)
        return;
    Gr->FixedGroupedCol(true, true);
    LoadGroups(false);
}

void SetFieldsGroup(TrDBGrid* rDBGrid)
{
    if (!rDBGrid)
        return;
    auto* f = new TrDBFieldsGroupForm(GetActiveOwner());
    f->Gr = rDBGrid;
    f->ShowModal();
    FreeF(f);
}
