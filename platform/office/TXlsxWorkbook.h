#pragma once
// A small spreadsheet object model of our own: sheets of typed cells,
// shared cell formats, column widths and frozen rows, written as a real
// .xlsx workbook through libxlsxwriter. Rows and columns count from 0.
// Number formats are the invariant codes of the file format ("#,##0.00",
// "d.m.yyyy"), never localised ones.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct TXlsxFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Border = false;  // thin lines all round
    // Lines by side, left, top, right, bottom: 0 none, else the line style
    // (1 thin, 2 medium, 3 dashed, 4 dotted, 5 thick, 6 double, 7 hair);
    // a side set here wins over Border.
    uint8_t Sides[4] = {0, 0, 0, 0};
    uint32_t BorderColor = 0xFFFFFFFF;  // 0xRRGGBB; all bits set: default
    bool Wrap = false;
    // 0 the reader's default, 1 top, 2 centre, 3 bottom
    int VAlign = 0;
    QString NumFormat;
    QString FontName;
    double FontSize = 0;
    uint32_t FontColor = 0xFFFFFFFF;  // 0xRRGGBB; all bits set: default
    uint32_t BgColor = 0xFFFFFFFF;
    bool operator==(const TXlsxFormat&) const = default;
};

// A conditional format over the rows First..Last of one column. Colours
// are 0xRRGGBB; all bits set leaves the reader's default.
struct TXlsxConditional {
    enum class TKind : uint8_t { DataBar, ColorScale, IconSet };
    static constexpr uint32_t Default = 0xFFFFFFFF;
    TKind Kind = TKind::DataBar;
    int FirstRow = 0, LastRow = 0, Col = 0;
    // Fixed end points (numbers) instead of the data's lowest and highest.
    bool FixedPoints = false;
    double MinValue = 0, MidValue = 0, MaxValue = 0;
    bool UseMid = false;  // three-colour scale
    uint32_t MinColor = Default, MidColor = Default, MaxColor = Default;
    uint32_t BarColor = Default, BarBorderColor = Default;
    bool ShowValue = true;
    // Icon set: 12 four rating bars, 16 five rating bars, 17 five quarters,
    // 0 the reader's default (three traffic lights).
    int IconSetType = 0;
    bool IconsOnly = false;
    // Icon set: the lowest value of the second, third ... icon (numbers,
    // "greater or equal"); empty keeps the set's own percentages.
    std::vector<double> Thresholds;
};

class TXlsxSheet {
public:
    enum class TKind : uint8_t { Text, Number, Formula, Boolean };
    struct TCell {
        int Row;
        int Col;
        TKind Kind;
        int Format;  // -1: none
        double Number;  // a Boolean: 1 or 0
        QString Text;  // text, or the formula without "="
    };

    explicit TXlsxSheet(const QString& AName, const std::vector<TXlsxFormat>* AFormats = nullptr)
        : Name(AName), FFormats(AFormats) {}
    QString Name;

