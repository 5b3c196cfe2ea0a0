#pragma once
// TformPerson: the person editor window ("Muokkaa tietoja"): the persons grid
// and the person's fields bound to fbQueryPersonFD, over TPersonEditorRun.
// While it exists it fills the data module's PersonEditor link, so the save
// rules reach its name field, remembered name, actions and changed flag.

#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"
#include "results/vrkPersonEditorRun.h"

class TAction;
class TButton;
class TDBEdit;
class TrDBCheckBox;
class TrDBGrid;
class TDBLookupComboBox;
class TFcDBRadioGroup;

class TformPerson : public TForm {
public:
    explicit TformPerson(TComponent* AOwner);
    ~TformPerson() override;

    TPersonEditorRun& Run() { return FRun; }
    // Places the window and opens the data as the showing does.
    void Opening();

    TrDBGrid* rdbgrdPerson;
    TDBEdit *edtPERSON_NAME, *edtCONTROL_CARD, *edtLICENSE, *edtCOUNTRY, *edtSPORT_ID, *edtPHONE_NUMBER, *edtINSERTED,
        *edtUPDATED, *edtWEB_SHOW_ASKED, *edtPERSON_ID;
    TDBLookupComboBox* edtClub;
    TFcDBRadioGroup* rgSex;  // "Mies" (M), "Nainen" (F)
    TrDBCheckBox *chkWebShow, *chkPrintReceipt;
    TAction *actPersonEdit, *actPersonNew, *actPersonDelete, *actClubEdit, *actClubNew;
    TButton *btnOK, *btnCancel;

private:
    void BuildFields();
    void BuildClubGroup(int Y);
    void BuildSex(int Y);
    void KeyDown(Word& Key);
    void ToolbarEnabled(bool Enabled);
    // Closes an open club list accepting its club; true when it was open.
    bool CloseClubList();
    void ClubEdit();
    void ClubNew();
    void ShowSex();
    TPersonEditorRun FRun;
};

extern TformPerson* formPerson;
