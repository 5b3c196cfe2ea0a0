#include "components/dbcontrols/TrDBImage.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "resources/DBControlsTexts.h"
#include "resources/ImprovedTexts.h"

#include <cmath>

namespace {

enum : int { tagConvert = 40, tagCurJpg = 41, tagAllJpg = 42, tagCurBmp = 43, tagAllBmp = 44 };

bool IsTopOrBottom(TBoundButtonsPosition P)
{
    return P == bpTopLeft || P == bpTopRight || P == bpBottomLeft || P == bpBottomRight;
}

}  // namespace

TrDBImage::TrDBImage(TComponent* AOwner)
    : TDBLabeledControl<TrImageZoom>(AOwner), FDataLink(std::make_unique<TFieldDataLink>()),
      FPictureIfEmpty(std::make_unique<TPicture>())
{
    SaveInJPG = ParioCompConfig.rDBComponentsCfg.JPGAsDefault;
    FDataLink->OnActiveChange = [this](TFieldDataLink*) { ActiveChange(); };
    FDataLink->OnDataChange = [this](TFieldDataLink*) { DataChange(); };
    FBoundButtons = new TBoundButtons(this);
    FBoundButtons->OnRefresh = [this](TComponent*) { RefBoundButtons(); };
    BuildToolBar();
    BuildMenu();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBImage::~TrDBImage()
{
    FBoundButtons->OnRefresh = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink->OnDataChange = nullptr;
    FDataLink->SetDataSource(nullptr);
}

void TrDBImage::BuildToolBar()
{
    FBoundToolBar = new TToolBar(this);
    FBoundToolBar->SetAlign(alNone);
    FBoundToolBar->Flat = true;
    // Beside the picture the buttons stand one above the other.
    FBoundToolBar->Wrapable = true;
    FBoundToolBar->FreeNotification(this);
    for (int i = 0; i < 4; ++i) {
        auto* b = new TToolButton(this);
        b->Tag = i + 1;
        if (i == 0)
            b->SetStyle(tbsCheck);
        b->SetParent(FBoundToolBar);
        static const int commands[4] = {11, 12, 13, 22};
        const int command = commands[i];
        b->OnClick = [this, command](TComponent*) {
            TComponent c(nullptr);
            c.Tag = command;
            PopupClick(&c);
        };
        b->FreeNotification(this);
        FBtnArr[size_t(i)] = b;
    }
}

void TrDBImage::BuildMenu()
{
    TPopupMenu* menu = BuiltInMenu();
    auto click = [this](TComponent* s) { PopupClick(s); };
    TMenuItem* convert = CreateMenuItem(menu, dbctltxt::ConvertMenu, tagConvert, click);
    convert->Add(CreateMenuItem(menu, dbctltxt::ConvertCurrentToJpg, tagCurJpg, click));
    convert->Add(CreateMenuItem(menu, dbctltxt::ConvertAllToJpg, tagAllJpg, click));
    convert->Add(CreateMenuItem(menu, QStringLiteral("-"), 0, nullptr));
    convert->Add(CreateMenuItem(menu, dbctltxt::ConvertCurrentToBmp, tagCurBmp, click));
    convert->Add(CreateMenuItem(menu, dbctltxt::ConvertAllToBmp, tagAllBmp, click));
    menu->Items()->Insert(3, convert);
    menu->Items()->Add(CreateMenuItem(menu, QStringLiteral("-"), 0, nullptr));
}

// ---- binding ------------------------------------------------------------------------------------

void TrDBImage::SetDataSource(TDataSource* Value)
{
    FDataLink->SetDataSource(Value);
    if (Value)
        Value->FreeNotification(this);
    DataChange();
    if (!(ComponentState() & csDesigning))
        SetVisibilityFromField(this, DataSource(), DataField());
}

void TrDBImage::SetDataField(const QString& Value)
{
    FDataLink->SetFieldName(Value);
    DataChange();
    SetDBCompName(this, FDefaultPrefix, Value);
}

void TrDBImage::SetShowConvertMenu(bool Value)
{
    if (FShowConvertMenu == Value)
        return;
    FShowConvertMenu = Value;
    GetPopupItem(tagConvert)->SetVisible(Value);
}

void TrDBImage::SetPictureIfEmpty(const TPicture* Value)
{
    FPictureIfEmpty->Assign(Value);
    DataChange();
}

void TrDBImage::ActiveChange()
{
    DataChange();
    SetVisibilityFromField(this, DataSource(), DataField());
}

void TrDBImage::DataChange()
{
    if (FDBEditLabel)
        FDBEditLabel->SetField(DataSource(), DataField());
    Picture()->Clear();
    ImgGraphicType = gtNoPicture;
    if (TField* f = Field()) {
        ImgGraphicType = ReadPictureFromField(f, Picture());
        if (ImgGraphicType == gtError) {
            SetBackgroundText(imptxt::PictureCorrupted);
        } else if (ImgGraphicType != gtNoPicture) {
            SetBackgroundText(QString());
            SetLockOriginalZoom(false);
        } else if (FPictureIfEmpty->Width() > 0) {
            SetBackgroundText(QString());
            Picture()->Assign(FPictureIfEmpty.get());
            SetLockOriginalZoom(true);
        } else {
            SetBackgroundText(imptxt::PictureEmpty);
        }
    }
    PictureChanged();
    RefBoundButtons();
}

bool TrDBImage::CanModify() const
{
    TField* f = Field();
    if (!TrImageZoom::CanModify() || !f || f->ReadOnly() || !FDataLink->CanModify())
        return false;
    TDataSource* ds = DataSource();
    return IsEditing(ds->DataSet()) || ds->AutoEdit();
}

bool TrDBImage::CanEdit()
{
    if (!CanModify())
        return false;
    try {
        return FDataLink->Edit();
    } catch (const std::exception&) {
        return false;
    }
}

// ---- writing ------------------------------------------------------------------------------------

bool TrDBImage::IntSaveToField(TrGraphicType GraphicType)
{
    if (!CanEdit())
        return false;
    const TrGraphicType kind = GraphicType != gtNoPicture ? GraphicType : (SaveInJPG ? gtJPG : gtBMP);
    ImgGraphicType = kind;
    const int w = Picture()->Width(), h = Picture()->Height();
    if (MaxImageSize < 1 || (w <= MaxImageSize && h <= MaxImageSize))
        return WritePictureToField(Field(), Picture(), kind);
    return ResizePic(std::max(1, MaxImageSize * 100 / std::max(w, h)));
}

bool TrDBImage::CutImageToClipboard()
{
    if (!CanEdit() || !TrImageZoom::CutImageToClipboard())
        return false;
    Field()->Clear();
    return true;
}

bool TrDBImage::PasteImageFromClipboard()
{
    // Over a picture no reader took, the paste is stored in the default kind:
    // there is no writer for a broken kind, and the user asked for a picture.
    const TrGraphicType kind = ImgGraphicType == gtError ? gtNoPicture : ImgGraphicType;
    if (!CanEdit() || !TrImageZoom::PasteImageFromClipboard())
        return false;
    return IntSaveToField(kind);
}

bool TrDBImage::LoadFromFile(const QString& FileName)
{
    if (!CanEdit() || !TrImageZoom::LoadFromFile(FileName))
        return false;
    return IntSaveToField(ImgGraphicType);
}

bool TrDBImage::ResizePic(int Percent)
{
    const TrGraphicType kind = ImgGraphicType;
    if (!CanEdit() || !TrImageZoom::ResizePic(Percent))
        return false;
    const int saved = MaxImageSize;
    MaxImageSize = 0;  // the scaled picture is written as it is
    const bool ok = IntSaveToField(kind);
    MaxImageSize = saved;
    return ok;
}

bool TrDBImage::ShowEditorWindow()
{
    const bool modal = ShowEditor == ieShowModal || ShowEditor == ieEditModal;
    const bool editable = ShowEditor == ieEditModal && CanEdit();
    if (!ShowImageEdit(nullptr, Picture(), nullptr, editable, modal))
        return false;
    PictureChanged();
    return IntSaveToField(ImgGraphicType);
}

// ---- menu ---------------------------------------------------------------------------------------

void TrDBImage::PopupClick(TComponent* Sender)
{
    TrImageZoom::PopupClick(Sender);
    switch (Sender->Tag) {
    case 31:
        IntSaveToField(SaveInJPG ? gtJPG : gtBMP);
        break;
    case tagCurJpg:
    case tagAllJpg:
        Convert(Sender->Tag == tagAllJpg, gtJPG);
        break;
    case tagCurBmp:
    case tagAllBmp:
        Convert(Sender->Tag == tagAllBmp, gtBMP);
        break;
    default:
        break;
    }
}

void TrDBImage::OnPopupMenu()
{
    TrImageZoom::OnPopupMenu();
    GetPopupItem(tagConvert)->SetVisible(FShowConvertMenu);
}

// ---- conversion ---------------------------------------------------------------------------------

void TrDBImage::Convert(bool AllRecords, TrGraphicType Kind)
{
    TField* f = Field();
    if (!f || f->ReadOnly() || FDataLink->ReadOnly()) {
        DlgE(dbctltxt::CannotEditRecord);
        return;
    }
    struct Restore {
        ~Restore()
        {
            ShowInfo(QString(), nullptr);
            NCursor();
        }
    } restore;
    TDataSet* ds = FDataLink->DataSet();
    if (!AllRecords) {
        WCursor();
        ConvertOneRec(Kind);
        return;
    }
    if (DlgQ2(dbctltxt::ConvertAllQuestion, dbctltxt::ConvertContinue) != mrYes)
        return;
    ds->First();
    Aborted = false;
    const int n = std::max(1, ds->RecordCount());
    for (int i = 0; !ds->Eof() && !Aborted; ++i) {
        ShowInfoProgressBar(dbctltxt::Converting, nullptr, [this](TComponent*) { Aborted = true; },
                            int(std::lround(i * 100.0 / n)));
        ConvertOneRec(Kind);
        ds->Next();
        Application->ProcessMessages();
    }
}

void TrDBImage::ConvertOneRec(TrGraphicType Kind)
{
    if (ImgGraphicType == Kind || ImgGraphicType == gtNoPicture || ImgGraphicType == gtError)
        return;
    TDataSet* ds = FDataLink->DataSet();
    const bool startedEdit = ds->State() != dsEdit && ds->State() != dsInsert;
    if (startedEdit)
        ds->Edit();
    IntSaveToField(Kind);
    if (startedEdit)
        ds->Post();
}

// ---- bound tool bar -----------------------------------------------------------------------------

void TrDBImage::RefBoundButtons()
{
    if (!FBoundToolBar || !FBoundToolBar->Parent())
        return;
    for (TToolButton* b : FBtnArr)
        if (!b)
            return;
    const bool glyphs = FBoundButtons->ShowGlyphs() && FBoundButtons->Images();
    FBoundToolBar->SetVisible(FBoundButtons->Visible() && Visible());
    FBoundToolBar->SetTransparent(FBoundButtons->Transparent());
    FBoundToolBar->Flat = FBoundButtons->Flat();
    FBoundToolBar->SetShowHint(ShowHint());
    FBoundToolBar->DoubleBuffered = false;
    FBoundToolBar->Images = glyphs ? FBoundButtons->Images() : nullptr;
    FBoundToolBar->SetShowCaptions(!glyphs);
    const int size = FBoundButtons->Size();
    FBoundToolBar->SetButtonWidth(size);
    FBoundToolBar->SetButtonHeight(size);
    const QString hints[4] = {imptxt::MenuZoomToWindow, imptxt::MenuZoomIn, imptxt::MenuZoomOut, imptxt::MenuEditInNewWindow};
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        TToolButton* b = FBtnArr[size_t(i)];
        if (glyphs)
            b->SetImageIndex(i);
        else
            b->SetCaption(FindStrPart(FBoundButtons->Captions(), QStringLiteral(";"), i + 1, false));
        b->SetHint(hints[i]);
        b->SetEnabled(!LockOriginalZoom());
        b->SetVisible(i < 3 || ShowEditor != ieNone);
        if (b->Visible())
            ++count;
    }
    FBtnArr[0]->SetDown(ReduceToFit());
    // Placed at the computed size first; then the bar may fit itself to
    // its buttons again.
    FBoundToolBar->SetAutoSize(false);
    if (!FBoundButtons->Visible()) {
        FBoundToolBar->SetBounds(Left() + 1, Top() + 1, 10, 10);
        return;
    }
    const TBoundButtonsPosition pos = FBoundButtons->Position();
    const int bw = IsTopOrBottom(pos) ? count * size + 1 : size + 1;
    const int bh = IsTopOrBottom(pos) ? size + 1 : count * size + 1;
    int x = Left(), y = Top();
    switch (pos) {
    case bpTopLeft: y -= bh; break;
    case bpTopRight: x += Width() - bw; y -= bh; break;
    case bpBottomLeft: y += Height(); break;
    case bpBottomRight: x += Width() - bw; y += Height(); break;
    case bpLeftTop: x -= bw; break;
    case bpLeftBottom: x -= bw; y += Height() - bh; break;
    case bpRightTop: x += Width(); break;
    case bpRightBottom: x += Width(); y += Height() - bh; break;
    }
    FBoundToolBar->SetBounds(x + 1, y + 1, bw, bh);
    FBoundToolBar->SetAutoSize(true);
}

