#pragma once
// The common base of the modal dialogs that work on a grid or dataset: one
// font and height, centred on its owner, the library's help hook and its
// general events (shown, activated, closed).

#include "platform/ui/Forms.h"

class TrDBDlgBaseForm : public TForm {
public:
    explicit TrDBDlgBaseForm(TComponent* AOwner);
    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    void FormClose(TComponent* Sender, TCloseAction& Action);
    // Context help (command 8) goes to the library's help hook.
    bool FormHelp2(unsigned Command, intptr_t Data, bool& CallHelp);
};

// True when a grid, data source or dataset has an active dataset behind it.
bool IsLinkedAndActive(TComponent* Obj);
