#pragma once
// The component library's utility routines: visual-style colours, screen
// scaling, cursors, forms, menus, the shell, font tokens (platform and
// interface utilities) and the text, number and date routines.
// Positions in texts are one-based.

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rShellOpen.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Themes.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <set>
#include <vector>

class TMenuItem;
class TPopupMenu;
class TCustomForm;
class TProgressBar;
class TCheckListBox;

// ---- visual styles: no custom style ever exists, so the lookups return their input
TThemeServices* GetThemeServices();
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

// ---- the grid's hot-tracked cell: the coordinate is the top-left corner
// of the cell rectangle, so setting it makes the rectangle that one cell
TGridCoord GetHotTrackCoord(const THotTrackCellInfo& Info);
void SetHotTrackCoord(THotTrackCellInfo& Info, int Col, int Row);
void SetHotTrackCoord(THotTrackCellInfo& Info, TGridCoord Coord);
bool CheckHotTrackCoord(const THotTrackCellInfo& Info, int Col, int Row);
bool CheckHotTrackCoord(const THotTrackCellInfo& Info, TGridCoord Coord);

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
// Addresses of the form variables that CreateF registered.
std::vector<void*>& CreatedFormAdrList();

// Creates a form into FormVar unless it already holds one (then false),
// showing the hourglass meanwhile; Register remembers the variable's address.
template <class T>
bool CreateF(T*& FormVar, bool Register)
{
    if (FormVar)
        return false;
    const TCursor previous = ChCursor(crHourGlass);
    try {
        Application->CreateForm(FormVar);
    } catch (...) {
        ChCursor(previous);
        throw;
    }
    if (Register)
        CreatedFormAdrList().push_back(static_cast<void*>(&FormVar));
    ChCursor(previous);
    return true;
}

// Frees the form in FormVar and empties it (false when it is empty).
template <class T>
bool FreeF(T*& FormVar)
{
    if (!FormVar)
        return false;
    auto& list = CreatedFormAdrList();
    list.erase(std::remove(list.begin(), list.end(), static_cast<void*>(&FormVar)), list.end());
    T* form = FormVar;
    FormVar = nullptr;
    delete form;
    return true;
}

// ---- menus
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, const QString& Hint, TShortCut ShortCut, int Tag,
                          int ImageIndex, TNotifyEvent OnClick, TBasicAction* Action);
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, int Tag, TNotifyEvent OnClick);
TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, TShortCut ShortCut, int Tag, TNotifyEvent OnClick);
void DefineEditPopupMenuItems(TPopupMenu* PopupMenu, TNotifyEvent OnClick);

// ---- small control routines
void SetProgressBar(TProgressBar* Bar, int Position, int Max);
// Moves an item with its check mark and makes it the current one (false when refused).
bool MoveCheckListBox(TCheckListBox* List, int FromIndex, int ToIndex);
bool ProcMouseWheel(int& WheelDelta, Word& Key);
void UpdateAlignmentFromAlignmentDefault(TAlignment& Alignment, TAlignmentDefault Default);

// ---- files, folders and the shell
int RunFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd, bool ShowError);
int RunFileSimple(const QString& FileName);
int PrintFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd);
int PrintFileSimple(const QString& FileName);
// Prints a document whole on PrinterName (empty: the program's default
// printer; the PDF file printer asks for a PDF file to write): office files
// are turned into a PDF first. A failure is shown, with the offer to open the
// file instead. 42 when printed, 0 when the user cancelled, 2 on failure.
// The PDF file printer's question: the PDF file to write, offered beside
// FileName with the extension "pdf"; false when the user cancelled.
bool AskPdfFileName(const QString& FileName, QString& PdfFile);
int PrintFileOn(const QString& FileName, const QString& PrinterName, int Copies, const QString& Params = QString(),
                const QString& Folder = QString(), int ShowCmd = SW_SHOWNORMAL);
// The program folder (SORVEX_HOME when set), case kept, ending in "/".
QString GetAppDir();
QString SetEndOfPath(const QString& Path);
// Special folder ids of the shell (the ones the program uses).
constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;  // documents
constexpr int CSIDL_MYMUSIC = 0x000D;
constexpr int CSIDL_MYVIDEO = 0x000E;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
constexpr int CSIDL_INTERNET_CACHE = 0x0020;
constexpr int CSIDL_COMMON_APPDATA = 0x0023;
constexpr int CSIDL_WINDOWS = 0x0024;
constexpr int CSIDL_SYSTEM = 0x0025;
constexpr int CSIDL_PROGRAM_FILES = 0x0026;
constexpr int CSIDL_MYPICTURES = 0x0027;
constexpr int CSIDL_PROFILE = 0x0028;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_TEMPLATES = 0x0015;
// The folder of a special folder id, ending in "/"; raises for an unknown id.
QString GetSystemDir(int FolderId);

// ---- printers (the program's default printer; the system's is never changed)
void GetPrinterNames(QStringList& List);
QString GetDefaultPrinterName();
// Chooses the printer the program prints on; false when it is not installed.
// Broadcast has nothing to tell on this platform.
bool SetDefaultPrinter(const QString& Name, bool Broadcast);

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
// Common 8-bit code pages.
constexpr int CP_ACP = 0;         // the system's: UTF-8 on this platform
constexpr int CP_OEM437 = 437;
constexpr int CP_WINDOWS1252 = 1252;
constexpr int CP_ISO8859_1 = 28591;
constexpr int CP_ISO8859_15 = 28605;
constexpr int CP_US_ASCII = 20127;
constexpr int CP_UTF8 = 65001;
// S in an 8-bit code page: composed, non-spacing marks dropped, characters
// the code page lacks replaced by "?".
QByteArray WideStringToString(const QString& S, int CodePage);
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
// Reads a text written in a display format such as "dd.mm.yyyy hh:nn";
// Value is set only on success.
bool ScanFormattedDateTime(const QString& S, const QString& Format, TDateTime& Value, const TFormatSettings& Settings);
bool ScanFormattedDateTime(const QString& S, const QString& Format, TDateTime& Value);
TDateTime FormattedStrToDateTimeDef(const QString& S, const QString& Format, TDateTime Default, bool UseDateEx);
// The locale's date-time conversion: a date, a date and a time, or a time alone.
bool TryLocaleStrToDateTime(const QString& S, TDateTime& Value);
bool StrToDateEx(const QString& S, TDateTime& Value, TDateTime Default, TDateTime MinDate, TDateTime MaxDate);
QString DateTimeToFormattedStr(TDateTime Value, const QString& Format, bool TimeOnly);

// ---- sorting string lists by number or date (-1, 0, 1)
int SortNum(const QString& A, const QString& B);
int SortDate(const QString& A, const QString& B);
