#pragma once
// Rows of a grid or dataset as a new .xlsx workbook: typed cells with
// invariant number formats, a bold title row, a sum row with formulas,
// column widths fitted to the texts, borders and frozen titles. The file is
// written by our own spreadsheet model; no spreadsheet application runs.

#include "components/output/TExportEngine.h"
#include "platform/office/TXlsxWorkbook.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Types.h"

#include <QVariant>
#include <cstdint>
#include <memory>

enum TXLSExportOption : uint32_t {
    xleExportTitles, xleRealFieldNamesAsTitle, xleBoldTitles, xleAddSumRow, xleStringFieldAsText, xleSetCellFormat,
    xleSetCellBorders, xleWrapMemoField, xleSetColumnWidth, xleSetRowHeight, xleFreezeTitles, xleSetAutoFilter,
    xleSetPageSetup, xleOnlyVisibleFields, xleOnlySelectedRows, xleExportPictures, xleAddAsNewSheet, xleAddToExistingRows,
    xleTrimData, xleNumericFieldAsFloat, xleUseColumnsColor, xleUseCellsColor, xleUseCellValueColor, xleSetBkColor, xleSetFontColor,
    xleHideText
};
using TXLSExportOptions = uint32_t;
constexpr TXLSExportOptions xleOpt(TXLSExportOption O) { return TXLSExportOptions(1u << unsigned(O)); }

