#include "platform/ui/DateTimePicker.h"
#include "platform/ui/DropDownWindow.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace {
constexpr int ButtonWidth = 18;
constexpr int CheckWidth = 18;

// The date-time part each run of format letters stands for.
QChar PartLetter(QChar c)
{
    c = c.toLower();
    if (c == QLatin1Char('d') || c == QLatin1Char('m') || c == QLatin1Char('y') || c == QLatin1Char('h') || c == QLatin1Char('n') ||
        c == QLatin1Char('s') || c == QLatin1Char('z'))
        return c;
    return QChar();
}
}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FDateTime = ::Date();
    FWidth = 186;
    FHeight = 23;
    SetTabStop(true);
}

TDateTimePicker::~TDateTimePicker() { delete FCalendar; }

QWidget* TDateTimePicker::CreateWidget()
{
    QWidget* w = TCustomEdit::CreateWidget();
    auto* edit = static_cast<QLineEdit*>(w);
    FButton = new QToolButton(edit);
    FButton->setText(QStringLiteral("\u25BE"));
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setCursor(Qt::ArrowCursor);
    QObject::connect(FButton, &QToolButton::clicked, [this] {
        if (DroppedDown())
            CloseUp(false);
        else
            DropDown();
    });
    FCheck = new QCheckBox(edit);
    FCheck->setFocusPolicy(Qt::NoFocus);
    FCheck->setChecked(FChecked);
    FCheck->setVisible(FShowCheckbox);
    QObject::connect(FCheck, &QCheckBox::toggled, [this](bool on) { SetChecked(on); });
    edit->setTextMargins(FShowCheckbox ? CheckWidth : 0, 0, ButtonWidth, 0);
    FButton->setVisible(FKind == dtkDate);
    UpdateText();
    return w;
}

void TDateTimePicker::Resize()
{
    TCustomEdit::Resize();
    if (FButton)
        FButton->setGeometry(Width() - ButtonWidth - 2, 2, ButtonWidth, std::max(4, Height() - 4));
    if (FCheck)
        FCheck->setGeometry(3, 0, CheckWidth, Height());
}

void TDateTimePicker::SetKind(TDateTimeKind v)
{
    FKind = v;
    if (FButton)
        FButton->setVisible(v == dtkDate);
    UpdateText();
}

void TDateTimePicker::SetFormat(const QString& v)
{
    FFormat = v;
    UpdateText();
}

QString TDateTimePicker::EffectiveFormat() const
{
    if (!FFormat.isEmpty())
        return FFormat;
    return FKind == dtkDate ? FormatSettings().ShortDateFormat : FormatSettings().LongTimeFormat;
}

bool TDateTimePicker::ShowsNothing() const
{
    return FNull || (FShowCheckbox && !FChecked) || FormatDateTime(EffectiveFormat(), FDateTime).isEmpty();
}

void TDateTimePicker::UpdateText()
{
    FUpdating = true;
    SetText(ShowsNothing() ? QString() : FormatDateTime(EffectiveFormat(), FDateTime));
    Modified = false;
    FUpdating = false;
}

void TDateTimePicker::SetDateTime(TDateTime v)
{
    const bool changed = FNull || v != FDateTime;
    FDateTime = v;
    FNull = false;
    UpdateText();
    if (changed)
        DateTimeChanged();
}

TDateTime TDateTimePicker::Date() const { return DateOf(FDateTime); }
void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(DateOf(v) + TimeOf(FDateTime)); }
TDateTime TDateTimePicker::Time() const { return TimeOf(FDateTime); }
void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(DateOf(FDateTime) + TimeOf(v)); }

void TDateTimePicker::SetNull()
{
    if (FNull)
        return;
    FNull = true;
    UpdateText();
    DateTimeChanged();
}

void TDateTimePicker::SetShowCheckbox(bool v)
{
    FShowCheckbox = v;
    if (FCheck) {
        FCheck->setVisible(v);
        static_cast<QLineEdit*>(Widget())->setTextMargins(v ? CheckWidth : 0, 0, ButtonWidth, 0);
    }
    UpdateText();
}

void TDateTimePicker::SetChecked(bool v)
{
    if (FChecked == v)
        return;
    FChecked = v;
    if (FCheck && FCheck->isChecked() != v)
        FCheck->setChecked(v);
    UpdateText();
    DateTimeChanged();
}

void TDateTimePicker::DateTimeChanged()
{
    if (OnDateTimeChange)
        OnDateTimeChange(this);
    TCustomEdit::Change();
}

void TDateTimePicker::DropDown()
{
    if (FKind != dtkDate || DroppedDown())
        return;
    if (!FCalendar) {
        FCalendar = new QCalendarWidget;
        FCalendar->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        FCalendar->setAttribute(Qt::WA_ShowWithoutActivating);
        FCalendar->setFirstDayOfWeek(Qt::Monday);
        QObject::connect(FCalendar, &QCalendarWidget::clicked, [this](const QDate&) { CloseUp(true); });
    }
    // The calendar opens on the value shown, or on today when none is.
    FCalendar->setSelectedDate(DateTimeToQDate(ShowsNothing() ? ::Date() : FDateTime));
    QWidget* w = Widget();
    const QPoint below = w->mapToGlobal(QPoint(0, w->height()));
    OwnDropDown(FCalendar, w, [this] { CloseUp(false); });
    FCalendar->move(below);
    FCalendar->show();
}

