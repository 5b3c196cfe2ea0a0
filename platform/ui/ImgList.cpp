#include "platform/ui/ImgList.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QPainter>

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed();
    }
}

void TCustomImageList::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange();
    const auto links = FChangeLinks;
    for (const auto& [client, handler] : links)
        if (handler)
            handler();
}

void TCustomImageList::RegisterChanges(const void* Client, std::function<void()> Handler)
{
    UnRegisterChanges(Client);
    FChangeLinks.emplace_back(Client, std::move(Handler));
}

void TCustomImageList::UnRegisterChanges(const void* Client)
{
    std::erase_if(FChangeLinks, [Client](const auto& L) { return L.first == Client; });
}

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    if (AWidth == FWidth && AHeight == FHeight)
        return;
    FWidth = AWidth;
    FHeight = AHeight;
    FImages.clear();
    Changed();
}

int TCustomImageList::Add(const TBitmap* Image, const TBitmap* Mask)
{
    const int first = Count();
    if (!Image || Image->Empty())
        return -1;
    QImage src = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (Mask && !Mask->Empty()) {
        const QImage m = Mask->Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < std::min(src.height(), m.height()); ++y)
            for (int x = 0; x < std::min(src.width(), m.width()); ++x)
                if ((m.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    src.setPixel(x, y, 0);
    } else if (Image->Transparent()) {
        const QRgb key = ToQColor(Image->TransparentColor()).rgb() & 0xFFFFFF;
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x)
                if ((src.pixel(x, y) & 0xFFFFFF) == key)
                    src.setPixel(x, y, 0);
    }
    const int n = std::max(1, src.width() / std::max(1, FWidth));
    for (int i = 0; i < n; ++i) {
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetAlphaFormat(afDefined);
        bmp->Image() = src.copy(i * FWidth, 0, FWidth, FHeight).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        FImages.push_back(std::move(bmp));
    }
    Changed();
    return first;
}

int TCustomImageList::AddMasked(const TBitmap* Image, TColor MaskColor)
{
    TBitmap copy(*Image);
    copy.SetTransparentColor(MaskColor);
    copy.SetTransparent(true);
    return Add(&copy);
}

void TCustomImageList::Replace(int Index, const TBitmap* Image)
{
    if (Index < 0 || Index >= Count() || !Image)
        return;
    FImages[size_t(Index)]->Image() = Image->Image().scaled(FWidth, FHeight).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Changed();
}

void TCustomImageList::Delete(int Index)
{
    if (Index >= 0 && Index < Count()) {
        FImages.erase(FImages.begin() + Index);
        Changed();
    }
}

void TCustomImageList::Clear()
{
    FImages.clear();
    Changed();
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) const
{
    if (Index < 0 || Index >= Count() || !Image)
        return;
    Image->SetSize(FWidth, FHeight);
    QImage& dst = Image->Image();
    dst.fill(ToQColor(BkColor == clNone ? clBtnFace : BkColor));
    QPainter p(&dst);
    p.drawImage(0, 0, FImages[size_t(Index)]->Image());
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (Index < 0 || Index >= Count())
        return;
    if (Enabled) {
        Canvas->Draw(X, Y, FImages[size_t(Index)].get());
        return;
    }
    // disabled: grey, lighter picture
    TBitmap grey(*FImages[size_t(Index)]);
    QImage& img = grey.Image();
    img = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const int g = 128 + qGray(p) / 2;
            img.setPixel(x, y, qRgba(g, g, g, qAlpha(p) / 2));
        }
    img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Canvas->Draw(X, Y, &grey);
}

QByteArray TCustomImageList::SaveToData() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << qint32(Count()) << qint32(FWidth) << qint32(FHeight) << qint32(32);
    for (const auto& b : FImages)
        out << b->SaveToData("PNG");
    return data;
}

void TCustomImageList::LoadFromData(const QByteArray& Data)
{
    QDataStream in(Data);
    qint32 count = 0, w = 0, h = 0, depth = 0;
    in >> count >> w >> h >> depth;
    if (in.status() != QDataStream::Ok || count < 0 || w <= 0 || h <= 0)
        throw EInvalidGraphic(QStringLiteral("Invalid image list data"));
    FWidth = w;
    FHeight = h;
    FImages.clear();
    for (int i = 0; i < count; ++i) {
        QByteArray png;
        in >> png;
        auto b = std::make_unique<TBitmap>();
        b->LoadFromData(png);
        b->SetAlphaFormat(afDefined);
        FImages.push_back(std::move(b));
    }
    Changed();
}
