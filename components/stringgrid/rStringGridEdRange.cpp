// The string grid's selected range and its text form (clipboard, copy,
// clear and paste), the table files and the INI-style key/value view.
#include "components/stringgrid/rStringGridEd.h"

#include "components/base/rtool.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Clipbrd.h"
#include "resources/StringGridTexts.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

using enum TOptionEx;

namespace {

enum TRangeMode { rmCopy, rmText, rmClear };

const QString CRLF = QStringLiteral("\r\n");

// A cursor that shows the hourglass while it lives.
class THourGlass {
public:
    THourGlass() : FOld(ChCursor(crHourGlass)) {}
    ~THourGlass() { ChCursor(FOld); }

private:
    TCursor FOld;
};

bool IsUtf8Name(const QString& Encoding)
{
    const QString e = Encoding.trimmed().toUpper();
    return e.isEmpty() || e == QLatin1String("UTF-8") || e == QLatin1String("UTF8");
}

QByteArray EncodeText(const QString& Text, const QString& Encoding)
{
    if (IsUtf8Name(Encoding))
        return Text.toUtf8();
    QStringEncoder enc(Encoding.toLatin1().constData());
    if (!enc.isValid())
        throw EInOutError(sgtxt::UnknownEncoding.arg(Encoding));
    return enc.encode(Text);
}

QString DecodeText(const QByteArray& Bytes, const QString& Encoding)
{
    if (Encoding.trimmed().isEmpty())
        return DecodeTextBytes(Bytes);
    if (IsUtf8Name(Encoding))
        return QString::fromUtf8(Bytes.startsWith("\xEF\xBB\xBF") ? Bytes.mid(3) : Bytes);
    QStringDecoder dec(Encoding.toLatin1().constData());
    if (!dec.isValid())
        throw EInOutError(sgtxt::UnknownEncoding.arg(Encoding));
    return dec.decode(Bytes);
}

QString ReadTextFile(const QString& FileName, const QString& Encoding)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(sgtxt::CannotReadFile.arg(FileName, f.errorString()));
    return DecodeText(f.readAll(), Encoding);
}

// Written through a temporary file, so a failed save leaves the old file whole.
void WriteTextFile(const QString& FileName, const QString& Text, const QString& Encoding)
{
    const QByteArray bytes = EncodeText(Text, Encoding);
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EInOutError(sgtxt::CannotWriteFile.arg(FileName, f.errorString()));
}

