#pragma once
// The template tag language shared by the RTF and the office-document report
// engines: up to 26 datasets named A to Z, field, variable and host values
// with formats and widths, the built-in tags, expressions and conditions,
// scan and conditional blocks, and dataset navigation. An engine supplies its
// delimiters, its paragraph mark and the replacement inside plain sections.
#include "platform/database/DataSet.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/StringList.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class TBitmap;

using TUserCalc = std::function<void(TComponent* Sender, QString& CalcStr, bool& Replace)>;
using TUserCalcParams = std::function<void(TComponent* Sender, const QString& FuncName, const QVariantList& Params,
                                           QVariant& FuncResult, bool& Replace)>;
using TOnGetPictureContent = std::function<void(TComponent* Sender, const QString& FuncName, TBitmap* Bmp)>;
using TReportProcessEvent = std::function<void(TComponent* Sender, int RecNbr, bool& Abort)>;

struct TScanInfo {
    QString DS;
    int DSindex = -1;
    QString WhileCond;
    QString SkipCond;
    QString Sep;
    bool NewLine = false;
    bool NewPar = false;
    bool NewCol = false;
    bool NewPage = false;
    bool NoIfEmpty = false;
    bool NoFirst = false;
    bool HasCalc = false;
    QString Calc;
    int MinRows = 0;
    int MaxRows = 0;
    // Table-row mode (office documents): one condition per template row.
    bool TableRows = false;
    QStringList RowConds;
};

// A scan body split into the rows of its table, with each row's kind.
struct TTableRowParts {
    enum TKind { rkEvery, rkHeader, rkFooter, rkHidden, rkCondition };
    QString Prefix;
    QString Suffix;
    QStringList Rows;
    std::vector<TKind> Kinds;
    QStringList Conds;
};

struct TCalcField {
    bool Init = false;
    int DSindex = -1;
    QString Name;
    QString Expression;
    double Max = 0, GrandMax = 0, Min = 0, GrandMin = 0, Sum = 0, GrandSum = 0;
    int Count = 0, GrandCount = 0;
};

class TReportTagEngine : public TComponent {
public:
    explicit TReportTagEngine(TComponent* AOwner = nullptr);
    ~TReportTagEngine() override;

    static constexpr int MaxDatasets = 26;

    TStringList Variables;
    QString DefaultCalcFormat;
    QString DefaultNumericFormat;
    QString DefaultBooleanFormat;
    QString DefaultDateFormat;
    QString DefaultTimeFormat;
    QString FieldNotFoundValue;
    bool ConvertScientificFormat = false;
    bool RaiseUnknownField = false;
    QString PrinterName;
    int PrintCopies = 1;
    bool ShowProgressBar = false;
    bool Aborted = false;

    const TStringList& ExtendedInfo() const { return FExtendedInfo; }

    TUserCalc OnUserCalc;
    TUserCalcParams OnUserCalcParams;
    TOnGetPictureContent OnGetPictureContent;
    std::function<void(TComponent* Sender)> OnReadInfo;
    TReportProcessEvent OnReportProcess;

    // A field tag such as "A.NAME" gives its value without format; any other
    // text gives Default.
    QString GetFieldTagValue(const QString& FieldTag, const QString& Default = QString());

    // The tag processing entry points (public for the engines' own helpers and tests).
    QString ProcTagStr(const QString& Tag, bool& Resolved);
    QString GetCalcValue(const QString& Expr, const QString& Format, bool Tolerant = false);
    double GetCalcNumValue(const QString& Expr, bool Tolerant = false);
    bool GetConditionResult(const QString& Cond);

protected:
    // ---- what an engine supplies ----
    virtual QString TagOpen() const = 0;
    virtual QString TagClose() const = 0;
    // Replaces the tags of a section without blocks (iif blocks resolved first).
    virtual QString ProcPlainSection(const QString& Section) = 0;
    virtual QString ParMark() const = 0;
    virtual QString PageBreak() const = 0;
    // Escapes a value for the output document.
    virtual QString EscapeValue(const QString& Value) const { return Value; }
    // Text from the data made safe for the document's own markup: a brace
    // or backslash in a runner's name must print as itself.
    virtual QString EscapeData(const QString& Value) const { return Value; }
    // Decodes the document's escapes inside tag texts and constants.
    virtual QString DecodeText(const QString& Text) const { return Text; }
    // The text of a memo field with the tag's memo format.
    virtual QString MemoValue(const QString& Text, const QString& Format) { (void)Format; return Text; }
    // Final touches of a field value (line breaks, code pages).
    virtual QString FinishFieldValue(const QString& Value) const { return Value; }
    virtual QString FinishVarValue(const QString& Value) const { return Value; }
    // Whether a paragraph mark after block tags is removed.
    virtual bool RemoveParAfterTags() const { return true; }
    virtual bool ExtractEOLAfterIfSet() const { return false; }
    // Pictures and barcodes: the document text of the picture.
    virtual QString PictureTagValue(const QString& Tag) { (void)Tag; return QString(); }
    // Barcodes are drawn into a bitmap that the engine places as a picture.
    QString BarcodeTagValue(const QString& Tag);
    virtual QString PlaceBitmap(const TBitmap& Bitmap, const QString& Options) { (void)Bitmap; (void)Options; return QString(); }
    virtual QString PictureFieldValue(TField* Field, const QString& Format) { (void)Field; (void)Format; return QString(); }
    // Text of a failing field.
    virtual QString FieldFailureText(int Slot, const QString& FieldName, const QString& Message) const;
    virtual QString ListLineBreak() const { return ParMark(); }
    virtual QString SeplistBreak() const { return QStringLiteral("\\"); }
    virtual bool NumToTextRemovesThousands() const { return true; }

