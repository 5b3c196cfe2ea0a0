#include "components/output/TDBPrintRTF.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/dbcontrols/DataItemDefs.h"
#include "components/grid/rdbtool.h"
#include "components/output/TRTFReport2.h"
#include "components/stringgrid/rStringGridEd.h"
#include "components/stringgrid/rStringGridEdColumn.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/TreeViews.h"
#include "resources/PrintTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <stdexcept>

namespace {

// Indexed by paper x 14 + orientation x 7 + font index (6 to 12 points).
constexpr int rtfw[42] = {138, 118, 103, 92, 82, 75, 68, 203, 174, 152, 135, 121, 110, 101,
                          138, 118, 103, 92, 82, 75, 68, 187, 160, 142, 126, 117, 107, 95,
                          138, 118, 103, 92, 82, 75, 68, 245, 208, 185, 160, 144, 131, 120};
constexpr int rtfh[42] = {105, 90, 79, 70, 64, 57, 49, 70, 60, 52, 46, 42, 38, 35,
                          98,  86, 75, 67, 62, 56, 48, 70, 60, 52, 46, 42, 38, 35,
                          128, 111, 97, 87, 80, 72, 64, 70, 60, 52, 46, 42, 38, 35};

const char* const TooWide = "Data to print is too wide, unselect some columns or select smaller font size.";

struct TPage {
    int W, H, L, R, T, B;
};
// Per template number - 1: page size and margins in twips.
constexpr TPage Pages[6] = {{11906, 16838, 900, 926, 1438, 1079},  {16838, 11906, 900, 1178, 1438, 924},
                            {12242, 15842, 902, 1082, 1417, 1077}, {15842, 12242, 902, 1179, 1417, 924},
                            {12242, 20163, 902, 1083, 1417, 1077}, {20163, 12242, 1080, 1179, 1417, 924}};

// Folders that received documents; they are cleared when the program ends.
struct TProducedFolders {
    QStringList Dirs;
    ~TProducedFolders()
    {
        for (const QString& d : Dirs)
            TDBPrintRTF::DelFiles(d);
    }
};

TProducedFolders& Produced()
{
    static TProducedFolders folders;
    return folders;
}

int Clamp(int V, int Lo, int Hi)
{
    return V < Lo ? Lo : (V > Hi ? Hi : V);
}

int Index(int Paper, int Orientation, int FontIndex)
{
    return Clamp(Paper, 0, 2) * 14 + Clamp(Orientation, 0, 1) * 7 + Clamp(FontIndex, 0, 6);
}

bool IsNumeric(const TField* F)
{
    return IsNumericFieldType(F->DataType());
}

bool IsNumOrDate(const TField* F)
{
    return IsNumeric(F) || IsDateTimeType(F->DataType());
}

// The tag chain that sets Tag in FS points (12 down to 7, else 6).
QString SizedTag(const QString& Tag)
{
    QString s;
    for (int fs = 12; fs >= 7; --fs)
        s += QStringLiteral("\\\\IIF(FS=%1)\\\\{\\fs%2 \\\\%3\\\\}\\\\ELSEIIF\\\\").arg(fs).arg(fs * 2).arg(Tag);
    s += QStringLiteral("{\\fs12 \\\\%1\\\\}").arg(Tag);
    for (int i = 0; i < 6; ++i)
        s += QStringLiteral("\\\\ENDIIF\\\\");
    return s;
}

}  // namespace

TDBPrintRTF::TDBPrintRTF(TComponent* AOwner) : TExportEngine(AOwner) {}

int TDBPrintRTF::LineChars(int Paper, int Orientation, int FontIndex)
{
    return rtfw[Index(Paper, Orientation, FontIndex)];
}

int TDBPrintRTF::PageLines(int Paper, int Orientation, int FontIndex)
{
    return rtfh[Index(Paper, Orientation, FontIndex)];
}

