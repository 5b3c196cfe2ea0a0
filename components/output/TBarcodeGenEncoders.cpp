// The encoders of TBarcodeGen: each turns the text into its pattern, using
// the character tables of the symbologies' published standards.
#include "components/output/TBarcodeGen.h"

#include "platform/rtl/Exception.h"

#include <algorithm>
#include <vector>

namespace {

const QString ClassName = QStringLiteral("TBarcodeGen");

// 2 of 5: per digit the five elements, W wide and N narrow.
const char* const Table_2_5[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                   "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

// EAN/UPC set A (odd parity) as widths space-bar-space-bar.
const char* const EanWidths[10] = {"3211", "2221", "2122", "1411", "1132",
                                   "1231", "1114", "1312", "1213", "3112"};

// EAN-13 parity of digits 2 to 7 chosen by the first digit.
const char* const Ean13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                     "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

// UPC-E parity for number system 0 chosen by the check digit ("o" set A, "E" set B).
const char* const UpcEParity[10] = {"EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo",
                                    "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE"};

struct TCode39Char {
    char Ch;
    const char* Pattern;  // bar space bar space bar space bar space bar
};
const TCode39Char Code39Table[] = {
    {'0', "NNNWWNWNN"}, {'1', "WNNWNNNNW"}, {'2', "NNWWNNNNW"}, {'3', "WNWWNNNNN"}, {'4', "NNNWWNNNW"},
    {'5', "WNNWWNNNN"}, {'6', "NNWWWNNNN"}, {'7', "NNNWNNWNW"}, {'8', "WNNWNNWNN"}, {'9', "NNWWNNWNN"},
    {'A', "WNNNNWNNW"}, {'B', "NNWNNWNNW"}, {'C', "WNWNNWNNN"}, {'D', "NNNNWWNNW"}, {'E', "WNNNWWNNN"},
    {'F', "NNWNWWNNN"}, {'G', "NNNNNWWNW"}, {'H', "WNNNNWWNN"}, {'I', "NNWNNWWNN"}, {'J', "NNNNWWWNN"},
    {'K', "WNNNNNNWW"}, {'L', "NNWNNNNWW"}, {'M', "WNWNNNNWN"}, {'N', "NNNNWNNWW"}, {'O', "WNNNWNNWN"},
    {'P', "NNWNWNNWN"}, {'Q', "NNNNNNWWW"}, {'R', "WNNNNNWWN"}, {'S', "NNWNNNWWN"}, {'T', "NNNNWNWWN"},
    {'U', "WWNNNNNNW"}, {'V', "NWWNNNNNW"}, {'W', "WWWNNNNNN"}, {'X', "NWNNWNNNW"}, {'Y', "WWNNWNNNN"},
    {'Z', "NWWNWNNNN"}, {'-', "NWNNNNWNW"}, {'.', "WWNNNNWNN"}, {' ', "NWWNNNWNN"}, {'$', "NWNWNWNNN"},
    {'/', "NWNWNNNWN"}, {'+', "NWNNNWNWN"}, {'%', "NNNWNWNWN"}, {'*', "NWNNWNWNN"}};
constexpr int Code39Count = 43;  // '*' is the start/stop, not a data value

// Full ASCII: the one- or two-character sequence of every code 0..127.
const char* const FullAscii[128] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ", "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-", ".", "/O",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O",
    "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T"};

const char* const Code128Table[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

struct TCode93Char {
    char Ch;
    const char* Widths;
};
// In value order; the four shift characters are written "[", "]", "{", "}".
const TCode93Char Code93Table[47] = {
    {'0', "131112"}, {'1', "111213"}, {'2', "111312"}, {'3', "111411"}, {'4', "121113"}, {'5', "121212"},
    {'6', "121311"}, {'7', "111114"}, {'8', "131211"}, {'9', "141111"}, {'A', "211113"}, {'B', "211212"},
    {'C', "211311"}, {'D', "221112"}, {'E', "221211"}, {'F', "231111"}, {'G', "112113"}, {'H', "112212"},
    {'I', "112311"}, {'J', "122112"}, {'K', "132111"}, {'L', "111123"}, {'M', "111222"}, {'N', "111321"},
    {'O', "121122"}, {'P', "131121"}, {'Q', "212112"}, {'R', "212211"}, {'S', "211122"}, {'T', "211221"},
    {'U', "221121"}, {'V', "222111"}, {'W', "112122"}, {'X', "112221"}, {'Y', "122121"}, {'Z', "123111"},
    {'-', "121131"}, {'.', "311112"}, {' ', "311211"}, {'$', "321111"}, {'/', "112131"}, {'+', "113121"},
    {'%', "211131"}, {'[', "121221"}, {']', "312111"}, {'{', "311121"}, {'}', "122211"}};

const char* const PostNetTable[10] = {"11000", "00011", "00101", "00110", "01001",
                                      "01010", "01100", "10001", "10010", "10100"};

struct TCodabarChar {
    char Ch;
    const char* Wide;  // bar space bar space bar space bar, 1 = wide
};
const TCodabarChar CodabarTable[] = {
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"}};

int Digit(QChar c) { return c.unicode() - '0'; }

// Width digits 1..4 alternate bar and space, starting with a bar.
QString WidthsToPattern(const QString& Widths)
{
    QString p;
    p.reserve(Widths.size());
    for (int i = 0; i < Widths.size(); ++i) {
        const int d = Digit(Widths[i]) - 1;
        p += QChar((i % 2 == 0 ? '5' : '0') + d);
    }
    return p;
}

QString EanSetA(int d)
{
    const char* w = EanWidths[d];
    const QChar p[4] = {QChar('0' + w[0] - '1'), QChar('5' + w[1] - '1'), QChar('0' + w[2] - '1'), QChar('5' + w[3] - '1')};
    return QString(p, 4);
}

QString EanSetC(int d)
{
    const char* w = EanWidths[d];
    const QChar p[4] = {QChar('5' + w[0] - '1'), QChar('0' + w[1] - '1'), QChar('5' + w[2] - '1'), QChar('0' + w[3] - '1')};
    return QString(p, 4);
}

// Set B is set C read backwards.
QString EanSetB(int d)
{
    QString c = EanSetC(d);
    std::reverse(c.begin(), c.end());
    return c;
}

int Code39Value(QChar c)
{
    for (int i = 0; i < Code39Count; ++i)
        if (QChar(Code39Table[i].Ch) == c)
            return i;
    return -1;
}

QString Code39Char(int value)
{
    const char* p = Code39Table[value].Pattern;
    QString s;
    for (int i = 0; i < 9; ++i)
        s += QChar((i % 2 == 0 ? '5' : '0') + (p[i] == 'W' ? 1 : 0));
    return s;
}

int Code93Value(QChar c)
{
    for (int i = 0; i < 47; ++i)
        if (QChar(Code93Table[i].Ch) == c)
            return i;
    return -1;
}

// Replaces every character up to 127 by its full-ASCII sequence (shifts
// translated for Code 93); characters above 127 are dropped.
QString ToFullAscii(const QString& Text, bool Code93Shifts)
{
    QString r;
    for (QChar c : Text) {
        if (c.unicode() > 127)
            continue;
        QString seq = QString::fromLatin1(FullAscii[c.unicode()]);
        if (Code93Shifts && seq.size() == 2) {
            const char shift = seq[0].toLatin1();
            seq[0] = QChar(shift == '$' ? '[' : shift == '%' ? ']' : shift == '/' ? '{' : '}');
        }
        r += seq;
    }
    return r;
}

[[noreturn]] void LengthError(const char* Name, int Length, const QString& Text)
{
    throw Exception(QStringLiteral("Invalid length for barcode \"%1\" (must be %2 digits, current \"%3\").")
                        .arg(QString::fromLatin1(Name)).arg(Length).arg(Text));
}

QString PadLeft(const QString& Text, int Length)
{
    return Text.size() >= Length ? Text : QString(Length - Text.size(), QLatin1Char('0')) + Text;
}

// Pads to the code's length and gives it its check digit. A text that already
// carries its check digit is accepted when that digit is right: reports often
// hold the printed code, and recomputing it always would refuse every one.
QString SetLenCheckSum(const QString& Text, bool UseCheckSum, const char* Name, int LenWithout, int LenWith)
{
    if (!UseCheckSum) {
        const QString t = PadLeft(Text, LenWith);
        if (t.size() != LenWith)
            LengthError(Name, LenWith, t);
        return t;
    }
    QString t = PadLeft(Text, LenWithout);
    if (t.size() == LenWith) {
        if (CheckSumModulo10(t.left(LenWithout)) == Digit(t[LenWithout]))
            return t;
        LengthError(Name, LenWithout, t);
    }
    if (t.size() != LenWithout)
        LengthError(Name, LenWithout, t);
    t += QChar('0' + CheckSumModulo10(t));
    return t;
}

// UPC-E to UPC-A by the rule on its last digit.
QString GenCodeUPC_A(const QString& Six, const QString& NumberSystem)
{
    if (Six.size() != 6)
        LengthError("UPC_E", 6, Six);
    const int d = Digit(Six[5]);
    QString a;
    if (d <= 2)
        a = Six.mid(0, 2) + Six[5] + QStringLiteral("0000") + Six.mid(2, 3);
    else if (d == 3)
        a = Six.mid(0, 3) + QStringLiteral("00000") + Six.mid(3, 2);
    else if (d == 4)
        a = Six.mid(0, 4) + QStringLiteral("00000") + Six[4];
    else
        a = Six.mid(0, 5) + QStringLiteral("0000") + Six[5];
    a = NumberSystem + a;
    return a + QChar('0' + CheckSumModulo10(a));
}

} // namespace

int SumOfDigit(long long Value)
{
    int s = 0;
    for (Value = Value < 0 ? -Value : Value; Value > 0; Value /= 10)
        s += int(Value % 10);
    return s;
}

int CheckSumModulo10(const QString& Digits)
{
    int sum = 0;
    int weight = 3;
    for (int i = Digits.size() - 1; i >= 0; --i) {
        sum += Digit(Digits[i]) * weight;
        weight = weight == 3 ? 1 : 3;
    }
    return (10 - sum % 10) % 10;
}

QString TBarcodeGen::Code_2_5_interleaved()
{
    QString p = QStringLiteral("5050");
    for (int i = 0; i + 1 < FBCText.size(); i += 2) {
        const char* a = Table_2_5[Digit(FBCText[i])];
        const char* b = Table_2_5[Digit(FBCText[i + 1])];
        for (int k = 0; k < 5; ++k) {
            p += QChar(a[k] == 'W' ? '6' : '5');
            p += QChar(b[k] == 'W' ? '1' : '0');
        }
    }
    return p + QStringLiteral("605");
}

QString TBarcodeGen::Code_2_5_industrial()
{
    QString p = QStringLiteral("606050");
    for (QChar c : FBCText)
        for (const char* e = Table_2_5[Digit(c)]; *e; ++e)
            p += *e == 'W' ? QStringLiteral("60") : QStringLiteral("50");
    return p + QStringLiteral("605060");
}

QString TBarcodeGen::Code_2_5_matrix()
{
    QString p = QStringLiteral("705050");
    for (QChar c : FBCText) {
        const char* e = Table_2_5[Digit(c)];
        for (int k = 0; k < 5; ++k)
            p += QChar((k % 2 == 0 ? '5' : '0') + (e[k] == 'W' ? 1 : 0));
        p += QLatin1Char('0');
    }
    return p + QStringLiteral("70505");
}

QString TBarcodeGen::Code_39()
{
    const int star = Code39Count;
    QString p = Code39Char(star) + QLatin1Char('0');
    int sum = 0;
    for (QChar c : FBCText) {
        const int v = Code39Value(c);
        if (v < 0)
            continue;
        sum += v;
        p += Code39Char(v) + QLatin1Char('0');
    }
    if (FUseCheckSum)
        p += Code39Char(sum % 43) + QLatin1Char('0');
    return p + Code39Char(star);
}

QString TBarcodeGen::Code_39Extended()
{
    const QString keep = FBCText;
    FBCText = ToFullAscii(keep, false);
    const QString p = Code_39();
    FBCText = keep;
    return p;
}

QString TBarcodeGen::Code_128()
{
    int start;
    bool setA = false, setC = false;
    switch (FBarCodeType) {
    case bcCode128A: start = 103; setA = true; break;
    case bcCodeEAN128A: start = 103; break;  // looked up in set B, as the code always was
    case bcCode128B: case bcCodeEAN128B: start = 104; break;
    case bcCode128C: case bcCodeEAN128C: start = 105; setC = true; break;
    default: throw Exception(QStringLiteral("%1: wrong BarcodeType in Code_128").arg(ClassName));
    }
    std::vector<int> values;
    if (setC) {
        const QString t = FBCText.size() % 2 ? QLatin1Char('0') + FBCText : FBCText;
        for (int i = 0; i < t.size(); i += 2)
            values.push_back(Digit(t[i]) * 10 + Digit(t[i + 1]));
    } else {
        for (QChar ch : FBCText) {
            const int c = ch.unicode();
            int v = 0;
            if (setA)
                v = c < 32 ? c + 64 : (c < 96 ? c - 32 : 0);
            else
                v = (c >= 32 && c < 127) ? c - 32 : 0;
            values.push_back(v);
        }
    }
    QString w = QString::fromLatin1(Code128Table[start]);
    long long check = start;
    for (size_t i = 0; i < values.size(); ++i) {
        w += QString::fromLatin1(Code128Table[values[i]]);
        check += static_cast<long long>(i + 1) * values[i];
    }
    w += QString::fromLatin1(Code128Table[check % 103]);
    w += QString::fromLatin1(Code128Table[106]);
    return WidthsToPattern(w);
}

QString TBarcodeGen::Code_93()
{
    std::vector<int> values;
    for (QChar c : FBCText) {
        const int v = Code93Value(c);
        if (v < 0)
            throw Exception(QStringLiteral("%1:Code93 bad Data <%2>").arg(ClassName, FBCText));
        values.push_back(v);
    }
    long long c = 0, k = 0;
    const int n = int(values.size());
    for (int i = 0; i < n; ++i) {
        const int fromRight = n - i;  // 1 for the last character
        c += static_cast<long long>(values[i]) * (((fromRight - 1) % 20) + 1);
        k += static_cast<long long>(values[i]) * (((fromRight) % 15) + 1);
    }
    // K also weighs C itself with weight 1 (it stands rightmost when K is taken).
    k += c % 47;
    QString w = QStringLiteral("111141");
    for (int v : values)
        w += QString::fromLatin1(Code93Table[v].Widths);
    w += QString::fromLatin1(Code93Table[c % 47].Widths);
    w += QString::fromLatin1(Code93Table[k % 47].Widths);
    w += QStringLiteral("1111411");
    return WidthsToPattern(w);
}

QString TBarcodeGen::Code_93Extended()
{
    const QString keep = FBCText;
    FBCText = ToFullAscii(keep, true);
    const QString p = Code_93();
    FBCText = keep;
    return p;
}

QString TBarcodeGen::Code_MSI()
{
    auto digitBits = [](int d) {
        QString s;
        for (int bit = 3; bit >= 0; --bit)
            s += (d >> bit) & 1 ? QStringLiteral("60") : QStringLiteral("51");
        return s;
    };
    QString p = QStringLiteral("60");
    for (QChar c : FBCText)
        p += digitBits(Digit(c));
    if (FUseCheckSum) {
        QString odd, even;
        for (int i = 0; i < FBCText.size(); ++i)
            (i % 2 == 0 ? odd : even) += FBCText[i];
        const long long o = odd.isEmpty() ? 0 : odd.toLongLong();
        const long long e = even.isEmpty() ? 0 : even.toLongLong();
        const long long s = SumOfDigit(2 * e) + o;
        const int check = (10 - s % 10) % 10;
        p += digitBits(check);
    }
    return p + QStringLiteral("515");
}

QString TBarcodeGen::Code_PostNet()
{
    auto digit = [](int d) {
        QString s;
        for (const char* e = PostNetTable[d]; *e; ++e)
            s += *e == '1' ? QStringLiteral("51") : QStringLiteral("A1");
        return s;
    };
    QString p = QStringLiteral("51");
    int sum = 0;
    for (QChar c : FBCText) {
        p += digit(Digit(c));
        sum += Digit(c);
    }
    if (FUseCheckSum)
        p += digit((10 - sum % 10) % 10);
    return p + QLatin1Char('5');
}

QString TBarcodeGen::Code_Codabar()
{
    QString p;
    for (QChar c : FBCText) {
        const TCodabarChar* found = nullptr;
        for (const auto& e : CodabarTable)
            if (QChar(e.Ch) == c)
                found = &e;
        if (!found) {
            p += QLatin1Char('?');  // refused when the pattern is measured or drawn
            continue;
        }
        for (int i = 0; i < 7; ++i)
            p += QChar((i % 2 == 0 ? '5' : '0') + (found->Wide[i] == '1' ? 1 : 0));
        p += QLatin1Char('0');
    }
    return p;
}

QString TBarcodeGen::Code_EAN8()
{
    FBCText = SetLenCheckSum(FBCText, FUseCheckSum, "EAN8", 7, 8);
    QString p = QStringLiteral("505");
    for (int i = 0; i < 4; ++i)
        p += EanSetA(Digit(FBCText[i]));
    p += QStringLiteral("05050");
    for (int i = 4; i < 8; ++i)
        p += EanSetC(Digit(FBCText[i]));
    return p + QStringLiteral("505");
}

QString TBarcodeGen::Code_EAN13()
{
    FBCText = SetLenCheckSum(FBCText, FUseCheckSum, "EAN13", 12, 13);
    const char* parity = Ean13Parity[Digit(FBCText[0])];
    QString p = QStringLiteral("505");
    for (int i = 1; i < 7; ++i)
        p += parity[i - 1] == 'A' ? EanSetA(Digit(FBCText[i])) : EanSetB(Digit(FBCText[i]));
    p += QStringLiteral("05050");
    for (int i = 7; i < 13; ++i)
        p += EanSetC(Digit(FBCText[i]));
    return p + QStringLiteral("505");
}

QString TBarcodeGen::Code_UPC_A()
{
    FBCText = SetLenCheckSum(FBCText, FUseCheckSum, "UPC_A", 11, 12);
    QString p = QStringLiteral("505");
    for (int i = 0; i < 6; ++i)
        p += EanSetA(Digit(FBCText[i]));
    p += QStringLiteral("05050");
    for (int i = 6; i < 12; ++i)
        p += EanSetC(Digit(FBCText[i]));
    return p + QStringLiteral("505");
}

QString TBarcodeGen::Code_UPC_E(const QString& NumberSystem, bool Swap)
{
    QString t = FBCText;
    if (t.size() == 6)
        t += GenCodeUPC_A(t, NumberSystem).right(1);
    t = PadLeft(t, 7);
    if (t.size() != 7)
        LengthError(Swap ? "UPC_E1" : "UPC_E0", 7, t);
    const char* parity = UpcEParity[Digit(t[6])];
    QString p = QStringLiteral("505");
    for (int i = 0; i < 6; ++i) {
        const bool odd = (parity[i] == 'o') != Swap;
        p += odd ? EanSetA(Digit(t[i])) : EanSetB(Digit(t[i]));
    }
    FBCText = NumberSystem + t;
    return p + QStringLiteral("050505");
}

QString TBarcodeGen::Code_UPC_E0() { return Code_UPC_E(QStringLiteral("0"), false); }
QString TBarcodeGen::Code_UPC_E1() { return Code_UPC_E(QStringLiteral("1"), true); }

QString TBarcodeGen::Code_Supp5()
{
    const QString t = PadLeft(FBCText, 5);
    if (t.size() != 5)
        LengthError("UPC_Supp5", 5, t);
    // getSupp: weights 3, 9, 3, 9, 3 from the right.
    int sum = 0;
    for (int i = 0; i < 5; ++i)
        sum += Digit(t[4 - i]) * (i % 2 == 0 ? 3 : 9);
    const char* parity = UpcEParity[sum % 10] + 1;
    QString p = QStringLiteral("506");
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            p += QStringLiteral("05");
        p += parity[i] == 'o' ? EanSetA(Digit(t[i])) : EanSetB(Digit(t[i]));
    }
    FBCText = t;
    return p;
}

QString TBarcodeGen::Code_Supp2()
{
    const QString t = PadLeft(FBCText, 2);
    if (t.size() != 2)
        LengthError("UPC_Supp2", 2, t);
    static const char* const rows[4] = {"oo", "oE", "Eo", "EE"};
    const char* parity = rows[t.toInt() % 4];
    QString p = QStringLiteral("506");
    for (int i = 0; i < 2; ++i) {
        if (i > 0)
            p += QStringLiteral("05");
        p += parity[i] == 'o' ? EanSetA(Digit(t[i])) : EanSetB(Digit(t[i]));
    }
    FBCText = t;
    return p;
}
