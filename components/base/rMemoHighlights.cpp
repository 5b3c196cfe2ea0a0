#include "components/base/rMemoHighlights.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "platform/ui/StdCtrls.h"

namespace {

const QString WholeWordSeparators = QStringLiteral("\t\n\v\f\r ()-,./;=\\_");

QString Mark(const QString& M)
{
    return M == QLatin1String("#9") ? QStringLiteral("\t") : M;
}

struct TLine {
    int Start;
    QString Text;
    QString Upper;
};

using TPart = TMemoHighlights::TPart;

// The parts of one search, collected against the memo's selection.
class TCollector {
public:
    TCollector(const TMemo* Memo, std::vector<TPart>& Parts) : FSelStart(Memo->SelStart()), FSelLength(Memo->SelLength()), FParts(Parts) {}

    // A part that overlaps the selection gives only its pieces outside it,
    // so the selection keeps its own colours.
    void Add(int CharIndex, const QString& Text, TColor Font, TColor Brush) const
    {
        QString t = Text;
        const int cr = int(t.indexOf(QLatin1Char('\r')));
        if (cr >= 0)
            t = t.left(cr);
        if (t.isEmpty())
            return;
        const int selEnd = FSelStart + FSelLength;
        const int end = CharIndex + int(t.size());
        if (FSelLength == 0 || end <= FSelStart || CharIndex >= selEnd) {
            FParts.push_back({CharIndex, t, Font, Brush});
            return;
        }
        if (CharIndex < FSelStart)
            FParts.push_back({CharIndex, t.left(FSelStart - CharIndex), Font, Brush});
        if (end > selEnd)
            FParts.push_back({selEnd, t.mid(selEnd - CharIndex), Font, Brush});
    }

    void AddRanges(const std::vector<TLine>& Lines, QString From, QString To, TColor Font, TColor Brush) const
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
                    Add(line.Start, line.Text, Font, Brush);
                    if (toEol)
                        open = false;
                    continue;
                }
                Add(line.Start, line.Text.left(end + To.size()), Font, Brush);
                pos = end + int(To.size());
                open = false;
            }
            while (pos < line.Text.size()) {
                const int start = int(line.Upper.indexOf(From, pos));
                if (start < 0)
                    break;
                const int end = toEol ? -1 : int(line.Upper.indexOf(To, start + From.size()));
                if (end < 0) {
                    Add(line.Start + start, line.Text.mid(start), Font, Brush);
                    open = !toEol;
                    break;
                }
                Add(line.Start + start, line.Text.mid(start, end + To.size() - start), Font, Brush);
                pos = end + int(To.size());
            }
        }
    }

private:
    int FSelStart, FSelLength;
    std::vector<TPart>& FParts;
};

}  // namespace

std::vector<TPart> TMemoHighlights::Parts(const TMemo* Memo, int FirstLine, int LastLine) const
{
    std::vector<TLine> lines;
    const QStringList all = Memo->Lines();
    for (int i = std::max(FirstLine, 0); i <= LastLine && i < all.size(); ++i)
        lines.push_back({Memo->LineIndex(i), all[i], all[i].toUpper()});
    const TColor memoFont = const_cast<TMemo*>(Memo)->Font()->Color();
    const auto fontOf = [&](const QString& F) { return F.isEmpty() ? FontColor : F == QLatin1String("-") ? memoFont : StringToColor(F); };
    const auto brushOf = [&](const QString& F) { return F.isEmpty() ? BrushColor : F == QLatin1String("-") ? clNone : StringToColor(F); };
    std::vector<TPart> parts;
    const TCollector collect(Memo, parts);
    if (!FromStr.isEmpty() && !ToStr.isEmpty())
        collect.AddRanges(lines, FromStr, ToStr, FontColor, BrushColor);
    for (const QString& entry : FromToEx) {
        const QStringList f = entry.split(QLatin1Char('\t'));
        if (f.size() < 2 || f[0].isEmpty() || f[1].isEmpty())
            continue;
        collect.AddRanges(lines, f[0], f[1], fontOf(f.value(2)), brushOf(f.value(3)));
    }
    for (const QString& entry : Words) {
        const QStringList f = entry.split(QLatin1Char('\t'));
        const QString word = f.value(0).toUpper();
        if (word.isEmpty())
            continue;
        const TColor font = fontOf(f.value(1)), brush = brushOf(f.value(2));
        // Overlapping occurrences count: the next search starts one after.
        for (const TLine& line : lines)
            for (int at = int(line.Upper.indexOf(word)); at >= 0; at = int(line.Upper.indexOf(word, at + 1))) {
                if (WholeWords && !ContainWholeWord(word, line.Upper, WholeWordSeparators, at + 1))
                    continue;
                collect.Add(line.Start + at, line.Text.mid(at, word.size()), font, brush);
            }
    }
    return parts;
}

std::vector<int> TMemoHighlights::PageBreakPositions(TCanvas* Canvas, int ClientWidth) const
{
    std::vector<int> r;
    for (const QString& part : PageBreaksCharNumber.split(QLatin1Char(';'))) {
        if (part.trimmed().isEmpty())
            break;
        const int n = part.trimmed().toInt();
        if (n <= 0)
            continue;
        const int x = Canvas->TextWidth(QString(n, QLatin1Char('o')));
        if (x < ClientWidth || (PageBreakOnEdge && x == ClientWidth))
            r.push_back(x);
    }
    return r;
}

void TMemoHighlights::Paint(TMemo* Memo, TCanvas* Canvas) const
{
    Canvas->Font()->Assign(*Memo->Font());
    const int lineHeight = Canvas->TextHeight(QStringLiteral("Wg"));
    const int clientHeight = Memo->ClientHeight();
    const int first = Memo->FirstVisibleLine();
    const int last = Memo->LineFromChar(Memo->CharFromPos({0, clientHeight - 1}));
    for (const TPart& p : Parts(Memo, first, last)) {
        const TPoint pos = Memo->PosFromChar(p.CharIndex);
        if (pos.Y >= clientHeight - lineHeight)
            continue;
        Canvas->Font()->SetColor(p.FontColor);
        if (p.BrushColor == clNone) {
            Canvas->Brush()->SetStyle(bsClear);
        } else {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(p.BrushColor);
        }
        Canvas->TextOut(pos.X, pos.Y, p.Text);
    }
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Font()->Assign(*Memo->Font());
    for (int x : PageBreakPositions(Canvas, Memo->ClientWidth())) {
        Canvas->Pen()->SetColor(GetStyleSystemColor(clBtnShadow));
        Canvas->MoveTo(x, 2);
        Canvas->LineTo(x, clientHeight);
        Canvas->Pen()->SetColor(GetStyleSystemColor(clBtnHighlight));
        Canvas->MoveTo(x + 1, 2);
        Canvas->LineTo(x + 1, clientHeight);
    }
}
