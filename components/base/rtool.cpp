#include "components/base/rtool.h"

#include "components/base/rdlg.h"
#include "components/base/rShellOpen.h"
#include "platform/rtl/StrUtils.h"
#include "platform/print/PrintDocument.h"
#include "platform/print/Printers.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/CheckLst.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "resources/LibraryTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>

// ---- visual styles ----------------------------------------------------------------

TThemeServices* GetThemeServices() { return ThemeServices(); }

bool GetThemeEnabled()
{
    return GetThemeServices()->Enabled();
}

bool StyleIsActive()
{
    const TThemeServices* s = GetThemeServices();
    return s->Enabled() && s->Available() && !s->IsSystemStyle();
}

TColor GetStyleSystemColor(TColor Color) { return StyleIsActive() ? GetThemeServices()->GetSystemColor(Color) : Color; }

TGridCoord GetHotTrackCoord(const THotTrackCellInfo& Info) { return {Info.Rect.Left, Info.Rect.Top}; }

void SetHotTrackCoord(THotTrackCellInfo& Info, int Col, int Row) { Info.Rect = {Col, Row, Col, Row}; }

void SetHotTrackCoord(THotTrackCellInfo& Info, TGridCoord Coord) { SetHotTrackCoord(Info, Coord.X, Coord.Y); }

bool CheckHotTrackCoord(const THotTrackCellInfo& Info, int Col, int Row) { return Info.Rect.Left == Col && Info.Rect.Top == Row; }

bool CheckHotTrackCoord(const THotTrackCellInfo& Info, TGridCoord Coord) { return CheckHotTrackCoord(Info, Coord.X, Coord.Y); }
TColor GetStyleFontColor_LabelText(TColor Color) { return Color; }
TColor GetStyleFontColor_ButtonText(TColor Color, bool) { return Color; }
TColor GetStyleFontColor_ComboBox(TColor Color) { return Color; }
TColor GetStyleFontColor_ListBox(TColor Color, bool) { return Color; }
TColor GetStyleFontColor_GridText(TColor Color, bool, bool, bool) { return Color; }
TColor GetStyleBkColor_GradientBase(TColor Color) { return Color; }
TColor GetStyleBkColor_ComboBox(TColor Color) { return Color; }
TColor GetStyleBkColor_ListBox(TColor Color) { return Color; }
TColor GetStyleBkColor_Grid(TColor Color) { return Color; }
TColor GetStyleColor_GridCellBorder(TColor Color) { return Color; }

// ---- screen resolution --------------------------------------------------------------

namespace {

int RoundHalfEven(double V)
{
    return int(std::nearbyint(V));
}

}  // namespace

void DPI_SetFontHeight(TFont* Font)
{
    Font->SetHeight(RoundHalfEven(-11.0 * ScreenPixelsPerInch() / 96.0));
}

void DPI_ScaleFontHeight(TFont* Font, int M, int D)
{
    Font->SetHeight(MulDiv(Font->Height(), M, D));
}

int DPI_ScaleSize(int Size)
{
    return RoundHalfEven(double(Size) * ScreenPixelsPerInch() / 96.0);
}

// ---- cursors ------------------------------------------------------------------------

TCursor ChCursor(TCursor Cursor)
{
    const TCursor previous = Screen->Cursor();
    Screen->SetCursor(Cursor);
    return previous;
}

TCursor WCursor()
{
    return ChCursor(crHourGlass);
}

TCursor NCursor()
{
    return ChCursor(crDefault);
}

TCursor SQLCursor()
{
    return ChCursor(crSQLWait);
}

TComponent* GetActiveOwner()
{
    TCustomForm* f = Screen->ActiveForm();
    if (f && (f->FormStyle() == fsNormal || f->FormStyle() == fsStayOnTop))
        return f;
    return Application;
}

std::vector<void*>& CreatedFormAdrList()
{
    static std::vector<void*> list;
    return list;
}

// ---- menus ----------------------------------------------------------------------------

TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, const QString& Hint, TShortCut ShortCut, int Tag,
                          int ImageIndex, TNotifyEvent OnClick, TBasicAction* Action)
{
    auto* item = new TMenuItem(Owner);
    item->AutoHotkeys = false;
    item->SetCaption(Caption);
    item->SetHint(Hint);
    item->SetShortCut(ShortCut);
    item->Tag = Tag;
    item->SetImageIndex(ImageIndex);
    item->OnClick = std::move(OnClick);
    if (Action)
        item->SetAction(Action);
    return item;
}

TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, int Tag, TNotifyEvent OnClick)
{
    return CreateMenuItem(Owner, Caption, Caption, scNone, Tag, -1, std::move(OnClick), nullptr);
}

TMenuItem* CreateMenuItem(TComponent* Owner, const QString& Caption, TShortCut ShortCut, int Tag, TNotifyEvent OnClick)
{
    return CreateMenuItem(Owner, Caption, Caption, ShortCut, Tag, -1, std::move(OnClick), nullptr);
}

void DefineEditPopupMenuItems(TPopupMenu* PopupMenu, TNotifyEvent OnClick)
{
    struct Entry {
        const QString* Caption;
        int Tag;
        const char* ShortCut;
    };
    const QString line = QStringLiteral("-");
    const Entry entries[] = {
        {&libtxt::MenuUndo, 1, nullptr},       {&line, 0, nullptr},
        {&libtxt::MenuCut, 2, nullptr},        {&libtxt::MenuCopy, 3, nullptr},
        {&libtxt::MenuPaste, 4, nullptr},      {&libtxt::MenuDelete, 5, nullptr},
        {&line, 0, nullptr},                   {&libtxt::MenuSelectAll, 10, "Ctrl+A"},
        {&line, 0, nullptr},                   {&libtxt::MenuFind, 11, "Ctrl+F"},
        {&libtxt::MenuFindNext, 12, "Ctrl+Shift+R"}, {&libtxt::MenuChangeFont, 13, nullptr},
        {&libtxt::MenuWordWrap, 20, nullptr},  {&line, 0, nullptr},
        {&libtxt::MenuLoadFromFile, 21, nullptr}, {&libtxt::MenuSaveToFile, 22, nullptr},
    };
    for (const Entry& e : entries) {
        TMenuItem* item = CreateMenuItem(PopupMenu, *e.Caption, e.ShortCut ? TextToShortCut(QLatin1String(e.ShortCut)) : scNone, e.Tag, OnClick);
        if (e.Tag == 20) {
            // the word-wrap item checks itself when clicked
            item->SetAutoCheck(true);
        }
        PopupMenu->Items()->Add(item);
    }
}

// ---- small control routines ------------------------------------------------------------

void SetProgressBar(TProgressBar* Bar, int Position, int Max)
{
    if (Bar->Max() != Max)
        Bar->SetMax(Max);
    if (Bar->Position() != Position) {
        Bar->SetPosition(Position + 1);
        Bar->SetPosition(Position);
    }
}

bool MoveCheckListBox(TCheckListBox* List, int FromIndex, int ToIndex)
{
    if (!List || FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= List->Count() || ToIndex >= List->Count())
        return false;
    List->MoveItem(FromIndex, ToIndex);
    if (List->TopIndex() >= ToIndex && List->TopIndex() > 0)
        List->SetTopIndex(List->TopIndex() - 1);
    const int visible = List->Height() / std::max(1, List->ItemHeight());
    if (ToIndex >= List->TopIndex() + visible - 1)
        List->SetTopIndex(List->TopIndex() + 1);
    List->SetItemIndex(ToIndex);
    return true;
}

bool ProcMouseWheel(int& WheelDelta, Word& Key)
{
    if (WheelDelta > 0) {
        Key = VK_UP;
        WheelDelta = std::max(0, WheelDelta - 120);
        return true;
    }
    if (WheelDelta < 0) {
        Key = VK_DOWN;
        WheelDelta = std::min(0, WheelDelta + 120);
        return true;
    }
    return false;
}

void UpdateAlignmentFromAlignmentDefault(TAlignment& Alignment, TAlignmentDefault Default)
{
    switch (Default) {
    case tadLeft:
        Alignment = taLeftJustify;
        break;
    case tadCenter:
        Alignment = taCenter;
        break;
    case tadRight:
        Alignment = taRightJustify;
        break;
    default:
        break;
    }
}

// ---- files and the shell -----------------------------------------------------------------

int RunFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd, bool ShowError)
{
    const int result = ShellOpen(FileName, Params, Folder, ShowCmd);
    if (result > 32)
        return result;
    const QString msg = QString(libtxt::CannotOpenFile).replace(QStringLiteral("%s"), FileName);
    if (!ShowError)
        throw Exception(msg);
    DlgE(msg, false);
    return result;
}

