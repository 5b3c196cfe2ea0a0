#pragma once
// Rows of a grid or dataset as a new .xlsx workbook: typed cells with
// invariant number formats, a bold title row, a sum row with formulas,
// column widths fitted to the texts, borders and frozen titles. The file is
// written by our own spreadsheet model; no spreadsheet application runs.

#include "components/output/TExportEngine.h"
#include "platform/office/TXlsxWorkbook.h"
#include "platform/ui/Types.h"

#include <cstdint>

enum TXLSExportOption : uint32_t {
    xleExportTitles, xleRealFieldNamesAsTitle, xleBoldTitles, xleAddSumRow, xleStringFieldAsText, xleSetCellFormat,
    xleSetCellBorders, xleWrapMemoField, xleSetColumnWidth, xleSetRowHeight, xleFreezeTitles, xleSetAutoFilter,
    xleSetPageSetup, xleOnlyVisibleFields, xleOnlySelectedRows, xleExportPictures, xleAddAsNewSheet, xleAddToExistingRows,
    xleTrimData, xleNumericFieldAsFloat, xleUseColumnsColor, xleUseCellsColor, xleUseCellValueColor, xleSetBkColor, xleSetFontColor,
    xleHideText
};
using TXLSExportOptions = uint32_t;
constexpr TXLSExportOptions xleOpt(TXLSExportOption O) { return TXLSExportOptions(1u << unsigned(O)); }

// Settings of the conditional formats of one column; colours equal to
// xlsDefaultColor leave the spreadsheet's default.
constexpr TColor xlsDefaultColor = TColor(0x1FFFFFFF);
struct TDatabarSetting {
    double MinValue = 0, MaxValue = 0;
    TColor FillColor = xlsDefaultColor, BorderColor = xlsDefaultColor;
    bool ShowValue = true;
};
struct TColorScaleSetting {
    bool UseMidValue = false;
    double MinValue = 0, MidValue = 0, MaxValue = 0;
    TColor MinColor = xlsDefaultColor, MidColor = xlsDefaultColor, MaxColor = xlsDefaultColor;
};
struct TIconSetSetting {
    int IconSetType = 0;
    // Thresholds for criteria 2 to 5; the workbook writer keeps the icon
    // set's own thresholds, so these are carried but not written.
    bool UseThresholds = false;
    double ThresholdValues[4] = {0, 0, 0, 0};
    bool ShowIconOnly = false;
};
// Column kinds: 0 plain, 1 picture, 2 colour value, 3 data bar, 4 colour scale, 5 icon set.
using TXLSGetFieldTypeEvent = std::function<void(TComponent* Sender, TField* Field, int& Kind)>;
template <class T>
using TXLSPrepareEvent = std::function<void(TComponent* Sender, TField* Field, T& Setting)>;

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
    TXLSGetFieldTypeEvent OnGetFieldType;
    TXLSPrepareEvent<TDatabarSetting> OnPrepareDatabarEvent;
    TXLSPrepareEvent<TColorScaleSetting> OnPrepareColorScaleEvent;
    TXLSPrepareEvent<TIconSetSetting> OnPrepareIconSetEvent;

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
    int CellFormat(const TExportColumn& C, bool Bold, bool Data = false);
    // Colours of a data cell from the grid (column, cell, colour value);
    // HideText: the cell shows its colour only.
    void CellColors(const TExportColumn& C, TXlsxFormat& F, bool& HideText);
    int FieldKind(TField* F);
    void AddConditionalFormats();
    QString NumFormatOf(const TField* F) const;
    void WriteTitles();
    void WriteRow();
    void WriteSumRow();
    void WriteGridCell(int i);
    void WriteTreeNode(const QString& Text, int Depth);
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
