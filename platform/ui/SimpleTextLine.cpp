#include "platform/ui/SimpleTextLine.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr unsigned Handled = DT_LEFT | DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr int TableChars = 0x250;  // Basic Latin to Latin Extended-B
constexpr size_t MaxFonts = 16;

struct GlyphTable {
    TFont Font;
    QRawFont Raw;
    int Ascent = 0;
    int LineHeight = 0;
    std::array<quint32, TableChars> Glyphs{};
    std::array<qreal, TableChars> Advances{};
    std::array<signed char, TableChars> Known{};  // 0 not looked up, 1 in the table, -1 not
};

bool SameFont(const TFont& A, const TFont& B) { return A == B && A.Pitch() == B.Pitch() && A.Quality() == B.Quality(); }

GlyphTable& TableFor(const TFont& F)
{
    thread_local std::vector<std::unique_ptr<GlyphTable>> tables;
    for (auto& t : tables)
        if (SameFont(t->Font, F))
            return *t;
    if (tables.size() >= MaxFonts)
        tables.erase(tables.begin());
    auto t = std::make_unique<GlyphTable>();
    t->Font.Assign(F);
    const QFont qf = F.ToQFont();
    t->Raw = QRawFont::fromFont(qf);
    const QFontMetrics fm(qf);
    t->Ascent = fm.ascent();
    t->LineHeight = fm.ascent() + fm.descent();
    tables.push_back(std::move(t));
    return *tables.back();
}

// The glyphs of Text and its width; false when a character is not in the table.
bool GlyphsOf(GlyphTable& T, const QString& Text, QList<quint32>& Glyphs, QList<QPointF>& Positions, qreal& Width)
{
    Glyphs.clear();
    Positions.clear();
    qreal x = 0;
    for (QChar ch : Text) {
        const char16_t u = ch.unicode();
        if (u < 0x20 || u >= TableChars)
            return false;
        if (T.Known[u] == 0) {
            const QList<quint32> g = T.Raw.glyphIndexesForString(QString(ch));
            T.Known[u] = g.size() == 1 && g[0] != 0 ? 1 : -1;
            if (T.Known[u] > 0) {
                T.Glyphs[u] = g[0];
                T.Advances[u] = T.Raw.advancesForGlyphIndexes(g).value(0).x();
            }
        }
        if (T.Known[u] < 0)
            return false;
        Glyphs.append(T.Glyphs[u]);
        Positions.append(QPointF(x, 0));
        x += T.Advances[u];
    }
    Width = x;
    return true;
}

}  // namespace

bool DrawSimpleTextLine(TCanvas* Canvas, const TRect& R, const QString& Text, unsigned Flags)
{
    QPainter* p = Canvas->Painter();
    if (!p || (Flags & ~Handled) || !(Flags & DT_SINGLELINE) || Canvas->Brush()->Style() != bsClear ||
        Canvas->Font()->Orientation() != 0 || (Canvas->Font()->Style() & (fsUnderline | fsStrikeOut)) || Text.isEmpty())
        return false;
    GlyphTable& t = TableFor(*Canvas->Font());
    if (!t.Raw.isValid())
        return false;
    thread_local QList<quint32> glyphs;
    thread_local QList<QPointF> positions;
    qreal width = 0;
    if (!GlyphsOf(t, Text, glyphs, positions, width))
        return false;
    if ((Flags & DT_END_ELLIPSIS) && int(std::ceil(width)) > R.Width()) {
        // As DrawText: characters go from the end until the rest and "..." fit.
        thread_local QList<quint32> dotGlyphs;
        thread_local QList<QPointF> dotPositions;
        qreal dotsWidth = 0;
        if (!GlyphsOf(t, QStringLiteral("..."), dotGlyphs, dotPositions, dotsWidth))
            return false;
        while (!glyphs.isEmpty() && std::ceil(width + dotsWidth) > R.Width()) {
            width = positions.last().x();
            glyphs.removeLast();
            positions.removeLast();
        }
        for (int i = 0; i < 3; ++i) {
            glyphs.append(dotGlyphs[i]);
            positions.append(QPointF(width + dotPositions[i].x(), 0));
        }
        width += dotsWidth;
    }
    const int w = int(std::ceil(width));
    const int x = (Flags & DT_RIGHT) ? R.Right - w : (Flags & DT_CENTER) ? R.Left + (R.Width() - w) / 2 : R.Left;
    const int top = (Flags & DT_VCENTER) ? R.Top + (R.Height() - t.LineHeight) / 2 : R.Top;
    QGlyphRun run;
    run.setRawFont(t.Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    p->save();
    p->setPen(ToQColor(Canvas->Font()->Color()));
    if (w > R.Width() || t.LineHeight > R.Height())
        p->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()), Qt::IntersectClip);
    p->drawGlyphRun(QPointF(x, top + t.Ascent), run);
    p->restore();
    return true;
}
