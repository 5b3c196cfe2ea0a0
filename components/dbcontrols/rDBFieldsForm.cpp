#include "components/dbcontrols/rDBFieldsForm.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rEditNum.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rListBoxes.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"

#include <functional>

namespace {

bool HasFormat(const TField* F)
{
    return F && (dynamic_cast<const TNumericField*>(F) || IsDateTimeField(F));
}

}  // namespace

TrDBFieldsForm::TrDBFieldsForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBFieldsForm"));
    SetCaption(dbctltxt::FieldsCaption);
    SetClientWidth(517);
    SetClientHeight(311);
    Constraints.MinWidth = 520;
    mNumFormat = {QStringLiteral("0"),        QStringLiteral("0.00"),       QStringLiteral("#,##0"),
                  QStringLiteral("#,##0.00"), QStringLiteral("d.m.yyyy"),   QStringLiteral("dd.mm.yyyy"),
                  QStringLiteral("d.mmm yy"), QStringLiteral("d.mmmm yy"),  QStringLiteral("h:nn"),
                  QStringLiteral("h:nn:ss"),  QStringLiteral("h:nn AM/PM")};
    PlaceControl<TLabel>(this, this, 8, 6, 200, 16, dbctltxt::ListOfFields);
    lbLabels = PlaceControl<TrCheckListBox>(this, this, 8, 24, 200, 244);
    lbLabels->SetHint(dbctltxt::FieldsListHint);
    lbLabels->OnClick = [this](TComponent*) { SelectEntry(lbLabels->ItemIndex()); };
    lbLabels->OnClickCheck = [this](TComponent*) { ApplyVisible(lbLabels->ItemIndex()); };
    SetUpListGestures();
    btUp = PlaceControl<TrButton>(this, this, 212, 24, 26, 24);
    SetButtonGlyph(btUp, dgMoveUp);
    btUp->SetHint(dbctltxt::MoveFieldUpHint);
    btUp->OnClick = [this](TComponent*) { MoveSelected(true); };
    btDown = PlaceControl<TrButton>(this, this, 212, 52, 26, 24);
    SetButtonGlyph(btDown, dgMoveDown);
    btDown->SetHint(dbctltxt::MoveFieldDownHint);
    btDown->OnClick = [this](TComponent*) { MoveSelected(false); };
    btAll = PlaceControl<TButton>(this, this, 8, 276, 70, 25, dbctltxt::All);
    btAll->SetHint(dbctltxt::AllHint);
    btAll->OnClick = [this](TComponent*) { AllClick(); };

    gb = PlaceControl<TGroupBox>(this, this, 246, 6, 263, 222, QStringLiteral(" "));
    PlaceControl<TLabel>(gb, this, 8, 24, 60, 16, dbctltxt::CaptionLabel);
    eCaption = PlaceControl<TEdit>(gb, this, 90, 20, 165, 23);
    eCaption->OnChange = [this](TComponent*) { FCaptionEdited = true; SetTest(); };
    eCaption->OnExit = [this](TComponent*) { CaptionExit(); };
    lFormat = PlaceControl<TLabel>(gb, this, 8, 52, 80, 16, dbctltxt::FormatLabel);
    cbFormat = PlaceControl<TComboBox>(gb, this, 90, 48, 165, 23);
    cbFormat->OnChange = [this](TComponent*) { SetTest(); };
    PlaceControl<TLabel>(gb, this, 8, 80, 60, 16, dbctltxt::SizeLabel);
    enWidth = PlaceControl<TrEditNum>(gb, this, 90, 76, 60, 23);
    enWidth->SetHint(dbctltxt::SizeHint);
    enWidth->OnChange = [this](TComponent*) { SetTest(); };
    btFont = PlaceControl<TButton>(gb, this, 170, 75, 85, 25, dbctltxt::Font);
    btFont->SetHint(dbctltxt::FontHint);
    btFont->OnClick = [this](TComponent*) {
        TFontDialog dlg(this);
        dlg.Font.Assign(*lTest->Font());
        if (dlg.Execute()) {
            lTest->Font()->Assign(dlg.Font);
            SetTest();
        }
    };
    lColor = PlaceControl<TLabel>(gb, this, 8, 108, 80, 16, dbctltxt::ColumnColor);
    cbColor = PlaceControl<TrColorBox>(gb, this, 90, 104, 165, 23);
    cbColor->SetHint(dbctltxt::ColumnColorHint);
    cbColor->OnChange = [this](TComponent*) { SetTest(); };
    // Plain labels: the hints show the "<<...>>" masks literally.
    lContentInfo1 = PlaceControl<TLabel>(gb, this, 8, 104, 250, 16, dbctltxt::ContentInfoField);
    lContentInfo2 = PlaceControl<TLabel>(gb, this, 8, 120, 250, 16, dbctltxt::ContentInfoRecNo);
    for (TLabel* l : {lContentInfo1, lContentInfo2}) {
        l->Font()->SetColor(clGrayText);
        l->SetVisible(false);
    }
    rgAlign = PlaceControl<TGroupBox>(gb, this, 8, 136, 247, 40, dbctltxt::Alignment);
    const QString aligns[3] = {dbctltxt::AlignLeft, dbctltxt::AlignRight, dbctltxt::AlignCenter};
    for (int i = 0; i < 3; ++i) {
        rbAlign[i] = PlaceControl<TRadioButton>(rgAlign, this, 8 + i * 80, 16, 76, 18, aligns[i]);
        rbAlign[i]->OnClick = [this, i](TComponent*) { SetAlign(i); };
    }
    pTest = PlaceControl<TPanel>(gb, this, 8, 184, 160, 30);
    pTest->SetBevelOuter(bvLowered);
    lTest = PlaceControl<TLabel>(pTest, this, 2, 2, 156, 26, dbctltxt::ExampleText);
    lTest->SetLayout(tlCenter);
    btApply = PlaceControl<TButton>(gb, this, 176, 186, 79, 27, dbctltxt::Use);
    btApply->Font()->SetStyle(fsBold);
    btApply->SetHint(dbctltxt::UseHint);
    btApply->OnClick = [this](TComponent*) { SetProp(); };

    chGroupFields = PlaceControl<TCheckBox>(this, this, 246, 236, 150, 20, dbctltxt::GroupColumns);
    btGroupSettings = PlaceControl<TrURLLabel>(this, this, 400, 238, 110, 16, dbctltxt::GroupSettings);
    chGroupFields->OnClick = [this](TComponent*) {
        if (FReading || !RGr)
            return;
        RGr->SetGroupsActive(chGroupFields->Checked());
        RefState();
    };
    btGroupSettings->OnClick = [this](TComponent*) {
        if (!RGr)
            return;
        SetFieldsGroup(RGr);
        FReading = true;
        chGroupFields->SetChecked(RGr->OptionsEx2().Groups.Active);
        FReading = false;
        LoadAll();
    };
    btDefault = PlaceControl<TrURLLabel>(this, this, 246, 262, 200, 16, dbctltxt::SetDefaultProperties);
    btDefault->OnClick = [this](TComponent*) { SetDefaultClick(); };
    btClose = PlaceControl<TrButton>(this, this, 420, 278, 89, 25, dbctltxt::Close);
    SetButtonGlyph(btClose, dgClose);
    btClose->SetCancel(true);
    btClose->SetHint(dbctltxt::CloseHint);
    btClose->OnClick = [this](TComponent*) {
        if (TryClose())
            SetModalResult(mrCancel);
    };
    AnchorAroundGrowing(this, lbLabels);
    FormCreate(this);
    OnActivate = [this](TComponent* S) { FormActivate(S); };
}

