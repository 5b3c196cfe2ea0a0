#include "components/base/ParioCompGlobalCfg.h"

#include "components/base/rGlyphs.h"
#include "components/base/rtool.h"
#include "platform/ui/CommonDialogs.h"

namespace {

void FillDefaults(TParioCompConfig& c);

TParioCompConfig& Storage()
{
    static TParioCompConfig config = [] {
        TParioCompConfig c;
        FillDefaults(c);
        return c;
    }();
    return config;
}

const char* const ReservedKeywords =
    "ADD,ALL,ALTER,AND,ANY,AS,ASC,AUTHORIZATION,BACKUP,BEGIN,BETWEEN,BREAK,BROWSE,BULK,BY,CASCADE,CASE,CHECK,"
    "CHECKPOINT,CLOSE,CLUSTERED,COALESCE,COLLATE,COLUMN,COMMIT,COMPUTE,CONSTRAINT,CONTAINS,CONTAINSTABLE,CONTINUE,"
    "CONVERT,CREATE,CROSS,CURRENT,CURRENT_DATE,CURRENT_TIME,CURRENT_TIMESTAMP,CURRENT_USER,CURSOR,DATABASE,DBCC,"
    "DEALLOCATE,DECLARE,DEFAULT,DELETE,DENY,DESC,DISK,DISTINCT,DISTRIBUTED,DOUBLE,DROP,DUMP,ELSE,END,ERRLVL,ESCAPE,"
    "EXCEPT,EXEC,EXECUTE,EXISTS,EXIT,EXTERNAL,FETCH,FILE,FILLFACTOR,FOR,FOREIGN,FREETEXT,FREETEXTTABLE,FROM,FULL,"
    "FUNCTION,GOTO,GRANT,GROUP,HAVING,HOLDLOCK,IDENTITY,IDENTITY_INSERT,IDENTITYCOL,IF,IN,INDEX,INNER,INSERT,"
    "INTERSECT,INTO,IS,JOIN,KEY,KILL,LEFT,LIKE,LINENO,LOAD,MERGE,NATIONAL,NOCHECK,NONCLUSTERED,NOT,NULL,NULLIF,OF,"
    "OFF,OFFSETS,ON,OPEN,OPENDATASOURCE,OPENQUERY,OPENROWSET,OPENXML,OPTION,OR,ORDER,OUTER,OVER,PERCENT,PIVOT,PLAN,"
    "PRECISION,PRIMARY,PRINT,PROC,PROCEDURE,PUBLIC,RAISERROR,READ,READTEXT,RECONFIGURE,REFERENCES,REPLICATION,"
    "RESTORE,RESTRICT,RETURN,REVERT,REVOKE,RIGHT,ROLLBACK,ROWCOUNT,ROWGUIDCOL,RULE,SAVE,SCHEMA,SECURITYAUDIT,SELECT,"
    "SESSION_USER,SET,SETUSER,SHUTDOWN,SOME,STATISTICS,SYSTEM_USER,TABLE,TABLESAMPLE,TEXTSIZE,THEN,TO,TOP,TRAN,"
    "TRANSACTION,TRIGGER,TRUNCATE,TSEQUAL,UNION,UNIQUE,UNPIVOT,UPDATE,UPDATETEXT,USE,USER,VALUES,VARYING,VIEW,"
    "WAITFOR,WHEN,WHERE,WHILE,WITH,WRITETEXT";

}  // namespace

TParioCompConfig& ParioCompConfig = Storage();

void InitCfgValues()
{
    FillDefaults(Storage());
}

void InitParioComp()
{
    InitCfgValues();
    InitGridThemeColors();
    LoadStandardGlyphs();
}

namespace {

// The default colour of group boxes on tabs: the tab body of the visual style, else the button face.
TColor GetTabBackgroundColorFromBitmap()
{
    // The light look paints its tab body (DrawThemedTabPane) in plain white;
    // this runs at module start, before any window system exists to draw on.
    return GetThemeEnabled() ? clWhite : clBtnFace;
}

}  // namespace

