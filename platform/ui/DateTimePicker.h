#pragma once
// A date or time field with a calendar drop-down that can also show no value
// at all: empty when Format is the empty literal "''", when the check box is
// shown and cleared, or when the value was cleared (IsNull). The arrow keys
// step the part of the value under the caret (day, month, year, hour …).

#include "platform/rtl/DateUtils.h"
#include "platform/ui/StdCtrls.h"

#include <QString>

class QCalendarWidget;
class QToolButton;

enum TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TCustomEdit {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind v);
    // FormatDateTime letters; empty: the short date or long time format.
    const QString& Format() const { return FFormat; }
    void SetFormat(const QString& v);
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime v);
    TDateTime Date() const;
    void SetDate(TDateTime v);
    TDateTime Time() const;
    void SetTime(TDateTime v);
    // No value: the control shows nothing until a value is set.
    bool IsNull() const { return FNull; }
    void SetNull();
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    // Whether nothing is shown (null, unchecked or the empty format).
    bool ShowsNothing() const;

    virtual void DropDown();
    virtual void CloseUp(bool Accept);
    bool DroppedDown() const;
    // The calendar's selection while dropped down (tests pick a day with it).
    void SetCalendarDate(TDateTime v);

    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDateTimeChange;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;

protected:
    QWidget* CreateWidget() override;
    void DoExit() override;
    void Resize() override;
    // The value changed (typed, stepped, picked or set).
    virtual void DateTimeChanged();
    void UpdateText();
    QString EffectiveFormat() const;
    // Steps the part of the value under the caret by Delta.
    void StepPart(int Delta);
    void CommitText();

private:
    TDateTimeKind FKind = dtkDate;
    QString FFormat;
    TDateTime FDateTime = 0;
    bool FNull = false;
    bool FShowCheckbox = false;
    bool FChecked = true;
    bool FUpdating = false;
    QToolButton* FButton = nullptr;
    class QCheckBox* FCheck = nullptr;
    QCalendarWidget* FCalendar = nullptr;
};
