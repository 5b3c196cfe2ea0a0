// Draws the library's glyph and icon artwork and writes it as PNG files into
// the folder given as the first argument (resources/glyphs in the source
// tree). The PNG files are committed; run this again after changing a
// drawing:  glyphgen <source>/resources/glyphs
//
// Grid glyphs are small opaque pictures on a fuchsia key colour (the bottom
// left pixel), drawn pixel by pixel without anti-aliasing so that they stay
// crisp when the grid enlarges them in whole steps. The check boxes have no
// key colour. Dialog icons and button images are anti-aliased with alpha.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cstdio>
#include <functional>

namespace {

const QColor Key(255, 0, 255);
const QColor Dark(64, 64, 64);
const QColor Mid(112, 112, 112);
const QColor Light(160, 160, 160);
const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Blue(0, 102, 204);
const QColor PaleBlue(214, 232, 250);
const QColor Green(40, 150, 60);
const QColor Red(200, 40, 40);
const QColor Amber(232, 168, 20);

QString OutDir;
int Written = 0;

void Save(const QImage& Img, const char* Name)
{
    const QString path = OutDir + QLatin1Char('/') + QLatin1String(Name) + QStringLiteral(".png");
    if (!Img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++Written;
}

// A crisp glyph: pixel drawing on the key colour.
void Glyph(const char* Name, int W, int H, const std::function<void(QPainter&)>& Draw, bool Keyed = true)
{
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(Keyed ? Key : White);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    Draw(p);
    p.end();
    if (Keyed)
        img.setPixelColor(0, H - 1, Key);
    Save(img, Name);
}

// A smooth picture with alpha (icons and button images).
void Smooth(const char* Name, int Size, const std::function<void(QPainter&, double)>& Draw)
{
    QImage img(Size, Size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Draw(p, Size / 48.0);
    p.end();
    Save(img.convertToFormat(QImage::Format_ARGB32), Name);
}

void Px(QPainter& p, int X, int Y, const QColor& C)
{
    p.fillRect(X, Y, 1, 1, C);
}

void HLine(QPainter& p, int X1, int X2, int Y, const QColor& C)
{
    p.fillRect(X1, Y, X2 - X1 + 1, 1, C);
}

void VLine(QPainter& p, int X, int Y1, int Y2, const QColor& C)
{
    p.fillRect(X, Y1, 1, Y2 - Y1 + 1, C);
}

void Frame(QPainter& p, int X1, int Y1, int X2, int Y2, const QColor& C)
{
    HLine(p, X1, X2, Y1, C);
    HLine(p, X1, X2, Y2, C);
    VLine(p, X1, Y1, Y2, C);
    VLine(p, X2, Y1, Y2, C);
}

// A triangle pointing up (Up) or down, Rows rows high, centred at Cx.
void Triangle(QPainter& p, int Cx, int Top, int Rows, bool Up, const QColor& C)
{
    for (int i = 0; i < Rows; ++i) {
        const int half = Up ? i : Rows - 1 - i;
        HLine(p, Cx - half, Cx + half, Top + i, C);
    }
}

// A triangle pointing right, its tip at (Tip, Cy).
void TriangleRight(QPainter& p, int Left, int Cy, int Cols, const QColor& C)
{
    for (int i = 0; i < Cols; ++i) {
        const int half = Cols - 1 - i;
        VLine(p, Left + i, Cy - half, Cy + half, C);
    }
}

// A funnel 7 wide and 7 high at (X, Y).
void Funnel(QPainter& p, int X, int Y, const QColor& Edge, const QColor& Fill)
{
    HLine(p, X, X + 6, Y, Edge);
    HLine(p, X + 1, X + 5, Y + 1, Fill);
    Px(p, X, Y + 1, Edge);
    Px(p, X + 6, Y + 1, Edge);
    HLine(p, X + 2, X + 4, Y + 2, Fill);
    Px(p, X + 1, Y + 2, Edge);
    Px(p, X + 5, Y + 2, Edge);
    Px(p, X + 2, Y + 3, Edge);
    Px(p, X + 3, Y + 3, Fill);
    Px(p, X + 4, Y + 3, Edge);
    VLine(p, X + 3, Y + 4, Y + 6, Edge);
    VLine(p, X + 2, Y + 4, Y + 5, Edge);
}

// The memo sheet (a page with a folded corner) in one of three looks.
void Sheet(QPainter& p, int Look, bool WithText)
{
    const QColor edge = Look == 0 ? QColor(70, 100, 150) : Look == 1 ? Black : Mid;
    const QColor paper = Look == 0 ? White : Key;
    const QColor text = Look == 0 ? Blue : edge;
    for (int y = 2; y <= 11; ++y)
        HLine(p, 3, 10, y, paper);
    HLine(p, 2, 8, 1, edge);
    VLine(p, 2, 1, 12, edge);
    HLine(p, 2, 11, 12, edge);
    VLine(p, 11, 4, 12, edge);
    // the folded corner
    Px(p, 9, 2, edge);
    Px(p, 10, 3, edge);
    VLine(p, 8, 1, 4, edge);
    HLine(p, 8, 11, 4, edge);
    Px(p, 9, 3, Look == 0 ? Light : Key);
    if (WithText) {
        HLine(p, 4, 7, 4, text);
        HLine(p, 4, 9, 6, text);
        HLine(p, 4, 9, 8, text);
        HLine(p, 4, 8, 10, text);
    }
}

// The picture frame, empty or holding a landscape, in one of three looks.
void PictureFrame(QPainter& p, int Look, bool WithPicture)
{
    const QColor edge = Look == 0 ? QColor(70, 100, 150) : Look == 1 ? Black : Mid;
    Frame(p, 1, 2, 12, 11, edge);
    if (Look == 0)
        p.fillRect(2, 3, 10, 8, WithPicture ? PaleBlue : White);
    if (!WithPicture)
        return;
    const QColor hill = Look == 0 ? Green : edge;
    const QColor sun = Look == 0 ? Amber : edge;
    p.fillRect(8, 4, 2, 2, sun);
    // two hills
    for (int i = 0; i < 4; ++i)
        HLine(p, 5 - i, 5 + i, 7 + i, hill);
    for (int i = 0; i < 3; ++i)
        HLine(p, 9 - i, 9 + i > 11 ? 11 : 9 + i, 8 + i, hill);
}

void Plus(QPainter& p, int Cx, int Cy, int Arm, int Thick, const QColor& C)
{
    p.fillRect(Cx - Arm, Cy - Thick / 2, 2 * Arm + 1, Thick, C);
    p.fillRect(Cx - Thick / 2, Cy - Arm, Thick, 2 * Arm + 1, C);
}

void Cross(QPainter& p, int X1, int Y1, int Size, const QColor& C)
{
    for (int i = 0; i < Size; ++i) {
        p.fillRect(X1 + i, Y1 + i, 2, 1, C);
        p.fillRect(X1 + Size - 1 - i, Y1 + i, 2, 1, C);
    }
}

void GridGlyphs()
{
    Glyph("RDBMARKUP", 9, 6, [](QPainter& p) { Triangle(p, 4, 0, 5, true, Mid); });
    Glyph("RDBMARKDOWN", 9, 6, [](QPainter& p) { Triangle(p, 4, 0, 5, false, Mid); });
    auto box = [](QPainter& p, bool Checked) {
        Frame(p, 0, 0, 12, 12, QColor(112, 112, 112));
        Frame(p, 1, 1, 11, 11, QColor(226, 226, 226));
        p.fillRect(2, 2, 9, 9, White);
        if (Checked) {
            // a two-pixel check mark
            const int pts[][2] = {{3, 6}, {4, 7}, {5, 8}, {6, 7}, {7, 6}, {8, 5}, {9, 4}};
            for (auto& pt : pts) {
                p.fillRect(pt[0], pt[1], 1, 2, Dark);
            }
        }
    };
    Glyph("RDBCHECKEMPTY", 13, 13, [&](QPainter& p) { box(p, false); }, false);
    Glyph("RDBCHECKED", 13, 13, [&](QPainter& p) { box(p, true); }, false);
    const char* memoEmpty[] = {"RDBMEMOEMPTY1", "RDBMEMOEMPTY2", "RDBMEMOEMPTY3"};
    const char* memo[] = {"RDBMEMO1", "RDBMEMO2", "RDBMEMO3"};
    const char* picEmpty[] = {"RDBPICTUREEMPTY1", "RDBPICTUREEMPTY2", "RDBPICTUREEMPTY3"};
    const char* pic[] = {"RDBPICTURE1", "RDBPICTURE2", "RDBPICTURE3"};
    for (int look = 0; look < 3; ++look) {
        Glyph(memoEmpty[look], 14, 14, [look](QPainter& p) { Sheet(p, look, false); });
        Glyph(memo[look], 14, 14, [look](QPainter& p) { Sheet(p, look, true); });
        Glyph(picEmpty[look], 14, 14, [look](QPainter& p) { PictureFrame(p, look, false); });
        Glyph(pic[look], 14, 14, [look](QPainter& p) { PictureFrame(p, look, true); });
    }
    Glyph("RDBTITLEEXSUM", 9, 9, [](QPainter& p) {
        // a sigma
        HLine(p, 1, 7, 0, Dark);
        Px(p, 7, 1, Dark);
        for (int i = 0; i < 3; ++i)
            HLine(p, 2 + i, 3 + i, 1 + i, Dark);
        HLine(p, 4, 5, 4, Dark);
        for (int i = 0; i < 3; ++i)
            HLine(p, 3 - i, 4 - i, 5 + i, Dark);
        HLine(p, 1, 7, 8, Dark);
        Px(p, 7, 7, Dark);
    });
    Glyph("RDBTITLEEXFILTERED", 9, 9, [](QPainter& p) { Funnel(p, 1, 1, Dark, Blue); });
    // record indicators, 10 x 12
    Glyph("RDBINDICBROWSE", 10, 12, [](QPainter& p) { TriangleRight(p, 3, 5, 4, Black); });
    Glyph("RDBINDICEDIT", 10, 12, [](QPainter& p) {
        // an I-beam cursor
        HLine(p, 3, 7, 1, Black);
        VLine(p, 5, 1, 10, Black);
        HLine(p, 3, 7, 10, Black);
    });
    Glyph("RDBINDICINSERT", 10, 12, [](QPainter& p) {
        // an asterisk
        VLine(p, 5, 2, 8, Black);
        HLine(p, 2, 8, 5, Black);
        for (int i = 0; i < 5; ++i) {
            Px(p, 3 + i, 3 + i, Black);
            Px(p, 7 - i, 3 + i, Black);
        }
    });
    Glyph("RDBINDICREADONLY", 10, 12, [](QPainter& p) {
        // the current-record mark, outlined
        for (int i = 0; i < 4; ++i) {
            Px(p, 3 + i, 5 - (3 - i), Black);
            Px(p, 3 + i, 5 + (3 - i), Black);
        }
        VLine(p, 3, 2, 8, Black);
    });
    Glyph("RDBINDICSELECTED", 10, 12, [](QPainter& p) { p.fillRect(3, 4, 4, 4, Blue); });
    Glyph("RDBINDICSELACTIVE", 10, 12, [](QPainter& p) {
        TriangleRight(p, 1, 5, 4, Black);
        p.fillRect(6, 4, 3, 3, Blue);
    });
    Glyph("RDBFILTERBTN", 13, 13, [](QPainter& p) { Funnel(p, 3, 3, Mid, White); });
    Glyph("RDBFILTERBTNA", 13, 13, [](QPainter& p) { Funnel(p, 3, 3, Dark, Blue); });
    Glyph("RDBFILTERBAR", 16, 16, [](QPainter& p) {
        Funnel(p, 1, 4, Dark, White);
        HLine(p, 9, 14, 7, Mid);
        HLine(p, 9, 14, 10, Mid);
    });
    Glyph("RDBFILTERBARC", 16, 16, [](QPainter& p) {
        Funnel(p, 1, 4, Dark, Blue);
        Cross(p, 9, 6, 6, Red);
    });
    Glyph("RBTNCBADD12", 12, 12, [](QPainter& p) { Plus(p, 6, 6, 4, 3, Green); });
    Glyph("RBTNCBINS12", 12, 12, [](QPainter& p) {
        HLine(p, 1, 10, 10, Dark);
        Plus(p, 6, 5, 3, 3, Green);
    });
    Glyph("RBTNFORMAT10", 10, 10, [](QPainter& p) {
        // an "A" over a colour bar
        VLine(p, 2, 2, 6, Dark);
        VLine(p, 7, 2, 6, Dark);
        HLine(p, 3, 6, 1, Dark);
        HLine(p, 3, 6, 4, Dark);
        p.fillRect(1, 8, 8, 2, Red);
    });
    Glyph("RBTNEDITWIN10", 10, 10, [](QPainter& p) {
        Frame(p, 0, 1, 9, 9, Dark);
        p.fillRect(1, 2, 8, 2, Blue);
        HLine(p, 2, 6, 5, Mid);
        HLine(p, 2, 7, 7, Mid);
    });
    Glyph("RBTNSEEK16", 16, 16, [](QPainter& p) {
        // a magnifying glass
        p.setPen(QPen(Dark, 1));
        p.drawEllipse(2, 2, 8, 8);
        p.fillRect(4, 4, 5, 5, PaleBlue);
        for (int i = 0; i < 4; ++i)
            p.fillRect(10 + i, 10 + i, 2, 2, Dark);
    });
    Glyph("RBTNERASE16", 16, 16, [](QPainter& p) { Cross(p, 3, 3, 9, Red); });
    Glyph("RDBLOOKUPDETAIL12", 12, 12, [](QPainter& p) {
        // a card with lines
        Frame(p, 1, 1, 10, 10, Dark);
        p.fillRect(2, 2, 8, 8, White);
        HLine(p, 3, 8, 4, Blue);
        HLine(p, 3, 8, 6, Mid);
        HLine(p, 3, 7, 8, Mid);
    });
    Glyph("RDBLOOKUPSELECT12", 12, 12, [](QPainter& p) {
        // a list with a drop-down arrow
        HLine(p, 1, 6, 2, Dark);
        HLine(p, 1, 6, 5, Dark);
        HLine(p, 1, 6, 8, Dark);
        Triangle(p, 9, 5, 3, false, Black);
    });
}

// ---- dialog icons (48 x 48) and button images ------------------------------------

void ButtonImage(const char* Name, const std::function<void(QPainter&, double)>& Draw);

void Disc(QPainter& p, double S, const QColor& Top, const QColor& Bottom)
{
    QLinearGradient g(0, 3 * S, 0, 45 * S);
    g.setColorAt(0, Top);
    g.setColorAt(1, Bottom);
    p.setPen(QPen(Bottom.darker(130), 1.5 * S));
    p.setBrush(g);
    p.drawEllipse(QRectF(3 * S, 3 * S, 42 * S, 42 * S));
}

void DialogIcons()
{
    Smooth("DLGINFORMATION", 48, [](QPainter& p, double S) {
        Disc(p, S, QColor(80, 160, 240), QColor(16, 84, 180));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(20.5 * S, 10 * S, 7 * S, 7 * S));
        p.drawRoundedRect(QRectF(20.5 * S, 20 * S, 7 * S, 18 * S), 1.5 * S, 1.5 * S);
    });
    Smooth("DLGQUESTION", 48, [](QPainter& p, double S) {
        Disc(p, S, QColor(80, 160, 240), QColor(16, 84, 180));
        QPainterPath q;
        q.moveTo(16.5 * S, 18 * S);
        q.cubicTo(16.5 * S, 11 * S, 31.5 * S, 10 * S, 31.5 * S, 18 * S);
        q.cubicTo(31.5 * S, 23 * S, 24 * S, 23.5 * S, 24 * S, 29 * S);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 5 * S, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(20.5 * S, 33 * S, 7 * S, 7 * S));
    });
    Smooth("DLGWARNING", 48, [](QPainter& p, double S) {
        QPolygonF tri;
        tri << QPointF(24 * S, 4 * S) << QPointF(45 * S, 42 * S) << QPointF(3 * S, 42 * S);
        QLinearGradient g(0, 4 * S, 0, 42 * S);
        g.setColorAt(0, QColor(255, 222, 90));
        g.setColorAt(1, QColor(240, 176, 0));
        p.setPen(QPen(QColor(170, 120, 0), 2 * S, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(g);
        p.drawPolygon(tri);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(QRectF(21 * S, 15 * S, 6 * S, 15 * S), 1.5 * S, 1.5 * S);
        p.drawEllipse(QRectF(21 * S, 33 * S, 6 * S, 6 * S));
    });
    Smooth("DLGERROR", 48, [](QPainter& p, double S) {
        Disc(p, S, QColor(240, 90, 80), QColor(180, 20, 20));
        p.setPen(QPen(Qt::white, 5.5 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16 * S, 16 * S), QPointF(32 * S, 32 * S));
        p.drawLine(QPointF(32 * S, 16 * S), QPointF(16 * S, 32 * S));
    });
    // button images: Ok, Cancel, No in 24 and 16 pixels
    auto ok = [](QPainter& p, double S) {
        p.setPen(QPen(QColor(30, 140, 50), 7 * S, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path;
        path.moveTo(9 * S, 25 * S);
        path.lineTo(20 * S, 36 * S);
        path.lineTo(39 * S, 12 * S);
        p.drawPath(path);
    };
    auto cancel = [](QPainter& p, double S) {
        p.setPen(QPen(QColor(200, 40, 40), 7 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12 * S, 12 * S), QPointF(36 * S, 36 * S));
        p.drawLine(QPointF(36 * S, 12 * S), QPointF(12 * S, 36 * S));
    };
    auto no = [](QPainter& p, double S) {
        p.setPen(QPen(QColor(200, 40, 40), 5.5 * S));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(8 * S, 8 * S, 32 * S, 32 * S));
        p.drawLine(QPointF(13 * S, 35 * S), QPointF(35 * S, 13 * S));
    };
    Smooth("DLGBTNOK", 24, ok);
    Smooth("DLGBTNCANCEL", 24, cancel);
    Smooth("DLGBTNNO", 24, no);
    ButtonImage("BTNOK16", ok);
    ButtonImage("BTNCANCEL16", cancel);
}

// A greyed copy for disabled buttons: luminance only, at half strength.
void SaveDisabled(const QImage& Img, const QString& Name)
{
    QImage g = Img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) {
            const QColor c = g.pixelColor(x, y);
            const int l = 96 + qGray(c.rgb()) / 2;
            g.setPixelColor(x, y, QColor(l, l, l, c.alpha() / 2));
        }
    const QString path = OutDir + QLatin1Char('/') + Name + QStringLiteral(".png");
    if (!g.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++Written;
}

// A 16-pixel button image and its disabled twin ("<name>D").
void ButtonImage(const char* Name, const std::function<void(QPainter&, double)>& Draw)
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Draw(p, 16 / 48.0);
    p.end();
    Save(img.convertToFormat(QImage::Format_ARGB32), Name);
    SaveDisabled(img, QLatin1String(Name) + QLatin1Char('D'));
}

// A thick arrow pointing along (Dx, Dy), one of the four directions.
void ThickArrow(QPainter& p, double S, int Dx, int Dy, const QColor& C)
{
    // drawn pointing up around the centre, then turned
    QPolygonF a;
    a << QPointF(24, 5) << QPointF(43, 25) << QPointF(31, 25) << QPointF(31, 43) << QPointF(17, 43) << QPointF(17, 25)
      << QPointF(5, 25);
    const double angle = Dy < 0 ? 0 : Dy > 0 ? 180 : Dx > 0 ? 90 : 270;
    p.save();
    p.scale(S, S);
    p.translate(24, 24);
    p.rotate(angle);
    p.translate(-24, -24);
    p.setPen(QPen(C.darker(140), 2.5, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(C);
    p.drawPolygon(a);
    p.restore();
}

// A magnifying glass; Sign 1 adds a plus, -1 a minus inside the lens.
void Magnifier(QPainter& p, double S, int Sign)
{
    p.setPen(QPen(QColor(90, 60, 30), 7 * S, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30 * S, 30 * S), QPointF(43 * S, 43 * S));
    p.setPen(QPen(QColor(50, 50, 50), 4.5 * S));
    p.setBrush(QColor(214, 232, 250));
    p.drawEllipse(QRectF(4 * S, 4 * S, 30 * S, 30 * S));
    if (Sign == 0)
        return;
    p.setPen(QPen(QColor(0, 102, 204), 5 * S, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(11 * S, 19 * S), QPointF(27 * S, 19 * S));
    if (Sign > 0)
        p.drawLine(QPointF(19 * S, 11 * S), QPointF(19 * S, 27 * S));
}

// The images of the library's dialog buttons (dataset dialogs, dialog base
// form and picture editor), each with a disabled twin.
void DialogButtonImages()
{
    const QColor arrow(40, 110, 210);
    ButtonImage("BTNCLOSE16", [](QPainter& p, double S) {
        // a door with an arrow leaving it
        p.setPen(QPen(QColor(90, 60, 30), 3 * S));
        p.setBrush(QColor(200, 150, 90));
        p.drawRect(QRectF(6 * S, 5 * S, 22 * S, 38 * S));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 40, 20));
        p.drawEllipse(QRectF(21 * S, 23 * S, 4 * S, 4 * S));
        p.setPen(QPen(QColor(200, 40, 40), 6 * S, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(28 * S, 24 * S), QPointF(44 * S, 24 * S));
        p.drawLine(QPointF(36 * S, 16 * S), QPointF(44 * S, 24 * S));
        p.drawLine(QPointF(36 * S, 32 * S), QPointF(44 * S, 24 * S));
    });
    ButtonImage("BTNUP16", [arrow](QPainter& p, double S) { ThickArrow(p, S, 0, -1, arrow); });
    ButtonImage("BTNDOWN16", [arrow](QPainter& p, double S) { ThickArrow(p, S, 0, 1, arrow); });
    ButtonImage("BTNPREV16", [arrow](QPainter& p, double S) { ThickArrow(p, S, -1, 0, arrow); });
    ButtonImage("BTNNEXT16", [arrow](QPainter& p, double S) { ThickArrow(p, S, 1, 0, arrow); });
    ButtonImage("BTNFIND16", [](QPainter& p, double S) { Magnifier(p, S, 0); });
    ButtonImage("BTNZOOMIN16", [](QPainter& p, double S) { Magnifier(p, S, 1); });
    ButtonImage("BTNZOOMOUT16", [](QPainter& p, double S) { Magnifier(p, S, -1); });
    ButtonImage("BTNZOOMFIT16", [](QPainter& p, double S) {
        // a frame with the four corners pointing outwards
        p.setPen(QPen(QColor(60, 60, 60), 3 * S));
        p.setBrush(QColor(214, 232, 250));
        p.drawRect(QRectF(13 * S, 13 * S, 22 * S, 22 * S));
        p.setPen(QPen(QColor(0, 102, 204), 5 * S, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        const double c[4][2] = {{4, 4}, {44, 4}, {44, 44}, {4, 44}};
        for (const auto& pt : c) {
            const double dx = pt[0] < 24 ? 1 : -1, dy = pt[1] < 24 ? 1 : -1;
            QPainterPath path;
            path.moveTo(pt[0] * S, (pt[1] + dy * 10) * S);
            path.lineTo(pt[0] * S, pt[1] * S);
            path.lineTo((pt[0] + dx * 10) * S, pt[1] * S);
            p.drawPath(path);
        }
    });
    ButtonImage("BTNDELETE16", [](QPainter& p, double S) {
        p.setPen(QPen(QColor(200, 40, 40), 7 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10 * S, 24 * S), QPointF(38 * S, 24 * S));
    });
    ButtonImage("BTNDELETEALL16", [](QPainter& p, double S) {
        // a list whose rows are struck out
        p.setPen(QPen(QColor(90, 90, 90), 4 * S, Qt::SolidLine, Qt::FlatCap));
        for (double y : {10.0, 20.0, 30.0, 40.0})
            p.drawLine(QPointF(4 * S, y * S), QPointF(30 * S, y * S));
        p.setPen(QPen(QColor(200, 40, 40), 6 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(24 * S, 18 * S), QPointF(44 * S, 38 * S));
        p.drawLine(QPointF(44 * S, 18 * S), QPointF(24 * S, 38 * S));
    });
    ButtonImage("BTNSAVELIST16", [](QPainter& p, double S) {
        // two chevrons towards the list on the right
        p.setPen(QPen(QColor(30, 140, 50), 6 * S, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (double x : {8.0, 24.0}) {
            QPainterPath path;
            path.moveTo(x * S, 10 * S);
            path.lineTo((x + 14) * S, 24 * S);
            path.lineTo(x * S, 38 * S);
            p.drawPath(path);
        }
    });
}

// The page preview's buttons: fit the page, zoom in and out, pages back and on.
void PreviewButtons()
{
    const QColor ink(50, 70, 110);
    auto magnifier = [ink](QPainter& p, double S, bool Plus) {
        p.setPen(QPen(ink, 4 * S));
        p.setBrush(QColor(235, 243, 252));
        p.drawEllipse(QRectF(6 * S, 6 * S, 26 * S, 26 * S));
        p.setPen(QPen(ink, 7 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(29 * S, 29 * S), QPointF(41 * S, 41 * S));
        p.setPen(QPen(ink, 4 * S, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12 * S, 19 * S), QPointF(26 * S, 19 * S));
        if (Plus)
            p.drawLine(QPointF(19 * S, 12 * S), QPointF(19 * S, 26 * S));
    };
    Smooth("PREVZOOMIN16", 16, [&](QPainter& p, double S) { magnifier(p, S, true); });
    Smooth("PREVZOOMOUT16", 16, [&](QPainter& p, double S) { magnifier(p, S, false); });
    Smooth("PREVFIT16", 16, [ink](QPainter& p, double S) {
        // a page with its corners marked
        p.setPen(QPen(ink, 3 * S));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(12 * S, 8 * S, 24 * S, 32 * S));
        p.setPen(QPen(ink, 4 * S, Qt::SolidLine, Qt::SquareCap));
        for (const QPointF c : {QPointF(4, 4), QPointF(44, 4), QPointF(4, 44), QPointF(44, 44)}) {
            const double dx = c.x() < 24 ? 8 : -8, dy = c.y() < 24 ? 8 : -8;
            p.drawLine(QPointF(c.x() * S, c.y() * S), QPointF((c.x() + dx) * S, c.y() * S));
            p.drawLine(QPointF(c.x() * S, c.y() * S), QPointF(c.x() * S, (c.y() + dy) * S));
        }
    });
    auto arrow = [ink](QPainter& p, double S, bool Right) {
        QPainterPath path;
        const double tip = Right ? 38 : 10, back = Right ? 14 : 34;
        path.moveTo(back * S, 8 * S);
        path.lineTo(tip * S, 24 * S);
        path.lineTo(back * S, 40 * S);
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(path);
    };
    Smooth("PREVPRIOR16", 16, [&](QPainter& p, double S) { arrow(p, S, false); });
    Smooth("PREVNEXT16", 16, [&](QPainter& p, double S) { arrow(p, S, true); });
}

}  // namespace

int main(int argc, char** argv)
{
    OutDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("glyphs");
    QDir().mkpath(OutDir);
    GridGlyphs();
    DialogIcons();
    DialogButtonImages();
    PreviewButtons();
    std::printf("%d pictures written to %s\n", Written, qPrintable(OutDir));
    return 0;
}
