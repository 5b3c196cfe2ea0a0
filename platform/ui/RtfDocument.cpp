#include "platform/ui/RtfDocument.h"

#include <QColor>
#include <QFont>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cmath>
#include <map>
#include <vector>

namespace {

// ---- writing ---------------------------------------------------------------------------------

struct Tables {
    QStringList Fonts;
    std::vector<QRgb> Colors;  // index 0 is the "auto" colour

    int Font(const QString& Name)
    {
        int i = int(Fonts.indexOf(Name));
        if (i < 0) {
            Fonts.append(Name);
            i = int(Fonts.size()) - 1;
        }
        return i;
    }
    int Color(const QColor& C)
    {
        const QRgb v = C.rgb() & 0xFFFFFF;
        for (size_t i = 1; i < Colors.size(); ++i)
            if (Colors[i] == v)
                return int(i);
        Colors.push_back(v);
        return int(Colors.size()) - 1;
    }
};

QString EscapeText(const QString& Text)
{
    QString r;
    for (const QChar ch : Text) {
        const ushort u = ch.unicode();
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('{') || ch == QLatin1Char('}'))
            r += QLatin1Char('\\') + ch;
        else if (ch == QLatin1Char('\t'))
            r += QStringLiteral("\\tab ");
        else if (u == 0x2028 || ch == QLatin1Char('\n'))
            r += QStringLiteral("\\line ");
        else if (u >= 0x80)
            r += QStringLiteral("\\u%1?").arg(int(int16_t(u)));
        else if (u >= 0x20)
            r += ch;
    }
    return r;
}

int NumberingOf(const QTextBlock& Block)
{
    const QTextList* list = Block.textList();
    if (!list)
        return 0;
    switch (list->format().style()) {
    case QTextListFormat::ListDecimal:
        return 2;
    case QTextListFormat::ListLowerAlpha:
        return 3;
    default:
        return 1;
    }
}

// The paragraph's controls; the numbering groups come first so that the
// controls end with a control word and the blank after it is no text.
QString ParagraphControls(const QTextBlock& Block)
{
    const QTextBlockFormat f = Block.blockFormat();
    QString r = QStringLiteral("\\pard");
    switch (NumberingOf(Block)) {
    case 1:
        r += QStringLiteral("{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'B7}}");
        break;
    case 2:
        r += QStringLiteral("{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta.}}");
        break;
    case 3:
        r += QStringLiteral("{\\*\\pn\\pnlvlbody\\pnlcltr\\pnstart1\\pnindent360{\\pntxta)}}");
        break;
    default:
        break;
    }
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        r += QStringLiteral("\\qc");
    else if (a & Qt::AlignRight)
        r += QStringLiteral("\\qr");
    else if (a & Qt::AlignJustify)
        r += QStringLiteral("\\qj");
    else
        r += QStringLiteral("\\ql");
    const int left = int(std::lround(f.leftMargin())), first = int(std::lround(f.textIndent()));
    const int right = int(std::lround(f.rightMargin()));
    if (left)
        r += QStringLiteral("\\li%1").arg(left * RtfTwipsPerPixel);
    if (first)
        r += QStringLiteral("\\fi%1").arg(first * RtfTwipsPerPixel);
    if (right)
        r += QStringLiteral("\\ri%1").arg(right * RtfTwipsPerPixel);
    return r + QLatin1Char(' ');
}

QString CharControls(const QTextCharFormat& F, const QFont& Default, Tables& T)
{
    QString r;
    r += QStringLiteral("\\f%1").arg(T.Font(F.fontFamilies().toStringList().value(0, Default.family())));
    const double pt = F.fontPointSize() > 0          ? F.fontPointSize()
                      : Default.pointSizeF() > 0 ? Default.pointSizeF()
                                                 : Default.pixelSize() * 72.0 / 96.0;
    r += QStringLiteral("\\fs%1").arg(int(std::lround(pt * 2)));
    if (F.foreground().style() != Qt::NoBrush)
        r += QStringLiteral("\\cf%1").arg(T.Color(F.foreground().color()));
    else
        r += QStringLiteral("\\cf0");
    r += F.fontWeight() >= QFont::Bold ? QStringLiteral("\\b") : QStringLiteral("\\b0");
    r += F.fontItalic() ? QStringLiteral("\\i") : QStringLiteral("\\i0");
    r += F.fontUnderline() ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone");
    r += F.fontStrikeOut() ? QStringLiteral("\\strike") : QStringLiteral("\\strike0");
    return r + QLatin1Char(' ');
}

// ---- reading ---------------------------------------------------------------------------------

struct CharState {
    int Font = 0;
    int HalfPoints = 24;
    int Color = 0;
    bool Bold = false, Italic = false, Underline = false, Strike = false;
};

