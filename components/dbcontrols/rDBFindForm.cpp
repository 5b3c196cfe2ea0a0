#include "components/dbcontrols/rDBFindForm.h"

#include "components/dbcontrols/DlgControls.h"
#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rHTMLLabel.h"
#include "components/base/rMemoEx.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/StdCtrls.h"
#include "resources/DBControlsTexts.h"

namespace {

TrDBFindForm* GActiveFindForm = nullptr;

}  // namespace

TrDBFindForm* ActiveFindForm() { return GActiveFindForm; }

TrDBFindForm::TrDBFindForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBFindForm"));
    SetCaption(dbctltxt::FindCaption);
    Constraints.MinWidth = 500;
    Constraints.MinHeight = 384;
    SetClientWidth(520);
    SetClientHeight(400);
    BuildControls();
    SetUpPropSave();
    FormCreate(this);
    OnActivate = [this](TComponent* S) { FormActivate(S); };
    // The run's last search starts the next dialog.
    const TrDBFindCfg& cfg = ParioCompConfig.rDBFindCfg;
    SetOptIndex(cfg.LastOptIndex);
    cbCase->SetChecked(cfg.LastCaseSens);
    eText->SetText(cfg.LastFindStr);
    btFindNext->SetEnabled(!cfg.LastFindStr.isEmpty());
}

TrDBFindForm::~TrDBFindForm()
{
    TrDBFindCfg& cfg = ParioCompConfig.rDBFindCfg;
    cfg.LastOptIndex = OptIndex();
    cfg.LastCaseSens = cbCase->Checked();
    cfg.LastFindStr = eText->Text();
    if (GActiveFindForm == this)
        GActiveFindForm = nullptr;
}

// ---- what the dialog keeps between uses --------------------------------------------------------

QString TrDBFindForm::GridKey() const
{
    const TComponent* owner = GDS ? GDS->Owner() : nullptr;
    return rDlgPropSave->GetFormKey() + QLatin1Char('.') + (owner ? owner->Name() : QString()) + QLatin1Char('.') +
           (GDS ? GDS->Name() : QString());
}

void TrDBFindForm::SetUpPropSave()
{
    // Read when shown and saved when closed, by the dialog itself.
    rDlgPropSave->PropSaveEvents = pseNone;
    for (TComponent* c : std::initializer_list<TComponent*>{eText, cbCase, cbDelQuotes, chCloseFound, chShowMsg})
        rDlgPropSave->StdCtrl()->Components.Add(c->Name());
    // The history belongs to the grid searched, the check boxes to the dialog.
    rDlgPropSave->StdCtrl()->OnGetKeyString = [this](TComponent* Comp, QString& Key) {
        Key = (Comp == eText ? GridKey() : rDlgPropSave->GetFormKey()) + QLatin1Char('.') + Comp->Name();
    };
    rDlgPropSave->OnReadProperties = [this](TPropSaveFile* F, const QString&) { ReadGridProps(F); };
    rDlgPropSave->OnSaveProperties = [this](TPropSaveFile* F, const QString&) { SaveGridProps(F); };
}

void TrDBFindForm::ReadGridProps(TPropSaveFile* F)
{
    SetOptIndex(F->ReadInteger(GridKey() + QStringLiteral(".rgOpt"), QStringLiteral("ItemIndex"), OptIndex()));
    if (ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields)
        return;
    TStringList order, selected;
    F->ReadStrings(GridKey() + QStringLiteral(".Order"), order);
    F->ReadStrings(GridKey() + QStringLiteral(".Selected"), selected);
    // Stored names move to the top in stored order; fields added since stay after them.
    int top = 0;
    for (int i = 0; i < order.Count(); ++i) {
        const int at = int(FN.indexOf(order[i]));
        if (at < 0 || at < top)
            continue;
        MoveEntry(at, top++);
    }
    if (selected.Count() == 0)
        return;
    for (int i = 0; i < lbLabels->Count(); ++i)
        lbLabels->SetSelected(i, selected.IndexOf(FN.value(i)) >= 0);
}

