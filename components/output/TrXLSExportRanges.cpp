// The open workbook of the spreadsheet export and its data block: opening
// and saving, choosing sheets, and moving values between the block, single
// cells, named ranges and rectangles of the target sheet, for programs that
// read a sheet back or fill cells of a template workbook.

#include "components/output/TrXLSExport.h"

#include "components/base/rdlg.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/Clipbrd.h"
#include "resources/ExportTexts.h"

#include <QFileInfo>

// ---- the open workbook ----------------------------------------------------------------

bool TrXLSExport::Guard(const std::function<void()>& Op) const
{
    try {
        Op();
        return true;
    } catch (const std::exception& E) {
        ShowErr(exptxt::ExcelAppError, E, false);
        return false;
    }
}

TXlsxSheet* TrXLSExport::Target() const
{
    if (!FWorkbook || !FSheet)
        throw Exception(exptxt::NoWorkbook);
    return FSheet;
}

bool TrXLSExport::OpenFile(bool NewFile, const QString& OpenFileName, bool)
{
    return Guard([&] {
        auto book = std::make_unique<TXlsxWorkbook>();
        const bool existing = !NewFile && !OpenFileName.isEmpty() && QFileInfo::exists(OpenFileName);
        if (existing)
            book->Load(OpenFileName);
        else
            book->AddSheet(QString());
        FWorkbook = std::move(book);
        FBook = FWorkbook.get();
        FSheet = FBook->Sheet(FBook->ActiveSheet);
        FRememberedSheet = FBook->ActiveSheet;
        FOpenedFile = existing ? OpenFileName : QString();
    });
}

bool TrXLSExport::SaveCloseFile(bool CloseApp, bool SaveFile, const QString& SaveFileName, int)
{
    if (!FWorkbook)
        return false;
    if (SaveFile) {
        const QString name = SaveFileName.isEmpty() ? FOpenedFile : SaveFileName;
        const bool saved = Guard([&] {
            if (name.isEmpty())
                throw Exception(exptxt::CannotWrite.arg(QString()));
            FWorkbook->Save(name);
            FOpenedFile = name;
        });
        if (!saved)
            return false;
    }
    if (CloseApp)
        Disconnect();
    return true;
}

void TrXLSExport::Disconnect()
{
    FWorkbook.reset();
    FBook = nullptr;
    FSheet = nullptr;
    FOpenedFile.clear();
    FRememberedSheet = -1;
    Range = TXlsRange();
    ExportedDataRange = TXlsRange();
}

int TrXLSExport::GetSheetsCount() const
{
    return FWorkbook ? FWorkbook->SheetCount() : 0;
}

bool TrXLSExport::SelectSheet(bool NewSheet, const QString& SheetName, int SheetIndex)
{
    if (!FWorkbook)
        return false;
    if (NewSheet) {
        return Guard([&] {
            FSheet = FWorkbook->AddSheet(SheetName);
            FWorkbook->ActiveSheet = FWorkbook->SheetCount() - 1;
        });
    }
    bool found = false;
    for (int i = 0; i < FWorkbook->SheetCount(); ++i)
        if (FWorkbook->Sheet(i)->Name.compare(SheetName, Qt::CaseInsensitive) == 0 || i + 1 == SheetIndex) {
            FSheet = FWorkbook->Sheet(i);
            FWorkbook->ActiveSheet = i;
            found = true;
        }
    return found;
}

bool TrXLSExport::DeleteSheet(bool AllUnselected, const QString& SheetName)
{
    if (!FWorkbook || !FSheet)
        return false;
    bool deleted = false;
    const QString target = FSheet->Name;
    for (int i = FWorkbook->SheetCount() - 1; i >= 0; --i) {
        const QString name = FWorkbook->Sheet(i)->Name;
        const bool named = !SheetName.isEmpty() && name.compare(SheetName, Qt::CaseInsensitive) == 0;
        if (named || (AllUnselected && name != target)) {
            // the workbook keeps at least one sheet, as a spreadsheet must
            if (FWorkbook->SheetCount() == 1)
                break;
            if (FWorkbook->Sheet(i) == FSheet)
                FSheet = nullptr;
            FWorkbook->DeleteSheet(i);
            deleted = true;
        }
    }
    if (!FSheet)
        FSheet = FWorkbook->Sheet(0);
    FWorkbook->ActiveSheet = std::max(0, FWorkbook->IndexOfSheet(FSheet->Name));
    return deleted;
}