struct ParaState {
    Qt::Alignment Align = Qt::AlignLeft;
    int Left = 0, First = 0, Right = 0;  // twips
    int Numbering = 0;
};

struct GroupState {
    CharState Char;
    ParaState Para;
    enum Kind { Text, Skip, FontTable, ColorTable, PnText } Dest = Text;
    int UnicodeSkip = 1;
};

class RtfReader {
public:
    RtfReader(const QString& Rtf, QTextDocument& Doc) : FIn(Rtf), FDoc(Doc), FCursor(&Doc) {}

    void Run()
    {
        FDoc.clear();
        FCursor = QTextCursor(&FDoc);
        FStack.push_back(GroupState());
        while (FPos < FIn.size()) {
            const QChar ch = FIn[FPos++];
            if (ch == QLatin1Char('{'))
                FStack.push_back(FStack.back());
            else if (ch == QLatin1Char('}')) {
                EndGroup();
            } else if (ch == QLatin1Char('\\'))
                ControlWord();
            else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                continue;
            else
                Text(QString(ch));
        }
        Flush();
        ApplyParagraph();
    }

private:
    GroupState& Top() { return FStack.back(); }

    void EndGroup()
    {
        const GroupState ended = FStack.back();
        if (ended.Dest == GroupState::FontTable && !FFontName.isEmpty())
            StoreFont();
        Flush();
        if (FStack.size() > 1)
            FStack.pop_back();
        // character formats end with their group; the paragraph's carry on
        if (ended.Dest == GroupState::Text)
            FStack.back().Para = ended.Para;
    }

    void ControlWord()
    {
        if (FPos >= FIn.size())
            return;
        const QChar ch = FIn[FPos];
        if (!ch.isLetter()) {
            ++FPos;
            if (ch == QLatin1Char('\''))
                HexChar();
            else if (ch == QLatin1Char('*'))
                Top().Dest = GroupState::Skip;
            else if (ch == QLatin1Char('~'))
                Text(QString(QChar(0xA0)));
            else if (ch == QLatin1Char('\\') || ch == QLatin1Char('{') || ch == QLatin1Char('}'))
                Text(QString(ch));
            else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                NewParagraph();
            return;
        }
        QString word;
        while (FPos < FIn.size() && FIn[FPos].isLetter())
            word += FIn[FPos++];
        bool hasParam = false;
        int param = 0;
        int sign = 1;
        if (FPos < FIn.size() && FIn[FPos] == QLatin1Char('-')) {
            sign = -1;
            ++FPos;
        }
        QString digits;
        while (FPos < FIn.size() && FIn[FPos].isDigit())
            digits += FIn[FPos++];
        if (!digits.isEmpty()) {
            hasParam = true;
            param = sign * digits.toInt();
        }
        if (FPos < FIn.size() && FIn[FPos] == QLatin1Char(' '))
            ++FPos;
        Apply(word, hasParam, param);
    }

    void HexChar()
    {
        const int code = FIn.mid(FPos, 2).toInt(nullptr, 16);
        FPos += 2;
        if (FSkipChars > 0) {
            --FSkipChars;
            return;
        }
        const char byte = char(code);
        auto decode = QStringDecoder("Windows-1252");
        Text(decode(QByteArray(&byte, 1)));
    }

