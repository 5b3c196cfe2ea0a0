#include "components/output/rRepPicture.h"

#include "components/base/rtool.h"
#include "components/output/TBarcodeGen.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

namespace {

QString OptionValue(const QString& Option)
{
    QString v = Option.mid(Option.indexOf(QLatin1Char('=')) + 1);
    const int eq = v.indexOf(QLatin1Char('='));
    if (eq >= 0)
        v = v.left(eq);
    return UpdateToDecimalSeparator(v.trimmed());
}

int Twips(const QString& Value, double PerUnit)
{
    double v = 0;
    if (!TryStrToFloat(Value, v))
        return 0;
    return static_cast<int>(std::nearbyint(v * PerUnit));
}

double Number(const QString& Value)
{
    double v = 0;
    return TryStrToFloat(Value, v) ? v : 0;
}

int IntValue(const QString& Value, int Default)
{
    return StrToIntDef(Value, Default);
}

void Resize(TBitmap& Bitmap, int W, int H)
{
    if (W <= 0 || H <= 0 || (W == Bitmap.Width() && H == Bitmap.Height()))
        return;
    TBitmap scaled(W, H);
    scaled.Canvas()->StretchDraw(TRect(0, 0, W, H), &Bitmap);
    Bitmap.Assign(&scaled);
}

} // namespace

TRepPictureOptions ParsePictureOptions(const QString& Text)
{
    TRepPictureOptions o;
    for (const QString& raw : Text.split(QLatin1Char(';'))) {
        const QString opt = raw.trimmed();
        const QString name = opt.left(opt.indexOf(QLatin1Char('='))).trimmed().toLower();
        const QString v = OptionValue(opt);
        if (name == QLatin1String("w")) {
            o.WTwips = IntValue(v, 0) * 20;
            o.WValue = Number(v);
            o.WUnit = 'p';
        } else if (name == QLatin1String("h")) {
            o.HTwips = IntValue(v, 0) * 20;
            o.HValue = Number(v);
            o.HUnit = 'p';
        } else if (name == QLatin1String("wcm")) {
            o.WTwips = Twips(v, 567);
            o.WValue = Number(v);
            o.WUnit = 'c';
        } else if (name == QLatin1String("hcm")) {
            o.HTwips = Twips(v, 567);
            o.HValue = Number(v);
            o.HUnit = 'c';
        } else if (name == QLatin1String("winch")) {
            o.WTwips = Twips(v, 1440);
            o.WValue = Number(v);
            o.WUnit = 'i';
        } else if (name == QLatin1String("hinch")) {
            o.HTwips = Twips(v, 1440);
            o.HValue = Number(v);
            o.HUnit = 'i';
        }
        else if (name == QLatin1String("rotate"))
            o.Rotate = IntValue(v, 0);
        else if (name == QLatin1String("namefield"))
            o.NameField = opt.mid(opt.indexOf(QLatin1Char('=')) + 1).trimmed();
        else if (name == QLatin1String("quality")) {
            if (v.startsWith(QLatin1String("auto"), Qt::CaseInsensitive))
                o.QualityAuto = true;
            else
                o.Quality = std::clamp(IntValue(v, 100), 10, 100);
        } else if (name == QLatin1String("type"))
            o.Type = opt.mid(opt.indexOf(QLatin1Char('=')) + 1).trimmed();
        else if (name == QLatin1String("fontname"))
            o.FontName = opt.mid(opt.indexOf(QLatin1Char('=')) + 1).trimmed();
        else if (name == QLatin1String("fontsize"))
            o.FontSize = IntValue(v, 0);
        else {
            const QString flag = opt.toLower();
            if (flag == QLatin1String("enlarge"))
                o.Enlarge = true;
            else if (flag == QLatin1String("insertinrtf"))
                o.InsertInRtf = true;
            else if (flag == QLatin1String("saveasbmp"))
                o.SaveKind = pkBMP;
            else if (flag == QLatin1String("saveasjpg"))
                o.SaveKind = pkJPEG;
            else if (flag == QLatin1String("saveaspng"))
                o.SaveKind = pkPNG;
            else if (flag == QLatin1String("showcode"))
                o.ShowCode = true;
        }
    }
    return o;
}

long long TargetEmu(double Value, char Unit)
{
    const double perUnit = Unit == 'c' ? 360000.0 : (Unit == 'i' ? 914400.0 : 9525.0);
    return std::llround(Value * perUnit);
}

TRepPictureKind PictureKindOf(const QByteArray& Data)
{
    if (Data.isEmpty())
        return pkNone;
    if (Data.startsWith("BM"))
        return pkBMP;
    if (Data.startsWith("\xFF\xD8"))
        return pkJPEG;
    if (Data.startsWith("\x89PNG"))
        return pkPNG;
    if (Data.size() > 44 && Data.mid(40, 4) == QByteArray(" EMF"))
        return pkEMF;
    return pkOther;
}

