// Run formatting in DOCX parts: format markers of RTF memos, start/stop
// markers of InlineFormatting, and the seek-and-format operations. A piece of
// text gets its own run with its own run properties; the font of the run it
// came from is kept.
#include "components/output/TrXMLReport.h"

#include "components/output/TrRTFParser.h"
#include "components/output/rRepText.h"

namespace {

const QString FormatBegin = QStringLiteral("\\*format_begin*\\");
const QString FormatEnd = QStringLiteral("\\*format_end*\\");
const QString PlainBreak = QStringLiteral("</w:t></w:r><w:r><w:t xml:space=\"preserve\">");
constexpr int MaxReplacements = 100001;

struct TRtfFormat {
    const char* On;
    const char* Off;
    const char* Xml;
};
const TRtfFormat RtfFormats[] = {
    {"\\f#", nullptr, "<w:rFonts w:ascii=\"%1\" w:hAnsi=\"%1\" w:cs=\"%1\"/>"},
    {"\\fs#", nullptr, "<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/>"},
    {"\\b", "\\b0", "<w:b/>"},
    {"\\i", "\\i0", "<w:i/>"},
    {"\\ul", "\\ulnone", "<w:u w:val=\"single\"/>"},
    {"\\uldb", "\\ulnone", "<w:u w:val=\"double\"/>"},
    {"\\strike", "\\strikenone", "<w:strike/>"},
    {"\\striked1", "\\strikenone", "<w:dstrike/>"},
};

QString FormattedBreak(const QString& Properties)
{
    return QStringLiteral("</w:t></w:r><w:r><w:rPr>") + Properties + QStringLiteral("</w:rPr><w:t xml:space=\"preserve\">");
}

struct TRunInfo {
    int RunBeginPos = -1;
    int RunEndPos = -1;
    QString RunXML;
    QString RunPrFormatFontSize;
    QString RunPrFormatFontName;
};

QString Element(const QString& Text, const QString& Start)
{
    const int s = Text.indexOf(Start);
    if (s < 0)
        return QString();
    const int e = Text.indexOf(QLatin1String("/>"), s);
    return e < 0 ? QString() : Text.mid(s, e + 2 - s);
}

// The run around position P of the part.
TRunInfo GetRunXMLFormat(const QString& Part, int P)
{
    TRunInfo r;
    int s = std::min(P, int(Part.size()) - 1);
    // A run starts with "<w:r>" or "<w:r "; "<w:rPr" and "<w:rFonts" are no runs.
    auto runStart = [&Part](int at) {
        return QStringView(Part).mid(at, 4).startsWith(QLatin1String("<w:r"), Qt::CaseInsensitive) && at + 4 < Part.size()
               && (Part[at + 4] == QLatin1Char('>') || Part[at + 4] == QLatin1Char(' '));
    };
    while (s >= 0 && !runStart(s))
        --s;
    if (s < 0)
        return r;
    const int e = Part.indexOf(QLatin1String("</w:r>"), s, Qt::CaseInsensitive);
    if (e < 0)
        return r;
    r.RunBeginPos = s;
    r.RunEndPos = e + 6;
    r.RunXML = Part.mid(s, r.RunEndPos - s);
    const int ps = r.RunXML.indexOf(QLatin1String("<w:rPr>")), pe = r.RunXML.indexOf(QLatin1String("</w:rPr>"));
    if (ps >= 0 && pe > ps) {
        const QString props = r.RunXML.mid(ps, pe - ps);
        r.RunPrFormatFontName = Element(props, QStringLiteral("<w:rFonts"));
        const QString sz = Element(props, QStringLiteral("<w:sz "));
        if (!sz.isEmpty())
            r.RunPrFormatFontSize = sz + Element(props, QStringLiteral("<w:szCs"));
    }
    return r;
}

// One marker pair turned into a run break; false when nothing was found.
bool ReplaceOneFormat(QString& Part, const QString& Start, const QString& Stop, const QString& Properties,
                      const QString& FontName, const QString& FontSize)
{
    const int at = Part.indexOf(Start);
    if (at < 0)
        return false;
    const TRunInfo run = GetRunXMLFormat(Part, at);
    if (run.RunBeginPos < 0)
        return false;
    QString xml = run.RunXML;
    int m = xml.indexOf(Start, 0, Qt::CaseInsensitive);
    if (m < 0)
        return false;
    int spaces = 0;
    while (m - spaces - 1 >= 0 && xml[m - spaces - 1] == QLatin1Char(' '))
        ++spaces;
    if (spaces > 0) {
        xml.remove(m - spaces, spaces);
        m -= spaces;
        xml.insert(m, PlainBreak + QString(spaces, QLatin1Char(' ')));
        m += PlainBreak.size() + spaces;
    }
    const QString font = (FontName.isEmpty() ? run.RunPrFormatFontName : FontName)
                         + (FontSize.isEmpty() ? run.RunPrFormatFontSize : FontSize);
    const QString props = Properties + font;
    xml.replace(m, Start.size(), props.isEmpty() ? PlainBreak : FormattedBreak(props));
    if (!Stop.isEmpty()) {
        const int s = xml.indexOf(Stop, m, Qt::CaseInsensitive);
        if (s >= 0)
            xml.replace(s, Stop.size(), font.isEmpty() ? PlainBreak : FormattedBreak(font));
    }
    Part.replace(run.RunBeginPos, run.RunEndPos - run.RunBeginPos, xml);
    return true;
}


} // namespace

