#include "components/base/rDialogsEx.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/ui/Forms.h"

#include <memory>

namespace {

template <class D>
void InitFileDialog(D* Dialog)
{
    Dialog->Options = ParioCompConfig.rDBToolCfg.FileDialog_Options;
    if (ParioCompConfig.rDBToolCfg.FileDialog_InitDialogEvent)
        ParioCompConfig.rDBToolCfg.FileDialog_InitDialogEvent(Dialog);
}

}  // namespace

TrOpenDialog::TrOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner)
{
    InitFileDialog(this);
}

TrSaveDialog::TrSaveDialog(TComponent* AOwner) : TSaveDialog(AOwner)
{
    InitFileDialog(this);
}

bool ShowSelectFontDialog(TFont* Font)
{
    auto dlg = std::make_unique<TFontDialog>(Application);
    dlg->Font.Assign(*Font);
    if (!dlg->Execute())
        return false;
    Font->Assign(dlg->Font);
    return true;
}