bool TrXLSExport::ActivateRangeSheet(QString& RangeName)
{
    const int bang = RangeName.lastIndexOf(QLatin1Char('!'));
    if (bang < 0)
        return true;
    QString sheet = RangeName.left(bang);
    if (sheet.size() >= 2 && sheet.startsWith(QLatin1Char('\'')) && sheet.endsWith(QLatin1Char('\'')))
        sheet = sheet.mid(1, sheet.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    RangeName.remove(0, bang + 1);
    return SelectSheet(false, sheet, 0);
}

void TrXLSExport::RememberActiveSheet()
{
    FRememberedSheet = FWorkbook ? FWorkbook->ActiveSheet : -1;
}

void TrXLSExport::SelectRememberSheet()
{
    if (FWorkbook && FRememberedSheet >= 0 && FRememberedSheet < FWorkbook->SheetCount())
        SelectSheet(false, QString(), FRememberedSheet + 1);
}

// ---- the data block ---------------------------------------------------------------------

QVariant& TrXLSExport::Data(int Row, int Col)
{
    if (Row < 1 || Col < 1 || Row > FDataRows || Col > FDataCols)
        throw EArgumentOutOfRangeException(QStringLiteral("Data element (%1, %2) is outside the block.").arg(Row).arg(Col));
    return FData[size_t(Row - 1) * size_t(FDataCols) + size_t(Col - 1)];
}

void TrXLSExport::SetDataSize(int RowCount, int ColCount)
{
    FDataRows = std::max(0, RowCount);
    FDataCols = std::max(0, ColCount);
    FData.assign(size_t(FDataRows) * size_t(FDataCols), QVariant());
}

void TrXLSExport::SetCurrentRange(int Row, int Col, int RowCount, int ColCount)
{
    Range = {Row, Col, RowCount, ColCount};
}

void TrXLSExport::SetExportedDataRange(int Row, int Col, int RowCount, int ColCount)
{
    ExportedDataRange = {Row, Col, RowCount, ColCount};
}

TrXLSExport::TXlsRange TrXLSExport::ResolveRange(const QString& RangeName)
{
    Target();
    QString name = RangeName.trimmed();
    const QString ref = FWorkbook->NameRef(name);
    if (!ref.isEmpty()) {
        name = ref;
        if (!ActivateRangeSheet(name))
            throw Exception(exptxt::RangeNotFound.arg(RangeName));
    }
    const QStringList corners = name.split(QLatin1Char(':'));
    int r0 = 0, c0 = 0, r1 = 0, c1 = 0;
    if (corners.size() > 2 || !TXlsxWorkbook::ParseCellName(corners.front(), r0, c0)
        || !TXlsxWorkbook::ParseCellName(corners.back(), r1, c1))
        throw Exception(exptxt::RangeNotFound.arg(RangeName));
    return {std::min(r0, r1) + 1, std::min(c0, c1) + 1, std::abs(r1 - r0) + 1, std::abs(c1 - c0) + 1};
}

void TrXLSExport::SetDataSizeFromRange(const QString& RangeName)
{
    Range = ResolveRange(RangeName);
    FStartRow = Range.Row;
    FStartCol = Range.Col;
    SetDataSize(Range.RowCount, Range.ColCount);
}

bool TrXLSExport::RangeToData(const TXlsRange& R, bool MoveStart)
{
    return Guard([&] {
        const TXlsxSheet* sheet = Target();
        if (MoveStart) {
            FStartRow = R.Row;
            FStartCol = R.Col;
        }
        SetDataSize(R.RowCount, R.ColCount);
        Range = {FStartRow, FStartCol, R.RowCount, R.ColCount};
        for (int r = 1; r <= FDataRows; ++r)
            for (int c = 1; c <= FDataCols; ++c)
                Data(r, c) = sheet->Value(FStartRow + r - 2, FStartCol + c - 2);
    });
}

bool TrXLSExport::CopyCellsToData()
{
    return RangeToData({FStartRow, FStartCol, FDataRows, FDataCols}, false);
}

bool TrXLSExport::CopyUsedRangeToData()
{
    if (!FWorkbook)
        return Guard([this] { Target(); });
    int r = 0, c = 0, rows = 1, cols = 1;
    if (!FSheet->UsedRange(r, c, rows, cols))
        rows = cols = 1;
    return RangeToData({r + 1, c + 1, rows, cols}, true);
}

bool TrXLSExport::CopyCurrentRegionToData()
{
    if (!FWorkbook)
        return Guard([this] { Target(); });
    int r, c, rows, cols;
    FSheet->CurrentRegion(FStartRow - 1, FStartCol - 1, r, c, rows, cols);
    return RangeToData({FStartRow, FStartCol, rows, cols}, false);
}

void TrXLSExport::WriteCellValue(int Row, int Col, const QVariant& Value, int Format)
{
    TXlsxSheet* sheet = Target();
    if (!Value.isValid() || Value.isNull()) {
        sheet->SetText(Row - 1, Col - 1, QString(), Format);
        return;
    }
    switch (Value.typeId()) {
    case QMetaType::QString: sheet->SetText(Row - 1, Col - 1, Value.toString(), Format); return;
    case QMetaType::QDate: sheet->SetNumber(Row - 1, Col - 1, QDateToDateTime(Value.toDate()), Format); return;
    case QMetaType::QDateTime: sheet->SetNumber(Row - 1, Col - 1, QDateTimeToDateTime(Value.toDateTime()), Format); return;
    case QMetaType::Bool: sheet->SetNumber(Row - 1, Col - 1, Value.toBool() ? 1 : 0, Format); return;
    default: break;
    }
    bool ok = false;
    const double v = Value.toDouble(&ok);
    if (ok)
        sheet->SetNumber(Row - 1, Col - 1, v, Format);
    else
        sheet->SetText(Row - 1, Col - 1, Value.toString(), Format);
}

bool TrXLSExport::PasteDataToCells(bool SetAutoFilter)
{
    return Guard([&] {
        Target();
        Range = {FStartRow, FStartCol, FDataRows, FDataCols};
        for (int r = 1; r <= FDataRows; ++r)
            for (int c = 1; c <= FDataCols; ++c)
                WriteCellValue(FStartRow + r - 1, FStartCol + c - 1, Data(r, c), -1);
        if (SetAutoFilter && Range.Valid())
            FSheet->SetAutoFilter(Range.Row - 1, Range.Col - 1, Range.Row + Range.RowCount - 2, Range.Col + Range.ColCount - 2);
    });
}

QVariant TrXLSExport::GetCellValue(int Row, int Col)
{
    QVariant v;
    Guard([&] { v = Target()->Value(Row - 1, Col - 1); });
    return v;
}

void TrXLSExport::SetCellValue(int Row, int Col, const QVariant& Value, const QString& NumberFormat)
{
    Guard([&] {
        TXlsxFormat f;
        f.NumFormat = NumberFormat;
        WriteCellValue(Row, Col, Value, NumberFormat.isEmpty() ? -1 : FWorkbook->AddFormat(f));
    });
}

void TrXLSExport::SetRangeValue(const QString& RangeName, const QVariant& Value, const QString& NumberFormat)
{
    Guard([&] {
        QString name = RangeName;
        if (!ActivateRangeSheet(name))
            throw Exception(exptxt::SheetNotFound.arg(RangeName.left(RangeName.lastIndexOf(QLatin1Char('!')))));
        const TXlsRange r = ResolveRange(name);
        TXlsxFormat f;
        f.NumFormat = NumberFormat;
        const int format = NumberFormat.isEmpty() ? -1 : FWorkbook->AddFormat(f);
        for (int row = r.Row; row < r.Row + r.RowCount; ++row)
            for (int col = r.Col; col < r.Col + r.ColCount; ++col)
                WriteCellValue(row, col, Value, format);
    });
}

void TrXLSExport::DefineRangeName(const QString& Name, int Row, int Col, int RowCount, int ColCount)
{
    Guard([&] {
        const TXlsxSheet* sheet = Target();
        const auto abs = [](int R, int C) {
            const QString a = TXlsxWorkbook::CellName(R - 1, C - 1);
            const int digit = int(std::find_if(a.begin(), a.end(), [](QChar ch) { return ch.isDigit(); }) - a.begin());
            return QLatin1Char('$') + a.left(digit) + QLatin1Char('$') + a.mid(digit);
        };
        QString ref = TXlsxWorkbook::QuoteSheet(sheet->Name) + QLatin1Char('!') + abs(Row, Col);
        if (RowCount > 1 || ColCount > 1)
            ref += QLatin1Char(':') + abs(Row + RowCount - 1, Col + ColCount - 1);
        FWorkbook->DefineName(Name, ref);
    });
}

// ---- the clipboard: tab-separated text, as spreadsheets copy cells ----------------------

QString TrXLSExport::RangeText(const TXlsRange& R) const
{
    QStringList lines;
    for (int r = R.Row; r < R.Row + R.RowCount; ++r) {
        QStringList cells;
        for (int c = R.Col; c < R.Col + R.ColCount; ++c) {
            const QVariant v = FSheet->Value(r - 1, c - 1);
            cells << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool TrXLSExport::CopyCellsToClipboard()
{
    return Guard([&] {
        Target();
        Range = {FStartRow, FStartCol, FDataRows, FDataCols};
        Clipboard()->SetAsText(RangeText(Range));
    });
}

bool TrXLSExport::CopyUsedRangeToClipboard()
{
    return Guard([&] {
        int r = 0, c = 0, rows = 1, cols = 1;
        if (!Target()->UsedRange(r, c, rows, cols))
            rows = cols = 1;
        Range = {r + 1, c + 1, rows, cols};
        Clipboard()->SetAsText(RangeText(Range));
    });
}

bool TrXLSExport::CopyCurrentRegionToClipboard()
{
    return Guard([&] {
        int r, c, rows, cols;
        Target()->CurrentRegion(FStartRow - 1, FStartCol - 1, r, c, rows, cols);
        Range = {r + 1, c + 1, rows, cols};
        Clipboard()->SetAsText(RangeText(Range));
    });
}

bool TrXLSExport::PasteClipboardToCells(bool SetAutoFilter)
{
    return Guard([&] {
        Target();
        QString text = Clipboard()->AsText();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        const QStringList lines = text.split(QLatin1Char('\n'));
        int width = 1;
        for (int r = 0; r < lines.size(); ++r) {
            const QStringList cells = lines[r].split(QLatin1Char('\t'));
            width = std::max(width, int(cells.size()));
            for (int c = 0; c < cells.size(); ++c) {
                bool ok = false;
                const double v = cells[c].toDouble(&ok);
                WriteCellValue(FStartRow + r, FStartCol + c, ok ? QVariant(v) : QVariant(cells[c]), -1);
            }
        }
        Range = {FStartRow, FStartCol, int(lines.size()), width};
        if (SetAutoFilter)
            FSheet->SetAutoFilter(Range.Row - 1, Range.Col - 1, Range.Row + Range.RowCount - 2, Range.Col + Range.ColCount - 2);
    });
}
