#pragma once
// The component library's utility routines: visual-style colours, screen
// scaling, cursors, forms, menus, the shell, font tokens (platform and
// interface utilities) and the text, number and date routines.
// Positions in texts are one-based.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/Controls.h"

#include <QString>
#include <QStringList>
#include <set>

class TMenuItem;
class TPopupMenu;
class TCustomForm;
class TProgressBar;

// ---- visual styles: no custom style ever exists, so the lookups return their input
bool GetThemeEnabled();
bool StyleIsActive();
TColor GetStyleSystemColor(TColor Color);
TColor GetStyleFontColor_LabelText(TColor Color);
TColor GetStyleFontColor_ButtonText(TColor Color, bool Disabled);
TColor GetStyleFontColor_ComboBox(TColor Color);
TColor GetStyleFontColor_ListBox(TColor Color, bool Selected);
TColor GetStyleFontColor_GridText(TColor Color, bool Fixed, bool Hot, bool Pressed);
TColor GetStyleBkColor_GradientBase(TColor Color);
TColor GetStyleBkColor_ComboBox(TColor Color);
TColor GetStyleBkColor_ListBox(TColor Color);
TColor GetStyleBkColor_Grid(TColor Color);
TColor GetStyleColor_GridCellBorder(TColor Color);

// ---- screen resolution (96 dpi is the design resolution)
void DPI_SetFontHeight(TFont* Font);
void DPI_ScaleFontHeight(TFont* Font, int M, int D);
int DPI_ScaleSize(int Size);

// ---- cursors: each returns the previous screen cursor
TCursor ChCursor(TCursor Cursor);
TCursor WCursor();
TCursor NCursor();
TCursor SQLCursor();

// ---- forms and owners
TComponent* GetActiveOwner();

// ---- menus
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, const QString& Hint, TShortCut ShortCut, int Tag,
                          int ImageIndex, TNotifyEvent OnClick, TBasicAction* Action);
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, int Tag, TNotifyEvent OnClick);
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, TShortCut ShortCut, int Tag, TNotifyEvent OnClick);
void DefineEditPopupMenuItems(TPopupMenu* PopupMenu, TNotifyEvent OnClick);

// ---- small control routines
void SetProgressBar(TProgressBar* Bar, int Position, int Max);
bool ProcMouseWheel(int& WheelDelta, Word& Key);
void UpdateAlignmentFromAlignmentDefault(TAlignment& Alignment, TAlignmentDefault Default);

// ---- files, folders and the shell
constexpr int SW_SHOWNORMAL = 1;
int RunFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd, bool ShowError);
int RunFileSimple(const QString& FileName);
int PrintFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd);
int PrintFileSimple(const QString& FileName);
// The program folder (SORVEX_HOME when set), case kept, ending in "/".
QString GetAppDir();
QString SetEndOfPath(const QString& Path);

// ---- font tokens ("B", "I", "U", "N", colour names, "$hex" colours, sizes)
void UseFontFormatParams(TFont* Font, const QString& Token, bool& WasReset);
void UseFontFormatParams(TFont* Font, const QString& Token);

// ---- locale and number texts
QChar GetDecimalSeparator();
QChar GetThousandSeparator();
QChar GetDateSeparator();
QChar GetTimeSeparator();
QString UpdateToDecimalSeparator(const QString& S);
QString UpdateToDateSeparator(const QString& S);
QString UpdateToTimeSeparator(const QString& S);
QString RemoveThousandSeparator(const QString& S);
QString CleanString(const QString& S, const QString& Chars);
QString CleanNumericString(const QString& S);
QString CleanDateTimeString(const QString& S);
QString CleanLastEOL(const QString& S);
QString ConvertUnicodeToAscii(const QString& S);
QString IntToStr0(int64_t Value, int Width);
QString FillStrL(const QString& S, QChar Ch, int Width);
QString FillStrR(const QString& S, QChar Ch, int Width);

// ---- search, split and replace
int AnsiPosEx(const QString& SubStr, const QString& S, int Offset, bool CaseSensitive);
QString FindStrPart(const QString& S, const QString& Sep, int N, bool CaseSensitive);
QString RemoveStrPart(QString& S, const QString& Sep, bool CaseSensitive);
QString FindStrFromTo(const QString& StartStr, const QString& EndStr, const QString& S, bool CaseSensitive, bool WithoutStart);
QString ClearStr(const QString& SubStr, const QString& S, bool CaseSensitive);
QString ReplaceStr(const QString& OldStr, const QString& NewStr, const QString& S, bool All, bool CaseSensitive);
QString ReplaceStrFromTo(const QString& StartStr, const QString& EndStr, const QString& NewStr, const QString& S,
                         bool IncludeEnd, bool All, bool CaseSensitive);
void AddToSepList(QString& List, const QString& Item, const QString& Sep);
bool ContainWholeWord(const QString& Word, const QString& S, const QString& Separators, int Position);

// ---- dates
bool StrToDateEx(const QString& S, TDateTime& Value, TDateTime Default, TDateTime MinDate, TDateTime MaxDate);
QString DateTimeToFormattedStr(TDateTime Value, const QString& Format, bool TimeOnly);

// ---- sorting string lists by number or date (-1, 0, 1)
int SortNum(const QString& A, const QString& B);
int SortDate(const QString& A, const QString& B);