void TrDBFieldsForm::SetUpListGestures()
{
    // A double-click toggles the entry; Ctrl+Up/Down and dragging reorder.
    lbLabels->CheckboxUpdateMode = chmItemDblClick;
    lbLabels->OnKeyDown = [this](TComponent*, Word& Key, TShiftState Shift) {
        if ((Key == VK_UP || Key == VK_DOWN) && (Shift & ssCtrl)) {
            MoveSelected(Key == VK_UP);
            Key = 0;
        }
    };
    lbLabels->OnMouseDown = [this](TComponent*, TMouseButton Button, TShiftState, int X, int Y) {
        FDragFrom = Button == mbLeft ? lbLabels->ItemAtPos({X, Y}, true) : -1;
    };
    lbLabels->OnMouseMove = [this](TComponent*, TShiftState Shift, int X, int Y) {
        if (!(Shift & ssLeft) || FDragFrom < 0)
            FDragFrom = -1;
        else
            DragOver(Y);
    };
    lbLabels->OnMouseUp = [this](TComponent*, TMouseButton, TShiftState, int, int) { FDragFrom = -1; };
    lbLabels->SetStyle(lbOwnerDrawFixed);
    lbLabels->OnDrawItem = [this](TWinControl*, int Index, const TRect& Rect, TOwnerDrawState) { DrawEntry(Index, Rect); };
}

