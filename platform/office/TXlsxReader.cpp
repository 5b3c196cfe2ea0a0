// Reading a workbook back. libxlsxwriter only writes, so the package is
// opened with libzip and its parts read as XML: the workbook part for the
// sheets, named ranges and active sheet, the relationships for where each
// sheet lies, the shared strings, the styles for number formats and bold
// or italic fonts, and each sheet's cells and column widths. Any .xlsx that
// LibreOffice, Excel or we ourselves wrote reads this way.

#include "platform/office/TXlsxWorkbook.h"
#include "platform/office/XlsxPackage.h"

#include "platform/rtl/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QHash>
#include <QXmlStreamReader>
#include <memory>

namespace {

QString BuiltInNumFormat(int Id)
{
    static const QHash<int, QString> formats{
        {1, QStringLiteral("0")},          {2, QStringLiteral("0.00")},         {3, QStringLiteral("#,##0")},
        {4, QStringLiteral("#,##0.00")},   {9, QStringLiteral("0%")},           {10, QStringLiteral("0.00%")},
        {11, QStringLiteral("0.00E+00")},  {14, QStringLiteral("mm-dd-yy")},    {15, QStringLiteral("d-mmm-yy")},
        {16, QStringLiteral("d-mmm")},     {17, QStringLiteral("mmm-yy")},      {18, QStringLiteral("h:mm AM/PM")},
        {19, QStringLiteral("h:mm:ss AM/PM")}, {20, QStringLiteral("h:mm")},    {21, QStringLiteral("h:mm:ss")},
        {22, QStringLiteral("m/d/yy h:mm")}, {45, QStringLiteral("mm:ss")},     {46, QStringLiteral("[h]:mm:ss")},
        {47, QStringLiteral("mmss.0")},    {49, QStringLiteral("@")}};
    return formats.value(Id);
}

QStringList SharedStrings(const QByteArray& Xml)
{
    QStringList out;
    QXmlStreamReader r(Xml);
    QString cur;
    bool inPhonetic = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            if (r.name() == QLatin1String("si"))
                cur.clear();
            else if (r.name() == QLatin1String("rPh"))
                inPhonetic = true;
            else if (r.name() == QLatin1String("t") && !inPhonetic)
                cur += r.readElementText();
        } else if (r.isEndElement()) {
            if (r.name() == QLatin1String("si"))
                out << cur;
            else if (r.name() == QLatin1String("rPh"))
                inPhonetic = false;
        }
    }
    return out;
}

// The formats of the cell styles (cellXfs), in order.
std::vector<TXlsxFormat> CellStyles(const QByteArray& Xml)
{
    QHash<int, QString> custom;
    std::vector<std::pair<bool, bool>> fonts;  // bold, italic
    std::vector<TXlsxFormat> out;
    QXmlStreamReader r(Xml);
    QString section;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isEndElement() && r.name() == section)
            section.clear();
        if (!r.isStartElement())
            continue;
        const auto n = r.name();
        const auto a = r.attributes();
        if (n == QLatin1String("numFmt"))
            custom[a.value(QLatin1String("numFmtId")).toInt()] = a.value(QLatin1String("formatCode")).toString();
        else if (n == QLatin1String("fonts") || n == QLatin1String("cellXfs") || n == QLatin1String("cellStyleXfs"))
            section = n.toString();
        else if (n == QLatin1String("font") && section == QLatin1String("fonts"))
            fonts.push_back({false, false});
        else if (section == QLatin1String("fonts") && !fonts.empty() && (n == QLatin1String("b") || n == QLatin1String("i"))) {
            const bool on = a.value(QLatin1String("val")) != QLatin1String("0") && a.value(QLatin1String("val")) != QLatin1String("false");
            (n == QLatin1String("b") ? fonts.back().first : fonts.back().second) = on;
        } else if (n == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
            TXlsxFormat f;
            const int id = a.value(QLatin1String("numFmtId")).toInt();
            f.NumFormat = custom.contains(id) ? custom[id] : BuiltInNumFormat(id);
            const size_t font = size_t(a.value(QLatin1String("fontId")).toInt());
            if (font < fonts.size()) {
                f.Bold = fonts[font].first;
                f.Italic = fonts[font].second;
            }
            out.push_back(f);
        }
    }
    return out;
}

struct TSheetEntry {
    QString Name;
    QString Part;
};

