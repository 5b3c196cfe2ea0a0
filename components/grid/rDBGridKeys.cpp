// The grid's keyboard handling and the incremental search that starts when
// the user types into a grid that is not being edited: over the dataset
// (locate by prefix, then a substring search over the records), the search
// filter, the pick-list completion and the automatic pick lists.

#include "components/grid/rDBGrid.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/Forms.h"

#include "components/base/rtool.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"

#include <algorithm>

namespace {

bool IsNumericField(const TField* F)
{
    return IsNumericFieldType(F->DataType());
}

}  // namespace

bool TrDBGrid::CheckDropDownEdit()
{
    TColumn* col = SelectedIndex() >= 0 ? Columns()->Items(SelectedIndex()) : nullptr;
    if (!col)
        return false;
    if (col->ButtonStyle == cbsEllipsis) {
        ShowEditor();
        EditButtonClick();
        return true;
    }
    TField* f = col->Field();
    if (col->ButtonStyle == cbsAuto && (!col->PickList.isEmpty() || (f && f->FieldKind() == fkLookup)) && CanEdit()) {
        ShowEditor();
        if (InplaceEditor())
            InplaceEditor()->DropDown();
        return true;
    }
    return false;
}

// ---- key down ----------------------------------------------------------------------

void TrDBGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const TShiftState mods = Shift & (ssShift | ssCtrl | ssAlt);
    // 1.
    if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_DELETE)
        StopSearching();
    // 2. The search filter.
    if ((Key == VK_LEFT || Key == VK_RIGHT) && mods == ssCtrl &&
        (LookupCondition == lcBrowseFilter || LookupCondition == lcNotEditFilter)) {
        if (SearchGridFilter(Key == VK_LEFT)) {
            Key = 0;
            return;
        }
    }
    // 3. The next or previous match.
    if ((Key == VK_UP || Key == VK_DOWN) && IsSearching() && SearchNext(Key == VK_UP)) {
        Key = 0;
        return;
    }
    // 4. Tab leaves the grid unless a record is being edited.
    if (Key == VK_TAB && !FOptionsEx2.Appearance.StandardTabKey && !(mods & ~ssShift)) {
        TDataSet* ds = DataSet();
        if (!ds || (ds->State() != dsEdit && ds->State() != dsInsert)) {
            if (TCustomForm* form = GetParentForm(this))
                form->SelectNext(this, !(mods & ssShift), true);
            Key = 0;
            return;
        }
    }
    // 5. Enter as Tab.
    if (Key == VK_RETURN && mods == 0 && FOptionsEx2.Appearance.ReturnAsTabKey && !EditorMode()) {
        isReturnAsTabKeyActive = true;
        Key = VK_TAB;
    } else {
        isReturnAsTabKeyActive = false;
    }
    // 6-7. Copy and cut.
    if (mods == ssCtrl && (Key == 'C' || Key == VK_INSERT)) {
        CopyCellData(true);
        Key = 0;
        return;
    }
    if (mods == ssCtrl && Key == 'X') {
        CopyCellData(true);
        DoDelete();
        Key = 0;
        return;
    }
    // 8. Paste.
    if ((mods == ssCtrl && Key == 'V') || (mods == ssShift && Key == VK_INSERT)) {
        if (CanEdit() && PasteFromClipboard())
            Key = 0;
        if (Key == 0)
            return;
    }
    // 9. Delete clears the cell.
    if (Key == VK_DELETE && mods == 0 && !EditorMode()) {
        if (DoDelete()) {
            Key = 0;
            return;
        }
    }
    // 10.
    if (Key == VK_F4 && mods == 0 && CheckDropDownEdit()) {
        Key = 0;
        return;
    }
    // 11-12. No records appended by keys.
    bool downInBrowse = false;
    if (FOptionsEx2.Editors.BlockInsertByKey && IsActive()) {
        if (Key == VK_INSERT) {
            Key = 0;
            return;
        }
        downInBrowse = Key == VK_DOWN && !(mods & ssCtrl) && DataSet()->State() == dsBrowse;
    }
    TDBGrid::KeyDown(Key, Shift);
    if (downInBrowse && DataSet()->State() == dsInsert)
        DataSet()->Cancel();
}

