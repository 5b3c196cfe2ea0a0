#include "components/dbcontrols/TrDBRecView.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/rtl/DateUtils.h"

#include <algorithm>

namespace {

constexpr int ScrollBarWidth = 17;

QString NamePart(const QString& Line)
{
    const int eq = int(Line.indexOf(QLatin1Char('=')));
    return (eq < 0 ? Line : Line.left(eq)).trimmed();
}

// The value after "NAME=" of the line for Name (case-insensitive); Found
// tells whether such a line exists.
QString EntryValue(const QStringList& List, const QString& Name, bool& Found)
{
    Found = false;
    for (const QString& line : List) {
        const int eq = int(line.indexOf(QLatin1Char('=')));
        if (eq >= 0 && line.left(eq).trimmed().compare(Name, Qt::CaseInsensitive) == 0) {
            Found = true;
            return line.mid(eq + 1).trimmed();
        }
    }
    return QString();
}

// A check box of 13 pixels (scaled) centred in a box at the cell's left.
void DrawCheck(TCanvas* C, const TRect& Cell, bool Checked, double Scale)
{
    const int size = int(13 * Scale + 0.5);
    const int box = Cell.Height() + 4;
    const int x = Cell.Left + (box - size) / 2, y = Cell.Top + (Cell.Height() - size) / 2;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(Rect(x, y, x + size, y + size));
    C->Brush()->SetColor(clGrayText);
    C->FrameRect(Rect(x, y, x + size, y + size));
    if (Checked) {
        C->Pen()->SetColor(clWindowText);
        C->Pen()->SetWidth(2);
        C->MoveTo(x + size / 4, y + size / 2);
        C->LineTo(x + size / 2 - 1, y + size * 3 / 4);
        C->LineTo(x + size * 3 / 4 + 1, y + size / 4);
        C->Pen()->SetWidth(1);
    }
    C->Brush()->SetStyle(bsClear);
}

}  // namespace

// ---- TrRecViewDataLink ---------------------------------------------------------------

void TrRecViewDataLink::ActiveChanged()
{
    FRecView->SetRows();
    FRecView->RefreshData();
}

void TrRecViewDataLink::DataSetChanged() { FRecView->RefreshData(); }

void TrRecViewDataLink::EditingChanged() { FRecView->RefreshData(); }

void TrRecViewDataLink::UpdateData() { FRecView->UpdateData(); }

// ---- TrDBRecView ---------------------------------------------------------------------

TrDBRecView::TrDBRecView(TComponent* AOwner) : TCustomDrawGrid(AOwner)
{
    SetColCount(2);
    SetFixedCols(1);
    SetFixedRows(0);
    SetRowCount(1);
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
    DefaultDrawing = false;
    SetScrollBars(ssVertical);
    SetDefaultRowHeight(16);
    SetDefaultColWidth(90);
    FSpecFont.Assign(*Font());
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBRecView::~TrDBRecView() { FDataLink.SetDataSource(nullptr); }

bool TrDBRecView::Ready() const { return Parent() && !Loading() && !(ComponentState() & csDestroying); }

void TrDBRecView::Loaded()
{
    TCustomDrawGrid::Loaded();
    SetCols();
    SetRows();
    RefreshData();
    SetOptionsEx(FOptionsEx);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBRecView::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomDrawGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && FDBGrid && static_cast<TComponent*>(FDBGrid) == AComponent)
        FDBGrid = nullptr;
}

void TrDBRecView::SetDataSource(TDataSource* Value)
{
    FDataLink.SetDataSource(Value);
    SetCols();
    SetRows();
    RefreshData();
}

void TrDBRecView::SetDBGrid(TCustomDBGrid* Value)
{
    FDBGrid = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (Value->DataSource())
            FDataLink.SetDataSource(Value->DataSource());
    }
    SetRows();
    RefreshData();
}

void TrDBRecView::SetOnlyVisibleField(bool V)
{
    FOnlyVisibleField = V;
    SetRows();
    RefreshData();
}

