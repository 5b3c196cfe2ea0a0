#include "components/output/TBarcodeGen.h"

#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

namespace {

// The pattern as modules at the default ratio 2 (widths 1 to 4): "1" bar, "0" space.
QString Modules(const QString& Pattern)
{
    QString m;
    for (QChar c : Pattern) {
        const char ch = c.toLatin1();
        if (ch >= '0' && ch <= '3')
            m += QString(ch - '0' + 1, QLatin1Char('0'));
        else if (ch >= '5' && ch <= '8')
            m += QString(ch - '5' + 1, QLatin1Char('1'));
        else if (ch >= 'A' && ch <= 'D')
            m += QString(ch - 'A' + 1, QLatin1Char('h'));
        else
            m += QLatin1Char('?');
    }
    return m;
}

QString Encode(TBarcodeType Type, const QString& Text, bool UseCheckSum = true, QString* Readable = nullptr)
{
    TBarcodeGen g;
    g.SetBarCodeType(Type);
    g.SetBarCode(Text);
    g.SetUseCheckSum(UseCheckSum);
    const QString m = Modules(g.MakeData());
    if (Readable)
        *Readable = g.BCText();
    return m;
}

QString ErrorOf(TBarcodeType Type, const QString& Text)
{
    try {
        Encode(Type, Text);
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}

// The EAN/UPC digit codes as the standard prints them in modules.
const char* const L[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                           "0110001", "0101111", "0111011", "0110111", "0001011"};
const char* const G[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                           "0111001", "0000101", "0010001", "0001001", "0010111"};
const char* const R[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                           "1001110", "1010000", "1000100", "1001000", "1110100"};

TEST(BarcodeGen, Ean13GetsItsCheckDigitAndTheStandardModules)
{
    QString readable;
    const QString m = Encode(bcCodeEAN13, QStringLiteral("123456789012"), true, &readable);
    EXPECT_EQ(readable, QStringLiteral("1234567890128"));
    // First digit 1: digits 2..7 in parity L L G L G G.
    QString expected = QStringLiteral("101");
    const char parity[] = "LLGLGG";
    for (int i = 1; i < 7; ++i) {
        const int d = readable[i].digitValue();
        expected += QString::fromLatin1(parity[i - 1] == 'L' ? L[d] : G[d]);
    }
    expected += QStringLiteral("01010");
    for (int i = 7; i < 13; ++i)
        expected += QString::fromLatin1(R[readable[i].digitValue()]);
    expected += QStringLiteral("101");
    EXPECT_EQ(m, expected);
    EXPECT_EQ(m.size(), 95);
}

TEST(BarcodeGen, EanLengthsAndGivenCheckDigits)
{
    QString readable;
    Encode(bcCodeEAN8, QStringLiteral("123"), true, &readable);
    EXPECT_EQ(readable, QStringLiteral("00001236"));
    EXPECT_EQ(Encode(bcCodeEAN8, QStringLiteral("123")).size(), 67);
    // A printed code that already carries its right check digit is encoded as it is.
    Encode(bcCodeEAN13, QStringLiteral("1234567890128"), true, &readable);
    EXPECT_EQ(readable, QStringLiteral("1234567890128"));
    EXPECT_EQ(ErrorOf(bcCodeEAN13, QStringLiteral("1234567890127")),
              QStringLiteral("Invalid length for barcode \"EAN13\" (must be 12 digits, current \"1234567890127\")."));
    EXPECT_EQ(ErrorOf(bcCodeEAN8, QStringLiteral("123456789")),
              QStringLiteral("Invalid length for barcode \"EAN8\" (must be 7 digits, current \"123456789\")."));
    Encode(bcCodeUPC_A, QStringLiteral("03600029145"), true, &readable);
    EXPECT_EQ(readable, QStringLiteral("036000291452"));
    EXPECT_EQ(ErrorOf(bcCodeEAN13, QStringLiteral("12A")), QStringLiteral("Barcode must be numeric"));
}

TEST(BarcodeGen, UpcEIsExpandedForItsCheckDigit)
{
    QString readable;
    const QString m = Encode(bcCodeUPC_E0, QStringLiteral("123455"), true, &readable);
    EXPECT_EQ(readable, QStringLiteral("01234558"));
    // Check digit 8: parity E o E o o E over the six digits.
    QString expected = QStringLiteral("101");
    const char parity[] = "EoEooE";
    for (int i = 0; i < 6; ++i) {
        const int d = QStringLiteral("123455")[i].digitValue();
        expected += QString::fromLatin1(parity[i] == 'o' ? L[d] : G[d]);
    }
    expected += QStringLiteral("010101");
    EXPECT_EQ(m, expected);
}

TEST(BarcodeGen, AddOnsTakeTheirParityFromTheValue)
{
    // 2-digit add-on 12: 12 mod 4 = 0, both digits odd parity.
    EXPECT_EQ(Encode(bcCodeUPC_Supp2, QStringLiteral("12")),
              QStringLiteral("1011") + QString::fromLatin1(L[1]) + QStringLiteral("01") + QString::fromLatin1(L[2]));
    // 5-digit add-on 52495: check (5*3+2*9+4*3+9*9+5*3)=141 -> 1 -> G L G L L.
    const QString m = Encode(bcCodeUPC_Supp5, QStringLiteral("52495"));
    EXPECT_EQ(m, QStringLiteral("1011") + QString::fromLatin1(G[5]) + QStringLiteral("01") + QString::fromLatin1(L[2])
                     + QStringLiteral("01") + QString::fromLatin1(G[4]) + QStringLiteral("01")
                     + QString::fromLatin1(L[9]) + QStringLiteral("01") + QString::fromLatin1(L[5]));
}

TEST(BarcodeGen, Code39AndFullAscii)
{
    // Start "*" and stop as the standard prints them (narrow 1, wide 2 modules).
    const QString star = QStringLiteral("100101101101");
    EXPECT_EQ(Encode(bcCode39, QStringLiteral("abc"), false), star + QStringLiteral("0") + star);
    EXPECT_EQ(Encode(bcCode39, QStringLiteral("A"), false),
              star + QStringLiteral("0") + QStringLiteral("110101001011") + QStringLiteral("0") + star);
    // Check character: A(10) + 1(1) = 11 -> "B".
    const QString withCheck = Encode(bcCode39, QStringLiteral("A1"), true);
    const QString b = Encode(bcCode39, QStringLiteral("B"), false).mid(13, 12);
    EXPECT_EQ(withCheck.mid(withCheck.size() - 12 - 13, 12), b);
    // Full ASCII writes lower case as "+" shifts.
    EXPECT_EQ(Encode(bcCode39Extended, QStringLiteral("a"), false), Encode(bcCode39, QStringLiteral("+A"), false));
}

TEST(BarcodeGen, Code128UsesOneCodeSetAndModulo103)
{
    const QString startB = QStringLiteral("11010010000");
    const QString stop = QStringLiteral("1100011101011");
    // "A" in set B is value 33; check (104 + 33) mod 103 = 34.
    const QString m = Encode(bcCode128B, QStringLiteral("A"));
    EXPECT_TRUE(m.startsWith(startB));
    EXPECT_TRUE(m.endsWith(stop));
    EXPECT_EQ(m.size(), 11 * 3 + 13);
    EXPECT_EQ(m.mid(11, 11), QStringLiteral("10100011000"));  // value 33
    EXPECT_EQ(m.mid(22, 11), QStringLiteral("10001011000"));  // value 34
    // Code set C pads an odd text: 123 -> 01 23, check (105 + 1 + 2*23) mod 103 = 49.
    const QString c = Encode(bcCode128C, QStringLiteral("123"));
    EXPECT_EQ(c.size(), 11 * 4 + 13);
    EXPECT_EQ(c.mid(11, 11), Encode(bcCode128B, QStringLiteral("!")).mid(11, 11));  // value 1
    // Blank (value 0) stands for what a code set cannot hold.
    EXPECT_EQ(Encode(bcCode128A, QStringLiteral("a")).mid(11, 11), QStringLiteral("11011001100"));
}

TEST(BarcodeGen, TwoOfFiveCodesAndOthers)
{
    // Interleaved 2 of 5 leaves an odd last digit out.
    EXPECT_EQ(Encode(bcCode_2_5_interleaved, QStringLiteral("12345")), Encode(bcCode_2_5_interleaved, QStringLiteral("1234")));
    EXPECT_NE(Encode(bcCode_2_5_interleaved, QStringLiteral("1234")), Encode(bcCode_2_5_interleaved, QStringLiteral("12")));
    // POSTNET: five bars per digit, two of them full; check digit 10 - 5 = 5.
    const QString p = Encode(bcCodePostNet, QStringLiteral("5"));
    EXPECT_EQ(p.count(QLatin1Char('1')), 1 + 2 + 2 + 1);
    EXPECT_EQ(p.count(QLatin1Char('h')), 3 + 3);
    // Codabar draws only table characters; others make the pattern unusable.
    EXPECT_FALSE(Encode(bcCodeCodabar, QStringLiteral("A12B")).contains(QLatin1Char('?')));
    TBarcodeGen g;
    g.SetBarCodeType(bcCodeCodabar);
    g.SetBarCode(QStringLiteral("A1x2B"));
    EXPECT_THROW(g.GetWidth(), Exception);
    EXPECT_EQ(ErrorOf(bcCode93, QStringLiteral("a")), QStringLiteral("TBarcodeGen:Code93 bad Data <a>"));
    EXPECT_NO_THROW(Encode(bcCode93Extended, QStringLiteral("a~")));
    EXPECT_NO_THROW(Encode(bcCodeMSI, QStringLiteral("1234567890123456")));
}

TEST(BarcodeGen, NamesOfTheSymbologies)
{
    EXPECT_EQ(GetBarCodeType(QStringLiteral("code128b")), bcCode128B);
    EXPECT_EQ(GetBarCodeType(QStringLiteral("CodeEAN13")), bcCodeEAN13);
    EXPECT_EQ(GetBarCodeType(QStringLiteral("QR")), bcTypeUndefined);
    TBarcodeGen g;
    g.SetBarCodeType(bcTypeUndefined);
    g.SetBarCode(QStringLiteral("1"));
    EXPECT_THROW(g.MakeData(), Exception);
}

TEST(BarcodeGen, DrawsIntoTheRectangleWithTheWidestModuleThatFits)
{
    TBitmap bmp(500, 120);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, 500, 120));
    TRect r(5, 5, 490, 115);
    int modul = 2;
    TFont font;
    DrawBarCode(QStringLiteral("123456789012"), bcCodeEAN13, c, r, modul, font, true, true, stpBottomCenter, true);
    EXPECT_LT(r.Right, 490);
    EXPECT_GT(r.Right - r.Left, 485 / 2);  // module 4: 95 * 4 plus the text margin
    // The first guard bar starts after the leading digit's margin.
    TBarcodeGen g;
    g.SetBarCode(QStringLiteral("123456789012"));
    g.SetModul(4);
    const int x = 5 + static_cast<int>(std::nearbyint(g.GetWidth() * 0.10));
    EXPECT_EQ(c->Pixel(x, 20), clBlack);
    EXPECT_EQ(c->Pixel(x + 4, 20), clWhite);
}

} // namespace
