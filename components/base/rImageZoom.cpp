#include "components/base/rImageZoom.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "platform/ui/ControlScrollBars.h"
#include "platform/ui/Clipbrd.h"
#include "resources/ImprovedTexts.h"

#include <cmath>

namespace {

int RoundEven(double V)
{
    return int(std::nearbyint(V));
}

}  // namespace

TrImageZoom::TrImageZoom(TComponent* AOwner) : TCustomControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FWidth = 105;
    FHeight = 105;
    SetCursor(crDefault);
    FPicture->OnChange = [this] { PictureChanged(); };
    FPicture->OnProgress = [this](TProgressStage Stage, int PercentDone, bool RedrawNow, const TRect& R, const QString& Msg) {
        Progress(this, Stage, PercentDone, RedrawNow, R, Msg);
    };
    FPopupMenu = new TPopupMenu(this);
    FPopupMenu->SetName(Name() + QStringLiteral("_ImagePopup"));
    struct Entry {
        int Tag;
        const QString* Caption;
    };
    const QString line = QStringLiteral("-"), empty;
    const Entry entries[] = {
        {32, &empty},
        {21, &imptxt::MenuChangeResolution},
        {22, &imptxt::MenuEditInNewWindow},
        {0, &line},
        {11, &imptxt::MenuZoomToWindow},
        {12, &imptxt::MenuZoomIn},
        {13, &imptxt::MenuZoomOut},
        {0, &line},
        {31, &imptxt::MenuStoreInJpg},
        {1, &imptxt::MenuCut},
        {2, &imptxt::MenuCopy},
        {3, &imptxt::MenuPaste},
        {0, &line},
        {5, &imptxt::MenuSaveToFile},
        {4, &imptxt::MenuLoadFromFile},
    };
    for (const Entry& e : entries) {
        TMenuItem* item = CreateMenuItem(FPopupMenu, *e.Caption, e.Tag, [this](TComponent* s) { PopupClick(s); });
        if (e.Tag == 31)
            item->SetAutoCheck(true);
        FPopupMenu->Items()->Add(item);
    }
    FPopupMenu->OnPopup = [this](TComponent*) { OnPopupMenu(); };
    SetPopupMenu(FPopupMenu);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrImageZoom::~TrImageZoom()
{
    FPicture->OnChange = nullptr;
    FPicture->OnProgress = nullptr;
}

// ---- zoom ---------------------------------------------------------------------------------------

int TrImageZoom::GetPictureWidth() const
{
    return FRotateType == rt090 || FRotateType == rt270 ? FPicture->Height() : FPicture->Width();
}

int TrImageZoom::GetPictureHeight() const
{
    return FRotateType == rt090 || FRotateType == rt270 ? FPicture->Width() : FPicture->Height();
}

void TrImageZoom::SetZoom(int Value)
{
    if (Value <= 0 || Value == FZoom)
        return;
    FZoom = Value;
    SetInternalZoom();
}

void TrImageZoom::SetInternalZoom()
{
    // 1.
    const int W = GetPictureWidth(), H = GetPictureHeight();
    FInternalZoom = FZoom;
    // 2.
    if (FLockOriginalZoom)
        FInternalZoom = 100;
    // 3.
    else if (W * double(FZoom) / 100 > 1 && H * double(FZoom) / 100 > 1) {
        const double zw = W * double(FZoom) / 100, zh = H * double(FZoom) / 100;
        if ((FReduceToFit && (zw > FWidth || zh > FHeight)) || (FEnlargeToFit && zw < FWidth && zh < FHeight))
            FInternalZoom = std::min(FWidth * 100.0 / W, FHeight * 100.0 / H);
    }
    // 4.
    UpdateScrollBar();
    ZoomChanged();
}

void TrImageZoom::ZoomChanged()
{
    if (OnChangeZoom)
        OnChangeZoom(this);
}

void TrImageZoom::ZoomIn(int Percent, bool Center)
{
    SetZoom(int(std::ceil((100 + Percent) * FInternalZoom / 100)));
    if (Center)
        MoveToCenter();
}

void TrImageZoom::ZoomOut(int Percent, bool Center)
{
    SetZoom(int(std::floor((100 - Percent) * FInternalZoom / 100)));
    if (Center)
        MoveToCenter();
}

