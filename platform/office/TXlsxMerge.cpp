// Saving a workbook that was read from a file: the file's package is copied
// and only what the model changed is put into it. Sheets the model did not
// touch keep every byte (fills, borders, pictures, charts, merged cells,
// conditional formats); a new sheet is added with its drawing and pictures;
// rows written below a sheet's old rows are merged into that sheet; any
// other changed sheet is replaced. The changed sheets are first written
// alone by libxlsxwriter; their cell styles are appended to the file's
// styles and their texts written inline, so the file's shared strings and
// styles stay valid for the sheets that keep them.

#include "platform/office/TXlsxWorkbook.h"
#include "platform/office/XlsxPackage.h"

#include "platform/rtl/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <climits>
#include <functional>

namespace {

const char* const RelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const WorksheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char* const DrawingRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
const char* const ImageRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

QString Folder(const QString& Part)
{
    return Part.left(Part.lastIndexOf(QLatin1Char('/')) + 1);
}

QString RelsOf(const QString& Part)
{
    return Folder(Part) + QStringLiteral("_rels/") + Part.mid(Part.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(".rels");
}

// A target relative to the folder of the part that refers to it.
QString Relative(const QString& FromPart, const QString& To)
{
    const QStringList from = Folder(FromPart).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList to = To.split(QLatin1Char('/'));
    int same = 0;
    while (same < from.size() && same < to.size() - 1 && from[same] == to[same])
        ++same;
    QString out;
    for (int i = same; i < from.size(); ++i)
        out += QStringLiteral("../");
    return out + to.mid(same).join(QLatin1Char('/'));
}

QString FreeName(const TZipPackage& P, const QString& Stem, const QString& Ext, const QSet<QString>& Taken)
{
    for (int n = 1;; ++n) {
        const QString name = Stem + QString::number(n) + Ext;
        if (!P.Has(name) && !Taken.contains(name))
            return name;
    }
}

QString Escape(const QString& S)
{
    return S.toHtmlEscaped();
}

// Inserts Text before the first of the elements Following (in this order of
// the schema), else before the end tag of Root.
void InsertBefore(QString& Xml, const QString& Text, const QStringList& Following, const QString& Root)
{
    int at = -1;
    for (const QString& tag : Following) {
        static const QString tail = QStringLiteral("[\\s>/]");
        const QRegularExpressionMatch m = QRegularExpression(QLatin1Char('<') + tag + tail).match(Xml);
        if (m.hasMatch() && (at < 0 || m.capturedStart() < at))
            at = int(m.capturedStart());
    }
    if (at < 0)
        at = int(Xml.lastIndexOf(QStringLiteral("</") + Root + QLatin1Char('>')));
    if (at < 0)
        throw Exception(QStringLiteral("Bad part: no </%1>.").arg(Root));
    Xml.insert(at, Text);
}

// Worksheet children after conditional formats, in schema order.
const QStringList AfterConditional = {
    QStringLiteral("dataValidations"), QStringLiteral("hyperlinks"),  QStringLiteral("printOptions"), QStringLiteral("pageMargins"),
    QStringLiteral("pageSetup"),       QStringLiteral("headerFooter"), QStringLiteral("rowBreaks"),   QStringLiteral("colBreaks"),
    QStringLiteral("customProperties"), QStringLiteral("cellWatches"), QStringLiteral("ignoredErrors"), QStringLiteral("smartTags"),
    QStringLiteral("drawing"),         QStringLiteral("legacyDrawing"), QStringLiteral("legacyDrawingHF"), QStringLiteral("picture"),
    QStringLiteral("oleObjects"),      QStringLiteral("controls"),     QStringLiteral("webPublishItems"), QStringLiteral("tableParts"),
    QStringLiteral("extLst")};
const QStringList AfterDrawing = {QStringLiteral("legacyDrawing"), QStringLiteral("legacyDrawingHF"), QStringLiteral("picture"),
                                  QStringLiteral("oleObjects"),    QStringLiteral("controls"),        QStringLiteral("webPublishItems"),
                                  QStringLiteral("tableParts"),    QStringLiteral("extLst")};

// The elements <Tag ...>...</Tag> or <Tag .../> directly inside the first <Section>.
QStringList Children(const QString& Xml, const QString& Section, const QString& Tag, int* Start = nullptr, int* End = nullptr)
{
    QStringList out;
    const QRegularExpression open(QLatin1Char('<') + Section + QStringLiteral("(\\s[^>]*)?>"));
    const QRegularExpressionMatch m = open.match(Xml);
    if (!m.hasMatch())
        return out;
    const int from = int(m.capturedEnd());
    const int to = int(Xml.indexOf(QStringLiteral("</") + Section + QLatin1Char('>'), from));
    if (to < 0)
        return out;
    if (Start)
        *Start = from;
    if (End)
        *End = to;
    // plain searches: a regular expression would check the whole text again at every match
    const QString tagOpen = QLatin1Char('<') + Tag;
    const auto ends = [&](int At) {
        const QChar c = Xml[At + tagOpen.size()];
        return c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('/');
    };
    int at = from;
    for (;;) {
        int s = int(Xml.indexOf(tagOpen, at));
        while (s >= 0 && s < to && !ends(s))
            s = int(Xml.indexOf(tagOpen, s + 1));
        if (s < 0 || s >= to)
            break;
        const int gt = int(Xml.indexOf(QLatin1Char('>'), s));
        int e;
        if (Xml[gt - 1] == QLatin1Char('/'))
            e = gt + 1;
        else
            e = int(Xml.indexOf(QStringLiteral("</") + Tag + QLatin1Char('>'), gt)) + Tag.size() + 3;
        out << Xml.mid(s, e - s);
        at = e;
    }
    return out;
}

// Appends Items to the first <Section> and sets its count; returns the old count.
int AppendChildren(QString& Xml, const QString& Section, const QString& Tag, const QStringList& Items)
{
    int start = -1, end = -1;
    const int old = int(Children(Xml, Section, Tag, &start, &end).size());
    if (end < 0)
        throw Exception(QStringLiteral("Bad styles part: no <%1>.").arg(Section));
    Xml.insert(end, Items.join(QString()));
    const QRegularExpression count(QLatin1Char('<') + Section + QStringLiteral("\\b[^>]*?\\bcount=\"(\\d+)\""));
    const QRegularExpressionMatch m = count.match(Xml);
    if (m.hasMatch())
        Xml.replace(m.capturedStart(1), m.capturedLength(1), QString::number(old + Items.size()));
    return old;
}

struct TStyleMap {
    int XfBase = 0;
};

// Adds the cell styles of Fresh (a styles part libxlsxwriter wrote) to Old;
// a fresh style k is style XfBase + k afterwards.
TStyleMap MergeStyles(QString& Old, const QString& Fresh)
{
    TStyleMap map;
    // number formats: fresh custom ids move above the old ones
    QHash<int, int> numIds;
    int nextId = 164;
    static const QRegularExpression idRe(QStringLiteral("numFmtId=\"(\\d+)\""));
    for (const QString& f : Children(Old, QStringLiteral("numFmts"), QStringLiteral("numFmt")))
        nextId = std::max(nextId, idRe.match(f).captured(1).toInt() + 1);
    QStringList newFmts;
    for (QString f : Children(Fresh, QStringLiteral("numFmts"), QStringLiteral("numFmt"))) {
        const QRegularExpressionMatch m = idRe.match(f);
        numIds[m.captured(1).toInt()] = nextId;
        f.replace(m.capturedStart(1), m.capturedLength(1), QString::number(nextId++));
        newFmts << f;
    }
    if (!newFmts.isEmpty()) {
        if (QRegularExpression(QStringLiteral("<numFmts[\\s>]")).match(Old).hasMatch()) {
            AppendChildren(Old, QStringLiteral("numFmts"), QStringLiteral("numFmt"), newFmts);
        } else {
            const QRegularExpressionMatch root = QRegularExpression(QStringLiteral("<styleSheet[^>]*>")).match(Old);
            if (!root.hasMatch())
                throw Exception(QStringLiteral("Bad styles part."));
            Old.insert(root.capturedEnd(), QStringLiteral("<numFmts count=\"%1\">").arg(newFmts.size()) + newFmts.join(QString())
                                               + QStringLiteral("</numFmts>"));
        }
    }
    const int fonts = AppendChildren(Old, QStringLiteral("fonts"), QStringLiteral("font"),
                                     Children(Fresh, QStringLiteral("fonts"), QStringLiteral("font")));
    const int fills = AppendChildren(Old, QStringLiteral("fills"), QStringLiteral("fill"),
                                     Children(Fresh, QStringLiteral("fills"), QStringLiteral("fill")));
    const int borders = AppendChildren(Old, QStringLiteral("borders"), QStringLiteral("border"),
                                       Children(Fresh, QStringLiteral("borders"), QStringLiteral("border")));
    QStringList xfs;
    for (QString xf : Children(Fresh, QStringLiteral("cellXfs"), QStringLiteral("xf"))) {
        const auto shift = [&xf](const char* Attr, const std::function<int(int)>& To) {
            const QRegularExpression re(QStringLiteral(" %1=\"(\\d+)\"").arg(QLatin1String(Attr)));
            const QRegularExpressionMatch m = re.match(xf);
            if (m.hasMatch())
                xf.replace(m.capturedStart(1), m.capturedLength(1), QString::number(To(m.captured(1).toInt())));
        };
        shift("numFmtId", [&](int v) { return numIds.value(v, v); });
        shift("fontId", [&](int v) { return v + fonts; });
        shift("fillId", [&](int v) { return v + fills; });
        shift("borderId", [&](int v) { return v + borders; });
        shift("xfId", [](int) { return 0; });
        xfs << xf;
    }
    map.XfBase = AppendChildren(Old, QStringLiteral("cellXfs"), QStringLiteral("xf"), xfs);
    return map;
}

// A sheet part libxlsxwriter wrote, made to fit the old package: styles
// moved by the merged base, shared strings written inline, no tab selected.
QString AdaptSheet(QString Xml, const TStyleMap& Map, const QStringList& Strings)
{
    static const QRegularExpression styled(QStringLiteral("<(?:c|row|col) [^>]*>"));
    static const QRegularExpression attr(QStringLiteral(" (s|style)=\"(\\d+)\""));
    QString out;
    int at = 0;
    for (auto it = styled.globalMatch(Xml); it.hasNext();) {
        const auto m = it.next();
        QString tag = m.captured(0);
        const QRegularExpressionMatch a = attr.match(tag);
        if (a.hasMatch())
            tag.replace(a.capturedStart(2), a.capturedLength(2), QString::number(a.captured(2).toInt() + Map.XfBase));
        out += Xml.mid(at, m.capturedStart() - at) + tag;
        at = int(m.capturedEnd());
    }
    out += Xml.mid(at);
    static const QRegularExpression shared(QStringLiteral("<c ([^>]*?) t=\"s\"([^>]*)><v>(\\d+)</v></c>"));
    QString inl;
    at = 0;
    for (auto it = shared.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        inl += out.mid(at, m.capturedStart() - at) + QStringLiteral("<c ") + m.captured(1) + QStringLiteral(" t=\"inlineStr\"")
               + m.captured(2) + QStringLiteral("><is>") + Strings.value(m.captured(3).toInt()) + QStringLiteral("</is></c>");
        at = int(m.capturedEnd());
    }
    inl += out.mid(at);
    inl.remove(QStringLiteral(" tabSelected=\"1\""));
    return inl;
}

// The raw inside of each <si> of a shared strings part.
QStringList RawStrings(const QString& Xml)
{
    QStringList out;
    static const QRegularExpression si(QStringLiteral("<si>(.*?)</si>"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = si.globalMatch(Xml); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

class TMerge {
public:
    TMerge(TZipPackage& Old, const TZipPackage& Fresh) : P(Old), F(Fresh) {}

    QString Text(const QString& Part) const { return Changed.contains(Part) ? Changed[Part] : QString::fromUtf8(P.Part(Part)); }
    void Set(const QString& Part, const QString& Xml) { Changed[Part] = Xml; }
    void Commit()
    {
        for (auto it = Changed.cbegin(); it != Changed.cend(); ++it)
            P.Put(it.key(), it.value().toUtf8());
    }

    void AddContentType(const QString& Part, const QString& Type)
    {
        QString ct = Text(QStringLiteral("[Content_Types].xml"));
        const QString entry = QStringLiteral("<Override PartName=\"/%1\" ContentType=\"%2\"/>").arg(Part, Type);
        if (!ct.contains(QStringLiteral("PartName=\"/%1\"").arg(Part)))
            ct.insert(ct.lastIndexOf(QStringLiteral("</Types>")), entry);
        Set(QStringLiteral("[Content_Types].xml"), ct);
    }
    void AddDefaultType(const QString& Ext)
    {
        QString ct = Text(QStringLiteral("[Content_Types].xml"));
        if (ct.contains(QStringLiteral("Extension=\"%1\"").arg(Ext), Qt::CaseInsensitive))
            return;
        const QString type = Ext == QLatin1String("jpeg") || Ext == QLatin1String("jpg") ? QStringLiteral("image/jpeg")
                                                                                          : QStringLiteral("image/") + Ext;
        ct.insert(ct.lastIndexOf(QStringLiteral("</Types>")), QStringLiteral("<Default Extension=\"%1\" ContentType=\"%2\"/>").arg(Ext, type));
        Set(QStringLiteral("[Content_Types].xml"), ct);
    }
    // Adds a relationship to Part's relationships and returns its id.
    QString AddRel(const QString& Part, const QString& Type, const QString& Target)
    {
        const QString relsName = RelsOf(Part);
        QString rels = Text(relsName);
        if (rels.isEmpty())
            rels = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                  "</Relationships>");
        QString id;
        for (int n = 1; id.isEmpty() || rels.contains(QStringLiteral("Id=\"%1\"").arg(id)); ++n)
            id = QStringLiteral("rIdSx%1").arg(n);
        const QString entry = QStringLiteral("<Relationship Id=\"%1\" Type=\"%2\" Target=\"%3\"/>").arg(id, Type, Relative(Part, Target));
        const int end = int(rels.lastIndexOf(QStringLiteral("</Relationships>")));
        if (end < 0)
            throw Exception(QStringLiteral("Bad part \"%1\".").arg(relsName));
        rels.insert(end, entry);
        Set(relsName, rels);
        return id;
    }

    // Copies the fresh drawing part with its pictures under free names and
    // returns the new drawing's name.
    QString CopyDrawing(const QString& FreshDrawing)
    {
        const QString name = FreeName(P, QStringLiteral("xl/drawings/drawing"), QStringLiteral(".xml"), Taken);
        Taken.insert(name);
        QString xml = QString::fromUtf8(F.Part(FreshDrawing));
        for (const TXlsxRel& rel : ReadRels(F.Part(RelsOf(FreshDrawing)), Folder(FreshDrawing)))
            xml.replace(QStringLiteral("\"%1\"").arg(rel.Id), QStringLiteral("\"%1\"").arg(CopyImage(name, rel)));
        Set(name, xml);
        AddContentType(name, QStringLiteral("application/vnd.openxmlformats-officedocument.drawing+xml"));
        return name;
    }
    // Copies the picture a fresh relationship points to and relates it to Part.
    QString CopyImage(const QString& Part, const TXlsxRel& Rel)
    {
        const QString ext = QFileInfo(Rel.Target).suffix().toLower();
        const QString media = FreeName(P, QStringLiteral("xl/media/image"), QLatin1Char('.') + ext, Taken);
        Taken.insert(media);
        P.Put(media, F.Part(Rel.Target));
        AddDefaultType(ext);
        return AddRel(Part, QString::fromLatin1(ImageRel), media);
    }
    // The relationships of a fresh sheet redone for its new home Part.
    QString MoveSheetRels(const QString& FreshSheet, const QString& Part, QString Xml)
    {
        for (const TXlsxRel& rel : ReadRels(F.Part(RelsOf(FreshSheet)), Folder(FreshSheet))) {
            if (rel.Type != QLatin1String(DrawingRel))
                continue;
            const QString id = AddRel(Part, QString::fromLatin1(DrawingRel), CopyDrawing(rel.Target));
            Xml.replace(QStringLiteral("r:id=\"%1\"").arg(rel.Id), QStringLiteral("r:id=\"%1\"").arg(id));
        }
        return Xml;
    }

    TZipPackage& P;
    const TZipPackage& F;
    QHash<QString, QString> Changed;
    QSet<QString> Taken;
};

int RowNumber(const QString& RowTag)
{
    static const QRegularExpression r(QStringLiteral(" r=\"(\\d+)\""));
    return r.match(RowTag).captured(1).toInt();
}

// The <row> elements of a sheet part, each whole.
QStringList Rows(const QString& Sheet)
{
    return Children(Sheet, QStringLiteral("sheetData"), QStringLiteral("row"));
}

// Rows of the fresh sheet from row index From on merged into the old sheet.
void MergeRows(TMerge& M, const QString& Part, const QString& FreshPart, const QString& Fresh, int From, bool Cols)
{
    QString old = M.Text(Part);
    if (old.contains(QStringLiteral("<sheetData/>")))
        old.replace(QStringLiteral("<sheetData/>"), QStringLiteral("<sheetData></sheetData>"));
    // old rows from there on hold no cell values (they lie below the used range)
    for (const QString& row : Rows(old))
        if (RowNumber(row) > From)
            old.remove(old.indexOf(row), row.size());
    QString added;
    for (const QString& row : Rows(Fresh))
        if (RowNumber(row) > From)
            added += row;
    const int end = int(old.indexOf(QStringLiteral("</sheetData>")));
    if (end < 0)
        throw Exception(QStringLiteral("Bad sheet \"%1\".").arg(Part));
    old.insert(end, added);
    old.remove(QRegularExpression(QStringLiteral("<dimension [^>]*/>")));
    // column widths the run set
    if (Cols) {
        const QRegularExpression colsRe(QStringLiteral("<cols>.*?</cols>"), QRegularExpression::DotMatchesEverythingOption);
        const QString freshCols = colsRe.match(Fresh).captured(0);
        if (!freshCols.isEmpty()) {
            if (colsRe.match(old).hasMatch())
                old.replace(colsRe, freshCols);
            else
                old.insert(old.indexOf(QStringLiteral("<sheetData")), freshCols);
        }
    }
    // conditional formats of the new rows
    static const QRegularExpression cf(QStringLiteral("<conditionalFormatting .*?</conditionalFormatting>"),
                                       QRegularExpression::DotMatchesEverythingOption);
    QString formats;
    for (auto it = cf.globalMatch(Fresh); it.hasNext();)
        formats += it.next().captured(0);
    if (!formats.isEmpty())
        InsertBefore(old, formats, AfterConditional, QStringLiteral("worksheet"));
    // pictures of the new rows: into the sheet's drawing, or a drawing of their own
    for (const TXlsxRel& rel : ReadRels(M.F.Part(RelsOf(FreshPart)), Folder(FreshPart))) {
        if (rel.Type != QLatin1String(DrawingRel))
            continue;
        QString drawing;
        for (const TXlsxRel& own : ReadRels(M.Text(RelsOf(Part)).toUtf8(), Folder(Part)))
            if (own.Type == QLatin1String(DrawingRel))
                drawing = own.Target;
        if (drawing.isEmpty() || !old.contains(QStringLiteral("<drawing "))) {
            const QString id = M.AddRel(Part, QString::fromLatin1(DrawingRel), M.CopyDrawing(rel.Target));
            InsertBefore(old, QStringLiteral("<drawing xmlns:r=\"%1\" r:id=\"%2\"/>").arg(QLatin1String(RelNs), id), AfterDrawing,
                         QStringLiteral("worksheet"));
            continue;
        }
        QString anchors = QString::fromUtf8(M.F.Part(rel.Target));
        const int s = int(anchors.indexOf(QLatin1Char('>'), anchors.indexOf(QStringLiteral("<xdr:wsDr")))) + 1;
        anchors = anchors.mid(s, anchors.lastIndexOf(QStringLiteral("</xdr:wsDr>")) - s);
        for (const TXlsxRel& img : ReadRels(M.F.Part(RelsOf(rel.Target)), Folder(rel.Target)))
            anchors.replace(QStringLiteral("\"%1\"").arg(img.Id), QStringLiteral("\"%1\"").arg(M.CopyImage(drawing, img)));
        // drawing object ids stay unique in the old drawing
        static const QRegularExpression idRe(QStringLiteral("<xdr:cNvPr id=\"(\\d+)\""));
        int next = 1000;
        QString renumbered;
        int at = 0;
        for (auto it = idRe.globalMatch(anchors); it.hasNext();) {
            const auto m = it.next();
            renumbered += anchors.mid(at, m.capturedStart(1) - at) + QString::number(next++);
            at = int(m.capturedEnd(1));
        }
        renumbered += anchors.mid(at);
        QString xml = M.Text(drawing);
        const int close = int(xml.lastIndexOf(QStringLiteral("</xdr:wsDr>")));
        if (close < 0)
            throw Exception(QStringLiteral("Bad drawing \"%1\".").arg(drawing));
        // the anchors use the r prefix for their pictures
        if (!xml.contains(QStringLiteral("xmlns:r=")))
            renumbered.replace(QStringLiteral(" r:embed="), QStringLiteral(" xmlns:r=\"%1\" r:embed=").arg(QLatin1String(RelNs)));
        xml.insert(close, renumbered);
        M.Set(drawing, xml);
    }
    M.Set(Part, old);
}

}  // namespace

std::vector<QString> TXlsxWorkbook::SaveMerged(const QString& Temp) const
{
    std::vector<QString> parts;
    for (const auto& s : FSheets)
        parts.push_back(s->SourcePart);
    // 1. What changed: new sheets, rows below the old ones, or more.
    enum TAct { Keep, Add, Append, Replace };
    std::vector<TAct> act(FSheets.size(), Keep);
    std::vector<int> fresh;
    for (size_t i = 0; i < FSheets.size(); ++i) {
        const TXlsxSheet& s = *FSheets[i];
        if (s.SourcePart.isEmpty())
            act[i] = Add;
        else if (s.FirstChangedRow() == INT_MAX && !s.SettingsChanged())
            act[i] = Keep;
        else if (s.FirstChangedRow() >= s.SourceRowEnd)
            act[i] = Append;
        else
            act[i] = Replace;
        if (act[i] != Keep)
            fresh.push_back(int(i));
    }

    // 2. The changed sheets written alone.
    QTemporaryFile freshFile(QFileInfo(Temp).absolutePath() + QStringLiteral("/.xlsx-XXXXXX"));
    if (!freshFile.open())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(Temp, freshFile.errorString()));
    freshFile.close();
    WriteBook(freshFile.fileName(), fresh, false);
    const TZipPackage F(freshFile.fileName());
    const std::vector<TXlsxSheetEntry> freshSheets = ReadSheetList(F);
    // (with nothing changed libxlsxwriter still writes one empty sheet)
    if (freshSheets.size() < fresh.size())
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(Temp));

    // 3. The old package with the changes put in.
    QFile::remove(Temp);
    if (!QFile::copy(FSourceFile, Temp))
        throw Exception(QStringLiteral("Cannot write file \"%1\".").arg(Temp));
    QFile(Temp).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    TZipPackage P(Temp, true);
    TMerge M(P, F);
    const std::vector<TXlsxSheetEntry> oldSheets = ReadSheetList(P);
    QString workbook = M.Text(QStringLiteral("xl/workbook.xml"));
    if (!workbook.contains(QStringLiteral("</sheets>")))
        throw Exception(QStringLiteral("Cannot write into workbook \"%1\": its workbook part is not readable.").arg(FSourceFile));

    QString styles = M.Text(QStringLiteral("xl/styles.xml"));
    const TStyleMap map = fresh.empty() ? TStyleMap() : MergeStyles(styles, QString::fromUtf8(F.Part(QStringLiteral("xl/styles.xml"))));
    if (!fresh.empty())
        M.Set(QStringLiteral("xl/styles.xml"), styles);
    const QStringList strings = RawStrings(QString::fromUtf8(F.Part(QStringLiteral("xl/sharedStrings.xml"))));

    int nextSheetId = 1;
    static const QRegularExpression sheetIdRe(QStringLiteral("sheetId=\"(\\d+)\""));
    for (auto it = sheetIdRe.globalMatch(workbook); it.hasNext();)
        nextSheetId = std::max(nextSheetId, it.next().captured(1).toInt() + 1);

    for (size_t k = 0; k < fresh.size(); ++k) {
        const TXlsxSheet& s = *FSheets[size_t(fresh[k])];
        const QString freshPart = freshSheets[k].Part;
        QString xml = AdaptSheet(QString::fromUtf8(F.Part(freshPart)), map, strings);
        if (fresh[k] == ActiveSheet)
            xml.replace(QStringLiteral("<sheetView "), QStringLiteral("<sheetView tabSelected=\"1\" "));
        switch (act[size_t(fresh[k])]) {
        case Add: {
            const QString part = FreeName(P, QStringLiteral("xl/worksheets/sheet"), QStringLiteral(".xml"), M.Taken);
            M.Taken.insert(part);
            parts[size_t(fresh[k])] = part;
            M.Set(part, M.MoveSheetRels(freshPart, part, xml));
            M.AddContentType(part, QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"));
            const QString id = M.AddRel(QStringLiteral("xl/workbook.xml"), QString::fromLatin1(WorksheetRel), part);
            workbook.insert(workbook.indexOf(QStringLiteral("</sheets>")),
                            QStringLiteral("<sheet xmlns:r=\"%1\" name=\"%2\" sheetId=\"%3\" r:id=\"%4\"/>")
                                .arg(QLatin1String(RelNs), Escape(s.Name))
                                .arg(nextSheetId++)
                                .arg(id));
            break;
        }
        case Append:
            MergeRows(M, s.SourcePart, freshPart, xml, s.SourceRowEnd, s.SettingsChanged());
            break;
        case Replace: {
            // the sheet's old relationships go with its old content
            P.Remove(RelsOf(s.SourcePart));
            M.Set(s.SourcePart, M.MoveSheetRels(freshPart, s.SourcePart, xml));
            break;
        }
        case Keep:
            break;
        }
    }

    // 4. The active sheet, names, and the calculation chain.
    static const QRegularExpression activeRe(QStringLiteral("activeTab=\"(\\d+)\""));
    const QRegularExpressionMatch am = activeRe.match(workbook);
    const int oldActive = am.hasMatch() ? am.captured(1).toInt() : 0;
    if (oldActive != ActiveSheet) {
        if (am.hasMatch())
            workbook.replace(am.capturedStart(1), am.capturedLength(1), QString::number(ActiveSheet));
        else
            workbook.replace(QStringLiteral("<workbookView "), QStringLiteral("<workbookView activeTab=\"%1\" ").arg(ActiveSheet));
        for (const TXlsxSheetEntry& e : oldSheets) {
            const int i = IndexOfSheet(e.Name);
            if (i >= 0 && act[size_t(i)] == Keep) {
                QString sheet = M.Text(e.Part);
                if (sheet.contains(QStringLiteral(" tabSelected=\"1\""))) {
                    sheet.remove(QStringLiteral(" tabSelected=\"1\""));
                    M.Set(e.Part, sheet);
                }
            }
        }
    }
    QString names;
    for (const TDefinedName& d : DefinedNames)
        if (!workbook.contains(QStringLiteral("name=\"%1\"").arg(Escape(d.Name))) && !d.Name.contains(QLatin1Char('!')))
            names += QStringLiteral("<definedName name=\"%1\">%2</definedName>").arg(Escape(d.Name), Escape(d.Ref));
    // filters of the fresh sheets, under their index in this workbook
    static const QRegularExpression filterRe(
        QStringLiteral("<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"(\\d+)\"([^>]*)>(.*?)</definedName>"));
    for (auto it = filterRe.globalMatch(QString::fromUtf8(F.Part(QStringLiteral("xl/workbook.xml")))); it.hasNext();) {
        const auto m = it.next();
        const int index = fresh[size_t(m.captured(1).toInt())];
        if (act[size_t(index)] == Append)
            continue;  // the old sheet keeps its own filter
        workbook.remove(QRegularExpression(QStringLiteral("<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"%1\"[^>]*>.*?</definedName>")
                                               .arg(index)));
        names += QStringLiteral("<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"%1\"%2>%3</definedName>")
                         .arg(index)
                         .arg(m.captured(2), m.captured(3));
    }
    if (!names.isEmpty()) {
        if (workbook.contains(QStringLiteral("</definedNames>")))
            workbook.insert(workbook.indexOf(QStringLiteral("</definedNames>")), names);
        else
            workbook.insert(workbook.indexOf(QStringLiteral("</sheets>")) + 9, QStringLiteral("<definedNames>") + names + QStringLiteral("</definedNames>"));
    }
    M.Set(QStringLiteral("xl/workbook.xml"), workbook);
    if (!fresh.empty() && P.Has(QStringLiteral("xl/calcChain.xml"))) {
        // the readers build the chain again; an old one naming changed cells would be an error
        P.Remove(QStringLiteral("xl/calcChain.xml"));
        QString rels = M.Text(QStringLiteral("xl/_rels/workbook.xml.rels"));
        rels.remove(QRegularExpression(QStringLiteral("<Relationship [^>]*calcChain[^>]*/>")));
        M.Set(QStringLiteral("xl/_rels/workbook.xml.rels"), rels);
        QString ct = M.Text(QStringLiteral("[Content_Types].xml"));
        ct.remove(QRegularExpression(QStringLiteral("<Override [^>]*calcChain[^>]*/>")));
        M.Set(QStringLiteral("[Content_Types].xml"), ct);
    }
    M.Commit();
    P.Commit();
    return parts;
}