bool TrDBGrid::PasteFromClipboard()
{
    QString t = CleanLastEOL(Clipboard()->AsText());
    if (FOptionsEx2.Editors.AllowPasteMultipleCells && (t.contains(QStringLiteral("\r\n")) || t.contains(QLatin1Char('\t')))) {
        IntPasteData(SelectedIndex(), false);
        return false;
    }
    TField* f = SelectedField();
    if (!f)
        return false;
    if (IsNumericField(f))
        t = CleanNumericString(t);
    else if (IsDateTimeField(f))
        t = CleanDateTimeString(t);
    try {
        f->SetAsString(t);
    } catch (...) {
        return false;
    }
    ShowEditor();
    return true;
}

bool TrDBGrid::DoDelete()
{
    TField* f = SelectedField();
    if (!f)
        return false;
    if (IsBoolEx(f))
        return ChangeBool(true, FOptionsEx2.Editors.BoolAllowsNull);
    if (!CanEdit())
        return false;
    try {
        if (f->FieldKind() == fkLookup) {
            if (TField* key = DataSet()->FindField(f->KeyFields))
                key->Clear();
        } else {
            f->Clear();
        }
        if (InplaceEditor() && EditorMode())
            InplaceEditor()->SetText(QString());
        Invalidate();
    } catch (...) {
    }
    return true;
}

// ---- key press ---------------------------------------------------------------------

void TrDBGrid::KeyPress(QChar& Key)
{
    // 1.
    if (Key == QLatin1Char('\r') && FOptionsEx2.Appearance.ReturnAsTabKey && !EditorMode() && isReturnAsTabKeyActive) {
        Key = QLatin1Char('\t');
        isReturnAsTabKeyActive = false;
    }
    TField* f = SelectedField();
    // 2. Space toggles a check box.
    if (Key == QLatin1Char(' ') && f && IsBoolEx(f) && ChangeBool(false, false)) {
        Key = QChar();
        return;
    }
    // 3. Enter ends a search and opens a picture or a memo shown as a glyph.
    if (Key == QLatin1Char('\r')) {
        const bool searching = IsSearching();
        StopSearching();
        bool opened = false;
        if (f && IsActive() && IsGraphicEx(f)) {
            ShowGraphic(f);
            opened = true;
        } else if (f && IsActive() && IsMemoAsGlyph(f, true)) {
            ShowMemo(f);
            opened = true;
        }
        if (searching || opened) {
            Key = QChar();
            return;
        }
    }
    // 4. Edit or search.
    const bool typed = Key.unicode() >= 32 || (IsSearching() && (Key == QLatin1Char('\b') || Key.unicode() == 27));
    if (f && !Key.isNull() && typed) {
        TDataSet* ds = DataSet();
        const bool dsEditing = ds && (ds->State() == dsEdit || ds->State() == dsInsert);
        const bool notEditCond = LookupCondition == lcNotEdit || LookupCondition == lcNotEditFilter;
        const bool browseCond = LookupCondition == lcBrowse || LookupCondition == lcBrowseFilter;
        const bool edits = (!notEditCond || dsEditing) && (!browseCond || (Options() & dgEditing));
        TColumn* col = SelectedIndex() >= 0 ? Columns()->Items(SelectedIndex()) : nullptr;
        if (edits) {
            if (col && !col->ReadOnly() && !f->ReadOnly() && f->FieldKind() != fkLookup && !col->PickList.isEmpty()) {
                if (FOptionsEx2.Editors.OnlyPickListValues)
                    Key = QChar();
                else if (CanEdit())
                    ProcessPicklistSearchKey(Key);
            } else if (col && !col->ReadOnly() && f->FieldKind() == fkLookup && CanEdit()) {
                ProcessLookupSearchKey(Key);
            }
        } else {
            ProcessGridSearchKey(Key);
        }
    }
    if (!Key.isNull())
        TDBGrid::KeyPress(Key);
}

