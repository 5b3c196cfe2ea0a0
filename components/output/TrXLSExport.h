#pragma once
// Rows of a grid or dataset as a new .xlsx workbook: typed cells with
// invariant number formats, a bold title row, a sum row with formulas,
// column widths fitted to the texts, borders and frozen titles. The file is
// written by our own spreadsheet model; no spreadsheet application runs.

#include "components/output/TExportEngine.h"
#include "platform/office/TXlsxWorkbook.h"

#include <cstdint>

enum TXLSExportOption : uint32_t {
    xleExportTitles, xleRealFieldNamesAsTitle, xleBoldTitles, xleAddSumRow, xleStringFieldAsText, xleSetCellFormat,
    xleSetCellBorders, xleWrapMemoField, xleSetColumnWidth, xleSetRowHeight, xleFreezeTitles, xleSetAutoFilter,
    xleSetPageSetup, xleOnlyVisibleFields, xleOnlySelectedRows, xleExportPictures, xleAddAsNewSheet, xleAddToExistingRows,
    xleTrimData, xleNumericFieldAsFloat
};
using TXLSExportOptions = uint32_t;
constexpr TXLSExportOptions xleOpt(TXLSExportOption O) { return TXLSExportOptions(1u << unsigned(O)); }

class TrXLSExport : public TExportEngine {
public:
    explicit TrXLSExport(TComponent* AOwner = nullptr);

    TXLSExportOptions Options;
    QString SetFontName;
    int SetFontSize = 0;
    QString DefaultDateFormat;
    QString DefaultTimeFormat;
    QString DefaultNumFormat;
    int MaxColWidth = 100;

    bool Has(TXLSExportOption O) const { return (Options & xleOpt(O)) != 0; }
    void SetOption(TXLSExportOption O, bool On) { Options = On ? (Options | xleOpt(O)) : (Options & ~xleOpt(O)); }
    int StartRow() const { return FStartRow; }
    int StartCol() const { return FStartCol; }
    void SetStartRow(int v) { if (v > 0) FStartRow = v; }
    void SetStartCol(int v) { if (v > 0) FStartCol = v; }

    // Exports into ExportFile (a new workbook; an empty name writes a
    // temporary one for the after-action), into a sheet of that name.
    bool ExportDBTable(TCustomDBGrid* Grid, const QString& ExportToSheetName = QString());
    bool ExportDBTable(TDataSet* Dataset, const QString& ExportToSheetName = QString());
    // Any of the five source kinds.
    bool ExportSource(TSourceType AType, TComponent* ASource, const QString& ExportToSheetName = QString());
    // The file written by the last run (the temporary one in no-file mode).
    const QString& WrittenFile() const { return FWritten; }

protected:
    bool Run() override;

private:
    void SyncSharedFlags();
    int CellFormat(const TExportColumn& C, bool Bold);
    QString NumFormatOf(const TField* F) const;
    void WriteTitles();
    void WriteRow();
    void WriteSumRow();
    void FitColumns();

    QString FSheetName;
    QString FWritten;
    int FStartRow = 1;
    int FStartCol = 1;
    int FRow = 0;  // next sheet row, from 0
    int FFirstDataRow = 0;
    int FExported = 0;
    std::vector<int> FTextLen;
    std::vector<double> FSums;
    TXlsxWorkbook* FBook = nullptr;
    TXlsxSheet* FSheet = nullptr;
};
