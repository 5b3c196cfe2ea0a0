#include "components/output/TSLKExport.h"

#include "components/base/ParioCompGlobalCfg.h"

#include "resources/ExportTexts.h"

#include <cmath>

namespace {

bool IsDateTimeLike(const TField* F)
{
    const TFieldType t = F->DataType();
    return t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp;
}

bool IsNumericClass(const TField* F)
{
    return IsNumericFieldType(F->DataType());
}

QString FloatText(double v)
{
    return QString::number(v, 'g', 15);
}

}  // namespace

TSLKExport::TSLKExport(TComponent* AOwner) : TExportEngine(AOwner)
{
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TSLKExport::Loaded()
{
    TExportEngine::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

QString TSLKExport::Rec(const QString& Type, int Col, int Row, const QString& Data)
{
    QString r = Type;
    if (Col > 0)
        r += QStringLiteral(";X%1").arg(Col);
    if (Row > 0)
        r += QStringLiteral(";Y%1").arg(Row);
    if (!Data.isEmpty())
        r += QLatin1Char(';') + Data;
    return r;
}

QString TSLKExport::EncodeValue(const QString& Raw, bool IsNumber, bool IsText) const
{
    QString v = TrimData ? Raw.trimmed() : Raw;
    if (IsNumber) {
        v.replace(QLatin1Char(','), QLatin1Char('.'));
    } else if (IsText) {
        const QString esc = QString(QChar(27)) + QStringLiteral(" :");
        v.replace(QStringLiteral("\r\n"), esc);
        v.replace(QLatin1Char('\r'), esc);
        v.replace(QLatin1Char('\n'), esc);
        if (v.size() > 250) {
            v = v.left(247);
            if (v.endsWith(QString(QChar(27)) + QLatin1Char(' ')))
                v.chop(2);
            if (v.endsWith(QChar(27)))
                v.chop(1);
            v += QStringLiteral("...");
        }
        v = QLatin1Char('"') + v + QLatin1Char('"');
    }
    v.replace(QLatin1Char(';'), QStringLiteral(";;"));
    return v;
}

bool TSLKExport::IsNumberValue(TField* F) const
{
    const TFieldType t = F->DataType();
    const bool num = (IsNumericFieldType(t) && !IsIntegerType(t)) || IsDateTimeType(t);
    if (!num)
        return false;
    // Spreadsheets count days from 1900; earlier values (a time of day too) go as text.
    return !(IsDateTimeLike(F) && F->AsDateTime() < 1.0);
}

void TSLKExport::ExportText(const QString& Text, int AX, int AY)
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; CustomExport"));
    ExportLine(Rec(QStringLiteral("C"), AX, AY, QLatin1Char('K') + EncodeValue(Text, false, true)));
}

void TSLKExport::ExportNum(double Num, int AX, int AY)
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; CustomExport"));
    ExportLine(Rec(QStringLiteral("C"), AX, AY, QLatin1Char('K') + EncodeValue(FloatText(Num), true, false)));
}

void TSLKExport::SetCellFormat(slkCellFormat Fmt, int AX, int AY)
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; CustomExport"));
    ExportLine(Rec(QStringLiteral("F"), AX, AY, QStringLiteral("SM%1").arg(1 + int(Fmt))));
}