enum TXLSVerticalAlignment { vaNone, vaTop, vaCenter, vaBottom };
// Scoped: the SYLK export has cell formats of the same names.
enum class TXLSCellFormat : uint32_t { cfNone, cfBold, cfItalic, cfUnderline };
using TXLSCellFormats = uint32_t;
constexpr TXLSCellFormats cfOpt(TXLSCellFormat F) { return TXLSCellFormats(1u << unsigned(F)); }

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
    // With UseThresholds, the lowest value of icons 2 to 5 (as many as the
    // set has icons, less one).
    bool UseThresholds = false;
    double ThresholdValues[4] = {0, 0, 0, 0};
    bool ShowIconOnly = false;
};
// A colour as the workbook writes it (0xRRGGBB); the default colours give
// all bits set, which leaves the reader's default.
inline uint32_t XlsRgb(TColor C)
{
    if (C == xlsDefaultColor || C == clNone || C == clDefault)
        return TXlsxConditional::Default;
    const uint32_t c = uint32_t(ColorToRGB(C));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Column kinds: 0 plain, 1 picture, 2 colour value, 3 data bar, 4 colour scale, 5 icon set.
using TXLSGetFieldTypeEvent = std::function<void(TComponent* Sender, TField* Field, int& Kind)>;
template <class T>
using TXLSPrepareEvent = std::function<void(TComponent* Sender, TField* Field, T& Setting)>;

class TrXLSExport : public TExportEngine {
public:
    explicit TrXLSExport(TComponent* AOwner = nullptr);
    void Loaded() override;

    // The conditional formats of one column over the rows of the last run
    // (sheet rows and columns from 1).
    void DatabarCells(int Col, int FirstRow, int LastRow, const TDatabarSetting& Setting);
    void ColorScaleCells(int Col, int FirstRow, int LastRow, const TColorScaleSetting& Setting);
    void IconSetCells(int Col, int FirstRow, int LastRow, const TIconSetSetting& Setting);

    TXLSExportOptions Options;
    QString SetFontName;
    int SetFontSize = 0;
    QString DefaultDateFormat;
    QString DefaultTimeFormat;
    QString DefaultNumFormat;
    int MaxColWidth = 100;
    int MaxRowHeight = 30;
    TXLSVerticalAlignment VerticalAlignment = vaNone;
    // With xleSetPageSetup: the zoom on paper (above 0) and on screen (not 0), per cent.
    int PageZoom = 0;
    int WindowZoom = 0;
    // Pictures (xleExportPictures): shrunk to fit this many pixels, set this
    // many pixels into their cells.
    int PictureMaxWidth = 200;
    int PictureMaxHeight = 200;
    int PictureCellMargin = 5;
    bool PictureUseShadow = false;
    // Pixels per unit of column width and per point of row height.
    double ColWidthPixelRatio = 9.15;
    double RowHeightPixelRatio = 1.65;
    // Fills or changes the picture of a picture cell (sheet row and column from 1).
    std::function<void(TComponent* Sender, int Row, int Col, TField* Field, TPicture* Picture)> OnPreparePictureEvent;
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
    // Pictures placed by the last run.
    int PicturesExported() const { return FPictures; }
    // The file written by the last run (the temporary one in no-file mode).
    const QString& WrittenFile() const { return FWritten; }

    // ---- the open workbook: what the spreadsheet application held. A run
    // leaves its workbook open for the operations below until Disconnect.
    bool IsAppExist() const { return true; }
    bool AppOpened() const { return FWorkbook != nullptr; }
    // Opens ExportFile's workbook (NewFile, or a missing file: a new one).
    bool OpenFile(bool NewFile, const QString& OpenFileName, bool CanReadOnly = true);
    // Saves the open workbook (to SaveFileName, or where it was opened) and
    // with CloseApp closes it. FileFormat is kept for callers; the file is
    // always a .xlsx workbook.
    bool SaveCloseFile(bool CloseApp, bool SaveFile, const QString& SaveFileName = QString(), int FileFormat = 0);
    void Disconnect();
    void SetVisibility(bool Visible) { FVisible = Visible; }
    int GetSheetsCount() const;
    // With NewSheet a new sheet (named SheetName when given) becomes the
    // target; otherwise the sheet of that name or number (from 1).
    bool SelectSheet(bool NewSheet, const QString& SheetName, int SheetIndex = 0);
    // Deletes the sheet of that name and, with AllUnselected, every sheet but the target.
    bool DeleteSheet(bool AllUnselected, const QString& SheetName);
    // "Sheet!Name": selects that sheet and leaves "Name" in RangeName.
    bool ActivateRangeSheet(QString& RangeName);
    void RememberActiveSheet();
    void SelectRememberSheet();
    TXlsxWorkbook* Workbook() const { return FWorkbook.get(); }
    TXlsxSheet* Worksheet() const { return FSheet; }

    // ---- the data block and ranges (rows and columns of the sheet from 1)
    struct TXlsRange {
        int Row = 0, Col = 0, RowCount = 0, ColCount = 0;
        bool Valid() const { return Row > 0 && Col > 0 && RowCount > 0 && ColCount > 0; }
    };
    TXlsRange Range;              // the current range
    TXlsRange ExportedDataRange;  // the data rows of the last export
    int DataRowCount() const { return FDataRows; }
    int DataColCount() const { return FDataCols; }
    // An element of the block, from (1, 1); null when empty.
    QVariant& Data(int Row, int Col);
    void SetDataSize(int RowCount, int ColCount);
    // The named range becomes the current range, the start cell its corner
    // and the block its size; raises when there is no such range.
    void SetDataSizeFromRange(const QString& RangeName);
    void SetCurrentRange(int Row, int Col, int RowCount, int ColCount);
    void SetExportedDataRange(int Row, int Col, int RowCount, int ColCount);
    bool CopyCellsToData();
    bool CopyCellsToClipboard();
    bool PasteDataToCells(bool SetAutoFilter = false);
    bool PasteClipboardToCells(bool SetAutoFilter = false);
    bool CopyUsedRangeToData();
    bool CopyUsedRangeToClipboard();
    bool CopyCurrentRegionToData();
    bool CopyCurrentRegionToClipboard();
    QVariant GetCellValue(int Row, int Col);
    void SetCellValue(int Row, int Col, const QVariant& Value, const QString& NumberFormat = QString());
    void SetRangeValue(const QString& RangeName, const QVariant& Value, const QString& NumberFormat = QString());
    // Names the rectangle of the target sheet (a workbook-wide name).
    void DefineRangeName(const QString& Name, int Row, int Col, int RowCount, int ColCount);

    // ---- formatting steps, also for callers (rows and columns from 1)
    void FormatCells(int Row, int Col, int RowCount, int ColCount, const QString& NumberFormat, const QString& FontName, int FontSize,
                     TXLSCellFormats Frm);
    // Border 0: every line round and between the cells; else one edge as
    // the spreadsheet numbers them (7 left, 8 top, 9 bottom, 10 right, 11
    // inside vertical, 12 inside horizontal). LineStyle 1 continuous,
    // -4115 dash, -4118 dot, -4119 double, -4142 none; LineWidth 1
    // hairline, 2 thin, -4138 medium, 4 thick; LineColor xlsDefaultColor
    // keeps the default colour.
    void BorderCells(int Row, int Col, int RowCount, int ColCount, int Border, TColor LineColor, int LineWidth, int LineStyle);
    void FreezePanes(int Row, int Col);
    void SetColumnWidth(int Col, double ColWidth);
    void SetRowHeight(int Row, double RowHeight);
    // Widths and heights from the cells' texts, capped when the cap is above 0.
    void ColumnAutoFit(int Col, int MaxWidth);
    void RowAutoFit(int Row, int MaxHeight);
    void UsedRangeAutoFit(int MaxWidth, int MaxHeight, bool SetColumnWidth, bool SetRowHeight);
    void SetPageZoom(int Zoom, int FitToPagesTall = 1, int FitToPagesWide = 1, int Orientation = 0);
    void SetWindowZoom(int Zoom);
    // Dates in the spreadsheet's own codes: "d.m.yyyy" with the settings'
    // separator; a field's format with "/" turned into that separator.
    QString GetShortDateFormat() const;
    QString ConvertDateFormat(const QString& FieldDateFormat) const;

protected:
    bool Run() override;
    bool WantsPictureFields() const override { return Has(xleExportPictures); }

private:
    void SyncSharedFlags();
    int CellFormat(const TExportColumn& C, bool Bold, bool Data = false, bool* Hide = nullptr);
    // A string grid column's number format by its data type.
    QString StringGridFormat(const TExportColumn& C) const;
    // Colours of a data cell from the grid (column, cell, colour value);
    // HideText: the cell shows its colour only.
    void CellColors(const TExportColumn& C, TXlsxFormat& F, bool& HideText);
    int FieldKind(TField* F);
    void AddConditionalFormats();
    // A picture column's cell text when no picture can be placed (empty: placed or none).
    QString PictureText(TField* F, TPicture& Pic);
    std::vector<bool> FPicColumnSet;  // columns a picture of this run has sized
    std::vector<double> FPicWidths;   // and the width it gave them
    QString NumFormatOf(const TField* F) const;
    void WriteTitles();
    void WriteRow();
    void WriteSumRow();
    void WriteGridCell(int i);
    void WriteTreeNode(const QString& Text, int Depth);
    void FitColumns();
    void FitRows();
    void NoteLines(int Lines);
    // A picture column's cell: the picture placed in it; false when the
    // column is no picture column.
    bool WritePicture(int i);
    std::vector<double> FRowHeights;  // points the pictures need, by written row
    int FPictures = 0;
    std::vector<int> FRowLines;  // text lines of each written row, from FStartRow

    // the workbook part of a run: open or create it, choose the sheet,
    // clear it or find the row below its data
    void OpenForRun();
    void WriteCellValue(int Row, int Col, const QVariant& Value, int Format);
    TXlsRange ResolveRange(const QString& RangeName);
    bool RangeToData(const TXlsRange& R, bool MoveStart);
    QString RangeText(const TXlsRange& R) const;
    TXlsxSheet* Target() const;
    // Runs a workbook operation: an error is shown as the application's error; false then.
    bool Guard(const std::function<void()>& Op) const;

    QString FSheetName;
    QString FWritten;
    std::unique_ptr<TXlsxWorkbook> FWorkbook;
    QString FOpenedFile;
    int FRememberedSheet = -1;
    bool FVisible = false;
    std::vector<QVariant> FData;
    int FDataRows = 0, FDataCols = 0;
    int FStartRow = 1;
    int FStartCol = 1;
    int FRow = 0;  // next sheet row, from 0
    int FFirstDataRow = 0;
    int FExported = 0;
    std::vector<int> FTextLen;
    std::vector<double> FSums;
    TXlsxWorkbook* FBook = nullptr;  // the open workbook during a run
    TXlsxSheet* FSheet = nullptr;   // the target sheet
};
