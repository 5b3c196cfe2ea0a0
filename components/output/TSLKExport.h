#pragma once
// Rows of a grid or dataset as a SYLK table file: cell records with
// positions, per-column number pictures, column widths, a bold title row,
// an optional sum row with formulas and a font table. Spreadsheet programs
// open it directly; it is written in Windows-1252.

#include "components/output/TExportEngine.h"

enum slkCellFormat { cfBold, cfItalic, cfUnderline };
// seSystem: the character set the desktop's spreadsheet program reads SYLK
// in, which is the locale's (LibreOffice decodes a SYLK file in the
// locale's character set and knows no marker for another): UTF-8 under a
// UTF-8 locale, Windows-1252 under any other.
enum TSLKEncoding { seSystem, seWindows1252, seUtf8 };

using TSLKExportEvent = std::function<void(TComponent* Sender, int MaxX, int MaxY)>;

class TSLKExport : public TExportEngine {
public:
    explicit TSLKExport(TComponent* AOwner = nullptr);

    QString SLKIdHeaderLine;
    QString SetFontName = QStringLiteral("Arial");  // "nil": no font table, no bold rows
    QString DefaultDateFormat;
    QString DefaultTimeFormat;
    QString DefaultNumFormat;
    bool SetColWidth = true;
    bool MakeSumRow = false;
    TSLKEncoding Encoding = seSystem;
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

    // What seSystem means for a locale name ("fi_FI.UTF-8", "C", ...); the
    // locale is that of LC_ALL, LC_CTYPE or LANG, the first one set.
    static TSLKEncoding SystemEncoding(const QString& Locale);
    static TSLKEncoding SystemEncoding();
    // The bytes of the file's text in an encoding (seSystem resolved).
    static QByteArray Encode(const QString& Text, TSLKEncoding Encoding);

    // A value as it goes into a "K" part (exposed for tests).
    QString EncodeValue(const QString& Raw, bool IsNumber, bool IsText) const;

protected:
    void Loaded() override;
    bool Run() override;

private:
    static QString Rec(const QString& Type, int Col, int Row, const QString& Data);
    bool UseFonts() const { return SetFontName != QLatin1String("nil"); }
    void WritePictures();
    void WriteWidths();
    void WriteTitles();
    void WriteRow();
    void WriteCell(int i, TField* F);
    void WriteGridCell(int i);
    void WriteTreeNode(const QString& Text, int Depth);
    void WriteSumRow();
    bool IsNumberValue(TField* F) const;

    int FStartRow = 1;
    int FStartCol = 1;
    int X = 1;
    int Y = 1;
    int MaxX = 1;
    std::vector<double> FSums;
};