int RunFileSimple(const QString& FileName)
{
    return RunFile(FileName, QString(), QString(), SW_SHOWNORMAL, true);
}

int PrintFile(const QString& FileName, const QString& Params, const QString& Folder, int ShowCmd)
{
    return PrintFileOn(FileName, GetDefaultPrinterName(), 1, Params, Folder, ShowCmd);
}

bool AskPdfFileName(const QString& FileName, QString& PdfFile)
{
    TSaveDialog d(nullptr);
    d.Title = libtxt::PrintToPdfTitle;
    d.Filter = libtxt::PdfFileFilter;
    d.DefaultExt = QStringLiteral("pdf");
    d.Options |= ofOverwritePrompt;
    const QFileInfo fi(FileName);
    d.InitialDir = fi.absolutePath();
    d.FileName = fi.absoluteDir().filePath(fi.completeBaseName() + QStringLiteral(".pdf"));
    if (!d.Execute())
        return false;
    PdfFile = d.FileName;
    return true;
}

int PrintFileOn(const QString& FileName, const QString& PrinterName, int Copies, const QString& Params, const QString& Folder,
                int ShowCmd)
{
    // without any printer the pages go into a PDF file, as the print dialogs offer
    const bool toPdf = IsPdfFilePrinter(PrinterName) || (PrinterName.isEmpty() && PrinterNames().isEmpty());
    QString reason;
    try {
        if (!toPdf) {
            PrintDocument(FileName, PrinterName, Copies);
            return 42;
        }
        QString pdf;
        if (!AskPdfFileName(FileName, pdf))
            return 0;
        ConvertDocumentToPdf(FileName, pdf);
        return 42;
    } catch (const Exception& e) {
        reason = e.Message();
    }
    const QString a = QString(libtxt::CannotPrintFile).replace(QStringLiteral("%s"), FileName);
    const QString b = QString(libtxt::OpenFileQuestion).replace(QStringLiteral("%s"), FileName);
    if (ShowDlg(dtError, btnYesNo, {QStringLiteral("^C") + libtxt::DlgCaptionError, QStringLiteral("^B") + a, reason, b}, true) == mrYes)
        RunFile(FileName, Params, Folder, ShowCmd, true);
    return 2;
}

int PrintFileSimple(const QString& FileName)
{
    return PrintFile(FileName, QString(), QString(), SW_SHOWNORMAL);
}

QString GetAppDir()
{
    QString dir = qEnvironmentVariable("SORVEX_HOME");
    if (dir.isEmpty())
        dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return SetEndOfPath(dir);
}

QString SetEndOfPath(const QString& Path)
{
    if (Path.isEmpty() || Path.endsWith(QLatin1Char('/')))
        return Path;
    return Path + QLatin1Char('/');
}

QString GetSystemDir(int FolderId)
{
    QString path;
    switch (FolderId) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
        path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        break;
    case CSIDL_PERSONAL:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case CSIDL_MYMUSIC:
        path = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        break;
    case CSIDL_MYVIDEO:
        path = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
        break;
    case CSIDL_MYPICTURES:
        path = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        break;
    case CSIDL_APPDATA:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        break;
    case CSIDL_LOCAL_APPDATA:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    case CSIDL_INTERNET_CACHE:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        break;
    case CSIDL_COMMON_APPDATA:
        path = QStringLiteral("/var/lib");
        break;
    case CSIDL_WINDOWS:
        path = QStringLiteral("/usr");
        break;
    case CSIDL_SYSTEM:
        path = QStringLiteral("/usr/lib");
        break;
    case CSIDL_PROGRAM_FILES:
        path = QStringLiteral("/opt");
        break;
    case CSIDL_PROFILE:
        path = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
        break;
    case CSIDL_FONTS:
        path = QStandardPaths::writableLocation(QStandardPaths::FontsLocation);
        break;
    case CSIDL_TEMPLATES:
        path = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QStringLiteral("/Templates");
        break;
    default:
        break;
    }
    if (path.isEmpty())
        throw Exception(QStringLiteral("SHGetPathFromIDList failed : invalid ppidl"));
    return SetEndOfPath(path);
}

// ---- printers -------------------------------------------------------------------------------

void GetPrinterNames(QStringList& List)
{
    List = PrinterNames();
}

QString GetDefaultPrinterName()
{
    return DefaultPrinterName();
}