// ---- grid search -------------------------------------------------------------------

void TrDBGrid::ProcessGridSearchKey(QChar& Key)
{
    if (FSearchingPrevNext != stFindFirst) {
        const bool found = TryFind(FSearchText);
        ShowSearchHint(FSearchText, QString(), found, Key);
        FSearchingPrevNext = stFindFirst;
        return;
    }
    if (Key.isNull()) {
        const bool found = TryLocate(FSearchText, QChar()) || TryFind(FSearchText);
        ShowSearchHint(FSearchText, QString(), found, Key);
    } else if (Key == QLatin1Char('\b')) {
        if (FSearchText.size() <= 1) {
            StopSearching();
            Key = QChar();
            return;
        }
        ShowSearchHint(FSearchText.left(FSearchText.size() - 1), QString(), true, Key);
    } else if (Key.unicode() == 27) {
        StopSearching();
        Key = QChar();
    } else if (Key.unicode() >= 32) {
        const QString n = FSearchText + Key;
        if (TryLocate(n, Key) || TryFind(n))
            ShowSearchHint(n, QString(Key), true, Key);
        else
            ShowSearchHint(FSearchText, QString(Key), false, Key);
    }
}

bool TrDBGrid::TryLocate(const QString& Text, QChar Typed)
{
    TField* f = SelectedField();
    TDataSet* ds = DataSet();
    if (!f || IsFiltered() || !(f->DataType() == ftString || f->DataType() == ftWideString || f->DataType() == ftFixedChar) ||
        !(f->FieldKind() == fkData || f->FieldKind() == fkCalculated))
        return false;
    try {
        if (ds->Locate(f->FieldName(), Text, loCaseInsensitive | loPartialKey))
            return true;
        // Finnish sorts "ch" as one letter: "c" may be the start of "ch".
        if (Typed == QLatin1Char('c') || Typed == QLatin1Char('C'))
            return ds->Locate(f->FieldName(), QString(Text + QLatin1Char('h')), loCaseInsensitive | loPartialKey);
    } catch (...) {
    }
    return false;
}