void TrDBFindForm::SaveGridProps(TPropSaveFile* F)
{
    F->WriteInteger(GridKey() + QStringLiteral(".rgOpt"), QStringLiteral("ItemIndex"), OptIndex());
    if (ParioCompConfig.rDBToolCfg.rDlg_BlockStoringGridFields)
        return;
    TStringList order, selected;
    for (int i = 0; i < FN.size(); ++i) {
        order.Add(FN[i]);
        if (i < lbLabels->Count() && lbLabels->Selected(i))
            selected.Add(FN[i]);
    }
    F->WriteStrings(GridKey() + QStringLiteral(".Order"), order);
    F->DeleteStrings(GridKey() + QStringLiteral(".Selected"));
    F->WriteStrings(GridKey() + QStringLiteral(".Selected"), selected);
}

void TrDBFindForm::BuildControls()
{
    PlaceControl<TLabel>(this, this, 8, 8, 200, 16, dbctltxt::FindValue);
    eText = PlaceControl<TComboBox>(this, this, 8, 26, 300, 23);
    eText->SetName(QStringLiteral("eText"));
    btClearHist = PlaceControl<TrHTMLLabel>(this, this, 200, 8, 108, 16);
    btClearHist->SetCaption(dbctltxt::DeleteHistory);
    btClearHist->OnAnchorClick = [this](TComponent*, const QString&) { eText->Clear(); };
    cbDelQuotes = PlaceControl<TCheckBox>(this, this, 8, 56, 300, 20, dbctltxt::DeleteQuotes);
    cbDelQuotes->SetName(QStringLiteral("cbDelQuotes"));
    rgOpt = PlaceControl<TGroupBox>(this, this, 8, 80, 300, 92, dbctltxt::Compare);
    rgOpt->SetName(QStringLiteral("rgOpt"));
    rgOpt->SetHint(dbctltxt::CompareHint);
    const QString opts[3] = {dbctltxt::WholeField, dbctltxt::BeginningOfField, dbctltxt::AnyPartOfField};
    for (int i = 0; i < 3; ++i)
        rbOpt[i] = PlaceControl<TRadioButton>(rgOpt, this, 10, 20 + i * 22, 270, 20, opts[i]);
    cbCase = PlaceControl<TCheckBox>(this, this, 8, 178, 300, 20, dbctltxt::CaseSensitive);
    chIgnoreDiacritics = PlaceControl<TCheckBox>(this, this, 8, 200, 300, 20, dbctltxt::IgnoreDiacritics);
    chCloseFound = PlaceControl<TCheckBox>(this, this, 8, 222, 300, 20, dbctltxt::CloseWhenFound);
    chShowMsg = PlaceControl<TCheckBox>(this, this, 8, 244, 300, 20, dbctltxt::ShowWarningNotFound);
    cbCase->SetName(QStringLiteral("cbCase"));
    chIgnoreDiacritics->SetName(QStringLiteral("chIgnoreDiacritics"));
    chCloseFound->SetName(QStringLiteral("chCloseFound"));
    chShowMsg->SetName(QStringLiteral("chShowMsg"));
    PlaceControl<TLabel>(this, this, 320, 8, 100, 16, dbctltxt::InFields);
    lbLabels = PlaceControl<TListBox>(this, this, 320, 26, 192, 200);
    lbLabels->SetMultiSelect(true);
    lbLabels->SetHint(dbctltxt::FieldsHint);
    btSort = PlaceControl<TLabel>(this, this, 372, 232, 40, 16, dbctltxt::Sort);
    btSort->SetAlignment(taRightJustify);
    btSort->OnClick = [this](TComponent*) { btSortClick(); };
    btUp = PlaceControl<TrButton>(this, this, 420, 230, 40, 22);
    SetButtonGlyph(btUp, dgMoveUp);
    btUp->SetHint(dbctltxt::MoveUpHint);
    btUp->OnClick = [this](TComponent*) { btUpClick(true); };
    btDown = PlaceControl<TrButton>(this, this, 464, 230, 40, 22);
    SetButtonGlyph(btDown, dgMoveDown);
    btDown->SetHint(dbctltxt::MoveDownHint);
    btDown->OnClick = [this](TComponent*) { btUpClick(false); };
    btSelAll = PlaceControl<TLabel>(this, this, 432, 256, 80, 16, dbctltxt::SelectAll);
    btSelAll->SetAlignment(taRightJustify);
    btSelAll->OnClick = [this](TComponent*) { btSelAllClick(); };
    for (TLabel* link : {btSort, btSelAll}) {
        link->Font()->SetColor(clBlue);
        link->Font()->SetStyle(fsUnderline);
        link->SetCursor(crHandPoint);
    }
    lblResult = PlaceControl<TLabel>(this, this, 8, 272, 500, 16);
    lblResult->Font()->SetStyle(fsBold);
    mInfo = PlaceControl<TrMemoEx>(this, this, 8, 292, 504, 62);
    mInfo->SetHighlightedBrushColor(clYellow);
    mInfo->SetReadOnly(true);
    mInfo->SetColor(clBtnFace);
    mInfo->SetScrollBars(ssVertical);
    btFind = PlaceControl<TrButton>(this, this, 100, 366, 96, 25, dbctltxt::Find);
    SetButtonGlyph(btFind, dgFind);
    btFind->SetDefault(true);
    btFind->SetHint(dbctltxt::FindHint);
    btFindNext = PlaceControl<TrButton>(this, this, 202, 366, 96, 25, dbctltxt::FindNext);
    SetButtonGlyph(btFindNext, dgNext);
    btFindNext->SetHint(dbctltxt::FindNext);
    btFindPrev = PlaceControl<TrButton>(this, this, 304, 366, 96, 25, dbctltxt::Previous);
    SetButtonGlyph(btFindPrev, dgPrevious);
    btFindPrev->SetHint(dbctltxt::FindNext);
    btFindPrev->SetEnabled(false);
    btClose = PlaceControl<TrButton>(this, this, 416, 366, 96, 25, dbctltxt::Close);
    SetButtonGlyph(btClose, dgClose);
    btClose->SetCancel(true);
    btClose->SetModalResult(mrAbort);
    btClose->SetHint(dbctltxt::CloseHint);
    for (TButton* b : {btFind, btFindNext, btFindPrev})
        b->OnClick = [this](TComponent* Sender) { btFindClick(Sender); };
    SetAnchorsOnResize();
}

