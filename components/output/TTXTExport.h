#pragma once
// Rows of a grid or dataset as a plain text file, one line per record:
// delimited (values joined by a separator, text-like values quoted) or
// column-aligned (each value cut or filled to its column's display width).

#include "components/output/TExportEngine.h"

#include <QChar>

class TTXTExport : public TExportEngine {
public:
    explicit TTXTExport(TComponent* AOwner = nullptr);

    QString TextApostrophe;
    QString FieldSeparator = QStringLiteral(" ");
    QChar FillChar = QLatin1Char(' ');  // the null character switches alignment off
    bool ExportMemoFields = false;
    bool AppendToFile = false;
    bool ExportAllAsText = false;
    QString MemoEOLString = QStringLiteral(" || ");
    TStringList ExportResult;

    void ExportLine(const QString& S) { ExportResult.Add(S); }

    // Cuts or fills Value to Width under FillChar (exposed for tests).
    static QString AlignValue(const QString& Value, int Width, TFieldAlignment Align, QChar Fill);

protected:
    void Loaded() override;
    bool Run() override;
    bool WantsMemoFields() const override { return ExportMemoFields; }

private:
    QString Prepare(const QString& V) const;
    QString Align(const QString& V, const TExportColumn& C, int Row) const;
    void AddToLine(QString& Line, const QString& V) const;
    void AddDataLine();
    // The bytes of an existing file when appending; sets the encoding to keep.
    void LoadExisting();
    QByteArray Encode() const;

    enum class TEnc { Utf8, Utf8Bom, Utf16LE, Utf16BE } FEnc = TEnc::Utf8;
};