bool TrDBGrid::TryFind(const QString& Text)
{
    TField* f = SelectedField();
    TDataSet* ds = DataSet();
    if (!f || !ds || !ds->Active() || Text.isEmpty())
        return false;
    // 1. Controls and events off; the saved BeforeScroll runs once.
    ds->DisableControls();
    const TBookmark bm = ds->GetBookmark();
    SaveResetDatasetEvents(3);
    const auto savedBefore = std::get<0>(FSavedEvents.back());
    const auto savedAfter = std::get<1>(FSavedEvents.back());
    bool found = false;
    auto finish = [&] {
        if (!found)
            try {
                if (ds->BookmarkValid(bm))
                    ds->GotoBookmark(bm);
            } catch (...) {
            }
        if (savedAfter)
            savedAfter(ds);
        RestoreDatasetEvents(3);
        ds->EnableControls();
    };
    try {
        if (savedBefore)
            savedBefore(ds);
        // 2-3. Forward or backward from the first record or the next one.
        const bool back = FSearchingPrevNext == stFindPrev;
        const bool isBool = f->DataType() == ftBoolean || IsBoolEx(f);
        if (FSearchingPrevNext == stFindFirst)
            ds->First();
        else if (back)
            ds->Prior();
        else
            ds->Next();
        auto matches = [&] {
            if (isBool && Text.size() == 1) {
                const QChar t = Text[0].toUpper();
                const bool v = FieldAsBooleanValue(f);
                return (QStringLiteral("1AYT").contains(t) && v) || (QStringLiteral("0NF").contains(t) && !v);
            }
            return f->DisplayText().contains(Text, Qt::CaseInsensitive);
        };
        while (back ? !ds->Bof() : !ds->Eof()) {
            if (matches()) {
                found = true;
                break;
            }
            if (back)
                ds->Prior();
            else
                ds->Next();
        }
        // Bof is also true on the first record itself.
        if (!found && back && matches())
            found = true;
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return found;
}

void TrDBGrid::ShowSearchHint(const QString& Text, const QString& Key, bool Found, QChar& KeyOut)
{
    FSearchText = Text;
    const bool allowFilter = LookupCondition == lcBrowseFilter || LookupCondition == lcNotEditFilter;
    FSearchHint = GetSearchHintText(Text, Key, FSearchingPrevNext, Found, allowFilter, IsFiltered());
    if (!FSearchHint.isEmpty()) {
        const TRect cell = CellRect(Col(), Row());
        ShowIntHint(FSearchHint, TPoint(cell.Left + 8, cell.Top + DefaultRowHeight() + 8), true);
    }
    KeyOut = QChar();
}

void TrDBGrid::ShowIntHint(const QString& Text, TPoint TopLeft, bool UseDelay)
{
    if (!OwnHintWin)
        return;
    const TRect r = OwnHintWin->CalcHintRect(std::max(Width(), 40), Text);
    const TPoint p = ClientToScreen(TopLeft);
    OwnHintWin->SetColor(Application ? Application->HintColor : clInfoBk);
    OwnHintWin->ActivateHint(::Rect(p.X, p.Y, p.X + r.Width() + 4, p.Y + r.Height() + 1), Text);
    if (FTimer) {
        FTimer->SetEnabled(false);
        if (UseDelay) {
            FTimer->SetInterval(int(FOptionsEx2.Appearance.LookupResetDelay));
            FTimer->SetEnabled(true);
        }
    }
}

void TrDBGrid::StopSearching()
{
    if (FTimer)
        FTimer->SetEnabled(false);
    FSearchText.clear();
    FSearchHint.clear();
    FSearchingPrevNext = stFindFirst;
    if (OwnHintWin && OwnHintWin->Showing())
        OwnHintWin->ReleaseHandle();
    if (Application) {
        Application->HintPause = oldHintPause;
        Application->CancelHint();
    }
    SetCursor(crDefault);
    if (InplaceEditor() && EditorMode()) {
        InplaceEditor()->SetSelStart(0);
        InplaceEditor()->SetSelLength(1000);
    }
}

bool TrDBGrid::SearchNext(bool Prev)
{
    if (!IsSearching())
        return false;
    FSearchingPrevNext = Prev ? stFindPrev : stFindNext;
    QChar k;
    if (!EditorMode()) {
        ProcessGridSearchKey(k);
        return true;
    }
    if (auto* ed = dynamic_cast<TDBGridInplaceEdit*>(InplaceEditor()); ed && ed->UseDataList()) {
        ProcessLookupSearchKey(k);
        return true;
    }
    FSearchingPrevNext = stFindFirst;
    return false;
}

// ---- lookup search -------------------------------------------------------------------

bool TrDBGrid::IsLookupFilterColumn(TColumn* Column)
{
    TField* f = Column ? Column->Field() : nullptr;
    bool v = FOptionsEx2.Editors.AllowLookupFilter && f && f->LookupDataSet && f->LookupDataSet->Active();
    DoGeneralEventFieldBool(geIsLookupFilterColumn, f, v);
    return v;
}

bool TrDBGrid::TryLocateLookup(TField* Lookup, const QString& Text, QChar Typed)
{
    TDataSet* ld = Lookup->LookupDataSet;
    if (ld->Filtered())
        return false;
    try {
        if (ld->Locate(Lookup->LookupResultField, Text, loCaseInsensitive | loPartialKey))
            return true;
        if (Typed == QLatin1Char('c') || Typed == QLatin1Char('C'))
            return ld->Locate(Lookup->LookupResultField, QString(Text + QLatin1Char('h')), loCaseInsensitive | loPartialKey);
    } catch (...) {
    }
    return false;
}

bool TrDBGrid::TryFindLookup(TField* Lookup, const QString& Text)
{
    TDataSet* ld = Lookup->LookupDataSet;
    TField* rf = ld->FindField(Lookup->LookupResultField);
    if (!rf || Text.isEmpty())
        return false;
    ld->DisableControls();
    const TBookmark bm = ld->GetBookmark();
    bool found = false;
    try {
        const bool back = FSearchingPrevNext == stFindPrev;
        if (FSearchingPrevNext == stFindFirst)
            ld->First();
        else if (back)
            ld->Prior();
        else
            ld->Next();
        while (!found && (back ? !ld->Bof() : !ld->Eof())) {
            found = rf->DisplayText().contains(Text, Qt::CaseInsensitive);
            if (!found)
                back ? ld->Prior() : ld->Next();
        }
        if (!found && back && rf->DisplayText().contains(Text, Qt::CaseInsensitive))
            found = true;
        if (!found && ld->BookmarkValid(bm))
            ld->GotoBookmark(bm);
    } catch (...) {
        ld->EnableControls();
        throw;
    }
    ld->EnableControls();
    return found;
}

void TrDBGrid::ShowLookupResult(TField* Lookup, const QString& Text, const QString& Key, bool Found, bool SelectAll, QChar& KeyOut)
{
    FSearchText = Text;
    TDataSet* ld = Lookup->LookupDataSet;
    const QVariant key = ld->FieldByName(Lookup->LookupKeyFields)->AsVariant();
    auto* ed = dynamic_cast<TDBGridInplaceEdit*>(InplaceEditor());
    if (Found) {
        if (ed && ed->ListVisible() && ed->DataList()) {
            ed->DataList()->SetKeyValue(key);
        } else if (TField* kf = DataSet()->FindField(Lookup->KeyFields)) {
            try {
                kf->SetAsVariant(key);
            } catch (...) {
            }
            if (ed && EditorMode()) {
                ed->SetText(Lookup->DisplayText());
                ed->SetSelStart(SelectAll ? 0 : int(Text.size()));
                ed->SetSelLength(SelectAll ? ed->Text().size() : ed->Text().size() - int(Text.size()));
            }
        }
    }
    const bool listOpen = ed && ed->ListVisible();
    FSearchHint = ParioCompConfig.rDBComponentsCfg.ShowSimpleLookupHint
                      ? Text
                      : GetSearchHintText(Text, Key, FSearchingPrevNext, Found,
                                          listOpen && IsLookupFilterColumn(Columns()->Items(SelectedIndex())), ld->Filtered());
    if (!FSearchHint.isEmpty()) {
        // Beside the open list (above it when it opened upwards), else under the cell.
        const TRect cell = CellRect(Col(), Row());
        TPoint at(cell.Left, cell.Top + DefaultRowHeight() + 8);
        if (TWinControl* list = listOpen ? ed->ActiveList() : nullptr) {
            const TPoint lt = ScreenToClient(list->ClientToScreen(TPoint(0, 0)));
            at = lt.Y < cell.Top ? TPoint(lt.X, lt.Y - 24) : TPoint(lt.X, lt.Y + list->Height() + 8);
        }
        ShowIntHint(FSearchHint, TPoint(at.X + 4, at.Y), false);
    }
    if (Found && listOpen && !Key.isEmpty() && IsLookupFilterColumn(Columns()->Items(SelectedIndex())))
        SearchLookupFilter(false);
    KeyOut = QChar();
}

void TrDBGrid::ProcessLookupSearchKey(QChar& Key)
{
    TField* f = SelectedField();
    if (!f || f->FieldKind() != fkLookup || !f->LookupDataSet || !f->LookupDataSet->Active())
        return;
    if (FSearchingPrevNext != stFindFirst) {
        const bool found = TryFindLookup(f, FSearchText);
        ShowLookupResult(f, FSearchText, QString(), found, true, Key);
        FSearchingPrevNext = stFindFirst;
        return;
    }
    if (Key.isNull()) {
        const bool located = TryLocateLookup(f, FSearchText, QChar());
        const bool found = located || TryFindLookup(f, FSearchText);
        ShowLookupResult(f, FSearchText, QString(), found, !located, Key);
    } else if (Key == QLatin1Char('\b')) {
        if (FSearchText.size() <= 1) {
            StopSearching();
            f->LookupDataSet->SetFiltered(false);
            Key = QChar();
            return;
        }
        ShowLookupResult(f, FSearchText.left(FSearchText.size() - 1), QString(), true, false, Key);
    } else if (Key.unicode() == 27) {
        StopSearching();
        Key = QChar();
    } else if (Key.unicode() >= 32) {
        const QString n = FSearchText + Key;
        const bool located = TryLocateLookup(f, n, Key);
        if (located || TryFindLookup(f, n))
            ShowLookupResult(f, n, QString(Key), true, !located, Key);
        else
            ShowLookupResult(f, FSearchText, QString(Key), false, true, Key);
    }
}

bool TrDBGrid::SearchLookupFilter(bool Reset)
{
    TField* f = SelectedField();
    if (!f || f->FieldKind() != fkLookup || !f->LookupDataSet)
        return false;
    TDataSet* ld = f->LookupDataSet;
    QChar k;
    if (Reset) {
        ld->SetFiltered(false);
        if (IsSearching())
            ProcessLookupSearchKey(k);
        return true;
    }
    if (!IsSearching())
        return false;
    TField* rf = ld->FindField(f->LookupResultField);
    QChar w = FOptionsEx2.Filters.TextFilterLikeChar;
    if (w.isNull())
        w = GetFilterWildCardChar(ld, false);
    QString op = FOptionsEx2.Filters.TextFilterLikeOperator;
    if (op.isEmpty())
        op = GetFilterLikeOperator(ld, false);
    const QString s = rf && IsApostrField(rf) ? GetFilterCond(rf, w + FSearchText + w, false, op) : QString();
    if (s.isEmpty())
        return false;
    const bool ok = SetFilterString(ld, s, false);
    ProcessLookupSearchKey(k);
    return ok;
}

QString TrDBGrid::SearchGetFilterString(TField* Field)
{
    if (!Field)
        return QString();
    if (Field->DataType() == ftBoolean)
        return GetFilterCond(Field, GetBooleanFieldTextValue(Field, Field->AsBoolean()), Field->IsNull(), QString());
    if (IsNumericField(Field) || IsDateTimeField(Field))
        return GetFilterCond(Field, Field->AsString(), false, QString());
    if (IsApostrField(Field)) {
        const QChar w = FOptionsEx2.Filters.GetTextFilterLikeChar();
        return GetFilterCond(Field, w + FSearchText + w, false, FOptionsEx2.Filters.GetTextFilterLikeOperator());
    }
    return QString();
}

bool TrDBGrid::SearchGridFilter(bool Reset)
{
    if (!IsSearching())
        return false;
    QChar k;
    if (Reset) {
        DataSet()->SetFiltered(false);
        ProcessGridSearchKey(k);
        FilterChangedNotification();
        return true;
    }
    const QString s = SearchGetFilterString(SelectedField());
    if (s.isEmpty())
        return false;
    const bool ok = SetFilterString(DataSet(), s, false);
    ProcessGridSearchKey(k);
    FilterChangedNotification();
    return ok;
}

// ---- pick-list completion ------------------------------------------------------------

void TrDBGrid::ProcessPicklistSearchKey(QChar& Key)
{
    TInplaceEdit* ed = InplaceEditor();
    TColumn* col = Columns()->Items(SelectedIndex());
    // The completion goes on only from the state a previous match left.
    if (!ed || !EditorMode() || ed->SelStart() != FSearchText.size() || ed->SelStart() + ed->SelLength() != ed->Text().size()) {
        FSearchText.clear();
        if (!ed || !EditorMode() || ed->Text().isEmpty() || ed->SelLength() == ed->Text().size()) {
            // A fresh cell: the typed character starts the completion.
            if (Key.unicode() < 32)
                return;
        } else {
            return;
        }
    }
    if (Key == QLatin1Char('\b')) {
        FSearchText.chop(1);
    } else if (Key.unicode() >= 32) {
        FSearchText += Key;
    } else {
        return;
    }
    QString match;
    for (const QString& item : col->PickList)
        if (item.startsWith(FSearchText, Qt::CaseInsensitive)) {
            match = item;
            break;
        }
    if (match.isEmpty() && Key != QLatin1Char('\b'))
        return;  // typed normally
    const QString text = match.isEmpty() ? FSearchText : match;
    if (!CanEditModify())
        return;
    if (!EditorMode())
        ShowEditor();
    ed = InplaceEditor();
    ed->SetText(text);
    SetEditText(Col(), Row(), text);
    ed->SetSelStart(FSearchText.size());
    ed->SetSelLength(text.size() - FSearchText.size());
    Key = QChar();
}

// ---- automatic pick lists ------------------------------------------------------------

void TrDBGrid::LoadAutoPickList()
{
    if (!IsActive() || FieldsAutoPickList.Count() == 0)
        return;
    std::vector<TColumn*> cols;
    for (int i = 0; i < Columns()->Count(); ++i)
        if (FieldsAutoPickList.IndexOf(Columns()->Items(i)->FieldName()) >= 0)
            cols.push_back(Columns()->Items(i));
    if (OnLoadPickList) {
        for (TColumn* c : cols)
            OnLoadPickList(this, DataSet(), c->FieldName(), c->PickList);
        return;
    }
    for (TColumn* c : cols)
        c->PickList.clear();
    ScanAllRecords(4, 0, true, true, [&](TDataSet*, int) {
        for (TColumn* c : cols)
            if (TField* f = c->Field(); f && !c->PickList.contains(f->DisplayText()))
                c->PickList << f->DisplayText();
    });
    for (TColumn* c : cols) {
        TField* f = c->Field();
        if (f && IsDateTimeField(f))
            std::sort(c->PickList.begin(), c->PickList.end(), [](const QString& a, const QString& b) { return SortDate(a, b) < 0; });
        else if (f && IsNumericField(f))
            std::sort(c->PickList.begin(), c->PickList.end(), [](const QString& a, const QString& b) { return SortNum(a, b) < 0; });
        else
            c->PickList.sort(Qt::CaseInsensitive);
    }
}

void TrDBGrid::LoadColorPickList()
{
    static const QStringList names = {
        QStringLiteral("Black"), QStringLiteral("Maroon"), QStringLiteral("Green"), QStringLiteral("Olive"),
        QStringLiteral("Navy"), QStringLiteral("Purple"), QStringLiteral("Teal"), QStringLiteral("Gray"),
        QStringLiteral("Silver"), QStringLiteral("Red"), QStringLiteral("Lime"), QStringLiteral("Yellow"),
        QStringLiteral("Blue"), QStringLiteral("Fuchsia"), QStringLiteral("Aqua"), QStringLiteral("White"),
        QStringLiteral("MoneyGreen"), QStringLiteral("SkyBlue"), QStringLiteral("Cream"), QStringLiteral("MedGray"),
        QStringLiteral("Custom...")};
    for (int i = 0; i < Columns()->Count(); ++i)
        if (FieldsAsColor.IndexOf(Columns()->Items(i)->FieldName()) >= 0)
            Columns()->Items(i)->PickList = names;
}
