#include "components/output/rXMLMarkup.h"

namespace {

const QString NoBreak = QString(QChar(0xC2)) + QChar(0xA0);
const QString TagOpen = QStringLiteral("&lt;&lt;");
const QString TagClose = QStringLiteral("&gt;&gt;");

TXMLMarkup MakeDocx()
{
    TXMLMarkup m;
    m.EndPar = QStringLiteral("</w:t><w:br/><w:t xml:space=\"preserve\">");
    m.EndPage = QStringLiteral("</w:t><w:br w:type=\"page\"/><w:t xml:space=\"preserve\">");
    m.EndCol = QStringLiteral("</w:t><w:br w:type=\"column\"/><w:t xml:space=\"preserve\">");
    m.Tab = QStringLiteral("</w:t><w:tab/><w:t xml:space=\"preserve\">");
    m.ParBeginAll = QStringLiteral("<w:p><w:r><w:t>");
    m.ParBeginPartStart = QStringLiteral("<w:p><w:pPr>");
    m.ParBeginPartEnd = QStringLiteral("</w:pPr>");
    m.ParBeginPartCont = QStringLiteral("<w:r><w:t>");
    m.ParEndAll = QStringLiteral("</w:t></w:r></w:p>");
    m.TagRemove1 = QStringLiteral("</w:t></w:r><w:r><w:t>");
    m.TableTagBegin = QStringLiteral("<w:tbl>");
    m.TableTagEnd = QStringLiteral("</w:tbl>");
    m.TableRowBegin = QStringLiteral("<w:tr>");
    m.TableRowEnd = QStringLiteral("</w:tr>");
    m.TableCellBegin = QStringLiteral("<w:tc>");
    m.TableCellEnd = QStringLiteral("</w:tc>");
    m.TableJoinTagStart = QStringLiteral("</w:tbl><w:tbl>");
    m.TableJoinTagEnd = QStringLiteral("<w:tbl>");
    m.RelClose = QStringLiteral("</Relationships>");
    return m;
}

TXMLMarkup MakeOdt(bool Flat)
{
    TXMLMarkup m;
    m.EndPar = QStringLiteral("<text:line-break/>");
    m.EndPage = QStringLiteral("<text:soft-page-break/>");
    m.Tab = QStringLiteral("<text:tab/>");
    m.ParBeginPartStart = QStringLiteral("<text:p text:style-name=");
    m.ParBeginPartEnd = QStringLiteral(">");
    m.ParEndAll = QStringLiteral("</text:p>");
    m.TableTagBegin = QStringLiteral("<table:table");
    m.TableTagEnd = QStringLiteral("</table:table>");
    m.TableRowBegin = QStringLiteral("<table:table-row");
    m.TableRowEnd = QStringLiteral("</table:table-row>");
    m.TableCellBegin = QStringLiteral("<table:table-cell");
    m.TableCellEnd = QStringLiteral("</table:table-cell>");
    m.TableJoinTagStart = QStringLiteral("</table:table><table:table");
    m.TableJoinTagEnd = QStringLiteral("</table:table-columns>");
    if (!Flat)
        m.RelClose = QStringLiteral("</manifest:manifest>");
    return m;
}

} // namespace

const TXMLMarkup& XMLMarkup(TXMLTemplateFormat Format)
{
    static const TXMLMarkup none;
    static const TXMLMarkup docx = MakeDocx();
    static const TXMLMarkup odt = MakeOdt(false);
    static const TXMLMarkup flat = MakeOdt(true);
    switch (Format) {
    case tfDOCX: return docx;
    case tfODT: return odt;
    case tfXML: return flat;
    default: return none;
    }
}

QString StrToXML(const QString& Text, TXMLTemplateFormat Format)
{
    QString t = Text;
    t.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    t.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    t.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    t.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    t.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    const TXMLMarkup& m = XMLMarkup(Format);
    t.replace(QLatin1Char('\t'), m.Tab);
    t.replace(QLatin1String("\r\n"), m.EndPar);
    return QString::fromLatin1(t.toUtf8());
}

