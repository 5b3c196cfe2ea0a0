// What libxlsxwriter does not write is put into the parts it wrote: the
// thresholds of icon sets (it writes only the sets' own percentages) and
// picture shadows (it writes no picture effects).

#include "platform/office/TXlsxWorkbook.h"
#include "platform/office/XlsxPackage.h"

#include "platform/rtl/Exception.h"

#include <algorithm>

namespace {

const QString Shadow = QStringLiteral(
    "<a:effectLst><a:outerShdw blurRad=\"50800\" dist=\"38100\" dir=\"2700000\" algn=\"tl\" rotWithShape=\"0\">"
    "<a:prstClr val=\"black\"><a:alpha val=\"40000\"/></a:prstClr></a:outerShdw></a:effectLst>");

QString Ref(const TXlsxConditional& C)
{
    const QString first = TXlsxWorkbook::CellName(C.FirstRow, C.Col);
    return C.LastRow == C.FirstRow ? first : first + QLatin1Char(':') + TXlsxWorkbook::CellName(C.LastRow, C.Col);
}

// The second and later value points of the icon set over C's range become
// "number, greater or equal" points at the thresholds.
void PutThresholds(QString& Sheet, const TXlsxConditional& C)
{
    const int block = int(Sheet.indexOf(QStringLiteral("<conditionalFormatting sqref=\"%1\">").arg(Ref(C))));
    if (block < 0)
        return;
    const int end = int(Sheet.indexOf(QStringLiteral("</conditionalFormatting>"), block));
    const int set = int(Sheet.indexOf(QStringLiteral("<iconSet"), block));
    if (set < 0 || set > end)
        return;
    const int setEnd = int(Sheet.indexOf(QStringLiteral("</iconSet>"), set));
    const int first = int(Sheet.indexOf(QStringLiteral("<cfvo "), set));
    if (setEnd < 0 || first < 0 || first > setEnd)
        return;
    const int firstEnd = int(Sheet.indexOf(QStringLiteral("/>"), first)) + 2;
    const int icons = int(Sheet.mid(set, setEnd - set).count(QStringLiteral("<cfvo ")));
    QString points;
    for (int i = 1; i < icons; ++i) {
        if (size_t(i - 1) < C.Thresholds.size())
            points += QStringLiteral("<cfvo type=\"num\" val=\"%1\" gte=\"1\"/>").arg(QString::number(C.Thresholds[size_t(i - 1)], 'g', 15));
        else
            points += QStringLiteral("<cfvo type=\"percent\" val=\"%1\"/>").arg(100 * i / icons);
    }
    Sheet.replace(firstEnd, setEnd - firstEnd, points);
}

// A shadow for the pictures of the drawing whose flags are set, in the
// order the pictures were placed.
void PutShadows(QString& Drawing, const std::vector<TXlsxSheet::TImage>& Images)
{
    int at = 0;
    for (const TXlsxSheet::TImage& image : Images) {
        const int pic = int(Drawing.indexOf(QStringLiteral("<xdr:pic>"), at));
        if (pic < 0)
            return;
        const int props = int(Drawing.indexOf(QStringLiteral("</xdr:spPr>"), pic));
        if (props < 0)
            return;
        if (image.Shadow)
            Drawing.insert(props, Shadow);
        at = int(Drawing.indexOf(QStringLiteral("</xdr:pic>"), pic));
        if (at < 0)
            return;
    }
}

}  // namespace

void TXlsxWorkbook::PostEdit(const QString& FileName, const std::vector<int>& Sheets) const
{
    const auto wanted = [this](int i) {
        const TXlsxSheet& s = *FSheets[size_t(i)];
        for (const TXlsxConditional& c : s.Conditionals())
            if (c.Kind == TXlsxConditional::TKind::IconSet && !c.Thresholds.empty())
                return true;
        for (const TXlsxSheet::TImage& image : s.Images())
            if (image.Shadow)
                return true;
        return false;
    };
    if (std::none_of(Sheets.begin(), Sheets.end(), wanted))
        return;
    TZipPackage p(FileName, true);
    const std::vector<TXlsxSheetEntry> list = ReadSheetList(p);
    for (size_t k = 0; k < Sheets.size() && k < list.size(); ++k) {
        const TXlsxSheet& s = *FSheets[size_t(Sheets[k])];
        if (!wanted(Sheets[k]))
            continue;
        const QString part = list[k].Part;
        QString sheet = QString::fromUtf8(p.Part(part));
        for (const TXlsxConditional& c : s.Conditionals())
            if (c.Kind == TXlsxConditional::TKind::IconSet && !c.Thresholds.empty())
                PutThresholds(sheet, c);
        p.Put(part, sheet.toUtf8());
        const QString folder = part.left(part.lastIndexOf(QLatin1Char('/')) + 1);
        const QString rels = folder + QStringLiteral("_rels/") + part.mid(folder.size()) + QStringLiteral(".rels");
        for (const TXlsxRel& rel : ReadRels(p.Part(rels), folder)) {
            if (!rel.Type.endsWith(QLatin1String("/drawing")))
                continue;
            QString drawing = QString::fromUtf8(p.Part(rel.Target));
            PutShadows(drawing, s.Images());
            p.Put(rel.Target, drawing.toUtf8());
        }
    }
    p.Commit();
}
