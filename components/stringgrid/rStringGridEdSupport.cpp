#include "components/stringgrid/rStringGridEdSupport.h"

namespace sgtools {

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
