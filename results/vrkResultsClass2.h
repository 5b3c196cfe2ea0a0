#pragma once
// TformResultsClass2: the finish dialog "Käsittele suoritus". One run of the
// finish desk is handled here: a card just read at the finish, a run entered
// by hand, or an existing run of the results grid. The event database stores
// the read and matches it against every class-course; the dialog shows the
// outcome, lets the operator choose the person, the course, the status and
// the times, and accepts the run as a result or registers it into the forest.

#include "platform/ui/Forms.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class TLabel;
class TFcEdit;
class TFcLabel;
class TButton;
class TControl;
class TFcCheckBox;
class TrDBEdit;
class TrDBCheckBox;
class TrDBMemo;
class TrDBGrid;
class TrDBLookupComboBox;
class TrDBDateTimePicker;
class TImage;
class TGroupBox;
class TFcRadioGroup;
class TMemo;
class TAction;
class TFcDBRadioGroup;
class TField;

class TformResultsClass2 : public TForm {
public:
    explicit TformResultsClass2(TComponent* AOwner);
    ~TformResultsClass2() override;

    // The older form of the dialog (TformResultsClass) is this dialog in
    // another configuration.
    bool Older() const { return FOlder; }

    // ---- set by callers before showing ----
    QString vcChipString;
    int64_t iResultsClassId = 0;
    bool bNoChip = false;