QByteArray TDBPrintRTF::TemplateText(int Paper, int Orientation)
{
    const TPage& p = Pages[Clamp(Paper, 0, 2) * 2 + Clamp(Orientation, 0, 1)];
    const int right = p.W - p.L - p.R;
    const QString border = QStringLiteral("\\brdrs\\brdrw10\\brsp20 ");
    QString t;
    t += QStringLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset238\\fprq1 Courier New;}}\n");
    t += QStringLiteral("\\paperw%1\\paperh%2\\margl%3\\margr%4\\margt%5\\margb%6%7\n")
             .arg(p.W).arg(p.H).arg(p.L).arg(p.R).arg(p.T).arg(p.B)
             .arg(Orientation == 1 ? QStringLiteral("\\landscape") : QString());
    t += QStringLiteral("\\sectd%1\\pgwsxn%2\\pghsxn%3\\headery709\\footery709\n")
             .arg(Orientation == 1 ? QStringLiteral("\\lndscpsxn") : QString()).arg(p.W).arg(p.H);
    t += QStringLiteral("{\\header\\pard\\plain\\f0\\qc\\sa120\\b \\\\ReportName\\\\\\b0\\par\n");
    t += QStringLiteral("\\pard\\plain\\f0\\ql\\brdrb%1\\b %2\\b0\\par}\n").arg(border, SizedTag(QStringLiteral("Header")));
    t += QStringLiteral("{\\footer\\pard\\plain\\f0\\fs18\\brdrt%1\\tqc\\tx%2\\tqr\\tx%3 \\\\Date\\\\\\tab\\tab "
                        "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} / {\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}\n")
             .arg(border).arg(right / 2).arg(right);
    t += QStringLiteral("\\pard\\plain\\f0\\ql %1\\par\n").arg(SizedTag(QStringLiteral("Line")));
    t += QStringLiteral("\\pard\\plain\\f0\\ql\\brdrt%1%2\\par\n").arg(border, SizedTag(QStringLiteral("Footer")));
    t += QStringLiteral("\\pard\\plain\\f0\\fs16 \\\\Info(SetPrinter)\\\\\\par\n}\n");
    return t.toLatin1();
}

QString TDBPrintRTF::RtfEscape(const QString& S)
{
    QString r;
    r.reserve(S.size());
    for (const QChar c : RtfEscapeMarkup(S)) {
        const ushort u = c.unicode();
        if (u == '\r' || u == '\n' || u == '\t')
            r += QLatin1Char(' ');
        else if (u > 127)
            r += QStringLiteral("\\u%1?").arg(short(u));
        else
            r += c;
    }
    return r;
}

QString TDBPrintRTF::PrintDataDir(bool Create)
{
    QString d = ParioCompConfig.rDBPrintCfg.PrintData_Dir;
    if (!d.isEmpty()) {
        if (Create)
            QDir().mkpath(d);
        return QDir(d).absolutePath();
    }
    d = GetAppDir();
    // a read-only program folder cannot hold documents: use the app data folder
    if (!QFileInfo(d).isWritable()) {
        d = QDir::homePath() + QStringLiteral("/.local/share/sorvex/printdata");
        if (Create)
            QDir().mkpath(d);
    }
    return QDir(d).absolutePath();
}

void TDBPrintRTF::DelFiles(const QString& Dir)
{
    const QDir d(Dir.isEmpty() ? PrintDataDir(false) : Dir);
    const QRegularExpression Numbered(QStringLiteral("^printdata\\d+\\.rtf$"), QRegularExpression::CaseInsensitiveOption);
    for (const QString& f : d.entryList({QStringLiteral("printdata*.rtf")}, QDir::Files))
        if (Numbered.match(f).hasMatch())
            QFile::remove(d.filePath(f));
}

// ---- measuring and fitting ---------------------------------------------------------

