#pragma once
// The RTF report engine: fills an RTF or plain-text template with data from
// up to 26 datasets, writes the result, then opens or prints it.
#include "components/base/ParioCompGlobalCfg.h"
#include "components/output/TReportTagEngine.h"
#include "components/output/rRepPicture.h"

enum TMemoFormat { mfText, mfRTF, mfAutoDetect, mfRTFLine, mfPlain };
enum TTemplateFormat { tfAutoDetect, tfRTF, tfText };
enum TRTFTextFormat : unsigned { frmBold = 1, frmItalic = 2, frmUnderline = 4 };
using TRTFTextFormats = unsigned;

using TModifyContent = std::function<void(TComponent* Sender, QString& FileContent)>;
using TOnGetTemplateStr = std::function<void(TComponent* Sender, QString& TemplateStr)>;

struct TSeekInfo {
    int Action = 0;  // 1 format, 2 replace
    QString OldText, NewText, SeekFrom, SeekTo, SetFrmStart, SetFrmStop;
    bool WholeWord = false;
};

class TRTFReport2 : public TReportTagEngine {
public:
    explicit TRTFReport2(TComponent* AOwner = nullptr);
    void Loaded() override;

    QString ReportFile;
    QString OutputFile;
    int DefaultCharset = 0;
    TMemoFormat DefaultMemoFormat = mfAutoDetect;
    TStringList MemoReplaces;
    TActionAfter ActionAfter = aaShow;
    bool ShowMaximized = false;
    TTemplateFormat TemplateFormat = tfAutoDetect;
    int TxtCodePage = 0;
    bool AppendToFile = false;
    bool ShowSaveErrorDialog = false;
    bool ExtractEOLAfterIf = false;
    TModifyContent OnModifyBeforeSave;
    TOnGetTemplateStr OnGetTemplateStr;

    void Execute(const std::vector<TDataSet*>& DataSets);
    // Lists the tags of the template without producing a report; tags that
    // still hold formatting (a backslash or a brace) go to SuspiciousTags.
    void ExtractCheckTags(TStringList* AllTags, TStringList* SuspiciousTags, bool UseExtractInnerTags);
    // Post-processing of the produced text, meant for OnModifyBeforeSave.
    void FormatText(QString& Text, const QString& TextToFormat, TRTFTextFormats FormatTypes, bool WholeWordOnly,
                    const QString& SeekFrom = QString(), const QString& SeekTo = QString());
    void ReplaceText(QString& Text, const QString& OldText, const QString& NewText, bool WholeWordOnly,
                     const QString& SeekFrom = QString(), const QString& SeekTo = QString());

    // Escapes a value for the template: non-ASCII as "\uN?" in RTF.
    QString StrToRtf(const QString& S) const;
    QString RtfToStr(const QString& S) const;

protected:
    QString TagOpen() const override { return QStringLiteral("\\\\"); }
    QString TagClose() const override { return QStringLiteral("\\\\"); }
    QString ProcPlainSection(const QString& Section) override;
    QString ParMark() const override;
    QString PageBreak() const override;
    QString EscapeValue(const QString& Value) const override { return StrToRtf(Value); }
    QString EscapeData(const QString& Value) const override;
    QString DecodeText(const QString& Text) const override { return RtfToStr(Text); }
    QString MemoValue(const QString& Text, const QString& Format) override;
    QString FinishFieldValue(const QString& Value) const override;
    QString FinishVarValue(const QString& Value) const override;
    bool ExtractEOLAfterIfSet() const override { return ExtractEOLAfterIf; }
    QString PictureTagValue(const QString& Tag) override;
    QString PlaceBitmap(const TBitmap& Bitmap, const QString& Options) override;
    QString PictureFieldValue(TField* Field, const QString& Format) override;

private:
    void ProcAll();
    QString ReadTemplate() const;
    // Runs Step over every part of the text outside picture groups.
    QString ForEachTextPart(const QString& Text, const std::function<QString(const QString&)>& Step) const;
    QString ProcSection(const QString& Section, bool Extract, bool CleanNoise);
    QString ExtractSpecChar(QString& TagText) const;
    void ProcInfoTags();
    void ProcInsertFiles();
    QString CodePageValue(const QString& Value) const;
    void Save(const QByteArray& Bytes);
    void DoActionAfter();
    QString ProcFormatText(const QString& Part) const;
    // Pictures: from a field of a slot, a file or a bitmap, with the tag's options.
    QString CreateFormatPicture(int Slot, TField* Field, const QString& Options, const TBitmap* Bitmap,
                                const QString& FileName);
    QString LinkPic(int Slot, TField* Field, const TRepPictureOptions& Options, TBitmap& Picture, int Kind);
    QString InsertPic(const TRepPictureOptions& Options, TBitmap& Picture, int Kind) const;
    QString GetPicName(int Slot, TField* Field, const TRepPictureOptions& Options);

    bool FPlain = false;
    QString RepStr;
    TStringList* FTagList = nullptr;
    TSeekInfo SeekInfo;
    int PicCount = 0;
};

// Braces and backslashes of a text as RTF hex escapes, so that data prints
// as itself inside an RTF document.
QString RtfEscapeMarkup(const QString& S);
