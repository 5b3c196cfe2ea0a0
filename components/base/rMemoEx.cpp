#include "components/base/rMemoEx.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rDialogsEx.h"
#include "components/base/rEditMenu.h"
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/rtl/StringList.h"
#include "resources/ImprovedTexts.h"

namespace {

const QString WholeWordSeparators = QStringLiteral("\t\n\v\f\r ()-,./;=\\_");

QString Mark(const QString& M)
{
    return M == QLatin1String("#9") ? QStringLiteral("\t") : M;
}

}  // namespace

TrMemoEx::TrMemoEx(TComponent* AOwner) : TMemo(AOwner)
{
    FHighlightedFontColor = Font()->Color();
    FMenu = new TPopupMenu(this);
    FMenu->SetName(QStringLiteral("pmSearch"));
    DefineEditPopupMenuItems(FMenu, [this](TComponent* Sender) { MenuClick(Sender); });
    FMenu->OnPopup = [this](TComponent*) { MenuPopup(); };
    SetPopupMenu(FMenu);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

void TrMemoEx::Loaded()
{
    TMemo::Loaded();
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrMemoEx::Changed()
{
    Invalidate();
}

void TrMemoEx::SetHighlightWords(const QStringList& V)
{
    FHighlightWords = V;
    Changed();
}

void TrMemoEx::SetHighlightWholeWords(bool V)
{
    FHighlightWholeWords = V;
    Changed();
}

void TrMemoEx::SetHighlightFromStr(const QString& V)
{
    FHighlightFromStr = V;
    Changed();
}

void TrMemoEx::SetHighlightToStr(const QString& V)
{
    FHighlightToStr = V;
    Changed();
}

void TrMemoEx::SetHighlightedFontColor(TColor V)
{
    FHighlightedFontColor = V;
    Changed();
}

void TrMemoEx::SetHighlightedBrushColor(TColor V)
{
    FHighlightedBrushColor = V;
    Changed();
}

void TrMemoEx::SetHighlightFromToEx(const QStringList& V)
{
    FHighlightFromToEx = V;
    Changed();
}

void TrMemoEx::SetPageBreaksCharNumber(const QString& V)
{
    FPageBreaksCharNumber = V;
    Changed();
}

// ---- selection tracking -----------------------------------------------------------------------

void TrMemoEx::CheckProcSelectionChanged()
{
    const int start = SelStart(), length = SelLength();
    if ((start != FPrevSelStart || length != FPrevSelLength) && (length > 0 || FPrevSelLength > 0)) {
        FPrevSelStart = start;
        FPrevSelLength = length;
        Invalidate();
    }
}

void TrMemoEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMemo::MouseDown(Button, Shift, X, Y);
    CheckProcSelectionChanged();
}

void TrMemoEx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TMemo::MouseUp(Button, Shift, X, Y);
    CheckProcSelectionChanged();
}

void TrMemoEx::MouseMove(TShiftState Shift, int X, int Y)
{
    TMemo::MouseMove(Shift, X, Y);
    CheckProcSelectionChanged();
}

void TrMemoEx::KeyDown(Word& Key, TShiftState Shift)
{
    TMemo::KeyDown(Key, Shift);
    CheckProcSelectionChanged();
}

void TrMemoEx::KeyUp(Word& Key, TShiftState Shift)
{
    TMemo::KeyUp(Key, Shift);
    CheckProcSelectionChanged();
}

// ---- highlights -------------------------------------------------------------------------------------

TColor TrMemoEx::FontColorOf(const QString& Field) const
{
    if (Field.isEmpty())
        return FHighlightedFontColor;
    if (Field == QLatin1String("-"))
        return const_cast<TrMemoEx*>(this)->Font()->Color();
    return StringToColor(Field);
}

TColor TrMemoEx::BrushColorOf(const QString& Field) const
{
    if (Field.isEmpty())
        return FHighlightedBrushColor;
    if (Field == QLatin1String("-"))
        return clNone;
    return StringToColor(Field);
}

