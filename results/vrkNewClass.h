#pragma once
// TformNewClass: the new class dialog ("Lisää uusi rata tapahtumaan"), plain
// edits over TNewClassRun; the main window fills Run()'s tree hooks.

#include "platform/ui/Forms.h"
#include "results/vrkNewClassRun.h"

class TEdit;
class TButton;
class TLabel;

class TformNewClass : public TForm {
public:
    explicit TformNewClass(TComponent* AOwner);
    TNewClassRun& Run() { return FRun; }
    void Opening();  // starts empty with the event's finish code and scoring

    TEdit *edtClassName, *edtLength, *edtControlsString, *edtFinishCode, *edtFee, *edtClimb, *edtMassStartTime,
        *edtCalcScoring, *edtNotes;
    TButton *btnOK, *btnCancel;
    TLabel* lblCheck;  // why a number field's text was refused

private:
    void ToRun();
    void FromRun();
    TNewClassRun FRun;
};

extern TformNewClass* formNewClass;
