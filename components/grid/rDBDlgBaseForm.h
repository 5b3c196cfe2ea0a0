#pragma once
// The common base of the modal dialogs that work on a grid or dataset: one
// font and height, centred on its owner until the user has placed it once
// (the place and size are kept in the global property file), the library's
// help hook and its general events (shown, activated, closed).

#include "platform/ui/Forms.h"

class TPropSaveMain;
#include "components/base/rButton.h"
class TrImageListEx;

// The glyphs of the dataset dialogs' buttons, by their place in the lists.
enum TrDlgGlyph {
    dgOk = 0, dgCancel = 1, dgClose = 2, dgDeleteRow = 3, dgDeleteAll = 4, dgSaveList = 5,
    dgMoveUp = 7, dgMoveDown = 8, dgPrevious = 13, dgNext = 14, dgFind = 16
};

class TrDBDlgBaseForm : public TForm {
public:
    explicit TrDBDlgBaseForm(TComponent* AOwner);
    // Reads the dialog's place when shown and saves it when hidden; a
    // dialog that reads and saves at its own moments sets pseNone before
    // FormCreate and calls ReadProperties/SaveProperties itself.
    TPropSaveMain* rDlgPropSave;
    // Button glyphs while enabled and while disabled, at the same places.
    TrImageListEx* rDlgImgEna;
    TrImageListEx* rDlgImgDis;
    // Gives a button its glyph from both lists (centred when it has no caption).
    void SetButtonGlyph(TrButton* Button, TrDlgGlyph Glyph);
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
