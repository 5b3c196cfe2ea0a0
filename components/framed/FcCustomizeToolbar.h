#pragma once
// The dialog that lists a tool bar's controls in layout order with a check
// mark for visibility, moves them up and down and chooses the text options.

#include "components/framed/FcButton.h"
#include "components/framed/FcChkLst.h"
#include "components/framed/FcCmboBx.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

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
    int OldIdx = -1;
    int NewIdx = -1;
    TComponent* CompOwner = nullptr;
    TFcToolbar* Toolbar = nullptr;

    void Reposition();
    void UpdateControls(const TFcCustomizeCaptions& Captions, bool ShowTextOptions);
    void MoveUp();
    void MoveDown();
    // The row text of a listed control.
    static QString RowText(const TControl* Control);

protected:
    void UpdateMoveButtons();
    void MoveRow(int From, int To);
};
