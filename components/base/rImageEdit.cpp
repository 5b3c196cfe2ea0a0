#include "components/base/rImageEdit.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "resources/ImprovedTexts.h"

#include <cmath>

TRect TrImageEditForm::LastPos;

void ChangeBrightContr(const TBitmap* Source, TBitmap* Target, int ShiftR, int Contrast, int ShiftB, int ShiftG)
{
    const TCursor previous = WCursor();
    Target->Assign(Source);
    try {
        const double factor = std::exp(Contrast / 50.0);
        auto channel = [factor](int v, int shift) {
            return uint32_t(std::clamp(int(std::nearbyint(factor * (v + shift - 127) + 127)), 0, 255));
        };
        for (int y = 0; y < Target->Height(); ++y) {
            uint32_t* row = Target->ScanLine(y);
            for (int x = 0; x < Target->Width(); ++x) {
                const uint32_t p = row[x];
                row[x] = (p & 0xFF000000u) | channel(p & 0xFF, ShiftB) | (channel((p >> 8) & 0xFF, ShiftG) << 8)
                         | (channel((p >> 16) & 0xFF, ShiftR) << 16);
            }
        }
    } catch (const std::exception& e) {
        DlgE(imptxt::BadPictureFormat + QLatin1Char(' ') + ExceptionMessage(e));
        Target->Assign(Source);
    }
    ChCursor(previous);
}

TrImageEditForm::TrImageEditForm(TComponent* AOwner) : TrDlgBaseForm(AOwner)
{
    SetName(QStringLiteral("rImageEditForm"));
    SetCaption(imptxt::PictureEditing);
    SetBorderStyle(bsSizeable);
    SetClientWidth(616);
    SetClientHeight(425);
    Constraints.MinWidth = 632;
    Constraints.MinHeight = 320;
    pBottom->SetHeight(103);
    Img = new TrImageZoom(this);
    Img->SetParent(this);
    Img->SetAlign(alClient);
    Img->SetScrollBar(true);
    Img->SetBackgroundColor(clBtnFace);
    Img->SetBorderColor(clNone);
    Img->ShowEditor = ieNone;  // no nested editor from the view's menu
    // left part: zoom buttons, page buttons and the restore link
    auto* left = new TPanel(this);
    left->SetParent(pBottom);
    left->SetBevelOuter(bvNone);
    left->SetAlign(alLeft);
    left->SetWidth(265);
    Label6 = new TLabel(this);
    Label6->SetParent(left);
    Label6->SetBounds(8, 6, 60, 15);
    Label6->SetCaption(imptxt::ZoomLabel);
    auto button = [this](TWinControl* Parent, const QString& Caption, int X, int Y, int W, TCustomImageList* Images, int Image) {
        auto* b = new TrButton(this);
        b->SetParent(Parent);
        b->SetBounds(X, Y, W, 23);
        b->SetCaption(Caption);
        b->ImageIndex = Image;
        b->ImageMarginLeft = 4;
        b->SetImages(Images);
        return b;
    };
    btZoomIn = button(left, imptxt::MenuZoomIn, 8, 22, 100, ImgZoomEna, 1);
    btZoomOut = button(left, imptxt::MenuZoomOut, 8, 47, 100, ImgZoomEna, 2);
    btZoomFit = button(left, imptxt::FitToWindow, 8, 72, 100, ImgZoomEna, 0);
    auto pageButton = [this, left](const QString& Caption, int Y) {
        auto* b = new TSpeedButton(this);
        b->SetParent(left);
        b->SetBounds(116, Y, 145, 23);
        b->SetCaption(Caption);
        b->SetGroupIndex(1);
        return b;
    };
    bt1 = pageButton(imptxt::BrightnessContrast, 22);
    bt2 = pageButton(imptxt::ColorBalance, 47);
    btReload = new TLabel(this);
    btReload->SetParent(left);
    btReload->SetBounds(120, 78, 140, 15);
    btReload->SetCaption(imptxt::RestoreOriginal);
    btReload->Font()->SetColor(clHotLight);
    btReload->Font()->SetStyle(fsUnderline);
    btReload->SetCursor(crHandPoint);
    // middle part: the two pages of track bars
    pcEdit = new TPageControl(this);
    pcEdit->SetParent(pBottom);
    pcEdit->SetAlign(alLeft);
    pcEdit->SetWidth(240);
    auto page = [this](const QString& Caption) {
        auto* t = new TTabSheet(this);
        t->SetPageControl(pcEdit);
        t->SetCaption(Caption);
        t->SetTabVisible(false);
        return t;
    };
    ts1 = page(imptxt::BrightnessContrast);
    ts2 = page(imptxt::ColorBalance);
    trBrAll = AddTrack(ts1, imptxt::Brightness, 4, -220, 220, 20, 10);
    trContr = AddTrack(ts1, imptxt::Contrast, 50, -100, 100, 10, 5);
    trBrR = AddTrack(ts2, QStringLiteral("R:"), 2, -255, 255, 20, 15);
    trBrG = AddTrack(ts2, QStringLiteral("G:"), 34, -255, 255, 20, 15);
    trBrB = AddTrack(ts2, QStringLiteral("B:"), 66, -255, 255, 20, 15);
    ShowPage(1);
    // right part
    // right part: the buttons stacked, as the bottom panel has room for one column
    pBottomRight->SetWidth(111);
    btOk->SetBounds(8, 8, 97, 25);
    btCancel->SetBounds(8, 38, 97, 25);
    btClose = button(pBottomRight, imptxt::Close, 8, 70, 97, ImgDlgEna, 2);
    btClose->SetCancel(true);
    btClose->SetModalResult(mrAbort);
    // form menu
    pmImg = new TPopupMenu(this);
    auto item = [this](const QString& Caption, const char* Keys, TNotifyEvent Click) {
        pmImg->Items()->Add(CreateMenuItem(this, Caption, Keys ? TextToShortCut(QLatin1String(Keys)) : scNone, 0, Click));
    };
    TNotifyEvent zoomIn = [this](TComponent*) { Img->ZoomIn(25, true); };
    TNotifyEvent zoomOut = [this](TComponent*) { Img->ZoomOut(25, true); };
    TNotifyEvent fit = [this](TComponent*) { Img->Fit(); };
    TNotifyEvent reload = [this](TComponent*) {
        ReloadBmp();
        Img->SetZoom(100);
    };
    item(imptxt::MenuZoomIn, "Ctrl+I", zoomIn);
    item(imptxt::MenuZoomOut, "Ctrl+O", zoomOut);
    item(imptxt::FitToWindow, "Ctrl+F", fit);
    item(QStringLiteral("-"), nullptr, nullptr);
    item(imptxt::RestoreOriginal, "Ctrl+Q", reload);
    SetPopupMenu(pmImg);
    btZoomIn->OnClick = zoomIn;
    btZoomOut->OnClick = zoomOut;
    btZoomFit->OnClick = fit;
    btReload->OnClick = reload;
    bt1->OnClick = [this](TComponent*) { ShowPage(1); };
    bt2->OnClick = [this](TComponent*) { ShowPage(2); };
    btClose->OnClick = [this](TComponent*) { Close(); };
    // showing fits the picture to the window as it is then
    OnShow = [this, base = OnShow](TComponent* Sender) {
        if (base)
            base(Sender);
        Img->Fit();
    };
}

