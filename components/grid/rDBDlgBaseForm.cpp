#include "components/grid/rDBDlgBaseForm.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rButton.h"
#include "components/base/rImageListEx.h"
#include "components/base/rtool.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/rdbtool.h"

#include <algorithm>

TrDBDlgBaseForm::TrDBDlgBaseForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsSizeable);
    SetBorderIcons(biSystemMenu);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(467);
    SetClientHeight(312);
    Constraints.MinWidth = 460;
    Constraints.MinHeight = 340;
    SetShowHint(true);
    rDlgPropSave = new TPropSaveMain(this);
    rDlgPropSave->SetName(QStringLiteral("rDlgPropSave"));
    rDlgPropSave->PropSaveEvents = pseFormShowHide;
    const std::initializer_list<const char*> glyphs = {
        "BTNOK16", "BTNCANCEL16", "BTNCLOSE16", "BTNDELETE16", "BTNDELETEALL16", "BTNSAVELIST16", nullptr, "BTNUP16", "BTNDOWN16",
        nullptr,   nullptr,       nullptr,      nullptr,       "BTNPREV16",      "BTNNEXT16",     nullptr, "BTNFIND16"};
    rDlgImgEna = new TrImageListEx(this);
    rDlgImgEna->SetName(QStringLiteral("rDlgImgEna"));
    AddButtonImages(rDlgImgEna, glyphs);
    rDlgImgDis = new TrImageListEx(this);
    rDlgImgDis->SetName(QStringLiteral("rDlgImgDis"));
    AddButtonImages(rDlgImgDis, glyphs, true);
}

void TrDBDlgBaseForm::SetButtonGlyph(TrButton* Button, TrDlgGlyph Glyph)
{
    Button->ImageIndex = Glyph;
    Button->SetImagesDisabled(rDlgImgDis);
    Button->SetImages(rDlgImgEna);
    // Glyph-only buttons show the picture in the middle; with a caption it
    // stands a few pixels from the left edge.
    Button->ImageMarginLeft = Button->Caption().isEmpty() ? std::max(0, (Button->Width() - rDlgImgEna->Width()) / 2 - 3) : 4;
}

void TrDBDlgBaseForm::FormCreate(TComponent*)
{
    const TrDBToolCfg& cfg = ParioCompConfig.rDBToolCfg;
    Font()->SetName(cfg.rDlg_DefaultFont.isEmpty() ? QStringLiteral("Tahoma") : cfg.rDlg_DefaultFont);
    Font()->SetSize(cfg.rDlg_DefaultSize);
    Font()->SetHeight(-11);
    DPI_SetFontHeight(Font());
    rDlgPropSave->SetPropSaveFile(GetGlobal_PropSaveFile());
    // A place the user gave the dialog before wins over centring.
    if (rDlgPropSave->FormIsSaved())
        SetPosition(poDesigned);
    rDlgPropSave->SetParent(this, true);
    if (ParioCompConfig.Global_ProcOnHelp) {
        SetBorderIcons(BorderIcons() | biHelp);
        HelpContext = 1;
        // The window managers here have no help button: F1 asks instead.
        SetKeyPreview(true);
    }
}

void TrDBDlgBaseForm::FormShow(TComponent*) { ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogShown); }

void TrDBDlgBaseForm::FormActivate(TComponent*) { ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogActivated); }

void TrDBDlgBaseForm::FormClose(TComponent*, TCloseAction&) { ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogClosed); }

void TrDBDlgBaseForm::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_F1 && Shift == 0 && ParioCompConfig.Global_ProcOnHelp) {
        bool callHelp = true;
        FormHelp2(8, HelpContext, callHelp);
        Key = 0;
        return;
    }
    TForm::KeyDown(Key, Shift);
}

bool TrDBDlgBaseForm::FormHelp2(unsigned Command, intptr_t, bool& CallHelp)
{
    if (Command == 8)
        ParioCompConfig.DoProcOnHelp(this, HelpContext);
    CallHelp = false;
    return true;
}

bool IsLinkedAndActive(TComponent* Obj)
{
    TDataSet* d = GetDataSet(Obj);
    return d && d->Active();
}