void TrImageZoom::Fit()
{
    FZoomOffset = {0, 0};
    const int W = GetPictureWidth(), H = GetPictureHeight();
    if (W > 0 && H > 0)
        SetZoom(std::min(FWidth * 100 / W, FHeight * 100 / H));
}

void TrImageZoom::MoveToCenter()
{
    const TScaleInfo si = ScaleInfo();
    SetZoomOffset({std::max((GetPictureWidth() - si.SourceSize.cx) / 2, 0),
                   std::max((GetPictureHeight() - si.SourceSize.cy) / 2, 0)});
}

void TrImageZoom::SetZoomOffset(const TPoint& Value)
{
    if (Value == FZoomOffset)
        return;
    FZoomOffset = Value;
    UpdateScrollBar();
}

#define ZOOM_SETTER(Setter, Field)  \
    void TrImageZoom::Setter(bool V) \
    {                                \
        Field = V;                   \
        SetInternalZoom();           \
    }
ZOOM_SETTER(SetLockOriginalZoom, FLockOriginalZoom)
ZOOM_SETTER(SetEnlargeToFit, FEnlargeToFit)
ZOOM_SETTER(SetReduceToFit, FReduceToFit)
ZOOM_SETTER(SetStretch, FStretch)
#undef ZOOM_SETTER

void TrImageZoom::SetAutoFit(bool V)
{
    FEnlargeToFit = V;
    FReduceToFit = V;
    SetInternalZoom();
}

void TrImageZoom::SetRotateType(TRotateType V)
{
    FRotateType = V;
    SetInternalZoom();
}

void TrImageZoom::SetScrollBar(bool V)
{
    FScrollBar = V;
    UpdateScrollBar();
}

void TrImageZoom::SetBorderColor(TColor V)
{
    FBorderColor = V;
    Invalidate();
}

void TrImageZoom::SetBackgroundColor(TColor V)
{
    FBackgroundColor = V;
    if (V != clNone)
        SetParentColor(false);
    Invalidate();
}

void TrImageZoom::SetBackgroundText(const QString& V)
{
    FBackgroundText = V;
    Invalidate();
}

void TrImageZoom::SetShowBackgroundText(bool V)
{
    FShowBackgroundText = V;
    Invalidate();
}

void TrImageZoom::SetTransparent(bool V)
{
    FTransparentPicture = V;
    PictureChanged();
}

void TrImageZoom::SetShowPopupMenu(bool V)
{
    FShowPopupMenu = V;
    SetPopupMenu(V ? FPopupMenu : nullptr);
}

void TrImageZoom::PictureChanged()
{
    SetInternalZoom();
}

