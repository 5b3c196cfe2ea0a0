// The title line band above the column titles: its settings, its height in
// the title row and its drawing across the title cells.

#include "components/grid/rDBGridTitleLine.h"

#include "components/grid/rDBGrid.h"
#include "platform/database/DataSet.h"

void TTitleLineText::Changed()
{
    FGrid->LayoutChanged();
    FGrid->Invalidate();
}

void TTitleLineText::SetFixHeight(int V)
{
    FFixHeight = V < 4 ? 0 : V;
    Changed();
}

void TTitleLineText::SetText(const QString& V)
{
    FText = V;
    Changed();
}

void TTitleLineText::SetColor(TColor V)
{
    FColor = V;
    Changed();
}

void TTitleLineText::SetTextAlign(TAlignment V)
{
    FTextAlign = V;
    Changed();
}

QString TTitleLineText::GetLineText(int N) const
{
    return FText.split(QLatin1Char('|')).value(N);
}

int TTitleLineText::GetLineCount() const
{
    if (FText.isEmpty())
        return 0;
    const QStringList parts = FText.split(QLatin1Char('|'));
    int n = 0;
    while (n < parts.size() && !parts[n].isEmpty())
        ++n;
    return n;
}

int TTitleLineText::LineHeight() const
{
    TCanvas* c = FGrid->Canvas();
    const TFont saved(*c->Font());
    c->Font()->Assign(FParentFont ? *FGrid->Font() : FFont);
    const int h = c->TextHeight(QStringLiteral("Wg"));
    c->Font()->Assign(saved);
    return h;
}

int TTitleLineText::SumHeight() const
{
    const int n = GetLineCount();
    if (n == 0 || !(FGrid->Options() & dgTitles))
        return 0;
    return FFixHeight > 0 ? FFixHeight : n * LineHeight() + 1;
}

void TTitleLineText::Assign(const TTitleLineText& S)
{
    FFixHeight = S.FFixHeight;
    FText = S.FText;
    FColor = S.FColor;
    FTextAlign = S.FTextAlign;
    FFont.Assign(S.FFont);
    FParentFont = S.FParentFont;
    ShowDesignTime = S.ShowDesignTime;
    Changed();
}

// ---- drawing ----------------------------------------------------------------------------

void TrDBGrid::DrawTitleLineBand(const TRect& ARect, bool FirstColumn)
{
    TTitleLineText& tl = FTitleLineText;
    const int sum = tl.SumHeight();
    if (sum <= 0)
        return;
    TCanvas* c = Canvas();
    // 1. The band spans the title cells in view (fixed columns included).
    (void)FirstColumn;
    const TRect client = GridClientRect();
    if (UseRightToLeftAlignment()) {
        // Read from the right: from the indicator's left edge leftwards.
        tl.PosRight = IndicatorOffset() > 0 ? CellRect(0, 0).Left - 1 : client.Right;
        tl.PosLeft = tl.PosRight;
        for (int col = IndicatorOffset(); col < ColCount(); ++col)
            if (const TRect r = CellRect(col, 0); !r.IsEmpty())
                tl.PosLeft = std::min(tl.PosLeft, r.Left + 1);
        tl.PosLeft = std::max(tl.PosLeft, client.Left + 1);
    } else {
        tl.PosLeft = IndicatorOffset() > 0 ? CellRect(0, 0).Right + 1 : client.Left;
        tl.PosRight = tl.PosLeft;
        for (int col = IndicatorOffset(); col < ColCount(); ++col)
            tl.PosRight = std::max(tl.PosRight, CellRect(col, 0).Right);
        tl.PosRight = std::min(tl.PosRight, client.Right);
    }
    // 2-3. The band: the whole width is drawn each time, clipped to this cell.
    const TRect band = Rect(tl.PosLeft - 1, 0, tl.PosRight, sum - 1);
    const int saved = c->SaveDC();
    c->IntersectClipRect(Rect(ARect.Left, 0, ARect.Right + 1, sum));
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(tl.Color() != clNone ? tl.Color() : FixedColor());
    c->FillRect(Rect(ARect.Left, 0, ARect.Right + 1, sum));
    c->Font()->Assign(tl.ParentFont() ? *Font() : tl.Font());
    if (tl.ParentFont())
        c->Font()->SetColor(TitleFont()->Color());
    QString text = tl.Text();
    if (OnDrawTitleLine)
        OnDrawTitleLine(this, band, text);
    if (!text.isEmpty()) {
        // 4. The lines, spread evenly over the band.
        const QStringList parts = text.split(QLatin1Char('|'));
        int n = 0;
        while (n < parts.size() && !parts[n].isEmpty())
            ++n;
        const int lh = tl.LineHeight();
        const int whole = std::max(band.Right - band.Left, 0);
        c->Brush()->SetStyle(bsClear);
        for (int b = 1; b <= n; ++b) {
            QString line = parts[b - 1];
            if (line.contains(QStringLiteral("%d")) && IsActive())
                line.replace(QStringLiteral("%d"), QString::number(DataSet()->RecordCount()));
            const int w = c->TextWidth(line);
            const int y = b * ((band.Bottom - lh * n) / (n + 1)) + lh * (b - 1);
            int x = band.Left + 2;
            if (tl.TextAlign() == taCenter)
                x = band.Left + (whole - w) / 2;
            else if (tl.TextAlign() == taRightJustify)
                x = band.Right - w - 2;
            c->TextOut(x, y, line);
        }
        c->Brush()->SetStyle(bsSolid);
    }
    // 5. A grey line closes the band.
    c->Pen()->SetColor(clGray);
    c->MoveTo(ARect.Left, sum - 1);
    c->LineTo(ARect.Right + 1, sum - 1);
    c->RestoreDC(saved);
}