QString TrXMLReport::ParseRTFFormat(const QString& Rtf) const
{
    if (!Rtf.startsWith(QLatin1String("{\\rtf1"), Qt::CaseInsensitive))
        return Rtf;
    QStringList supported{QStringLiteral("\\par"), QStringLiteral("\\line")};
    if (FXMLFormat == tfDOCX) {
        for (int f = rtfFontName; f <= rtfStrikeDouble; ++f) {
            if (!(RtfSupportedFormats & (1u << f)))
                continue;
            supported << QString::fromLatin1(RtfFormats[f].On);
            if (RtfFormats[f].Off)
                supported << QString::fromLatin1(RtfFormats[f].Off);
        }
        for (int i = 0; i < RtfCustomFormats.Count(); ++i)
            supported << RtfCustomFormats.Names(i).trimmed();
    }
    TrRTFParser parser;
    parser.RtfContent = Rtf;
    parser.ParseRtfContent(&supported);
    QString result, pending, codes;
    auto flush = [&] {
        if (!codes.isEmpty())
            result += FormatBegin + codes + FormatEnd;
        result += pending;
        pending.clear();
        codes.clear();
    };
    for (int i = 0; i < parser.RtfElements().Count(); ++i) {
        const QString e = parser.RtfElements()[i];
        if (!e.startsWith(QLatin1Char('\\')) && !e.startsWith(QLatin1Char('{'))) {
            pending += e;
        } else if (e.compare(QLatin1String("\\par"), Qt::CaseInsensitive) == 0
                   || e.compare(QLatin1String("\\line"), Qt::CaseInsensitive) == 0) {
            pending += QStringLiteral("\r\n");
        } else {
            flush();
            const QString font = e.startsWith(QLatin1String("\\f")) ? parser.FontTable().Values(e.mid(1)) : QString();
            codes += (font.isEmpty() ? e : QStringLiteral("\\font*") + font) + QLatin1Char(';');
        }
    }
    flush();
    return result;
}

