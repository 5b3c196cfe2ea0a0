// The record view's choices while editing: which rows get a pick list or an
// ellipsis button (its own lists, a lookup field's values, the linked grid's
// columns), completing typed text from the pick list, and lookup rows that
// write the key fields of the value chosen.

#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/os/Sound.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/DBGrids.h"

// ---- the editor --------------------------------------------------------------------------------

TrDBRecViewInplaceEdit::TrDBRecViewInplaceEdit(TrDBRecView* AView) : TInplaceEditList(AView), FView(AView)
{
    DropDownRows = 12;
}

void TrDBRecViewInplaceEdit::KeyPress(QChar& Key)
{
    // The view completes typed text from the pick list first.
    if (FView && FView->PickListKeyPress(Key))
        return;
    TInplaceEditList::KeyPress(Key);
}

TInplaceEdit* TrDBRecView::CreateEditor() { return new TrDBRecViewInplaceEdit(this); }

// ---- pick lists and buttons --------------------------------------------------------------------

TColumn* TrDBRecView::GridColumnOf(TField* F) const
{
    // The first column of the linked grid that shows the field.
    if (!FDBGrid || !F)
        return nullptr;
    for (int i = 0; i < FDBGrid->Columns()->Count(); ++i) {
        TColumn* c = FDBGrid->Columns()->Items(i);
        if (c->FieldName().compare(F->FieldName(), Qt::CaseInsensitive) == 0)
            return c;
    }
    return nullptr;
}

bool TrDBRecView::OwnPickList(const QString& FieldName, QStringList& Values) const
{
    // PickLists is INI text: a section per field, its lines the values.
    bool inSection = false, found = false;
    for (const QString& raw : FPickLists) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(FieldName, Qt::CaseInsensitive) == 0;
            found = found || inSection;
        } else if (inSection && !line.isEmpty()) {
            Values << line;
        }
    }
    return found;
}

QStringList TrDBRecView::GetPickList(int ARow) const
{
    QStringList r;
    TField* f = GetField(ARow);
    if (!f)
        return r;
    QStringList own;
    if (OwnPickList(f->FieldName(), own))
        return own;
    if (f->FieldKind() == fkLookup) {
        // A lookup field offers every value of its result field.
        TStringList l;
        try {
            if (TField* res = f->LookupDataSet ? f->LookupDataSet->FindField(f->LookupResultField) : nullptr)
                LoadRecordList(res, nullptr, &l);
        } catch (...) {
        }
        for (int i = 0; i < l.Count(); ++i)
            r << l[i];
        return r;
    }
    if (FOptionsEx & GridOptEx(goUseGridPickList))
        if (TColumn* c = GridColumnOf(f))
            r = c->PickList;
    return r;
}

TEditStyle TrDBRecView::GetEditStyle(int, int ARow) const
{
    // 7. The editor shows the value in the row's own font.
    if (TInplaceEdit* e = InplaceEditor()) {
        TFont rowFont;
        SetFont(FFldList.value(ARow), &rowFont);
        e->SetFont(rowFont);
    }
    TField* f = GetField(ARow);
    if (!f)
        return esSimple;
    TEditStyle style = esSimple;
    for (const QString& n : FEllipsisFields)
        if (n.trimmed().compare(f->FieldName(), Qt::CaseInsensitive) == 0)
            style = esEllipsis;
    if (IsDateField(f))
        style = esEllipsis;
    QStringList own;
    if (f->FieldKind() == fkLookup) {
        style = esPickList;
    } else if (TColumn* c = (FOptionsEx & (GridOptEx(goUseGridEllipsis) | GridOptEx(goUseGridPickList))) ? GridColumnOf(f) : nullptr) {
        if (c->ButtonStyle == cbsEllipsis && (FOptionsEx & GridOptEx(goUseGridEllipsis)))
            style = esEllipsis;
        if (!c->PickList.isEmpty() && (FOptionsEx & GridOptEx(goUseGridPickList)))
            style = esPickList;
    }
    if (OwnPickList(f->FieldName(), own))
        style = esPickList;
    if (auto* e = dynamic_cast<TInplaceEditList*>(InplaceEditor()))
        e->PickList = GetPickList(ARow);
    return style;
}

