// Fonts, brushes, bitmaps and pictures.
#include "platform/ui/Graphics.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cmath>

// ---- font substitution ------------------------------------------------------------

namespace {

struct FontSubstitute {
    const char* WindowsName;
    const char* Installed;
};

// The Windows faces the windows and the library name, and the installed faces
// that stand in for them (Debian's fonts-liberation2 and fonts-dejavu-core).
// Liberation Sans and Mono are metric-compatible with Arial and Courier New;
// Tahoma and Segoe UI are closest to Liberation Sans in width, Verdana to DejaVu Sans.
constexpr FontSubstitute Substitutes[] = {
    {"Tahoma", "Liberation Sans"},
    {"Segoe UI", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Calibri", "Liberation Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Consolas", "Liberation Mono"},
    {"Lucida Console", "Liberation Mono"},
    {"Marlett", "DejaVu Sans"},
};

int GPixelsPerInch = 96;

}  // namespace

QString SubstituteFontName(const QString& Name)
{
    for (const FontSubstitute& s : Substitutes)
        if (Name.compare(QLatin1String(s.WindowsName), Qt::CaseInsensitive) == 0)
            return QLatin1String(s.Installed);
    if (Name.startsWith(QLatin1String("Liberation"), Qt::CaseInsensitive) ||
        Name.startsWith(QLatin1String("DejaVu"), Qt::CaseInsensitive))
        return Name;
    return QStringLiteral("Liberation Sans");
}

int ScreenPixelsPerInch()
{
    return GPixelsPerInch;
}

void SetScreenPixelsPerInch(int Value)
{
    GPixelsPerInch = Value > 0 ? Value : 96;
}

// ---- TFont ------------------------------------------------------------------------

TFont::TFont() = default;
TFont::TFont(const TFont& Other)
{
    Assign(Other);
}
TFont::~TFont() = default;

void TFont::Assign(const TFont& S)
{
    FName = S.FName;
    FHeight = S.FHeight;
    FStyle = S.FStyle;
    FColor = S.FColor;
    FCharset = S.FCharset;
    FOrientation = S.FOrientation;
    FPitch = S.FPitch;
    FQuality = S.FQuality;
    PixelsPerInch = S.PixelsPerInch;
    Changed();
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::SetName(const QString& V)
{
    if (FName != V) {
        FName = V;
        Changed();
    }
}

void TFont::SetHeight(int V)
{
    if (FHeight != V) {
        FHeight = V;
        Changed();
    }
}

int TFont::Size() const
{
    const int ppi = PixelsPerInch > 0 ? PixelsPerInch : ScreenPixelsPerInch();
    return -MulDiv(FHeight, 72, ppi);
}

void TFont::SetSize(int V)
{
    const int ppi = PixelsPerInch > 0 ? PixelsPerInch : ScreenPixelsPerInch();
    SetHeight(-MulDiv(V, ppi, 72));
}

void TFont::SetStyle(TFontStyles V)
{
    if (FStyle != V) {
        FStyle = V;
        Changed();
    }
}

void TFont::SetColor(TColor V)
{
    if (FColor != V) {
        FColor = V;
        Changed();
    }
}

void TFont::SetCharset(int V)
{
    FCharset = V;
    Changed();
}

void TFont::SetOrientation(int V)
{
    if (FOrientation != V) {
        FOrientation = V;
        Changed();
    }
}

void TFont::SetPitch(TFontPitch V)
{
    FPitch = V;
    Changed();
}

void TFont::SetQuality(TFontQuality V)
{
    FQuality = V;
    Changed();
}

bool TFont::operator==(const TFont& O) const
{
    return FName == O.FName && FHeight == O.FHeight && FStyle == O.FStyle && FColor == O.FColor &&
           FOrientation == O.FOrientation && FCharset == O.FCharset;
}

QFont TFont::ToQFont() const
{
    QFont f(SubstituteFontName(FName));
    // a negative height is the em size; a positive one the whole cell,
    // of which the em is about four fifths in the substitute faces
    int px = FHeight < 0 ? -FHeight : (FHeight == 0 ? 11 : std::max(1, int(std::lround(FHeight * 0.86))));
    f.setPixelSize(std::max(1, px));
    f.setBold(FStyle & fsBold);
    f.setItalic(FStyle & fsItalic);
    f.setUnderline(FStyle & fsUnderline);
    f.setStrikeOut(FStyle & fsStrikeOut);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    QFont::StyleStrategy strategy = QFont::StyleStrategy(QFont::NoSubpixelAntialias);
    if (FQuality == fqNonAntialiased)
        strategy = QFont::StyleStrategy(strategy | QFont::NoAntialias);
    f.setStyleStrategy(strategy);
    if (FPitch == fpFixed)
        f.setFixedPitch(true);
    return f;
}

// ---- TBrush -----------------------------------------------------------------------

TBrush::TBrush() = default;
TBrush::TBrush(const TBrush& O)
{
    Assign(O);
}
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor V)
{
    FColor = V;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* Value)
{
    FBitmap.reset(Value ? new TBitmap(*Value) : nullptr);
    Changed();
}

void TBrush::Assign(const TBrush& S)
{
    FColor = S.FColor;
    FStyle = S.FStyle;
    FBitmap.reset(S.FBitmap ? new TBitmap(*S.FBitmap) : nullptr);
    Changed();
}

// ---- TBitmap ----------------------------------------------------------------------

namespace {

// The canvas of a bitmap opens its painter on first use and closes it
// whenever the picture itself is read or changed.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* Owner) : FOwner(Owner) {}
    ~TBitmapCanvas() override { Close(); }
    void RequireSurface() const override
    {
        if (FPainterOwned || FOwner->Image().isNull())
            return;
        auto* self = const_cast<TBitmapCanvas*>(this);
        self->FPainterOwned = std::make_unique<QPainter>(&FOwner->Image());
        self->BeginPaint(self->FPainterOwned.get(), Rect(0, 0, FOwner->Width(), FOwner->Height()));
    }
    void Close()
    {
        if (FPainterOwned) {
            EndPaint();
            FPainterOwned->end();
            FPainterOwned.reset();
        }
    }

private:
    TBitmap* FOwner;
    std::unique_ptr<QPainter> FPainterOwned;
};

QImage::Format FormatFor(TAlphaFormat A)
{
    return A == afIgnored ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int AWidth, int AHeight) : TBitmap()
{
    SetSize(AWidth, AHeight);
}

TBitmap::TBitmap(const TBitmap& Other) : TBitmap()
{
    Assign(&Other);
}

TBitmap::~TBitmap()
{
    FCanvas.reset();
}

void TBitmap::EndPainting() const
{
    if (FCanvas)
        static_cast<TBitmapCanvas*>(FCanvas.get())->Close();
}

void TBitmap::Assign(const TBitmap* Source)
{
    if (Source == this)
        return;
    EndPainting();
    if (!Source) {
        Clear();
        return;
    }
    Source->EndPainting();
    *FImage = *Source->FImage;
    FPixelFormat = Source->FPixelFormat;
    FAlphaFormat = Source->FAlphaFormat;
    FTransparent = Source->FTransparent;
    FTransparentMode = Source->FTransparentMode;
    FTransparentColor = Source->FTransparentColor;
    Changed();
}

int TBitmap::Width() const
{
    return FImage->width();
}

int TBitmap::Height() const
{
    return FImage->height();
}

void TBitmap::SetWidth(int Value)
{
    SetSize(Value, Height());
}

void TBitmap::SetHeight(int Value)
{
    SetSize(Width(), Value);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height())
        return;
    EndPainting();
    QImage next(AWidth, AHeight, FImage->isNull() ? FormatFor(FAlphaFormat) : FImage->format());
    // new pixels are white, the old picture keeps its place in the top-left corner
    next.fill(FAlphaFormat == afIgnored ? QColor(Qt::white) : QColor(Qt::transparent));
    if (!FImage->isNull() && AWidth > 0 && AHeight > 0) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *FImage);
    }
    *FImage = next;
    Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value)
{
    if (FAlphaFormat == Value)
        return;
    EndPainting();
    FAlphaFormat = Value;
    if (!FImage->isNull())
        *FImage = FImage->convertToFormat(FormatFor(Value));
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage->isNull())
        return clDefault;
    EndPainting();
    return FromQColor(QColor::fromRgb(FImage->pixel(0, FImage->height() - 1)));
}

