// Editing the string grid: when a cell may be edited, writing and finishing
// an edit (numbers and dates re-formatted, the change log), typed cell
// access, check boxes and button cells, validation, and the grid's keys and
// mouse.
#include "components/stringgrid/rStringGridEd.h"

#include "components/base/rtool.h"
#include "platform/os/Sound.h"
#include "platform/rtl/StrUtils.h"
#include "components/stringgrid/rStringGridEdInplaceEdit.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/StringGridTexts.h"

#include <QHash>
#include <algorithm>
#include <cmath>

using enum TOptionEx;

namespace {

bool IsNavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_LEFT || Key == VK_UP ||
           Key == VK_RIGHT || Key == VK_DOWN;
}

}  // namespace

// ---- edit permission -----------------------------------------------------------------------

bool TrStringGridEd::CanEditShow() const
{
    auto* self = const_cast<TrStringGridEd*>(this);
    bool r = TStringGrid::CanEditShow();
    TrStringGridEdColumn* c = self->ColumnOf(Col());
    if (r && c) {
        const TrStringGridEdEditStyle s = self->GetEditStyleEx(Col(), Row());
        r = !c->ReadOnly && s != sgbCheckbox && s != sgbButton && !IsIniGroupRow(Row());
    }
    if (r && OnCanEdit)
        OnCanEdit(self, Col(), r, Row());
    // an editor already shown on a cell that may no longer be edited goes
    if (!r && EditorMode())
        self->HideEditor();
    return r;
}

bool TrStringGridEd::CanEditModify()
{
    bool r = TStringGrid::CanEditModify();
    TrStringGridEdColumn* c = ColumnOf(Col());
    if (r && c && c->ReadOnly)
        r = false;
    if (r && !FSkipStyleCheck) {
        const TrStringGridEdEditStyle s = GetEditStyleEx(Col(), Row());
        r = s != sgbEllipsisOnly && s != sgbDropDownList && s != sgbDropDownColor && s != sgbDropDownCheckListOnly && s != sgbButton;
    }
    if (r && IsIniGroupRow(Row()))
        r = false;
    if (r && OnCanEdit)
        OnCanEdit(this, Col(), r, Row());
    return r;
}

bool TrStringGridEd::CanEditModifyEx(bool SkipStyleCheck)
{
    FSkipStyleCheck = SkipStyleCheck;
    const bool r = CanEditModify();
    FSkipStyleCheck = false;
    return r && (Options() & goEditing) && !(Options() & goRowSelect);
}

bool TrStringGridEd::CanEditCell(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    if (!c || c->ReadOnly || GetEditStyleEx(ACol, ARow) == sgbCheckbox)
        return false;
    bool r = true;
    if (OnCanEdit)
        OnCanEdit(this, ACol, r, ARow);
    return r;
}

TInplaceEdit* TrStringGridEd::CreateEditor()
{
    auto* ed = new TrStringGridEdInplaceEdit(this);
    if (OnEditorEvent)
        OnEditorEvent(ed, Col(), sgtxt::EditorCreated, Row());
    return ed;
}

// ---- writing and finishing -------------------------------------------------------------------

QString TrStringGridEd::GetEditText(int ACol, int ARow)
{
    FOldEditText = Cells(ACol, ARow);
    return TStringGrid::GetEditText(ACol, ARow);
}

void TrStringGridEd::SetEditText(int ACol, int ARow, const QString& Value)
{
    const bool changed = Cells(ACol, ARow) != Value;
    TStringGrid::SetEditText(ACol, ARow, Value);
    FEditCell = {ACol, ARow};
    TrStringGridEdColumn* c = ColumnOf(ACol);
    // A lone minus sign is the start of a negative number, not a mistake.
    if (Value != QLatin1String("-") && c && c->InvalidDataAction == sgaBeep && IsValidData(ACol, ARow) == sdsInvalid)
        MessageBeep(0);  // the default system sound
    if (ACol == Col() && ARow == Row() && changed)
        ++FTextChangeCount;
    CheckLastRow();
}