void TSLKExport::WritePictures()
{
    ExportLine(QStringLiteral("P;PGeneral"));
    ExportLine(QStringLiteral("P;P") + (DefaultDateFormat.isEmpty() ? QStringLiteral("d/m/yyyy") : DefaultDateFormat));
    ExportLine(QStringLiteral("P;P") + (DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm") : DefaultTimeFormat));
    for (const TExportColumn& c : FN) {
        QString pic;
        if (c.Field && IsNumericClass(c.Field))
            pic = c.Field->DisplayFormat().isEmpty() ? DefaultNumFormat : c.Field->DisplayFormat();
        else if (!c.Field && c.Col >= 0 && !StringGridIsText(c))
            pic = StringGridNumFormat(c).isEmpty() ? DefaultNumFormat : StringGridNumFormat(c);
        ExportLine(QStringLiteral("P;P") + (pic.isEmpty() ? QStringLiteral("General") : pic));
    }
}

void TSLKExport::WriteWidths()
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; Column Width"));
    for (int i = 0; i < int(FN.size()); ++i) {
        const int c = X + i;
        const TExportColumn& col = FN[size_t(i)];
        const int w = col.Field ? col.Field->DisplayWidth() : col.Col >= 0 ? StringGridDataWidth(col) : 50;
        ExportLine(QStringLiteral("F;W%1 %2 %3").arg(c).arg(c).arg(std::clamp(w, 5, 50) + 2));
    }
}

void TSLKExport::WriteTitles()
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; Title"));
    ExportLine(Rec(QStringLiteral("C"), X, Y, QString()));
    for (int i = 0; i < int(FN.size()); ++i)
        ExportLine(Rec(QStringLiteral("C"), X + i, 0, QLatin1Char('K') + EncodeValue(FN[size_t(i)].Title, false, true)));
    ++Y;
}

void TSLKExport::WriteCell(int i, TField* F)
{
    const int c = X + i;
    if (IsDateTimeLike(F))
        ExportLine(QStringLiteral("F;P%1;X%2").arg(std::floor(F->AsDateTime()) != 0 ? 1 : 2).arg(c));
    else if (IsNumericClass(F))
        ExportLine(QStringLiteral("F;P%1;X%2").arg(3 + i).arg(c));
    else
        ExportLine(QStringLiteral("C;X%1").arg(c));
    const bool num = IsNumberValue(F);
    if (IsNumericClass(F))
        FSums[size_t(i)] += F->AsFloat();
    const QString raw = num ? FloatText(IsDateTimeLike(F) ? F->AsDateTime() : F->AsFloat()) : RawText(F);
    // Booleans count as text here, as their words are what the cell shows
    ExportLine(QStringLiteral("C;K") + EncodeValue(raw, num, !num && (IsApostrField(F) || F->DataType() == ftBoolean)));
}

void TSLKExport::WriteRow()
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; Row"));
    ExportLine(Rec(QStringLiteral("C"), X, Y, QString()));
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        if (f && !f->IsNull())
            WriteCell(i, f);
        else if (!f && FN[size_t(i)].Col >= 0)
            WriteGridCell(i);
    }
    ++Y;
    MaxX = X + int(FN.size()) - 1;
}

void TSLKExport::WriteGridCell(int i)
{
    const TExportColumn& col = FN[size_t(i)];
    const QString text = SourceText(col);
    if (text.isEmpty())
        return;
    double v = 0;
    const TGridCellKind kind = StringGridKind(col);
    if (StringGridNumber(col, v)) {
        // number cells take their column's picture, as number fields do
        FSums[size_t(i)] += v;
        ExportLine(QStringLiteral("F;P%1;X%2").arg(3 + i).arg(X + i));
    } else if ((kind == TGridCellKind::Date || kind == TGridCellKind::Time) && StringGridDateTime(col, v)) {
        ExportLine(QStringLiteral("F;P%1;X%2").arg(kind == TGridCellKind::Date ? 1 : 2).arg(X + i));
    } else {
        ExportLine(QStringLiteral("C;X%1").arg(X + i));
        // date-time and bar columns stay bare, text columns are quoted
        const bool bare = kind == TGridCellKind::DateTime || kind == TGridCellKind::Bar;
        ExportLine(QStringLiteral("C;K") + EncodeValue(text, false, !bare));
        return;
    }
    ExportLine(QStringLiteral("C;K") + EncodeValue(FloatText(v), true, false));
}

void TSLKExport::WriteTreeNode(const QString& Text, int Depth)
{
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; Row"));
    ExportLine(Rec(QStringLiteral("C"), X, Y, QString()));
    ExportLine(QStringLiteral("C;X%1").arg(X + Depth));
    ExportLine(QStringLiteral("C;K") + EncodeValue(Text, false, true));
    MaxX = std::max(MaxX, X + Depth);
    ++Y;
}

