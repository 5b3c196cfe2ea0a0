#include "components/output/TrXLSExport.h"

#include "platform/rtl/Exception.h"
#include "platform/ui/DBGrids.h"
#include "resources/ExportTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

namespace {

bool IsDateTimeLike(const TField* F)
{
    const TFieldType t = F->DataType();
    return t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp;
}

bool IsNumber(const TField* F)
{
    switch (F->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftLargeint: case ftAutoInc: case ftFloat: case ftCurrency: case ftBCD:
    case ftFMTBcd: case ftSingle:
        return true;
    default:
        return false;
    }
}

}  // namespace

TrXLSExport::TrXLSExport(TComponent* AOwner) : TExportEngine(AOwner)
{
    Options = xleOpt(xleExportTitles) | xleOpt(xleBoldTitles) | xleOpt(xleAddSumRow) | xleOpt(xleSetCellFormat) |
              xleOpt(xleSetColumnWidth) | xleOpt(xleSetRowHeight) | xleOpt(xleOnlyVisibleFields);
}

bool TrXLSExport::ExportDBTable(TCustomDBGrid* Grid, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(stGrid, Grid);
}

bool TrXLSExport::ExportDBTable(TDataSet* Dataset, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(stDataset, Dataset);
}

bool TrXLSExport::ExportSource(TSourceType AType, TComponent* ASource, const QString& ExportToSheetName)
{
    FSheetName = ExportToSheetName;
    SyncSharedFlags();
    return ExecuteInt(AType, ASource);
}

void TrXLSExport::SyncSharedFlags()
{
    ExportFieldName = Has(xleExportTitles);
    RealFieldNamesAsTitle = Has(xleRealFieldNamesAsTitle);
    ExportOnlyVisibleFields = Has(xleOnlyVisibleFields);
    ExportOnlySelectedRows = Has(xleOnlySelectedRows);
    TrimData = Has(xleTrimData);
}

QString TrXLSExport::NumFormatOf(const TField* F) const
{
    if (!Has(xleSetCellFormat))
        return QString();
    if (F->DataType() == ftDate)
        return DefaultDateFormat.isEmpty() ? QStringLiteral("d.m.yyyy") : DefaultDateFormat;
    if (F->DataType() == ftTime)
        return DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm:ss") : DefaultTimeFormat;
    if (IsDateTimeLike(F))
        return (DefaultDateFormat.isEmpty() ? QStringLiteral("d.m.yyyy") : DefaultDateFormat) + QStringLiteral(" ") +
               (DefaultTimeFormat.isEmpty() ? QStringLiteral("h:mm:ss") : DefaultTimeFormat);
    if (!IsNumber(F))
        return QString();
    if (!F->DisplayFormat().isEmpty())
        return F->DisplayFormat();
    if (F->DataType() == ftCurrency)
        return QStringLiteral("#,##0.00");
    return DefaultNumFormat;
}

int TrXLSExport::CellFormat(const TExportColumn& C, bool Bold, bool Data)
{
    TXlsxFormat f;
    bool hide = false;
    if (Data)
        CellColors(C, f, hide);
    f.Bold = Bold || f.Bold;
    f.Border = Has(xleSetCellBorders);
    f.FontName = Has(xleSetCellFormat) ? SetFontName : QString();
    f.FontSize = Has(xleSetCellFormat) ? SetFontSize : 0;
    if (C.Field && !Bold)
        f.NumFormat = NumFormatOf(C.Field);
    if (C.Field && !Bold && Has(xleWrapMemoField) && IsMemoField(C.Field))
        f.Wrap = true;
    if (f == TXlsxFormat())
        return -1;
    return FBook->AddFormat(f);
}

void TrXLSExport::WriteTitles()
{
    const bool bold = Has(xleBoldTitles);
    for (int i = 0; i < int(FN.size()); ++i) {
        TExportColumn title = FN[size_t(i)];
        title.Field = nullptr;
        const QString t = TrimData ? TrimControls(FN[size_t(i)].Title) : FN[size_t(i)].Title;
        FSheet->SetText(FRow, FStartCol - 1 + i, t, CellFormat(title, bold));
        FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
    }
    ++FRow;
}

void TrXLSExport::WriteRow()
{
    for (int i = 0; i < int(FN.size()); ++i) {
        TField* f = FN[size_t(i)].Field;
        if (!f && FN[size_t(i)].Col >= 0)
            WriteGridCell(i);
        if (!f || f->IsNull())
            continue;
        const int col = FStartCol - 1 + i;
        const int fmt = CellFormat(FN[size_t(i)], false, true);
        if (Has(xleHideText) && Has(xleUseCellValueColor) && FieldKind(f) == 2) {
            // the colour alone shows the value
            FSheet->SetText(FRow, col, QString(), fmt);
            continue;
        }
        if (IsDateTimeLike(f) && f->AsDateTime() >= 1.0) {
            FSheet->SetNumber(FRow, col, f->AsDateTime(), fmt);
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(NumFormatOf(f).size()));
        } else if (IsNumber(f)) {
            const double v = f->AsFloat();
            FSheet->SetNumber(FRow, col, v, fmt);
            FSums[size_t(i)] += v;
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(f->DisplayText().size()));
        } else {
            // written as a text cell as it is: no leading apostrophe, a "=" stays text
            QString t = f->DataType() == ftBoolean ? f->DisplayText() : RawText(f);
            if (TrimData)
                t = TrimControls(t);
            FSheet->SetText(FRow, col, t, fmt);
            FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
        }
    }
    ++FRow;
    ++FExported;
}