void TrStringGridEd::DoFinishEditing(int ACol, int ARow, bool Force)
{
    if (!Force && FTextChangeCount <= 0)
        return;
    try {
        const TrStringGridEdDataType t = GetDataType(ACol, ARow);
        const TrStringGridEdDataState st = IsValidData(ACol, ARow);
        const bool readable = st == sdsOk || st == sdsOutOfLimit;
        // 1. numbers
        if (IsNumberType(t) && readable) {
            const QString f = GetNumFormat(ACol, ARow);
            const double v = GetNumCells(ACol, ARow);
            SetEditText(ACol, ARow, f.isEmpty() ? FloatToStr(v) : FormatFloat(f, v));
        }
        // 2. dates and times
        if (IsDateType(t) && readable) {
            const QString f = GetNumFormat(ACol, ARow);
            TDateTime v = FormattedStrToDateTimeDef(Cells(ACol, ARow), f, Date(), t == sgdDate);
            if (t == sgdDate)
                v = std::floor(v);
            else if (t == sgdTime)
                v = v - std::floor(v);
            SetEditText(ACol, ARow, DateTimeToFormattedStr(v, f, t == sgdTime));
        }
        // 3. the change log
        if (!UpdateLocked() || FUseChangeLog)
            AddToChangeLog(ACol, ARow);
    } catch (...) {
        // 4. a value that cannot be re-formatted stays as typed
    }
    FTextChangeCount = 0;
    if (!UpdateLocked() && OnFinishCellEditing)
        OnFinishCellEditing(this, ACol, ARow);
}

void TrStringGridEd::SyncChangeLogSets() const
{
    if (ChangedRows.size() != FChangedRowsSynced) {
        FChangedRowsSet = QSet<QString>(ChangedRows.begin(), ChangedRows.end());
        FChangedRowsSynced = ChangedRows.size();
    }
    if (ChangedCells.size() != FChangedCellsSynced) {
        FChangedCellsSet = QSet<QString>(ChangedCells.begin(), ChangedCells.end());
        FChangedCellsSynced = ChangedCells.size();
    }
}

void TrStringGridEd::AddToChangeLog(int ACol, int ARow)
{
    SyncChangeLogSets();
    const QString row = QString::number(ARow);
    if (!FChangedRowsSet.contains(row)) {
        ChangedRows << row;
        FChangedRowsSet.insert(row);
        FChangedRowsSynced = ChangedRows.size();
    }
    const QString cell = GetChangedCellStr(ACol, ARow);
    if (!FChangedCellsSet.contains(cell)) {
        ChangedCells << cell;
        FChangedCellsSet.insert(cell);
        FChangedCellsSynced = ChangedCells.size();
    }
}

QString TrStringGridEd::GetChangedCellStr(int ACol, int ARow) { return QString::number(ACol) + QLatin1Char(';') + QString::number(ARow); }

bool TrStringGridEd::IsCellChanged(int ACol, int ARow) const
{
    if (ChangedCells.isEmpty())
        return false;
    SyncChangeLogSets();
    return FChangedCellsSet.contains(GetChangedCellStr(ACol, ARow));
}

void TrStringGridEd::HideEditorAccepting()
{
    if (TrStringGridEdInplaceEdit* ed = InplaceEditorEd()) {
        ed->HideRichEditor(true);
        ed->HideCustomEditor(true);
    }
}

void TrStringGridEd::FinishEditing()
{
    HideEditorAccepting();
    UpdateText();
    HideEditor();
    DoFinishEditing(Col(), Row(), false);
}

void TrStringGridEd::EditorKeyPress(QChar& Key)
{
    if (!CanEditShow()) {
        Key = QChar();
        return;
    }
    if (Key == QChar(27)) {
        HideEditorAccepting();
        HideEditor();
        SetEditText(Col(), Row(), FOldEditText);
        if (Options() & goAlwaysShowEditor)
            ShowEditor();
    } else if (Key == QLatin1Char('\r') && EditorMode()) {
        UpdateText();
        HideEditor();
        DoFinishEditing(Col(), Row(), false);
        ShowEditor();
        if (HasOptionEx(dgNextRowAfterReturn) && Row() < RowCount() - 1)
            SetRow(Row() + 1);
    }
    if (OnEditorKeyPress)
        OnEditorKeyPress(this, Key);
}

