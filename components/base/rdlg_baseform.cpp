#include "components/base/rdlg_baseform.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "resources/LibraryTexts.h"

TDlgPropSaveLayer& DlgPropSaveLayer()
{
    static TDlgPropSaveLayer layer;
    return layer;
}

TrDlgBaseForm::TrDlgBaseForm(TComponent* AOwner) : TForm(AOwner)
{
    // Sizeable rather than a fixed dialog frame: the memo, picture and
    // property dialogs built on this form grow with their contents.
    SetBorderStyle(bsSizeable);
    SetBorderIcons(biSystemMenu | biMaximize);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(413);
    SetClientHeight(217);
    Constraints.MinWidth = 300;
    Constraints.MinHeight = 200;
    SetShowHint(true);
    ImgDlgEna = new TrImageListEx(this);
    ImgDlgEna->SetName(QStringLiteral("ImgDlgEna"));
    AddButtonImages(ImgDlgEna, {"BTNOK16", "BTNCANCEL16", "BTNCLOSE16"});
    ImgZoomEna = new TrImageListEx(this);
    ImgZoomEna->SetName(QStringLiteral("ImgZoomEna"));
    AddButtonImages(ImgZoomEna, {"BTNZOOMFIT16", "BTNZOOMIN16", "BTNZOOMOUT16"});
    pBottom = new TPanel(this);
    pBottom->SetParent(this);
    pBottom->SetBevelOuter(bvNone);
    pBottom->SetHeight(41);
    pBottom->SetAlign(alBottom);
    pBottom->SetParentColor(true);
    pBottomRight = new TPanel(this);
    pBottomRight->SetParent(pBottom);
    pBottomRight->SetBevelOuter(bvNone);
    pBottomRight->SetWidth(217);
    pBottomRight->SetAlign(alRight);
    btOk = new TrButton(this);
    btOk->SetParent(pBottomRight);
    btOk->SetBounds(4, 8, 97, 25);
    btOk->SetCaption(libtxt::BaseFormOk);
    btOk->SetImages(ImgDlgEna);
    btOk->ImageIndex = 0;
    btOk->ImageMarginLeft = 4;
    btOk->DoubleBuffered = true;
    btOk->SetModalResult(mrOk);
    btCancel = new TrButton(this);
    btCancel->SetParent(pBottomRight);
    btCancel->SetBounds(108, 8, 97, 25);
    btCancel->SetCaption(libtxt::BaseFormCancel);
    btCancel->SetImages(ImgDlgEna);
    btCancel->ImageIndex = 1;
    btCancel->ImageMarginLeft = 4;
    btCancel->DoubleBuffered = true;
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
    OnCreate = [this](TComponent* S) { FormCreate(S); };
    OnShow = [this](TComponent* S) { FormShow(S); };
    OnActivate = [this](TComponent* S) { FormActivate(S); };
    OnClose = [this](TComponent* S, TCloseAction& A) { FormClose(S, A); };
    if (DlgPropSaveLayer().MakeSaver)
        DlgPropSave = DlgPropSaveLayer().MakeSaver(this);
}

void TrDlgBaseForm::SetPropSaveFile(TComponent* PropSaveFile)
{
    if (DlgPropSave && DlgPropSaveLayer().SetFile)
        DlgPropSaveLayer().SetFile(DlgPropSave, PropSaveFile);
}

void TrDlgBaseForm::FormCreate(TComponent*)
{
    Font()->SetName(ParioCompConfig.rDBToolCfg.rDlg_DefaultFont);
    Font()->SetSize(ParioCompConfig.rDBToolCfg.rDlg_DefaultSize);
    DPI_SetFontHeight(Font());
}

void TrDlgBaseForm::FormShow(TComponent*)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogShown);
}

void TrDlgBaseForm::FormActivate(TComponent*)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogActivated);
}

void TrDlgBaseForm::FormClose(TComponent*, TCloseAction&)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceDialogClosed);
}