QString PictureKindExt(int Kind)
{
    switch (Kind) {
    case pkBMP: return QStringLiteral(".bmp");
    case pkJPEG: return QStringLiteral(".jpg");
    case pkPNG: return QStringLiteral(".png");
    case pkEMF: return QStringLiteral(".emf");
    default: return QString();
    }
}

QByteArray EncodePicture(const TBitmap& Bitmap, int Kind)
{
    switch (Kind) {
    case pkJPEG: return Bitmap.SaveToData("JPG");
    case pkPNG: return Bitmap.SaveToData("PNG");
    default: return Bitmap.SaveToData("BMP");
    }
}

void FitBitmap(TBitmap& Bitmap, int BoxWidth, int BoxHeight, bool Enlarge)
{
    const int w = Bitmap.Width(), h = Bitmap.Height();
    if (w <= 0 || h <= 0 || (BoxWidth <= 0 && BoxHeight <= 0))
        return;
    double scale = 1e9;
    if (BoxWidth > 0)
        scale = std::min(scale, double(BoxWidth) / w);
    if (BoxHeight > 0)
        scale = std::min(scale, double(BoxHeight) / h);
    if (scale > 1 && !Enlarge)
        return;
    Resize(Bitmap, std::max(1, int(std::lround(w * scale))), std::max(1, int(std::lround(h * scale))));
}

void ScaleBitmap(TBitmap& Bitmap, int Percent, bool Enlarge)
{
    if (Percent == 100 || (Percent > 100 && !Enlarge))
        return;
    Resize(Bitmap, std::max(1, Bitmap.Width() * Percent / 100), std::max(1, Bitmap.Height() * Percent / 100));
}

void RotateBitmap(TBitmap& Bitmap, int Degrees)
{
    const int deg = ((Degrees % 360) + 360) % 360;
    if (deg == 0 || Bitmap.Empty())
        return;
    const double a = deg * M_PI / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const int w = Bitmap.Width(), h = Bitmap.Height();
    const int nw = int(std::lround(std::fabs(w * c) + std::fabs(h * s)));
    const int nh = int(std::lround(std::fabs(w * s) + std::fabs(h * c)));
    TBitmap out(nw, nh);
    out.Canvas()->Brush()->SetColor(clWhite);
    out.Canvas()->FillRect(TRect(0, 0, nw, nh));
    // Each target pixel takes the source pixel that turns onto it.
    for (int y = 0; y < nh; ++y) {
        uint32_t* row = out.ScanLine(y);
        for (int x = 0; x < nw; ++x) {
            const double dx = x - nw / 2.0 + 0.5, dy = y - nh / 2.0 + 0.5;
            const int sx = int(std::floor(dx * c + dy * s + w / 2.0));
            const int sy = int(std::floor(-dx * s + dy * c + h / 2.0));
            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                row[x] = Bitmap.ScanLine(sy)[sx];
        }
    }
    Bitmap.Assign(&out);
}

bool DrawBarcodeBitmap(const QString& Text, const TRepPictureOptions& Options, TBitmap& Result, QString& Failure)
{
    TBarcodeType type = bcTypeUndefined;
    if (Options.Type.compare(QLatin1String("CodeEANAuto"), Qt::CaseInsensitive) == 0) {
        const int n = Text.trimmed().size();
        if (n == 7 || n == 8)
            type = bcCodeEAN8;
        else if (n == 12 || n == 13)
            type = bcCodeEAN13;
        else {
            Failure = QStringLiteral("Invalid text length (CodeEANAuto): ") + Text;
            return false;
        }
    } else {
        type = GetBarCodeType(Options.Type);
        if (type == bcTypeUndefined) {
            Failure = Options.Type.isEmpty() ? QStringLiteral("?undefined barcode type?")
                                             : QLatin1Char('?') + Options.Type + QLatin1Char('?');
            return false;
        }
    }
    try {
        TBitmap bmp(500, 120);
        TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(TRect(0, 0, 500, 120));
        TRect r(5, 5, 490, 115);
        int modul = 2;
        TFont font;
        font.SetName(Options.FontName);
        if (Options.FontSize > 0)
            font.SetSize(Options.FontSize);
        DrawBarCode(Text, type, c, r, modul, font, Options.FontSize <= 0, Options.ShowCode, stpBottomCenter, true);
        const int w = std::min(500, r.Right + 10), h = std::min(120, r.Bottom + 10);
        TBitmap cropped(r.Right + 10, r.Bottom + 10);
        cropped.Canvas()->Brush()->SetColor(clWhite);
        cropped.Canvas()->FillRect(TRect(0, 0, cropped.Width(), cropped.Height()));
        cropped.Canvas()->CopyRect(TRect(0, 0, w, h), c, TRect(0, 0, w, h));
        Result.Assign(&cropped);
        return true;
    } catch (const Exception& e) {
        Failure = e.Message();
        return false;
    }
}
