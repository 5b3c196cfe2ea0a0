#pragma once
// Rows of a grid or dataset as a SYLK table file: cell records with
// positions, per-column number pictures, column widths, a bold title row,
// an optional sum row with formulas and a font table. Spreadsheet programs
// open it directly; it is written in Windows-1252.

#include "components/output/TExportEngine.h"

enum slkCellFormat { cfBold, cfItalic, cfUnderline };

using TSLKExportEvent = std::function<void(TComponent* Sender, int MaxX, int MaxY)>;

class TSLKExport : public TExportEngine {
public:
    explicit TSLKExport(TComponent* AOwner = nullptr) : TExportEngine(AOwner) {}

    QString SLKIdHeaderLine;
    QString SetFontName = QStringLiteral("Arial");  // "nil": no font table, no bold rows
    QString DefaultDateFormat;
    QString DefaultTimeFormat;
    QString DefaultNumFormat;
    bool SetColWidth = true;
    bool MakeSumRow = false;
    // Windows-1252 by default; LibreOffice on a UTF-8 desktop reads SYLK as UTF-8.
    bool Utf8File = false;
    TSLKExportEvent OnBeforeSLKExport;
    TSLKExportEvent OnAfterSLKExport;
    TStringList ExportResult;

    int StartRow() const { return FStartRow; }
    int StartCol() const { return FStartCol; }
    void SetStartRow(int v) { if (v > 0) FStartRow = v; }
    void SetStartCol(int v) { if (v > 0) FStartCol = v; }

    void ExportLine(const QString& S) { if (!S.isEmpty()) ExportResult.Add(S); }
    void ExportText(const QString& Text, int AX, int AY);
    void ExportNum(double Num, int AX, int AY);
    void SetCellFormat(slkCellFormat Fmt, int AX, int AY);

    // A value as it goes into a "K" part (exposed for tests).
    QString EncodeValue(const QString& Raw, bool IsNumber, bool IsText) const;

protected:
    bool Run() override;

private:
    static QString Rec(const QString& Type, int Col, int Row, const QString& Data);
    bool UseFonts() const { return SetFontName != QLatin1String("nil"); }
    void WritePictures();
    void WriteWidths();
    void WriteTitles();
    void WriteRow();
    void WriteCell(int i, TField* F);
    void WriteSumRow();
    bool IsNumberValue(TField* F) const;

    int FStartRow = 1;
    int FStartCol = 1;
    int X = 1;
    int Y = 1;
    int MaxX = 1;
    std::vector<double> FSums;
};
