#include "components/base/rRichEdit.h"

#include "components/base/rDialogsEx.h"
#include "components/base/rEditMenu.h"
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/rtl/FileUtils.h"
#include "resources/ImprovedTexts.h"

#include <QFile>
#include <memory>

namespace {

// Table indexes of the colour menu: black, red, maroon, purple, green, blue, aqua, grey, olive.
constexpr int cRichMenuPopupColorArr[9] = {0, 9, 1, 5, 2, 12, 14, 7, 3};

}  // namespace

TrRichEdit::TrRichEdit(TComponent* AOwner) : TRichEdit(AOwner)
{
    FMenu = new TPopupMenu(this);
    TNotifyEvent click = [this](TComponent* Sender) { MenuClick(Sender); };
    auto item = [&](TMenuItem* Parent, const QString& Caption, int Tag, const char* Keys) {
        TMenuItem* i = CreateMenuItem(FMenu, Caption, Keys ? TextToShortCut(QLatin1String(Keys)) : scNone, Tag, click);
        Parent->Add(i);
    };
    auto sub = [&](const QString& Caption) {
        TMenuItem* i = CreateMenuItem(FMenu, Caption, 0, nullptr);
        FMenu->Items()->Add(i);
        return i;
    };
    const QString line = QStringLiteral("-");
    TMenuItem* font = sub(imptxt::MenuFont);
    item(font, imptxt::MenuBold, 101, "Ctrl+B");
    item(font, imptxt::MenuItalic, 102, "Ctrl+I");
    item(font, imptxt::MenuUnderline, 103, "Ctrl+U");
    item(font, imptxt::MenuStrikeOut, 104, "Ctrl+Shift+S");
    item(font, line, 0, nullptr);
    item(font, imptxt::MenuSmaller, 111, "Ctrl+Shift+,");
    item(font, imptxt::MenuBigger, 112, "Ctrl+Shift+.");
    item(font, imptxt::MenuChangeFont + QStringLiteral("..."), 113, "Ctrl+Shift+F");
    TMenuItem* colors = sub(imptxt::MenuFontColor);
    for (int i = 0; i < 9; ++i) {
        const QByteArray keys = "Ctrl+Shift+" + QByteArray::number(i + 1);
        item(colors, GetColorName(cRichMenuPopupColorArr[i], true), 201 + i, keys.constData());
    }
    TMenuItem* para = sub(imptxt::MenuParagraph);
    item(para, imptxt::MenuDecreaseIndent, 301, "Ctrl+Shift+U");
    item(para, imptxt::MenuIncreaseIndent, 302, "Ctrl+Shift+I");
    item(para, line, 0, nullptr);
    item(para, imptxt::MenuAlignLeft, 311, "Ctrl+L");
    item(para, imptxt::MenuAlignCenter, 312, "Ctrl+E");
    item(para, imptxt::MenuAlignRight, 313, "Ctrl+R");
    item(para, line, 0, nullptr);
    item(para, imptxt::MenuBulletPoints, 321, "Ctrl+Shift+B");
    item(para, imptxt::MenuBulletNumbers, 322, "Ctrl+Shift+N");
    item(para, imptxt::MenuBulletLetters, 323, "Ctrl+Shift+L");
    FMenu->Items()->Add(CreateMenuItem(FMenu, line, 0, nullptr));
    DefineEditPopupMenuItems(FMenu, click);
    FMenu->OnPopup = [this](TComponent*) { MenuPopup(); };
    SetPopupMenu(FMenu);
}

void TrRichEdit::SetSupportURLLink(bool V)
{
    if (FSupportURLLink == V)
        return;
    FSupportURLLink = V;
    SetAutoURLDetect(V);
}

void TrRichEdit::MenuPopup()
{
    redit::EnableEditItems(FMenu, this, !FSearchText.isEmpty(), true, true, true);
    redit::ForEachItem(FMenu->Items(), [](TMenuItem* item) {
        if (item->Tag == 13)
            item->SetVisible(false);
    });
}

void TrRichEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TRichEdit::KeyDown(Key, Shift);
    const TShortCut sc = ShortCut(Key, Shift & (ssShift | ssCtrl | ssAlt));
    std::function<bool(TMenuItem*)> find = [&](TMenuItem* parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* it = parent->Items(i);
            if (it->ShortCut() == sc && sc != scNone && it->Tag >= 100) {
                MenuClick(it);
                return true;
            }
            if (find(it))
                return true;
        }
        return false;
    };
    if (find(FMenu->Items()))
        Key = 0;
}

void TrRichEdit::MenuClick(TComponent* Sender)
{
    const int tag = Sender->Tag;
    if (redit::RunEditCommand(this, tag))
        return;
    switch (tag) {
    case 11:
        SearchText(QString(), true, true);
        break;
    case 12:
        SearchNext();
        break;
    case 21: {
        TrOpenDialog dlg(this);
        if (!dlg.Execute())
            break;
        QFile f(dlg.FileName);
        if (!f.open(QIODevice::ReadOnly)) {
            ShowErr(QString(), EInOutError(ReplaceStr(QStringLiteral("%s"), dlg.FileName, imptxt::CannotOpenFile, true, true)), false);
            break;
        }
        SetRtfText(QString::fromUtf8(f.readAll()));
        break;
    }
    case 22: {
        TrSaveDialog dlg(this);
        if (!dlg.Execute())
            break;
        QFile f(dlg.FileName);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(GetRtfText().toUtf8()) < 0)
            ShowErr(QString(), EInOutError(ReplaceStr(QStringLiteral("%s"), dlg.FileName, imptxt::CannotOpenFile, true, true)), false);
        break;
    }
    case 101:
        SwitchFontStyle(fsBold);
        break;
    case 102:
        SwitchFontStyle(fsItalic);
        break;
    case 103:
        SwitchFontStyle(fsUnderline);
        break;
    case 104:
        SwitchFontStyle(fsStrikeOut);
        break;
    case 111:
        DecreaseFontSize(0);
        break;
    case 112:
        IncreaseFontSize(0);
        break;
    case 113:
        SelectFont();
        break;
    case 301:
        DecreaseIndent(10);
        break;
    case 302:
        IncreaseIndent(10);
        break;
    case 311:
        SetParaAlignment(taLeftJustify);
        break;
    case 312:
        SetParaAlignment(taCenter);
        break;
    case 313:
        SetParaAlignment(taRightJustify);
        break;
    case 321:
        SwitchBulletPoints();
        break;
    case 322:
        SwitchBulletNumbers();
        break;
    case 323:
        SwitchBulletLetters();
        break;
    default:
        if (tag >= 201 && tag <= 209)
            SetSelColor(GetColorValue(cRichMenuPopupColorArr[tag - 201]));
        break;
    }
}

void TrRichEdit::SwitchFontStyle(TFontStyles Style)
{
    const TFontStyles s = SelStyle();
    SetSelStyle(s & Style ? s & ~Style : s | Style);
}

bool TrRichEdit::IncreaseFontSize(int Step)
{
    const int size = SelFontSize();
    if (size >= 120)
        return false;
    SetSelFontSize(size + (Step == 0 ? size / 12 + 1 : Step));
    return true;
}

bool TrRichEdit::DecreaseFontSize(int Step)
{
    const int size = SelFontSize();
    if (size <= 5)
        return false;
    SetSelFontSize(size - (Step == 0 ? size / 12 + 1 : Step));
    return true;
}

bool TrRichEdit::SelectFont()
{
    TFont f;
    GetSelFont(f);
    if (!ShowSelectFontDialog(&f))
        return false;
    SetSelFont(f);
    return true;
}

bool TrRichEdit::IncreaseIndent(int Step)
{
    const int left = ParaLeftIndent();
    if (left >= 1200)
        return false;
    SetParaLeftIndent(left + Step);
    SetParaFirstIndent(left + Step);
    return true;
}

bool TrRichEdit::DecreaseIndent(int Step)
{
    const int left = ParaLeftIndent();
    if (std::max(left, ParaFirstIndent()) < 1)
        return false;
    SetParaLeftIndent(std::max(left - Step, 0));
    SetParaFirstIndent(std::max(left - Step, 0));
    return true;
}