void TrStringGridEd::EditorKeyDown(Word& Key, TShiftState Shift)
{
    if ((Key == VK_ESCAPE || Key == VK_RETURN) && !(Shift & (ssAlt | ssCtrl))) {
        QChar k = Key == VK_ESCAPE ? QChar(27) : QChar(QLatin1Char('\r'));
        EditorKeyPress(k);
        Key = 0;
        return;
    }
    TStringGrid::EditorKeyDown(Key, Shift);
}

bool TrStringGridEd::SelectCell(int ACol, int ARow)
{
    HideEditorAccepting();
    UpdateText();
    HideEditor();
    DoFinishEditing(Col(), Row(), false);
    const bool r = TStringGrid::SelectCell(ACol, ARow);
    if (TrStringGridEdInplaceEdit* ed = InplaceEditorEd()) {
        if (TrStringGridEdColumn* c = ColumnOf(ACol))
            ed->SetFont(*c->Font());
        ed->SetEditStyleEx(GetEditStyleEx(ACol, ARow));
    }
    return r;
}

void TrStringGridEd::CellMoved(int OldCol, int OldRow)
{
    TStringGrid::CellMoved(OldCol, OldRow);
    // The editor left with the old cell; with goAlwaysShowEditor it comes
    // back on the new one.
    if ((Options() & goAlwaysShowEditor) && (Options() & goEditing))
        ShowEditor();
}

void TrStringGridEd::DoEnter()
{
    TStringGrid::DoEnter();
    FTextChangeCount = 0;
}

void TrStringGridEd::DoExit()
{
    TStringGrid::DoExit();
    TrStringGridEdInplaceEdit* ed = InplaceEditorEd();
    // Focus going to the grid's own editors is no exit.
    if (ed && (ed->Focused() || ed->InnerEditorFocused()))
        return;
    UpdateText();
    HideEditor();
    DoFinishEditing(Col(), Row(), false);
}

// ---- typed access ---------------------------------------------------------------------------

void TrStringGridEd::SetStringCells(int ACol, int ARow, const QString& Value)
{
    if (Cells(ACol, ARow) == Value)
        return;
    SetEditText(ACol, ARow, Value);
    DoFinishEditing(ACol, ARow, true);
}

double TrStringGridEd::GetNumCells(int ACol, int ARow)
{
    QString s = Cells(ACol, ARow);
    if (s.isEmpty())
        s = QStringLiteral("0");
    try {
        return StrToFloat(CleanNumericString(RemoveThousandSeparator(s)));
    } catch (...) {
        SetCol(ACol);
        SetRow(ARow);
        throw;
    }
}

void TrStringGridEd::SetNumCells(int ACol, int ARow, double Value)
{
    const QString f = GetNumFormat(ACol, ARow);
    SetStringCells(ACol, ARow, f.isEmpty() ? FloatToStr(Value) : FormatFloat(f, Value));
}

int TrStringGridEd::GetIntCells(int ACol, int ARow)
{
    QString s = Cells(ACol, ARow);
    if (s.isEmpty())
        s = QStringLiteral("0");
    try {
        return StrToInt(s);
    } catch (...) {
        SetCol(ACol);
        SetRow(ARow);
        throw;
    }
}

void TrStringGridEd::SetIntCells(int ACol, int ARow, int Value) { SetNumCells(ACol, ARow, Value); }

bool TrStringGridEd::GetBoolCells(int ACol, int ARow) { return CheckboxIsChecked(ACol, ARow); }

void TrStringGridEd::SetBoolCells(int ACol, int ARow, bool Value)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    if (c)
        SetEditText(ACol, ARow, Value ? c->CheckBoxTrueValue : c->CheckBoxFalseValue);
}

TDateTime TrStringGridEd::GetDateTimeCells(int ACol, int ARow)
{
    const TrStringGridEdDataType t = GetDataType(ACol, ARow);
    TDateTime v = FormattedStrToDateTimeDef(Cells(ACol, ARow), GetNumFormat(ACol, ARow), Date(), t == sgdDate);
    return t == sgdDate ? std::floor(v) : v;
}