QStringList SplitLines(const QString& Text)
{
    QString t = Text;
    t.replace(CRLF, QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList l = t.split(QLatin1Char('\n'));
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

// Rows of a table file end in any line break; a line feed inside a quoted
// cell belongs to the cell.
QString TableLinesToPasteText(const QString& Text, QChar Quote)
{
    QString out;
    out.reserve(Text.size());
    bool quoted = false;
    for (int i = 0; i < Text.size(); ++i) {
        const QChar ch = Text[i];
        if (ch == Quote) {
            quoted = !quoted;
            out += ch;
        } else if (!quoted && (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))) {
            if (ch == QLatin1Char('\r') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += CRLF;
        } else {
            out += ch;
        }
    }
    if (out.endsWith(CRLF))
        out.chop(2);
    return out;
}

}  // namespace

// ---- the selected range ----------------------------------------------------------------------

TGridRect TrStringGridEd::SelectedRange() const
{
    return {std::min(FRangeStart.X, FRangeStop.X), std::min(FRangeStart.Y, FRangeStop.Y), std::max(FRangeStart.X, FRangeStop.X),
            std::max(FRangeStart.Y, FRangeStop.Y)};
}

void TrStringGridEd::SetSelectedRange(const TGridRect& R)
{
    const int c0 = FixedCols(), c1 = std::max(c0, ColCount() - 1);
    const int r0 = FixedRows(), r1 = std::max(r0, RowCount() - 1);
    FRangeStart = {std::clamp(std::min(R.Left, R.Right), c0, c1), std::clamp(std::min(R.Top, R.Bottom), r0, r1)};
    FRangeStop = {std::clamp(std::max(R.Left, R.Right), c0, c1), std::clamp(std::max(R.Top, R.Bottom), r0, r1)};
    Invalidate();
}

bool TrStringGridEd::IsRangeSelected() const { return HasOptionEx(dgSelectRange) && GetRangeCellCount() > 1; }

int TrStringGridEd::GetRangeCellCount() const
{
    const TGridRect r = SelectedRange();
    return (r.Right - r.Left + 1) * (r.Bottom - r.Top + 1);
}

bool TrStringGridEd::CellInSelectedRange(int ACol, int ARow) const
{
    if (!IsRangeSelected())
        return false;
    const TGridRect r = SelectedRange();
    return ACol >= r.Left && ACol <= r.Right && ARow >= r.Top && ARow <= r.Bottom;
}

void TrStringGridEd::ResetSelRange()
{
    const bool had = IsRangeSelected();
    FRangeStart = {Col(), Row()};
    FRangeStop = FRangeStart;
    if (had)
        Invalidate();
}

void TrStringGridEd::InvalidateSelectedRange()
{
    if (IsRangeSelected())
        Invalidate();
}

void TrStringGridEd::ExtendRangeTo(int ACol, int ARow)
{
    if (FRangeStop.X == ACol && FRangeStop.Y == ARow)
        return;
    FRangeStop = {ACol, ARow};
    Invalidate();
}

// ---- the text form -----------------------------------------------------------------------------

void TrStringGridEd::DoSelRangeProc(const TGridRect& Range, int Mode, QChar Separator)
{
    THourGlass hourGlass;
    SelRangeText.clear();
    if (Mode == rmClear) {
        for (int r = Range.Top; r <= Range.Bottom; ++r)
            for (int c = Range.Left; c <= Range.Right; ++c)
                if (CanEditCell(c, r)) {
                    SetEditText(c, r, QString());
                    DoFinishEditing(c, r, true);
                }
        CheckLastRow();
        return;
    }
    const bool withHidden = HasOptionEx(dgCopyPasteHiddenColumns);
    const QString quote(TextApostrophe);
    QString out;
    for (int r = Range.Top; r <= Range.Bottom; ++r) {
        if (r > Range.Top)
            out += CRLF;
        bool first = true;
        for (int c = Range.Left; c <= Range.Right; ++c) {
            TrStringGridEdColumn* col = ColumnOf(c);
            if (!withHidden && col && !col->Visible())
                continue;
            if (!first)
                out += Separator;
            first = false;
            QString cell = Cells(c, r);
            if (r == 0 && cell.isEmpty() && col)
                cell = col->TitleCaption();
            if (!cell.contains(QLatin1Char('\n')) && !cell.contains(TextApostrophe) && !cell.contains(Separator)) {
                out += cell;
                continue;
            }
            cell.replace(CRLF, QStringLiteral("\n"));
            cell.replace(quote, quote + quote);
            out += quote + cell + quote;
        }
    }
    SelRangeText = out;
    if (Mode == rmCopy)
        Clipboard()->SetAsText(out);
}

QString TrStringGridEd::CopySelRange()
{
    DoSelRangeProc(SelectedRange(), rmCopy, QLatin1Char('\t'));
    return SelRangeText;
}

void TrStringGridEd::ClearSelRange()
{
    DoSelRangeProc(SelectedRange(), rmClear, QLatin1Char('\t'));
    CheckLastRows();
}

void TrStringGridEd::CopyEntireTable(bool IncludingFixedRows, bool IncludingFixedColumns, QString& Text, QChar Separator)
{
    const TGridRect r{IncludingFixedColumns ? 0 : FixedCols(), IncludingFixedRows ? 0 : FixedRows(), ColCount() - 1, RowCount() - 1};
    DoSelRangeProc(r, rmCopy, Separator);
    Text = SelRangeText;
}

void TrStringGridEd::PasteSelRangeInt(int StartCol, int StartRow, QChar Separator, const QString& PasteData, bool SelectRange,
                                      bool SkipAllChecks, bool CanExpandGrid)
{
    // 1.
    QString text = PasteData;
    if (text.isEmpty()) {
        try {
            text = Clipboard()->AsText();
        } catch (...) {
            return;
        }
    }
    // Spreadsheets end their copied rows with a line break; taken as one more
    // (empty) line it would empty the first cell of the row below.
    if (text.endsWith(CRLF))
        text.chop(2);
    if (text.isEmpty())
        return;
    if (!SkipAllChecks && !((Options() & goEditing) && !(Options() & goRowSelect)))
        return;
    if (!DoGeneralEvent(gePasteDataBefore))
        return;
    THourGlass hourGlass;
    const bool withHidden = HasOptionEx(dgCopyPasteHiddenColumns);
    int lastCol = StartCol, lastRow = StartRow;
    // 2.
    const QStringList lines = text.split(CRLF);
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        const int row = StartRow + n;
        QStringList fields;
        int i = 0;
        do {
            QString f;
            if (i < line.size() && line[i] == TextApostrophe) {
                ++i;
                while (i < line.size()) {
                    if (line[i] == TextApostrophe) {
                        if (i + 1 < line.size() && line[i + 1] == TextApostrophe) {
                            f += TextApostrophe;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    f += line[i++];
                }
                f.replace(QStringLiteral("\n"), CRLF);
            }
            while (i < line.size() && line[i] != Separator)
                f += line[i++];
            fields << f;
            if (i < line.size())
                ++i;  // the separator
            else
                break;
        } while (true);
        // 3., 4., 5.
        int col = StartCol;
        for (const QString& field : fields) {
            while (!withHidden && col < ColCount() && ColumnOf(col) && !ColumnOf(col)->Visible())
                ++col;
            if (CanExpandGrid) {
                if (col >= ColCount())
                    SetColCount(col + 1);
                if (row >= RowCount())
                    SetRowCount(row + 1);
            }
            if (col < ColCount() && row < RowCount()) {
                const QString value = GetDataType(col, row) == sgdText ? field : CleanTextForType(col, row, field);
                if (SkipAllChecks) {
                    SetCells(col, row, value);
                } else if (CanEditCell(col, row)) {
                    SetEditText(col, row, value);
                    if (GetCoordPosition(col, row) == cpDataCell)
                        DoFinishEditing(col, row, true);
                }
                lastCol = std::max(lastCol, col);
                lastRow = std::max(lastRow, row);
            }
            ++col;
        }
    }
    // 6.
    CheckLastRow();
    if (SelectRange)
        SetSelectedRange({StartCol, StartRow, lastCol, lastRow});
    Invalidate();
    DoGeneralEvent(gePasteDataAfter);
}

void TrStringGridEd::PasteSelRange(bool CanExpandGrid, const QString& PasteData)
{
    PasteSelRangeInt(Col(), Row(), QLatin1Char('\t'), PasteData, true, false, CanExpandGrid);
}

void TrStringGridEd::PasteEntireTable(bool CanExpandGrid, const QString& PasteData)
{
    PasteSelRangeInt(0, 0, QLatin1Char('\t'), PasteData, false, false, CanExpandGrid);
}

// ---- table files ---------------------------------------------------------------------------------

void TrStringGridEd::SaveToFile(const QString& FileName, const QString& Encoding, QChar Separator)
{
    QString text;
    CopyEntireTable(true, true, text, Separator);
    // Rows end in CR LF; a line break inside a (quoted) cell stays a single
    // line feed, so loading finds the same rows again.
    WriteTextFile(FileName, text.isEmpty() ? QString() : text + CRLF, Encoding);
}

void TrStringGridEd::LoadFromFile(const QString& FileName, bool SkipAllChecks, QChar Separator, const QString& Encoding)
{
    const QString text = TableLinesToPasteText(ReadTextFile(FileName, Encoding), TextApostrophe);
    const int lines = text.isEmpty() ? 0 : int(text.count(CRLF)) + 1;
    if (lines < FixedRows() || text.isEmpty())
        return;
    PasteSelRangeInt(0, 0, Separator, text, false, SkipAllChecks, true);
}

void TrStringGridEd::ClearEntireTable(bool IncludingFixedCells)
{
    SelectFirstCell(FixedCols(), FixedRows());
    SelRangeText.clear();
    const int c0 = IncludingFixedCells ? 0 : FixedCols(), r0 = IncludingFixedCells ? 0 : FixedRows();
    for (int r = r0; r < RowCount(); ++r)
        for (int c = c0; c < ColCount(); ++c) {
            SetCells(c, r, QString());
            SetObjects(c, r, nullptr);
        }
    CheckLastRows();
}

// ---- the INI view ----------------------------------------------------------------------------------

int TrStringGridEd::FindIniRow(const QString& Key) const
{
    for (int r = 0; r < RowCount(); ++r)
        if (Cells(IniKeyColumn, r).compare(Key, Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

QString TrStringGridEd::GetIniValue(const QString& Key) const
{
    const int r = FindIniRow(Key);
    return r >= FixedRows() ? Cells(IniValueColumn, r) : QString();
}

void TrStringGridEd::SetIniValue(const QString& Key, const QString& Value)
{
    const int r = FindIniRow(Key);
    if (r >= FixedRows())
        SetCells(IniValueColumn, r, Value);
}

bool TrStringGridEd::IsIniGroupRow(int ARow) const
{
    return !FIniGroupRows.isEmpty() && ARow >= 0 && ARow < RowCount() &&
           FIniGroupRows.contains(Cells(IniKeyColumn, ARow), Qt::CaseInsensitive);
}

void TrStringGridEd::SaveToIniFile(const QString& FileName, const QString& Encoding, QString& Text)
{
    Text.clear();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString key = Cells(IniKeyColumn, r);
        if (key.isEmpty())
            continue;
        Text += IsIniGroupRow(r) ? QLatin1Char('[') + key + QLatin1Char(']') : key + QLatin1Char('=') + Cells(IniValueColumn, r);
        Text += CRLF;
    }
    if (!FileName.isEmpty())
        WriteTextFile(FileName, Text, Encoding);
}

void TrStringGridEd::LoadFromIniFile(const QString& FileName, const QString& Content, const QString& Encoding)
{
    // Read first: a file that cannot be read leaves the grid as it was.
    const QStringList lines = SplitLines(FileName.isEmpty() ? Content : ReadTextFile(FileName, Encoding));
    FIniGroupRows.clear();
    if (RowCount() < FixedRows() + lines.size())
        SetRowCount(FixedRows() + int(lines.size()));
    for (int n = 0; n < lines.size(); ++n) {
        const int r = FixedRows() + n;
        const QString line = lines[n];
        const QString t = Trim(line);
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            const QString key = t.mid(1, t.size() - 2);
            SetCells(IniKeyColumn, r, key);
            SetCells(IniValueColumn, r, QString());
            FIniGroupRows << key;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        SetCells(IniKeyColumn, r, eq < 0 ? line : line.left(eq));
        SetCells(IniValueColumn, r, eq < 0 ? QString() : line.mid(eq + 1));
    }
    Invalidate();
}

void TrStringGridEd::LoadValuesFromIniFile(const QString& FileName, const QString& Content, const QString& Encoding)
{
    TStringList source;
    source.Assign(SplitLines(FileName.isEmpty() ? Content : ReadTextFile(FileName, Encoding)));
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString key = Cells(IniKeyColumn, r);
        if (!key.isEmpty() && source.IndexOfName(key) >= 0)
            SetCells(IniValueColumn, r, source.Values(key));
    }
}