QString TrDBRecView::GetEditText(int, int ARow) { return GetFieldText(GetField(ARow)); }

void TrDBRecView::SetEditText(int, int ARow, const QString& Value)
{
    // 8. Only while the dataset edits: the pending edit.
    const TDataSet* d = FDataLink.DataSet();
    if (!d || (d->State() != dsEdit && d->State() != dsInsert))
        return;
    TField* f = GetField(ARow);
    if (f && f->FieldKind() == fkLookup) {
        // A lookup row writes the keys of the value chosen, not a text.
        LocateLookup(f, Value, false);
        return;
    }
    LastEditedField = f;
    LastEditedValue = Value;
}

bool TrDBRecView::LocateLookup(TField* F, const QString& Value, bool Partial)
{
    try {
        TDataSet* l = F->LookupDataSet;
        if (!l || !l->Locate(F->LookupResultField, Value, Partial ? TLocateOptions(loCaseInsensitive | loPartialKey) : 0))
            return false;
        TDataSet* d = FDataLink.DataSet();
        const QStringList keys = F->KeyFields.split(QLatin1Char(';'));
        const QStringList lookupKeys = F->LookupKeyFields.split(QLatin1Char(';'));
        for (int i = 0; i < keys.size() && i < lookupKeys.size(); ++i)
            d->FieldByName(keys[i].trimmed())->SetAsVariant(l->FieldByName(lookupKeys[i].trimmed())->AsVariant());
        return true;
    } catch (...) {
        return false;
    }
}

// ---- completing typed text ---------------------------------------------------------------------

bool TrDBRecView::PickListKeyPress(QChar& Key)
{
    // 9. Only in a cell whose editor offers a pick list.
    auto* e = dynamic_cast<TInplaceEditList*>(InplaceEditor());
    if (!e || !e->Visible() || GetEditStyle(Col(), Row()) != esPickList)
        return false;
    if (Key == QLatin1Char('\r') || Key == QChar(27))
        return false;
    if (FOptionsEx & GridOptEx(goOnlyPickListValues)) {
        Key = QChar();
        return true;
    }
    const bool backspace = Key == QChar(8);
    if (!backspace && (Key.unicode() < 28 || Key.unicode() > 255))
        return false;
    TField* f = FocusedField();
    bool consumed = false;
    try {
        if (!CanEdit(true))
            return false;
        if (e->SelStart() == FLookupText.size()) {
            CompleteTyped(e, f, Key, backspace);
            Key = QChar();
            consumed = true;
        } else {
            FLookupText.clear();
        }
        // Completed or not, what the editor holds is the pending edit (a
        // lookup row wrote its key fields instead).
        if (f && f->FieldKind() != fkLookup) {
            LastEditedField = f;
            LastEditedValue = e->Text();
        }
    } catch (...) {
    }
    return consumed;
}

void TrDBRecView::CompleteTyped(TInplaceEditList* E, TField* F, QChar Key, bool Backspace)
{
    const bool lookup = F && F->FieldKind() == fkLookup;
    if (Backspace) {
        FLookupText.chop(1);
        if (!lookup)
            E->SetText(FLookupText);
    } else if (lookup) {
        const QString typed = FLookupText + Key;
        if (LocateLookup(F, typed, true)) {
            FLookupText = typed;
            E->SetText(F->LookupDataSet->FieldByName(F->LookupResultField)->AsString());
        } else {
            MessageBeep(0);
        }
    } else {
        FLookupText += Key;
        QString shown = FLookupText;
        for (const QString& v : E->PickList)
            if (v.startsWith(FLookupText, Qt::CaseInsensitive)) {
                shown = v;
                break;
            }
        E->SetText(shown);
    }
    E->SetSelStart(int(FLookupText.size()));
    E->SetSelLength(int(E->Text().size() - FLookupText.size()));
}