void TrImageZoom::Progress(TComponent* Sender, TProgressStage Stage, int PercentDone, bool RedrawNow, const TRect& R, const QString& Msg)
{
    if (FIncrementalDisplay && RedrawNow)
        Repaint();
    if (OnProgress)
        OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TrImageZoom::Resize()
{
    if (FBars)
        FBars->Place();
    SetInternalZoom();
    TCustomControl::Resize();
}

void TrImageZoom::Loaded()
{
    TCustomControl::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

// ---- scale information -------------------------------------------------------------------------

TrImageZoom::TScaleInfo TrImageZoom::ScaleInfo() const
{
    TScaleInfo si;
    const int W = GetPictureWidth(), H = GetPictureHeight();
    // 1.
    si.DestSize = {RoundEven(W * FInternalZoom / 100), RoundEven(H * FInternalZoom / 100)};
    si.SourceOffset = FZoomOffset;
    const int cw = ClientWidth(), ch = ClientHeight();
    // 2.
    if ((si.DestSize.cx <= cw && si.DestSize.cy <= ch) || FStretch) {
        si.SourceOffset = {0, 0};
        si.SourceSize = {W, H};
        if (FStretch && !FPicture->Empty())
            si.DestSize = {cw, ch};
        else
            si.DestOffset = {(cw - si.DestSize.cx) / 2, (ch - si.DestSize.cy) / 2};
        return si;
    }
    // 3.
    if (cw < si.DestSize.cx)
        si.DestSize.cx = cw;
    else {
        si.SourceOffset.X = 0;
        si.DestOffset.X = (cw - si.DestSize.cx) / 2;
    }
    if (ch < si.DestSize.cy)
        si.DestSize.cy = ch;
    else {
        si.SourceOffset.Y = 0;
        si.DestOffset.Y = (ch - si.DestSize.cy) / 2;
    }
    si.SourceSize = {RoundEven(si.DestSize.cx * 100 / FInternalZoom), RoundEven(si.DestSize.cy * 100 / FInternalZoom)};
    return si;
}

void TrImageZoom::UpdateScrollBar()
{
    const int W = GetPictureWidth(), H = GetPictureHeight();
    // The bars come when the picture does not fit the whole control; the
    // picture then fits or not in the smaller client they leave.
    const bool fitsWhole = (RoundEven(W * FInternalZoom / 100) <= Width() && RoundEven(H * FInternalZoom / 100) <= Height()) || FStretch;
    FTypeScrollBar = !fitsWhole && FScrollBar ? tsBoth : tsNone;
    const TScaleInfo si = ScaleInfo();
    const int cw = ClientWidth(), ch = ClientHeight();
    // the zoomed size before the clipping to the client decides whether there is anything to drag
    const int zw = RoundEven(W * FInternalZoom / 100), zh = RoundEven(H * FInternalZoom / 100);
    FCanDrag = !((zw <= cw && zh <= ch) || FStretch);
    // the offset stays within the picture
    TPoint o = si.SourceOffset;
    o.X = std::max(o.X, 0);
    o.Y = std::max(o.Y, 0);
    if (W - si.SourceSize.cx > 0 && W - si.SourceSize.cx < o.X)
        o.X = W - si.SourceSize.cx;
    if (H - si.SourceSize.cy > 0 && H - si.SourceSize.cy < o.Y)
        o.Y = H - si.SourceSize.cy;
    FZoomOffset = o;
    if (HandleAllocated() && !FDrawing)
        ShowScrollBars();
    if (!FDrawing)
        Invalidate();
}

int TrImageZoom::XSrc2Pict(int X) const
{
    const TScaleInfo si = ScaleInfo();
    return MulDiv(X, si.SourceSize.cx, si.DestSize.cx) + si.SourceOffset.X;
}

int TrImageZoom::YSrc2Pict(int Y) const
{
    const TScaleInfo si = ScaleInfo();
    return MulDiv(Y, si.SourceSize.cy, si.DestSize.cy) + si.SourceOffset.Y;
}

int TrImageZoom::XPict2Src(int X) const
{
    const TScaleInfo si = ScaleInfo();
    return MulDiv(X, si.DestSize.cx, si.SourceSize.cx) - si.SourceOffset.X;
}

int TrImageZoom::YPict2Src(int Y) const
{
    const TScaleInfo si = ScaleInfo();
    return MulDiv(Y, si.DestSize.cy, si.SourceSize.cy) - si.SourceOffset.Y;
}

// ---- painting ----------------------------------------------------------------------------------

TColor TrImageZoom::BackColor() const
{
    if (ParentColor() || FBackgroundColor == clNone)
        return Parent() ? Parent()->Color() : Color();
    return FBackgroundColor;
}

void TrImageZoom::Paint()
{
    FDrawing = true;
    TCanvas* c = Canvas();
    const TColor back = BackColor();
    c->Brush()->SetColor(back);
    c->FillRect(ClientRect());
    if (!FPicture->Empty()) {
        TBitmap bmp;
        GetBitmapFromPicture(&bmp, FPicture.get());
        if (FRotateType != rt0)
            RotateBitmap(&bmp, FRotateType == rt090 ? 90 : FRotateType == rt180 ? 180 : 270);
        const TScaleInfo si = ScaleInfo();
        TBitmap part(si.SourceSize.cx, si.SourceSize.cy);
        part.Canvas()->Brush()->SetColor(back);
        part.Canvas()->FillRect(Rect(0, 0, si.SourceSize.cx, si.SourceSize.cy));
        bmp.SetTransparent(FTransparentPicture);
        part.Canvas()->Draw(-si.SourceOffset.X, -si.SourceOffset.Y, &bmp);
        c->StretchDraw(Bounds(si.DestOffset.X, si.DestOffset.Y, si.DestSize.cx, si.DestSize.cy), &part);
    }
    TRect r = ClientRect();
    if (FBorderColor != clNone) {
        c->Brush()->SetColor(FBorderColor);
        c->FrameRect(r);
        r.Inflate(-1, -1);
    }
    if (UseFocus && Focused())
        c->DrawFocusRect(r);
    if (FShowBackgroundText && !FBackgroundText.isEmpty() && FPicture->Empty()) {
        c->Font()->Assign(*Font());
        c->Brush()->SetStyle(bsClear);
        TRect t = r;
        TRect measure = r;
        c->DrawText(FBackgroundText, measure, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        t.Top += (r.Height() - measure.Height()) / 2;
        c->DrawText(FBackgroundText, t, DT_WORDBREAK | DT_CENTER);
        c->Brush()->SetStyle(bsSolid);
    }
    FDrawing = false;
    if (OnPaint)
        OnPaint(this);
}

// ---- mouse -------------------------------------------------------------------------------------

void TrImageZoom::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && UseFocus && !Focused()) {
        if (!CanFocus())
            return;
        SetFocus();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && DragAndMove) {
        FIsDragging = true;
        FDragStartPoint = {X, Y};
        FDragStartOffset = FZoomOffset;
        if (FCanDrag) {
            FCursorBeforeDrag = Cursor();
            SetCursor(DragCursor);
        }
    }
}

void TrImageZoom::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FIsDragging || !FCanDrag)
        return;
    SetZoomOffset({FDragStartOffset.X + RoundEven((FDragStartPoint.X - X) * 100 / FInternalZoom),
                   FDragStartOffset.Y + RoundEven((FDragStartPoint.Y - Y) * 100 / FInternalZoom)});
}