void TrDBImage::ZoomChanged()
{
    if (FBtnArr[0])
        FBtnArr[0]->SetDown(ReduceToFit());
    TrImageZoom::ZoomChanged();
}

// ---- companions ---------------------------------------------------------------------------------

void TrDBImage::Loaded()
{
    TDBLabeledControl<TrImageZoom>::Loaded();
    SetDataSource(DataSource());
    // A see-through bar needs themes to look right.
    if (!GetThemeEnabled())
        FBoundButtons->SetTransparent(false);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBImage::Notification(TComponent* AComponent, TOperation Operation)
{
    TDBLabeledControl<TrImageZoom>::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (FDataLink && AComponent == FDataLink->DataSource())
        FDataLink->SetDataSource(nullptr);
    if (AComponent == FBoundToolBar)
        FBoundToolBar = nullptr;
    for (TToolButton*& b : FBtnArr)
        if (AComponent == b)
            b = nullptr;
}

void TrDBImage::SetParent(TWinControl* AParent)
{
    TDBLabeledControl<TrImageZoom>::SetParent(AParent);
    if (FBoundToolBar)
        FBoundToolBar->SetParent(AParent);
    RefBoundButtons();
}

void TrDBImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TDBLabeledControl<TrImageZoom>::SetBounds(ALeft, ATop, AWidth, AHeight);
    RefBoundButtons();
}

void TrDBImage::VisibleChanged()
{
    TDBLabeledControl<TrImageZoom>::VisibleChanged();
    RefBoundButtons();
}

void TrDBImage::EnabledChanged()
{
    TDBLabeledControl<TrImageZoom>::EnabledChanged();
    for (TToolButton* b : FBtnArr)
        if (b)
            b->SetEnabled(Enabled() && !LockOriginalZoom());
}
