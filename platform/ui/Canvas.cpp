// The canvas: classic drawing rules over QPainter.
#include "platform/ui/Graphics.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cmath>

namespace {

QRect ToQRect(const TRect& R)
{
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

// Dash patterns of one-pixel pens, in pixels on/off.
const std::vector<int>& DashPattern(TPenStyle S)
{
    static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3}, solid{};
    switch (S) {
    case psDash:
        return dash;
    case psDot:
        return dot;
    case psDashDot:
        return dashDot;
    case psDashDotDot:
        return dashDotDot;
    default:
        return solid;
    }
}

QPainter::CompositionMode ModeFor(TPenMode M)
{
    switch (M) {
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle S)
{
    switch (S) {
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    case bsClear:
        return Qt::NoBrush;
    default:
        return Qt::SolidPattern;
    }
}

}  // namespace

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

void TCanvas::BeginPaint(QPainter* Painter, const TRect& Bounds)
{
    FPainter = Painter;
    FDeviceRect = Bounds;
    FOrigin = {};
    FSaveDepth = 0;
    FSavedOrigins.clear();
    if (FPainter) {
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, true);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
}

void TCanvas::EndPaint()
{
    while (FSaveDepth > 0 && FPainter) {
        FPainter->restore();
        --FSaveDepth;
    }
    FPainter = nullptr;
}

void TCanvas::ApplyPen() const
{
    QPen pen(ToQColor(FPen.Color()));
    pen.setWidth(FPen.Width());
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (FPen.Style() == psClear)
        pen.setStyle(Qt::NoPen);
    FPainter->setPen(pen);
    FPainter->setCompositionMode(ModeFor(FPen.Mode()));
}

void TCanvas::ApplyBrush() const
{
    if (FBrush.Bitmap() && !FBrush.Bitmap()->Empty()) {
        FPainter->setBrush(QBrush(FBrush.Bitmap()->Image()));
        return;
    }
    FPainter->setBrush(QBrush(ToQColor(FBrush.Color()), QtBrushStyle(FBrush.Style())));
}

void TCanvas::ApplyFont() const
{
    FPainter->setFont(FFont.ToQFont());
    FPainter->setPen(ToQColor(FFont.Color()));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- lines ---------------------------------------------------------------------

void TCanvas::PlotLine(int X1, int Y1, int X2, int Y2)
{
    RequireSurface();
    if (!FPainter || FPen.Style() == psClear)
        return;
    if (FPen.Width() > 1) {
        ApplyPen();
        FPainter->drawLine(X1, Y1, X2, Y2);
        return;
    }
    // one-pixel pens walk the line themselves so the end point stays out
    const std::vector<int>& pattern = DashPattern(FPen.Style());
    QPolygon points;
    int dx = std::abs(X2 - X1), sx = X1 < X2 ? 1 : -1;
    int dy = -std::abs(Y2 - Y1), sy = Y1 < Y2 ? 1 : -1;
    int err = dx + dy, x = X1, y = Y1;
    size_t seg = 0;
    int segLeft = pattern.empty() ? 0 : pattern[0];
    while (!(x == X2 && y == Y2)) {
        if (pattern.empty() || seg % 2 == 0)
            points << QPoint(x, y);
        if (!pattern.empty() && --segLeft == 0) {
            seg = (seg + 1) % pattern.size();
            segLeft = pattern[seg];
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    if (points.isEmpty())
        return;
    QPen pen(ToQColor(FPen.Color()));
    pen.setWidth(1);
    FPainter->setPen(pen);
    FPainter->setCompositionMode(ModeFor(FPen.Mode()));
    FPainter->drawPoints(points);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::LineTo(int X, int Y)
{
    PlotLine(FPenPos.X, FPenPos.Y, X, Y);
    FPenPos = {X, Y};
}

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    for (size_t i = 1; i < Points.size(); ++i)
        PlotLine(Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y);
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    RequireSurface();
    if (!FPainter || Points.size() < 2)
        return;
    QPolygon poly;
    for (const TPoint& p : Points)
        poly << QPoint(p.X, p.Y);
    if (FBrush.Style() != bsClear) {
        FPainter->setPen(Qt::NoPen);
        ApplyBrush();
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        FPainter->drawPolygon(poly);
    }
    Polyline(Points);
    PlotLine(Points.back().X, Points.back().Y, Points.front().X, Points.front().Y);
    // the closing corner itself
    if (FPen.Style() != psClear && FPen.Width() == 1) {
        FPainter->setPen(ToQColor(FPen.Color()));
        FPainter->drawPoint(Points.front().X, Points.front().Y);
    }
}

// ---- areas -----------------------------------------------------------------------

void TCanvas::FillRect(const TRect& R)
{
    RequireSurface();
    if (!FPainter || R.IsEmpty() || FBrush.Style() == bsClear)
        return;
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (FBrush.Style() == bsSolid && !FBrush.Bitmap()) {
        FPainter->fillRect(ToQRect(R), ToQColor(FBrush.Color()));
        return;
    }
    FPainter->setPen(Qt::NoPen);
    ApplyBrush();
    FPainter->drawRect(ToQRect(R));
}

void TCanvas::FrameRect(const TRect& R)
{
    RequireSurface();
    if (!FPainter || R.IsEmpty())
        return;
    const QColor c = ToQColor(FBrush.Color());
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->fillRect(R.Left, R.Top, R.Width(), 1, c);
    FPainter->fillRect(R.Left, R.Bottom - 1, R.Width(), 1, c);
    FPainter->fillRect(R.Left, R.Top, 1, R.Height(), c);
    FPainter->fillRect(R.Right - 1, R.Top, 1, R.Height(), c);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    RequireSurface();
    if (!FPainter)
        return;
    if (X2 < X1)
        std::swap(X1, X2);
    if (Y2 < Y1)
        std::swap(Y1, Y2);
    if (FPen.Style() == psClear) {
        // without a pen the filled area is one pixel smaller on the right and bottom
        FillRect(Rect(X1, Y1, X2 - 1, Y2 - 1));
        return;
    }
    const int w = FPen.Width();
    FillRect(Rect(X1 + w, Y1 + w, X2 - w, Y2 - w));
    if (FPen.Style() == psSolid || FPen.Style() == psInsideFrame || w > 1) {
        const QColor c = ToQColor(FPen.Color());
        FPainter->setCompositionMode(ModeFor(FPen.Mode()));
        FPainter->fillRect(X1, Y1, X2 - X1, w, c);
        FPainter->fillRect(X1, Y2 - w, X2 - X1, w, c);
        FPainter->fillRect(X1, Y1, w, Y2 - Y1, c);
        FPainter->fillRect(X2 - w, Y1, w, Y2 - Y1, c);
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        Polygon({{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}});
    }
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    RequireSurface();
    if (!FPainter)
        return;
    ApplyPen();
    ApplyBrush();
    FPainter->drawRoundedRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1), X3 / 2.0, Y3 / 2.0);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    RequireSurface();
    if (!FPainter)
        return;
    ApplyPen();
    ApplyBrush();
    FPainter->drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
}

namespace {

// Angle of the radial through (X, Y) from the centre of the box, in 1/16 degrees.
int AngleOf(const QRectF& box, int X, int Y)
{
    const double a = std::atan2(-(Y - box.center().y()), X - box.center().x()) * 180.0 / M_PI;
    return int(std::lround(a * 16));
}

}  // namespace

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    RequireSurface();
    if (!FPainter)
        return;
    ApplyPen();
    ApplyBrush();
    const QRectF box(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    const int a1 = AngleOf(box, X3, Y3), a2 = AngleOf(box, X4, Y4);
    int span = a2 - a1;
    if (span <= 0)
        span += 360 * 16;
    FPainter->drawPie(box, a1, span);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    RequireSurface();
    if (!FPainter)
        return;
    ApplyPen();
    const QRectF box(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1);
    const int a1 = AngleOf(box, X3, Y3), a2 = AngleOf(box, X4, Y4);
    int span = a2 - a1;
    if (span <= 0)
        span += 360 * 16;
    FPainter->drawArc(box, a1, span);
}

void TCanvas::DrawFocusRect(const TRect& R)
{
    RequireSurface();
    if (!FPainter || R.IsEmpty())
        return;
    // every other pixel of the frame inverted, so drawing it twice removes it
    QPolygon points;
    for (int x = R.Left; x < R.Right; x += 2) {
        points << QPoint(x, R.Top);
        if (R.Height() > 1 && ((x - R.Left) + (R.Height() - 1)) % 2 == 0)
            points << QPoint(x, R.Bottom - 1);
    }
    if (R.Height() > 1 && (R.Height() - 1) % 2 == 1)
        for (int x = R.Left + 1; x < R.Right; x += 2)
            points << QPoint(x, R.Bottom - 1);
    for (int y = R.Top + 2; y < R.Bottom - 1; y += 2) {
        points << QPoint(R.Left, y);
        if (R.Width() > 1 && ((R.Width() - 1) % 2 == 0))
            points << QPoint(R.Right - 1, y);
    }
    if (R.Width() > 1 && (R.Width() - 1) % 2 == 1)
        for (int y = R.Top + 1; y < R.Bottom - 1; y += 2)
            points << QPoint(R.Right - 1, y);
    FPainter->setPen(QColor(255, 255, 255));
    FPainter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    FPainter->drawPoints(points);
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

TColor TCanvas::Pixel(int X, int Y) const
{
    RequireSurface();
    if (!FPainter || FPainter->device()->devType() != QInternal::Image)
        return clNone;
    const QImage* img = static_cast<const QImage*>(FPainter->device());
    const QPoint p = FPainter->transform().map(QPoint(X, Y));
    if (!img->rect().contains(p))
        return clNone;
    return FromQColor(QColor::fromRgb(img->pixel(p)));
}

void TCanvas::SetPixel(int X, int Y, TColor Color)
{
    RequireSurface();
    if (!FPainter)
        return;
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->fillRect(X, Y, 1, 1, ToQColor(Color));
}

// ---- text ------------------------------------------------------------------------

int TCanvas::TextWidth(const QString& Text) const
{
    return QFontMetrics(FFont.ToQFont()).horizontalAdvance(Text);
}

int TCanvas::TextHeight(const QString&) const
{
    const QFontMetrics fm(FFont.ToQFont());
    return fm.ascent() + fm.descent();
}

TSize TCanvas::TextExtent(const QString& Text) const
{
    return {TextWidth(Text), TextHeight(Text)};
}

TTextMetric TCanvas::TextMetrics() const
{
    const QFontMetrics fm(FFont.ToQFont());
    TTextMetric tm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    tm.tmInternalLeading = std::max(0, tm.tmHeight - FFont.ToQFont().pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    tm.tmMaxCharWidth = fm.maxWidth();
    return tm;
}

void TCanvas::TextOut(int X, int Y, const QString& Text)
{
    RequireSurface();
    const int w = TextWidth(Text);
    if (FPainter) {
        const QFontMetrics fm(FFont.ToQFont());
        if (FFont.Orientation() != 0) {
            FPainter->save();
            FPainter->translate(X, Y);
            FPainter->rotate(-FFont.Orientation() / 10.0);
            if (FBrush.Style() == bsSolid)
                FPainter->fillRect(0, 0, w, fm.ascent() + fm.descent(), ToQColor(FBrush.Color()));
            ApplyFont();
            FPainter->drawText(0, fm.ascent(), Text);
            FPainter->restore();
        } else {
            if (FBrush.Style() == bsSolid)
                FPainter->fillRect(X, Y, w, fm.ascent() + fm.descent(), ToQColor(FBrush.Color()));
            ApplyFont();
            FPainter->drawText(X, Y + fm.ascent(), Text);
        }
    }
    FPenPos = {X + w, Y};
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const QString& Text)
{
    RequireSurface();
    if (!FPainter)
        return;
    FPainter->save();
    FPainter->setClipRect(ToQRect(R), Qt::IntersectClip);
    if (FBrush.Style() == bsSolid)
        FPainter->fillRect(ToQRect(R), ToQColor(FBrush.Color()));
    const QFontMetrics fm(FFont.ToQFont());
    ApplyFont();
    FPainter->drawText(X, Y + fm.ascent(), Text);
    FPainter->restore();
}

namespace {

struct TextLine {
    int Start = 0;  // index into the prepared text
    int End = 0;    // exclusive
    QString Shown;  // what is drawn (may carry an ellipsis)
    int Underline = -1;  // index in Shown of the prefix-marked character
};

}  // namespace

int TCanvas::DrawText(const QString& Text, TRect& R, unsigned Flags)
{
    const QFont font = FFont.ToQFont();
    const QFontMetrics fm(font);
    const int lineHeight = fm.ascent() + fm.descent() + ((Flags & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    const int tabWidth = 8 * std::max(1, fm.horizontalAdvance(QLatin1Char('x')));

    // 1. accelerator prefixes: "&x" underlines x, "&&" is one ampersand
    QString s;
    std::vector<bool> marked;
    s.reserve(Text.size());
    for (int i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (!(Flags & DT_NOPREFIX) && c == QLatin1Char('&')) {
            if (i + 1 < Text.size()) {
                ++i;
                s += Text[i];
                marked.push_back(Text[i] != QLatin1Char('&') && !(Flags & DT_HIDEPREFIX));
            }
            continue;
        }
        s += c;
        marked.push_back(false);
    }

    auto widthOf = [&](const QString& t) {
        if (!(Flags & DT_EXPANDTABS) || !t.contains(QLatin1Char('\t')))
            return fm.horizontalAdvance(t);
        int x = 0, from = 0;
        for (int i = 0; i <= t.size(); ++i)
            if (i == t.size() || t[i] == QLatin1Char('\t')) {
                x += fm.horizontalAdvance(t.mid(from, i - from));
                if (i < t.size())
                    x = (x / tabWidth + 1) * tabWidth;
                from = i + 1;
            }
        return x;
    };

    // 2. hard lines, then word wrapping inside the rectangle's width
    std::vector<TextLine> lines;
    auto addLine = [&](int a, int b) {
        TextLine l;
        l.Start = a;
        l.End = b;
        l.Shown = s.mid(a, b - a);
        for (int k = a; k < b; ++k)
            if (marked[size_t(k)])
                l.Underline = k - a;
        lines.push_back(l);
    };
    const int maxWidth = R.Width();
    auto wrapSegment = [&](int a, int b) {
        if (!(Flags & DT_WORDBREAK) || (Flags & DT_SINGLELINE) || widthOf(s.mid(a, b - a)) <= maxWidth) {
            addLine(a, b);
            return;
        }
        int lineStart = a;
        while (lineStart < b) {
            int lastFit = -1;  // end of the last word that fits
            int i = lineStart;
            while (i < b) {
                int wordEnd = i;
                while (wordEnd < b && s[wordEnd] != QLatin1Char(' ') && s[wordEnd] != QLatin1Char('\t'))
                    ++wordEnd;
                if (widthOf(s.mid(lineStart, wordEnd - lineStart)) > maxWidth && lastFit >= 0)
                    break;
                lastFit = wordEnd;
                i = wordEnd;
                while (i < b && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
                    ++i;
                if (widthOf(s.mid(lineStart, lastFit - lineStart)) > maxWidth)
                    break;  // a single word wider than the rectangle stands alone
            }
            addLine(lineStart, lastFit);
            // blanks at the break belong to no line
            int next = lastFit;
            while (next < b && (s[next] == QLatin1Char(' ') || s[next] == QLatin1Char('\t')))
                ++next;
            lineStart = next;
        }
    };
    if (Flags & DT_SINGLELINE) {
        QString joined;
        std::vector<bool> m2;
        for (int i = 0; i < s.size(); ++i)
            if (s[i] != QLatin1Char('\r') && s[i] != QLatin1Char('\n')) {
                joined += s[i];
                m2.push_back(marked[size_t(i)]);
            }
        s = joined;
        marked = m2;
        addLine(0, int(s.size()));
    } else {
        int a = 0;
        for (int i = 0; i <= s.size(); ++i) {
            if (i == s.size() || s[i] == QLatin1Char('\r') || s[i] == QLatin1Char('\n')) {
                wrapSegment(a, i);
                if (i < s.size() && s[i] == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n'))
                    ++i;
                a = i + 1;
            }
        }
        if (lines.empty())
            addLine(0, 0);
    }

    // 3. ellipses for lines wider than the rectangle
    if (!(Flags & DT_CALCRECT) && (Flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))) {
        const QString dots = QStringLiteral("...");
        for (TextLine& l : lines) {
            if (widthOf(l.Shown) <= maxWidth)
                continue;
            const int sep = std::max(l.Shown.lastIndexOf(QLatin1Char('\\')), l.Shown.lastIndexOf(QLatin1Char('/')));
            if ((Flags & DT_PATH_ELLIPSIS) && sep > 0) {
                QString head = l.Shown.left(sep);
                const QString tail = l.Shown.mid(sep);
                while (!head.isEmpty() && widthOf(head + dots + tail) > maxWidth)
                    head.chop(1);
                if (widthOf(head + dots + tail) <= maxWidth) {
                    l.Shown = head + dots + tail;
                    l.Underline = -1;
                    continue;
                }
            }
            QString head = l.Shown;
            while (!head.isEmpty() && widthOf(head + dots) > maxWidth)
                head.chop(1);
            if (l.Underline >= head.size())
                l.Underline = -1;
            l.Shown = head + dots;
        }
    }

    int widest = 0;
    for (const TextLine& l : lines)
        widest = std::max(widest, widthOf(l.Shown));
    const int total = lineHeight * int(lines.size());

    if (Flags & DT_CALCRECT) {
        R.Right = R.Left + widest;
        R.Bottom = R.Top + total;
        return total;
    }

    int y = R.Top;
    if (Flags & DT_SINGLELINE) {
        if (Flags & DT_VCENTER)
            y = R.Top + (R.Height() - lineHeight) / 2;
        else if (Flags & DT_BOTTOM)
            y = R.Bottom - lineHeight;
    }
    const int result = (y - R.Top) + total;

    RequireSurface();
    if (!FPainter)
        return result;
    FPainter->save();
    if (!(Flags & DT_NOCLIP))
        FPainter->setClipRect(ToQRect(R), Qt::IntersectClip);
    QFont underlined = font;
    underlined.setUnderline(true);
    const QColor textColor = ToQColor(FFont.Color());
    const bool rtl = (Flags & DT_RTLREADING) != 0;
    FPainter->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
    for (const TextLine& l : lines) {
        const int w = widthOf(l.Shown);
        int x = R.Left;
        if (Flags & DT_CENTER)
            x = R.Left + (R.Width() - w) / 2;
        else if (Flags & DT_RIGHT)
            x = R.Right - w;
        if (FBrush.Style() == bsSolid && w > 0)
            FPainter->fillRect(x, y, w, lineHeight, ToQColor(FBrush.Color()));
        FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        FPainter->setPen(textColor);
        // draw piece by piece so tabs land on their stops and the marked letter is underlined
        int px = x, from = 0;
        const QString& t = l.Shown;
        for (int i = 0; i <= t.size(); ++i) {
            const bool tab = i < t.size() && t[i] == QLatin1Char('\t');
            if (i == t.size() || tab) {
                QString piece = t.mid(from, i - from);
                if (rtl) {
                    // right-to-left reading: the pieces run from the line's right end leftwards
                    const int pw = fm.horizontalAdvance(piece);
                    const int rx = x + w - (px - x) - pw;
                    FPainter->setFont(font);
                    FPainter->drawText(rx, y + fm.ascent(), piece);
                    if (l.Underline >= from && l.Underline < i) {
                        const int u = l.Underline - from;
                        const int ux = rx + fm.horizontalAdvance(piece.left(u));
                        const int uy = y + fm.ascent() + std::max(1, fm.underlinePos());
                        FPainter->fillRect(ux, uy, fm.horizontalAdvance(piece.mid(u, 1)), std::max(1, fm.lineWidth()), textColor);
                    }
                } else if (l.Underline >= from && l.Underline < i) {
                    const int u = l.Underline - from;
                    FPainter->setFont(font);
                    FPainter->drawText(px, y + fm.ascent(), piece.left(u));
                    const int ux = px + fm.horizontalAdvance(piece.left(u));
                    FPainter->setFont(underlined);
                    FPainter->drawText(ux, y + fm.ascent(), piece.mid(u, 1));
                    FPainter->setFont(font);
                    FPainter->drawText(ux + fm.horizontalAdvance(piece.mid(u, 1)), y + fm.ascent(), piece.mid(u + 1));
                } else {
                    FPainter->setFont(font);
                    FPainter->drawText(px, y + fm.ascent(), piece);
                }
                px += fm.horizontalAdvance(piece);
                if (tab) {
                    if (Flags & DT_EXPANDTABS)
                        px = x + ((px - x) / tabWidth + 1) * tabWidth;
                }
                from = i + 1;
            }
        }
        y += lineHeight;
    }
    FPainter->restore();
    return result;
}

// ---- pictures, copies, gradients ----------------------------------------------------

void TCanvas::Draw(int X, int Y, const TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& R, const TGraphic* Graphic)
{
    if (Graphic && !Graphic->Empty())
        Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect)
{
    RequireSurface();
    if (!FPainter || !Source)
        return;
    Source->RequireSurface();
    QPainter* sp = Source->Painter();
    if (!sp || sp->device()->devType() != QInternal::Image)
        return;
    const QImage copy = static_cast<const QImage*>(sp->device())->copy(ToQRect(SourceRect));
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->drawImage(ToQRect(Dest), copy);
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor TransparentColor)
{
    RequireSurface();
    if (!FPainter || !Bitmap)
        return;
    TBitmap part;
    part.SetSize(Source.Width(), Source.Height());
    part.Image() = Bitmap->Image().copy(ToQRect(Source)).convertToFormat(QImage::Format_RGB32);
    part.SetTransparentColor(TransparentColor);
    part.SetTransparent(true);
    part.Draw(this, Dest);
}

void TCanvas::GradientFill(const TRect& R, TColor StartColor, TColor EndColor, TGradientDirection Direction)
{
    RequireSurface();
    if (!FPainter || R.IsEmpty())
        return;
    const TColor a = ColorToRGB(StartColor), b = ColorToRGB(EndColor);
    const int n = Direction == gdVertical ? R.Height() : R.Width();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int i = 0; i < n; ++i) {
        // each channel moves linearly from the start colour (first row) towards the end colour
        auto mix = [&](int ca, int cb) { return ca + (cb - ca) * i / n; };
        const QColor c(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
        if (Direction == gdVertical)
            FPainter->fillRect(R.Left, R.Top + i, R.Width(), 1, c);
        else
            FPainter->fillRect(R.Left + i, R.Top, 1, R.Height(), c);
    }
}

// ---- clipping and origin -----------------------------------------------------------

TRect TCanvas::ClipRect() const
{
    if (!FPainter)
        return FDeviceRect;
    if (!FPainter->hasClipping()) {
        TRect r = FDeviceRect;
        r.Offset(-FOrigin.X, -FOrigin.Y);
        return r;
    }
    const QRect b = FPainter->clipBoundingRect().toAlignedRect();
    return Rect(b.left(), b.top(), b.right() + 1, b.bottom() + 1);
}

void TCanvas::IntersectClipRect(const TRect& R)
{
    RequireSurface();
    if (!FPainter)
        return;
    if (FPainter->hasClipping())
        FPainter->setClipRect(ToQRect(R), Qt::IntersectClip);
    else
        FPainter->setClipRect(ToQRect(R));
}

void TCanvas::ExcludeClipRect(const TRect& R)
{
    RequireSurface();
    if (!FPainter)
        return;
    QRegion region = FPainter->hasClipping() ? FPainter->clipRegion() : QRegion(ToQRect(ClipRect()));
    FPainter->setClipRegion(region.subtracted(QRegion(ToQRect(R))));
}

void TCanvas::OffsetWindowOrg(int DX, int DY)
{
    RequireSurface();
    FOrigin.X += DX;
    FOrigin.Y += DY;
    if (FPainter)
        FPainter->translate(DX, DY);
}

int TCanvas::SaveDC()
{
    RequireSurface();
    if (!FPainter)
        return 0;
    FPainter->save();
    FSavedOrigins.push_back(FOrigin);
    return ++FSaveDepth;
}

void TCanvas::RestoreDC(int Saved)
{
    while (FPainter && FSaveDepth >= Saved && FSaveDepth > 0) {
        FPainter->restore();
        FOrigin = FSavedOrigins.back();
        FSavedOrigins.pop_back();
        --FSaveDepth;
    }
}

// ---- window-system helpers -----------------------------------------------------------

int DrawText(TCanvas* Canvas, const QString& Text, int Length, TRect& R, unsigned Flags)
{
    return Canvas->DrawText(Length < 0 ? Text : Text.left(Length), R, Flags);
}

bool DrawEdge(TCanvas* Canvas, TRect& R, unsigned Edge, unsigned Flags)
{
    TRect r = R;
    auto side = [&](TColor tl, TColor br) {
        TBrush saved(*Canvas->Brush());
        Canvas->Brush()->SetStyle(bsSolid);
        if (Flags & BF_TOP) {
            Canvas->Brush()->SetColor(tl);
            Canvas->FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
        }
        if (Flags & BF_LEFT) {
            Canvas->Brush()->SetColor(tl);
            Canvas->FillRect(Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
        }
        if (Flags & BF_BOTTOM) {
            Canvas->Brush()->SetColor(br);
            Canvas->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        }
        if (Flags & BF_RIGHT) {
            Canvas->Brush()->SetColor(br);
            Canvas->FillRect(Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
        }
        Canvas->Brush()->Assign(saved);
        if (Flags & BF_LEFT)
            ++r.Left;
        if (Flags & BF_TOP)
            ++r.Top;
        if (Flags & BF_RIGHT)
            --r.Right;
        if (Flags & BF_BOTTOM)
            --r.Bottom;
    };
    const bool mono = Flags & BF_MONO, flat = Flags & BF_FLAT;
    if (Edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
        if (mono)
            side(clWindowFrame, clWindowFrame);
        else if (flat)
            side(clBtnShadow, clBtnShadow);
        else if (Edge & BDR_RAISEDOUTER)
            side((Flags & BF_SOFT) ? clBtnHighlight : cl3DLight, cl3DDkShadow);
        else
            side(clBtnShadow, clBtnHighlight);
    }
    if (Edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
        if (mono || flat)
            side(clBtnFace, clBtnFace);
        else if (Edge & BDR_RAISEDINNER)
            side((Flags & BF_SOFT) ? cl3DLight : clBtnHighlight, clBtnShadow);
        else
            side(cl3DDkShadow, cl3DLight);
    }
    if (Flags & BF_MIDDLE) {
        TBrush saved(*Canvas->Brush());
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->FillRect(r);
        Canvas->Brush()->Assign(saved);
    }
    if (Flags & BF_ADJUST)
        R = r;
    return true;
}

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, int Width)
{
    TPen saved;
    saved.Assign(*Canvas->Pen());
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    --R.Bottom;
    --R.Right;
    while (Width-- > 0) {
        Canvas->Pen()->SetColor(TopColor);
        Canvas->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
        Canvas->Pen()->SetColor(BottomColor);
        Canvas->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}});
        R.Inflate(-1, -1);
    }
    ++R.Bottom;
    ++R.Right;
    Canvas->Pen()->Assign(saved);
}

void GradientFillCanvas(TCanvas* Canvas, TColor StartColor, TColor EndColor, const TRect& R, TGradientDirection Direction)
{
    Canvas->GradientFill(R, StartColor, EndColor, Direction);
}