void TrDBFindForm::SetAnchorsOnResize()
{
    // The field list takes the room a larger window gives; what stands under
    // it and the buttons follow its right and bottom edges.
    lbLabels->SetAnchors(akLeft | akTop | akRight | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{btSort, btUp, btDown, btSelAll})
        c->SetAnchors(akRight | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{lblResult, mInfo})
        c->SetAnchors(akLeft | akRight | akBottom);
    for (TControl* c : std::initializer_list<TControl*>{btFind, btFindNext, btFindPrev, btClose})
        c->SetAnchors(akRight | akBottom);
}

int TrDBFindForm::OptIndex() const
{
    for (int i = 0; i < 3; ++i)
        if (rbOpt[i]->Checked())
            return i;
    return -1;
}

void TrDBFindForm::SetOptIndex(int Index)
{
    for (int i = 0; i < 3; ++i)
        rbOpt[i]->SetChecked(i == Index);
}

void TrDBFindForm::DoShow()
{
    FormShow(this);
    lblResult->SetCaption(QString());
    mInfo->Clear();
    TStringList names, captions;
    const TGetFldDefs defs = FldDef(fdVisibleFieldOnly) | FldDef(fdSimpleField) | FldDef(fdMemoField);
    GetFldList(GDS, &names, defs);
    GetFldList(GDS, &captions, defs | FldDef(fdGetLabels));
    FN.clear();
    QStringList items;
    for (int i = 0; i < names.Count(); ++i) {
        FN << names[i];
        items << (i < captions.Count() ? captions[i] : names[i]);
    }
    lbLabels->SetItems(items);
    lbLabels->SelectAll();
    if (Sorted)
        btSortClick();
    rDlgPropSave->ReadProperties();
    // A box saved ticked while it was shown must not strip quotes unseen.
    if (!cbDelQuotes->Visible())
        cbDelQuotes->SetChecked(false);
    if (lbLabels->Count() > 0)
        lbLabels->SetItemIndex(0);
    TrDBDlgBaseForm::DoShow();
    if (eText->CanFocus())
        eText->SetFocus();
}