void TrStringGridEd::SetDateTimeCells(int ACol, int ARow, TDateTime Value)
{
    SetEditText(ACol, ARow, DateTimeToFormattedStr(Value, GetNumFormat(ACol, ARow), GetDataType(ACol, ARow) == sgdTime));
}

// ---- check boxes and buttons -------------------------------------------------------------------

bool TrStringGridEd::CheckboxIsChecked(int ACol, int ARow)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    return c && Cells(ACol, ARow).compare(c->CheckBoxTrueValue, Qt::CaseInsensitive) == 0;
}

void TrStringGridEd::ChangeCheckbox()
{
    if (!CanEditModifyEx(false))
        return;
    TrStringGridEdColumn* c = ColumnOf(Col());
    SetEditText(Col(), Row(), CheckboxIsChecked(Col(), Row()) ? c->CheckBoxFalseValue : c->CheckBoxTrueValue);
    HideEditor();
    DoFinishEditing(Col(), Row(), false);
}

TAlignment TrStringGridEd::GetCheckboxAlignment(int ACol, int)
{
    TrStringGridEdColumn* c = ColumnOf(ACol);
    return c ? c->CheckboxAlignment() : taCenter;
}

void TrStringGridEd::EllipsisClick()
{
    if (OnEllipsisClicked)
        OnEllipsisClicked(this, Col(), Row());
}

void TrStringGridEd::ButtonClick()
{
    bool can = Enabled();
    if (can && OnCanEdit)
        OnCanEdit(this, Col(), can, Row());
    if (can)
        EllipsisClick();
}

void TrStringGridEd::DoEllipsisClick()
{
    // After the click has finished: the handler may open a window.
    FEllipsisTimer->SetEnabled(false);
    FEllipsisTimer->SetEnabled(true);
}

// ---- validation ---------------------------------------------------------------------------------

namespace {

// Reading dates is slow and every painted date cell is validated: answers
// are kept per type, format and text.
struct TDateReading {
    bool Ok = false;
    double Value = 0;
};

TDateReading* CachedDateReading(TrStringGridEdDataType T, const QString& Format, const QString& Text, QString& Key)
{
    thread_local QHash<QString, TDateReading> cache;
    if (Key.isEmpty()) {
        Key = QString::number(int(T)) + QChar(0x1F) + Format + QChar(0x1F) + Text;
        auto it = cache.find(Key);
        return it == cache.end() ? nullptr : &it.value();
    }
    if (cache.size() > 20000)
        cache.clear();
    return &cache[Key];
}

}  // namespace

bool TrStringGridEd::ReadCellValue(int ACol, int ARow, const QString& Text, TrStringGridEdDataType T, double& Value)
{
    if (IsDateType(T)) {
        const QString format = T == sgdTime ? QString() : GetNumFormat(ACol, ARow);
        QString key;
        if (const TDateReading* known = CachedDateReading(T, format, Text, key)) {
            Value = known->Value;
            return known->Ok;
        }
        TDateReading r;
        if (T == sgdTime) {
            TDateTime v = 0;
            r.Ok = TryStrToTime(Text, v);
            r.Value = v;
        } else {
            const TDateTime v = FormattedStrToDateTimeDef(Text, format, 0, T == sgdDate);
            r.Value = T == sgdDate ? std::floor(v) : v;
            r.Ok = r.Value != 0;
        }
        *CachedDateReading(T, format, Text, key) = r;
        Value = r.Value;
        return r.Ok;
    }
    switch (T) {
    case sgdNumber:
    case sgdDataBar:
        return TryStrToFloat(CleanNumericString(RemoveThousandSeparator(Text)), Value);
    case sgdInteger:
    case sgdStatusBar: {
        int64_t i = 0;
        if (!TryStrToInt64(CleanNumericString(RemoveThousandSeparator(Text)), i))
            return false;
        Value = double(i);
        return true;
    }
    default:
        break;
    }
    return true;
}

