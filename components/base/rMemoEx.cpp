#include "components/base/rMemoEx.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rDialogsEx.h"
#include "components/base/rEditMenu.h"
#include "components/base/rdlg.h"
#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/rtl/StringList.h"
#include "resources/ImprovedTexts.h"

TrMemoEx::TrMemoEx(TComponent* AOwner) : TMemo(AOwner)
{
    FHL.FontColor = Font()->Color();
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

void TrMemoEx::Change()
{
    TMemo::Change();
    // the editor repaints only the edited line; a range mark typed there
    // changes the highlights of the lines below too
    Invalidate();
}

void TrMemoEx::SetHighlightWords(const QStringList& V)
{
    FHL.Words = V;
    Changed();
}

void TrMemoEx::SetHighlightWholeWords(bool V)
{
    FHL.WholeWords = V;
    Changed();
}

void TrMemoEx::SetHighlightFromStr(const QString& V)
{
    FHL.FromStr = V;
    Changed();
}

void TrMemoEx::SetHighlightToStr(const QString& V)
{
    FHL.ToStr = V;
    Changed();
}

void TrMemoEx::SetHighlightedFontColor(TColor V)
{
    FHL.FontColor = V;
    Changed();
}

void TrMemoEx::SetHighlightedBrushColor(TColor V)
{
    FHL.BrushColor = V;
    Changed();
}

void TrMemoEx::SetHighlightFromToEx(const QStringList& V)
{
    FHL.FromToEx = V;
    Changed();
}

void TrMemoEx::SetPageBreaksCharNumber(const QString& V)
{
    FHL.PageBreaksCharNumber = V;
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

std::vector<TrMemoEx::TPart> TrMemoEx::HighlightParts(int FirstLine, int LastLine)
{
    return FHL.Parts(this, FirstLine, LastLine);
}

std::vector<int> TrMemoEx::PageBreakPositions(TCanvas* Canvas, int ClientWidth) const
{
    return FHL.PageBreakPositions(Canvas, ClientWidth);
}

void TrMemoEx::PaintOverlay(TCanvas* Canvas)
{
    FHL.Paint(this, Canvas);
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
