#pragma once
// The common base of the modal dialogs that work on a grid or dataset: one
// font and height, centred on its owner until the user has placed it once
// (the place and size are kept in the global property file), the library's
// help hook and its general events (shown, activated, closed).

#include "platform/ui/Forms.h"

class TPropSaveMain;

class TrDBDlgBaseForm : public TForm {
public:
    explicit TrDBDlgBaseForm(TComponent* AOwner);
    // Reads the dialog's place when shown and saves it when hidden; a
    // dialog that reads and saves at its own moments sets pseNone before
    // FormCreate and calls ReadProperties/SaveProperties itself.
    TPropSaveMain* rDlgPropSave;
    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    void FormClose(TComponent* Sender, TCloseAction& Action);
    // Context help (command 8) goes to the library's help hook.
    bool FormHelp2(unsigned Command, intptr_t Data, bool& CallHelp);
    // F1 is the context help while the library has a help hook.
    void KeyDown(Word& Key, TShiftState Shift) override;
};

// True when a grid, data source or dataset has an active dataset behind it.
bool IsLinkedAndActive(TComponent* Obj);