void TrXLSExport::WriteGridCell(int i)
{
    const TExportColumn& c = FN[size_t(i)];
    QString t = SourceText(c);
    if (TrimData)
        t = TrimControls(t);
    if (t.isEmpty())
        return;
    const int col = FStartCol - 1 + i;
    const int fmt = CellFormat(c, false);
    double v = 0;
    if (StringGridNumber(c, v)) {
        FSheet->SetNumber(FRow, col, v, fmt);
        FSums[size_t(i)] += v;
    } else {
        FSheet->SetText(FRow, col, t, fmt);
    }
    FTextLen[size_t(i)] = std::max(FTextLen[size_t(i)], int(t.size()));
}

void TrXLSExport::WriteTreeNode(const QString& Text, int Depth)
{
    const QString t = TrimData ? TrimControls(Text) : Text;
    FSheet->SetText(FRow, FStartCol - 1 + Depth, t, -1);
    if (int(FTextLen.size()) <= Depth) {
        FTextLen.resize(size_t(Depth) + 1, 0);
        FSums.resize(size_t(Depth) + 1, 0.0);
    }
    FTextLen[size_t(Depth)] = std::max(FTextLen[size_t(Depth)], int(t.size()));
    ++FRow;
    ++FExported;
}

void TrXLSExport::WriteSumRow()
{
    const bool bold = Has(xleBoldTitles);
    bool sumText = false;
    for (int i = 0; i < int(FN.size()); ++i) {
        const TExportColumn& c = FN[size_t(i)];
        const int col = FStartCol - 1 + i;
        const bool summable = c.Field ? IsNumber(c.Field) : c.Col >= 0 && !StringGridIsText(c);
        if (!summable) {
            if (!sumText && (!c.Field || !IsDateTimeLike(c.Field))) {
                TExportColumn plain = c;
                plain.Field = nullptr;
                FSheet->SetText(FRow, col, exptxt::Sum, CellFormat(plain, bold));
                sumText = true;
            }
            continue;
        }
        TXlsxFormat f;
        const int base = CellFormat(c, false);
        if (base >= 0)
            f = FBook->Format(base);
        f.Bold = bold;
        const QString formula = QStringLiteral("SUM(%1:%2)").arg(TXlsxWorkbook::CellName(FFirstDataRow, col),
                                                                 TXlsxWorkbook::CellName(FRow - 1, col));
        FSheet->SetFormula(FRow, col, formula, FSums[size_t(i)], f == TXlsxFormat() ? -1 : FBook->AddFormat(f));
    }
    ++FRow;
}

void TrXLSExport::FitColumns()
{
    for (int i = 0; i < int(FTextLen.size()); ++i)
        FSheet->SetColumnWidth(FStartCol - 1 + i, std::min(MaxColWidth, std::max(FTextLen[size_t(i)], 4) + 2));
}

bool TrXLSExport::Run()
{
    FWritten.clear();
    const bool appending = Has(xleAddAsNewSheet) || Has(xleAddToExistingRows);
    if (appending && !ExportFile.isEmpty() && QFileInfo::exists(ExportFile))
        throw Exception(exptxt::AppendNotSupported);
    TXlsxWorkbook book;
    FBook = &book;
    FSheet = book.AddSheet(FSheetName);
    FRow = FStartRow - 1;
    FExported = 0;
    FTextLen.assign(FN.size(), 0);
    FSums.assign(FN.size(), 0.0);
    if (OnBeforeExport)
        OnBeforeExport(this);
    const bool titles = Has(xleExportTitles) || ExportStructureOnly;
    if (titles)
        WriteTitles();
    if (!ExportStructureOnly) {
        FFirstDataRow = FRow;
        if (SourceType == stTreeView)
            WalkTree([this](const QString& Text, int Depth) { WriteTreeNode(Text, Depth); });
        else if (!WalkSource([this](int) { WriteRow(); }))
            return false;
        if (FExported > 0)
            AddConditionalFormats();
        if (Has(xleAddSumRow) && FExported > 0 && SourceType != stTreeView)
            WriteSumRow();
    }
    if (Has(xleSetColumnWidth))
        FitColumns();
    if (titles && Has(xleFreezeTitles))
        FSheet->FreezeRows(FStartRow);
    if (OnAfterExport)
        OnAfterExport(this);
    FWritten = ExportFile.isEmpty()
                   ? QDir::temp().filePath(QStringLiteral("export-%1.xlsx").arg(QUuid::createUuid().toString(QUuid::Id128).left(12)))
                   : ExportFile;
    book.Save(FWritten);
    RunAfterAction(FWritten);
    return true;
}
