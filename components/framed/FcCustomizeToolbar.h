#pragma once
// The dialog that lists a tool bar's controls in layout order with a check
// mark for visibility, moves them up and down and chooses the text options.

#include "components/framed/FcButton.h"
#include "components/framed/FcChkLst.h"
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TTimer;

class TFcFrmCustomizeToolbar : public TForm {
public:
    explicit TFcFrmCustomizeToolbar(TComponent* AOwner);
    TLabel* LblHint;
    TFcCheckList* LstControls;
    TFcButton* BtnClose;
    TFcButton* BtnMoveUp;
    TFcButton* BtnMoveDown;
    TLabel* LblTextOptions;
    TFcComboBox* CbxTextOptions;
    // Hidden: their glyphs are the pictures of the spacers in the list.
    TSpeedButton* BtnSpacer;
    TSpeedButton* BtnGrooveSpacer;
    // Scrolls the list while a dragged row is held at its top or bottom.
    TTimer* Timer1;
    int OldIdx = -1;
    int NewIdx = -1;
    bool GoingUp = false;
    TComponent* CompOwner = nullptr;
    TFcToolbar* Toolbar = nullptr;

    void Reposition();
    void UpdateControls(const TFcCustomizeCaptions& Captions, bool ShowTextOptions);
    void MoveUp();
    void MoveDown();
    // The row text of a listed control.
    static QString RowText(const TControl* Control);

    // One 100 ms step of the scrolling while dragging.
    void ScrollStep();
    // A row's picture: the button's image, a speed button's first glyph, a spacer's glyph.
    void DrawRowPicture(TCanvas* Canvas, const TControl* Control, int X, int Y);

protected:
    void UpdateMoveButtons();
    void MoveRow(int From, int To);
    void DragOver(int X, int Y);
    void DrawRow(int Index, const TRect& R);
};