void TrDBRecView::SetOnlySimpleField(bool V)
{
    FOnlySimpleField = V;
    SetRows();
    RefreshData();
}

void TrDBRecView::SetFields(const QStringList& V)
{
    FFields = V;
    SetRows();
    RefreshData();
}

void TrDBRecView::SetBooleanFields(const QStringList& V)
{
    FBooleanFields = V;
    RefreshData();
}

void TrDBRecView::SetSpecFields(const QStringList& V)
{
    FSpecFields = V;
    RefreshData();
}

void TrDBRecView::SetTitleAlignment(TAlignment V)
{
    FTitleAlignment = V;
    RefreshData();
}

void TrDBRecView::SetOptionsEx(TGridOptionsEx V)
{
    FOptionsEx = V;
    SetOptions((FOptionsEx & GridOptEx(goAutoHeight)) ? Options() & ~goRowSizing : Options() | goRowSizing);
}

void TrDBRecView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    SetCols();
}

void TrDBRecView::ColWidthsChanged()
{
    TCustomDrawGrid::ColWidthsChanged();
    SetCols();
}

void TrDBRecView::SetCols()
{
    // 3. The value column takes what the caption column leaves.
    if (ColCount() < 2)
        return;
    const int w = Width() - ColWidths(0) - 3 * GridLineWidth() - ScrollBarWidth - 3;
    if (w > 0 && w != ColWidths(1))
        SetColWidths(1, w);
}

void TrDBRecView::ChangeScale(int M, int D)
{
    TCustomDrawGrid::ChangeScale(M, D);
    FScaleRatio = FScaleRatio * M / D;
    DPI_ScaleFontHeight(&FSpecFont, M, D);
}

void TrDBRecView::SetRows()
{
    // 1. The row list from the grid's columns or the dataset's fields.
    if (!Ready())
        return;
    TStringList names;
    TComponent* source = FDBGrid ? static_cast<TComponent*>(FDBGrid) : static_cast<TComponent*>(FDataLink.DataSet());
    const bool all = !FOnlySimpleField;
    if (source)
        GetFldList(source, &names, GetFldDefs(false, FOnlyVisibleField, true, all, all, all, false));
    QStringList offered;
    for (int i = 0; i < names.Count(); ++i)
        offered << names[i];
    FFldList.clear();
    if (FFields.isEmpty()) {
        FFldList = offered;
    } else {
        for (const QString& line : FFields) {
            const QString n = NamePart(line);
            for (const QString& o : offered)
                if (o.compare(n, Qt::CaseInsensitive) == 0) {
                    FFldList << o;
                    break;
                }
        }
    }
    SetRowCount(std::max(1, int(FFldList.size())));
    TCanvas c;
    TFont f;
    for (int i = 0; i < RowCount(); ++i) {
        const QString name = i < FFldList.size() ? FFldList[i] : QString();
        SetFont(name, &f);
        c.Font()->Assign(f);
        const int t = c.TextHeight(QStringLiteral("Wg"));
        int h = std::max(t + 4, DefaultRowHeight());
        try {
            if (TField* fld = GetField(i)) {
                if (IsMemoField(fld))
                    h = 4 * t + 4;
                else if (IsGraphicField(fld))
                    h = 6 * t + 4;
            }
        } catch (...) {
        }
        SetRowHeights(i, h);
    }
}

void TrDBRecView::RefreshData()
{
    // 2.
    if (!Ready())
        return;
    const TDataSet* d = FDataLink.DataSet();
    if (!d || (d->State() != dsEdit && d->State() != dsInsert))
        HideEditor();
    ResetLastEdited();
    Invalidate();
}

void TrDBRecView::ResetLastEdited()
{
    LastEditedField = nullptr;
    LastEditedValue.clear();
}

TField* TrDBRecView::GetField(int Idx) const
{
    TDataSet* d = FDataLink.DataSet();
    if (!d || Idx < 0 || Idx >= FFldList.size())
        return nullptr;
    return d->FindField(FFldList[Idx]);
}