void TDBPrintRTF::AnalyzeData()
{
    const size_t n = FN.size();
    wMax.assign(n, 0);
    wSumAdd.assign(n, 0);
    wKind.assign(n, TColKind{});
    Sums.assign(n, 0.0);
    TStringList visible;
    if (FMeasureOnly)
        GetFldList(SourceObject, &visible, GetFldDefs(false, true, true, WantsMemoFields(), false, false, false));
    for (size_t i = 0; i < n; ++i) {
        wMax[i] = int(FN[i].Title.size());
        const TField* f = FN[i].Field;
        const bool gridNumber = !f && FN[i].Col >= 0 && !StringGridIsText(FN[i]);
        wKind[i].Simple = (f && IsSimpleField(f)) || FN[i].Col >= 0;
        wKind[i].Numeric = (f && IsNumeric(f)) || gridNumber;
        wKind[i].NumOrDate = (f && IsNumOrDate(f)) || gridNumber;
        wKind[i].Visible = !FMeasureOnly || visible.IndexOf(FN[i].Name) >= 0;
    }
    if (SourceType == stTreeView) {
        return;
    }
    WalkSource([&](int) {
        for (size_t i = 0; i < n; ++i)
            if (wKind[i].Simple)
                wMax[i] = std::max(wMax[i], int(SourceText(FN[i]).size()));
    });
    Aborted = false;
    for (size_t i = 0; i < n; ++i)
        wSumAdd[i] = wKind[i].Numeric ? 2 : 0;
}

bool TDBPrintRTF::Measure(TSourceType AType, TComponent* ASource)
{
    const bool visibleOnly = ExportOnlyVisibleFields;
    const bool progress = ShowProgressBar;
    ExportOnlyVisibleFields = false;
    FMeasureOnly = true;
    const bool ok = ExecuteInt(AType, ASource);
    FMeasureOnly = false;
    ExportOnlyVisibleFields = visibleOnly;
    ShowProgressBar = progress;
    return ok;
}

bool TDBPrintRTF::Counts(size_t i) const
{
    return wKind[i].Simple && (wKind[i].Visible || !ExportOnlyVisibleFields);
}

int TDBPrintRTF::WidthSum(bool NumericOnly, bool CountOnly) const
{
    int w = 0;
    for (size_t i = 0; i < wKind.size() && i < wMax.size(); ++i) {
        if (!Counts(i) || (NumericOnly && !wKind[i].NumOrDate))
            continue;
        w += CountOnly ? 1 : Sep + wMax[i] + (Sum && wKind[i].Numeric ? wSumAdd[i] : 0);
    }
    return w;
}

void TDBPrintRTF::SetAutoformat()
{
    const int w = WidthSum(false, false);
    int fit = -1;
    for (int f = 0; f <= 6; ++f)
        if (LineChars(Paper, Orientation, f) >= w)
            fit = f;
    if (fit >= 0) {
        FontIndex = fit;
    } else if (Orientation == 0) {
        Orientation = 1;
        SetAutoformat();
    } else {
        FontIndex = 0;
    }
}

void TDBPrintRTF::CalcColWidth()
{
    // 1. line, whole table, numeric part and the separators of text columns
    const int W = LineChars(Paper, Orientation, FontIndex);
    const int total = WidthSum(false, false);
    const int numW = WidthSum(true, false);
    const int S = Sep * (WidthSum(false, true) - WidthSum(true, true));
    // 2. numbers and dates are never shrunk
    if (W - S < numW)
        throw std::runtime_error(TooWide);
    // 3. text columns share what is left
    const double R = total <= W ? 1.0 : double(W - numW - S) / double(total - numW - S);
    if (R < 0.2)
        throw std::runtime_error(TooWide);
    // 4. the width of each printed column
    wCol.assign(FN.size(), 0);
    for (size_t i = 0; i < FN.size(); ++i) {
        if (!Counts(i))
            continue;
        wCol[i] = wKind[i].NumOrDate ? wMax[i] + (Sum && wKind[i].Numeric ? wSumAdd[i] : 0) : int(wMax[i] * R);
    }
    // 5. the whole line must fit
    int used = 0;
    for (const int c : wCol)
        if (c > 0)
            used += Sep + c;
    if (used > W)
        throw std::runtime_error(TooWide);
}