void TSLKExport::WriteSumRow()
{
    const int first = FStartRow + ((ExportFieldName || ExportStructureOnly) ? 1 : 0);
    const int last = Y - 1;
    if (last < first)
        return;
    ExportLine(QStringLiteral(";"));
    ExportLine(QStringLiteral("; Sum"));
    ExportLine(Rec(QStringLiteral("C"), X, Y, QString()));
    bool sumWritten = false;
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        const bool summable = f ? !IsApostrField(f) : FN[size_t(i)].Col >= 0 && !StringGridIsText(FN[size_t(i)]);
        if (!summable) {
            if (!sumWritten)
                ExportLine(Rec(QStringLiteral("C"), X + i, 0, QLatin1Char('K') + EncodeValue(exptxt::Sum, false, true)));
            sumWritten = true;
            continue;
        }
        // the sum goes along as the cell's value, so readers that do not
        // recalculate on opening (LibreOffice among them) show it
        ExportLine(Rec(QStringLiteral("C"), X + i, 0,
                       QLatin1Char('K') + EncodeValue(FloatText(FSums[size_t(i)]), true, false) +
                           QStringLiteral(";ESUM(R%1C:R%2C)").arg(first).arg(last)));
    }
}

bool TSLKExport::Run()
{
    if (ExportFile.isEmpty())
        return false;
    ExportResult.Clear();
    X = FStartCol;
    Y = FStartRow;
    FSums.assign(FN.size(), 0.0);
    MaxX = X;
    // The program name goes in the ID record's P field: LibreOffice takes a
    // file for SYLK only when it starts with "ID;P", and opens anything else
    // as plain text.
    ExportLine(SLKIdHeaderLine.isEmpty() ? QStringLiteral("ID;PSLKExport") : SLKIdHeaderLine);
    WritePictures();
    if (UseFonts()) {
        ExportLine(QStringLiteral("P;F") + SetFontName);
        ExportLine(QStringLiteral("P;F") + SetFontName + QStringLiteral(";SB"));
        ExportLine(QStringLiteral("P;F") + SetFontName + QStringLiteral(";SI"));
        ExportLine(QStringLiteral("P;F") + SetFontName + QStringLiteral(";SU"));
    }
    if (OnBeforeSLKExport)
        OnBeforeSLKExport(this, FStartCol, FStartRow);
    if (SetColWidth)
        WriteWidths();
    if (ExportFieldName || ExportStructureOnly)
        WriteTitles();
    if (!ExportStructureOnly) {
        if (SourceType == stTreeView)
            WalkTree([this](const QString& Text, int Depth) { WriteTreeNode(Text, Depth); });
        else if (!WalkSource([this](int) { WriteRow(); }))
            return false;
        if (MakeSumRow)
            WriteSumRow();
    }
    if (UseFonts()) {
        ExportLine(QStringLiteral(";"));
        ExportLine(QStringLiteral("; Global Formating"));
        if (ExportFieldName)
            ExportLine(QStringLiteral("F;R%1;SM1").arg(FStartRow));
        if (MakeSumRow)
            ExportLine(QStringLiteral("F;R%1;SM1").arg(Y));
    }
    if (OnAfterSLKExport)
        OnAfterSLKExport(this, MaxX, Y);
    ExportLine(QStringLiteral("E"));
    WriteWholeFile(ExportFile, Encode(ExportResult.Text(), Encoding));
    RunAfterAction(ExportFile);
    return true;
}

TSLKEncoding TSLKExport::SystemEncoding(const QString& Locale)
{
    const QString l = Locale.toLower();
    return l.contains(QLatin1String("utf-8")) || l.contains(QLatin1String("utf8")) ? seUtf8 : seWindows1252;
}

TSLKEncoding TSLKExport::SystemEncoding()
{
    for (const char* v : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString l = qEnvironmentVariable(v);
        if (!l.isEmpty())
            return SystemEncoding(l);
    }
    return seWindows1252;
}

QByteArray TSLKExport::Encode(const QString& Text, TSLKEncoding Enc)
{
    if (Enc == seSystem)
        Enc = SystemEncoding();
    // no byte-order mark: a file not starting with "ID;" is not taken for SYLK
    return Enc == seUtf8 ? Text.toUtf8() : EncodeWindows1252(Text);
}
