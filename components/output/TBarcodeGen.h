#pragma once
// Linear barcodes for the report engines: a text becomes a pattern of bars
// and spaces of one of 23 symbologies, drawn with an optional readable line.
#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

#include <QString>

enum TBarcodeType {
    bcCode_2_5_interleaved, bcCode_2_5_industrial, bcCode_2_5_matrix, bcCode39, bcCode39Extended,
    bcCode128A, bcCode128B, bcCode128C, bcCode93, bcCode93Extended, bcCodeMSI, bcCodePostNet,
    bcCodeCodabar, bcCodeEAN8, bcCodeEAN13, bcCodeUPC_A, bcCodeUPC_E0, bcCodeUPC_E1,
    bcCodeUPC_Supp2, bcCodeUPC_Supp5, bcCodeEAN128A, bcCodeEAN128B, bcCodeEAN128C, bcTypeUndefined
};

enum TShowTextPosition { stpTopLeft, stpTopRight, stpTopCenter, stpBottomLeft, stpBottomRight, stpBottomCenter };

struct TBCdata {
    const char* Name;
    bool Num;
};
extern const TBCdata BCdata[bcTypeUndefined + 1];

class TBarcodeGen : public TComponent {
public:
    explicit TBarcodeGen(TComponent* AOwner = nullptr);

    QString BarCode() const { return FBarCode; }
    void SetBarCode(const QString& V) { FBarCode = V; }
    TBarcodeType BarCodeType() const { return FBarCodeType; }
    void SetBarCodeType(TBarcodeType V) { FBarCodeType = V; }
    bool UseCheckSum() const { return FUseCheckSum; }
    void SetUseCheckSum(bool V) { FUseCheckSum = V; }
    int Top() const { return FTop; }
    void SetTop(int V) { FTop = V; }
    int Left() const { return FLeft; }
    void SetLeft(int V) { FLeft = V; }
    int Height() const { return FHeight; }
    void SetHeight(int V) { FHeight = V; }
    // Width is computed from the pattern; setting it chooses the widest
    // module whose code stays narrower than the value (at least 1).
    int Width() { return GetWidth(); }
    void SetWidth(int Value);
    int Modul() const { return FModul; }
    void SetModul(int Value);
    double Ratio() const { return FRatio; }
    void SetRatio(double V) { FRatio = V; }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool V) { FShowText = V; }
    const TFont& ShowTextFont() const { return FShowTextFont; }
    void SetShowTextFont(const TFont& F);
    TShowTextPosition ShowTextPosition() const { return FShowTextPosition; }
    void SetShowTextPosition(TShowTextPosition V) { FShowTextPosition = V; }
    bool AutoFontSize() const { return FAutoFontSize; }
    void SetAutoFontSize(bool V) { FAutoFontSize = V; }
    TColor Color() const { return FColor; }
    void SetColor(TColor V) { FColor = V; }
    TColor ColorBar() const { return FColorBar; }
    void SetColorBar(TColor V) { FColorBar = V; }

    void Assign(const TComponent* Source);

    // The bar pattern of the current text (one character per element).
    QString MakeData();
    // The readable text, check digits included, once a pattern is made.
    QString BCText() const { return FBCText; }
    int GetWidth();
    int GetWidthPos(int N);
    void DrawBarcode(TCanvas* Canvas);

private:
    void MakeModules();
    void OneBarProps(QChar Code, int& Width, bool& Bar, bool& Half) const;
    int PatternWidth(const QString& Pattern, int Count) const;
    bool HasLeadingDigitText() const;
    void SetTextWH(TCanvas* Canvas, bool AutoFontSize);
    void DrawText(TCanvas* Canvas);
    void DoLines(const QString& Pattern, TCanvas* Canvas);
    bool IsGuardElement(int Index) const;
    [[noreturn]] void InternalError() const;

    QString Code_2_5_interleaved();
    QString Code_2_5_industrial();
    QString Code_2_5_matrix();
    QString Code_39();
    QString Code_39Extended();
    QString Code_128();
    QString Code_93();
    QString Code_93Extended();
    QString Code_MSI();
    QString Code_PostNet();
    QString Code_Codabar();
    QString Code_EAN8();
    QString Code_EAN13();
    QString Code_UPC_A();
    QString Code_UPC_E0();
    QString Code_UPC_E1();
    QString Code_UPC_E(const QString& NumberSystem, bool Swap);
    QString Code_Supp2();
    QString Code_Supp5();

    QString FBarCode;
    TBarcodeType FBarCodeType = bcCodeEAN13;
    bool FUseCheckSum = true;
    int FTop = 0;
    int FLeft = 0;
    int FHeight = 0;
    int FModul = 1;
    double FRatio = 2.0;
    bool FShowText = true;
    TFont FShowTextFont;
    TShowTextPosition FShowTextPosition = stpTopLeft;
    bool FAutoFontSize = false;
    TColor FColor = clWhite;
    TColor FColorBar = clBlack;
    QString FBCText;
    int modules[4] = {1, 2, 3, 4};
    int ShowTextW1 = 0;
    int ShowTextH1 = 0;
};

// The symbology whose report name equals Name (any case); bcTypeUndefined otherwise.
TBarcodeType GetBarCodeType(const QString& Name);

// Draws Text into Rect on Canvas; the width of Rect chooses the module, and
// Rect.Right comes back as Left plus the drawn width.
void DrawBarCode(const QString& Text, TBarcodeType BarCodeType, TCanvas* Canvas, TRect& Rect, int& Modul,
                 const TFont& Font, bool AutoFontSize, bool ShowText, TShowTextPosition ShowTextPosition,
                 bool UseCheckSum);

// Helpers of the check-digit arithmetic, exposed for their own tests.
int SumOfDigit(long long Value);
int CheckSumModulo10(const QString& Digits);
