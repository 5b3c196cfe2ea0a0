#pragma once
// TNewClassRun: the new class dialog's checks and its insert, apart from
// drawing. The fields hold the texts the window's edits show; the main window
// fills the two tree hooks.

#include <QString>
#include <functional>

class TNewClassRun {
public:
    QString ClassName, Length, ControlsString, FinishCode, Fee, Climb, MassStartTime, CalcScoring, Notes;

    // The main window's navigation tree and its event tree (filled by it).
    std::function<void()> OnRefreshTree;
    std::function<void()> OnRefreshTreeEvent;

    void Open();
    // A number field's check: false (the message shown) when its text is
    // not a number within the field's limit. An empty field becomes 0.
    // The length is in kilometres.
    bool LeaveLength() { return LeaveNumber(Length, kMaxLengthKm, false); }
    bool LeaveFee() { return LeaveNumber(Fee, 9999, false); }
    bool LeaveClimb() { return LeaveNumber(Climb, 9999, true); }
    // The same check without the message box (the window shows it): the
    // refusal text, "" when the text is good.
    QString QuietLeave(QString& Field);
    static constexpr double kMaxLengthKm = 999;
    // OK: true when the class was added and the dialog closes.
    bool Ok();

    // A number in the system's format ("1,5" or "1.5"); ok false for other text.
    static double Number(const QString& Text, bool* ok = nullptr);

private:
    bool LeaveNumber(QString& Field, double Limit, bool Whole);
    QString NumberError(QString& Field, double Limit, bool Whole);
};
