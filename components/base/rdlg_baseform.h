#pragma once
// The base of the library's own dialogs: the dialog font, an Ok/Cancel panel
// at the bottom, and the general events for showing, activating and closing.

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

class TrDlgBaseForm : public TForm {
public:
    explicit TrDlgBaseForm(TComponent* AOwner);
    TImageList* ImgDlgEna;
    TImageList* ImgZoomEna;
    TPanel* pBottom;
    TPanel* pBottomRight;
    TButton* btOk;
    TButton* btCancel;

protected:
    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    void FormClose(TComponent* Sender, TCloseAction& Action);
};