namespace {

void FillDefaults(TParioCompConfig& c)
{
    c = TParioCompConfig();
    c.Global_HelpDirectory = GetAppDir() + QStringLiteral("help/");
    c.PropSaveCfg.Suffix_BlockSaveItems = QStringLiteral("_nostore");
    c.rGroupBoxCfg.DefaultBkColor = GetTabBackgroundColorFromBitmap();
    c.rDBGridCfg.CellSingleLineEOLSeparator = QStringLiteral(" | ");
    c.rDBToolCfg.SQLScript_StringFieldQuotes = QStringLiteral("'");
    c.rDBToolCfg.SQLScript_CommandSeparator = QStringLiteral("GO");
    c.rDBToolCfg.SQLScript_BooleanTrueValue = QStringLiteral("1");
    c.rDBToolCfg.SQLScript_BooleanFalseValue = QStringLiteral("0");
    c.rDBToolCfg.SQLScript_ReservedKeywords = QLatin1String(ReservedKeywords);
    c.rDBToolCfg.FileDialog_Options = ofNoChangeDir | ofFileMustExist | ofEnableSizing;
    c.rDBToolCfg.rDlg_DefaultFont = QStringLiteral("Tahoma");
    c.rDBToolCfg.rDlg_DefaultSize = 8;
    c.rDBFieldDefaultsCfg.DefaultFloatDisplayFormat = QStringLiteral("#,##0.00");
    c.rDBFieldDefaultsCfg.DefaultFloatEditFormat = QStringLiteral("0.00");
    c.rDBFieldDefaultsCfg.DefaultBoolDisplayFormat = QStringLiteral("Yes;No");
    c.rDBFieldDefaultsCfg.DefaultTimeDisplayFormat = QStringLiteral("h:nn");
    c.rDBFieldDefaultsCfg.InternalLogSeparator = QStringLiteral(";");
    TrDBFilterCfg& f = c.rDBFilterCfg;
    f.FilterWildCardChar = QLatin1Char('*');
    f.SQLWildCardChar = QLatin1Char('%');
    f.FilterLikeOperator = QStringLiteral("LIKE");
    f.SQLLikeOperator = QStringLiteral("LIKE");
    f.NullEqualStr = QStringLiteral("=");
    f.NotNullEqualStr = QStringLiteral("<>");
    f.BooleanString[0] = QStringLiteral("false");
    f.BooleanString[1] = QStringLiteral("true");
    f.TableQuoteStart = f.FieldQuoteStart = QLatin1Char('[');
    f.TableQuoteStop = f.FieldQuoteStop = QLatin1Char(']');
    f.DecimalSeparator = QLatin1Char('.');
    c.rDBSortCfg.DefaultPath = GetAppDir();
}

}  // namespace

void TParioCompConfig::DoParioCompGeneralEvent(TComponent* Sender, int EventID, const TGeneralEventParam& Param1, TComponent* Param2,
                                               QVariant& Value) const
{
    if (Global_OnParioCompGeneralEvent)
        Global_OnParioCompGeneralEvent(Sender, EventID, Param1, Param2, Value);
}

void TParioCompConfig::DoParioCompGeneralEventSimple(TComponent* Sender, int EventID) const
{
    QVariant value(0);
    DoParioCompGeneralEvent(Sender, EventID, nullptr, nullptr, value);
}

void TParioCompConfig::DoProcOnHelp(TCustomForm* Form, int HelpContext) const
{
    if (Global_ProcOnHelp)
        Global_ProcOnHelp(Form, HelpContext);
}

bool TParioCompConfig::GetConfig_OnOffAuto(int Setting, bool Default)
{
    if (Setting == -1)
        return false;
    if (Setting == 1)
        return true;
    return Default;
}

bool TrDBToolCfg::IsReservedKeyword(const QString& Word) const
{
    // a word that ends a listed keyword counts as well ("COUNT" in "ROWCOUNT,")
    return (SQLScript_ReservedKeywords + QLatin1Char(',')).contains(Word + QLatin1Char(','), Qt::CaseInsensitive);
}

bool TrDBComponentsCfg::DoExitControl(TWinControl* Control, void* Field, bool Required, bool IsBlank) const
{
    bool canExit = true;
    if (!ExitControlEvent || !Field || !Required)
        return true;
    if (!IsBlank)
        return true;
    ExitControlEvent(Control, Field, canExit);
    if (!canExit && Control && Control->CanFocus())
        Control->SetFocus();
    return canExit;
}
