// Reading a workbook back. libxlsxwriter only writes, so the package is
// opened with libzip and its parts read as XML: the workbook part for the
// sheets, named ranges and active sheet, the relationships for where each
// sheet lies, the shared strings, the styles for number formats and bold
// or italic fonts, and each sheet's cells and column widths. Any .xlsx that
// LibreOffice, Excel or we ourselves wrote reads this way.

#include "platform/office/TXlsxWorkbook.h"

#include "platform/rtl/Exception.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <memory>
#include <zip.h>

namespace {

class TPackage {
public:
    explicit TPackage(const QString& FileName)
    {
        int err = 0;
        FZip = zip_open(QFile::encodeName(FileName).constData(), ZIP_RDONLY, &err);
        if (!FZip)
            throw Exception(QStringLiteral("Cannot open workbook \"%1\": it is not a readable .xlsx file.").arg(FileName));
    }
    ~TPackage() { zip_discard(FZip); }
    TPackage(const TPackage&) = delete;
    TPackage& operator=(const TPackage&) = delete;

    // The part's bytes; empty when the package has no such part.
    QByteArray Part(const QString& Name) const
    {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(FZip, Name.toUtf8().constData(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            return QByteArray();
        zip_file_t* f = zip_fopen(FZip, Name.toUtf8().constData(), 0);
        if (!f)
            return QByteArray();
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        const zip_int64_t n = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        return n == zip_int64_t(st.size) ? data : QByteArray();
    }

private:
    zip_t* FZip = nullptr;
};

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

// The relationship targets of the workbook part by id.
QHash<QString, QString> Relationships(const QByteArray& Xml)
{
    QHash<QString, QString> out;
    QXmlStreamReader r(Xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("Relationship")) {
            QString target = r.attributes().value(QLatin1String("Target")).toString();
            // targets are relative to xl/, or absolute from the package root
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            out[r.attributes().value(QLatin1String("Id")).toString()] = target;
        }
    }
    return out;
}

void ReadSheet(const QByteArray& Xml, TXlsxSheet& Sheet, const QStringList& Strings, const std::vector<int>& FormatOfStyle)
{
    QXmlStreamReader r(Xml);
    int row = -1, col = -1, style = -1;
    QString type, value, formula;
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
                formula = r.readElementText();
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
    const TPackage package(FileName);
    const QByteArray workbook = package.Part(QStringLiteral("xl/workbook.xml"));
    if (workbook.isEmpty())
        throw Exception(QStringLiteral("Cannot open workbook \"%1\": it holds no workbook part.").arg(FileName));
    const QHash<QString, QString> rels = Relationships(package.Part(QStringLiteral("xl/_rels/workbook.xml.rels")));
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
    }
    book.ActiveSheet = active >= 0 && active < book.SheetCount() ? active : 0;
    book.DefinedNames = std::move(names);
    *this = std::move(book);
}