QString TrDBRecView::GetCaption(int Idx) const
{
    try {
        if (Idx < 0 || Idx >= FFldList.size())
            return QString();
        bool found = false;
        const QString own = EntryValue(FFields, FFldList[Idx], found);
        if (found && !own.isEmpty())
            return own;
        TField* f = GetField(Idx);
        return f ? f->DisplayLabel() : QString();
    } catch (...) {
        return QString();
    }
}

QString TrDBRecView::GetFieldText(TField* F) const
{
    if (!F)
        return QString();
    return IsMemoField(F) || IsSimpleField(F) ? F->AsString() : QString();
}

QString TrDBRecView::GetValue(int Idx) const
{
    TField* f = GetField(Idx);
    if (!f)
        return QString();
    return IsMemoField(f) ? f->AsString() : f->DisplayText();
}

void TrDBRecView::SetFont(const QString& Name, TFont* Font)
{
    // 5.
    Font->Assign(*const_cast<TrDBRecView*>(this)->TControl::Font());
    bool found = false;
    const QString rules = EntryValue(FSpecFields, Name, found);
    if (!found)
        return;
    Font->Assign(FSpecFont);
    for (const QString& token : rules.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (token.trimmed().compare(QStringLiteral("SF"), Qt::CaseInsensitive) == 0)
            Font->Assign(*TControl::Font());
        else
            UseFontFormatParams(Font, token.trimmed());
    }
}

void TrDBRecView::GetFontStyle(int Idx, TFont* AFont, bool KeepFontNameSize)
{
    if (!GetField(Idx))
        return;
    const QString name = AFont->Name();
    const int size = AFont->Size();
    SetFont(FFldList[Idx], AFont);
    if (KeepFontNameSize) {
        AFont->SetName(name);
        AFont->SetSize(size);
    }
}

int TrDBRecView::GetDataAlignment(int Idx) const
{
    TField* f = GetField(Idx);
    if (FOptionsEx & GridOptEx(goDataRight))
        return DT_RIGHT;
    if (f && (FOptionsEx & GridOptEx(goNumberRight))) {
        switch (f->DataType()) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftFloat:
        case ftCurrency:
        case ftBCD:
        case ftAutoInc:
            return DT_RIGHT;
        default:
            break;
        }
    }
    return DT_LEFT;
}

QString TrDBRecView::FocusedText() const { return LastEditedField ? LastEditedValue : GetFieldText(FocusedField()); }

QString TrDBRecView::BooleanEntry(const QString& Name) const
{
    bool found = false;
    const QString v = EntryValue(FBooleanFields, Name, found);
    return found ? (v.isEmpty() ? QStringLiteral("1;0") : v) : QString();
}

bool TrDBRecView::IsBooleanRow(int Idx) const
{
    TField* f = GetField(Idx);
    return f && (f->DataType() == ftBoolean || !BooleanEntry(f->FieldName()).isEmpty());
}

bool TrDBRecView::BoolIsTrue(int Idx) const
{
    TField* f = GetField(Idx);
    if (!f)
        return false;
    if (f->DataType() == ftBoolean)
        return !f->IsNull() && f->AsBoolean();
    const QString trueText = BooleanEntry(f->FieldName()).section(QLatin1Char(';'), 0, 0).trimmed();
    return f->AsString().trimmed().compare(trueText, Qt::CaseInsensitive) == 0;
}

// ---- drawing -------------------------------------------------------------------------

