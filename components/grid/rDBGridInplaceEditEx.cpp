// The grid's cell editor: date and time shortcuts, password masking, column
// moves at the ends of the text and pasted text cleaning.

#include "components/grid/rDBGridInplaceEditEx.h"

#include "components/base/rtool.h"
#include "components/grid/rDBGrid.h"
#include "platform/database/Fields.h"
#include "platform/rtl/DateUtils.h"

#include <algorithm>
#include <cmath>

namespace {

TDateTime Today()
{
    return std::floor(Now());
}

TDateTime AddMonths(TDateTime D, int N)
{
    const QDate d = DateTimeToQDate(D).addMonths(N);
    return QDateToDateTime(d);
}

}  // namespace

TrDBGridInplaceEditEx::TrDBGridInplaceEditEx(TrDBGrid* Grid) : TDBGridInplaceEdit(Grid), FGrid(Grid) {}

void TrDBGridInplaceEditEx::ShowCalendar(TDateTime Date)
{
    if (!FCalendar)
        FCalendar = TrPopupMonthCalendar::CreateEx(this, [this](TComponent*) { PopupCallbackSelectDate(FCalendar->Date()); });
    FCalendar->ShowCalendar(Date);
}

void TrDBGridInplaceEditEx::HideCalendar()
{
    if (FCalendar)
        FCalendar->HideCalendar();
}

bool TrDBGridInplaceEditEx::CalendarShown() const
{
    return FCalendar && FCalendar->IsShown;
}

void TrDBGridInplaceEditEx::PopupCallbackSelectDate(TDateTime Date)
{
    if (TField* f = FGrid->SelectedField()) {
        FGrid->SetDateValueEx(f, std::floor(Date));
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SelectAll();
    }
}

void TrDBGridInplaceEditEx::KeyUp(Word& Key, TShiftState Shift)
{
    if (CalendarShown() && (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)) {
        Key = 0;
        return;
    }
    TDBGridInplaceEdit::KeyUp(Key, Shift);
}

void TrDBGridInplaceEditEx::DoExit()
{
    HideCalendar();
    TDBGridInplaceEdit::DoExit();
}

void TrDBGridInplaceEditEx::UpdateContents()
{
    if (TField* f = FGrid->SelectedField(); f && f->LookupDataSet)
        MakeDataList();
    TDBGridInplaceEdit::UpdateContents();
    // Typing in the open lookup list searches through the grid.
    if (DataList() && !DataList()->OnSearchKey)
        DataList()->OnSearchKey = [this](TDBLookupListBase*, QChar& Key) { FGrid->ProcessLookupSearchKey(Key); };
    TField* f = FGrid->SelectedField();
    SetPasswordChar(f && FGrid->IsPasswordEx(f) ? FGrid->PasswordChar : QChar());
    if (TColumn* c = FGrid->ColumnAt(FGrid->Col())) {
        SetReadOnly(c->ReadOnly());
        Font()->Assign(*c->Font());
    }
}

bool TrDBGridInplaceEditEx::ProcDateTimeHotKey(int Key, TShiftState Shift)
{
    TField* f = FGrid->SelectedField();
    if (!f)
        return false;
    const bool up = Key == VK_UP, down = Key == VK_DOWN;
    const bool arrow = (up || down) && (Shift & ssCtrl);
    const QChar ch = (Key >= 32 && Key < 0x10000 && !arrow) ? QChar(Key).toUpper() : QChar();
    if (FGrid->IsDateEx(f)) {
        if (!(arrow || ch == QLatin1Char('*') || ch == QLatin1Char(';') || ch == QLatin1Char('T') || ch == QLatin1Char('S') ||
              ch == QLatin1Char('E')))
            return false;
        if (arrow && f->IsNull())
            return false;
        if (!FGrid->CanEdit())
            return false;
        TDateTime base;
        try {
            base = f->IsNull() ? Today() : FGrid->GetDateValueEx(f);
        } catch (...) {
            return false;  // a text that is no date is edited by hand
        }
        TDateTime v = base;
        const QDate d = DateTimeToQDate(base);
        if (ch == QLatin1Char('*') || ch == QLatin1Char(';') || ch == QLatin1Char('T'))
            v = Today();
        else if (ch == QLatin1Char('E'))
            v = QDateToDateTime(QDate(d.year(), d.month(), d.daysInMonth()));
        else if (ch == QLatin1Char('S'))
            v = QDateToDateTime(QDate(d.year(), d.month(), 1));
        else if (Shift & ssShift)
            v = AddMonths(base, up ? 1 : -1);
        else
            v = base + (up ? 1 : -1);
        FGrid->SetDateValueEx(f, v);
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SelectAll();
        return true;
    }
    if (FGrid->IsTimeEx(f)) {
        // Only "*" and the arrows: other letters are typed as they are.
        if (!(arrow || ch == QLatin1Char('*')))
            return false;
        if (arrow && f->IsNull())
            return false;
        if (!FGrid->CanEdit())
            return false;
        TDateTime v;
        if (ch == QLatin1Char('*')) {
            v = Now() - std::floor(Now());
        } else {
            const double step = (Shift & ssShift) ? 60.0 : FGrid->TimeFieldMinuteStep(f);
            try {
                v = FGrid->GetTimeValueEx(f) + (up ? 1 : -1) * step / (24.0 * 60.0);
            } catch (...) {
                return false;
            }
            v -= std::floor(v);
        }
        FGrid->SetTimeValueEx(f, v);
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SelectAll();
        return true;
    }
    return false;
}

