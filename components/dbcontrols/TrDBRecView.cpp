#include "components/dbcontrols/TrDBRecView.h"

#include "components/dbcontrols/rDBControlSavers.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/DBGrids.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/RichEdit.h"
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

namespace {

// How the grid layer's dataset utilities read a record view.
bool ReadRecViewRows(TComponent* O, TRecViewRows& Out)
{
    auto* v = dynamic_cast<TrDBRecView*>(O);
    if (!v)
        return false;
    Out.DataSet = v->DataSource() ? v->DataSource()->DataSet() : nullptr;
    Out.Rows.clear();
    for (int i = 0; i < v->GetFieldCount(); ++i)
        Out.Rows.emplace_back(v->GetField(i), v->GetCaption(i));
    return true;
}

}  // namespace

TrDBRecView::TrDBRecView(TComponent* AOwner) : TCustomDrawGrid(AOwner)
{
    static const bool readable = (RegisterRecViewReader(ReadRecViewRows), RegisterRecViewSaverPart(), true);
    (void)readable;
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
    if (Operation == opRemove && FCustomGlyphs && static_cast<TComponent*>(FCustomGlyphs) == AComponent)
        FCustomGlyphs = nullptr;
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
        // The grid's link and check-box fields as they stand now.
        if (auto* g = dynamic_cast<TrDBGrid*>(Value); g && !Loading()) {
            FFieldsAsLink = g->FieldsAsLink.ToQStringList();
            FBooleanFields = g->FieldsAsBoolean.ToQStringList();
        }
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
    FLookupText.clear();
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
    if (!IsMemoField(f))
        return f->DisplayText();
    if (!(FOptionsEx & GridOptEx(goRTFToPlainText)))
        return f->AsString();
    // Readers get the plain text of a note written as rich text.
    TRichEdit rich(nullptr);
    rich.SetWordWrap(false);
    rich.SetWidth(8000);
    rich.SetRtfText(f->AsString());
    return rich.Text();
}

void TrDBRecView::SetFont(const QString& Name, TFont* Font) const
{
    // 5.
    const TFont& own = *const_cast<TrDBRecView*>(this)->TControl::Font();
    Font->Assign(own);
    bool found = false;
    const QString rules = EntryValue(FSpecFields, Name, found);
    if (!found)
        return;
    Font->Assign(FSpecFont);
    for (const QString& token : rules.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (token.trimmed().compare(QStringLiteral("SF"), Qt::CaseInsensitive) == 0)
            Font->Assign(own);
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
    if (f && (FOptionsEx & GridOptEx(goNumberRight)) && IsNumericFieldType(f->DataType()))
        return DT_RIGHT;
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

void TrDBRecView::UpdateData()
{
    FLookupText.clear();
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
    // 12. A view set up for display only never changes a field, whatever
    // the record would allow.
    if (!(Options() & goEditing) || (Options() & goRowSelect) || !CanEdit(true))
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
    // 13. The editor, then its button's action or its list.
    TCustomDrawGrid::DblClick();
    if (!CanEditShow())
        return;
    ShowEditor();
    const TEditStyle style = GetEditStyle(Col(), Row());
    if (style == esEllipsis && EditorMode())
        EditButtonClick();
    else if (auto* e = dynamic_cast<TInplaceEditList*>(InplaceEditor()); e && style == esPickList && !e->ListVisible())
        e->DropDown();
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
    const bool link = Button == mbLeft && IsOverLink(X, Y);
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (link)
        LinkClick(cell.Y);
}
