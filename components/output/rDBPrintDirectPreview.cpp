#include "components/output/rDBPrintDirectPreview.h"

#include "components/base/rEditNum.h"
#include "components/base/rImageZoom.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/TPropSaveMain.h"
#include "components/output/rDBSourceDlgForm.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "resources/PrintTexts.h"

TrDBPrintDirectPreviewForm::TrDBPrintDirectPreviewForm(TComponent* AOwner) : TrDBDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rDBPrintDirectPreviewForm"));
    SetCaption(prntxt::PreviewCaption);
    SetBorderIcons(biSystemMenu | biMaximize);
    SetClientWidth(635);
    SetClientHeight(456);
    Constraints.MinWidth = 500;
    Constraints.MinHeight = 494;
    BuildControls();
    rDlgPropSave->SetPropSaveFile(GetGlobal_PropSaveFile());
    rDlgPropSave->PropSaveEvents = pseFormShowHide;
    rDlgPropSave->OnReadProperties = [this](TPropSaveFile* F, const QString& Key) {
        FZoomRestored = F->ValueExists(Key, QStringLiteral("Zoom"));
        Img->SetZoom(F->ReadInteger(Key, QStringLiteral("Zoom"), Img->Zoom()));
    };
    rDlgPropSave->OnSaveProperties = [this](TPropSaveFile* F, const QString& Key) {
        F->WriteInteger(Key, QStringLiteral("Zoom"), Img->Zoom());
    };
    OnShow = [this](TComponent*) {
        FormShow(this);
        // without a zoom of an earlier preview the page fits the window as laid out now
        if (!FZoomRestored) {
            Realign();
            Img->Fit();
        }
    };
    FormCreate(this);
}

void TrDBPrintDirectPreviewForm::BuildControls()
{
    pnBottom = PutControl<TPanel>(this, this, "pnBottom", 0, 416, 635, 40);
    pnBottom->SetAlign(alBottom);
    pnBottom->SetCaption(QString());
    Img = new TrImageZoom(this);
    Img->SetName(QStringLiteral("Img"));
    Img->SetParent(this);
    Img->SetAlign(alClient);
    Img->SetScrollBar(true);
    Img->ReadOnly = true;
    Img->ShowEditor = ieNone;
    Img->DragAndMove = true;
    Img->SetShowPopupMenu(false);
    // the navigation and zoom buttons show pictures, their hints say what they do
    Glyphs = new TImageList(this);
    Glyphs->SetSize(16, 16);
    for (const char* name : {"PREVFIT16", "PREVZOOMIN16", "PREVZOOMOUT16", "PREVPRIOR16", "PREVNEXT16"}) {
        TBitmap b;
        b.LoadFromResourceName(QLatin1String(name));
        Glyphs->Add(&b);
    }
    auto image = [this](TButton* B, int Index) {
        B->Images = Glyphs;
        B->ImageIndex = Index;
        B->ImageMarginLeft = std::max(0, (B->Width() - 16) / 2 - 3);
        B->SetCaption(QString());
    };
    btFit = PutControl<TButton>(pnBottom, this, "btFit", 8, 8, 40, 25, QString());
    image(btFit, 0);
    btFit->SetHint(prntxt::ZoomToWindow);
    btFit->OnClick = [this](TComponent*) { Img->Fit(); };
    btZoomIn = PutControl<TButton>(pnBottom, this, "btZoomIn", 52, 8, 32, 25, QString());
    image(btZoomIn, 1);
    btZoomIn->SetHint(prntxt::ZoomIn);
    btZoomIn->OnClick = [this](TComponent*) { Img->ZoomIn(25, true); };
    btZoomOut = PutControl<TButton>(pnBottom, this, "btZoomOut", 88, 8, 32, 25, QString());
    image(btZoomOut, 2);
    btZoomOut->SetHint(prntxt::ZoomOut);
    btZoomOut->OnClick = [this](TComponent*) { Img->ZoomOut(25, true); };
    PutControl<TLabel>(pnBottom, this, "lPageT", 136, 13, 36, 16, prntxt::Page);
    ePage = PutControl<TrEditNum>(pnBottom, this, "ePage", 174, 9, 50, 23);
    ePage->MinValue = 1;
    ePage->StepValue = 1;
    ePage->OnChange = [this](TComponent*) { ePageChange(); };
    lPage = PutControl<TLabel>(pnBottom, this, "lPage", 230, 13, 50, 16);
    btPrev = PutControl<TButton>(pnBottom, this, "btPrev", 284, 8, 32, 25, QString());
    image(btPrev, 3);
    btPrev->SetHint(prntxt::PreviousPage);
    btPrev->OnClick = [this](TComponent*) { btPrevClick(); };
    btNext = PutControl<TButton>(pnBottom, this, "btNext", 320, 8, 32, 25, QString());
    image(btNext, 4);
    btNext->SetHint(prntxt::NextPage);
    btNext->OnClick = [this](TComponent*) { btNextClick(); };
    btPrint = PutControl<TButton>(pnBottom, this, "btPrint", 447, 8, 88, 25, prntxt::Print);
    btPrint->SetModalResult(mrOk);
    btPrint->SetAnchors(akRight | akBottom);
    btCancel = PutControl<TButton>(pnBottom, this, "btCancel", 541, 8, 88, 25, prntxt::Close);
    btCancel->SetHint(prntxt::CloseForm);
    btCancel->SetCancel(true);
    btCancel->SetModalResult(mrCancel);
    btCancel->SetAnchors(akRight | akBottom);
}

int TrDBPrintDirectPreviewForm::PageCount() const
{
    return BmpList ? int(BmpList->size()) : 0;
}

void TrDBPrintDirectPreviewForm::SetBmpList(const TPageList* List)
{
    BmpList = List;
    lPage->SetCaption(QStringLiteral("/ %1").arg(PageCount()));
    ePage->MaxValue = std::max(1, PageCount());
    ShowBmp(0);
    Img->Fit();
    IsLoaded = true;
}

void TrDBPrintDirectPreviewForm::ShowBmp(int Idx)
{
    if (Idx < 0 || Idx > PageCount() - 1)
        return;
    Img->Picture()->AssignBitmap((*BmpList)[size_t(Idx)].get());
    Img->Invalidate();
    aIdx = Idx;
    const bool loaded = IsLoaded;
    IsLoaded = false;  // the page number shown is not a request for a page
    ePage->SetAsInteger(Idx + 1);
    IsLoaded = loaded;
    btPrev->SetEnabled(aIdx > 0);
    btNext->SetEnabled(aIdx < PageCount() - 1);
}

void TrDBPrintDirectPreviewForm::ePageChange()
{
    if (!IsLoaded)
        return;
    double v = 0;
    if (TrEditNum::ReadNumber(ePage->Text(), v))
        ShowBmp(int(v) - 1);
}