    void Apply(const QString& W, bool HasParam, int P)
    {
        GroupState& g = Top();
        CharState& c = g.Char;
        ParaState& p = g.Para;
        const bool on = !HasParam || P != 0;
        if (W == QLatin1String("fonttbl"))
            g.Dest = GroupState::FontTable;
        else if (W == QLatin1String("colortbl")) {
            g.Dest = GroupState::ColorTable;
            FRed = FGreen = FBlue = -1;
        } else if (W == QLatin1String("stylesheet") || W == QLatin1String("info") || W == QLatin1String("pict")
                   || W == QLatin1String("object") || W == QLatin1String("header") || W == QLatin1String("footer")
                   || W == QLatin1String("listtable") || W == QLatin1String("listoverridetable")
                   || W == QLatin1String("generator"))
            g.Dest = GroupState::Skip;
        else if (W == QLatin1String("pntext") || W == QLatin1String("listtext"))
            g.Dest = GroupState::PnText;
        else if (W == QLatin1String("pn")) {
            g.Dest = GroupState::Skip;
            SetNumbering(1);  // a bullet unless \pndec or \pnlcltr follows
        }
        else if (W == QLatin1String("pnlvlblt"))
            SetNumbering(1);
        else if (W == QLatin1String("pndec"))
            SetNumbering(2);
        else if (W == QLatin1String("pnlcltr"))
            SetNumbering(3);
        else if (g.Dest == GroupState::FontTable && W == QLatin1String("f"))
            FFontIndex = P;
        else if (g.Dest == GroupState::ColorTable) {
            if (W == QLatin1String("red"))
                FRed = P;
            else if (W == QLatin1String("green"))
                FGreen = P;
            else if (W == QLatin1String("blue"))
                FBlue = P;
        } else if (W == QLatin1String("par"))
            NewParagraph();
        else if (W == QLatin1String("pard"))
            p = ParaState();
        else if (W == QLatin1String("plain"))
            c = CharState();
        else if (W == QLatin1String("f"))
            c.Font = P;
        else if (W == QLatin1String("fs"))
            c.HalfPoints = HasParam ? P : 24;
        else if (W == QLatin1String("cf"))
            c.Color = P;
        else if (W == QLatin1String("b"))
            c.Bold = on;
        else if (W == QLatin1String("i"))
            c.Italic = on;
        else if (W == QLatin1String("ul"))
            c.Underline = on;
        else if (W == QLatin1String("ulnone"))
            c.Underline = false;
        else if (W == QLatin1String("strike"))
            c.Strike = on;
        else if (W == QLatin1String("ql"))
            p.Align = Qt::AlignLeft;
        else if (W == QLatin1String("qc"))
            p.Align = Qt::AlignHCenter;
        else if (W == QLatin1String("qr"))
            p.Align = Qt::AlignRight;
        else if (W == QLatin1String("qj"))
            p.Align = Qt::AlignJustify;
        else if (W == QLatin1String("li"))
            p.Left = P;
        else if (W == QLatin1String("fi"))
            p.First = P;
        else if (W == QLatin1String("ri"))
            p.Right = P;
        else if (W == QLatin1String("tab"))
            Text(QStringLiteral("\t"));
        else if (W == QLatin1String("line"))
            Text(QString(QChar(0x2028)));
        else if (W == QLatin1String("uc"))
            g.UnicodeSkip = P;
        else if (W == QLatin1String("u")) {
            Text(QString(QChar(ushort(int16_t(P)))));
            FSkipChars = g.UnicodeSkip;
            return;
        } else if (W == QLatin1String("emdash"))
            Text(QString(QChar(0x2014)));
        else if (W == QLatin1String("endash"))
            Text(QString(QChar(0x2013)));
        else if (W == QLatin1String("bullet"))
            Text(QString(QChar(0x2022)));
        else if (W == QLatin1String("lquote"))
            Text(QString(QChar(0x2018)));
        else if (W == QLatin1String("rquote"))
            Text(QString(QChar(0x2019)));
        else if (W == QLatin1String("ldblquote"))
            Text(QString(QChar(0x201C)));
        else if (W == QLatin1String("rdblquote"))
            Text(QString(QChar(0x201D)));
    }

    void SetNumbering(int N)
    {
        // \pn sits in its own group: the numbering belongs to the paragraph outside it
        for (size_t i = FStack.size(); i-- > 0;) {
            FStack[i].Para.Numbering = N;
            if (FStack[i].Dest == GroupState::Text)
                break;
        }
    }

    void Text(const QString& S)
    {
        GroupState& g = Top();
        if (FSkipChars > 0 && S.size() == 1 && g.Dest != GroupState::Skip) {
            // the fallback characters after \uN
            --FSkipChars;
            return;
        }
        switch (g.Dest) {
        case GroupState::FontTable:
            if (S == QLatin1String(";"))
                StoreFont();
            else
                FFontName += S;
            return;
        case GroupState::ColorTable:
            if (S == QLatin1String(";")) {
                FColors.push_back(FRed < 0 ? QColor() : QColor(FRed, std::max(FGreen, 0), std::max(FBlue, 0)));
                FRed = FGreen = FBlue = -1;
            }
            return;
        case GroupState::Skip:
        case GroupState::PnText:
            return;
        case GroupState::Text:
            break;
        }
        if (!FPending.isEmpty() && !SameFormat(FPendingFormat, g.Char))
            Flush();
        FPendingFormat = g.Char;
        FPending += S;
    }

    static bool SameFormat(const CharState& A, const CharState& B)
    {
        return A.Font == B.Font && A.HalfPoints == B.HalfPoints && A.Color == B.Color && A.Bold == B.Bold
               && A.Italic == B.Italic && A.Underline == B.Underline && A.Strike == B.Strike;
    }

    void StoreFont()
    {
        FFonts[FFontIndex] = FFontName.trimmed();
        FFontName.clear();
    }

