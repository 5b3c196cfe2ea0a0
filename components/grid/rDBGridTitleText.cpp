// Rotated column titles: the text turned a quarter left and running
// upwards, cut into lines at the title's break points when it is longer than
// the title is high.

#include "components/grid/rDBGrid.h"

#include "components/base/rpictool.h"

void TrDBGrid::DrawRotatedTitle(const TRect& R, const QString& Text, TAlignment Alignment)
{
    TCanvas* c = Canvas();
    // 3-4. Lines as long as the title is high, at most 9.
    const int available = R.Height();
    const int lh = c->TextHeight(QStringLiteral("Wg"));
    QStringList lines;
    QString rest = Text;
    for (int i = 0; i < 9 && !rest.isEmpty(); ++i) {
        const QString before = rest;
        QString line = GetLine(rest, available, false).trimmed();
        if (rest == before)  // no break point: the rest is the line
            rest.clear();
        if (!line.isEmpty())
            lines << line;
    }
    if (lines.isEmpty())
        return;
    // 5. Upwards from the bottom, left to right, the block centred across.
    const TFont saved(*c->Font());
    FontGetRotated(c->Font(), 900);
    c->Brush()->SetStyle(bsClear);
    const int saveDC = c->SaveDC();
    c->IntersectClipRect(R);
    int x = std::max(R.Left + 1, R.Left + (R.Width() - int(lines.size()) * lh) / 2);
    for (const QString& line : lines) {
        const int w = c->TextWidth(line);
        int y = R.Bottom - 2;
        if (Alignment == taRightJustify)
            y = R.Top + w;
        else if (Alignment == taCenter)
            y = R.Bottom - (available - w) / 2;
        c->TextOut(x, y, line);
        x += lh;
    }
    c->RestoreDC(saveDC);
    c->Font()->Assign(saved);
}