void TrDBRecView::DrwTxt(TCanvas* C, const TRect& R, const QString& Text, TAlignment Align, bool Tall)
{
    TRect r = R;
    unsigned flags = DT_NOPREFIX | (Align == taRightJustify ? DT_RIGHT : Align == taCenter ? DT_CENTER : DT_LEFT);
    if (Tall) {
        // Several lines, vertically centred.
        TRect calc = r;
        C->DrawText(Text, calc, flags | DT_WORDBREAK | DT_CALCRECT);
        r.Top += std::max(0, (r.Height() - calc.Height()) / 2);
        C->DrawText(Text, r, flags | DT_WORDBREAK);
    } else {
        C->DrawText(Text, r, flags | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
}

void TrDBRecView::GetCellParams(int Col, int Row, TFont* AFont, TColor& Background, bool& Highlight)
{
    if (OnGetCellParams)
        OnGetCellParams(this, Col, Row, AFont, Background, Highlight);
}

void TrDBRecView::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    // 4.
    if (!Ready())
        return;
    TCanvas* c = Canvas();
    TField* f = nullptr;
    try {
        f = GetField(ARow);
    } catch (...) {
    }
    const QString name = ARow < FFldList.size() ? FFldList[ARow] : QString();
    c->Font()->Assign(*Font());
    const TColor before = c->Font()->Color();
    if (ACol == 1 && f) {
        SetFont(name, c->Font());
        if (AState & gdFocused) {
            c->Font()->SetColor(before);
        } else if (!LinkKind(ARow).isEmpty()) {
            c->Font()->SetStyle(c->Font()->Style() | fsUnderline);
            c->Font()->SetColor(clHighlight);
        }
    }
    bool highlight = (AState & gdSelected) && (AState & gdFocused);
    TColor background = ACol == 0 ? FixedColor() : Color();
    GetCellParams(ACol, ARow, c->Font(), background, highlight);
    c->Brush()->SetColor(background);
    if (highlight) {
        DrawCellHighlight(ARect, AState, ACol, ARow);
        c->Font()->SetColor(clHighlightText);
    } else {
        DrawCellBackground(ARect, background, AState, ACol, ARow);
    }
    if (AState & gdFocused) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(ARect);
        c->DrawFocusRect(ARect);
    }
    c->Brush()->SetStyle(bsClear);
    TRect r = ARect;
    r.Left += 2;
    r.Top += 2;
    r.Right -= 2;
    r.Bottom -= 2;
    const bool tall = ARect.Height() > DefaultRowHeight() + 1;
    if (ACol == 0) {
        QString caption = GetCaption(ARow);
        if (FOptionsEx & GridOptEx(goAddColon))
            caption += QLatin1Char(':');
        DrwTxt(c, r, caption, FTitleAlignment, false);
    } else if (f && FDataLink.Active()) {
        if (IsMemoField(f)) {
            DrwTxt(c, r, GetValue(ARow), taLeftJustify, true);
        } else if (IsBooleanRow(ARow)) {
            DrawCheck(c, ARect, BoolIsTrue(ARow), FScaleRatio);
        } else if (IsGraphicField(f)) {
            DrwTxt(c, r, f->IsNull() ? QString() : QStringLiteral("(%1)").arg(f->DisplayLabel()), taCenter, false);
        } else {
            DrwTxt(c, r, f->DisplayText(), GetDataAlignment(ARow) == DT_RIGHT ? taRightJustify : taLeftJustify, tall);
        }
    }
    c->Brush()->SetStyle(bsSolid);
}

// ---- editing -------------------------------------------------------------------------

bool TrDBRecView::CanEdit(bool DoEdit) const
{
    // 6.
    TField* f = FocusedField();
    TDataSet* d = FDataLink.DataSet();
    if (!f || f->ReadOnly() || !d)
        return false;
    if (d->State() == dsEdit || d->State() == dsInsert)
        return true;
    TDataSource* s = FDataLink.DataSource();
    if (!s || !s->AutoEdit())
        return false;
    if (!DoEdit)
        return true;
    try {
        const_cast<TrRecViewDataLink&>(FDataLink).Edit();
    } catch (const Exception&) {
        return false;
    }
    return d->State() == dsEdit || d->State() == dsInsert;
}

bool TrDBRecView::CanEditShow() const
{
    TField* f = FocusedField();
    if (!TCustomDrawGrid::CanEditShow() || !f || !(IsSimpleField(f) || IsMemoField(f)) || IsBooleanRow(Row()))
        return false;
    return CanEdit(true);
}