// ---- content -----------------------------------------------------------------------

QString TDBPrintRTF::StyledText(const QString& Text, unsigned Style, bool Bold)
{
    QString t = Text;
    if (Bold || (Style & fsBold))
        t = QStringLiteral("\\b ") + t + QStringLiteral("\\b0 ");
    if (Style & fsItalic)
        t = QStringLiteral("\\i ") + t + QStringLiteral("\\i0 ");
    if (Style & fsUnderline)
        t = QStringLiteral("\\ul ") + t + QStringLiteral("\\ul0 ");
    return t;
}

unsigned TDBPrintRTF::ColumnFontStyle(size_t i) const
{
    // grid and string grid sources print in the look of their columns' fonts
    if (SourceType == stGrid)
        if (TColumn* col = ColumnOf(FN[i].Field))
            return col->Font()->Style();
    if (SourceType == stStringGrid && FN[i].Col >= 0)
        if (TrStringGridEd* g = StringGridEd())
            if (TrStringGridEdColumn* col = g->ColumnOf(FN[i].Col))
                return col->Font()->Style();
    return 0;
}

QString TDBPrintRTF::RecLine(int Kind)
{
    QString line;
    const bool styled = (SourceType == stGrid || SourceType == stStringGrid) && Kind == 2;
    for (size_t i = 0; i < FN.size(); ++i) {
        TField* f = FN[i].Field;
        if (wCol[i] <= 0 || (!f && FN[i].Col < 0))
            continue;
        QString text;
        double v = 0;
        if (Kind == 0) {
            text = FN[i].Title;
        } else if (Kind == 1) {
            text = SourceText(FN[i]);
            if (f && IsNumeric(f) && !f->IsNull())
                Sums[i] += f->AsFloat();
            else if (!f && StringGridNumber(FN[i], v))
                Sums[i] += v;
        } else if (wKind[i].Numeric) {
            const QString format = f ? f->DisplayFormat() : StringGridNumFormat(FN[i]);
            text = format.isEmpty() ? FloatToStr(Sums[i]) : FormatFloat(format, Sums[i]);
        }
        const int w = wCol[i];
        if (text.size() > w)
            text = text.left(w - 1) + QLatin1Char('~');
        const int pad = w - int(text.size());
        const TFieldAlignment align = f ? f->Alignment() : StringGridAlignment(FN[i], Kind == 0 ? 0 : RecIdx);
        if (align == TFieldAlignment::RightJustify)
            text = QString(pad, QLatin1Char(' ')) + text;
        else if (align == TFieldAlignment::Center)
            text = QString(pad / 2, QLatin1Char(' ')) + text + QString(pad - pad / 2, QLatin1Char(' '));
        else
            text += QString(pad, QLatin1Char(' '));
        text = RtfEscape(text);
        if (Kind != 0)
            text = StyledText(text, ColumnFontStyle(i), styled);
        line += text + QString(Sep, QLatin1Char(' '));
    }
    return line;
}

QString TDBPrintRTF::Content(int Kind)
{
    if (SourceType == stTreeView || SourceType == stRecView)
        return Kind == 1 ? ListLines() : QString();
    if (Kind != 1)
        return RecLine(Kind);
    QString lines;
    bool first = true;
    WalkSource([&](int) {
        if (!first)
            lines += QStringLiteral("\\par ");
        first = false;
        lines += RecLine(1);
    });
    return lines;
}

