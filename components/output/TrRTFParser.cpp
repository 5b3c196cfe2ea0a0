#include "components/output/TrRTFParser.h"

#include <QStringDecoder>

bool TrRTFParser::IsRtfFormat() const
{
    return RtfContent.startsWith(QLatin1String("{\\rtf1"), Qt::CaseInsensitive);
}

void TrRTFParser::ParseText(const QString& Text, QStringList& Pieces) const
{
    int depth = 0;
    QString piece;
    auto add = [&] {
        if (!piece.isEmpty())
            Pieces << piece;
        piece.clear();
    };
    bool tagActive = false;
    QStringDecoder ansi("windows-1252");
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        const QChar next = i + 1 < Text.size() ? Text[i + 1] : QLatin1Char(' ');
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (depth == 0 && tagActive) {
                add();
                tagActive = false;
            }
        } else if (c == QLatin1Char(' ')) {
            if (depth == 0 && tagActive) {
                add();
                tagActive = false;
            } else {
                piece += c;
            }
        } else if (c == QLatin1Char('\\')) {
            if (depth > 0) {
                piece += c;
            } else if (next == QLatin1Char('\'')) {
                bool ok = false;
                const int code = Text.mid(i + 2, 2).toInt(&ok, 16);
                if (tagActive) {
                    add();
                    tagActive = false;
                }
                if (ok && code != 0)
                    piece += ansi.decode(QByteArray(1, char(code)));
                i += 3;
            } else if (next == QLatin1Char('\\') || next == QLatin1Char('{') || next == QLatin1Char('}')) {
                if (tagActive) {
                    add();
                    tagActive = false;
                }
                if (piece.isEmpty())
                    piece += QLatin1Char(' ');
                piece += next;
                ++i;
            } else {
                add();
                piece = QStringLiteral("\\");
                tagActive = true;
            }
        } else if (c == QLatin1Char('{')) {
            if (depth == 0 && tagActive) {
                add();
                tagActive = false;
            }
            piece += c;
            ++depth;
        } else if (c == QLatin1Char('}')) {
            if (--depth < 0) {
                add();
                return;
            }
            piece += c;
            if (depth == 0) {
                add();
                tagActive = false;
            }
        } else {
            // A control word ends at the first character that is not part of it.
            if (depth == 0 && tagActive && !(c.isLetter() || c.isDigit() || (c == QLatin1Char('-') && piece.size() > 1))) {
                add();
                tagActive = false;
            }
            piece += c;
        }
    }
    add();
}

bool TrRTFParser::MatchesPattern(const QString& Piece, const QString& Pattern)
{
    if (Pattern.endsWith(QLatin1Char('*')))
        return Piece.startsWith(Pattern.left(Pattern.size() - 1), Qt::CaseInsensitive);
    if (Pattern.endsWith(QLatin1Char('#'))) {
        const QString stem = Pattern.left(Pattern.size() - 1);
        if (!Piece.startsWith(stem, Qt::CaseInsensitive) || Piece.size() == stem.size())
            return false;
        for (int i = stem.size(); i < Piece.size(); ++i)
            if (!Piece[i].isDigit())
                return false;
        return true;
    }
    return Piece.compare(Pattern, Qt::CaseInsensitive) == 0;
}

void TrRTFParser::ParseFontTbl(const QString& Piece)
{
    QString t = Piece.mid(Piece.indexOf(QLatin1String("{\\fonttbl"), 0, Qt::CaseInsensitive) + 9);
    for (;;) {
        const int s = t.indexOf(QLatin1String("{\\*\\"));
        if (s < 0)
            break;
        const int e = t.indexOf(QLatin1Char('}'), s);
        if (e < 0)
            break;
        t.replace(s, e - s + 1, QLatin1String(" "));
    }
    for (;;) {
        const int s = t.indexOf(QLatin1String("{\\"));
        if (s < 0)
            break;
        t = t.mid(s + 2);
        const int e = t.indexOf(QLatin1Char('}'));
        const QString entry = e < 0 ? t : t.left(e);
        const int slash = entry.indexOf(QLatin1Char('\\'));
        const QString key = (slash < 0 ? entry : entry.left(slash)).trimmed();
        QString name = entry.mid(entry.lastIndexOf(QLatin1Char('\\')) + 1);
        const int space = name.indexOf(QLatin1Char(' '));
        name = space < 0 ? QString() : name.mid(space + 1);
        const int semi = name.indexOf(QLatin1Char(';'));
        if (semi >= 0)
            name = name.left(semi);
        name = name.trimmed();
        if (!key.isEmpty() && !name.isEmpty())
            FFontTable.Add(key + QLatin1Char('=') + name);
        if (e < 0)
            break;
        t = t.mid(e + 1);
    }
}

void TrRTFParser::ParseRtfContent(const QStringList* SupportedTags)
{
    FRtfElements.Clear();
    FFontTable.Clear();
    if (!IsRtfFormat())
        return;
    QStringList pieces;
    ParseText(RtfContent.mid(6), pieces);
    // 1. Right-to-left groups are opened and their pieces taken in place.
    QStringList flat;
    for (const QString& p : pieces) {
        if (p.startsWith(QLatin1String("{\\rtlch"), Qt::CaseInsensitive))
            ParseText(p.mid(1), flat);
        else
            flat << p;
    }
    // 2. Text collects until an accepted control word.
    QString pending;
    for (const QString& p : flat) {
        if (!p.startsWith(QLatin1Char('\\')) && !p.startsWith(QLatin1Char('{'))) {
            pending += p;
            continue;
        }
        if (p.contains(QLatin1String("{\\fonttbl"), Qt::CaseInsensitive)) {
            ParseFontTbl(p);
            continue;
        }
        bool accepted = !SupportedTags;
        for (int i = 0; SupportedTags && i < SupportedTags->size() && !accepted; ++i)
            accepted = MatchesPattern(p, SupportedTags->at(i));
        if (!accepted)
            continue;
        if (!pending.isEmpty())
            FRtfElements.Add(pending);
        pending.clear();
        FRtfElements.Add(p);
    }
    if (!pending.isEmpty())
        FRtfElements.Add(pending);
}