void TrDBFindForm::DoClose(TCloseAction& Action)
{
    TrDBDlgBaseForm::DoClose(Action);
    rDlgPropSave->SaveProperties();
    FormClose(this, Action);
}

QString TrDBFindForm::Fold(const QString& S) const
{
    QString r = cbCase->Checked() ? S : S.toUpper();
    if (chIgnoreDiacritics->Checked())
        r = ConvertUnicodeToAscii(r);
    return r;
}

bool TrDBFindForm::TryFind(bool Backward)
{
    TDataSet* d = GetDataSet(GDS);
    if (!d)
        return false;
    // 1.
    const QString s = Fold(eText->Text());
    const int opt = OptIndex();
    // 2. No repainting and no scroll handlers while scanning.
    d->DisableControls();
    TDataSet::TDataSetNotifyEvent afterScroll = d->AfterScroll;
    d->AfterScroll = nullptr;
    const TCursor cursor = SQLCursor();
    bool found = false;
    auto restore = [&] {
        d->EnableControls();
        d->AfterScroll = afterScroll;
        ChCursor(cursor);
    };
    try {
        // 3.
        while (!found && !(Backward ? d->Bof() : d->Eof())) {
            for (int i = 0; i < lbLabels->Count() && !found; ++i) {
                if (!lbLabels->Selected(i) || i >= FN.size())
                    continue;
                TField* f = d->FindField(FN[i]);
                if (!f)
                    continue;
                const QString text = f->AsString();
                const QString v = Fold(text);
                const bool hit = opt == 0 ? v == s : opt == 1 ? (!s.isEmpty() && v.startsWith(s)) : (!s.isEmpty() && v.contains(s));
                if (hit) {
                    found = true;
                    FoundIndex = i;
                    FoundFieldText = text;
                }
            }
            if (!found) {
                if (Backward) {
                    if (d->RecNo() <= 1)
                        break;
                    d->Prior();
                } else {
                    d->Next();
                }
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    // 4.
    restore();
    if (afterScroll)
        afterScroll(d);
    // 5.
    if (!found)
        FoundIndex = -1;
    return found;
}

void TrDBFindForm::btFindClick(TComponent* Sender)
{
    TDataSet* d = GetDataSet(GDS);
    if (!d)
        return;
    // 1.
    if (cbDelQuotes->Checked())
        eText->SetText(ClearStr(QStringLiteral("\""), eText->Text(), true));
    const QString typed = eText->Text();
    // 2. The history, sorted ignoring case.
    bool known = false;
    for (const QString& h : eText->Items())
        known = known || h.compare(typed, Qt::CaseInsensitive) == 0;
    if (!known) {
        QStringList items = eText->Items();
        items << typed;
        std::sort(items.begin(), items.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        eText->SetItems(items);
        eText->SetText(typed);
    }
    // 3.
    const bool backward = Sender == btFindPrev;
    if (Sender == btFindNext)
        d->Next();
    else if (backward)
        d->Prior();
    else
        d->First();
    // 4.
    const bool nextWas = btFindNext->Enabled(), prevWas = btFindPrev->Enabled();
    for (TButton* b : {btFind, btFindNext, btFindPrev})
        b->SetEnabled(false);
    lblResult->SetCaption(dbctltxt::Searching);
    mInfo->Clear();
    mInfo->SetHighlightWords({});
    Repaint();
    // 5.
    const bool found = TryFind(backward);
    if (found) {
        // 6.
        const QString caption = FoundIndex < lbLabels->Count() ? lbLabels->Strings(FoundIndex) : QString();
        lblResult->SetCaption(Format(dbctltxt::FoundIn, {dbctltxt::Found, caption}));
        mInfo->SetText(FoundFieldText);
        if (FoundFieldText.compare(typed, Qt::CaseInsensitive) != 0) {
            // The typed text stands out in the field's text.
            mInfo->SetHighlightWords({typed});
            const int at = AnsiPosEx(typed, FoundFieldText, 1, cbCase->Checked());
            if (at > 0) {
                mInfo->SetSelStart(at - 1);
                mInfo->SetSelLength(0);
            }
        }
    } else {
        // 7.
        lblResult->SetCaption(dbctltxt::NotFound);
        if (chShowMsg->Checked())
            DlgW(dbctltxt::NotFound);
    }
    // 8.
    eText->SelectAll();
    btFind->SetEnabled(true);
    btFindNext->SetEnabled(found || (backward && nextWas));
    btFindPrev->SetEnabled(found || (!backward && prevWas));
    eText->SetFocus();
    // After a hit the button that searches on in the same direction is the
    // one to press again.
    if (found)
        (backward ? btFindPrev : btFindNext)->SetFocus();
    if (found && chCloseFound->Checked()) {
        Close();
        SetModalResult(mrAbort);
    }
    // 9.
    if (found && ParioCompConfig.rDBFindCfg.OnFoundEvent)
        ParioCompConfig.rDBFindCfg.OnFoundEvent(GDS);
}

void TrDBFindForm::MoveEntry(int From, int To)
{
    const bool sel = lbLabels->Selected(From);
    lbLabels->MoveItem(From, To);
    FN.move(From, To);
    lbLabels->SetSelected(To, sel);
}

void TrDBFindForm::btUpClick(bool Up)
{
    const int i = lbLabels->ItemIndex();
    const int to = Up ? i - 1 : i + 1;
    if (i < 0 || to < 0 || to >= lbLabels->Count())
        return;
    MoveEntry(i, to);
    lbLabels->SetItemIndex(to);
    lbLabels->SetSelected(to, lbLabels->Selected(to));
}

void TrDBFindForm::btSortClick()
{
    // Selection of the smallest remaining entry, moving the names along.
    for (int i = 0; i < lbLabels->Count(); ++i) {
        int min = i;
        for (int j = i + 1; j < lbLabels->Count(); ++j)
            if (lbLabels->Strings(j).compare(lbLabels->Strings(min), Qt::CaseInsensitive) < 0)
                min = j;
        if (min != i)
            MoveEntry(min, i);
    }
    if (lbLabels->Count() > 0)
        lbLabels->SetItemIndex(0);
}

void TrDBFindForm::btSelAllClick()
{
    lbLabels->SelectAll();
    if (lbLabels->Count() > 0)
        lbLabels->SetItemIndex(0);
}

bool FindRec(TCustomDBGrid* Grid, bool Sorted)
{
    if (!IsLinkedAndActive(Grid))
        return false;
    auto* f = new TrDBFindForm(GetActiveOwner());
    GActiveFindForm = f;
    const TrDBFindCfg& cfg = ParioCompConfig.rDBFindCfg;
    f->cbDelQuotes->SetVisible(cfg.ShowDelQuotes);
    if (!cfg.ShowDelQuotes)
        f->cbDelQuotes->SetChecked(false);
    f->chIgnoreDiacritics->SetVisible(cfg.ShowIgnoreDiacritics);
    if (!cfg.ShowIgnoreDiacritics)
        f->chIgnoreDiacritics->SetChecked(false);
    f->GDS = Grid;
    f->Sorted = Sorted;
    const bool ok = f->ShowModal() == mrOk;
    FreeF(f);
    return ok;
}
