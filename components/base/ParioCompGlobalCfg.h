#pragma once
// The component library's one configuration record, its general event hook
// and the enumerations the library shares.

#include "platform/rtl/Exception.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Types.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class TrCustomGlyphs;
class TPicture;
class TCustomForm;

enum TGridLookStyles { grs_Default, grsBlueOffice, grsBlueNavy, grsBlueVista, grsSilverLight, grsSilverDark, grsSilverMonochrome, grsBlackOffice, grsOlive, grsYellow, grsOrange, grsGreen, grsBrown, grsKhaki };
enum TGlyphLookStyles { glsStandard, glsFlatBlack, glsFlatGray };
enum TAlignmentDefault { tadDefault, tadLeft, tadCenter, tadRight };
enum TFontStyleDefault { fsdDefault, fsdNormal, fsdBold, fsdItalic, fsdUnderline };
enum TFrameType { ft3D, ftSingleLine, ftDoubleLine, ftNone };
enum TGradientType { gtNone, gtVertical, gtHorizontal };
enum TrLinkType { ltNone, ltUserDefined, ltHTTP, ltMailTo };
enum TrDataBarText { dbtValue, dbtPercent, dbtNothing };
enum TrStatusBarType { sbtProgressBar, sbtDots, sbtCircles, sbtEllipses, sbtSignalStrength, sbtPie };
enum TCheckboxUpdateMode { chmCheckboxClick, chmItemDblClick, chmItemClick };
enum TSourceType { stGrid, stDataset, stRecView, stTreeView, stStringGrid };
enum TSearchingType { stFindFirst, stFindNext, stFindPrev };
enum TActionAfter { aaNone, aaShow, aaPrint };
enum TGridDrawingStyle { gdsClassic, gdsThemed, gdsGradient };

class TField;

// The first parameter of a general event: a component, or the dataset field
// the event is about (fields are not components here), as the event says.
class TGeneralEventParam {
public:
    TGeneralEventParam(std::nullptr_t = nullptr) {}
    TGeneralEventParam(TComponent* AComponent) : FComponent(AComponent) {}
    TGeneralEventParam(TField* AField) : FField(AField) {}
    TComponent* Component() const { return FComponent; }
    TField* Field() const { return FField; }
    // Handlers written for component parameters keep working.
    operator TComponent*() const { return FComponent; }

private:
    TComponent* FComponent = nullptr;
    TField* FField = nullptr;
};

using TParioCompGeneralEvent =
    std::function<void(TComponent* Sender, int EventID, const TGeneralEventParam& Param1, TComponent* Param2, QVariant& Value)>;
using TProcOnHelp = std::function<void(TCustomForm* Form, int HelpContext)>;
using TAnchorClickEvent = std::function<void(TComponent* Sender, const QString& LinkName)>;
// The field is the dataset field being left (opaque here: the data layer defines it).
using TExitControlEvent = std::function<void(TComponent* Sender, void* Field, bool& CanExit)>;
using TLoadFieldsPropsProc = std::function<void(void* DS)>;

// General event ids.
constexpr int pceDialogShown = 1001;
constexpr int pceDialogActivated = 1002;
constexpr int pceDialogClosed = 1009;
constexpr int pceComponentCreated = 1101;
constexpr int pceComponentLoaded = 1102;

struct TPropSaveCfg {
    QString Suffix_BlockSaveItems;
    QString FieldList_UseNewWidth;
    bool Grids_UseGlobalSetting = false;
};

struct TrGroupBoxCfg {
    TColor DefaultCaptionColor = 0x808080;
    TColor DefaultFontColor = 0xFFFFFF;
    int DefaultCaptionHeight = 14;
    TColor DefaultBkColor = clBtnFace;
    bool UseSimpleTabColor = false;
};

struct TrDBComponentsCfg {
    bool JPGAsDefault = true;
    bool VisibilityFromField_AutoHide = false;
    bool VisibilityFromField_AutoShow = false;
    bool ReloadItemsShowCursor = false;
    bool ShowSimpleLookupHint = false;
    int16_t RequeryCursorType = crSQLWait;
    TExitControlEvent ExitControlEvent;
    // Called by data-aware controls losing the focus: whether they may leave.
    // Required and IsBlank describe the field (a null or empty text is blank).
    bool DoExitControl(TWinControl* Control, void* Field, bool Required, bool IsBlank) const;
};

struct TrDBGridCfg {
    TGridDrawingStyle DefaultDrawingStyle = gdsThemed;
    TGridLookStyles DefaultGridLookStyle = grs_Default;
    TGlyphLookStyles DefaultGlyphLookStyle = glsStandard;
    bool FilterListUseColumnAlignment = true;
    bool FilterListBoldSelectAll = true;
    bool FilterMultiFieldForcedOn = false;
    QString CellSingleLineEOLSeparator;
    bool FontColorReadOnly_EditingOnly = true;
    bool ColorRequiredField_EditingOnly = true;
};