void TrDBFieldsForm::DragOver(int Y)
{
    // The entry goes to the row under the mouse at once, never onto the row header.
    const int row = Y / std::max(1, lbLabels->ItemHeight()) + lbLabels->TopIndex();
    const int from = lbLabels->ItemIndex();
    if (from < FFixedNum || row < FFixedNum || row >= lbLabels->Count() || row == from)
        return;
    if (MoveEntry(from, row)) {
        FDragFrom = row;
        ReadProp();
    }
}

void TrDBFieldsForm::DrawEntry(int Index, const TRect& Rect)
{
    // The row header in italics, the master column of a field group in bold.
    TCanvas* c = lbLabels->Canvas();
    c->FillRect(Rect);
    c->Font()->SetStyle((c->Font()->Style() & ~(fsBold | fsItalic)) | EntryFontStyle(Index));
    TRect t = Rect;
    t.Left += 2;
    c->DrawText(lbLabels->Strings(Index), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

TFontStyles TrDBFieldsForm::EntryFontStyle(int Index) const
{
    if (FFixedNum == 1 && Index == 0)
        return fsItalic;
    return IsGroupMaster(Index) ? fsBold : TFontStyles(0);
}

bool TrDBFieldsForm::IsGroupMaster(int Index) const
{
    TColumn* col = RGr ? ColumnOf(Index) : nullptr;
    if (!col || !col->Field())
        return false;
    const TGroupInfo info = RGr->GetFieldGroupInfo(col->Field());
    return info.IsGrouped && info.IsMaster;
}

void TrDBFieldsForm::DoShow()
{
    FormShow(this);
    DS = GetDataSet(GDS);
    Gr = dynamic_cast<TCustomDBGrid*>(GDS);
    RGr = dynamic_cast<TrDBGrid*>(GDS);
    btDefault->SetEnabled(Gr != nullptr);
    const bool groups = RGr && TParioCompConfig::GetConfig_OnOffAuto(ParioCompConfig.rDBGridPropsCfg.HideTitleGroups,
                                                                     RGr->FieldsGroups.Count() > 0);
    chGroupFields->SetVisible(groups);
    btGroupSettings->SetVisible(groups);
    FReading = true;
    chGroupFields->SetChecked(RGr && RGr->OptionsEx2().Groups.Active);
    FReading = false;
    LoadAll();
    TrDBDlgBaseForm::DoShow();
}

// ---- the list -----------------------------------------------------------------------------------

TColumn* TrDBFieldsForm::ColumnOf(int Index) const
{
    const int i = Index - FFixedNum;
    return Gr && i >= 0 && i < Gr->Columns()->Count() ? Gr->Columns()->Items(i) : nullptr;
}

TField* TrDBFieldsForm::FieldOf(int Index) const
{
    if (Gr) {
        TColumn* c = ColumnOf(Index);
        return c ? c->Field() : nullptr;
    }
    const int i = Index - FFixedNum;
    return DS && i >= 0 && i < DS->FieldCount() ? DS->Fields()[i] : nullptr;
}

void TrDBFieldsForm::LoadAll()
{
    FReading = true;
    // 1. Every column (or field), ticked when visible.
    TStringList labels;
    GetFldList(GDS, &labels, FldDef(fdGetLabels) | FldDef(fdAllField));
    lbLabels->Clear();
    for (int i = 0; i < labels.Count(); ++i) {
        lbLabels->AddItem(labels[i]);
        TColumn* c = Gr && i < Gr->Columns()->Count() ? Gr->Columns()->Items(i) : nullptr;
        TField* f = !Gr && i < DS->FieldCount() ? DS->Fields()[i] : nullptr;
        lbLabels->SetChecked(i, c ? c->Visible() : f && f->Visible());
    }
    // 2. The row header first when offered.
    SetAll = true;
    FFixedNum = 0;
    mFldList.clear();
    if (RGr && UseFixedCol) {
        FFixedNum = 1;
        lbLabels->InsertItem(0, dbctltxt::RowHeader);
        lbLabels->SetChecked(0, Gr->Options() & dgIndicator);
        TStringList names;
        GetFldList(GDS, &names, FldDef(fdAllField));
        mFldList << QStringLiteral("<<#>>");
        for (int i = 0; i < names.Count(); ++i)
            mFldList << QStringLiteral("<<") + names[i] + QStringLiteral(">>");
    }
    // 3. The grid's selected column, else the first entry.
    int sel = 0;
    if (Gr && Gr->SelectedIndex() >= 0)
        sel = Gr->SelectedIndex() + FFixedNum;
    lbLabels->SetItemIndex(sel < lbLabels->Count() ? sel : 0);
    // 4.
    btFont->SetEnabled(Gr != nullptr);
    cbColor->SetEnabled(Gr != nullptr);
    lColor->SetEnabled(Gr != nullptr);
    FReading = false;
    RefState();
    ReadProp();
}

void TrDBFieldsForm::RefState()
{
    // A member's entry follows its master: off while the master is hidden.
    for (int i = 0; i < lbLabels->Count(); ++i) {
        TColumn* c = RGr ? ColumnOf(i) : nullptr;
        const TGroupInfo info = RGr ? RGr->GetFieldGroupInfo(c ? c->Field() : nullptr) : TGroupInfo{};
        const bool enabled = !info.IsGrouped || info.IsMaster || RGr->IsFieldGroupMasterVisible(info.Field);
        lbLabels->SetItemEnabled(i, enabled);
        if (!enabled)
            lbLabels->SetChecked(i, false);
    }
}

void TrDBFieldsForm::DoClose(TCloseAction& Action)
{
    if (RGr)
        RGr->FixedGroupedCol(false, false);
    TrDBDlgBaseForm::DoClose(Action);
    FormClose(this, Action);
}

// ---- properties ---------------------------------------------------------------------------------

void TrDBFieldsForm::ReadProp()
{
    FReading = true;
    act = lbLabels->ItemIndex();
    SelFixedCol = FFixedNum == 1 && act == 0;
    gb->SetCaption(act >= 0 ? QStringLiteral(" ") + lbLabels->Strings(act) + QStringLiteral(": ") : QStringLiteral(" "));
    lColor->SetVisible(!SelFixedCol);
    cbColor->SetVisible(!SelFixedCol);
    lContentInfo1->SetVisible(SelFixedCol);
    lContentInfo2->SetVisible(SelFixedCol);
    lFormat->SetCaption(SelFixedCol ? dbctltxt::HeaderContent : dbctltxt::FormatLabel);
    TAlignment align = taLeftJustify;
    if (SelFixedCol) {
        TFixedColText* fc = RGr->FixedColText();
        cbFormat->SetItems(mFldList);
        cbFormat->SetEnabled(true);
        enWidth->SetEnabled(true);
        lTest->Font()->Assign(fc->Font());
        align = fc->TextAlign();
        eCaption->SetText(fc->TitleText());
        enWidth->SetValue(fc->FixedColWidth());
        cbFormat->SetText(fc->TextMask());
    } else {
        cbFormat->SetItems(mNumFormat);
        TField* f = FieldOf(act);
        if (TColumn* c = ColumnOf(act)) {
            cbColor->SetSelected(c->Color());
            lTest->Font()->Assign(*c->Font());
            align = c->Alignment();
            eCaption->SetText(c->Title()->Caption());
        } else if (f) {
            align = TAlignment(int(f->Alignment()));
            eCaption->SetText(f->DisplayLabel());
        }
        enWidth->SetValue(f ? f->DisplayWidth() : 0);
        cbFormat->SetText(f ? f->DisplayFormat() : QString());
        cbFormat->SetEnabled(HasFormat(f));
        enWidth->SetEnabled(f != nullptr);
    }
    cbFormat->SetColor(cbFormat->Enabled() ? clWindow : clBtnFace);
    enWidth->SetColor(enWidth->Enabled() ? clWindow : clBtnFace);
    rbAlign[align == taRightJustify ? 1 : align == taCenter ? 2 : 0]->SetChecked(true);
    FCaptionEdited = false;
    FReading = false;
    SetTest();
    btApply->SetEnabled(false);
}

void TrDBFieldsForm::SetAlign(int Index)
{
    if (!rbAlign[Index]->Checked())
        rbAlign[Index]->SetChecked(true);
    SetTest();
}

void TrDBFieldsForm::SetTest()
{
    if (FReading)
        return;
    const TColor c = cbColor->Visible() ? cbColor->Selected() : clBtnFace;
    pTest->SetColor(c == clNone || c == clDefault ? clWindow : c);
    lTest->SetAlignment(rbAlign[1]->Checked() ? taRightJustify : rbAlign[2]->Checked() ? taCenter : taLeftJustify);
    lTest->Invalidate();
    btApply->SetEnabled(true);
}

void TrDBFieldsForm::CaptionExit()
{
    // The row header widens to show an edited caption whole.
    if (!SelFixedCol || !FCaptionEdited)
        return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(*lTest->Font());
    const int need = measure.Canvas()->TextWidth(eCaption->Text()) + 19;
    if (int(enWidth->Value()) < need)
        enWidth->SetValue(need);
}

void TrDBFieldsForm::SetProp()
{
    if (act < 0)
        return;
    const TAlignment align = rbAlign[1]->Checked() ? taRightJustify : rbAlign[2]->Checked() ? taCenter : taLeftJustify;
    if (SelFixedCol) {
        TFixedColText* fc = RGr->FixedColText();
        fc->SetFont(*lTest->Font());
        fc->SetTextAlign(align);
        fc->SetTitleText(eCaption->Text());
        fc->SetFixedColWidth(int(enWidth->Value()));
        fc->SetTextMask(cbFormat->Text());
        RGr->Invalidate();
    } else {
        if (TColumn* c = ColumnOf(act)) {
            c->SetColor(cbColor->Selected());
            c->SetFont(*lTest->Font());
            c->SetAlignment(align);
            c->Title()->SetAlignment(align);
            c->Title()->SetCaption(eCaption->Text());
        }
        if (TField* f = FieldOf(act)) {
            f->SetAlignment(TFieldAlignment(int(align)));
            f->SetDisplayLabel(eCaption->Text());
            f->SetDisplayWidth(int(enWidth->Value()));
            if (HasFormat(f))
                f->SetDisplayFormat(cbFormat->Text());
        }
        lbLabels->SetStrings(act, eCaption->Text());
        if (Gr)
            Gr->Invalidate();
    }
    btApply->SetEnabled(false);
}

bool TrDBFieldsForm::Pending() const
{
    return btApply->Enabled();
}

bool TrDBFieldsForm::AskPending()
{
    if (!Pending())
        return true;
    switch (ShowDlg(dtQuestion, btnYesNoCancel, {dbctltxt::UseChanges}, true)) {
    case mrYes:
        SetProp();
        return true;
    case mrNo:
        btApply->SetEnabled(false);
        return true;
    default:
        return false;
    }
}

bool TrDBFieldsForm::SelectEntry(int Index)
{
    if (Index < 0 || Index >= lbLabels->Count())
        return false;
    if (Index == act) {
        lbLabels->SetItemIndex(Index);
        return true;
    }
    if (!AskPending()) {
        lbLabels->SetItemIndex(act);
        return false;
    }
    lbLabels->SetItemIndex(Index);
    ReadProp();
    return true;
}

bool TrDBFieldsForm::TryClose()
{
    return AskPending();
}

// ---- visibility and order -----------------------------------------------------------------------

void TrDBFieldsForm::SetEntryChecked(int Index, bool Checked)
{
    if (Index < 0 || Index >= lbLabels->Count() || !lbLabels->ItemEnabled(Index))
        return;
    lbLabels->SetChecked(Index, Checked);
    ApplyVisible(Index);
}

void TrDBFieldsForm::ApplyVisible(int Index)
{
    if (FReading || Index < 0)
        return;
    const bool on = lbLabels->Checked(Index);
    // 1. The row header is the grid's indicator column.
    if (FFixedNum == 1 && Index == 0) {
        Gr->SetOptions(on ? Gr->Options() | dgIndicator : Gr->Options() & ~dgIndicator);
        return;
    }
    // 2.
    if (TColumn* c = ColumnOf(Index)) {
        c->SetVisible(on);
        // 3. A column shown again gets its width, the grid's width mode again.
        if (RGr) {
            if (const TGroupInfo info = RGr->GetFieldGroupInfo(c->Field()); info.IsGrouped && info.IsMaster && !on)
                RGr->CollapseGroup(c->Field());
            RefState();
            if (on)
                RGr->SetOneColumnWidth(cwNone, c, 0);
            if (RGr->ColumnWidth() == cwSameWidth || RGr->ColumnWidth() == cwAutoWidth)
                RGr->SetColumnWidth(RGr->ColumnWidth(), 0);
        }
    } else if (TField* f = FieldOf(Index)) {
        f->SetVisible(on);
    }
}

void TrDBFieldsForm::AllClick()
{
    for (int i = 0; i < lbLabels->Count(); ++i)
        SetEntryChecked(i, SetAll);
    SetAll = !SetAll;
}

bool TrDBFieldsForm::MoveEntry(int From, int To)
{
    // Nothing moves above or onto the row header.
    if (From < FFixedNum || To < FFixedNum || To >= lbLabels->Count() || From == To)
        return false;
    if (!MoveCheckListBox(lbLabels, From, To))
        return false;
    if (Gr)
        Gr->Columns()->Items(From - FFixedNum)->SetIndex(To - FFixedNum);
    else if (DS)
        DS->Fields()[From - FFixedNum]->SetIndex(To - FFixedNum);
    lbLabels->SetItemIndex(To);
    act = To;
    lbLabels->Invalidate();
    return true;
}

bool TrDBFieldsForm::MoveSelected(bool Up)
{
    const int i = lbLabels->ItemIndex();
    if (i < 0)
        return false;
    return MoveEntry(i, Up ? i - 1 : i + 1);
}

// ---- defaults -----------------------------------------------------------------------------------

void TrDBFieldsForm::SetDefaultClick()
{
    if (!Gr || DlgQ(dbctltxt::ResetToDefault) != mrYes)
        return;
    if (RGr)
        RGr->RestoreColumnsWidth(true, true);
    else
        Gr->Columns()->RebuildColumns();
    DisableGridSavers(Gr);
    if (ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns)
        ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns(Gr);
    btApply->SetEnabled(false);
    SetModalResult(mrCancel);
}

void TrDBFieldsForm::DisableGridSavers(TCustomDBGrid* Grid)
{
    // The next save removes the grid's stored settings instead of writing the
    // ones just reset, so the defaults are what the next start shows.
    TComponent* form = GetParentForm(Grid);
    if (!form)
        form = Grid->Owner();
    std::function<void(TComponent*)> walk = [&](TComponent* Owner) {
        for (int i = 0; Owner && i < Owner->ComponentCount(); ++i) {
            TComponent* c = Owner->Components(i);
            if (auto* saver = dynamic_cast<TCustomPropSave*>(c)) {
                auto& list = saver->DisableComponents;
                if (std::find(list.begin(), list.end(), Grid) == list.end())
                    list.push_back(Grid);
            }
            walk(c);
        }
    };
    walk(form);
}

void ChooseFields(TComponent* GridOrDataSet, int Mode)
{
    if (!IsLinkedAndActive(GridOrDataSet))
        return;
    auto* f = new TrDBFieldsForm(GetActiveOwner());
    f->GDS = GridOrDataSet;
    f->UseFixedCol = TParioCompConfig::GetConfig_OnOffAuto(Mode, ParioCompConfig.rDBFieldsCfg.SetFixedCol);
    f->ShowModal();
    FreeF(f);
}