void TBitmap::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed();
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

TColor TBitmap::Pixel(int X, int Y) const
{
    EndPainting();
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height())
        return clNone;
    return FromQColor(QColor::fromRgb(FImage->pixel(X, Y)));
}

void TBitmap::SetPixel(int X, int Y, TColor Color)
{
    EndPainting();
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height())
        return;
    FImage->setPixel(X, Y, ToQColor(Color).rgb());
}

uint32_t* TBitmap::ScanLine(int Row)
{
    EndPainting();
    return reinterpret_cast<uint32_t*>(FImage->scanLine(Row));
}

QImage& TBitmap::Image()
{
    EndPainting();
    return *FImage;
}

const QImage& TBitmap::Image() const
{
    EndPainting();
    return *FImage;
}

void TBitmap::Clear()
{
    EndPainting();
    *FImage = QImage();
    Changed();
}

void TBitmap::LoadFromData(const QByteArray& Data)
{
    EndPainting();
    QImage img;
    if (!img.loadFromData(Data))
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    FAlphaFormat = img.hasAlphaChannel() ? afDefined : afIgnored;
    *FImage = img.convertToFormat(FormatFor(FAlphaFormat));
    Changed();
}

void TBitmap::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Cannot open file \"%1\".").arg(FileName));
    LoadFromData(f.readAll());
}

