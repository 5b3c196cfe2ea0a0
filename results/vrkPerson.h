#pragma once
// TformPerson: the person editor window ("Muokkaa tietoja"): the persons grid
// and the person's fields bound to fbQueryPersonFD, over TPersonEditorRun.
// While it exists it fills the data module's PersonEditor link, so the save
// rules reach its name field, remembered name, actions and changed flag.

#include "platform/ui/Forms.h"
#include "results/vrkPersonEditorRun.h"

class TAction;
class TButton;
class TDBEdit;
class TrDBGrid;
class TDBLookupComboBox;

class TformPerson : public TForm {
public:
    explicit TformPerson(TComponent* AOwner);
    ~TformPerson() override;

    TPersonEditorRun& Run() { return FRun; }
    // Places the window and opens the data as the showing does.
    void Opening();

    TrDBGrid* rdbgrdPerson;
    TDBEdit *edtPERSON_NAME, *edtCONTROL_CARD, *edtLICENSE, *edtCOUNTRY, *edtSPORT_ID, *edtPHONE_NUMBER;
    TDBLookupComboBox* edtClub;
    TAction *actPersonEdit, *actPersonNew, *actPersonDelete;
    TButton *btnOK, *btnCancel;

private:
    TPersonEditorRun FRun;
};

extern TformPerson* formPerson;