// A part that overlaps the selection gives only its pieces outside it, so the
// selection keeps its own colours.
void TrMemoEx::AddPart(std::vector<TPart>& Parts, int CharIndex, const QString& Text, TColor Font, TColor Brush) const
{
    QString t = Text;
    const int cr = int(t.indexOf(QLatin1Char('\r')));
    if (cr >= 0)
        t = t.left(cr);
    if (t.isEmpty())
        return;
    const int selStart = SelStart(), selEnd = selStart + SelLength();
    const int end = CharIndex + int(t.size());
    if (SelLength() == 0 || end <= selStart || CharIndex >= selEnd) {
        Parts.push_back({CharIndex, t, Font, Brush});
        return;
    }
    if (CharIndex < selStart)
        Parts.push_back({CharIndex, t.left(selStart - CharIndex), Font, Brush});
    if (end > selEnd)
        Parts.push_back({selEnd, t.mid(selEnd - CharIndex), Font, Brush});
}

void TrMemoEx::AddRanges(const std::vector<TLine>& Lines, QString From, QString To, TColor Font, TColor Brush,
                         std::vector<TPart>& Parts) const
{
    From = Mark(From).toUpper();
    const bool toEol = To == QLatin1String("#EOL#");
    To = Mark(To).toUpper();
    bool open = false;
    for (const TLine& line : Lines) {
        int pos = 0;
        if (open) {
            // the range goes on from the line's first character
            const int end = toEol ? -1 : int(line.Upper.indexOf(To));
            if (end < 0) {
                AddPart(Parts, line.Start, line.Text, Font, Brush);
                if (toEol)
                    open = false;
                continue;
            }
            AddPart(Parts, line.Start, line.Text.left(end + To.size()), Font, Brush);
            pos = end + int(To.size());
            open = false;
        }
        while (pos < line.Text.size()) {
            const int start = int(line.Upper.indexOf(From, pos));
            if (start < 0)
                break;
            const int end = toEol ? -1 : int(line.Upper.indexOf(To, start + From.size()));
            if (end < 0) {
                AddPart(Parts, line.Start + start, line.Text.mid(start), Font, Brush);
                open = !toEol;
                break;
            }
            AddPart(Parts, line.Start + start, line.Text.mid(start, end + To.size() - start), Font, Brush);
            pos = end + int(To.size());
        }
    }
}

std::vector<TrMemoEx::TPart> TrMemoEx::HighlightParts(int FirstLine, int LastLine)
{
    // 2.
    std::vector<TLine> lines;
    const QStringList all = Lines();
    for (int i = std::max(FirstLine, 0); i <= LastLine && i < all.size(); ++i)
        lines.push_back({LineIndex(i), all[i], all[i].toUpper()});
    std::vector<TPart> parts;
    // 4.
    if (!FHighlightFromStr.isEmpty() && !FHighlightToStr.isEmpty())
        AddRanges(lines, FHighlightFromStr, FHighlightToStr, FHighlightedFontColor, FHighlightedBrushColor, parts);
    // 5.
    for (const QString& entry : FHighlightFromToEx) {
        const QStringList f = entry.split(QLatin1Char('\t'));
        if (f.size() < 2 || f[0].isEmpty() || f[1].isEmpty())
            continue;
        AddRanges(lines, f[0], f[1], FontColorOf(f.value(2)), BrushColorOf(f.value(3)), parts);
    }
    // 6.
    for (const QString& entry : FHighlightWords) {
        const QStringList f = entry.split(QLatin1Char('\t'));
        const QString word = f.value(0).toUpper();
        if (word.isEmpty())
            continue;
        const TColor font = FontColorOf(f.value(1)), brush = BrushColorOf(f.value(2));
        for (const TLine& line : lines)
            for (int at = int(line.Upper.indexOf(word)); at >= 0; at = int(line.Upper.indexOf(word, at + word.size()))) {
                if (FHighlightWholeWords && !ContainWholeWord(word, line.Upper, WholeWordSeparators, at + 1))
                    continue;
                AddPart(parts, line.Start + at, line.Text.mid(at, word.size()), font, brush);
            }
    }
    return parts;
}

