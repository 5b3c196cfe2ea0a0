#pragma once
// TformClub: the club editor window ("Muokkaa tietoja"): the page "Seurat"
// with the clubs grid and the club's fields bound to fbQueryClubFD, over
// TClubEditorRun. While it exists it fills the data module's ClubEditor
// link, so the save rules reach its name field, remembered name, actions and
// changed flag.

#include "platform/ui/Forms.h"
#include "results/vrkClubEditorRun.h"

class TAction;
class TButton;
class TrDBEdit;
class TrDBGrid;
class TrPageControlEx;
class TTabSheet;

class TformClub : public TForm {
public:
    explicit TformClub(TComponent* AOwner);
    ~TformClub() override;

    TClubEditorRun& Run() { return FRun; }
    void Opening();  // places the window and opens the data as the showing does

    TrPageControlEx* pcPages;
    TTabSheet* tsClubs;
    TrDBGrid* rdbgrdClub;
    TrDBEdit *edtCLUB_NAME, *edtCLUB_ABBR, *edtLOCATION_NAME, *edtREGION_NAME, *edtREGION_ABBR, *edtCOUNTRY,
        *edtWWW_ADDR, *edtINSERTED, *edtUPDATED;
    TAction *actClubEdit, *actClubNew, *actClubDelete;
    TButton *btnOK, *btnCancel;

private:
    void BuildFields(TTabSheet* Page);
    void KeyDown(Word& Key);
    void ToolbarEnabled(bool Enabled);
    TClubEditorRun FRun;
};

extern TformClub* formClub;
