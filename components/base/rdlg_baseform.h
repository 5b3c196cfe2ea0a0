#pragma once
// The base of the library's own dialogs: the dialog font, an Ok/Cancel panel
// at the bottom, and the general events for showing, activating and closing.

#include "components/base/rButton.h"
#include "components/base/rImageListEx.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

#include <functional>

class TrDlgBaseForm;

// Property files belong to the layer above this library's base. That layer
// installs how a dialog gets its saver (which keeps its place and control
// settings from showing to hiding) and how a saver is pointed at a file; without
// it the dialogs simply do not remember.
struct TDlgPropSaveLayer {
    std::function<TComponent*(TrDlgBaseForm* Form)> MakeSaver;
    std::function<void(TComponent* Saver, TComponent* PropSaveFile)> SetFile;
};
TDlgPropSaveLayer& DlgPropSaveLayer();

class TrDlgBaseForm : public TForm {
public:
    explicit TrDlgBaseForm(TComponent* AOwner);
    // Button images: 0 Ok, 1 Cancel, 2 Close; zoom images: 0 fit, 1 in, 2 out.
    TrImageListEx* ImgDlgEna;
    TrImageListEx* ImgZoomEna;
    TPanel* pBottom;
    TPanel* pBottomRight;
    TrButton* btOk;
    TrButton* btCancel;
    TComponent* DlgPropSave = nullptr;
    // None is allowed: the dialog then keeps nothing.
    void SetPropSaveFile(TComponent* PropSaveFile);

protected:
    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormActivate(TComponent* Sender);
    void FormClose(TComponent* Sender, TCloseAction& Action);
};