void TDateTimePicker::CloseUp(bool Accept)
{
    if (!DroppedDown())
        return;
    const QDate d = FCalendar->selectedDate();
    FCalendar->hide();
    if (Accept && d.isValid()) {
        if (FShowCheckbox && !FChecked)
            SetChecked(true);
        SetDateTime(QDateToDateTime(d) + TimeOf(FNull ? 0 : FDateTime));
    }
    if (OnCloseUp)
        OnCloseUp(this);
}

bool TDateTimePicker::DroppedDown() const { return FCalendar && FCalendar->isVisible(); }

void TDateTimePicker::SetCalendarDate(TDateTime v)
{
    if (FCalendar)
        FCalendar->setSelectedDate(DateTimeToQDate(v));
}

void TDateTimePicker::StepPart(int Delta)
{
    if (ShowsNothing()) {
        if (FShowCheckbox && !FChecked)
            SetChecked(true);
        SetDateTime(FKind == dtkDate ? ::Date() : TimeOf(Now()));
        return;
    }
    // The runs of digits in the text line up with the runs of part letters
    // in the format; the caret's run names the part to step.
    const QString text = Text();
    const QString fmt = EffectiveFormat();
    QList<QChar> parts;
    for (int i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == QLatin1Char('\'') || fmt[i] == QLatin1Char('"')) {
            const int e = fmt.indexOf(fmt[i], i + 1);
            i = e < 0 ? fmt.size() : e;
            continue;
        }
        const QChar p = PartLetter(fmt[i]);
        if (p.isNull())
            continue;
        if (parts.isEmpty() || parts.back() != p || (i > 0 && PartLetter(fmt[i - 1]) != p))
            parts << p;
    }
    const int caret = std::clamp(SelStart(), 0, int(text.size()));
    int run = -1, i = 0;
    while (i < text.size()) {
        if (!text[i].isDigit()) {
            ++i;
            continue;
        }
        const int s = i;
        while (i < text.size() && text[i].isDigit())
            ++i;
        ++run;
        if (caret >= s && caret <= i)
            break;
    }
    if (run < 0 || run >= parts.size())
        run = 0;
    const QChar part = parts.isEmpty() ? QLatin1Char('d') : parts[run];
    QDateTime q = DateTimeToQDateTime(FDateTime);
    if (part == QLatin1Char('d'))
        q = q.addDays(Delta);
    else if (part == QLatin1Char('m'))
        q = q.addMonths(Delta);
    else if (part == QLatin1Char('y'))
        q = q.addYears(Delta);
    else if (part == QLatin1Char('h'))
        q = q.addSecs(3600LL * Delta);
    else if (part == QLatin1Char('n'))
        q = q.addSecs(60LL * Delta);
    else if (part == QLatin1Char('s'))
        q = q.addSecs(Delta);
    else
        q = q.addMSecs(Delta);
    SetDateTime(QDateTimeToDateTime(q));
    SetSelStart(std::min(caret, int(Text().size())));
}

void TDateTimePicker::CommitText()
{
    if (!Modified)
        return;
    const QString t = Text().trimmed();
    Modified = false;
    if (t.isEmpty()) {
        SetNull();
        return;
    }
    TDateTime v = 0;
    const bool ok = FKind == dtkDate ? (TryStrToDateTime(t, v) || TryStrToDate(t, v)) : TryStrToTime(t, v);
    if (ok)
        SetDateTime(FKind == dtkDate ? v : DateOf(FDateTime) + TimeOf(v));
    else
        UpdateText();  // an unreadable text gives way to the value
}

void TDateTimePicker::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    switch (Key) {
    case VK_UP:
    case VK_DOWN:
        if (Key == VK_DOWN && (Shift & ssAlt)) {
            DropDown();
            Key = 0;
            break;
        }
        CommitText();
        StepPart(Key == VK_UP ? 1 : -1);
        Key = 0;
        break;
    case VK_F4:
        DropDown();
        Key = 0;
        break;
    case VK_RETURN:
        if (DroppedDown()) {
            CloseUp(true);
            Key = 0;
        } else {
            CommitText();
        }
        break;
    case VK_ESCAPE:
        if (DroppedDown()) {
            CloseUp(false);
            Key = 0;
        }
        break;
    default:
        break;
    }
}

void TDateTimePicker::KeyPress(QChar& Key)
{
    TCustomEdit::KeyPress(Key);
    // Only what a date or time is written with.
    if (!Key.isNull() && Key.isPrint() && !Key.isDigit() && Key != FormatSettings().DateSeparator &&
        Key != FormatSettings().TimeSeparator && Key != QLatin1Char(' ') && Key != QLatin1Char('.') && Key != QLatin1Char(':'))
        Key = QChar();
}

void TDateTimePicker::DoExit()
{
    CloseUp(false);
    CommitText();
    TCustomEdit::DoExit();
}
