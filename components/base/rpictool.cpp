#include "components/base/rpictool.h"

#include "platform/ui/PictureCodec.h"

#include <algorithm>

#include "components/base/rDialogsEx.h"
#include "components/base/rdlg.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "resources/ImprovedTexts.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <memory>

namespace {

// Halves go to the even neighbour, as everywhere in the drawing code.
int RoundEven(double V)
{
    return int(std::nearbyint(V));
}

const TColorDef ColorTable[ColorsDefCount] = {
    {0x000000, QStringLiteral("Black"), QStringLiteral("Black")},
    {0x000080, QStringLiteral("Maroon"), QStringLiteral("Maroon")},
    {0x008000, QStringLiteral("Green"), QStringLiteral("Green")},
    {0x008080, QStringLiteral("Olive"), QStringLiteral("Olive")},
    {0x800000, QStringLiteral("Navy"), QStringLiteral("Navy")},
    {0x800080, QStringLiteral("Purple"), QStringLiteral("Purple")},
    {0x808000, QStringLiteral("Teal"), QStringLiteral("Teal")},
    {0x808080, QStringLiteral("Gray"), QStringLiteral("Gray")},
    {0xC0C0C0, QStringLiteral("Silver"), QStringLiteral("Silver")},
    {0x0000FF, QStringLiteral("Red"), QStringLiteral("Red")},
    {0x00FF00, QStringLiteral("Lime"), QStringLiteral("Lime")},
    {0x00FFFF, QStringLiteral("Yellow"), QStringLiteral("Yellow")},
    {0xFF0000, QStringLiteral("Blue"), QStringLiteral("Blue")},
    {0xFF00FF, QStringLiteral("Fuchsia"), QStringLiteral("Fuchsia")},
    {0xFFFF00, QStringLiteral("Aqua"), QStringLiteral("Aqua")},
    {0xFFFFFF, QStringLiteral("White"), QStringLiteral("White")},
    {0xC0DCC0, QStringLiteral("MoneyGreen"), QStringLiteral("Money Green")},
    {0xF0CAA6, QStringLiteral("SkyBlue"), QStringLiteral("Sky Blue")},
    {0xF0FBFF, QStringLiteral("Cream"), QStringLiteral("Cream")},
    {0xA4A0A0, QStringLiteral("MedGray"), QStringLiteral("Med Gray")},
    {clNone, QStringLiteral("Custom..."), QStringLiteral("Custom...")},
};

QString FormatS(const QString& Text, const QString& Arg)
{
    QString r = Text;
    return r.replace(QStringLiteral("%s"), Arg);
}

}  // namespace

QString GraphicTypeLabel(TrGraphicType T)
{
    return unsigned(T) < 7 ? imptxt::GraphicTypeLabels[T] : QString();
}

// ---- colour table ---------------------------------------------------------------------

const TColorDef& ColorsDefArr(int Index)
{
    return ColorTable[Index];
}

int GetColorList(TStringList* Strings, bool AddExtra, bool AddCustom, bool UseDisplayNames)
{
    Strings->Clear();
    for (int i = 0; i < ColorsDefCount; ++i) {
        if ((i >= 16 && i <= 19 && !AddExtra) || (i == 20 && !AddCustom))
            continue;
        Strings->AddObject(UseDisplayNames ? ColorTable[i].DisplayName : ColorTable[i].Name,
                           reinterpret_cast<void*>(intptr_t(i)));
    }
    return Strings->Count();
}

TColor GetColorValue(int Index)
{
    return Index >= 0 && Index < ColorsDefCount ? ColorTable[Index].Value : clNone;
}

QString GetColorName(int Index, bool UseDisplayName)
{
    if (Index < 0 || Index >= ColorsDefCount)
        return QString();
    return UseDisplayName ? ColorTable[Index].DisplayName : ColorTable[Index].Name;
}

int GetColorIdx(TColor Color)
{
    for (int i = 0; i < ColorsDefCount; ++i)
        if (ColorTable[i].Value == Color)
            return i;
    return -1;
}