// A formula of a shared group moved from its first cell by Rows and Cols:
// the references without "$" move with it, texts in quotes stay.
QString ShiftFormula(const QString& Formula, int Rows, int Cols)
{
    static const QRegularExpression ref(QStringLiteral("(?<![A-Za-z0-9_.])(\\$?)([A-Z]{1,3})(\\$?)([0-9]+)(?![0-9A-Za-z_(!])"));
    QString out;
    const QStringList parts = Formula.split(QLatin1Char('"'));
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('"');
        if (i % 2 == 1) {
            out += parts[i];
            continue;
        }
        QString p = parts[i];
        QString shifted;
        int at = 0;
        for (auto it = ref.globalMatch(p); it.hasNext();) {
            const auto m = it.next();
            int row = 0, col = 0;
            if (!TXlsxWorkbook::ParseCellName(m.captured(2) + m.captured(4), row, col)) {
                continue;
            }
            if (m.captured(1).isEmpty())
                col += Cols;
            if (m.captured(3).isEmpty())
                row += Rows;
            shifted += p.mid(at, m.capturedStart() - at);
            const QString name = TXlsxWorkbook::CellName(std::max(0, row), std::max(0, col));
            const int digits = int(name.indexOf(QRegularExpression(QStringLiteral("[0-9]"))));
            shifted += m.captured(1) + name.left(digits) + m.captured(3) + name.mid(digits);
            at = int(m.capturedEnd());
        }
        out += shifted + p.mid(at);
    }
    return out;
}

void ReadSheet(const QByteArray& Xml, TXlsxSheet& Sheet, const QStringList& Strings, const std::vector<int>& FormatOfStyle)
{
    QXmlStreamReader r(Xml);
    int row = -1, col = -1, style = -1;
    QString type, value, formula;
    // the first cell and formula of each shared formula group
    struct TShared {
        int Row, Col;
        QString Formula;
    };
    QHash<QString, TShared> shared;
    bool hasValue = false;
    int nextRow = 0, nextCol = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const auto n = r.name();
            const auto a = r.attributes();
            if (n == QLatin1String("row")) {
                nextRow = a.hasAttribute(QLatin1String("r")) ? a.value(QLatin1String("r")).toInt() - 1 : nextRow;
                nextCol = 0;
                if (a.value(QLatin1String("customHeight")) == QLatin1String("1") || a.value(QLatin1String("customHeight")) == QLatin1String("true"))
                    Sheet.SetRowHeight(nextRow, a.value(QLatin1String("ht")).toDouble());
            } else if (n == QLatin1String("sheetView")) {
                Sheet.WindowZoom = a.value(QLatin1String("zoomScale")).toInt();
            } else if (n == QLatin1String("pageSetup")) {
                Sheet.PrintZoom = a.value(QLatin1String("scale")).toInt();
            } else if (n == QLatin1String("c")) {
                row = nextRow;
                col = nextCol;
                if (a.hasAttribute(QLatin1String("r")))
                    TXlsxWorkbook::ParseCellName(a.value(QLatin1String("r")).toString(), row, col);
                nextCol = col + 1;
                type = a.value(QLatin1String("t")).toString();
                const int s = a.hasAttribute(QLatin1String("s")) ? a.value(QLatin1String("s")).toInt() : -1;
                style = s >= 0 && size_t(s) < FormatOfStyle.size() ? FormatOfStyle[size_t(s)] : -1;
                value.clear();
                formula.clear();
                hasValue = false;
            } else if (n == QLatin1String("v")) {
                value = r.readElementText();
                hasValue = true;
            } else if (n == QLatin1String("f")) {
                const bool isShared = a.value(QLatin1String("t")) == QLatin1String("shared");
                const QString si = a.value(QLatin1String("si")).toString();
                formula = r.readElementText();
                if (isShared && !formula.isEmpty())
                    shared.insert(si, {row, col, formula});
                else if (isShared && shared.contains(si))
                    formula = ShiftFormula(shared[si].Formula, row - shared[si].Row, col - shared[si].Col);
            } else if (n == QLatin1String("t") && type == QLatin1String("inlineStr")) {
                value += r.readElementText();
                hasValue = true;
            } else if (n == QLatin1String("col")) {
                const double w = a.value(QLatin1String("width")).toDouble();
                const int last = std::min(a.value(QLatin1String("max")).toInt(), 16384);
                if (a.value(QLatin1String("customWidth")) == QLatin1String("1") || a.value(QLatin1String("customWidth")) == QLatin1String("true"))
                    for (int c = a.value(QLatin1String("min")).toInt(); c >= 1 && c <= last && c <= 1024; ++c)
                        Sheet.SetColumnWidth(c - 1, w);
            } else if (n == QLatin1String("pane") && a.value(QLatin1String("state")) == QLatin1String("frozen")) {
                Sheet.FreezeRows(a.value(QLatin1String("ySplit")).toInt());
                Sheet.FreezeCols(a.value(QLatin1String("xSplit")).toInt());
            }
            continue;
        }
        if (!r.isEndElement() || r.name() != QLatin1String("c") || row < 0)
            continue;
        if (!formula.isEmpty()) {
            // the last result stays for readers that do not recalculate
            Sheet.SetFormula(row, col, formula, value.toDouble(), style);
        } else if (!hasValue) {
            if (style >= 0)
                Sheet.SetText(row, col, QString(), style);
        } else if (type == QLatin1String("s")) {
            Sheet.SetText(row, col, Strings.value(value.toInt()), style);
        } else if (type == QLatin1String("b")) {
            Sheet.SetBoolean(row, col, value.trimmed() == QLatin1String("1") || value.trimmed() == QLatin1String("true"), style);
        } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr") || type == QLatin1String("e")) {
            Sheet.SetText(row, col, value, style);
        } else {
            Sheet.SetNumber(row, col, value.toDouble(), style);
        }
        row = -1;
    }
    if (r.hasError())
        throw Exception(QStringLiteral("Bad sheet \"%1\": %2").arg(Sheet.Name, r.errorString()));
}

}  // namespace