void TrImageZoom::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FIsDragging && FCanDrag)
        SetCursor(FCursorBeforeDrag);
    FIsDragging = false;
}

bool TrImageZoom::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (WheelDelta < 0)
        ZoomIn(5, false);
    else
        ZoomOut(5, false);
    return true;
}

// ---- menu, clipboard, files --------------------------------------------------------------------

QString TrImageZoom::PictureInfo()
{
    if (ImgGraphicType == gtNoPicture && !FPicture->Empty())
        ImgGraphicType = FPicture->Format().contains(QLatin1String("JPEG")) || FPicture->Format() == QLatin1String("JPG") ? gtJPG : gtBMP;
    if (ImgGraphicType == gtNoPicture)
        return imptxt::PictureEmpty;
    if (ImgGraphicType == gtError)
        return imptxt::PictureCorrupted;
    return GraphicTypeLabel(ImgGraphicType) + QStringLiteral(": ")
           + QStringLiteral("%1 x %2; %3: %4%").arg(FPicture->Width()).arg(FPicture->Height()).arg(imptxt::Zoom).arg(RoundEven(FInternalZoom));
}

TMenuItem* TrImageZoom::GetPopupItem(int Tag) const
{
    for (int i = 0; i < FPopupMenu->Items()->Count(); ++i)
        if (FPopupMenu->Items()->Items(i)->Tag == Tag)
            return FPopupMenu->Items()->Items(i);
    return nullptr;
}

void TrImageZoom::OnPopupMenu()
{
    if (FirstOpenMenu) {
        GetPopupItem(31)->SetChecked(SaveInJPG);
        FirstOpenMenu = false;
    }
    GetPopupItem(32)->SetCaption(PictureInfo());
    GetPopupItem(11)->SetChecked(FReduceToFit);
    const bool M = CanModify(), P = ImgGraphicType > gtError;
    GetPopupItem(1)->SetEnabled(M && P);
    GetPopupItem(2)->SetEnabled(P);
    GetPopupItem(3)->SetEnabled(M);
    GetPopupItem(4)->SetEnabled(M);
    GetPopupItem(5)->SetEnabled(P);
    GetPopupItem(12)->SetEnabled(P);
    GetPopupItem(13)->SetEnabled(P);
    GetPopupItem(21)->SetEnabled(M && P);
    GetPopupItem(22)->SetEnabled(P);
    GetPopupItem(22)->SetVisible(ShowEditor != ieNone);
}