TrStringGridEdDataState TrStringGridEd::IsValidData(int ACol, int ARow)
{
    // 1.
    const QString text = Cells(ACol, ARow);
    if (text.isEmpty())
        return sdsEmpty;
    if (GetCoordPosition(ACol, ARow) != cpDataCell)
        return sdsOk;
    // 2.
    const TrStringGridEdDataType t = GetDataType(ACol, ARow);
    if (t == sgdText)
        return sdsOk;
    double v = 0;
    try {
        if (!ReadCellValue(ACol, ARow, text, t, v))
            return sdsInvalid;
    } catch (...) {
        return sdsInvalid;
    }
    // 3.
    TrStringGridEdColumn* c = ColumnOf(ACol);
    if (c->MinValue != 0 || c->MaxValue != 0) {
        if (v < c->MinValue || v > c->MaxValue)
            return sdsOutOfLimit;
    }
    return sdsOk;
}

bool TrStringGridEd::ValidateAllData(bool SelectInvalidCell)
{
    bool ok = true;
    for (int r = FixedRows(); r < RowCount(); ++r)
        for (int c = FixedCols(); c < ColCount(); ++c) {
            const TrStringGridEdDataState st = IsValidData(c, r);
            if (st == sdsInvalid || st == sdsOutOfLimit) {
                ok = false;
                if (SelectInvalidCell)
                    FocusCell(c, r, true);
                break;
            }
        }
    return ok;
}

// ---- keys -----------------------------------------------------------------------------------------

QString TrStringGridEd::CleanTextForType(int ACol, int ARow, const QString& Text)
{
    const TrStringGridEdDataType t = GetDataType(ACol, ARow);
    if (IsNumberType(t))
        return CleanNumericString(Text);
    if (IsDateType(t))
        return CleanDateTimeString(Text);
    return CleanLastEOL(Text);
}

void TrStringGridEd::DoCopy()
{
    Clipboard()->SetAsText(Cells(Col(), Row()));
    if (HasOptionEx(dgSelectRange))
        CopySelRange();
}

void TrStringGridEd::DoPaste()
{
    if (!CanEditModifyEx(false))
        return;
    if (HasOptionEx(dgSelectRange)) {
        PasteSelRange(FAutoAddNewRow, QString());
        return;
    }
    const QString text = CleanTextForType(Col(), Row(), Clipboard()->AsText());
    SetEditText(Col(), Row(), text);
    DoFinishEditing(Col(), Row(), true);
}

void TrStringGridEd::KeyDown(Word& Key, TShiftState Shift)
{
    const TrStringGridEdEditStyle style = GetEditStyleEx(Col(), Row());
    TrStringGridEdColumn* col = ColumnOf(Col());
    const bool ctrl = Shift == ssCtrl;
    if (Key == VK_F2 && !(Shift & ssShift)) {
        FEditStartF2 = true;
        FEditStartKey = QChar();
    } else if ((ctrl && (Key == 'C' || Key == VK_INSERT)) || (ctrl && Key == 'X')) {
        DoCopy();
        if (Key == 'X')
            Key = VK_DELETE, Shift = 0;
        else
            Key = 0;
    } else if ((ctrl && Key == 'V') || (Shift == ssShift && Key == VK_INSERT)) {
        DoPaste();
        Key = 0;
    }
    if (Key == VK_DELETE && !(Shift & ssShift)) {
        if (CanEditModifyEx(col && col->DropDownListCanDelete)) {
            if (HasOptionEx(dgSelectRange) && IsRangeSelected()) {
                ClearSelRange();
            } else {
                SetEditText(Col(), Row(), QString());
                DoFinishEditing(Col(), Row(), true);
            }
        }
        Key = 0;
        return;
    }
    if (Key == VK_SPACE && Shift == 0 && (style == sgbCheckbox || style == sgbButton)) {
        if (style == sgbCheckbox)
            ChangeCheckbox();
        else
            ButtonClick();
        Key = 0;
        return;
    }
    if (Key == VK_F4 && Shift == 0 && CanEditModifyEx(true) && IsButtonStyle(style)) {
        ShowEditor();
        if (IsEllipsisStyle(style))
            EllipsisClick();
        else if (TrStringGridEdInplaceEdit* ed = InplaceEditorEd())
            ed->DropDown();
        Key = 0;
        return;
    }
    if (HasOptionEx(dgSelectRange) && Key == VK_ESCAPE && IsRangeSelected()) {
        ResetSelRange();
        Key = 0;
        return;
    }
    const bool nav = HasOptionEx(dgSelectRange) && IsNavigationKey(Key);
    TStringGrid::KeyDown(Key, Shift);
    if (nav) {
        if (Shift & ssShift)
            ExtendRangeTo(Col(), Row());
        else if (!IsRangeSelected())
            ResetSelRange();
    }
}

