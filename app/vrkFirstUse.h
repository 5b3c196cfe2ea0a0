#pragma once
// TFormFirstUse: links a computer without a client row to the web result
// service account with a temporary code, stores the returned client row and
// completes the start; cancelling (or closing the window) ends the program.

#include "platform/ui/Forms.h"

class TFcEdit;
class TButton;
class TLabel;

class TFormFirstUse : public TForm {
public:
    explicit TFormFirstUse(TComponent* AOwner);
    ~TFormFirstUse() override;

    TFcEdit* fcdtTempClientID = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;

    void OKClick();
    void CancelClick();

private:
    // Stores the accepted reply's client row; raises on a missing member or
    // a database error.
    void InsertClient(const QString& Reply);
    bool FDone = false;
};

extern TFormFirstUse* FormFirstUse;