int TrRichEdit::NumberingEx() const
{
    return int(ParaNumbering());
}

void TrRichEdit::SetNumberingEx(int N)
{
    if (N != 0) {
        if (std::min(ParaLeftIndent(), ParaFirstIndent()) < 10) {
            SetParaLeftIndent(10);
            SetParaFirstIndent(10);
        }
    } else {
        SetParaLeftIndent(0);
        SetParaFirstIndent(0);
    }
    SetParaNumbering(TNumberingStyle(std::clamp(N, 0, 3)));
}

bool TrRichEdit::SwitchNumbering(int N)
{
    const bool on = NumberingEx() != N;
    SetNumberingEx(on ? N : 0);
    return on;
}

bool TrRichEdit::SwitchBulletPoints()
{
    return SwitchNumbering(1);
}

bool TrRichEdit::SwitchBulletNumbers()
{
    return SwitchNumbering(2);
}

bool TrRichEdit::SwitchBulletLetters()
{
    return SwitchNumbering(3);
}

QString TrRichEdit::GetRtfText() const
{
    QString r = RtfText();
    r.remove(QChar(0));
    return r;
}

void TrRichEdit::SetRtfText(const QString& S)
{
    TRichEdit::SetRtfText(S);
}

void TrRichEdit::AddSelectText(const QString& Text)
{
    SetSelStart(TextLength());
    const int start = SelStart();
    SetSelText(Text);
    SetSelStart(start);
    SetSelLength(TextLength() - start);
}

void TrRichEdit::InsertSelectText(const QString& Text, bool ReplaceSelected, bool BeforeSelected)
{
    if (!ReplaceSelected)
        SetSelStart(BeforeSelected ? SelStart() : SelStart() + SelLength());
    const int start = SelStart();
    SetSelText(Text);
    const int inserted = SelStart() - start;
    SetSelStart(start);
    SetSelLength(inserted);
}

bool TrRichEdit::SearchText(const QString& Search, bool FromStart, bool IgnoreCase)
{
    FSearchText = Search;
    FSearchIgnoreCase = IgnoreCase;
    if (FSearchText.isEmpty() && !InputStr(imptxt::Input, imptxt::Find, FSearchText))
        return false;
    if (FSearchText.isEmpty())
        return false;
    // the next search starts right after the selection: a match that follows at
    // once ("abab", "ab") is found too
    const int from = FromStart ? 0 : SelStart() + SelLength();
    const int at = FindText(FSearchText, from, TextLength() - from, false);
    if (at < 0) {
        DlgI(imptxt::NotFound);
        return false;
    }
    SetSelStart(at);
    SetSelLength(int(FSearchText.size()));
    if (CanFocus())
        SetFocus();
    return true;
}

bool TrRichEdit::SearchNext()
{
    return SearchText(FSearchText, false, FSearchIgnoreCase);
}

void TrRichEdit::CalculateTextHeight(TRect& Rect)
{
    if (TextLength() == 0)
        return;
    Rect.Bottom = Rect.Top + ContentHeight(Rect.Width()) + 4;
}

void TrRichEdit::DrawToCanvas(const TRect& Rect, int OffsetX, int OffsetY, TCanvas* Canvas, bool ShowEllipsis)
{
    const int w = Rect.Width(), h = Rect.Height();
    if (w <= 0 || h <= 0)
        return;
    TBitmap bmp(w, h);
    bmp.Canvas()->Brush()->SetColor(Color());
    bmp.Canvas()->FillRect(::Rect(0, 0, w, h));
    RenderTo(bmp.Canvas(), ::Rect(0, 0, w, h), OffsetX, OffsetY);
    if (ShowEllipsis && TextLength() > 0 && ContentHeight(w) - OffsetY > h) {
        // three small squares mark that the text goes on
        bmp.Canvas()->Brush()->SetColor(Font()->Color());
        for (int x : {w - 20, w - 15, w - 10})
            bmp.Canvas()->FillRect(Bounds(x, h - 8, 3, 3));
    }
    DrawBmpCenter(Canvas, Rect, &bmp);
}
