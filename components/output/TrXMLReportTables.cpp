// The table-insertion tag of DOCX reports: a one-row template table becomes a
// table of every shown field (title row) and every record of a dataset.
#include "components/output/TrXMLReport.h"

#include "components/grid/rdbtool.h"
#include "components/output/rRepText.h"
#include "platform/database/Fields.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StrUtils.h"
#include "resources/ReportTexts.h"

#include <QRegularExpression>

#include <cmath>

namespace {

struct TDefineFormat {
    int TitleHeight = 0, RowHeight = 0, MinRows = 0, MaxRows = 0, AddSumRows = 0;
    bool NoIfEmpty = false, NoFirst = false, TitleRotate = false, DataWidth = false, SizeWidth = false;
    QString ID, TitleHAlign, TitleVAlign, DataHAlign, DataVAlign, WhileCond, SkipCond;
};

struct TColWRec {
    int TitleW = 0;
    int ColW = 0;
    bool AbsW = false;
};

int Twentieths(int Mm) { return int(std::lround(Mm * 566 / 10.0)); }

QString FieldAlign(const TField* F)
{
    switch (F->Alignment()) {
    case TFieldAlignment::RightJustify: return QStringLiteral("right");
    case TFieldAlignment::Center: return QStringLiteral("center");
    default: return QString();
    }
}

// Word writes rows with attributes ("<w:tr w:rsidR=...>"), so a row start is
// "<w:tr>" or "<w:tr ".
int FindRowStart(const QString& Text, int From)
{
    static const QRegularExpression re(QStringLiteral("<w:tr[ >]"));
    const QRegularExpressionMatch m = re.match(Text, From);
    return m.hasMatch() ? int(m.capturedStart()) : -1;
}

QString ColorHex(TColor C)
{
    return QStringLiteral("%1%2%3")
        .arg(C & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((C >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((C >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

QString TrXMLReport::ProcInsertTable(const QString& Table)
{
    QString table = Table;
    // 1. The tag and its dataset.
    const int open = table.indexOf(TagOpen()), close = table.indexOf(TagClose(), open + 1);
    const QString tag = XMLToStr(table.mid(open + TagOpen().size(), close - open - TagOpen().size())).trimmed();
    const QString letter = SepBracket(tag.section(QLatin1Char(';'), 0, 0)).Inside.trimmed().toUpper();
    if (letter.size() != 1 || letter[0] < QLatin1Char('A') || letter[0] > QLatin1Char('Z'))
        RaiseErr(2, tag);
    const int slot = letter[0].unicode() - 'A';
    // 2. Options.
    TDefineFormat d;
    const QStringList pieces = tag.split(QLatin1Char(';'));
    for (int i = 1; i < pieces.size(); ++i) {
        const QString piece = pieces[i].trimmed();
        if (piece.isEmpty())
            continue;
        const TBracketParts p = SepBracket(piece);
        const QString key = p.Head.trimmed().toLower();
        const QString v = p.Inside.trimmed();
        if (!p.Tail.trimmed().isEmpty() || key.isEmpty())
            RaiseErr(5, piece);
        const int n = StrToIntDef(v, 0);
        if (key == QLatin1String("id")) d.ID = v;
        else if (key == QLatin1String("while")) d.WhileCond = v;
        else if (key == QLatin1String("skipif")) d.SkipCond = v;
        else if (key == QLatin1String("noifempty")) d.NoIfEmpty = true;
        else if (key == QLatin1String("nofirst")) d.NoFirst = true;
        else if (key == QLatin1String("minrows")) d.MinRows = n;
        else if (key == QLatin1String("maxrows")) d.MaxRows = n;
        else if (key == QLatin1String("addsumrows")) d.AddSumRows = n;
        else if (key == QLatin1String("titlehalign")) d.TitleHAlign = v;
        else if (key == QLatin1String("titlevalign")) d.TitleVAlign = v;
        else if (key == QLatin1String("datahalign")) d.DataHAlign = v;
        else if (key == QLatin1String("datavalign")) d.DataVAlign = v;
        else if (key == QLatin1String("titlerotate")) d.TitleRotate = true;
        else if (key == QLatin1String("titleheight")) d.TitleHeight = n;
        else if (key == QLatin1String("rowheight")) d.RowHeight = n;
        else if (key == QLatin1String("datawidth")) d.DataWidth = true;
        else if (key == QLatin1String("sizewidth")) d.SizeWidth = true;
        else RaiseErr(5, piece);
    }
    // 3. The one template row.
    const TXMLMarkup& m = XMLMarkup(FXMLFormat);
    const int rs = FindRowStart(table, 0);
    const int re = table.indexOf(m.TableRowEnd);
    if (rs < 0 || re < 0 || re < rs)
        RaiseErr(7, tag);
    table.remove(rs, re + m.TableRowEnd.size() - rs);
    if (FindRowStart(table, 0) >= 0 || table.contains(m.TableRowEnd))
        RaiseErr(7, tag);

    auto addCell = [&](QString Text, int Row, int Col, TField* F, const QString& HAlign, const QString& VAlign) {
        TTableCellFormatRec f;
        f.HAlign = HAlign;
        f.VAlign = VAlign;
        f.RotateText = Row <= 0 && d.TitleRotate;
        f.Font.SetName(QStringLiteral("default"));
        f.Font.SetSize(0);
        f.Font.SetColor(clNone);
        if (OnGetCellParams)
            OnGetCellParams(this, d.ID, F, Row, Col, Text, f);
        if (Text.isEmpty())
            Text = QStringLiteral(" ");
        Text = StrToXML(Text, FXMLFormat);
        if (f.VAlign.isEmpty())
            f.VAlign = QStringLiteral("center");
        const QString vWord = (f.RotateText ? f.HAlign : f.VAlign).toLower();
        QString props = QStringLiteral("<w:vAlign w:val=\"%1\"/>")
                            .arg(vWord == QLatin1String("center") ? QStringLiteral("center")
                                 : (vWord == QLatin1String("bottom") || vWord == QLatin1String("right")) ? QStringLiteral("bottom")
                                                                                                         : QStringLiteral("top"));
        if (f.RotateText)
            props += QStringLiteral("<w:textDirection w:val=\"btLr\"/>");
        if (f.BkColor != clNone)
            props += QStringLiteral("<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"%1\"/>").arg(ColorHex(f.BkColor));
        const QString hWord = (f.RotateText ? f.VAlign : f.HAlign).toLower();
        const QString jc = hWord == QLatin1String("center") ? QStringLiteral("center")
                           : (hWord == QLatin1String("right") || hWord == QLatin1String("top")) ? QStringLiteral("right")
                                                                                                 : QString();
        QString run;
        if (f.Font.Name() != QLatin1String("default"))
            run += QStringLiteral("<w:rFonts w:ascii=\"%1\" w:hAnsi=\"%1\" w:cs=\"%1\"/>").arg(f.Font.Name());
        if (f.Font.Size() != 0)
            run += QStringLiteral("<w:sz w:val=\"%1\"/><w:szCs w:val=\"%1\"/>").arg(2 * f.Font.Size());
        if (f.Font.Color() != clNone)
            run += QStringLiteral("<w:color w:val=\"%1\"/>").arg(ColorHex(f.Font.Color()));
        if (f.Font.Style() & fsBold) run += QStringLiteral("<w:b/>");
        if (f.Font.Style() & fsItalic) run += QStringLiteral("<w:i/>");
        if (f.Font.Style() & fsUnderline) run += QStringLiteral("<w:u w:val=\"single\"/>");
        if (f.Font.Style() & fsStrikeOut) run += QStringLiteral("<w:strike/>");
        return m.TableCellBegin + QStringLiteral("<w:tcPr>") + props + QStringLiteral("</w:tcPr>") + QStringLiteral("<w:p>")
               + (jc.isEmpty() ? QString() : QStringLiteral("<w:pPr><w:jc w:val=\"%1\"/></w:pPr>").arg(jc)) + QStringLiteral("<w:r>")
               + (run.isEmpty() ? QString() : QStringLiteral("<w:rPr>") + run + QStringLiteral("</w:rPr>")) + QStringLiteral("<w:t>")
               + Text + m.ParEndAll + m.TableCellEnd;
    };
    auto addRow = [&](const QString& Cells, int Row) {
        int height = Row >= 1 ? d.RowHeight : d.TitleHeight;
        if (OnGetRowHeight)
            OnGetRowHeight(this, d.ID, Row, height);
        return m.TableRowBegin
               + (height > 0 ? QStringLiteral("<w:trPr><w:trHeight w:val=\"%1\"/></w:trPr>").arg(Twentieths(height)) : QString())
               + Cells + m.TableRowEnd;
    };

    // 4-6.
    if (!DSActive(slot)) {
        const QString text = DS(slot) ? reptxt::ClosedDataset : reptxt::UnknownDataset;
        table.insert(rs, addRow(addCell(text, -1, 1, nullptr, QString(), QString()), -1));
        return table;
    }
    TDataSet* ds = DS(slot);
    if (d.NoIfEmpty && !DSNotEOF(slot))
        return QString();
    if (!d.NoFirst)
        FindFirst(slot);
    // 7-8. Columns and the title row.
    std::vector<TField*> fields;
    for (int i = 0; i < ds->FieldCount(); ++i) {
        TField* f = ds->Fields()[i];
        if (f->Visible() && (IsSimpleField(f) || IsMemoField(f)))
            fields.push_back(f);
    }
    std::vector<TColWRec> cols(fields.size());
    QString rows, cells;
    for (size_t c = 0; c < fields.size(); ++c) {
        TField* f = fields[c];
        const QString h = !d.TitleHAlign.isEmpty() ? d.TitleHAlign : (d.TitleRotate ? QStringLiteral("center") : FieldAlign(f));
        cells += addCell(f->DisplayLabel(), 0, int(c) + 1, f, h, d.TitleVAlign);
        cols[c].TitleW = d.SizeWidth ? f->DisplayWidth() : int(f->DisplayLabel().size());
        cols[c].ColW = d.SizeWidth ? f->DisplayWidth() : 1;
    }
    rows += addRow(cells, 0);
    // 9.
    if (d.TitleRotate && d.TitleHeight == 0)
        for (const auto& c : cols)
            d.TitleHeight = std::max(d.TitleHeight, 2 * c.TitleW);
    // 10. The records.
    int written = 0;
    while (DSNotEOF(slot) && (d.WhileCond.isEmpty() || GetConditionResult(d.WhileCond))) {
        if (d.SkipCond.isEmpty() || !GetConditionResult(d.SkipCond)) {
            if (d.MaxRows >= 1 && written >= d.MaxRows)
                break;
            ++written;
            cells.clear();
            for (size_t c = 0; c < fields.size(); ++c) {
                TField* f = fields[c];
                const QString text = IsMemoField(f) ? ParseRTFFormat(f->AsString()) : f->DisplayText();
                cells += addCell(text, written, int(c) + 1, f, d.DataHAlign.isEmpty() ? FieldAlign(f) : d.DataHAlign, d.DataVAlign);
                if (d.DataWidth)
                    cols[c].ColW = std::max(cols[c].ColW, int(text.size()));
            }
            rows += addRow(cells, written);
        }
        if (!FindNext(slot))
            break;
    }
    // 11. Filler and sum rows.
    int rowCount = written;
    if (d.MinRows >= 1 || d.AddSumRows >= 1) {
        const int target = std::max(d.MinRows, written) + d.AddSumRows;
        while (rowCount < target) {
            ++rowCount;
            cells.clear();
            for (size_t c = 0; c < fields.size(); ++c)
                cells += addCell(QString(), rowCount, int(c) + 1, fields[c],
                                 d.DataHAlign.isEmpty() ? FieldAlign(fields[c]) : d.DataHAlign, d.DataVAlign);
            rows += addRow(cells, rowCount);
        }
    }
    // 12.
    table.insert(rs, rows);
    // 13. Column widths from the template's grid width.
    const int gs = table.indexOf(QLatin1String("<w:tblGrid>")), ge = table.indexOf(QLatin1String("</w:tblGrid>"));
    if (gs >= 0 && ge > gs) {
        const QString grid = table.mid(gs, ge - gs);
        const int q1 = grid.indexOf(QLatin1Char('"')), q2 = q1 >= 0 ? grid.indexOf(QLatin1Char('"'), q1 + 1) : -1;
        const int w = q2 > q1 ? grid.mid(q1 + 1, q2 - q1 - 1).toInt() : 0;
        if (w >= 1) {
            long long absSum = 0, relSum = 0;
            for (size_t c = 0; c < cols.size(); ++c) {
                TColWRec& col = cols[c];
                if (!d.TitleRotate && col.ColW < col.TitleW)
                    col.ColW += (col.TitleW - col.ColW) / 2;
                col.ColW = std::clamp(col.ColW + 3, 6, 50);
                if (OnGetColumnWidth)
                    OnGetColumnWidth(this, d.ID, fields[c], int(c) + 1, col.ColW, col.AbsW);
                if (col.AbsW)
                    absSum += col.ColW;
                else
                    relSum += col.ColW;
            }
            const long long a = std::llround(absSum * 566 / 10.0);
            QString gridCols;
            for (const auto& col : cols) {
                long long width = col.AbsW ? std::llround(col.ColW * 566 / 10.0)
                                           : (relSum < 1 ? 0 : std::llround(double(col.ColW) * (w - a) / relSum));
                gridCols += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(std::max(283LL, width));
            }
            table.replace(gs + 11, ge - gs - 11, gridCols);
        }
    }
    return table;
}

// ---- table-row scans ------------------------------------------------------------------

bool TrXMLReport::ScanOption(TScanInfo& Info, const QString& Name, const QString& Inside)
{
    if (!Name.startsWith(QLatin1String("tblrow"), Qt::CaseInsensitive))
        return false;
    bool ok = false;
    const int n = Name.mid(6).toInt(&ok);
    if (!ok || n < 1)
        RaiseErr(5, Name);
    Info.TableRows = true;
    while (Info.RowConds.size() < n)
        Info.RowConds << QString();
    while (Info.RowConds.size() > n)
        Info.RowConds.removeLast();
    Info.RowConds[n - 1] = Inside.trimmed();
    return true;
}

TTableRowParts TrXMLReport::SplitTableRows(const QString& Body, const TScanInfo& Info) const
{
    const TXMLMarkup& m = XMLMarkup(FXMLFormat);
    TTableRowParts parts;
    int start = FXMLFormat == tfDOCX ? FindRowStart(Body, 0) : int(Body.indexOf(m.TableRowBegin, 0, Qt::CaseInsensitive));
    if (start < 0) {
        parts.Prefix = Body;
        return parts;
    }
    parts.Prefix = Body.left(start);
    const int suffix = Body.indexOf(m.TableTagEnd, start);
    if (suffix < 0)
        RaiseErr(5, m.TableTagEnd);
    parts.Suffix = Body.mid(suffix);
    int at = start;
    while (at >= 0 && at < suffix) {
        const int end = Body.indexOf(m.TableRowEnd, at);
        if (end < 0 || end > suffix)
            RaiseErr(5, m.TableRowEnd);
        const int rowEnd = end + m.TableRowEnd.size();
        const QString cond = Info.RowConds.value(parts.Rows.size()).trimmed();
        const QString c = cond.toLower();
        TTableRowParts::TKind kind = TTableRowParts::rkCondition;
        if (c.isEmpty() || c == QLatin1String("1"))
            kind = TTableRowParts::rkEvery;
        else if (c == QLatin1String("h") || c == QLatin1String("header"))
            kind = TTableRowParts::rkHeader;
        else if (c == QLatin1String("f") || c == QLatin1String("footer"))
            kind = TTableRowParts::rkFooter;
        else if (c == QLatin1String("0") || c == QLatin1String("hide"))
            kind = TTableRowParts::rkHidden;
        parts.Rows << Body.mid(at, rowEnd - at);
        parts.Kinds.push_back(kind);
        parts.Conds << cond;
        at = FXMLFormat == tfDOCX ? FindRowStart(Body, rowEnd) : int(Body.indexOf(m.TableRowBegin, rowEnd, Qt::CaseInsensitive));
    }
    return parts;
}

// ---- named tables -------------------------------------------------------------------

namespace {

const QString CaptionStart = QStringLiteral("<w:tblCaption w:val=\"");

struct TTableSpan {
    int Begin = -1, End = -1;            // the table in the part
    int CellBegin = -1, CellEnd = -1;    // its first cell's content, in the table
};

// The table around a caption at position C and its first cell's content.
TTableSpan TableAround(const QString& Part, int C, const TXMLMarkup& m)
{
    TTableSpan t;
    t.Begin = Part.lastIndexOf(m.TableTagBegin, C);
    const int end = Part.indexOf(m.TableTagEnd, C);
    if (t.Begin < 0 || end < 0)
        throw TReportException(reptxt::BadFormat + QStringLiteral("\nInvalid table structure."));
    t.End = end + m.TableTagEnd.size();
    const QString table = Part.mid(t.Begin, t.End - t.Begin);
    const int cell = table.indexOf(m.TableCellBegin);
    const int cellEnd = cell < 0 ? -1 : table.indexOf(m.TableCellEnd, cell);
    if (cell < 0 || cellEnd < 0)
        throw TReportException(reptxt::BadFormat + QStringLiteral("\nInvalid table structure."));
    int content = cell + m.TableCellBegin.size();
    if (QStringView(table).mid(content).startsWith(QLatin1String("<w:tcPr>"))) {
        const int props = table.indexOf(QLatin1String("</w:tcPr>"), content);
        if (props >= 0)
            content = props + 9;
    }
    t.CellBegin = content;
    t.CellEnd = cellEnd;
    return t;
}

} // namespace

int TrXMLReport::NamedTables_LoadContent(const QString& FileName, const QString& TableNamePrefix)
{
    SetReportFormat(FileName);
    if (FXMLFormat != tfDOCX)
        RaiseErr(-3, FillText(QStringLiteral("Tag \"%s\" is not supported in this template format."), QStringLiteral("TableContent")));
    NamedTables_Content.clear();
    FLoadTableNamePrefix = TableNamePrefix.isEmpty() ? QStringLiteral("*") : TableNamePrefix;
    bool ok = false;
    try {
        ok = ExtractProcXMLFiles(FileName, true);
    } catch (...) {
        FLoadTableNamePrefix.clear();
        throw;
    }
    FLoadTableNamePrefix.clear();
    return ok ? int(NamedTables_Content.size()) : 0;
}

void TrXMLReport::NamedTables_DefineContent(const QString& TableNameID, const QString& CellXMLContent, const QString& PlainText)
{
    for (auto& r : NamedTables_Content)
        if (r.TableName.compare(TableNameID, Qt::CaseInsensitive) == 0) {
            r.TableName = TableNameID;
            r.CellXMLContent = CellXMLContent;
            r.PlainText = PlainText;
            return;
        }
    NamedTables_Content.push_back({TableNameID, QString(), CellXMLContent, PlainText});
}

void TrXMLReport::LoadNamedTables()
{
    const TXMLMarkup& m = XMLMarkup(FXMLFormat);
    const QString prefix = FLoadTableNamePrefix == QLatin1String("*") ? QString() : FLoadTableNamePrefix;
    int at = 0;
    for (;;) {
        const int c = RepStr.indexOf(CaptionStart + prefix, at);
        if (c < 0)
            return;
        const int nameStart = c + CaptionStart.size();
        const QString name = XMLToStr(RepStr.mid(nameStart, RepStr.indexOf(QLatin1Char('"'), nameStart) - nameStart));
        const TTableSpan t = TableAround(RepStr, c, m);
        const QString table = RepStr.mid(t.Begin, t.End - t.Begin);
        const QString cell = table.mid(t.CellBegin, t.CellEnd - t.CellBegin);
        QString plain = cell;
        plain.replace(QLatin1String("</w:p>"), QLatin1String("</w:p>\r\n"));
        static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
        plain.remove(tags);
        if (plain.endsWith(QLatin1String("\r\n")))
            plain.chop(2);
        NamedTables_Content.push_back({name, table, cell, XMLToStr(plain)});
        at = t.End;
    }
}

void TrXMLReport::WriteNamedTables()
{
    const TXMLMarkup& m = XMLMarkup(FXMLFormat);
    for (const auto& r : NamedTables_Content) {
        const int c = RepStr.indexOf(CaptionStart + StrToXML(r.TableName, FXMLFormat));
        if (c < 0)
            continue;
        const TTableSpan t = TableAround(RepStr, c, m);
        QString table = RepStr.mid(t.Begin, t.End - t.Begin);
        const QString old = table.mid(t.CellBegin, t.CellEnd - t.CellBegin);
        const QString fresh = !r.CellXMLContent.isEmpty() ? r.CellXMLContent
                                                         : m.ParBeginAll + StrToXML(r.PlainText, FXMLFormat) + m.ParEndAll;
        if (!old.isEmpty())
            table.replace(old, fresh, Qt::CaseInsensitive);
        RepStr.replace(t.Begin, t.End - t.Begin, table);
    }
}
