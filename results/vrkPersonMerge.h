#pragma once
// TformPersonMerge: the person merge dialog ("Yhdistä henkilöt"): the kept
// person's fields, the searchable candidate list and the choice's status,
// over TPersonMergeRun.

#include "platform/ui/Forms.h"
#include "results/vrkPersonMergeRun.h"

class TButton;
class TDBEdit;
class TDBGrid;
class TDBLookupComboBox;
class TEdit;
class TLabel;

class TformPersonMerge : public TForm {
public:
    explicit TformPersonMerge(TComponent* AOwner);

    TPersonMergeRun& Run() { return FRun; }
    void Opening();  // opens the data as the showing does
    void Sync();     // the status follows the choice

    TDBEdit *edtPERSON_NAME, *edtSPORT_ID;
    TDBLookupComboBox* edtClub;
    TLabel* lblStatus;  // stands for imgQuestion / imgOK
    TDBGrid* rdbgrdPersons;
    TEdit* edtSearchPersons;
    TButton *rButton1, *btnOK, *btnCancel;

private:
    TPersonMergeRun FRun;
};

extern TformPersonMerge* formPersonMerge;