void TrImageZoom::PopupClick(TComponent* Sender)
{
    switch (Sender->Tag) {
    case 1:
        CutImageToClipboard();
        break;
    case 2:
        CopyImageToClipboard();
        break;
    case 3:
        PasteImageFromClipboard();
        break;
    case 4:
        LoadFromFile(QString());
        break;
    case 5:
        SaveAsFile(QString());
        break;
    case 11:
        SetAutoFit(!AutoFit());
        break;
    case 12:
        ZoomIn(25, true);
        SetAutoFit(false);
        break;
    case 13:
        ZoomOut(25, true);
        SetAutoFit(false);
        break;
    case 21:
        ResizePic(0);
        break;
    case 22:
        ShowEditorWindow();
        break;
    case 31:
        SaveInJPG = static_cast<TMenuItem*>(Sender)->Checked();
        break;
    default:
        break;
    }
}

bool TrImageZoom::CutImageToClipboard()
{
    if (!CanModify())
        return false;
    Clipboard()->AssignBitmap(FPicture->Graphic());
    ImgGraphicType = gtNoPicture;
    FPicture->Clear();
    return true;
}

bool TrImageZoom::CopyImageToClipboard()
{
    try {
        Clipboard()->AssignBitmap(FPicture->Graphic());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TrImageZoom::PasteImageFromClipboard()
{
    if (!CanModify())
        return false;
    TBitmap bmp;
    if (!Clipboard()->GetBitmap(&bmp))
        return false;
    FPicture->AssignBitmap(&bmp);
    return true;
}

bool TrImageZoom::SaveAsFile(const QString& FileName)
{
    const TCursor previous = WCursor();
    TrGraphicType type = ImgGraphicType == gtNoPicture ? (SaveInJPG ? gtJPG : gtBMP) : ImgGraphicType;
    const TrGraphicType result = !FileName.isEmpty() ? SavePictureToFile(FPicture.get(), FileName, gtNoPicture)
                                                     : SaveDlg_PictureToFile(FPicture.get(), QString(), type);
    ChCursor(previous);
    if (result <= gtError)
        return false;
    ImgGraphicType = result;
    LastFileName = ParioCompConfig.rDBToolCfg.rpictool_LastFileName;
    return true;
}

bool TrImageZoom::LoadFromFile(const QString& FileName)
{
    if (!CanModify())
        return false;
    const TCursor previous = WCursor();
    const TrGraphicType type = ImgGraphicType == gtNoPicture ? (SaveInJPG ? gtJPG : gtBMP) : ImgGraphicType;
    const TrGraphicType result = !FileName.isEmpty() ? LoadPictureFromFile(FPicture.get(), FileName, true)
                                                     : OpenDlg_PictureFromFile(FPicture.get(), QString(), type);
    ChCursor(previous);
    if (result <= gtError)
        return false;
    ImgGraphicType = result;
    LastFileName = ParioCompConfig.rDBToolCfg.rpictool_LastFileName;
    Repaint();
    return true;
}

bool TrImageZoom::ResizePic(int Percent)
{
    if (!CanModify())
        return false;
    if (Percent == 0) {
        int value = 50;
        if (!InputInt(imptxt::Input, imptxt::RequestedSize, value))
            return false;
        Percent = value;
    }
    if (Percent < 1 || Percent > 500)
        return false;
    const TCursor previous = WCursor();
    TBitmap bmp;
    GetBitmapFromPicture(&bmp, FPicture.get());
    SmoothResizeBitmap(&bmp, Percent * bmp.Width() / 100, bmp.Height() * Percent / 100, true);
    FPicture->AssignBitmap(&bmp);
    ChCursor(previous);
    return true;
}

bool TrImageZoom::ShowEditorWindow()
{
    const bool modal = ShowEditor == ieShowModal || ShowEditor == ieEditModal;
    const bool editable = ShowEditor == ieEditModal && CanModify();
    const bool changed = ShowImageEdit(nullptr, FPicture.get(), nullptr, editable, modal);
    if (changed)
        PictureChanged();
    return changed;
}