void TrStringGridEd::KeyPress(QChar& Key)
{
    const TrStringGridEdEditStyle style = GetEditStyleEx(Col(), Row());
    if (Key == QLatin1Char(' ') && (style == sgbCheckbox || style == sgbButton)) {
        Key = QChar();
        return;
    }
    if ((Key.isPrint() || Key == QLatin1Char('\b')) && (Options() & goEditing) && !EditorMode()) {
        FEditStartKey = Key;
        FEditStartF2 = false;
    }
    TrStringGridEdInplaceEdit* ed = nullptr;
    if (!((Options() & goEditing) && !EditorMode() && Key.isPrint() && CanEditAcceptKey(Key))) {
        TStringGrid::KeyPress(Key);
        return;
    }
    // The key that opens the editor is typed into it, so the editor's own
    // keys (date shortcuts, list search) apply to it as well.
    ShowEditor();
    ed = InplaceEditorEd();
    if (EditorMode() && ed && style != sgbRichText && style != sgbCustomEditor) {
        QChar k = Key;
        ed->KeyPress(k);
        if (!k.isNull() && CanEditModify()) {
            ed->SetText(QString(k));
            ed->Modified = true;
            ed->SetSelStart(1);
        }
    }
    Key = QChar();
}

// ---- mouse ------------------------------------------------------------------------------------------

void TrStringGridEd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord c = MouseCoord(X, Y);
    FMouseDownPoint = {X, Y};
    FMouseDownCell = c;
    FMouseCell = c;
    FButtonDown = Button == mbLeft;
    if (c.X >= 0 && !(c.X == Col() && c.Y == Row()))
        HideEditorAccepting();
    const int pos = GetCoordPosition(c.X, c.Y);
    // Double click near a title's edge fits the column.
    if (Button == mbLeft && (Shift & ssDouble) && pos == cpFixedRow) {
        const TRect r = CellRect(c.X, c.Y);
        if (X >= r.Right - 3)
            SetColumnAutoFit(c.X);
        else if (X <= r.Left + 3)
            SetColumnAutoFit(c.X - 1);
        FClickBlocked = true;
        return;
    }
    if (Button == mbRight && pos == cpDataCell)
        MoveColRow(c.X, c.Y, true, true);
    if (Button == mbRight && pos != cpDataCell && pos != cpOutside && (Options() & (goFixedColClick | goFixedRowClick)) &&
        HotTrackCell().X >= 0)
        FixedCellClick(HotTrackCell().X, HotTrackCell().Y);
    TStringGrid::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && pos == cpDataCell) {
        if (HasOptionEx(dgSelectRange)) {
            if (Shift & ssShift) {
                FRangeStop = c;
            } else {
                FRangeStart = c;
                FRangeStop = c;
            }
            FRangeDragging = true;
            Invalidate();
        }
        if (HasOptionEx(dgDragCell))
            BeginDrag(false);
    }
    if (GetEditStyleEx(c.X, c.Y) == sgbButton)
        Invalidate();
}

void TrStringGridEd::CellClick(int ACol, int ARow, TMouseButton Button, TShiftState Shift)
{
    TStringGrid::CellClick(ACol, ARow, Button, Shift);
    if (Button != mbLeft)
        return;
    CellClickEd(ACol, ARow);
    if (!CanEditModifyEx(true))
        return;
    const TrStringGridEdEditStyle style = GetEditStyleEx(ACol, ARow);
    TrStringGridEdColumn* col = ColumnOf(ACol);
    const bool dbl = Shift & ssDouble;
    if (style == sgbCheckbox) {
        if (dbl == col->CheckBoxDblClick && CheckboxRect(ACol, ARow).Contains(FMouseDownPoint))
            ChangeCheckbox();
        return;
    }
    if (!dbl)
        return;
    if (IsListStyle(style)) {
        ShowEditor();
        if (TrStringGridEdInplaceEdit* ed = InplaceEditorEd())
            ed->DropDown();
    } else if (IsEllipsisStyle(style)) {
        ShowEditor();
        DoEllipsisClick();
    }
}

