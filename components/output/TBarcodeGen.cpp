#include "components/output/TBarcodeGen.h"

#include "platform/rtl/Exception.h"

#include <algorithm>
#include <cmath>

const TBCdata BCdata[bcTypeUndefined + 1] = {
    {"Code_2_5_interleaved", true}, {"Code_2_5_industrial", true}, {"Code_2_5_matrix", true},
    {"Code39", false}, {"Code39Extended", false}, {"Code128A", false}, {"Code128B", false},
    {"Code128C", true}, {"Code93", false}, {"Code93Extended", false}, {"CodeMSI", true},
    {"CodePostNet", true}, {"CodeCodabar", false}, {"CodeEAN8", true}, {"CodeEAN13", true},
    {"CodeUPC_A", true}, {"CodeUPC_E0", true}, {"CodeUPC_E1", true}, {"CodeUPC_Supp2", true},
    {"CodeUPC_Supp5", true}, {"CodeEAN128A", false}, {"CodeEAN128B", false}, {"CodeEAN128C", true},
    {"Undefined", true}};

namespace {

const QString ClassName = QStringLiteral("TBarcodeGen");

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

bool IsDigits(const QString& s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

TBarcodeGen::TBarcodeGen(TComponent* AOwner)
    : TComponent(AOwner)
{
    FShowTextFont.SetName(QStringLiteral("Arial"));
    FShowTextFont.SetSize(8);
}

void TBarcodeGen::SetModul(int Value)
{
    if (Value >= 1 && Value < 50)
        FModul = Value;
}

void TBarcodeGen::SetShowTextFont(const TFont& F) { FShowTextFont.Assign(F); }

void TBarcodeGen::Assign(const TComponent* Source)
{
    const auto* g = dynamic_cast<const TBarcodeGen*>(Source);
    if (!g)
        throw Exception(QStringLiteral("Cannot assign to a %1").arg(ClassName));
    FHeight = g->FHeight;
    FBarCode = g->FBarCode;
    FTop = g->FTop;
    FLeft = g->FLeft;
    FModul = g->FModul;
    FRatio = g->FRatio;
    FBarCodeType = g->FBarCodeType;
    FShowText = g->FShowText;
    FShowTextPosition = g->FShowTextPosition;
    FColor = g->FColor;
    FColorBar = g->FColorBar;
}

void TBarcodeGen::MakeModules()
{
    switch (FBarCodeType) {
    case bcCode_2_5_matrix:
        FRatio = std::clamp(FRatio, 2.25, 3.0);
        break;
    case bcCode128A: case bcCode128B: case bcCode128C: case bcCodeEAN128A: case bcCodeEAN128B:
    case bcCodeEAN128C: case bcCode93: case bcCode93Extended: case bcCodeMSI: case bcCodePostNet:
        break;
    default:
        FRatio = std::clamp(FRatio, 2.0, 3.0);
        break;
    }
    modules[0] = FModul;
    modules[1] = RoundEven(FModul * FRatio);
    modules[2] = modules[1] * 3 / 2;
    modules[3] = 2 * modules[1];
}

QString TBarcodeGen::MakeData()
{
    FBCText = FBarCode;
    MakeModules();
    if (FBarCodeType > bcCodeEAN128C || FBarCodeType < 0)
        throw Exception(QStringLiteral("%1: wrong BarcodeType").arg(ClassName));
    if (BCdata[FBarCodeType].Num) {
        FBCText = FBCText.trimmed();
        if (!IsDigits(FBCText))
            throw Exception(QStringLiteral("Barcode must be numeric"));
    }
    switch (FBarCodeType) {
    case bcCode_2_5_interleaved: return Code_2_5_interleaved();
    case bcCode_2_5_industrial: return Code_2_5_industrial();
    case bcCode_2_5_matrix: return Code_2_5_matrix();
    case bcCode39: return Code_39();
    case bcCode39Extended: return Code_39Extended();
    case bcCode93: return Code_93();
    case bcCode93Extended: return Code_93Extended();
    case bcCodeMSI: return Code_MSI();
    case bcCodePostNet: return Code_PostNet();
    case bcCodeCodabar: return Code_Codabar();
    case bcCodeEAN8: return Code_EAN8();
    case bcCodeEAN13: return Code_EAN13();
    case bcCodeUPC_A: return Code_UPC_A();
    case bcCodeUPC_E0: return Code_UPC_E0();
    case bcCodeUPC_E1: return Code_UPC_E1();
    case bcCodeUPC_Supp2: return Code_Supp2();
    case bcCodeUPC_Supp5: return Code_Supp5();
    default: return Code_128();
    }
}

void TBarcodeGen::InternalError() const
{
    throw Exception(QStringLiteral("%1: internal Error").arg(ClassName));
}

void TBarcodeGen::OneBarProps(QChar Code, int& Width, bool& Bar, bool& Half) const
{
    const char c = Code.toLatin1();
    if (c >= '0' && c <= '3') {
        Width = modules[c - '0'];
        Bar = false;
        Half = false;
    } else if (c >= '5' && c <= '8') {
        Width = modules[c - '5'];
        Bar = true;
        Half = false;
    } else if (c >= 'A' && c <= 'D') {
        Width = modules[c - 'A'];
        Bar = true;
        Half = true;
    } else {
        InternalError();
    }
}

int TBarcodeGen::PatternWidth(const QString& Pattern, int Count) const
{
    int w = 0;
    for (int i = 0; i < std::min<int>(Count, Pattern.size()); ++i) {
        int width;
        bool bar, half;
        OneBarProps(Pattern[i], width, bar, half);
        w += width;
    }
    return w;
}

// The codes whose first digit stands left of the bars in the readable line.
bool TBarcodeGen::HasLeadingDigitText() const
{
    if (!FShowText)
        return false;
    switch (FBarCodeType) {
    case bcCodeEAN8: case bcCodeEAN13: case bcCodeUPC_A: case bcCodeUPC_E0: case bcCodeUPC_E1: return true;
    default: return false;
    }
}

int TBarcodeGen::GetWidth()
{
    const QString pattern = MakeData();
    int w = PatternWidth(pattern, int(pattern.size()));
    if (HasLeadingDigitText()) {
        w += RoundEven(w * 0.15);
        if (FBarCodeType == bcCodeUPC_A || FBarCodeType == bcCodeUPC_E0 || FBarCodeType == bcCodeUPC_E1)
            w += RoundEven(w * 0.10);
    }
    return w;
}

int TBarcodeGen::GetWidthPos(int N)
{
    const QString pattern = MakeData();
    int w = PatternWidth(pattern, N);
    if (HasLeadingDigitText())
        w += RoundEven(GetWidth() * 0.10);
    return w;
}

void TBarcodeGen::SetWidth(int Value)
{
    FModul = 1;
    while (GetWidth() < Value && FModul < 49)
        ++FModul;
    if (FModul > 1)
        --FModul;
}

void TBarcodeGen::SetTextWH(TCanvas* Canvas, bool AutoFontSize)
{
    TFont font(FShowTextFont);
    if (AutoFontSize) {
        const int width = GetWidth();
        int size = 2;
        font.SetSize(size);
        Canvas->SetFont(font);
        while (Canvas->TextWidth(FBCText) < width && size < 400) {
            font.SetSize(++size);
            Canvas->SetFont(font);
        }
        const bool narrowText = FBarCodeType == bcCodeEAN8 || FBarCodeType == bcCodeUPC_A;
        size = static_cast<int>(size * (narrowText ? 0.65 : 0.75));
        font.SetSize(std::max(1, size));
        Canvas->SetFont(font);
        if (2 * Canvas->TextHeight(QStringLiteral("8")) > FHeight)
            font.SetSize(std::max(1, size / 2));
        FShowTextFont.Assign(font);
    }
    Canvas->SetFont(FShowTextFont);
    ShowTextW1 = Canvas->TextWidth(QStringLiteral("8"));
    ShowTextH1 = Canvas->TextHeight(QStringLiteral("8"));
}

void TBarcodeGen::DrawText(TCanvas* Canvas)
{
    Canvas->SetFont(FShowTextFont);
    Canvas->Pen()->SetColor(FShowTextFont.Color());
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Brush()->SetStyle(bsSolid);
    const int width = GetWidth();
    const int textWidth = Canvas->TextWidth(FBCText);
    const int textHeight = Canvas->TextHeight(FBCText);
    int x = FLeft;
    if (FShowTextPosition == stpTopRight || FShowTextPosition == stpBottomRight)
        x = FLeft + width - textWidth;
    else if (FShowTextPosition == stpTopCenter || FShowTextPosition == stpBottomCenter)
        x = FLeft + (width - textWidth) / 2;
    const bool bottom = FShowTextPosition >= stpBottomLeft;
    const int y = bottom ? FTop + FHeight - textHeight : FTop;

    auto at = [&](int from, int count, int pos) { Canvas->TextOut(FLeft + pos, y, FBCText.mid(from, count)); };
    switch (FBarCodeType) {
    case bcCodeEAN8:
        at(0, 4, GetWidthPos(3) + 1);
        at(4, 4, GetWidthPos(23) + 1);
        break;
    case bcCodeEAN13:
        at(0, 1, 1);
        at(1, 6, GetWidthPos(3) + 1);
        at(7, 6, GetWidthPos(31) + 1);
        break;
    case bcCodeUPC_A:
        at(0, 1, 1);
        at(1, 5, GetWidthPos(7) + 1);
        at(6, 5, GetWidthPos(32) + 1);
        at(11, 1, GetWidthPos(59) + 1);
        break;
    case bcCodeUPC_E0: case bcCodeUPC_E1:
        at(0, 1, 1);
        at(1, 6, GetWidthPos(4) + 1);
        at(7, 1, GetWidthPos(34) + 1);
        break;
    default:
        Canvas->TextOut(x, y, FBCText);
        break;
    }
}

bool TBarcodeGen::IsGuardElement(int Index) const
{
    auto in = [Index](int a, int b) { return Index >= a && Index <= b; };
    switch (FBarCodeType) {
    case bcCodeEAN8: return in(1, 3) || in(20, 24) || in(41, 43);
    case bcCodeEAN13: return in(1, 3) || in(28, 32) || in(57, 59);
    case bcCodeUPC_A: return in(1, 7) || in(28, 32) || in(53, 59);
    case bcCodeUPC_E0: case bcCodeUPC_E1: return in(1, 3) || in(30, 33);
    default: return false;
    }
}

void TBarcodeGen::DoLines(const QString& Pattern, TCanvas* Canvas)
{
    int x = FLeft;
    if (HasLeadingDigitText())
        x += RoundEven(GetWidth() * 0.10);
    const int h = FHeight - (FShowText ? ShowTextH1 : 0);
    for (int i = 0; i < Pattern.size(); ++i) {
        int width;
        bool bar, half;
        OneBarProps(Pattern[i], width, bar, half);
        const TColor c = bar ? FColorBar : FColor;
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        Canvas->Brush()->SetStyle(bsSolid);
        const int top = half ? FTop + h / 2 : FTop;
        int bottom = FTop + h;
        if (IsGuardElement(i + 1))
            bottom += ShowTextH1 / 2;
        Canvas->FillRect(TRect(x, top, x + width, bottom));
        x += width;
    }
}

void TBarcodeGen::DrawBarcode(TCanvas* Canvas)
{
    const TFont font(*Canvas->Font());
    const TPen pen(*Canvas->Pen());
    const TBrush brush(*Canvas->Brush());
    try {
        const QString pattern = MakeData();
        SetTextWH(Canvas, FAutoFontSize);
        if (FShowText)
            DrawText(Canvas);
        DoLines(pattern, Canvas);
    } catch (...) {
        Canvas->SetFont(font);
        Canvas->SetPen(pen);
        Canvas->SetBrush(brush);
        throw;
    }
    Canvas->SetFont(font);
    Canvas->SetPen(pen);
    Canvas->SetBrush(brush);
}

TBarcodeType GetBarCodeType(const QString& Name)
{
    for (int i = 0; i <= bcTypeUndefined; ++i)
        if (Name.compare(QLatin1String(BCdata[i].Name), Qt::CaseInsensitive) == 0)
            return TBarcodeType(i);
    return bcTypeUndefined;
}

void DrawBarCode(const QString& Text, TBarcodeType BarCodeType, TCanvas* Canvas, TRect& Rect, int& Modul,
                 const TFont& Font, bool AutoFontSize, bool ShowText, TShowTextPosition ShowTextPosition,
                 bool UseCheckSum)
{
    TBarcodeGen g;
    g.SetBarCode(Text);
    g.SetBarCodeType(BarCodeType);
    g.SetUseCheckSum(UseCheckSum);
    g.SetShowText(ShowText);
    g.SetShowTextFont(Font);
    g.SetAutoFontSize(AutoFontSize);
    g.SetShowTextPosition(ShowTextPosition);
    if (Modul != 0)
        g.SetModul(Modul);
    else
        Modul = g.Modul();
    g.SetTop(Rect.Top);
    g.SetLeft(Rect.Left);
    g.SetHeight(Rect.Bottom - Rect.Top);
    g.SetWidth(Rect.Right - Rect.Left);
    Rect.Right = g.Left() + g.GetWidth();
    g.DrawBarcode(Canvas);
}