TrImageEditForm::~TrImageEditForm()
{
    LastPos = BoundsRect();
}

TTrackBar* TrImageEditForm::AddTrack(TWinControl* Parent, const QString& Caption, int Top, int Min, int Max, int Page, int Tick)
{
    auto* label = new TLabel(this);
    label->SetParent(Parent);
    label->SetBounds(4, Top + 6, 70, 15);
    label->SetCaption(Caption);
    auto* t = new TTrackBar(this);
    t->SetParent(Parent);
    t->SetBounds(Caption.size() > 3 ? 74 : 24, Top, Caption.size() > 3 ? 164 : 214, 30);
    t->SetRange(Min, Max);
    t->PageSize = Page;
    t->SetFrequency(Tick);
    t->OnChange = [this](TComponent* Sender) { TrackBarChange(Sender); };
    return t;
}

void TrImageEditForm::ShowPage(int Page)
{
    pcEdit->SetActivePage(Page == 1 ? ts1 : ts2);
    (Page == 1 ? bt1 : bt2)->SetDown(true);
}

void TrImageEditForm::ReloadBmp()
{
    Img->Picture()->AssignBitmap(&OrigBmp);
    Changing = true;
    for (TTrackBar* t : {trBrAll, trContr, trBrR, trBrG, trBrB})
        t->SetPosition(0);
    Changing = false;
}

void TrImageEditForm::TrackBarChange(TComponent* Sender)
{
    if (Changing)
        return;
    if (Sender == trBrAll) {
        Changing = true;
        trBrR->SetPosition(trBrAll->Position());
        trBrG->SetPosition(trBrAll->Position());
        trBrB->SetPosition(trBrAll->Position());
    }
    TBitmap edited;
    ChangeBrightContr(&OrigBmp, &edited, trBrR->Position(), trContr->Position(), trBrB->Position(), trBrG->Position());
    Img->Picture()->AssignBitmap(&edited);
    Changing = false;
}

bool ShowImageEdit(TBitmap* Bitmap, TPicture* Picture, TComponent* PropSaveFile, bool Editable, bool Modal)
{
    auto* form = new TrImageEditForm(GetActiveOwner());
    form->SetPropSaveFile(PropSaveFile);
    if (TrImageEditForm::LastPos.Right > 0 && TrImageEditForm::LastPos.Bottom > 0) {
        form->SetPosition(poDesigned);
        form->SetBoundsRect(TrImageEditForm::LastPos);
    }
    if (Bitmap)
        form->OrigBmp.Assign(Bitmap);
    else if (Picture)
        GetBitmapFromPicture(&form->OrigBmp, Picture);
    form->OrigBmp.SetPixelFormat(pf24bit);
    form->ReloadBmp();
    form->Img->Fit();
    const bool edit = Modal && Editable;
    form->btOk->SetVisible(edit);
    form->btCancel->SetVisible(edit);
    form->btClose->SetVisible(!edit);
    if (!Modal) {
        // the window frees itself once closed, after the base form's own closing
        form->OnClose = [base = form->OnClose](TComponent* Sender, TCloseAction& Action) {
            if (base)
                base(Sender, Action);
            Action = caFree;
        };
        form->Show();
        return false;
    }
    std::unique_ptr<TrImageEditForm> owned(form);
    if (form->ShowModal() != mrOk)
        return false;
    try {
        TBitmap edited;
        GetBitmapFromPicture(&edited, form->Img->Picture());
        if (Bitmap)
            Bitmap->Assign(&edited);
        else if (Picture)
            Picture->AssignBitmap(&edited);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