QString XMLToStr(const QString& Part)
{
    static const std::pair<const char*, char> refs[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    QString r;
    r.reserve(Part.size());
    for (int i = 0; i < Part.size(); ++i) {
        bool replaced = false;
        if (Part[i] == QLatin1Char('&')) {
            for (const auto& [ref, ch] : refs) {
                const QLatin1String name(ref);
                if (QStringView(Part).mid(i).startsWith(name)) {
                    r += QLatin1Char(ch);
                    i += int(name.size()) - 1;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            r += Part[i];
    }
    return QString::fromUtf8(r.toLatin1());
}

void ExtractIntXMLTags(QString& Part)
{
    int p = 0;
    for (;;) {
        const int open = Part.indexOf(TagOpen, p);
        if (open < 0)
            return;
        const int close = Part.indexOf(TagClose, open + TagOpen.size());
        if (close < 0)
            return;
        p = open;
        const QString inner = Part.mid(open + TagOpen.size(), close - open - TagOpen.size());
        const int length = inner.size() + TagOpen.size() + TagClose.size();
        QString leading, plain, trailing, rest = inner;
        for (;;) {
            const int lt = rest.indexOf(QLatin1Char('<'));
            const int gt = rest.indexOf(QLatin1Char('>'));
            if (lt < 0 || gt < lt)
                break;
            const QString element = rest.mid(lt, gt - lt + 1);
            if (lt == 0 && plain.isEmpty())
                leading += element;
            else {
                plain += rest.left(lt);
                trailing += element;
            }
            rest = rest.mid(gt + 1);
        }
        plain += rest;
        // Rebuilt only when text came before some markup.
        if (!trailing.isEmpty()) {
            Part.remove(p, length);
            if (p > 0 && Part[p - 1] == QLatin1Char(' ')) {
                Part.replace(p - 1, 1, NoBreak);
                ++p;
            }
            if (p < Part.size() && Part[p] == QLatin1Char(' '))
                Part.replace(p, 1, NoBreak);
            const QString rebuilt = leading + TagOpen + plain + TagClose + trailing;
            Part.insert(p, rebuilt);
        }
        p += length;
    }
}

void ClearBookmarkPart(QString& Part, TXMLTemplateFormat Format)
{
    const QString runEnd = QStringLiteral("</w:t></w:r>");
    // 1. Join the two runs around a bookmark.
    for (;;) {
        const int b = Part.indexOf(QLatin1String("<w:bookmarkStart"));
        if (b < runEnd.size() || Part.mid(b - runEnd.size(), runEnd.size()).compare(runEnd, Qt::CaseInsensitive) != 0)
            break;
        const int s = b - runEnd.size();
        const int e = Part.indexOf(QLatin1String("<w:bookmarkEnd"), b);
        const int close = e < 0 ? -1 : Part.indexOf(QLatin1String("/>"), e);
        const int t = close < 0 ? -1 : Part.indexOf(QLatin1String("<w:t>"), close + 2);
        if (t < 0 || t > close + 2 + 5)
            break;
        Part.remove(s, t + 5 - s);
    }
    // 2-3. Remove the remaining bookmark elements; one whose end lies too far stays.
    for (const char* element : {"<w:bookmarkStart", "<w:bookmarkEnd"}) {
        int from = 0;
        for (;;) {
            const int b = Part.indexOf(QLatin1String(element), from);
            if (b < 0)
                break;
            const int close = Part.mid(b, 200).indexOf(QLatin1String("/>"));
            if (close < 0) {
                from = b + 1;
                continue;
            }
            Part.remove(b, close + 2);
            from = b;
        }
    }
    // 4.
    const QString& join = XMLMarkup(Format).TagRemove1;
    if (!join.isEmpty())
        Part.remove(join);
}

void ClearEmptyParPart(QString& Part, TXMLTemplateFormat Format)
{
    const TXMLMarkup& m = XMLMarkup(Format);
    if (!m.ParBeginAll.isEmpty())
        Part.remove(m.ParBeginAll + m.ParEndAll);
    if (m.ParBeginPartStart.isEmpty())
        return;
    const QString emptyRest = m.ParBeginPartCont + m.ParEndAll;
    int p = 0;
    for (;;) {
        const int t = Part.indexOf(m.TableTagBegin, p);
        const int s = Part.indexOf(m.ParBeginPartStart, p);
        if (s < 0)
            return;
        if (t >= 0 && s > t) {
            const int end = Part.indexOf(m.TableTagEnd, t);
            if (end < 0)
                return;
            p = end;
            continue;
        }
        p = s;
        const int e = Part.indexOf(m.ParBeginPartEnd, s);
        if (e < 0)
            return;
        const int after = e + m.ParBeginPartEnd.size();
        if (QStringView(Part).mid(after).startsWith(emptyRest))
            Part.remove(s, after + emptyRest.size() - s);
        else
            p = after;
    }
}

void JoinTables(QString& Part, TXMLTemplateFormat Format)
{
    const TXMLMarkup& m = XMLMarkup(Format);
    if (m.TableJoinTagStart.isEmpty())
        return;
    int p = 0;
    for (;;) {
        const int s = Part.indexOf(m.TableJoinTagStart, p);
        if (s < 0)
            return;
        const int e = Part.indexOf(m.TableJoinTagEnd, s + (Format == tfDOCX ? QStringLiteral("</w:tbl>").size() : 0));
        if (e < 0)
            return;
        Part.remove(s, e + m.TableJoinTagEnd.size() - s);
        p = s;
    }
}