    // The most characters a cell holds; a longer text is cut and ends in CutMark.
    static constexpr int MaxTextLength = 32767;
    static inline const QString CutMark = QStringLiteral("\u2026");
    static QString FitText(const QString& Text);
    // A number format that shows a date or a time.
    static bool IsDateFormat(const QString& Format);
    void SetText(int Row, int Col, const QString& Text, int Format = -1);
    void SetNumber(int Row, int Col, double Value, int Format = -1);
    void SetBoolean(int Row, int Col, bool Value, int Format = -1);
    // Formula in A1 notation ("SUM(B2:B9)"); Result is what readers show
    // before they recalculate.
    void SetFormula(int Row, int Col, const QString& Formula, double Result, int Format = -1);
    void SetColumnWidth(int Col, double Width)
    {
        FWidths.push_back({Col, Width});
        FSettingsChanged = true;
    }
    // Forgets every cell and conditional format (widths stay), as clearing
    // a sheet's used range does.
    void Clear();
    // The cell written last at (Row, Col), nullptr when it is empty.
    const TCell* CellAt(int Row, int Col) const;
    // The value of a cell: text, number (a formula's last result), Boolean,
    // date-time for a number whose format shows a date or a time, or null.
    QVariant Value(int Row, int Col) const;
    // The smallest rectangle holding every written cell; false when none.
    bool UsedRange(int& Row, int& Col, int& RowCount, int& ColCount) const;
    // The block of filled cells around (Row, Col) that empty rows and
    // columns bound (a lone cell when nothing touches it).
    void CurrentRegion(int Row, int Col, int& FirstRow, int& FirstCol, int& RowCount, int& ColCount) const;
    void FreezeRows(int Rows)
    {
        FFrozenRows = Rows;
        FSettingsChanged = true;
    }
    void FreezeCols(int Cols)
    {
        FFrozenCols = Cols;
        FSettingsChanged = true;
    }
    int FrozenCols() const { return FFrozenCols; }
    // Calls Change for every cell of the rectangle, writing an empty cell
    // where there is none (a format reaches empty cells too).
    void ForEachCell(int FirstRow, int FirstCol, int LastRow, int LastCol, const std::function<void(TCell&)>& Change);
    // A picture (PNG, JPEG, BMP or GIF bytes) with its top left corner in a
    // cell, moved by the offsets in pixels and scaled.
    struct TImage {
        int Row = 0, Col = 0;
        QByteArray Data;
        double XOffset = 0, YOffset = 0, XScale = 1, YScale = 1;
        bool Shadow = false;  // a soft shadow below and to the right
    };
    void AddImage(const TImage& I)
    {
        FImages.push_back(I);
        Touch(I.Row);
    }
    const std::vector<TImage>& Images() const { return FImages; }
    // A row's height in points.
    void SetRowHeight(int Row, double Height)
    {
        FHeights.push_back({Row, Height});
        Touch(Row);
    }
    const std::vector<std::pair<int, double>>& Heights() const { return FHeights; }
    // The sheet's zoom on screen and on paper, in per cent (0: the default).
    int WindowZoom = 0;
    int PrintZoom = 0;
    // Filter buttons on the first row of the rectangle.
    void SetAutoFilter(int FirstRow, int FirstCol, int LastRow, int LastCol)
    {
        FAutoFilter = {FirstRow, FirstCol, LastRow, LastCol};
        FSettingsChanged = true;
    }
    struct TArea {
        int FirstRow = -1, FirstCol = -1, LastRow = -1, LastCol = -1;
    };
    const TArea& AutoFilter() const { return FAutoFilter; }
    // Changes the format of a cell that has been written (the last write wins).
    void SetCellFormat(int Row, int Col, int Format);
    void AddConditional(const TXlsxConditional& C)
    {
        FConditionals.push_back(C);
        Touch(C.FirstRow);
    }
    const std::vector<TXlsxConditional>& Conditionals() const { return FConditionals; }

    const std::vector<TCell>& Cells() const { return FCells; }
    const std::vector<std::pair<int, double>>& Widths() const { return FWidths; }
    int FrozenRows() const { return FFrozenRows; }

    // Page set-up on paper: fit to pages wide and tall (0: not fitted) and
    // the orientation (0 the reader's default, 1 portrait, 2 landscape).
    int FitWide = 0, FitTall = 0;
    int Orientation = 0;

    // A sheet read from a file remembers its part there and what changed
    // since, so that saving keeps the parts it did not change as they were.
    QString SourcePart;
    int SourceRowEnd = 0;  // one past the last row holding a cell when read
    // The first row a cell, picture, row height or conditional format was
    // changed in since the sheet was read; INT_MAX when none.
    int FirstChangedRow() const { return FFirstChangedRow; }
    // Column widths, frozen panes, filters, zoom or page set-up changed.
    bool SettingsChanged() const;
    // Forgets the changes made while reading.
    void MarkRead();

private:
    friend class TXlsxWorkbook;
    bool Filled(int Row, int Col) const;
    void Touch(int Row) { FFirstChangedRow = std::min(FFirstChangedRow, Row); }