    // ---- run state ----
    void ClearSlots();
    void SetDatasets(const std::vector<TDataSet*>& DataSets);
    // Resets the run state and tells the host a run starts (it may abort it).
    void StartRun();
    void EndRun();
    TDataSet* DS(int i) const { return (i >= 0 && i < MaxDatasets) ? FSlots[i].DS : nullptr; }
    bool DSActive(int i) const;
    bool DSNotEOF(int i) const;
    void CheckAbort();
    void ProcessMessages();
    void ApplyInfo();  // after the info tags were collected into ExtendedInfo
    // Opens or prints the written report; a printer named for the run goes to
    // the print command, the system's default printer stays as it is.
    void RunActionAfter(int Action, const QString& File);
    // The text and options of a barcode tag: false with the tag's value in
    // Text when there is nothing to draw.
    bool ResolveBarcodeTag(const QString& Tag, QString& Text, QString& Options);
    TStringList FExtendedInfo;
    int RecNbr = 1;
    int RecNbrDS0 = -1;
    int RecCountDS0 = -1;
    int FShownRecNbr = -1;  // the record counter the progress window shows
    QElapsedTimer FMessagesRun;

    // ---- tags ----
    QString ProcTagWithFormat(const QString& Tag, bool& Resolved);
    QString GetDBValue(int Slot, const QString& FieldName, const QString& Format);
    QString GetVarUserValue(const QString& Name, bool& Found);
    QString ProcDefVar(const QString& Inside);
    QString ProcSepList(const QString& Inside);
    QString ProcFirstValue(const QString& Inside);
    QString ProcCase(const QString& Inside);
    QString ProcNumToText(const QString& Tag, const QString& Format);
    QString ProcStrFunction(const QString& Tag);
    QString ListAllFields() const;
    QString EvalTagOrConst(const QString& Text, bool Quoted);

    // ---- expressions and conditions ----
    double CalcExpr(const QString& Expr, bool Tolerant);
    double GetVal(const QString& Term, bool Tolerant);
    bool DecideCondition(QString Cond);
    QString GetCondValue(const QString& Operand, bool& Numeric);
    virtual QString CheckScientificFormat(const QString& Text);
    // The break a scan writes between two records for its newline, newpar,
    // newcol and newpage options.
    virtual QString ScanBreakText(const TScanInfo& Info) const;
    // A scan option the engine knows beyond the common ones (true when taken).
    virtual bool ScanOption(TScanInfo& Info, const QString& Name, const QString& Inside)
    {
        (void)Info; (void)Name; (void)Inside;
        return false;
    }
    // Splits a table-row scan's body into its rows (office documents only).
    virtual TTableRowParts SplitTableRows(const QString& Body, const TScanInfo& Info) const
    {
        (void)Info;
        return {Body, QString(), {}, {}, {}};
    }

    // ---- blocks ----
    QString ProcBlock(QString Text);
    QString ProcScan(QString& Text);
    TScanInfo DecodeScanLine(QString& Text);
    void ProcIf(bool IIf, bool All, QString& Text);
    int GetDSIndex(const QString& Text) const;
    bool FindFirst(int i);
    bool FindLast(int i);
    bool FindNext(int i);
    bool FindPrev(int i);
    void GetDSBookmark(int i);
    void GotoDSBookmark(int i);
    void FreeBookMarks();
    QString RemovePar(const QString& Text, bool AllowBlanks) const;
    bool DivideStr(const QString& Tag, const QString& Text, QString& Before, QString& After) const;

    // ---- calculated fields ----
    void InitCalcField(int Slot, const QString& Definitions);
    void ProcCalcField(int Slot);
    double GetCalcFieldValue(int Index, const QString& Name);
    void FreeCalcField();

    // A tag as written in the template (delimiters included).
    QString Tagged(const QString& Inside) const { return TagOpen() + Inside + TagClose(); }

private:
    QString ApplyWidth(const QString& Value, int MinLeft, int MinRight) const;
    QString FieldValueByType(TField* F, const QString& Format);
    struct TSlot {
        TDataSet* DS = nullptr;
        bool DS_eof = false;
        bool HasBookmark = false;
        TBookmark Bookmark;
    };
    TSlot FSlots[MaxDatasets];
    std::vector<TCalcField> LCalcField;
};