bool TrDBRecView::CanEditAcceptKey(QChar Key) const
{
    TField* f = FocusedField();
    if (!f)
        return false;
    if (dynamic_cast<const TNumericField*>(f))
        return Key.isDigit() || Key == QLatin1Char('-') || Key == QLatin1Char('+') || Key == QLatin1Char(',') || Key == QLatin1Char('.') ||
               Key == QLatin1Char('e') || Key == QLatin1Char('E') || Key == QLatin1Char(' ');
    return true;
}

int TrDBRecView::GetEditLimit() const
{
    TField* f = FocusedField();
    return !f || IsMemoField(f) ? 0 : f->DisplayWidth();
}

QString TrDBRecView::GetEditMask(int, int ARow) const
{
    TField* f = GetField(ARow);
    return f ? f->EditMask() : QString();
}

QStringList TrDBRecView::GetPickList(int ARow) const
{
    QStringList r;
    TField* f = GetField(ARow);
    if (!f)
        return r;
    // A lookup field offers every value of its result field.
    if (f->FieldKind() == fkLookup && f->LookupDataSet) {
        TStringList l;
        try {
            if (TField* res = f->LookupDataSet->FindField(f->LookupResultField))
                LoadRecordList(res, nullptr, &l);
        } catch (...) {
        }
        for (int i = 0; i < l.Count(); ++i)
            r << l[i];
    }
    // The view's own section for the field wins.
    bool inSection = false, found = false;
    QStringList own;
    for (const QString& raw : FPickLists) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(f->FieldName(), Qt::CaseInsensitive) == 0;
            found = found || inSection;
        } else if (inSection && !line.isEmpty()) {
            own << line;
        }
    }
    return found ? own : r;
}

TEditStyle TrDBRecView::GetEditStyle(int, int ARow) const
{
    // 7.
    TField* f = GetField(ARow);
    if (!f)
        return esSimple;
    TEditStyle style = esSimple;
    for (const QString& n : FEllipsisFields)
        if (n.trimmed().compare(f->FieldName(), Qt::CaseInsensitive) == 0)
            style = esEllipsis;
    if (IsDateField(f))
        style = esEllipsis;
    const QStringList picks = GetPickList(ARow);
    if (!picks.isEmpty() || f->FieldKind() == fkLookup)
        style = esPickList;
    if (auto* e = dynamic_cast<TInplaceEditList*>(InplaceEditor()))
        e->PickList = picks;
    return style;
}

QString TrDBRecView::GetEditText(int, int ARow) { return GetFieldText(GetField(ARow)); }

void TrDBRecView::SetEditText(int, int ARow, const QString& Value)
{
    // 8. Only while the dataset edits: the pending edit.
    const TDataSet* d = FDataLink.DataSet();
    if (!d || (d->State() != dsEdit && d->State() != dsInsert))
        return;
    LastEditedField = GetField(ARow);
    LastEditedValue = Value;
}

void TrDBRecView::UpdateData()
{
    const TDataSet* d = FDataLink.DataSet();
    if (LastEditedField && d && (d->State() == dsEdit || d->State() == dsInsert)) {
        TField* f = LastEditedField;
        const QString v = LastEditedValue;
        ResetLastEdited();
        f->SetText(v);
    }
}

void TrDBRecView::EditButtonClick()
{
    // 14. Date rows open the calendar; other rows tell the program.
    TField* f = FocusedField();
    if (f && IsDateField(f)) {
        ShowDateTimePicker(f, CellRect(Col(), Row()));
        return;
    }
    if (OnEditButtonClick)
        OnEditButtonClick(this);
}