bool SetDefaultPrinter(const QString& Name, bool)
{
    return SetDefaultPrinterName(Name);
}

// ---- font tokens -------------------------------------------------------------------------

void UseFontFormatParams(TFont* Font, const QString& Token, bool& WasReset)
{
    if (Token == QLatin1String("N")) {
        Font->SetStyle(0);
        WasReset = true;
        return;
    }
    if (Token == QLatin1String("B")) {
        Font->SetStyle(Font->Style() | fsBold);
        return;
    }
    if (Token == QLatin1String("I")) {
        Font->SetStyle(Font->Style() | fsItalic);
        return;
    }
    if (Token == QLatin1String("U")) {
        Font->SetStyle(Font->Style() | fsUnderline);
        return;
    }
    TColor color;
    if (ColorFromName(Token, color)) {
        Font->SetColor(color);
        return;
    }
    bool ok = false;
    if (Token.startsWith(QLatin1Char('$'))) {
        const int v = Token.mid(1).toInt(&ok, 16);
        if (ok && v > 0)
            Font->SetColor(v);
    } else {
        const int v = Token.toInt(&ok);
        if (ok && v > 0)
            Font->SetSize(v);
    }
}

void UseFontFormatParams(TFont* Font, const QString& Token)
{
    bool reset = false;
    UseFontFormatParams(Font, Token, reset);
}

// ---- locale and number texts -------------------------------------------------------------------

QChar GetDecimalSeparator() { return FormatSettings().DecimalSeparator; }
QChar GetThousandSeparator() { return FormatSettings().ThousandSeparator; }
QChar GetDateSeparator() { return FormatSettings().DateSeparator; }
QChar GetTimeSeparator() { return FormatSettings().TimeSeparator; }

QString UpdateToDecimalSeparator(const QString& S)
{
    const int dot = int(S.indexOf(QLatin1Char('.'))), comma = int(S.indexOf(QLatin1Char(',')));
    QChar thousand;
    if (dot >= 0 && comma >= 0)
        thousand = dot < comma ? QLatin1Char('.') : QLatin1Char(',');
    QString r;
    for (QChar c : S) {
        if (!thousand.isNull() && c == thousand)
            r += GetThousandSeparator();
        else if (c == QLatin1Char('.') || c == QLatin1Char(','))
            r += GetDecimalSeparator();
        else
            r += c;
    }
    return r;
}

namespace {

QString ReplaceEach(const QString& S, const QString& Chars, QChar By)
{
    QString r = S;
    for (QChar& c : r)
        if (Chars.contains(c))
            c = By;
    return r;
}

}  // namespace

QString UpdateToDateSeparator(const QString& S)
{
    return ReplaceEach(S, QStringLiteral(".,;+-*/:_"), GetDateSeparator());
}

QString UpdateToTimeSeparator(const QString& S)
{
    return ReplaceEach(S, QStringLiteral(".,;+-*/:_"), GetTimeSeparator());
}

QString RemoveThousandSeparator(const QString& S)
{
    QString r;
    for (QChar c : S)
        if (c != GetThousandSeparator() && c != QLatin1Char(' '))
            r += c;
    return r;
}

QString CleanString(const QString& S, const QString& Chars)
{
    QString r;
    for (QChar c : S)
        if (!Chars.contains(c, Qt::CaseInsensitive))
            r += c;
    return r;
}

QString CleanNumericString(const QString& S)
{
    return CleanString(S, QStringLiteral(" \t\n\r") + QChar(0x00A0));
}

QString CleanDateTimeString(const QString& S)
{
    return CleanNumericString(S);
}

QString CleanLastEOL(const QString& S)
{
    QString r = S;
    while (!r.isEmpty() && (r.back() == QLatin1Char('\r') || r.back() == QLatin1Char('\n')))
        r.chop(1);
    return r;
}

QString ConvertUnicodeToAscii(const QString& S)
{
    QString r = S;
    for (QChar& c : r)
        if (c.unicode() > 127)
            c = QLatin1Char('?');
    return r;
}