std::vector<int> TrMemoEx::PageBreakPositions(TCanvas* Canvas, int ClientWidth) const
{
    std::vector<int> r;
    for (const QString& part : FPageBreaksCharNumber.split(QLatin1Char(';'))) {
        if (part.trimmed().isEmpty())
            break;
        const int n = part.trimmed().toInt();
        if (n <= 0)
            continue;
        const int x = Canvas->TextWidth(QString(n, QLatin1Char('o')));
        if (x <= ClientWidth)
            r.push_back(x);
    }
    return r;
}

void TrMemoEx::PaintOverlay(TCanvas* Canvas)
{
    // 1.
    Canvas->Font()->Assign(*Font());
    const int lineHeight = Canvas->TextHeight(QStringLiteral("Wg"));
    const int clientHeight = ClientHeight();
    const int first = FirstVisibleLine();
    const int last = LineFromChar(CharFromPos({0, clientHeight - 1}));
    // 3.
    for (const TPart& p : HighlightParts(first, last)) {
        const TPoint pos = PosFromChar(p.CharIndex);
        if (pos.Y >= clientHeight - lineHeight)
            continue;
        Canvas->Font()->SetColor(p.FontColor);
        if (p.BrushColor == clNone)
            Canvas->Brush()->SetStyle(bsClear);
        else {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(p.BrushColor);
        }
        Canvas->TextOut(pos.X, pos.Y, p.Text);
    }
    Canvas->Brush()->SetStyle(bsSolid);
    // 7.
    Canvas->Font()->Assign(*Font());
    for (int x : PageBreakPositions(Canvas, ClientWidth())) {
        Canvas->Pen()->SetColor(GetStyleSystemColor(clBtnShadow));
        Canvas->MoveTo(x, 2);
        Canvas->LineTo(x, clientHeight);
        Canvas->Pen()->SetColor(GetStyleSystemColor(clBtnHighlight));
        Canvas->MoveTo(x + 1, 2);
        Canvas->LineTo(x + 1, clientHeight);
    }
}

// ---- search and menu ------------------------------------------------------------------------------------

bool TrMemoEx::SearchText(const QString& Search, bool FromStart, bool IgnoreCase)
{
    FSearchText = Search;
    FSearchIgnoreCase = IgnoreCase;
    if (FSearchText.isEmpty() && !InputStr(imptxt::Input, imptxt::Find, FSearchText))
        return false;
    if (FSearchText.isEmpty())
        return false;
    // Letter case is folded for every letter (ä, ö, å too), not only a to z.
    if (IgnoreCase)
        FSearchText = FSearchText.toUpper();
    const QString text = IgnoreCase ? Text().toUpper() : Text();
    const int from = FromStart ? 0 : SelStart() + SelLength();
    const int at = int(text.indexOf(FSearchText, from));
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

bool TrMemoEx::SearchNext()
{
    return SearchText(FSearchText, false, FSearchIgnoreCase);
}

void TrMemoEx::MenuPopup()
{
    redit::EnableEditItems(FMenu, this, !FSearchText.isEmpty(), OptionsEx & moAllowSetFont, OptionsEx & moAllowWordWrap,
                           OptionsEx & moAllowLoadSaveFile);
}

void TrMemoEx::MenuClick(TComponent* Sender)
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
    case 13:
        ShowSelectFontDialog(Font());
        break;
    case 21: {
        TrOpenDialog dlg(this);
        if (!dlg.Execute())
            break;
        try {
            TStringList lines;
            lines.LoadFromFile(dlg.FileName);
            SetText(lines.Text());
        } catch (const std::exception& e) {
            ShowErr(QString(), e, false);
        }
        break;
    }
    case 22: {
        TrSaveDialog dlg(this);
        if (!dlg.Execute())
            break;
        try {
            TStringList lines;
            lines.SetText(Text());
            lines.SaveToFile(dlg.FileName);
        } catch (const std::exception& e) {
            ShowErr(QString(), e, false);
        }
        break;
    }
    default:
        break;
    }
}