bool TBitmap::LoadFromResourceName(const QString& Name)
{
    QFile f(QStringLiteral(":/glyphs/%1.png").arg(Name));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    LoadFromData(f.readAll());
    return true;
}

QByteArray TBitmap::SaveToData(const char* Format) const
{
    EndPainting();
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    FImage->save(&buf, Format);
    return data;
}

void TBitmap::SaveToFile(const QString& FileName) const
{
    EndPainting();
    const QString ext = QFileInfo(FileName).suffix().toLower();
    const char* fmt = ext == QLatin1String("png") ? "PNG" : ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") ? "JPG" : "BMP";
    if (!FImage->save(FileName, fmt))
        throw EInvalidGraphic(QStringLiteral("Cannot create file \"%1\".").arg(FileName));
}

void TBitmap::Mask(TColor Transparent)
{
    EndPainting();
    const QRgb key = ToQColor(Transparent).rgb() & 0xFFFFFF;
    QImage img = FImage->convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    FAlphaFormat = afDefined;
    *FImage = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) const
{
    ACanvas->RequireSurface();
    QPainter* p = ACanvas->Painter();
    if (!p || FImage->isNull())
        return;
    EndPainting();
    const QRect target(R.Left, R.Top, R.Width(), R.Height());
    if (FTransparent) {
        // leave out every pixel of the transparent colour
        const QRgb key = ToQColor(TransparentColor()).rgb() & 0xFFFFFF;
        QImage img = FImage->convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] & 0xFFFFFF) == key)
                    line[x] = 0;
        }
        p->drawImage(target, img);
    } else {
        p->drawImage(target, *FImage);
    }
}

// ---- TPicture ---------------------------------------------------------------------

TPicture::TPicture() : FBitmap(std::make_unique<TBitmap>()) {}
TPicture::~TPicture() = default;

TBitmap* TPicture::Bitmap()
{
    FFormat = QStringLiteral("BMP");
    return FBitmap.get();
}

int TPicture::Width() const
{
    return FBitmap->Width();
}

int TPicture::Height() const
{
    return FBitmap->Height();
}

bool TPicture::Empty() const
{
    return FBitmap->Empty();
}

void TPicture::Assign(const TPicture* Source)
{
    if (!Source) {
        Clear();
        return;
    }
    FBitmap->Assign(Source->FBitmap.get());
    FFormat = Source->FFormat;
    if (OnChange)
        OnChange();
}

void TPicture::AssignBitmap(const TBitmap* Source)
{
    FBitmap->Assign(Source);
    FFormat = QStringLiteral("BMP");
    if (OnChange)
        OnChange();
}

void TPicture::LoadFromData(const QByteArray& Data)
{
    QBuffer buf;
    buf.setData(Data);
    buf.open(QIODevice::ReadOnly);
    FFormat = QString::fromLatin1(QImageReader::imageFormat(&buf)).toUpper();
    if (OnProgress)
        OnProgress(psStarting, 0, false, TRect{}, QString());
    FBitmap->LoadFromData(Data);
    if (OnProgress)
        OnProgress(psEnding, 100, true, Rect(0, 0, FBitmap->Width(), FBitmap->Height()), QString());
    if (OnChange)
        OnChange();
}

void TPicture::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Cannot open file \"%1\".").arg(FileName));
    LoadFromData(f.readAll());
}

void TPicture::SaveToFile(const QString& FileName) const
{
    FBitmap->SaveToFile(FileName);
}

void TPicture::Clear()
{
    FBitmap->Clear();
    FFormat.clear();
    if (OnChange)
        OnChange();
}
