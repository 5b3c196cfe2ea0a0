#pragma once
// TformPersonMerge: the person merge dialog ("Yhdistä henkilöt"): the kept
// person's fields, the searchable candidate list and the choice's status
// picture, over TPersonMergeRun.

#include "platform/ui/Forms.h"
#include "results/vrkPersonMergeRun.h"

class TButton;
class TFcEdit;
class TImage;
class TrButton;
class TrDBEdit;
class TrDBGrid;
class TrDBLookupComboBox;
class TrGroupBox;

class TformPersonMerge : public TForm {
public:
    explicit TformPersonMerge(TComponent* AOwner);

    TPersonMergeRun& Run() { return FRun; }
    void Opening();  // places the window and opens the data as the showing does
    void Sync();     // the search text and the status picture follow the logic

    TrGroupBox *grpPerson, *grpMerged;
    TrDBEdit *edtPERSON_NAME, *edtSPORT_ID;
    TrDBLookupComboBox* edtClub;
    TImage *imgQuestion, *imgOK, *imgExlamation;
    TrDBGrid *rdbgrdPersons, *rdbgrdPerson;
    TFcEdit* edtSearchPersons;
    TrButton* rButton1;
    TButton *btnOK, *btnCancel;

private:
    void BuildKeptPerson();
    void BuildCandidates();
    void KeyDown(Word& Key);
    TPersonMergeRun FRun;
    bool FSyncing = false;
};

extern TformPersonMerge* formPersonMerge;