QByteArray WideStringToString(const QString& S, int CodePage)
{
    if (S.isEmpty())
        return QByteArray();
    // composite characters composed, the marks that stay apart dropped
    QString text = S.normalized(QString::NormalizationForm_C);
    text.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    if (CodePage == CP_ACP || CodePage == CP_UTF8)
        return text.toUtf8();
    if (CodePage == CP_WINDOWS1252) {
        // Latin-1 with the printable characters of $80..$9F
        static const char16_t upper[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                           0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
        QByteArray out;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            char b = '?';
            if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
                b = char(u);
            } else {
                for (int i = 0; i < 32; ++i)
                    if (upper[i] != 0 && upper[i] == u)
                        b = char(0x80 + i);
            }
            out += b;
        }
        return out;
    }
    const char16_t limit = CodePage == CP_ISO8859_1 ? 0xFF : CodePage == CP_US_ASCII ? 0x7F : 0;
    if (limit) {
        QByteArray out;
        for (QChar c : text)
            out += c.unicode() <= limit ? char(c.unicode()) : '?';
        return out;
    }
    // other code pages through the codecs the system provides
    const QByteArray name = CodePage == CP_OEM437 ? QByteArray("IBM437") : CodePage == CP_ISO8859_15 ? QByteArray("ISO-8859-15")
                                                                                                    : "windows-" + QByteArray::number(CodePage);
    QStringEncoder encoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        QByteArray out;
        for (QChar c : text)
            out += c.unicode() < 0x80 ? char(c.unicode()) : '?';
        return out;
    }
    // characters the code page lacks become "?": encode one at a time and check the way back
    QStringDecoder decoder(name.constData());
    QByteArray out;
    for (QChar c : text) {
        const QByteArray b = encoder.encode(QString(c));
        if (b.size() == 1 && decoder.decode(b) == QString(c))
            out += b;
        else
            out += '?';
    }
    return out;
}

QString FillStrL(const QString& S, QChar Ch, int Width)
{
    return S.size() >= Width ? S : QString(Width - S.size(), Ch) + S;
}

QString FillStrR(const QString& S, QChar Ch, int Width)
{
    return S.size() >= Width ? S : S + QString(Width - S.size(), Ch);
}

QString IntToStr0(int64_t Value, int Width)
{
    return FillStrL(QString::number(Value), QLatin1Char('0'), Width);
}

// ---- search, split and replace -----------------------------------------------------------------

int AnsiPosEx(const QString& SubStr, const QString& S, int Offset, bool CaseSensitive)
{
    if (Offset < 1)
        Offset = 1;
    if (SubStr.isEmpty())
        return 0;
    const int i = int(S.indexOf(SubStr, Offset - 1, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive));
    return i < 0 ? 0 : i + 1;
}

QString FindStrPart(const QString& S, const QString& Sep, int N, bool CaseSensitive)
{
    if (Trim(S).isEmpty())
        return QString();
    if (N < 1)
        N = 1;
    int start = 1;
    for (int part = 1; part < N; ++part) {
        const int p = AnsiPosEx(Sep, S, start, CaseSensitive);
        if (p == 0)
            return QString();
        start = p + int(Sep.size());
    }
    const int p = AnsiPosEx(Sep, S, start, CaseSensitive);
    return p == 0 ? S.mid(start - 1) : S.mid(start - 1, p - start);
}

QString RemoveStrPart(QString& S, const QString& Sep, bool CaseSensitive)
{
    const int p = AnsiPosEx(Sep, S, 1, CaseSensitive);
    if (p == 0) {
        const QString all = S;
        S.clear();
        return all;
    }
    const QString head = S.left(p - 1);
    S = S.mid(p - 1 + Sep.size());
    return head;
}

QString FindStrFromTo(const QString& StartStr, const QString& EndStr, const QString& S, bool CaseSensitive, bool WithoutStart)
{
    const int a = AnsiPosEx(StartStr, S, 1, CaseSensitive);
    if (a == 0)
        return QString();
    const int b = AnsiPosEx(EndStr, S, a + int(StartStr.size()), CaseSensitive);
    if (b == 0)
        return QString();
    const int from = WithoutStart ? a + int(StartStr.size()) : a;
    return S.mid(from - 1, b - from);
}

QString ClearStr(const QString& SubStr, const QString& S, bool CaseSensitive)
{
    return ReplaceStr(SubStr, QString(), S, true, CaseSensitive);
}

QString ReplaceStr(const QString& OldStr, const QString& NewStr, const QString& S, bool All, bool CaseSensitive)
{
    if (OldStr.isEmpty())
        return S;
    QString r = S;
    int from = 1;
    for (;;) {
        const int p = AnsiPosEx(OldStr, r, from, CaseSensitive);
        if (p == 0)
            break;
        r.replace(p - 1, OldStr.size(), NewStr);
        // the search goes on behind the inserted text
        from = p + int(NewStr.size());
        if (!All)
            break;
    }
    return r;
}