int GetColorIdx(const QString& Name)
{
    for (int i = 0; i < ColorsDefCount; ++i)
        if (ColorTable[i].Name.compare(Name, Qt::CaseInsensitive) == 0
            || ColorTable[i].DisplayName.compare(Name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString ColorToString(TColor Color, bool UseDisplayName)
{
    const int i = GetColorIdx(Color);
    if (i >= 0)
        return GetColorName(i, UseDisplayName);
    return QStringLiteral("$") + QStringLiteral("%1").arg(uint32_t(ColorToRGB(Color)), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& Text)
{
    const int i = GetColorIdx(Text);
    if (i >= 0)
        return ColorTable[i].Value;
    const QString t = Text.trimmed();
    bool ok = false;
    const qlonglong v = t.startsWith(QLatin1Char('$')) ? t.mid(1).toLongLong(&ok, 16) : t.toLongLong(&ok, 10);
    return ok ? TColor(v) : clNone;
}

bool IsSameColor(TColor Color1, TColor Color2, int Similarity)
{
    const TColor a = ColorToRGB(Color1), b = ColorToRGB(Color2);
    const int64_t dr = GetRValue(a) - GetRValue(b), dg = GetGValue(a) - GetGValue(b), db = GetBValue(a) - GetBValue(b);
    // distance in percent of the largest, sqrt(195075), compared in squares to stay exact
    const int64_t limit = 100 - Similarity;
    return limit > 0 && (dr * dr + dg * dg + db * db) * 10000 < limit * limit * 195075;
}

void FontGetRotated(TFont* Font, int Angle)
{
    Font->SetOrientation(Angle);
}

// ---- reading order --------------------------------------------------------------------

void BiDi_ModifyRect(TCanvas* Canvas, TRect& Rect)
{
    if (Canvas && Canvas->CanvasOrientation() == coRightToLeft)
        std::swap(Rect.Left, Rect.Right);
}

namespace {

// The frame drawers take a rectangle whose edges are in order, whichever way
// the surface counts.
TRect Ordered(TRect R)
{
    if (R.Left > R.Right)
        std::swap(R.Left, R.Right);
    return R;
}

}  // namespace

void BiDi_FrameRect(TCanvas* Canvas, const TRect& Rect, TColor Color)
{
    TRect r = Rect;
    BiDi_ModifyRect(Canvas, r);
    if (Color != clNone)
        Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(Ordered(r));
}

void BiDi_DrawFocusRect(TCanvas* Canvas, const TRect& Rect)
{
    TRect r = Rect;
    BiDi_ModifyRect(Canvas, r);
    Canvas->DrawFocusRect(Ordered(r));
}

// ---- gradients and geometry -------------------------------------------------------------

void DrawGradient(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor, bool Vertical, int)
{
    Canvas->GradientFill(Rect, StartColor, EndColor, Vertical ? gdVertical : gdHorizontal);
}

void DrawGradientH(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor)
{
    DrawGradient(Canvas, Rect, StartColor, EndColor, false, 100);
}

void MakeSquare(TRect& Rect)
{
    if (Rect.Height() < Rect.Width()) {
        Rect.Left += (Rect.Width() - Rect.Height()) / 2;
        Rect.Right = Rect.Left + Rect.Height();
    }
    if (Rect.Width() < Rect.Height()) {
        Rect.Top += (Rect.Height() - Rect.Width()) / 2;
        Rect.Bottom = Rect.Top + Rect.Width();
    }
}

void AnimateResize(TControl* Control, const TRect& TargetRect)
{
    const TRect s = Control->BoundsRect();
    for (int i = 1; i <= 10; ++i) {
        auto edge = [i](int a, int b) { return RoundEven(a + (b - a) / 10.0 * i); };
        Control->SetBoundsRect(Rect(edge(s.Left, TargetRect.Left), edge(s.Top, TargetRect.Top),
                                    edge(s.Right, TargetRect.Right), edge(s.Bottom, TargetRect.Bottom)));
        Control->Update();
        Sleep(10);
    }
}

// ---- cell graphics ----------------------------------------------------------------------

double DrawDataBar(TCanvas* Canvas, TRect Rect, TColor BarColor, double Value, double MinValue, double MaxValue,
                   TColor EndColor)
{
    if (BarColor == clNone)
        BarColor = clSkyBlue;
    if (EndColor == clNone)
        EndColor = clWhite;
    if (MaxValue < MinValue)
        MaxValue = MinValue;
    Value = std::clamp(Value, MinValue, MaxValue);
    const double fraction = MinValue == MaxValue ? 0 : (Value - MinValue) / (MaxValue - MinValue);
    if (fraction > 0) {
        Rect.Inflate(-1, -1);
        Rect.Right = Rect.Left + RoundEven(Rect.Width() * fraction);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(BarColor);
        if (BarColor == EndColor)
            Canvas->FillRect(Rect);
        else {
            DrawGradientH(Canvas, Rect, BarColor, EndColor);
            BiDi_FrameRect(Canvas, Rect, BarColor);
        }
    }
    return fraction;
}

void DrawStatusBar(TCanvas* Canvas, TRect Rect, int Position, int Count, int Style, TColor EmptyColor, TColor FillColor)
{
    Position = std::clamp(Position, 0, std::max(Count, 0));
    if (EmptyColor == clNone)
        EmptyColor = clSilver;
    if (FillColor == clNone)
        FillColor = clTeal;
    Rect.Inflate(-1, -1);
    const int W = Rect.Width(), H = Rect.Height();
    TBrush* brush = Canvas->Brush();
    brush->SetStyle(bsSolid);
    if (Count > 0) {
        Canvas->Pen()->SetColor(EmptyColor);
        if (Style == sbtProgressBar) {
            const int split = Rect.Left + RoundEven(double(W) * Position / Count);
            brush->SetColor(FillColor);
            Canvas->FillRect(::Rect(Rect.Left, Rect.Top, split, Rect.Bottom));
            brush->SetColor(EmptyColor);
            Canvas->FillRect(::Rect(split, Rect.Top, Rect.Right, Rect.Bottom));
            Canvas->FrameRect(Rect);
        } else if (Style == sbtPie) {
            TRect sq = Rect;
            MakeSquare(sq);
            if (Position < Count) {
                brush->SetColor(EmptyColor);
                Canvas->Ellipse(sq);
            }
            brush->SetColor(FillColor);
            if (Position == Count)
                Canvas->Ellipse(sq);
            else if (Position > 0) {
                const double r = sq.Width() / 2.0;
                const int cx = sq.Left + sq.Width() / 2, cy = sq.Top + sq.Height() / 2;
                const double a = 2 * M_PI * Position / Count - M_PI / 2;
                // The pie runs clockwise on screen: from the end point back to 12 o'clock.
                Canvas->Pie(sq.Left, sq.Top, sq.Right, sq.Bottom, cx + RoundEven(r * std::cos(a)),
                            cy + RoundEven(r * std::sin(a)), cx, sq.Top);
            }
        } else {
            const TRect inner = Rect;
            for (int i = 1; i <= Count; ++i) {
                brush->SetColor(i <= Position ? FillColor : EmptyColor);
                TRect s = inner;
                s.Inflate(-1, -1);
                s.Left = inner.Left + (W / Count) * (i - 1) + 1;
                s.Right = inner.Left + (W / Count) * i - 2;
                switch (Style) {
                case sbtDots:
                    Canvas->FillRect(s);
                    break;
                case sbtCircles:
                    s.Right = inner.Left + (W / Count) * i - 1;
                    MakeSquare(s);
                    Canvas->Ellipse(s);
                    break;
                case sbtEllipses:
                    Canvas->Ellipse(s);
                    break;
                case sbtSignalStrength:
                    s.Left = inner.Left + (W - 3 * Count) / 2 + 3 * (i - 1);
                    s.Right = s.Left + 2;
                    s.Bottom = inner.Bottom;
                    s.Top = s.Bottom - H * i / Count;
                    Canvas->FillRect(s);
                    break;
                default:
                    break;
                }
            }
        }
    }
    brush->SetStyle(bsClear);
}

// ---- bitmaps and pictures ----------------------------------------------------------------

void GetBitmapFromPicture(TBitmap* Bitmap, const TPicture* Picture)
{
    Bitmap->Assign(Picture->Graphic());
}

void ConvertBmpToIco(const TBitmap* Bitmap, TIcon* Icon, int Size)
{
    if (!Icon || Size <= 0)
        return;
    TBitmap square(Size, Size);
    square.Canvas()->Brush()->SetColor(clBtnFace);
    square.Canvas()->FillRect(Rect(0, 0, Size, Size));
    if (Bitmap && !Bitmap->Empty())
        DrawBmpCenter(square.Canvas(), Rect(0, 0, Size, Size), Bitmap);
    // the mask is the transparent colour: the bottom-left pixel, the button face
    const TColor face = square.Pixel(0, Size - 1);
    Icon->Assign(&square);
    Icon->Mask(face);
}

void DrawBmpCenter(TCanvas* Canvas, const TRect& Rect, const TBitmap* Bitmap, bool Stretch)
{
    if (!Bitmap || Bitmap->Width() == 0 || Rect.Width() < 3 || Rect.Height() < 3)
        return;
    if (Stretch) {
        Canvas->StretchDraw(Rect, Bitmap);
        return;
    }
    const int w = std::min(Bitmap->Width(), Rect.Width()), h = std::min(Bitmap->Height(), Rect.Height());
    const int x = std::max(Rect.Left + (Rect.Width() - Bitmap->Width()) / 2, Rect.Left);
    const int y = std::max(Rect.Top + (Rect.Height() - Bitmap->Height()) / 2, Rect.Top);
    const int sx = std::max((Bitmap->Width() - w) / 2, 0), sy = std::max((Bitmap->Height() - h) / 2, 0);
    if (w == Bitmap->Width() && h == Bitmap->Height()) {
        Canvas->Draw(x, y, Bitmap);
        return;
    }
    // A bitmap larger than the rectangle shows its centre: draw it shifted, clipped to the drawn part.
    const int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(Bounds(x, y, w, h));
    Canvas->Draw(x - sx, y - sy, Bitmap);
    Canvas->RestoreDC(saved);
}

void DrawBmpAlign(TCanvas* Canvas, TRect Rect, const TBitmap* Bitmap, int Margin, TAlignment Alignment)
{
    if (Bitmap->Width() < Rect.Width() - 2 * Margin) {
        if (Alignment == taLeftJustify)
            Rect.Right = Rect.Left + Bitmap->Width() + 2 * Margin;
        else if (Alignment == taRightJustify)
            Rect.Left = Rect.Right - Bitmap->Width() - 2 * Margin;
    }
    DrawBmpCenter(Canvas, Rect, Bitmap);
}

void DrawPictureCenter(TCanvas* Canvas, const TRect& Rect, const TPicture* Picture, bool Transparent, bool Stretch)
{
    if (!Picture || Picture->Width() == 0)
        return;
    TBitmap bmp;
    GetBitmapFromPicture(&bmp, Picture);
    bmp.SetTransparent(Transparent);
    DrawBmpCenter(Canvas, Rect, &bmp, Stretch);
}

void DrawBmpTiles(TCanvas* Canvas, const TRect& Rect, const TBitmap* Bitmap)
{
    if (!Bitmap || Bitmap->Width() == 0 || Bitmap->Height() == 0)
        return;
    const int cols = Rect.Width() / Bitmap->Width() + 1, rows = Rect.Height() / Bitmap->Height() + 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            Canvas->Draw(Rect.Left + c * Bitmap->Width(), Rect.Top + r * Bitmap->Height(), Bitmap);
}

void DrawPictureTiles(TCanvas* Canvas, const TRect& Rect, const TPicture* Picture, bool Transparent)
{
    if (!Picture || Picture->Width() == 0)
        return;
    TBitmap bmp;
    GetBitmapFromPicture(&bmp, Picture);
    bmp.SetTransparent(Transparent);
    DrawBmpTiles(Canvas, Rect, &bmp);
}

void SmoothResizeBitmap(TBitmap* Bitmap, int Width, int Height, bool Enlarge)
{
    const int ow = Bitmap->Width(), oh = Bitmap->Height();
    if (ow == 0 || oh == 0)
        return;
    int nw = ow;
    if (Width > 0 && (Enlarge || Width < ow))
        nw = Width;
    int nh = MulDiv(nw, oh, ow);
    if (Height > 0 && (Height < nh || (Width == 0 && Enlarge))) {
        nh = Height;
        nw = MulDiv(Height, ow, oh);
    }
    if (nw == ow)
        return;
    TBitmap target(nw, nh);
    SmoothResizeToBitmap(Bitmap, &target);
    Bitmap->Assign(&target);
}

void SmoothResizeToBitmap(TBitmap* Source, TBitmap* Target)
{
    Source->SetPixelFormat(pf24bit);
    Target->SetPixelFormat(pf24bit);
    const int sw = Source->Width(), sh = Source->Height(), tw = Target->Width(), th = Target->Height();
    if (sw == tw && sh == th) {
        Target->Assign(Source);
        return;
    }
    if (sw == 0 || sh == 0 || tw == 0 || th == 0)
        return;
    const int stepX = MulDiv(sw - 1, 65536, tw), stepY = MulDiv(sh - 1, 65536, th);
    for (int y = 0; y < th; ++y) {
        const int py = y * stepY, r0 = py >> 16, fy = py & 0xFFFF;
        const int r1 = r0 >= sh - 1 ? r0 : r0 + 1;
        const uint32_t* s0 = Source->ScanLine(r0);
        const uint32_t* s1 = Source->ScanLine(r1);
        uint32_t* t = Target->ScanLine(y);
        for (int x = 0; x < tw; ++x) {
            const int px = x * stepX, c0 = px >> 16, fx = px & 0xFFFF;
            const int c1 = std::min(c0 + 1, sw - 1);
            const int64_t w11 = MulDiv(fx, fy + 1, 65536), w01 = MulDiv(fx, 65536 - fy, 65536);
            const int64_t w00 = 65536 - fy - w01, w10 = fy + 1 - w11;
            // alpha is interpolated like the colours, so a mask survives (opaque stays opaque)
            uint32_t out = 0;
            for (int shift = 0; shift <= 24; shift += 8) {
                auto ch = [shift](uint32_t p) { return int64_t((p >> shift) & 0xFF); };
                const int64_t v = (w00 * ch(s0[c0]) + w01 * ch(s0[c1]) + w10 * ch(s1[c0]) + w11 * ch(s1[c1])) >> 16;
                out |= uint32_t(std::clamp<int64_t>(v, 0, 255)) << shift;
            }
            t[x] = out;
        }
    }
}

void SmoothResizePicture(TPicture* Picture, int Width, int Height, bool Enlarge)
{
    TBitmap bmp;
    GetBitmapFromPicture(&bmp, Picture);
    bmp.SetTransparent(true);
    SmoothResizeBitmap(&bmp, Width, Height, Enlarge);
    Picture->AssignBitmap(&bmp);
}

void RotateToBitmap(const TBitmap* Source, TBitmap* Target, double Degrees)
{
    const double a = Degrees * M_PI / 180, s = std::sin(a), c = std::cos(a);
    const int W = Source->Width(), H = Source->Height();
    const TPoint corners[3] = {{W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
    int minX = 0, minY = 0, maxX = INT32_MIN, maxY = INT32_MIN;
    for (const TPoint& p : corners) {
        const int x = RoundEven(c * p.X - s * p.Y), y = RoundEven(s * p.X + c * p.Y);
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    const int tw = maxX - minX + 1, th = maxY - minY + 1;
    TBitmap out(tw, th);
    for (int row = 0; row < th; ++row) {
        uint32_t* t = out.ScanLine(row);
        for (int col = 0; col < tw; ++col) {
            const int sx = RoundEven(c * (minX + col) + s * (minY + row));
            const int sy = RoundEven(c * (minY + row) - s * (minX + col));
            t[col] = sx >= 0 && sx < W && sy >= 0 && sy < H ? const_cast<TBitmap*>(Source)->ScanLine(sy)[sx] : 0xFFFFFFFFu;
        }
    }
    Target->Assign(&out);
}

void RotateBitmap(TBitmap* Bitmap, double Degrees)
{
    TBitmap copy(*Bitmap);
    RotateToBitmap(&copy, Bitmap, Degrees);
}

void RotatePicture(TPicture* Picture, double Degrees)
{
    if (Picture->Width() == 0)
        return;
    TBitmap bmp;
    GetBitmapFromPicture(&bmp, Picture);
    RotateBitmap(&bmp, Degrees);
    Picture->AssignBitmap(&bmp);
}

void BitmapChangeColor(const TBitmap* Source, TBitmap* Target, TColor NewColor, TColor OldColor)
{
    Target->Assign(Source);
    if (ColorToRGB(NewColor) == clWhite)
        NewColor = 0xDCDCDC;
    const TColor oldRgb = ColorToRGB(OldColor);
    for (int y = 0; y < Target->Height(); ++y)
        for (int x = 0; x < Target->Width(); ++x)
            if (Target->Pixel(x, y) == oldRgb)
                Target->SetPixel(x, y, NewColor);
}

// ---- picture storage ----------------------------------------------------------------------

TrGraphicType GetFileTypeFromFileName(const QString& FileName)
{
    const QString ext = QFileInfo(FileName).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return gtBMP;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return gtJPG;
    if (ext == QLatin1String("png"))
        return gtPNG;
    if (ext == QLatin1String("emf"))
        return gtEMF;
    return gtOther;
}

QString GetFileTypeExtension(TrGraphicType GraphicType)
{
    switch (GraphicType) {
    case gtBMP:
        return QStringLiteral(".bmp");
    case gtJPG:
        return QStringLiteral(".jpg");
    case gtPNG:
        return QStringLiteral(".png");
    case gtEMF:
        return QStringLiteral(".emf");
    default:
        return QString();
    }
}

QString GetFileTypeFilterList(bool AllFormatsFirst)
{
    const QString list = imptxt::FilterBitmaps + QLatin1Char('|') + imptxt::FilterJpeg + QLatin1Char('|') + imptxt::FilterPng;
    return AllFormatsFirst ? imptxt::FilterAllGraphics + QLatin1Char('|') + list : list;
}

namespace {

// The picture's format as the codec read it: the kinds we store.
TrGraphicType TypeOfFormat(const QString& Format)
{
    if (Format == QLatin1String("BMP"))
        return gtBMP;
    if (Format == QLatin1String("JPEG") || Format == QLatin1String("JPG"))
        return gtJPG;
    if (Format == QLatin1String("PNG"))
        return gtPNG;
    return gtOther;
}

// Bytes as the stored kind wants them: JPEG with its quality, PNG, else BMP.
QByteArray EncodePicture(const TPicture* Picture, TrGraphicType GraphicType, int JpegQuality)
{
    const TBitmap* bmp = Picture->Graphic();
    if (!bmp || bmp->Empty())
        return QByteArray();
    if (GraphicType == gtJPG) {
        TBitmap copy(*bmp);
        copy.SetPixelFormat(pf24bit);
        return EncodeBitmapData(&copy, "JPG", std::clamp(JpegQuality, 0, 100));
    }
    if (GraphicType == gtPNG)
        return bmp->SaveToData("PNG");
    return bmp->SaveToData("BMP");
}

}  // namespace

TrGraphicType ReadPictureFromBytes(const QByteArray& Data, TPicture* Picture)
{
    if (Data.isEmpty())
        return gtNoPicture;
    // A metafile is recognised by its header only to be refused: no codec reads one here.
    if (Data.size() >= 44 && Data.mid(40, 4) == QByteArray(" EMF", 4))
        return gtError;
    try {
        TPicture p;
        p.LoadFromData(Data);
        const TrGraphicType t = TypeOfFormat(p.Format());
        if (t == gtOther)
            return gtError;
        Picture->Assign(&p);
        return t;
    } catch (const std::exception&) {
        return gtError;
    }
}

TrGraphicType SavePictureToStream_Int(const TPicture* Picture, QByteArray& Stream, TrGraphicType GraphicType, int JpegQuality)
{
    try {
        if (GraphicType == gtNoPicture)
            GraphicType = gtBMP;
        if (GraphicType == gtError || GraphicType > gtOther)
            throw EInvalidGraphic(imptxt::BadPictureFormat);
        const TrGraphicType written = GraphicType == gtEMF || GraphicType == gtOther ? gtBMP : GraphicType;
        Stream = EncodePicture(Picture, written, JpegQuality);
        return GraphicType;
    } catch (const std::exception& e) {
        ShowErr(QString(), e, false);
        return gtNoPicture;
    }
}

TrGraphicType SavePictureToStream(const TPicture* Picture, QByteArray& Stream, TrGraphicType GraphicType)
{
    return SavePictureToStream_Int(Picture, Stream, GraphicType, 100);
}

TrGraphicType SavePictureToFile(const TPicture* Picture, const QString& FileName, TrGraphicType GraphicType)
{
    ParioCompConfig.rDBToolCfg.rpictool_LastFileName = FileName;
    QByteArray data;
    const TrGraphicType t = SavePictureToStream(Picture, data, GraphicType);
    if (t == gtNoPicture)
        return t;
    QFile f(FileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        ShowErr(QString(), EInvalidGraphic(FormatS(imptxt::CannotOpenFile, FileName)), false);
        return gtNoPicture;
    }
    return t;
}

TrGraphicType LoadPictureFromFile(TPicture* Picture, const QString& FileName, bool ShowError)
{
    if (!QFileInfo::exists(FileName))
        return gtError;
    const TrGraphicType byName = GetFileTypeFromFileName(FileName);
    try {
        QFile f(FileName);
        if (!f.open(QIODevice::ReadOnly))
            throw EInvalidGraphic(FormatS(imptxt::CannotOpenFile, FileName));
        const QByteArray data = f.readAll();
        TPicture p;
        if (byName == gtEMF)
            throw EInvalidGraphic(imptxt::BadPictureFormat);
        try {
            p.LoadFromData(data);
        } catch (const std::exception&) {
            throw EInvalidGraphic(imptxt::BadPictureFormat);
        }
        Picture->Assign(&p);
        ParioCompConfig.rDBToolCfg.rpictool_LastFileName = FileName;
        return byName;
    } catch (const std::exception& e) {
        if (ShowError)
            ShowErr(QString(), e, false);
        return gtError;
    }
}

TrGraphicType OpenDlg_PictureFromFile(TPicture* Picture, const QString& InitialDir, TrGraphicType GraphicType)
{
    TrOpenDialog dlg(Application);
    if (!InitialDir.isEmpty())
        dlg.InitialDir = InitialDir;
    dlg.DefaultExt = GetFileTypeExtension(GraphicType).mid(1);
    dlg.Filter = GetFileTypeFilterList(true);
    dlg.FilterIndex = 0;
    if (!dlg.Execute())
        return gtNoPicture;
    QString name = dlg.FileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += GetFileTypeExtension(GraphicType);
    return LoadPictureFromFile(Picture, name, true);
}

TrGraphicType SaveDlg_PictureToFile(const TPicture* Picture, const QString& InitialDir, TrGraphicType GraphicType)
{
    TrSaveDialog dlg(Application);
    dlg.Options |= ofOverwritePrompt;
    dlg.InitialDir = InitialDir;
    dlg.DefaultExt = GetFileTypeExtension(GraphicType).mid(1);
    dlg.Filter = GetFileTypeFilterList(false);
    dlg.FilterIndex = int(GraphicType) - 1;
    if (!dlg.Execute())
        return gtNoPicture;
    QString name = dlg.FileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += GetFileTypeExtension(GraphicType);
    return SavePictureToFile(Picture, name, GetFileTypeFromFileName(name));
}