    const std::vector<TXlsxFormat>* FFormats = nullptr;
    int FFirstChangedRow = 0;
    bool FSettingsChanged = false;
    int FReadZoom[2] = {0, 0};
    int FReadPage[3] = {0, 0, 0};

    std::vector<TCell> FCells;
    std::vector<std::pair<int, double>> FWidths;
    std::vector<std::pair<int, double>> FHeights;
    std::vector<TImage> FImages;
    int FFrozenRows = 0;
    int FFrozenCols = 0;
    TArea FAutoFilter;
    std::vector<TXlsxConditional> FConditionals;
};

class TXlsxWorkbook {
public:
    // The index of an equal format, added when new.
    int AddFormat(const TXlsxFormat& F);
    const TXlsxFormat& Format(int Index) const { return FFormats.at(size_t(Index)); }
    // A sheet added last; an empty name gets the first free "SheetN".
    TXlsxSheet* AddSheet(const QString& Name);
    int SheetCount() const { return int(FSheets.size()); }
    TXlsxSheet* Sheet(int Index) const { return FSheets.at(size_t(Index)).get(); }
    // The index of the sheet of that name (case ignored), -1 when none.
    int IndexOfSheet(const QString& Name) const;
    void DeleteSheet(int Index);
    // The sheet shown when the workbook opens.
    int ActiveSheet = 0;

    // Named ranges: a name and what it refers to, e.g. "Runs!$A$1:$C$9".
    struct TDefinedName {
        QString Name;
        QString Ref;
    };
    std::vector<TDefinedName> DefinedNames;
    void DefineName(const QString& Name, const QString& Ref);
    // What a name refers to (case ignored), empty when it is not defined.
    QString NameRef(const QString& Name) const;

    // Reads an existing .xlsx workbook in place of this one: its sheets with
    // their values (Booleans, shared formulas expanded), formulas, number
    // formats, bold and italic cells and column widths, its named ranges and
    // its active sheet. Other formatting is not read into the model; saving
    // keeps it by taking every sheet the model did not change from the file
    // as it is. Raises Exception with the reason.
    void Load(const QString& FileName);
    // The file the workbook was read from; empty for a new one.
    const QString& SourceFile() const { return FSourceFile; }

    // Writes the workbook through a temporary file in the same folder, so a
    // failure leaves no half file; raises Exception with the reason. A
    // workbook read from a file is written as that file's package with the
    // changed sheets put in (new sheets added, rows added below the old ones
    // merged into the old sheet, other changed sheets replaced).
    // Afterwards the workbook counts as read from FileName.
    void Save(const QString& FileName);


    // "A1" style name of a cell.
    static QString CellName(int Row, int Col);
    // The row and column of an "A1" or "$A$1" style name; false when it is none.
    static bool ParseCellName(const QString& Name, int& Row, int& Col);
    // A sheet name as a reference writes it ('My runs' quoted).
    static QString QuoteSheet(const QString& Name);

private:
    // Writes the sheets of the list alone through libxlsxwriter.
    void WriteBook(const QString& FileName, const std::vector<int>& Sheets, bool WithNames) const;
    bool CanMerge() const;
    // Returns the parts the sheets have in the written package, in order.
    std::vector<QString> SaveMerged(const QString& Temp) const;
    // Puts what libxlsxwriter cannot write (icon thresholds, picture
    // shadows) into the parts it wrote for the sheets of the list.
    void PostEdit(const QString& FileName, const std::vector<int>& Sheets) const;

    std::vector<TXlsxFormat> FFormats;
    std::vector<std::unique_ptr<TXlsxSheet>> FSheets;
    QString FSourceFile;
    std::vector<QString> FSourceSheets;  // the names of the sheets in the file
};