void TrDBRecView::ShowDateTimePicker(TField* Field, const TRect& R)
{
    if (!FDateTimePicker) {
        FDateTimePicker = new TDateTimePicker(this);
        FDateTimePicker->SetParent(this);
        FDateTimePicker->SetVisible(false);
        FDateTimePicker->OnCloseUp = [this](TComponent*) { DateTimePickerClose(); };
        FDateTimePicker->OnDateTimeChange = [this](TComponent*) { DateTimePickerChange(); };
    }
    // The field is taken only after the picker shows its starting date.
    FPickerField = nullptr;
    try {
        FDateTimePicker->SetBounds(R.Left, R.Top, std::max(R.Width(), int(84 * FScaleRatio + 0.5)), R.Height());
        FDateTimePicker->SetDateTime(Field && !Field->IsNull() && Field->AsDateTime() != 0 ? Field->AsDateTime() : ::Date());
        FPickerField = Field;
        FDateTimePicker->SetVisible(true);
        if (FDateTimePicker->CanFocus())
            FDateTimePicker->SetFocus();
        FDateTimePicker->DropDown();
    } catch (...) {
        FDateTimePicker->SetVisible(false);
    }
}

void TrDBRecView::DateTimePickerChange()
{
    // The chosen day at 00:00 goes to the field through the pending edit.
    try {
        if (!FPickerField || !CanEdit(true))
            return;
        LastEditedField = FPickerField;
        FPickerField->SetAsDateTime(DateOf(FDateTimePicker->DateTime()));
        LastEditedValue = FPickerField->Text();
        if (InplaceEditor())
            InplaceEditor()->SetText(LastEditedValue);
        UpdateData();
    } catch (...) {
    }
}

void TrDBRecView::DateTimePickerClose()
{
    FDateTimePicker->SetVisible(false);
    FPickerField = nullptr;
    if (CanFocus())
        SetFocus();
    if (InplaceEditor() && InplaceEditor()->Visible()) {
        InplaceEditor()->SetFocus();
        InplaceEditor()->SelectAll();
    }
}

bool TrDBRecView::SelectCell(int ACol, int ARow)
{
    UpdateText();
    UpdateData();
    return TCustomDrawGrid::SelectCell(ACol, ARow);
}

void TrDBRecView::DoExit()
{
    try {
        UpdateText();
        UpdateData();
    } catch (...) {
        SetFocus();
        throw;
    }
    TCustomDrawGrid::DoExit();
}

// ---- keys ----------------------------------------------------------------------------

void TrDBRecView::ChangeBool(bool SetFalse)
{
    // 12.
    if (!CanEdit(true))
        return;
    TField* f = FocusedField();
    if (!f)
        return;
    if (f->DataType() == ftBoolean) {
        f->SetAsBoolean(SetFalse ? false : !(!f->IsNull() && f->AsBoolean()));
    } else {
        const QString entry = BooleanEntry(f->FieldName());
        const QString t = entry.section(QLatin1Char(';'), 0, 0).trimmed();
        const QString fl = entry.section(QLatin1Char(';'), 1, 1).trimmed();
        f->SetAsString(SetFalse || f->AsString().trimmed().compare(t, Qt::CaseInsensitive) == 0 ? fl : t);
    }
    HideEditor();
    Invalidate();
}

void TrDBRecView::DoDelete()
{
    if (!CanEdit(true))
        return;
    if (TField* f = FocusedField()) {
        f->Clear();
        ResetLastEdited();
        RefreshData();
    }
}

bool TrDBRecView::DoCopy()
{
    try {
        if (TField* f = FocusedField())
            Clipboard()->SetAsText(GetFieldText(f));
        return true;
    } catch (...) {
        return false;
    }
}

