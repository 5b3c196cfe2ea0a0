#pragma once
// A small spreadsheet object model of our own: sheets of typed cells,
// shared cell formats, column widths and frozen rows, written as a real
// .xlsx workbook through libxlsxwriter. Rows and columns count from 0.
// Number formats are the invariant codes of the file format ("#,##0.00",
// "d.m.yyyy"), never localised ones.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct TXlsxFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Border = false;
    bool Wrap = false;
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
};

class TXlsxSheet {
public:
    enum class TKind : uint8_t { Text, Number, Formula };
    struct TCell {
        int Row;
        int Col;
        TKind Kind;
        int Format;  // -1: none
        double Number;
        QString Text;  // text, or the formula without "="
    };

    explicit TXlsxSheet(const QString& AName) : Name(AName) {}
    QString Name;

    void SetText(int Row, int Col, const QString& Text, int Format = -1);
    void SetNumber(int Row, int Col, double Value, int Format = -1);
    // Formula in A1 notation ("SUM(B2:B9)"); Result is what readers show
    // before they recalculate.
    void SetFormula(int Row, int Col, const QString& Formula, double Result, int Format = -1);
    void SetColumnWidth(int Col, double Width) { FWidths.push_back({Col, Width}); }
    void FreezeRows(int Rows) { FFrozenRows = Rows; }
    // Changes the format of a cell that has been written (the last write wins).
    void SetCellFormat(int Row, int Col, int Format);
    void AddConditional(const TXlsxConditional& C) { FConditionals.push_back(C); }
    const std::vector<TXlsxConditional>& Conditionals() const { return FConditionals; }

    const std::vector<TCell>& Cells() const { return FCells; }
    const std::vector<std::pair<int, double>>& Widths() const { return FWidths; }
    int FrozenRows() const { return FFrozenRows; }

private:
    std::vector<TCell> FCells;
    std::vector<std::pair<int, double>> FWidths;
    int FFrozenRows = 0;
    std::vector<TXlsxConditional> FConditionals;
};

class TXlsxWorkbook {
public:
    // The index of an equal format, added when new.
    int AddFormat(const TXlsxFormat& F);
    const TXlsxFormat& Format(int Index) const { return FFormats.at(size_t(Index)); }
    TXlsxSheet* AddSheet(const QString& Name);
    int SheetCount() const { return int(FSheets.size()); }
    TXlsxSheet* Sheet(int Index) const { return FSheets.at(size_t(Index)).get(); }

    // Writes the workbook through a temporary file in the same folder, so a
    // failure leaves no half file; raises Exception with the reason.
    void Save(const QString& FileName) const;

    // "A1" style name of a cell.
    static QString CellName(int Row, int Col);

private:
    std::vector<TXlsxFormat> FFormats;
    std::vector<std::unique_ptr<TXlsxSheet>> FSheets;
};