QString TDBPrintRTF::ListLines()
{
    // tree views: two blanks per level; record views: caption, ":", value
    QStringList lines;
    if (SourceType == stTreeView) {
        WalkTreeNodes([&](TTreeNode* N, int Depth) {
            // the data-aware tree's items print in their own font style
            auto* node = dynamic_cast<TrTreeNode*>(N);
            const unsigned style = node && node->NodeObject() ? node->NodeObject()->Style : 0;
            lines << StyledText(RtfEscape(QString(2 * Depth, QLatin1Char(' ')) + N->Text()), style, false);
        });
        return lines.join(QStringLiteral("\\par "));
    }
    int captionW = 0;
    for (const TExportColumn& c : FN)
        captionW = std::max(captionW, int(c.Title.size()));
    const QString indent(Sep + captionW + 1, QLatin1Char(' '));
    for (const TExportColumn& c : FN) {
        QString value = SourceText(c);
        value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QStringList parts = value.split(QLatin1Char('\n'));
        for (QString& p : parts)
            p = RtfEscape(p);
        lines << RtfEscape(c.Title.leftJustified(captionW) + QStringLiteral(":") + QString(Sep, QLatin1Char(' '))) +
                     parts.join(QStringLiteral("\\par ") + indent);
    }
    return lines.join(QStringLiteral("\\par "));
}

QString TDBPrintRTF::TemplateFile(const QString& Dir) const
{
    const int n = Clamp(Paper, 0, 2) * 2 + Clamp(Orientation, 0, 1) + 1;
    const QString t = QDir(Dir).filePath(QStringLiteral("printdata_template%1c.rtf").arg(n));
    if (!QFileInfo::exists(t)) {
        QFile f(t);
        if (!f.open(QIODevice::WriteOnly) || f.write(TemplateText(Paper, Orientation)) < 0 || !f.flush())
            throw std::runtime_error(("Cannot write " + t.toStdString()).c_str());
    }
    return t;
}

bool TDBPrintRTF::Run()
{
    AnalyzeData();
    if (FMeasureOnly)
        return true;
    if (Autoformat)
        SetAutoformat();
    // 1.-3. folder, template and the next free output file
    const QString dir = Folder.isEmpty() ? PrintDataDir(true) : Folder;
    QDir().mkpath(dir);
    TRTFReport2 rep;
    rep.DefaultCharset = 238;
    rep.ReportFile = TemplateFile(dir);
    int k = 1;
    while (QFileInfo::exists(QDir(dir).filePath(QStringLiteral("printdata%1.rtf").arg(k))))
        ++k;
    FOutput = QDir(dir).filePath(QStringLiteral("printdata%1.rtf").arg(k));
    if (!Produced().Dirs.contains(dir))
        Produced().Dirs << dir;
    rep.OutputFile = FOutput;
    // 4. the font size for the template's size chain
    rep.Variables.Clear();
    rep.Variables.Add(QStringLiteral("FS=%1").arg(FontIndex + 6));
    rep.ActionAfter = ActionAfter;
    rep.OnReadInfo = [this, &rep](TComponent*) { rep.PrinterName = PrinterName; };
    // 6. widths and sums
    if (SourceType != stTreeView && SourceType != stRecView)
        CalcColWidth();
    std::fill(Sums.begin(), Sums.end(), 0.0);
    rep.OnUserCalc = [this](TComponent*, QString& Calc, bool& Replace) {
        const QString name = Calc.trimmed().toLower();
        Replace = true;
        if (name == QLatin1String("reportname"))
            Calc = RtfEscape(Caption);
        else if (name == QLatin1String("date"))
            Calc = DateToStr(Date());
        else if (name == QLatin1String("header"))
            Calc = Content(0);
        else if (name == QLatin1String("line"))
            Calc = Content(1);
        else if (name == QLatin1String("footer"))
            Calc = Sum ? Content(2) : QString();
        else
            Replace = false;
    };
    // 7. the engine writes the document and opens or prints it
    rep.Execute({Dataset});
    return QFileInfo::exists(FOutput);
}

QString TDBPrintRTF::ErrorText() const
{
    return prntxt::ErrorCreating;
}
