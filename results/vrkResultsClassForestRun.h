#pragma once
// TResultsClassForestRun: what the check-in window does to the run, the
// person, the card and the payment, apart from drawing. The window binds its
// controls to these values and calls these operations from its handlers;
// tests drive the same operations against the event database.
//
// Questions go through MessageBox (Yes/No), errors through do_message; tests
// answer them with SetMessageBoxHook.

#include "platform/rtl/Currency.h"

#include <QString>
#include <cstdint>
#include <functional>

class TDataSet;
class TField;

// Money with two decimals in the system's number format ("2,00").
QString CurrencyText2(Currency Value);

class TResultsClassForestRun {
public:
    TResultsClassForestRun() = default;
    ~TResultsClassForestRun();
    TResultsClassForestRun(const TResultsClassForestRun&) = delete;
    TResultsClassForestRun& operator=(const TResultsClassForestRun&) = delete;
    // ---- set by the caller before the window is shown ----
    QString vcChipString;
    int64_t iResultsClassId = 0;
    bool bNoChip = false;

    // ---- what the main window does when a check-in ends (it fills this) ----
    // Called after a saved run or a closed edit: refresh the results grid,
    // position it on the run, show the last-result group.
    std::function<void(int64_t ResultsClassId)> OnRunClosed;

    // ---- dialog state ----
    bool bNewResult = false;
    bool bChipRead = false;
    bool bChipManuallyEntered = false;
    bool bShowWebEntries = false;
    bool bCancelOpen = false;
    QString vcControlCard;
    QString vcPrevControlCard;
    int64_t iLastSelectedPerson = 0;
    bool bOwnChipChanged = false, bReceiptPrintChanged = false, bPhoneNumberChanged = false, bWebShowChanged = false;

    // ---- the controls' values ----
    QString Card;                      // edtChip1
    bool CardVisible = true;           // card, "Lainakortti" and "Ei korttia"
    bool NoChip = false;               // "Ei korttia"
    bool RentedChip = false;           // "Lainakortti"
    bool OwnChip = false, OwnChipEnabled = false;
    bool PrintReceipt = false, WebShow = false, PersonDetailsEnabled = false;
    QString WebShowAsked, Phone;
    QString RentedLabel;               // lblLainakortti
    QString PersonSearch;
    enum class TWebMark { None, OK, Question, Exclamation };
    TWebMark WebMark = TWebMark::None;
    // "Tila": -1 (none chosen) or 0..4; kept between openings.
    static int Tila;
    QString Menu1State, Menu1Text, Menu2State, Menu2Text;
    bool PersonEditEnabled = false;
    // Where the operator goes next, set by the step that decides it; the
    // window moves the focus there and resets it.
    enum class TFocus { None, PersonSearch, Card, Course, CourseList, Price };
    TFocus Focus = TFocus::None;

    // ---- payment choice ----
    int64_t nPaymentTypeId = 0;
    QString nPaymentType;
    int64_t nPaymentMethodId = 0;
    Currency nPaymentPrice;
    QString nPaymentInfo;
    Currency nChipBalanceBefore;
    int64_t nChipBalanceOptionsId = 0;
    Currency nChipBalancePaid;
    QString vcChipBalanceInfo;
    Currency nChipBalanceAddToBalance;
    Currency PriceField;               // edtPaymentPrice
    QString InfoField;                 // edtPaymentInfo
    QString PayBalanceCaption;         // btnPayBalance
    bool PayBalanceBold = false;
    QString PriceLabel, BalanceLabel;  // lblPaymentPrice, lblChipBalanceInfo ("" hidden)
    QString PriceHint;                 // edtPaymentPrice's hint
    bool BalanceWarning = false;       // red label and warning picture

    // ---- opening and closing ----
    // Returns false when the opening is refused (the window closes at once).
    bool Open();
    // OK: true when the run was saved (or needed no saving) and the window closes.
    bool Ok();
    void Cancel();
    // The window closes (after OK, cancel or a refused opening).
    void Close();

    // ---- person ----
    void SelectPerson(int64_t PersonId);  // 0: the list's current row
    int64_t RunPersonId() const;   // the run's person, 0 when none
    int64_t ListPersonId() const;  // the person list's current row
    void SearchPersons(const QString& Text);
    void ClearSearch();                  // the clear button and Escape in the search
    void ShowPerson(int64_t PersonId);   // the person details
    // The own card handed to the person editor: the run's card when it is a
    // real, not rented card, else "0".
    QString ChipForPersonEditor() const;
    // The person editor came back: Added a new person NewPersonId, or
    // edited the run's person; Changed when it saved anything.
    void PersonEdited(int64_t NewPersonId, bool Added, bool Changed);
    void ClickOwnChip(bool Checked);
    void ClickRentedChip(bool Checked);
    void ClickPrintReceipt(bool Checked);
    void ClickWebShow(bool Checked, const QString& Now);
    void ChangePhone(const QString& Text);

    // ---- card ----
    void EnterCard();
    void LeaveCard(const QString& Text);
    void SetNoChip(bool Checked);

    // ---- course ----
    void ChooseCourse(int64_t ClassCourseId);
    int64_t CourseId() const;

    // ---- web entries ----
    QString WebSearch;                   // the web-entry search
    void LoadWebEntries();
    void RefreshWebEntries();            // WebSearch to the list's filter
    void ToggleWebEntry();               // attach or detach the current entry
    void WebEntryCursorMoved();          // the list's cursor moved: detach
    // The entry whose marks are shown (0 none): only it is marked used and
    // gives its Sport ID, whatever row the list's cursor is on.
    int64_t AttachedEntryId() const { return FAttachedEntryId; }
    // "Henkilö": the new person's card, Sport ID and name from the current
    // entry; false when there is no entry.
    bool WebEntryPerson(QString& Chip, QString& SportId, QString& Name) const;
    // The person editor added NewPersonId from the current entry.
    void WebEntryPersonAdded(int64_t NewPersonId);

    // ---- additional class ----
    int64_t AdditionalClassId() const;
    void ChooseAdditionalClass(int64_t AdditionalClassId);
    QString AdditionalNotes() const;
    void SetAdditionalNotes(const QString& Text);

    // ---- payment ----
    // AtOpening: the opening's load, which starts the payment choice afresh.
    void LoadPayments(bool AtOpening = false);
    void TakeProposedPayment();
    void ChoosePayment();                // the payment list's current row
    void SetPrice(Currency Value);
    void SetInfo(const QString& Text);
    void AfterBalancePayment();          // the chip balance dialog returned
    void ShowPaymentRow();
    void ShowPayBalanceButton();
    Currency BalanceAfter() const { return nChipBalanceBefore + nChipBalanceAddToBalance - nPaymentPrice; }
    static bool IsBalanceType(const QString& PaymentType);

    // The run goes into editing (its row enters the edit state).
    void EditRun();
    bool RunOpen() const;
    TDataSet& RunSet() const;
    TField& RunField(const char* Name) const;
    static bool IsPlaceholderCard(const QString& Card);
    static QString TilaStatus(int Item);
    // The person search's filter text, "" for none.
    static QString PersonFilter(const QString& Search);

private:
    bool InsertRun();
    void ShowData();
    void MenuShow(const QString& State, const QString& Caption = QString());
    void Menu1ForPerson();
    void TakeWebEntry();
    void UpdatePersonDetails();
    void WriteRun();
    void ResetPaymentChoice();
    void DetachWebEntry();
    // Puts the entry list on the attached entry without detaching it.
    bool OnAttachedEntry();
    int64_t FAttachedEntryId = 0;
    bool FMovingEntries = false;
};