    QTextCharFormat CharFormatOf(const CharState& C) const
    {
        QTextCharFormat f;
        const auto font = FFonts.find(C.Font);
        if (font != FFonts.end() && !font->second.isEmpty())
            f.setFontFamilies({font->second});
        f.setFontPointSize(C.HalfPoints / 2.0);
        if (C.Color > 0 && C.Color < int(FColors.size()) && FColors[size_t(C.Color)].isValid())
            f.setForeground(FColors[size_t(C.Color)]);
        f.setFontWeight(C.Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(C.Italic);
        f.setFontUnderline(C.Underline);
        f.setFontStrikeOut(C.Strike);
        return f;
    }

    void Flush()
    {
        if (FPending.isEmpty())
            return;
        const QTextCharFormat f = CharFormatOf(FPendingFormat);
        // a paragraph's bullet or number takes the format of its first text
        if (FCursor.block().length() == 1)
            FCursor.setBlockCharFormat(f);
        FCursor.insertText(FPending, f);
        FPending.clear();
    }

    // Gives the current block the paragraph format in force. List membership
    // is kept in the block format, so the margins are merged, never set over it;
    // lists are looked up afresh (Qt frees a list once its last block left it).
    void ApplyParagraph()
    {
        const ParaState& p = Top().Para;
        QTextBlockFormat bf;
        bf.setAlignment(p.Align);
        bf.setLeftMargin(double(p.Left) / RtfTwipsPerPixel);
        bf.setTextIndent(double(p.First) / RtfTwipsPerPixel);
        bf.setRightMargin(double(p.Right) / RtfTwipsPerPixel);
        const QTextBlock block = FCursor.block();
        QTextList* current = FCursor.currentList();
        if (p.Numbering == 0) {
            if (current)
                current->remove(block);
            FCursor.mergeBlockFormat(bf);
            return;
        }
        const QTextListFormat::Style style = p.Numbering == 2   ? QTextListFormat::ListDecimal
                                             : p.Numbering == 3 ? QTextListFormat::ListLowerAlpha
                                                                : QTextListFormat::ListDisc;
        if (!(current && current->format().style() == style)) {
            if (current)
                current->remove(block);
            QTextList* previous = block.previous().isValid() ? block.previous().textList() : nullptr;
            if (previous && previous->format().style() == style)
                previous->add(block);
            else {
                QTextListFormat lf;
                lf.setStyle(style);
                lf.setIndent(0);
                if (p.Numbering == 2)
                    lf.setNumberSuffix(QStringLiteral("."));
                else if (p.Numbering == 3)
                    lf.setNumberSuffix(QStringLiteral(")"));
                FCursor.createList(lf);
            }
        }
        FCursor.mergeBlockFormat(bf);
    }

    void NewParagraph()
    {
        Flush();
        ApplyParagraph();
        FCursor.insertBlock();
    }

    QString FIn;
    int FPos = 0;
    QTextDocument& FDoc;
    QTextCursor FCursor;
    std::vector<GroupState> FStack;
    std::map<int, QString> FFonts;
    QString FFontName;
    int FFontIndex = 0;
    std::vector<QColor> FColors;
    int FRed = -1, FGreen = -1, FBlue = -1;
    QString FPending;
    CharState FPendingFormat;
    int FSkipChars = 0;
};

}  // namespace

QString WriteRtf(const QTextDocument& Doc)
{
    Tables t;
    t.Colors.push_back(0);
    QString body;
    for (QTextBlock b = Doc.begin(); b.isValid(); b = b.next()) {
        body += ParagraphControls(b);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid())
                continue;
            body += CharControls(frag.charFormat(), Doc.defaultFont(), t) + EscapeText(frag.text());
        }
        if (b.next().isValid())
            body += QStringLiteral("\\par\n");
    }
    QString r = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (int i = 0; i < t.Fonts.size(); ++i)
        r += QStringLiteral("{\\f%1\\fnil %2;}").arg(i).arg(EscapeText(t.Fonts[i]));
    if (t.Fonts.isEmpty())
        r += QStringLiteral("{\\f0\\fnil Tahoma;}");
    r += QStringLiteral("}\n{\\colortbl ;");
    for (size_t i = 1; i < t.Colors.size(); ++i)
        r += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(qRed(t.Colors[i])).arg(qGreen(t.Colors[i])).arg(qBlue(t.Colors[i]));
    r += QStringLiteral("}\n\\viewkind4") + body + QStringLiteral("\\par\n}\n");
    return r;
}

bool ReadRtf(const QString& Rtf, QTextDocument& Doc)
{
    if (!Rtf.trimmed().startsWith(QLatin1String("{\\rtf")))
        return false;
    RtfReader(Rtf, Doc).Run();
    // the writer ends every document with \par: the empty paragraph after it is not content
    QTextBlock last = Doc.lastBlock();
    if (Doc.blockCount() > 1 && last.text().isEmpty()) {
        QTextCursor c(&Doc);
        c.movePosition(QTextCursor::End);
        c.deletePreviousChar();
    }
    return true;
}
