#pragma once
// TformResultsClassForest: the check-in window ("Kirjaa maastoon"). Its
// controls show and feed TResultsClassForestRun, which holds the run, person,
// card and payment logic; the main window sets vcChipString and
// iResultsClassId (through Run()) before ShowModal and fills
// Run().OnRunClosed with its own refresh of the results grid.

#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "results/vrkResultsClassForestRun.h"

#include <memory>

class TLabel;
class TEdit;
class TCheckBox;
class TGroupBox;
class TButton;
class TControl;
class TDBGrid;
class TrDBGrid;
class TFcEdit;
class TFcLabel;
class TFcCheckBox;
class TColumn;
class TDBLookupComboBox;
class TRadioButton;
class TImage;
class TAction;
class TrDBEdit;
class TrDBCheckBox;
class TFcRadioGroup;
class QObject;

class TformResultsClassForest : public TForm {
public:
    explicit TformResultsClassForest(TComponent* AOwner);

    TResultsClassForestRun& Run() { return FRun; }
    // Opens the run as the window's showing does; false when refused.
    bool Opening();
    // Shows the logic's values in the controls.
    void Sync();

    // The status strip: step 1 the person, step 2 the course.
    TImage *imgMenu1Question, *imgMenu1OK, *imgMenu1Exlamation, *imgMenu2, *imgMenu2Question, *imgMenu2OK;
    TLabel *lblMenu1, *lblMenu2, *lblLainakortti, *lblChipBalanceInfo, *lblENTRY_FEE;
    TFcLabel* lblPaymentPrice;
    TEdit *edtChip1, *edtPaymentPrice, *edtPaymentInfo, *edtADDITIONAL_CLASS_NOTES;
    TFcEdit *edtSearchPersons, *edtSearchWebEntries, *edtWebShowAsked, *edtPhoneNumber;
    TButton* rButton1;
    TAction *actWebEntriesRefresh, *actWebEntriesSelect, *actWebEntriesAddPerson;
    // "Muokkaa" (F9) and "Lisää" (F10) of the person and their tool buttons.
    TAction *actPersonEdit, *actPersonAdd;
    TControl *btnPersonEdit, *btnPersonAdd;
    TrDBEdit *edtENTRY_FEE, *edtSPORT_ID;
    TrDBCheckBox *chkRENTAL_EMIT, *chkPAYMENT_STATE;
    TImage *imgWebEntriesOK, *imgWebEntriesQuestion, *imgWebEntriesExlamation, *imgChipBalanceWarning;
    TCheckBox* chkRentedChip;
    TFcCheckBox *chkNoChip, *chkOwnChip, *chkPrintReceipt, *chkWebShow;
    TFcRadioGroup *grpPerson, *grpCourse, *grpWebEntries, *grpPayment;
    TrDBGrid *rdbgrdPersons, *rdbgrdWebEntries, *rdbgrdPaymentMethods;
    // The run's grid: hidden and without data; the shared grid actions act
    // on it while the window is open, so on nothing.
    TrDBGrid* rdbgrdCurrResult;
    TDBLookupComboBox *edtClassCourse, *edtAdditionalClass;
    TFcRadioGroup* FcRadioGroup1;  // "Tila"
    TButton *btnOK, *btnCancel, *btnPayBalance;
    // Opens the person editor (formPerson) for the person, 0 for a new one.
    void EditPerson(int64_t PersonId);
    // The web-entry grid's columns in "ResultsClassForest.ini".
    void ReadLayout();
    void SaveLayout();
    // The database upgrade deleted "ResultsClassForest.ini" after this window
    // had read it: the grid goes back to its designed columns and the file
    // forgets what it read, so nothing of the old layout is written back.
    void LayoutFileRemoved();
    // The web-entry grid's section: the form's name, ".", the grid's name.
    QString WebEntriesKey() const;
    // Enter, Escape and F5 to F10 as the desk's operators use them.
    void HandleKey(Word& Key);
    // Moves the focus where the last step sent the operator (the run's
    // Focus); a list to drop down opens once the window is on screen.
    void ApplyFocus();
    class TPropSaveFile* propResultsClassForest;

private:
    void BuildLayout();
    void BuildPersonGroup();
    void BuildRightSide();
    void BuildCourseGroup();
    void BuildWebEntries();
    void BuildStatusStrip();
    void SyncStatusStrip();
    void AddPersonFromWebEntry();
    void WebSearchKeyUp(Word Key);
    void Place();
    bool HasFocus(TWinControl* Control) const;
    void EnterKey();
    void EscapeKey();
    void PaintChosenRow(TDBGrid* Grid, bool Chosen, const TRect& Rect, int DataCol, TColumn* Column, TGridDrawState State);
    TResultsClassForestRun FRun;
    QString FDesignedLayout;  // the web-entry grid as built, in property-file form
    bool FSyncing = false;
    std::unique_ptr<QObject> FFocusGuard;
};

extern TformResultsClassForest* formResultsClassForest;

// Opens the check-in dialog modally: for a read card's emit string, for a new
// run without a card (both empty/0) or for an existing run; afterwards the
// main grid shows the run.
void OpenCheckInDialog(const QString& ChipString, int64_t ResultsClassId);
