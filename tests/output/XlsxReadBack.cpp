#include "tests/output/XlsxReadBack.h"

#include "platform/office/rzip_interface.h"

#include <QXmlStreamReader>
#include <vector>

namespace {

QString Entry(Trzip_interface& Z, const char* Name)
{
    QString s;
    Z.ExtractToString(QString::fromLatin1(Name), s);
    return QString::fromUtf8(s.toLatin1());  // the package hands out one byte per character
}

QStringList SharedStrings(const QString& Xml)
{
    QStringList out;
    QXmlStreamReader r(Xml);
    QString cur;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("si"))
            cur.clear();
        else if (r.isStartElement() && r.name() == QLatin1String("t"))
            cur += r.readElementText();
        else if (r.isEndElement() && r.name() == QLatin1String("si"))
            out << cur;
    }
    return out;
}

struct TStyles {
    std::vector<QString> Fmt;
    std::vector<bool> Bold, Border;
};

QString BuiltInFormat(int Id)
{
    switch (Id) {
    case 0: return QString();
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    default: return QStringLiteral("builtin:%1").arg(Id);
    }
}

TStyles Styles(const QString& Xml)
{
    QMap<int, QString> custom;
    std::vector<bool> fontBold, borderOn;
    TStyles s;
    QXmlStreamReader r(Xml);
    QString section;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        const auto n = r.name();
        if (n == QLatin1String("numFmt"))
            custom[r.attributes().value(QLatin1String("numFmtId")).toInt()] = r.attributes().value(QLatin1String("formatCode")).toString();
        else if (n == QLatin1String("fonts") || n == QLatin1String("cellXfs") || n == QLatin1String("cellStyleXfs") || n == QLatin1String("borders"))
            section = n.toString();
        else if (n == QLatin1String("font") && section == QLatin1String("fonts"))
            fontBold.push_back(false);
        else if (n == QLatin1String("b") && section == QLatin1String("fonts") && !fontBold.empty())
            fontBold.back() = true;
        else if (n == QLatin1String("border") && section == QLatin1String("borders"))
            borderOn.push_back(false);
        else if (section == QLatin1String("borders") && n == QLatin1String("left") && r.attributes().hasAttribute(QLatin1String("style")))
            borderOn.back() = true;
        else if (n == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
            const int id = r.attributes().value(QLatin1String("numFmtId")).toInt();
            s.Fmt.push_back(custom.contains(id) ? custom[id] : BuiltInFormat(id));
            const size_t font = size_t(r.attributes().value(QLatin1String("fontId")).toInt());
            const size_t border = size_t(r.attributes().value(QLatin1String("borderId")).toInt());
            s.Bold.push_back(font < fontBold.size() && fontBold[font]);
            s.Border.push_back(border < borderOn.size() && borderOn[border]);
        }
    }
    return s;
}

}  // namespace

TXlsxReadBack ReadXlsx(const QString& FileName)
{
    TXlsxReadBack out;
    Trzip_interface z;
    z.Load();
    if (z.OpenArchive(FileName) != 0)
        return out;
    const QStringList strings = SharedStrings(Entry(z, "xl/sharedStrings.xml"));
    const TStyles st = Styles(Entry(z, "xl/styles.xml"));
    const QString sheet = Entry(z, "xl/worksheets/sheet1.xml");
    out.SheetXml = sheet;
    out.StylesXml = Entry(z, "xl/styles.xml");
    z.CloseArchive(false);
    QXmlStreamReader r(sheet);
    QString ref, type;
    TReadCell cell;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const auto n = r.name();
            const auto a = r.attributes();
            if (n == QLatin1String("col")) {
                for (int c = a.value(QLatin1String("min")).toInt(); c <= a.value(QLatin1String("max")).toInt(); ++c)
                    out.Widths[c] = a.value(QLatin1String("width")).toDouble();
            } else if (n == QLatin1String("pane")) {
                out.FrozenRows = a.value(QLatin1String("ySplit")).toInt();
            } else if (n == QLatin1String("c")) {
                ref = a.value(QLatin1String("r")).toString();
                type = a.value(QLatin1String("t")).toString();
                cell = TReadCell();
                const size_t s = size_t(a.value(QLatin1String("s")).toInt());
                if (s < st.Fmt.size()) {
                    cell.NumFormat = st.Fmt[s];
                    cell.Bold = st.Bold[s];
                    cell.Border = st.Border[s];
                }
            } else if (n == QLatin1String("v")) {
                const QString v = r.readElementText();
                cell.Value = type == QLatin1String("s") ? strings.value(v.toInt()) : v;
            } else if (n == QLatin1String("f")) {
                cell.Formula = r.readElementText();
            } else if (n == QLatin1String("t") && type == QLatin1String("inlineStr")) {
                cell.Value += r.readElementText();
            }
        } else if (r.isEndElement() && r.name() == QLatin1String("c")) {
            out.Cells[ref] = cell;
        }
    }
    out.Ok = !r.hasError();
    return out;
}