QString ReplaceStrFromTo(const QString& StartStr, const QString& EndStr, const QString& NewStr, const QString& S,
                         bool IncludeEnd, bool All, bool CaseSensitive)
{
    QString r = S;
    int from = 1;
    for (;;) {
        const int a = AnsiPosEx(StartStr, r, from, CaseSensitive);
        if (a == 0)
            break;
        const int b = AnsiPosEx(EndStr, r, a + int(StartStr.size()), CaseSensitive);
        if (b == 0)
            break;
        const int end = IncludeEnd ? b - 1 + int(EndStr.size()) : b - 1;
        r.replace(a - 1, end - (a - 1), NewStr);
        from = a + int(NewStr.size());
        if (!All)
            break;
    }
    return r;
}

void AddToSepList(QString& List, const QString& Item, const QString& Sep)
{
    if (Trim(Item).isEmpty())
        return;
    if (!List.isEmpty())
        List += Sep;
    List += Item;
}

bool ContainWholeWord(const QString& Word, const QString& S, const QString& Separators, int Position)
{
    auto isSep = [&](QChar c) { return c.unicode() <= 255 && Separators.contains(c); };
    int from = Position > 0 ? Position : 1;
    for (;;) {
        const int p = AnsiPosEx(Word, S, from, false);
        if (p == 0 || (Position > 0 && p != Position))
            return false;
        const int after = p + int(Word.size());  // one-based position after the word
        const bool startOk = p == 1 || isSep(S[p - 2]);
        const bool endOk = after > S.size() || isSep(S[after - 1]);
        if (startOk && endOk)
            return true;
        if (Position > 0)
            return false;
        from = p + 1;
    }
}

// ---- dates ------------------------------------------------------------------------------

bool StrToDateEx(const QString& S, TDateTime& Value, TDateTime Default, TDateTime MinDate, TDateTime MaxDate)
{
    if (S.isEmpty())
        return false;
    QString s = S;
    const QChar sep = GetDateSeparator();
    if (s.endsWith(sep))
        s.chop(1);
    TDateTime result = Default;
    if (!s.contains(sep)) {
        for (QChar c : s)
            if (!c.isDigit())
                return false;
        int y = 0, m = 0, d = 0;
        DecodeDate(Date(), y, m, d);
        const int day = s.left(2).toInt();
        const int month = s.size() > 2 ? s.mid(2, 2).toInt() : m;
        int year = s.size() > 4 ? s.mid(4, 4).toInt() : y;
        if (year < 100)
            year += 2000;
        if (!TryEncodeDate(year, month, day, result))
            return false;
    } else {
        s.remove(QLatin1Char(' '));
        if (!TryStrToDate(s, result))
            result = Default;
    }
    if (MaxDate > 0 && result > MaxDate)
        result = MaxDate;
    if (MinDate > 0 && result < MinDate)
        result = MinDate;
    Value = result;
    return true;
}

QString DateTimeToFormattedStr(TDateTime Value, const QString& Format, bool TimeOnly)
{
    if (!Trim(Format).isEmpty())
        return FormatDateTime(Trim(Format), Value);
    if (TimeOnly)
        return TimeToStr(Value);
    return Value - std::floor(Value) != 0 ? DateTimeToStr(Value) : DateToStr(Value);
}

// ---- sorting ------------------------------------------------------------------------------

int SortNum(const QString& A, const QString& B)
{
    const QString a = CleanString(A, QStringLiteral(" ")), b = CleanString(B, QStringLiteral(" "));
    if (a.isEmpty())
        return -1;
    if (b.isEmpty())
        return 1;
    double x = 0, y = 0;
    if (!TryStrToFloat(a, x))
        x = -2147483648.0;
    if (!TryStrToFloat(b, y))
        y = -2147483648.0;
    return x < y ? -1 : x > y ? 1 : 0;
}

int SortDate(const QString& A, const QString& B)
{
    if (A.isEmpty())
        return -1;
    if (B.isEmpty())
        return 1;
    TDateTime x = 0, y = 0;
    if (!TryLocaleStrToDateTime(A, x))
        x = 0;
    if (!TryLocaleStrToDateTime(B, y))
        y = 0;
    return x < y ? -1 : x > y ? 1 : 0;
}
