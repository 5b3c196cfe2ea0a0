#include "components/stringgrid/rStringGridEdSupport.h"

#include "platform/ui/SystemBeep.h"

#include <algorithm>
#include <cmath>

namespace sgtools {

std::function<void()> Beep = [] { SystemBeep(); };

namespace {

struct NamedColor {
    const char* Name;
    TColor Color;
};

// Sixteen standard colours and four extra ones; "Custom..." follows them.
constexpr NamedColor ColorTable[] = {
    {"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen},         {"Olive", clOlive},     {"Navy", clNavy},
    {"Purple", clPurple}, {"Teal", clTeal},     {"Gray", clGray},           {"Silver", clSilver},   {"Red", clRed},
    {"Lime", clLime},     {"Yellow", clYellow}, {"Blue", clBlue},           {"Fuchsia", clFuchsia}, {"Aqua", clAqua},
    {"White", clWhite},   {"MoneyGreen", clMoneyGreen}, {"SkyBlue", clSkyBlue}, {"Cream", clCream}, {"MedGray", clMedGray},
};
constexpr int ColorTableCount = int(sizeof(ColorTable) / sizeof(ColorTable[0]));

TColor Resolve(TColor C, TColor Default) { return C == clNone || C == clDefault ? Default : ColorToRGB(C); }

}  // namespace

TColor StringToColor(const QString& S)
{
    const QString t = S.trimmed();
    if (t.isEmpty())
        return clNone;
    TColor c = clNone;
    if (IdentToColor(t, c) || ColorFromName(t, c))
        return c;
    bool ok = false;
    if (t.startsWith(QLatin1Char('$'))) {
        const qlonglong v = t.mid(1).toLongLong(&ok, 16);
        return ok ? TColor(uint32_t(v)) : clNone;
    }
    const qlonglong v = t.toLongLong(&ok);
    return ok ? TColor(uint32_t(v)) : clNone;
}

QString ColorToString(TColor C)
{
    QString ident;
    if (ColorToIdent(C, ident))
        return ident;
    return QStringLiteral("$") + QStringLiteral("%1").arg(uint32_t(C), 8, 16, QLatin1Char('0')).toUpper();
}

QStringList GetColorList()
{
    QStringList l;
    for (const NamedColor& n : ColorTable)
        l << QLatin1String(n.Name);
    l << QStringLiteral("Custom...");
    return l;
}

TColor ColorTableColor(int Index)
{
    return Index >= 0 && Index < ColorTableCount ? ColorTable[Index].Color : clNone;
}

bool IsSameColor(TColor A, TColor B, int Percent)
{
    const TColor a = ColorToRGB(A), b = ColorToRGB(B);
    const int limit = 255 * (100 - Percent) / 100;
    return std::abs(GetRValue(a) - GetRValue(b)) <= limit && std::abs(GetGValue(a) - GetGValue(b)) <= limit &&
           std::abs(GetBValue(a) - GetBValue(b)) <= limit;
}

void DrawDataBar(TCanvas* C, const TRect& R, double Value, double Min, double Max, TColor BarColor, TColor EndColor)
{
    if (Max <= Min)
        return;
    const double f = std::clamp((Value - Min) / (Max - Min), 0.0, 1.0);
    TRect bar = Rect(R.Left + 1, R.Top + 2, R.Left + 1 + int(std::lround((R.Width() - 2) * f)), R.Bottom - 2);
    if (bar.IsEmpty())
        return;
    const TColor from = Resolve(BarColor, RGB(0x63, 0x8E, 0xC6));
    if (EndColor == clNone)
        C->Brush()->SetColor(from), C->FillRect(bar);
    else
        C->GradientFill(bar, from, Resolve(EndColor, clWhite), gdHorizontal);
    C->Brush()->SetColor(from);
    C->FrameRect(bar);
}

void DrawStatusBar(TCanvas* C, const TRect& R, int Position, int Steps, TrStatusBarType Style, TColor ColorAll, TColor ColorDone)
{
    Steps = std::max(1, Steps);
    Position = std::clamp(Position, 0, Steps);
    const TColor all = Resolve(ColorAll, RGB(0xDD, 0xDD, 0xDD));
    const TColor done = Resolve(ColorDone, RGB(0x3C, 0xB3, 0x71));
    const int h = std::max(4, R.Height() - 6);
    const int top = R.Top + (R.Height() - h) / 2;
    C->Pen()->SetColor(clGray);
    if (Style == sbtPie) {
        const TRect box = Bounds(R.Left + 2, top, h, h);
        C->Brush()->SetColor(all);
        C->Ellipse(box);
        if (Position > 0) {
            C->Brush()->SetColor(done);
            const double cx = box.Left + h / 2.0, cy = box.Top + h / 2.0;
            if (Position == Steps) {
                C->Ellipse(box);
            } else {
                // Clockwise from twelve o'clock: the pie runs back from the angle to the top.
                const double a = 2 * M_PI * Position / Steps;
                const int x3 = int(std::lround(cx + h * std::sin(a))), y3 = int(std::lround(cy - h * std::cos(a)));
                C->Pie(box.Left, box.Top, box.Right, box.Bottom, x3, y3, int(std::lround(cx)), box.Top - h);
            }
        }
        return;
    }
    if (Style == sbtProgressBar) {
        const TRect frame = Rect(R.Left + 2, top, R.Right - 2, top + h);
        C->Brush()->SetColor(all);
        C->Rectangle(frame);
        const int w = (frame.Width() - 2) * Position / Steps;
        C->Brush()->SetColor(done);
        C->FillRect(Rect(frame.Left + 1, frame.Top + 1, frame.Left + 1 + w, frame.Bottom - 1));
        return;
    }
    const int gap = 2;
    int size = h;
    if (Style == sbtDots)
        size = std::max(4, h * 2 / 3);
    const int stepW = Style == sbtEllipses ? size * 2 : size;
    const int fit = (R.Width() - 4 + gap) / (stepW + gap);
    const int shown = std::min(Steps, std::max(1, fit));
    for (int i = 0; i < shown; ++i) {
        const bool on = i < Position * shown / Steps;
        C->Brush()->SetColor(on ? done : all);
        const int x = R.Left + 2 + i * (stepW + gap);
        if (Style == sbtSignalStrength) {
            const int bh = std::max(2, h * (i + 1) / shown);
            C->Rectangle(Rect(x, top + h - bh, x + size / 2 + 2, top + h));
        } else {
            const int y = top + (h - size) / 2;
            C->Ellipse(Rect(x, y, x + stepW, y + size));
        }
    }
}

bool LooksLikeRtf(const QString& S) { return S.startsWith(QLatin1String("{\\rtf")); }

QString RtfToPlainText(const QString& Rtf)
{
    if (!LooksLikeRtf(Rtf))
        return Rtf;
    QString out;
    int depth = 0, skipDepth = -1;
    for (int i = 0; i < Rtf.size(); ++i) {
        const QChar ch = Rtf[i];
        if (ch == QLatin1Char('{')) {
            ++depth;
            continue;
        }
        if (ch == QLatin1Char('}')) {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
            continue;
        }
        const bool skipping = skipDepth >= 0;
        if (ch == QLatin1Char('\\') && i + 1 < Rtf.size()) {
            const QChar n = Rtf[i + 1];
            if (n == QLatin1Char('\\') || n == QLatin1Char('{') || n == QLatin1Char('}')) {
                if (!skipping)
                    out += n;
                ++i;
                continue;
            }
            if (n == QLatin1Char('\'') && i + 3 < Rtf.size()) {
                if (!skipping)
                    out += QChar(Rtf.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
                continue;
            }
            int j = i + 1;
            while (j < Rtf.size() && Rtf[j].isLetter())
                ++j;
            const QString word = Rtf.mid(i + 1, j - i - 1);
            int k = j;
            if (k < Rtf.size() && (Rtf[k] == QLatin1Char('-') || Rtf[k].isDigit()))
                ++k;
            while (k < Rtf.size() && Rtf[k].isDigit())
                ++k;
            const int param = Rtf.mid(j, k - j).toInt();
            if (k < Rtf.size() && Rtf[k] == QLatin1Char(' '))
                ++k;
            i = k - 1;
            if (word == QLatin1String("fonttbl") || word == QLatin1String("colortbl") || word == QLatin1String("stylesheet") ||
                word == QLatin1String("info") || (word.isEmpty() && n == QLatin1Char('*')))
                skipDepth = skipping ? skipDepth : depth;
            else if (!skipping && (word == QLatin1String("par") || word == QLatin1String("line")))
                out += QStringLiteral("\r\n");
            else if (!skipping && word == QLatin1String("tab"))
                out += QLatin1Char('\t');
            else if (!skipping && word == QLatin1String("u")) {
                out += QChar(ushort(param < 0 ? param + 65536 : param));
                if (i + 1 < Rtf.size() && Rtf[i + 1] == QLatin1Char('?'))
                    ++i;
            }
            continue;
        }
        if (!skipping && ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
            out += ch;
    }
    while (out.endsWith(QLatin1String("\r\n")))
        out.chop(2);
    return out;
}

}  // namespace sgtools
