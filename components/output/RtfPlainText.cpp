#include "components/output/RtfPlainText.h"

#include <QStringDecoder>

#include <vector>

namespace {

bool IsSkippedDestination(const QString& Word)
{
    static const char* const skipped[] = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                                          "header", "footer", "listtable", "listoverridetable", "generator",
                                          "themedata", "colorschememapping", "latentstyles", "datastore",
                                          "xmlnstbl", "rsidtbl", "mmathPr", "pgdsctbl"};
    for (const char* s : skipped)
        if (Word == QLatin1String(s))
            return true;
    return false;
}

} // namespace

QString RtfToPlainText(const QString& Rtf)
{
    QString out;
    struct TGroup {
        bool Skip;
        int UnicodeSkip;
    };
    std::vector<TGroup> stack{{false, 1}};
    int pendingSkip = 0;
    QStringDecoder cp1252("windows-1252");
    for (int i = 0; i < Rtf.size(); ++i) {
        const QChar c = Rtf[i];
        TGroup& g = stack.back();
        if (c == QLatin1Char('{')) {
            stack.push_back(g);
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (stack.size() > 1)
                stack.pop_back();
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        if (c != QLatin1Char('\\')) {
            if (pendingSkip > 0) {
                --pendingSkip;
                continue;
            }
            if (!g.Skip)
                out += c;
            continue;
        }
        // A control symbol or word.
        if (i + 1 >= Rtf.size())
            break;
        const QChar n = Rtf[i + 1];
        if (n == QLatin1Char('\'') && i + 3 < Rtf.size()) {
            const QByteArray byte(1, char(Rtf.mid(i + 2, 2).toInt(nullptr, 16)));
            i += 3;
            if (pendingSkip > 0) {
                --pendingSkip;
                continue;
            }
            if (!g.Skip && byte[0] != 0)
                out += cp1252.decode(byte);
            continue;
        }
        if (!n.isLetter()) {
            ++i;
            if (n == QLatin1Char('*'))
                g.Skip = true;
            else if (!g.Skip && (n == QLatin1Char('\\') || n == QLatin1Char('{') || n == QLatin1Char('}')))
                out += n;
            else if (!g.Skip && n == QLatin1Char('~'))
                out += QChar(0xA0);
            continue;
        }
        int j = i + 1;
        while (j < Rtf.size() && Rtf[j].isLetter())
            ++j;
        const QString word = Rtf.mid(i + 1, j - i - 1);
        int k = j;
        if (k < Rtf.size() && (Rtf[k] == QLatin1Char('-') || Rtf[k].isDigit())) {
            ++k;
            while (k < Rtf.size() && Rtf[k].isDigit())
                ++k;
        }
        const bool hasParam = k > j;
        const int param = hasParam ? Rtf.mid(j, k - j).toInt() : 0;
        if (k < Rtf.size() && Rtf[k] == QLatin1Char(' '))
            ++k;
        i = k - 1;
        if (IsSkippedDestination(word)) {
            g.Skip = true;
        } else if (word == QLatin1String("uc")) {
            g.UnicodeSkip = param;
        } else if (word == QLatin1String("u") && hasParam) {
            if (!g.Skip)
                out += QChar(ushort(param < 0 ? param + 65536 : param));
            pendingSkip = g.UnicodeSkip;
        } else if (!g.Skip) {
            if (word == QLatin1String("par") || word == QLatin1String("line"))
                out += QStringLiteral("\r\n");
            else if (word == QLatin1String("tab"))
                out += QLatin1Char('\t');
        }
    }
    return out;
}
