#pragma once
// TformNewClass: the new class dialog ("Lisää uusi rata tapahtumaan"), framed
// text and number fields over TNewClassRun; the main window fills Run()'s tree
// hooks.

#include "platform/ui/Forms.h"
#include "results/vrkNewClassRun.h"

#include <QObject>
#include <memory>

class TFcEdit;
class TButton;
class TLabel;
class TFcNumericEdit;

class TformNewClass : public TForm {
public:
    explicit TformNewClass(TComponent* AOwner);
    TNewClassRun& Run() { return FRun; }
    void Opening();  // starts empty with the event's finish code and scoring

    TFcEdit *edtClassName, *edtControlsString, *edtMassStartTime, *edtCalcScoring, *edtNotes;
    TFcNumericEdit *edtLength, *edtFinishCode, *edtFee, *edtClimb;
    TButton *btnOK, *btnCancel;

private:
    void ToRun();
    void FromRun();
    // A number field left with a bad number: its message, then back into it.
    void RefuseNumber(TFcNumericEdit* Edit, const QString& Message);
    TNewClassRun FRun;
    std::unique_ptr<QObject> FGuard;
};

extern TformNewClass* formNewClass;