void TXlsxWorkbook::Load(const QString& FileName)
{
    const TZipPackage package(FileName);
    const QByteArray workbook = package.Part(QStringLiteral("xl/workbook.xml"));
    if (workbook.isEmpty())
        throw Exception(QStringLiteral("Cannot open workbook \"%1\": it holds no workbook part.").arg(FileName));
    QHash<QString, QString> rels;
    for (const TXlsxRel& rel : ReadRels(package.Part(QStringLiteral("xl/_rels/workbook.xml.rels")), QStringLiteral("xl/")))
        rels[rel.Id] = rel.Target;
    std::vector<TSheetEntry> sheets;
    std::vector<TDefinedName> names;
    int active = 0;
    QXmlStreamReader r(workbook);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        const auto a = r.attributes();
        if (r.name() == QLatin1String("sheet")) {
            QString id;
            for (const QXmlStreamAttribute& at : a)
                if (at.name() == QLatin1String("id"))
                    id = at.value().toString();
            sheets.push_back({a.value(QLatin1String("name")).toString(), rels.value(id)});
        } else if (r.name() == QLatin1String("workbookView")) {
            active = a.value(QLatin1String("activeTab")).toInt();
        } else if (r.name() == QLatin1String("definedName")) {
            const QString name = a.value(QLatin1String("name")).toString();
            const bool local = a.hasAttribute(QLatin1String("localSheetId"));
            const int localSheet = a.value(QLatin1String("localSheetId")).toInt();
            const QString ref = r.readElementText();
            // built-in names (print areas, filters) belong to their sheets' settings
            if (name.startsWith(QLatin1String("_xlnm.")))
                continue;
            names.push_back({local && size_t(localSheet) < sheets.size() ? QuoteSheet(sheets[size_t(localSheet)].Name) + QLatin1Char('!') + name
                                                                         : name,
                             ref});
        }
    }
    if (r.hasError())
        throw Exception(QStringLiteral("Bad workbook \"%1\": %2").arg(FileName, r.errorString()));
    if (sheets.empty())
        throw Exception(QStringLiteral("Cannot open workbook \"%1\": it holds no sheets.").arg(FileName));

    TXlsxWorkbook book;
    const QStringList strings = SharedStrings(package.Part(QStringLiteral("xl/sharedStrings.xml")));
    std::vector<int> formatOfStyle;
    for (const TXlsxFormat& f : CellStyles(package.Part(QStringLiteral("xl/styles.xml"))))
        formatOfStyle.push_back(f == TXlsxFormat() ? -1 : book.AddFormat(f));
    for (const TSheetEntry& e : sheets) {
        TXlsxSheet* s = book.AddSheet(e.Name);
        const QByteArray xml = package.Part(e.Part);
        if (xml.isEmpty())
            throw Exception(QStringLiteral("Bad workbook \"%1\": sheet \"%2\" is missing.").arg(FileName, e.Name));
        ReadSheet(xml, *s, strings, formatOfStyle);
        s->SourcePart = e.Part;
        s->MarkRead();
        book.FSourceSheets.push_back(e.Name);
    }
    book.ActiveSheet = active >= 0 && active < book.SheetCount() ? active : 0;
    book.DefinedNames = std::move(names);
    book.FSourceFile = QFileInfo(FileName).absoluteFilePath();
    *this = std::move(book);
    for (auto& s : FSheets)
        s->FFormats = &FFormats;
}