    // ---- opening (the read, the forest decisions, loading the run) ----
    void FormShow(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    bool ProcessChipString(QString& WasInForest, QString& CourseFlag);
    void ShowData();

    // ---- course candidates, punches and times ----
    void haeSarja(int64_t ClassCourseId);
    void haeLeimaukset(int64_t ResultsClassAllId);
    void ValidatePunches();
    void edtClassCourseClick(TComponent* Sender);
    // Whether the status item may become Index (the "Tila" group's changing).
    bool StatusChanging(int NewIndex);
    void tarkastaAjat();
    void laskeAjat(const QString& EditedField);

    // ---- person and card ----
    void haeHenkilo(int64_t PersonId);
    void SelectPerson(int64_t PersonId);
    void RefreshQueryLookupPersons();
    void edtChip1Exit(TComponent* Sender);
    void chkNoChipClick(TComponent* Sender);
    void chkRentedChipClick(TComponent* Sender);
    void chkWebShowClick(TComponent* Sender);
    void rButton1Click(TComponent* Sender);
    void PersonGridDblClick(TComponent* Sender);
    // "Lisää" (F10, Add) and "Muokkaa" (F9): the person editor for the run.
    void PersonEditorCall(bool Add);
    void FormKeyPress(TComponent* Sender, QChar& Key);
    void FormKeyUp(TComponent* Sender, Word& Key, TShiftState Shift);

    // ---- accepting, to the forest, closing ----
    void btnOKClick(TComponent* Sender);
    void btnToForestClick(TComponent* Sender);
    void cancelClick(TComponent* Sender);
    void FormCloseQuery(TComponent* Sender, bool& CanClose);
    void FormClose(TComponent* Sender, TCloseAction& Action);

    // ---- state ----
    bool bNewResult = false;
    bool bChipRead = false;
    bool bChipManuallyEntered = false;
    QString vcPrevControlCard;
    int64_t iLastSelectedPerson = 0;
    bool bOwnChipChanged = false;
    bool bReceiptPrintChanged = false;
    bool bPhoneNumberChanged = false;
    bool bWebShowChanged = false;
    QString vcWasInForest = QStringLiteral("E");
    QString vcCourseFlag = QStringLiteral("?");

    // ---- controls ----
    TLabel* lblChip = nullptr;
    TrDBEdit* edtChip1 = nullptr;
    TFcCheckBox* chkNoChip = nullptr;
    TrDBCheckBox* chkRentedChip = nullptr;
    TLabel* lblLainakortti = nullptr;
    TFcRadioGroup* grpPerson = nullptr;
    TFcEdit* edtSearchPersons = nullptr;
    TButton* rButton1 = nullptr;
    TrDBGrid* rdbgrdPersons = nullptr;
    TFcCheckBox* chkOwnChip = nullptr;
    TFcCheckBox* chkPrintReceipt = nullptr;
    TFcCheckBox* chkWebShow = nullptr;
    TFcEdit* edtWebShowAsked = nullptr;
    TFcLabel* lblPhoneNumber = nullptr;
    TFcEdit* edtPhoneNumber = nullptr;
    TImage* imgOK = nullptr;
    TImage* imgQuestion = nullptr;
    TImage* imgExlamation = nullptr;
    TFcRadioGroup* grpCourse = nullptr;
    TrDBLookupComboBox* edtClassCourse = nullptr;
    TrDBEdit* edtAdditionalNotes = nullptr;
    TrDBLookupComboBox* edtAdditionalClass = nullptr;
    TImage* imgOKC = nullptr;
    TImage* imgQuestionC = nullptr;
    TImage* imgExlamationC = nullptr;
    TFcDBRadioGroup* fcdbrdgrpSTATUS = nullptr;
    TrDBDateTimePicker* dtpRegistered = nullptr;
    TrDBDateTimePicker* dtpStartPunch = nullptr;
    TrDBDateTimePicker* dtpRead = nullptr;
    TrDBDateTimePicker* dtpChanged = nullptr;
    TrDBDateTimePicker* dtpStart = nullptr;
    TrDBDateTimePicker* dtpFinish = nullptr;
    TrDBDateTimePicker* dtpPenalty = nullptr;
    TFcEdit* edtTime = nullptr;
    TrDBGrid* rdbgrdPunches = nullptr;
    TrDBGrid* rdbgrdCurrResult = nullptr;
    TControl* btnValidate = nullptr;  // a tool button of the punches' bar
    TrDBMemo* mmoRESULT_NOTES = nullptr;
    TMemo* mmoChipString = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;
    TButton* btnToForest = nullptr;
    TAction* actPersonEdit = nullptr;
    TAction* actPersonAdd = nullptr;
    TAction* actValidatePunches = nullptr;
    // The older dialog's person list (the finish dialog searches a grid).
    TrDBLookupComboBox* edtPerson = nullptr;

protected:
    TformResultsClass2(TComponent* AOwner, bool Older);

private:
    // The result board is consulted (never by the older dialog).
    bool BoardShown() const;
    // Whether a receipt may be printed for the run (the older dialog prints
    // only for runs with a card).
    bool ReceiptAllowed() const;
    void BuildLayout();
    void NameControls();
    void ResetState();
    void OpenCardRead();
    // The run of an earlier read of this card with the same punches, 0 when
    // none (the card was not read before in this event).
    int64_t EarlierReadOfCard() const;
    // Whether a read into the card's registration is accepted without the
    // operator (resultsClass holds the run as the check left it).
    bool AcceptedWithoutOperator(bool Board) const;
    void OpenNewByHand();
    void OpenExisting();
    void ShowCoursePicture();
    void AutomaticAcceptance();
    // The operator's changes of the person (own card, receipt, phone, web
    // show) into the database; failures are shown and the caller goes on.
    void PersonChanges(bool ForestForms, bool LookAtNoChip);
    // Closes up a dropped-down course list; true when one was.
    bool ListDroppedDown();
    void SaveClassCourseRow();
    void CloseDialog();
    // The times of the current class-course row into the pickers.
    void LoadTimes();
    // The pickers' times into the class-course row.
    void StoreTime(TrDBDateTimePicker* Picker, const QString& Field);
    // Whether a picker or "Aika" shows zero time (both forms when OneDigitHour).
    bool ZeroTime(const QString& Text, bool OneDigitHour) const;
    QString PickerTime(TrDBDateTimePicker* Picker) const;
    int64_t RunPersonId() const;
    QString RunField(const QString& Name) const;
    void EditRun();
    void EditClassCourse();

    void RecheckMarkedRun();
    void OpenClassCourses();
    void OpenPersons();
    void OpenAdditionalClasses(int64_t ClassCourseId);
    TField* RunFieldObj(const QString& Name) const;
    TField* RowField(const QString& Name) const;

    bool FOlder = false;
    // Work posted to the event loop dies with the window.
    std::unique_ptr<QObject> FPostGuard;
    bool FLoading = false;
    bool FActivationPending = false;
    // The board shows the run accepted at once, with the data it read.
    bool FBoardShowsRun = false;
    // The read was accepted in the transaction that stored it.
    bool FAcceptedWithRead = false;
    bool FNoChipReadOnly = false;
    int64_t FProposedClassCourse = 0;
    QString FProposedClassName;
};

// The unit's flags (one dialog instance exists).
extern bool bCancelOpen;
extern bool bWasInForest;
extern bool bClassChanged;
extern bool bClassDroppedDown;
extern bool bPersonDroppedDown;  // the older dialog's person list is open (or F5 went to it)
extern bool bAddClassDroppedDown;
extern bool bPrintReceipt;

extern TformResultsClass2* formResultsClass2;

class TDataSet;
// The background of a punches row by its kind (clNone: the grid's own).
TColor PunchRowColour(TDataSet* Punches);