void TrXMLReport::CheckInlineFormat(QString& Part) const
{
    if (FXMLFormat != tfDOCX)
        return;
    QString fontName, fontSize;
    // Format markers left by RTF memos. In the part they stand escaped.
    const QString begin = StrToXML(FormatBegin, tfDOCX), end = StrToXML(FormatEnd, tfDOCX);
    for (int n = 0; n < MaxReplacements; ++n) {
        const int b = Part.indexOf(begin, 0, Qt::CaseInsensitive);
        if (b < 0)
            break;
        const int e = Part.indexOf(end, b + begin.size(), Qt::CaseInsensitive);
        if (e < 0)
            break;
        const QString marker = Part.mid(b, e + end.size() - b);
        QString properties;
        for (const QString& raw : XMLToStr(Part.mid(b + begin.size(), e - b - begin.size())).split(QLatin1Char(';'))) {
            const QString code = raw.trimmed();
            if (code.isEmpty())
                break;
            int custom = -1;
            for (int i = 0; i < RtfCustomFormats.Count() && custom < 0; ++i)
                if (RtfCustomFormats.Names(i).trimmed().compare(code, Qt::CaseInsensitive) == 0)
                    custom = i;
            bool on = false;
            for (int f = rtfBold; f <= rtfStrikeDouble && !on; ++f)
                if (code.compare(QLatin1String(RtfFormats[f].On), Qt::CaseInsensitive) == 0) {
                    properties += QString::fromLatin1(RtfFormats[f].Xml);
                    on = true;
                }
            bool sizeOk = false;
            const int size = code.startsWith(QLatin1String("\\fs")) ? code.mid(3).toInt(&sizeOk) : 0;
            if (custom >= 0)
                properties += RtfCustomFormats.ValueFromIndex(custom);
            else if (on)
                ;
            else if (sizeOk && size > 0)
                fontSize = QString::fromLatin1(RtfFormats[rtfFontSize].Xml).arg(size);
            else if (code.startsWith(QLatin1String("\\font*")))
                fontName = QString::fromLatin1(RtfFormats[rtfFontName].Xml).arg(code.mid(6).trimmed());
        }
        if (!ReplaceOneFormat(Part, marker, QString(), properties, fontName, fontSize))
            Part.remove(b, marker.size());
    }
    // Start/stop markers of InlineFormatting.
    for (int i = 0; i < InlineFormatting.Count(); ++i) {
        const QStringList parts = InlineFormatting[i].trimmed().split(QLatin1Char('\t'));
        if (parts.size() < 3 || parts[2].isEmpty() || parts[0].isEmpty())
            continue;
        for (int n = 0; n < MaxReplacements; ++n)
            if (!ReplaceOneFormat(Part, parts[0], parts[1], parts[2], QString(), QString()))
                break;
    }
}

void TrXMLReport::FormatText(QString& Part, const QString& TextToFormat, unsigned FormatTypes, bool WholeWordOnly,
                             const QString& SeekFrom, const QString& SeekTo) const
{
    if (FXMLFormat != tfDOCX)
        return;
    QString start;
    if (FormatTypes & xfrmBold)
        start += QStringLiteral("<w:b/>");
    if (FormatTypes & xfrmItalic)
        start += QStringLiteral("<w:i/>");
    if (FormatTypes & xfrmUnderline)
        start += QStringLiteral("<w:u w:val=\"single\"/>");
    const int length = TextToFormat.size();
    SeekAndReplace(Part, TextToFormat, WholeWordOnly, SeekFrom, SeekTo, [&](const QString& T, int Pos) {
        // The piece gets a run of its own with the font of the run it stood in;
        // blanks before it keep their width in a run of their own.
        const TRunInfo run = GetRunXMLFormat(T, Pos);
        const QString font = run.RunPrFormatFontName + run.RunPrFormatFontSize;
        int s = Pos;
        while (s > 0 && T[s - 1] == QLatin1Char(' '))
            --s;
        const QString spaces = T.mid(s, Pos - s);
        const QString insert = (spaces.isEmpty() ? QString() : FormattedBreak(font) + spaces) + FormattedBreak(font + start)
                               + T.mid(Pos, length) + FormattedBreak(font);
        return TSeekReplacement{s, Pos + length - s, insert};
    });
}

void TrXMLReport::ReplaceText(QString& Part, const QString& OldText, const QString& NewText, bool WholeWordOnly,
                              const QString& SeekFrom, const QString& SeekTo) const
{
    if (FXMLFormat != tfDOCX)
        return;
    const QString n = ApplyScriptMarks(
        NewText,
        QStringLiteral("</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:t xml:space=\"preserve\">"),
        QStringLiteral("</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"subscript\"/></w:rPr><w:t xml:space=\"preserve\">"),
        PlainBreak);
    const int length = OldText.size();
    SeekAndReplace(Part, OldText, WholeWordOnly, SeekFrom, SeekTo,
                   [&](const QString&, int Pos) { return TSeekReplacement{Pos, length, n}; });
}