void TrDBRecView::KeyDown(Word& Key, TShiftState Shift)
{
    // 11.
    const bool boolRow = IsBooleanRow(Row());
    if (Key == VK_ESCAPE) {
        HideEditor();
        ResetLastEdited();
        Key = 0;
    } else if (Key == VK_SPACE && boolRow && Shift == 0) {
        ChangeBool(false);
        Key = 0;
    } else if (Key == VK_DELETE && !boolRow && Shift == 0 && !EditorMode()) {
        DoDelete();
        Key = 0;
    } else if ((Key == 'C' && Shift == ssCtrl) || (Key == VK_INSERT && Shift == ssCtrl)) {
        if (DoCopy())
            Key = 0;
    } else if (Key == 'X' && Shift == ssCtrl) {
        if (DoCopy()) {
            DoDelete();
            Key = 0;
        }
    } else if ((Key == 'V' && Shift == ssCtrl) || (Key == VK_INSERT && Shift == ssShift)) {
        if (CanEdit(true)) {
            if (TField* f = FocusedField()) {
                f->SetText(Clipboard()->AsText());
                ResetLastEdited();
                RefreshData();
            }
        }
        Key = 0;
    }
    if (Key != 0)
        TCustomDrawGrid::KeyDown(Key, Shift);
}

void TrDBRecView::KeyPress(QChar& Key)
{
    // 9. Only the listed values in a pick-list cell.
    if ((FOptionsEx & GridOptEx(goOnlyPickListValues)) && EditorMode() && GetEditStyle(Col(), Row()) == esPickList &&
        Key != QLatin1Char('\r') && Key != QChar(27)) {
        Key = QChar();
        return;
    }
    // 10.
    if (Key == QLatin1Char('\r')) {
        TField* f = FocusedField();
        if ((FOptionsEx & GridOptEx(goEnterNewLineMemo)) && f && IsMemoField(f) && InplaceEditor() && InplaceEditor()->Visible()) {
            TInplaceEdit* e = InplaceEditor();
            const int at = e->SelStart();
            QString t = e->Text();
            t.replace(at, e->SelLength(), QStringLiteral("\r\n"));
            e->SetText(t);
            e->SetSelStart(at + 2);
            LastEditedField = f;
            LastEditedValue = t;
            Key = QChar();
            return;
        }
        UpdateText();
        UpdateData();
    }
    TCustomDrawGrid::KeyPress(Key);
}

void TrDBRecView::DblClick()
{
    if (IsBooleanRow(Row()) && Col() == 1) {
        ChangeBool(false);
        return;
    }
    TCustomDrawGrid::DblClick();
    if (CanEditShow())
        ShowEditor();
}

// ---- links ---------------------------------------------------------------------------

QString TrDBRecView::LinkKind(int ARow) const
{
    TField* f = GetField(ARow);
    if (!f)
        return QString();
    bool found = false;
    const QString kind = EntryValue(FFieldsAsLink, f->FieldName(), found);
    return found ? kind : QString();
}

QString TrDBRecView::LinkTarget(int ARow) const
{
    TField* f = GetField(ARow);
    const QString kind = LinkKind(ARow);
    if (!f || kind.isEmpty())
        return QString();
    const QString text = f->DisplayText();
    return text.contains(kind, Qt::CaseInsensitive) ? text : kind + text;
}

void TrDBRecView::LinkClick(int ARow)
{
    // 15.
    TField* f = GetField(ARow);
    const QString kind = LinkKind(ARow);
    if (!f || kind.isEmpty() || f->DisplayText().isEmpty())
        return;
    if (kind.compare(QStringLiteral("http://"), Qt::CaseInsensitive) == 0 || kind.compare(QStringLiteral("mailto:"), Qt::CaseInsensitive) == 0)
        RunFileSimple(LinkTarget(ARow));
    else if (OnLinkClick)
        OnLinkClick(this, FDataLink.DataSet(), nullptr, f, f->AsVariant());
}

void TrDBRecView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || cell.X != 1 || !FDataLink.Active() || LinkKind(cell.Y).isEmpty())
        return;
    // Only over the link's text: the cell less 3 pixels, as wide as the text.
    TRect r = CellRect(cell.X, cell.Y);
    TCanvas c;
    c.Font()->Assign(*Font());
    const int w = c.TextWidth(GetField(cell.Y)->DisplayText());
    const bool right = GetDataAlignment(cell.Y) == DT_RIGHT;
    const int left = right ? r.Right - 3 - w : r.Left + 3;
    if (X >= left && X <= left + w)
        LinkClick(cell.Y);
}
