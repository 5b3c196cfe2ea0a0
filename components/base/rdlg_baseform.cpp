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
    SetBorderStyle(bsSizeable);
    SetBorderIcons(biSystemMenu | biMaximize);
    SetPosition(poOwnerFormCenter);
    SetBounds(0, 0, 413, 217);
    Constraints.MinWidth = 300;
    Constraints.MinHeight = 200;
    SetShowHint(true);
    ImgDlgEna = new TImageList(this);
    ImgDlgEna->SetSize(16, 16);
    for (const char* name : {"BTNOK16", "BTNCANCEL16"}) {
        TBitmap b;
        b.LoadFromResourceName(QLatin1String(name));
        ImgDlgEna->Add(&b);
    }
    ImgZoomEna = new TImageList(this);
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
    btOk = new TButton(this);
    btOk->SetParent(pBottomRight);
    btOk->SetBounds(4, 8, 97, 25);
    btOk->SetCaption(libtxt::BaseFormOk);
    btOk->Images = ImgDlgEna;
    btOk->ImageIndex = 0;
    btOk->ImageMarginLeft = 4;
    btOk->DoubleBuffered = true;
    btOk->SetModalResult(mrOk);
    btCancel = new TButton(this);
    btCancel->SetParent(pBottomRight);
    btCancel->SetBounds(108, 8, 97, 25);
    btCancel->SetCaption(libtxt::BaseFormCancel);
    btCancel->Images = ImgDlgEna;
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
