#pragma once
// The office-document report engine: fills a DOCX, ODT or flat ODT (".xml")
// template with data from up to 26 datasets. Tags are written <<A.NAME>> in
// the document text. The template is processed on a copy in the target
// folder that replaces the output file only when the run succeeds.
#include "components/base/ParioCompGlobalCfg.h"
#include "components/output/TReportTagEngine.h"
#include "components/output/rRepPicture.h"
#include "components/output/rXMLMarkup.h"

enum TRtfSupportedFormat {
    rtfFontName, rtfFontSize, rtfBold, rtfItalic, rtfUnderline, rtfUnderlineDouble, rtfStrike, rtfStrikeDouble
};
using TRtfSupportedFormats = unsigned;  // bit (1 << TRtfSupportedFormat)

enum TXMLTextFormat : unsigned { xfrmBold = 1, xfrmItalic = 2, xfrmUnderline = 4 };

struct TTableCellFormatRec {
    QString HAlign;
    QString VAlign;
    bool RotateText = false;
    TColor BkColor = clNone;
    TFont Font;
};
using TGetRowHeight = std::function<void(TComponent* Sender, const QString& ID, int RowIndex, int& RowHeightMM)>;
using TGetColumnWidth = std::function<void(TComponent* Sender, const QString& ID, TField* Field, int ColIndex,
                                           int& ColWidthMM, bool& AbsoluteWidth)>;
using TGetCellParams = std::function<void(TComponent* Sender, const QString& ID, TField* Field, int RowIndex, int ColIndex,
                                          QString& Text, TTableCellFormatRec& Format)>;

struct TTableContentRec {
    QString TableName;
    QString TableXMLContent;
    QString CellXMLContent;
    QString PlainText;
};

using TXMLModifyContent = std::function<void(TComponent* Sender, const QString& FileName, QString& Content)>;

class TrXMLReport : public TReportTagEngine {
public:
    explicit TrXMLReport(TComponent* AOwner = nullptr);
    void Loaded() override;

    QString ReportFile;
    QString OutputFile;
    TXMLTemplateFormat TemplateFormat = tfXAutoDetect;
    bool JoinTouchingTables = false;
    bool ConvertInlineFormatting = false;
    TStringList InlineFormatting;
    TStringList MemoReplaces;
    TActionAfter ActionAfter = aaShow;
    bool ShowMaximized = false;
    bool ShowSaveErrorDialog = false;
    TXMLModifyContent OnModifyBeforeSave;
    TXMLModifyContent OnGetTemplateStr;
    // Which RTF character formats of memo text become run formatting (DOCX),
    // and further "pattern=run properties" lines.
    TRtfSupportedFormats RtfSupportedFormats = 0;
    TGetRowHeight OnGetRowHeight;
    TGetColumnWidth OnGetColumnWidth;
    TGetCellParams OnGetCellParams;
    TStringList RtfCustomFormats;

    // Memo text with its RTF formats as markers, paragraphs as CR LF.
    QString ParseRTFFormat(const QString& Rtf) const;
    // Post-processing of a part's text (DOCX), meant for OnModifyBeforeSave.
    void FormatText(QString& Part, const QString& TextToFormat, unsigned FormatTypes, bool WholeWordOnly,
                    const QString& SeekFrom = QString(), const QString& SeekTo = QString()) const;
    void ReplaceText(QString& Part, const QString& OldText, const QString& NewText, bool WholeWordOnly,
                     const QString& SeekFrom = QString(), const QString& SeekTo = QString()) const;
    // Named tables (DOCX, named by their caption): read their first cells
    // from a document, or give them new content when a report is written.
    std::vector<TTableContentRec> NamedTables_Content;
    int NamedTables_LoadContent(const QString& FileName, const QString& TableNamePrefix);
    void NamedTables_DefineContent(const QString& TableNameID, const QString& CellXMLContent, const QString& PlainText);
    void NamedTables_ClearContent() { NamedTables_Content.clear(); }

    // Turns the format markers and the InlineFormatting markers into runs (DOCX).
    void CheckInlineFormat(QString& Part) const;

    void Execute(const std::vector<TDataSet*>& DataSets);
    void DoAbort() { Aborted = true; }

    // The template kind in effect for the last run.
    TXMLTemplateFormat XMLFormat() const { return FXMLFormat; }

protected:
    QString TagOpen() const override { return QStringLiteral("&lt;&lt;"); }
    QString TagClose() const override { return QStringLiteral("&gt;&gt;"); }
    QString ProcPlainSection(const QString& Section) override;
    QString ParMark() const override { return XMLMarkup(FXMLFormat).EndPar; }
    QString PageBreak() const override { return XMLMarkup(FXMLFormat).EndPage; }
    QString DecodeText(const QString& Text) const override { return XMLToStr(Text); }
    QString MemoValue(const QString& Text, const QString& Format) override;
    QString FieldFailureText(int Slot, const QString& FieldName, const QString& Message) const override;
    QString ListLineBreak() const override { return QStringLiteral("\r\n"); }
    QString SeplistBreak() const override { return QStringLiteral("\r\n"); }
    bool NumToTextRemovesThousands() const override { return false; }
    bool RemoveParAfterTags() const override { return false; }
    QString CheckScientificFormat(const QString& Text) override;
    QString ScanBreakText(const TScanInfo& Info) const override;
    bool ScanOption(TScanInfo& Info, const QString& Name, const QString& Inside) override;
    TTableRowParts SplitTableRows(const QString& Body, const TScanInfo& Info) const override;
    QString PictureTagValue(const QString& Tag) override;
    QString PlaceBitmap(const TBitmap& Bitmap, const QString& Options) override;
    QString PictureFieldValue(TField* Field, const QString& Format) override;

private:
    void SetReportFormat(const QString& FileName);
    void ProcTemplateFile();
    bool ExtractProcXMLFiles(const QString& PackageFile, bool ReadOnly = false);
    void LoadNamedTables();
    void WriteNamedTables();
    bool ProcXMLFile(const QString& Target);
    void UpdateXMLTags();
    void ProcInfoTags();
    void ProcInsertFiles();
    QString ApplyScientific(const QString& EscapedValue) const;
    [[noreturn]] void RaiseErr(int Code, const QString& Text) const;
    void WriteWithRetry(const std::function<bool()>& Write, const QString& Target, bool PackageKind);
    void DoActionAfter();
    // Tables: a one-row template table filled with every field and record.
    QString ProcInsertTable(const QString& Table);
    // Pictures.
    QString CreateFormatPicture(TField* Field, const QString& Options, const TBitmap* Bitmap, const QString& FileName);
    QString AddImageFile(const TBitmap& Picture, int Kind);
    void UpdateRelFile();

    TXMLTemplateFormat FXMLFormat = tfXAutoDetect;
    QString RepStr;
    QString XMLFileName;
    QString RelItemStr;
    int PicCount = 0;
    bool TryScientificFormat = false;
    QString FLoadTableNamePrefix;
};