struct TrDBToolCfg {
    QString SQLScript_StringFieldQuotes;
    QString SQLScript_CommandSeparator;
    QString SQLScript_BooleanTrueValue;
    QString SQLScript_BooleanFalseValue;
    QString SQLScript_ReservedKeywords;
    unsigned FileDialog_Options = 0;
    TNotifyEvent FileDialog_InitDialogEvent;
    QString rDlg_DefaultFont;
    int rDlg_DefaultSize = 8;
    TAnchorClickEvent rDlg_AnchorClick;
    TGridDrawingStyle rDlg_GridDrawingStyle = gdsGradient;
    bool rDlg_BlockStoringGridFields = false;
    QString rpictool_LastFileName;
    bool BlobField_ftBlobAsMemo = true;
    bool IsReservedKeyword(const QString& Word) const;
};

struct TrDBFieldDefaultsCfg {
    QString DefaultFloatDisplayFormat;
    QString DefaultFloatEditFormat;
    QString DefaultBoolDisplayFormat;
    QString DefaultDateTimeDisplayFormat;
    QString DefaultTimeDisplayFormat;
    TLoadFieldsPropsProc LoadFieldsPropsProc;
    QStringList* InternalSQLLog = nullptr;
    QString InternalLogSeparator;
};

struct TrDBFieldsCfg {
    TNotifyEvent OnSetDefaultGridColumns;
    bool SetFixedCol = false;
};

struct TrDBFilterCfg {
    QChar FilterWildCardChar;
    QChar SQLWildCardChar;
    QString FilterLikeOperator;
    QString SQLLikeOperator;
    QString NullEqualStr;
    QString NotNullEqualStr;
    QString DateFormat;
    QString BooleanString[2];
    QChar TableQuoteStart, TableQuoteStop, FieldQuoteStart, FieldQuoteStop;
    bool ShowDelQuotes = false;
    bool ShowCaseSensitive = true;
    bool HideFieldNames = false;
    QChar DecimalSeparator;
};

struct TrDBFindCfg {
    bool ShowDelQuotes = false;
    bool ShowIgnoreDiacritics = false;
    TNotifyEvent OnFoundEvent;
    int LastOptIndex = 2;
    bool LastCaseSens = false;
    QString LastFindStr;
};

struct TrDBGridPropsCfg {
    bool HideCellParams = false;
    bool HideTitleFilterBtn = false;
    bool HideTitleFilterText = false;
    bool HideGridStyles = false;
    int HideTitleGroups = 0;
};

struct TrDBExportCfg {
    bool UseDisableControl = true;
};

struct TrDBPrintCfg {
    QString PrintData_Dir;
};

struct TrDBPrintDirectCfg {
    int HMarginMM = 20;
    int VMarginMM = 20;
    double LineSpaceRatio = 0.2;
    int PreviewMaxWidth = 1600;
    bool BooleanAsCheckBox = true;
};

struct TrDBSortCfg {
    bool SortFieldList = true;
    QString DefaultPath;
};

struct TRTFRepDlgCfg {
    int LastLangVerIndex = -1;
    bool ExportExcelNoFileName = true;
};

struct TParioCompConfig {
    TrCustomGlyphs* Global_CustomGlyphs = nullptr;
    TComponent* Global_PropSaveFile = nullptr;
    TProcOnHelp Global_ProcOnHelp;
    QString Global_HelpDirectory;
    TComponent* Global_HTMLHintComponent = nullptr;
    TPicture* Global_HTMLHintPicture = nullptr;
    TParioCompGeneralEvent Global_OnParioCompGeneralEvent;

    TPropSaveCfg PropSaveCfg;
    TrGroupBoxCfg rGroupBoxCfg;
    TrDBComponentsCfg rDBComponentsCfg;
    TrDBGridCfg rDBGridCfg;
    TrDBToolCfg rDBToolCfg;
    TrDBFieldDefaultsCfg rDBFieldDefaultsCfg;
    TrDBFieldsCfg rDBFieldsCfg;
    TrDBFilterCfg rDBFilterCfg;
    TrDBFindCfg rDBFindCfg;
    TrDBGridPropsCfg rDBGridPropsCfg;
    TrDBExportCfg rDBExportCfg;
    TrDBPrintCfg rDBPrintCfg;
    TrDBPrintDirectCfg rDBPrintDirectCfg;
    TrDBSortCfg rDBSortCfg;
    TRTFRepDlgCfg RTFRepDlgCfg;

    void DoParioCompGeneralEvent(TComponent* Sender, int EventID, const TGeneralEventParam& Param1, TComponent* Param2, QVariant& Value) const;
    void DoParioCompGeneralEventSimple(TComponent* Sender, int EventID) const;
    void DoProcOnHelp(TCustomForm* Form, int HelpContext) const;
    static bool GetConfig_OnOffAuto(int Setting, bool Default);
};

// The record; filled with the defaults when the library starts (first use).
extern TParioCompConfig& ParioCompConfig;
// Fills the whole record with the defaults.
void InitCfgValues();
// Starts the library once: the defaults, the look styles, the glyphs.
void InitParioComp();

// Where a link of the mini-HTML markup points to.
class TAnchorInfo {
public:
    QString LinkType;
    QString LinkName;
    TRect Rect;
};

SORVEX_EXCEPTION_KIND(TReportException, Exception)
