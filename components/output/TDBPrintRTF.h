#pragma once
// Print to RTF: the rows of a grid or dataset as a monospaced text table,
// fitted to the characters of one line, poured into a built-in page
// template (one per paper size and orientation) by the RTF report engine,
// then opened or printed. Data and captions are escaped, so a backslash or
// brace in a value never breaks the document or acts as a tag.

#include "components/output/TExportEngine.h"

enum TPrintPaper { ppA4 = 0, ppLetter = 1, ppLegal = 2 };

class TDBPrintRTF : public TExportEngine {
public:
    explicit TDBPrintRTF(TComponent* AOwner = nullptr);

    QString Caption;
    int Paper = ppA4;
    int Orientation = 0;  // 0 portrait, 1 landscape
    int FontIndex = 2;    // 0..6 for 6..12 points
    int Sep = 2;          // blanks between columns
    bool Autoformat = true;
    bool Sum = false;
    QString PrinterName;
    // Folder of templates and produced documents; empty: the configured one.
    QString Folder;

    // Characters per line and lines per page of the chosen page and font.
    static int LineChars(int Paper, int Orientation, int FontIndex);
    static int PageLines(int Paper, int Orientation, int FontIndex);
    // The built-in template for paper and orientation.
    static QByteArray TemplateText(int Paper, int Orientation);
    // Data and captions made safe inside the RTF text: \ { } and non-ASCII
    // become escapes.
    static QString RtfEscape(const QString& S);
    // The folder of templates and documents (created when configured).
    static QString PrintDataDir(bool Create);
    // Deletes every printdata<N>.rtf in Dir (the templates stay); done for
    // every folder that received documents when the program ends.
    static void DelFiles(const QString& Dir = QString());

    // The document of the last run.
    const QString& OutputFile() const { return FOutput; }
    // Measures every column of a source (titles and values, visible or not)
    // without writing anything; Cut and SetAutoformat then answer for the
    // current settings (ExportOnlyVisibleFields, Sum, Sep).
    bool Measure(TSourceType AType, TComponent* ASource);
    // The largest font whose line holds the table; landscape when none fits
    // in portrait, 6 points when none fits at all.
    void SetAutoformat();
    // Approximate page count for N records with the current settings.
    int PagesFor(int N) const { return N / PageLines(Paper, Orientation, FontIndex) + 1; }
    // True when the table is wider than the line (text columns are cut).
    bool Cut() const { return LineChars(Paper, Orientation, FontIndex) < WidthSum(false, false); }

protected:
    bool Run() override;
    QString ErrorText() const override;

private:
    void AnalyzeData();
    int WidthSum(bool NumericOnly, bool CountOnly) const;
    void CalcColWidth();
    bool Counts(size_t i) const;
    QString RecLine(int Kind);
    // Text in bold (also when Bold), italic and underlined as Style says.
    static QString StyledText(const QString& Text, unsigned Style, bool Bold);
    unsigned ColumnFontStyle(size_t i) const;
    QString Content(int Kind);
    QString ListLines();
    QString TemplateFile(const QString& Dir) const;

    struct TColKind {
        bool Simple = false, Numeric = false, NumOrDate = false, Visible = true;
    };
    std::vector<int> wMax, wCol, wSumAdd;
    std::vector<TColKind> wKind;
    bool FMeasureOnly = false;
    std::vector<double> Sums;
    QString FOutput;
};