void TrStringGridEd::CellClickEd(int ACol, int ARow)
{
    if (OnCellClick)
        OnCellClick(this, ACol, ARow);
}

void TrStringGridEd::MouseMove(TShiftState Shift, int X, int Y)
{
    TStringGrid::MouseMove(Shift, X, Y);
    const TGridCoord c = MouseCoord(X, Y);
    if (!(c == FMouseCell)) {
        const bool buttons = GetEditStyleEx(c.X, c.Y) == sgbButton || GetEditStyleEx(FMouseCell.X, FMouseCell.Y) == sgbButton;
        FMouseCell = c;
        if (buttons)
            Invalidate();
    }
    TrStringGridEdInplaceEdit* ed = InplaceEditorEd();
    const bool calendar = ed && ed->CalendarVisible();
    if ((Shift & ssLeft) && FRangeDragging && HasOptionEx(dgSelectRange) && !EditorMode() && !calendar && !FClickBlocked &&
        GetCoordPosition(c.X, c.Y) == cpDataCell)
        ExtendRangeTo(c.X, c.Y);
    if (GridState() == gsColSizing || GridState() == gsRowSizing || GridState() == gsColMoving || GridState() == gsRowMoving)
        HideEditor();
}

void TrStringGridEd::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridState st = GridState();
    TStringGrid::MouseUp(Button, Shift, X, Y);
    FRangeDragging = false;
    if (FClickBlocked || st == gsColMoving || st == gsRowMoving) {
        FClickBlocked = false;
        ResetSelRange();
    }
    const TGridCoord c = MouseCoord(X, Y);
    const bool wasDown = FButtonDown;
    FButtonDown = false;
    if (Button == mbLeft && wasDown && c == FMouseDownCell && GetCoordPosition(c.X, c.Y) == cpDataCell &&
        GetEditStyleEx(c.X, c.Y) == sgbButton) {
        ButtonClick();
        InvalidateCell(c.X, c.Y);
    }
}

bool TrStringGridEd::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    TrStringGridEdInplaceEdit* ed = InplaceEditorEd();
    if (ed && (ed->ListVisible() || ed->RichEditorVisible() || ed->CustomEditorVisible()))
        return true;
    FMouseDownPoint = {-1, -1};
    return TStringGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TrStringGridEd::FixedCellClick(int ACol, int ARow)
{
    TStringGrid::FixedCellClick(ACol, ARow);
    const int pos = GetCoordPosition(ACol, ARow);
    if (HasOptionEx(dgSortAfterTitleClick) && ARow < FixedRows() && (pos == cpFixedRow || HasOptionEx(dgSortFixedCol))) {
        const bool desc = ACol == FLastSortCol ? !FLastSortDesc : false;
        SortData(ACol, desc, true);
        return;
    }
    if (!HasOptionEx(dgSelectRange))
        return;
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    if (pos == cpFixedCorner)
        SetSelectedRange({FixedCols(), FixedRows(), lastCol, lastRow});
    else if (pos == cpFixedRow)
        SetSelectedRange({ACol, FixedRows(), ACol, lastRow});
    else if (pos == cpFixedCol)
        SetSelectedRange({FixedCols(), ARow, lastCol, ARow});
    else
        return;
    const TGridRect r = SelectedRange();
    MoveColRow(r.Left, r.Top, true, true);
    SetSelectedRange(pos == cpFixedCorner ? TGridRect{FixedCols(), FixedRows(), lastCol, lastRow}
                     : pos == cpFixedRow  ? TGridRect{ACol, FixedRows(), ACol, lastRow}
                                          : TGridRect{FixedCols(), ARow, lastCol, ARow});
}
