#include "components/stringgrid/rStringGridEdCalendar.h"

#include "platform/rtl/FormatSettings.h"

#include <cmath>

namespace {
constexpr int HeaderH = 20;
constexpr int NamesH = 16;
constexpr int CellW = 22;
constexpr int CellH = 18;
constexpr int Margin = 2;

TDateTime AddMonths(TDateTime D, int N)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(D, y, m, d);
    m += N;
    while (m < 1)
        m += 12, --y;
    while (m > 12)
        m -= 12, ++y;
    TDateTime r = 0;
    while (d > 28 && !TryEncodeDate(y, m, d, r))
        --d;
    return EncodeDate(y, m, d);
}
}  // namespace

TrStringGridEdCalendar::TrStringGridEdCalendar(TComponent* AOwner) : TPopupPickList(AOwner)
{
    FDate = std::floor(::Date());
    SetBounds(0, 0, CalendarWidth, CalendarHeight);
    SetVisible(false);
}

void TrStringGridEdCalendar::SetDate(TDateTime Value)
{
    FDate = std::floor(Value);
    Invalidate();
}

TDateTime TrStringGridEdCalendar::FirstShownDay() const
{
    int y = 0, m = 0, d = 0;
    DecodeDate(FDate, y, m, d);
    const TDateTime first = EncodeDate(y, m, 1);
    // Day 2 of the epoch (1.1.1900) was a Monday.
    const int weekday = int(std::fmod(std::floor(first) - 2 + 7000000, 7.0));
    return first - weekday;
}

TDateTime TrStringGridEdCalendar::DayAt(int X, int Y) const
{
    const int top = Margin + HeaderH + NamesH;
    if (X < Margin || Y < top)
        return 0;
    const int c = (X - Margin) / CellW, r = (Y - top) / CellH;
    if (c > 6 || r > 5)
        return 0;
    return FirstShownDay() + r * 7 + c;
}

void TrStringGridEdCalendar::Paint()
{
    TCanvas* c = Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    c->Brush()->SetColor(clWindow);
    c->FillRect(all);
    c->Brush()->SetColor(clGray);
    c->FrameRect(all);
    int y = 0, m = 0, d = 0;
    DecodeDate(FDate, y, m, d);
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(bsClear);
    TRect head = Rect(Margin, Margin, Width() - Margin, Margin + HeaderH);
    const QString title = FormatSettings().LongMonthNames.value(m - 1) + QLatin1Char(' ') + QString::number(y);
    c->Font()->SetStyle(fsBold);
    c->DrawText(title, head, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    TRect l = Rect(Margin + 2, Margin, Margin + 18, Margin + HeaderH), r = Rect(Width() - Margin - 18, Margin, Width() - Margin - 2, Margin + HeaderH);
    c->DrawText(QStringLiteral("<"), l, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->DrawText(QStringLiteral(">"), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->Font()->SetStyle(0);
    const QStringList& names = FormatSettings().ShortDayNames;
    for (int i = 0; i < 7; ++i) {
        TRect n = Bounds(Margin + i * CellW, Margin + HeaderH, CellW, NamesH);
        c->Font()->SetColor(clGrayText);
        c->DrawText(names.value((i + 1) % 7), n, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    const TDateTime first = FirstShownDay();
    for (int i = 0; i < 42; ++i) {
        const TDateTime day = first + i;
        int dy = 0, dm = 0, dd = 0;
        DecodeDate(day, dy, dm, dd);
        TRect cell = Bounds(Margin + (i % 7) * CellW, Margin + HeaderH + NamesH + (i / 7) * CellH, CellW, CellH);
        const bool current = std::floor(day) == std::floor(FDate);
        if (current) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(cell);
            c->Brush()->SetStyle(bsClear);
        }
        c->Font()->SetColor(current ? clHighlightText : dm == m ? clWindowText : clGrayText);
        c->DrawText(QString::number(dd), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    c->Brush()->SetStyle(bsSolid);
}

void TrStringGridEdCalendar::KeyDown(Word& Key, TShiftState Shift)
{
    (void)Shift;
    switch (Key) {
    case VK_LEFT: SetDate(FDate - 1); break;
    case VK_RIGHT: SetDate(FDate + 1); break;
    case VK_UP: SetDate(FDate - 7); break;
    case VK_DOWN: SetDate(FDate + 7); break;
    case VK_PRIOR: SetDate(AddMonths(FDate, -1)); break;
    case VK_NEXT: SetDate(AddMonths(FDate, 1)); break;
    case VK_RETURN:
        if (OnSelect)
            OnSelect();
        break;
    default: return;
    }
    Key = 0;
}

void TrStringGridEdCalendar::MouseUp(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != mbLeft)
        return;
    if (Y < Margin + HeaderH) {
        if (X < Width() / 3)
            SetDate(AddMonths(FDate, -1));
        else if (X > Width() * 2 / 3)
            SetDate(AddMonths(FDate, 1));
        return;
    }
    const TDateTime day = DayAt(X, Y);
    if (day == 0)
        return;
    SetDate(day);
    if (OnSelect)
        OnSelect();
}