void TrDBGridInplaceEditEx::KeyDown(Word& Key, TShiftState Shift)
{
    const TShiftState mods = Shift & (ssShift | ssCtrl | ssAlt);
    // 1. The open calendar takes the arrows; Escape closes it.
    if (CalendarShown()) {
        if (std::find(rPopupMonthCalendarKeys.begin(), rPopupMonthCalendarKeys.end(), Key) != rPopupMonthCalendarKeys.end()) {
            // The calendar's own arrow steps: a day sideways, a week up or down.
            const int days = Key == VK_LEFT ? -1 : Key == VK_RIGHT ? 1 : Key == VK_UP ? -7 : 7;
            FCalendar->SetDate(FCalendar->Date() + days);
            Key = 0;
            return;
        }
        if (Key == VK_ESCAPE) {
            HideCalendar();
            Key = 0;
            return;
        }
        if (Key == VK_RETURN) {
            // Enter takes the calendar's date.
            const TDateTime d = FCalendar->Date();
            HideCalendar();
            PopupCallbackSelectDate(d);
            Key = 0;
            return;
        }
    }
    // 2. With the lookup list closed, the grid steps its search and clears
    // the lookup value itself.
    if (UseDataList() && !ListVisible() && (((Key == VK_LEFT || Key == VK_RIGHT) && FGrid->IsSearching()) || Key == VK_DELETE)) {
        FGrid->KeyDown(Key, mods);
        Key = 0;
        return;
    }
    // The open lookup list: Enter and Escape end a search; Left and Right step it.
    if (UseDataList() && ListVisible()) {
        if (Key == VK_RETURN || Key == VK_ESCAPE)
            FGrid->StopSearching();
        else if ((Key == VK_LEFT || Key == VK_RIGHT) && FGrid->IsSearching()) {
            const bool back = Key == VK_LEFT;
            if ((mods & ssCtrl) && FGrid->IsLookupFilterColumn(FGrid->ColumnAt(FGrid->Col())))
                FGrid->SearchLookupFilter(back);
            else
                FGrid->SearchNext(back);
            Key = 0;
            return;
        }
    }
    // 3-4. The ellipsis button by keyboard.
    if (Key == VK_RETURN && mods == ssCtrl && EditStyle() == esEllipsis) {
        ClickButton();
        Key = 0;
        return;
    }
    if (Key == VK_F4 && mods == 0 && (EditStyle() == esEllipsis || EditStyle() == esPickList)) {
        if (EditStyle() == esEllipsis)
            ClickButton();
        else
            DropDown();
        Key = 0;
        return;
    }
    // 5. Date and time steps.
    if ((Key == VK_UP || Key == VK_DOWN) && (mods == ssCtrl || mods == (ssCtrl | ssShift))) {
        if (ProcDateTimeHotKey(Key, mods)) {
            Key = 0;
            return;
        }
    }
    // 6. The caret leaving the text moves to the neighbouring column.
    if (!ListVisible() && mods == 0) {
        const int len = Text().size();
        const bool atStart = Key == VK_LEFT && SelStart() == 0 && (SelLength() == 0 || SelLength() == len);
        const bool atEnd = Key == VK_RIGHT && SelStart() + SelLength() == len && (SelLength() == 0 || SelLength() == len);
        if (atStart || atEnd) {
            FGrid->KeyDown(Key, Shift);
            return;
        }
    }
    TDBGridInplaceEdit::KeyDown(Key, Shift);
}

void TrDBGridInplaceEditEx::KeyPress(QChar& Key)
{
    if (CalendarShown()) {
        if (Key == QLatin1Char('\r')) {
            Key = QChar();
            return;
        }
        HideCalendar();
    }
    TField* f = FGrid->SelectedField();
    if (FGrid->OptionsEx2().Editors.AutoDropDown && Key.unicode() >= 32 && UseDataList() && !ListVisible())
        DropDown();
    // Typing into a pick-list column completes the first item that fits.
    TColumn* col = FGrid->ColumnAt(FGrid->Col());
    if (f && col && !col->PickList.isEmpty() && f->FieldKind() != fkLookup && !ListVisible() &&
        (Key.unicode() >= 32 || Key == QLatin1Char('\b'))) {
        if (FGrid->OptionsEx2().Editors.OnlyPickListValues && Key.unicode() >= 32) {
            Key = QChar();
            return;
        }
        FGrid->ProcessPicklistSearchKey(Key);
        if (Key.isNull())
            return;
    }
    static const QString hotKeys = QStringLiteral("*;ESTest");
    if (f && hotKeys.contains(Key) && ProcDateTimeHotKey(Key.unicode(), 0)) {
        Key = QChar();
        return;
    }
    TDBGridInplaceEdit::KeyPress(Key);
}

void TrDBGridInplaceEditEx::DblClick()
{
    // A lookup cell's data list is this editor's pick-list style too.
    if (EditStyle() == esPickList || EditStyle() == esDataList) {
        DropDown();
        return;
    }
    TDBGridInplaceEdit::DblClick();
}

void TrDBGridInplaceEditEx::Paste()
{
    TDBGridInplaceEdit::Paste();
    try {
        TField* f = FGrid->SelectedField();
        QString t = Text();
        if (dynamic_cast<TNumericField*>(f))
            t = CleanNumericString(t);
        else if (f && IsDateTimeField(f))
            t = CleanDateTimeString(t);
        else
            t = CleanLastEOL(t);
        if (t != Text()) {
            SetText(t);
            SetSelStart(t.size());
            FGrid->SetEditText(FGrid->Col(), FGrid->Row(), t);
        }
    } catch (...) {
    }
}
