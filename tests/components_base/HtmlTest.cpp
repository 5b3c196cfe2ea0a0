// Mini-HTML measurement, drawing and link hit-testing.
#include "components/base/rHTMLDrawText.h"
#include "components/base/rHTMLLabel.h"
#include "platform/ui/Forms.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

TCanvas* NewCanvas(TBitmap& b)
{
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, b.Width(), b.Height()));
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName(QStringLiteral("Tahoma"));
    c->Font()->SetHeight(-11);
    c->Font()->SetColor(clBlack);
    return c;
}

}  // namespace

TEST(HtmlTest, MeasuringTwoLinesWithoutWrap)
{
    TBitmap b(300, 100);
    TCanvas* c = NewCanvas(b);
    const int w1 = c->TextWidth(QStringLiteral("short")), w2 = c->TextWidth(QStringLiteral("a longer line"));
    const int h = c->TextHeight(QStringLiteral("Wg"));
    TRect r = Rect(0, 0, 300, 100);
    EXPECT_FALSE(rHTML_DrawText(nullptr, c, QStringLiteral("short<BR>a longer line"), r, true, true, false, false, taLeftJustify, tlTop, 3, 30, hmNormal, clNone, nullptr, -1));
    EXPECT_EQ(r.Width(), std::max(w1, w2) + 2 + 2 * 3);
    EXPECT_EQ(r.Height(), 2 * h + 2 * 3);
}

TEST(HtmlTest, BoldTextIsWiderAndUnknownTagsAreText)
{
    TBitmap b(300, 100);
    TCanvas* c = NewCanvas(b);
    TRect plain = Rect(0, 0, 300, 100), bold = plain, unknown = plain;
    rHTML_DrawText(nullptr, c, QStringLiteral("Tulokset"), plain, true, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal, clNone, nullptr, -1);
    rHTML_DrawText(nullptr, c, QStringLiteral("<b>Tulokset</b>"), bold, true, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal, clNone, nullptr, -1);
    rHTML_DrawText(nullptr, c, QStringLiteral("<P>Tulokset"), unknown, true, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal, clNone, nullptr, -1);
    EXPECT_GT(bold.Width(), plain.Width());
    EXPECT_EQ(unknown.Width(), plain.Width() + c->TextWidth(QStringLiteral("<P>")));
    TRect simple = Rect(0, 0, 300, 100);
    rHTML_DrawText(nullptr, c, QStringLiteral("<B>x"), simple, true, true, false, false, taLeftJustify, tlTop, 0, 30, hmSimpleText, clNone, nullptr, -1);
    EXPECT_EQ(simple.Width(), c->TextWidth(QStringLiteral("<B>x")) + 2);
}

TEST(HtmlTest, AnchorsAreRecordedAndHitTested)
{
    TBitmap b(300, 60);
    TCanvas* c = NewCanvas(b);
    TAnchorList anchors;
    TRect r = Rect(0, 0, 300, 60);
    rHTML_DrawText(nullptr, c, QStringLiteral("Katso <A HREF=https://example.org>sivu</A> ja <A ohje>ohje</A>"), r, false, true,
                   false, false, taLeftJustify, tlTop, 0, 30, hmNormal, clNone, &anchors, -1);
    ASSERT_EQ(anchors.size(), 2u);
    EXPECT_EQ(anchors[0]->LinkType, QStringLiteral("HREF"));
    EXPECT_EQ(anchors[0]->LinkName, QStringLiteral("https://example.org"));
    EXPECT_EQ(anchors[1]->LinkType, QString());
    EXPECT_EQ(anchors[1]->LinkName, QStringLiteral("ohje"));
    EXPECT_EQ(anchors[0]->Rect.Width(), c->TextWidth(QStringLiteral("sivu")));
    EXPECT_LT(anchors[0]->Rect.Right, anchors[1]->Rect.Left);
    // the link text is drawn in the link colour
    bool blue = false;
    for (int x = anchors[0]->Rect.Left; x < anchors[0]->Rect.Right; ++x)
        for (int y = anchors[0]->Rect.Top; y < anchors[0]->Rect.Bottom; ++y)
            blue = blue || b.Pixel(x, y) == ColorToRGB(clHighlight);
    EXPECT_TRUE(blue);
    rHTML_FreeAnchorInfo(&anchors);
}

TEST(HtmlTest, LabelClickOnAnchorFiresTheHandler)
{
    auto* f = new TForm(nullptr);
    f->SetBounds(0, 0, 300, 100);
    auto* l = new TrHTMLLabel(f);
    l->SetParent(f);
    l->SetBounds(10, 10, 250, 20);
    l->SetCaption(QStringLiteral("Valitse <A uusi>uusi tapahtuma</A>"));
    QString clicked;
    l->OnAnchorClick = [&](TComponent*, const QString& name) { clicked = name; };
    f->AfterConstruction();
    TBitmap shot;
    l->PaintTo(&shot);  // a paint fills the anchor list
    f->Show();
    QCoreApplication::processEvents();
    l->Repaint();
    ASSERT_EQ(l->Anchors().size(), 1u);
    const TRect a = l->Anchors()[0]->Rect;
    EXPECT_EQ(l->AnchorAt(a.Left + 2, a.Top + 2), 0);
    EXPECT_EQ(l->AnchorAt(a.Left, a.Top), -1);  // strictly inside
    l->MouseMove(0, a.Left + 2, a.Top + 2);
    EXPECT_EQ(l->ActiveAnchor(), 0);
    EXPECT_EQ(l->Widget()->cursor().shape(), Qt::PointingHandCursor);
    l->Click();
    EXPECT_EQ(clicked, QStringLiteral("uusi"));
    EXPECT_EQ(l->Widget()->cursor().shape(), Qt::ArrowCursor) << "the click gives the label's own cursor back";
    // leaving the label from over the link does the same
    l->MouseMove(0, a.Left + 2, a.Top + 2);
    ASSERT_EQ(l->Widget()->cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(l->Widget(), &leave);
    EXPECT_EQ(l->ActiveAnchor(), -1);
    EXPECT_EQ(l->Widget()->cursor().shape(), Qt::ArrowCursor);
    delete f;
}

namespace {

bool NearColor(TColor P, TColor C)
{
    return std::abs(GetRValue(P) - GetRValue(C)) < 80 && std::abs(GetGValue(P) - GetGValue(C)) < 80 &&
           std::abs(GetBValue(P) - GetBValue(C)) < 80;
}

// The first and last columns holding a pixel near colour C (-1 when none).
std::pair<int, int> InkColumns(TBitmap& B, TColor C, int FromX = 0)
{
    int first = -1, last = -1;
    for (int x = FromX; x < B.Width(); ++x)
        for (int y = 0; y < B.Height(); ++y)
            if (NearColor(B.Pixel(x, y), C)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

struct LabelOnForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrHTMLLabel* Label = new TrHTMLLabel(Form.get());
    LabelOnForm(const QString& Caption, int Width)
    {
        Form->SetBounds(0, 0, 400, 100);
        Label->SetParent(Form.get());
        Label->SetAutoSize(false);
        Label->SetBounds(0, 0, Width, 24);
        Label->Font()->SetName(QStringLiteral("Tahoma"));
        Label->Font()->SetHeight(-11);
        Label->SetCaption(Caption);
        Form->AfterConstruction();
    }
    TBitmap Shot()
    {
        TBitmap b;
        Label->PaintTo(&b);
        return b;
    }
};

}  // namespace

// Tab stops of the label count from its left edge whatever its inner space;
// those of the drawing routine from its area's left edge.
TEST(HtmlTest, TabStopsCountFromTheLabelEdgeOrTheAreaEdge)
{
    for (int inner : {0, 7}) {
        LabelOnForm f(QStringLiteral("i\tX"), 200);
        f.Label->SetInnerSpace(uint8_t(inner));
        f.Label->SetFontColor(clBlue);
        TBitmap b = f.Shot();
        EXPECT_NEAR(InkColumns(b, clBlue, 16).first, 30, 1) << "inner space " << inner;
    }
    TBitmap b(300, 40);
    TCanvas* c = NewCanvas(b);
    c->Font()->SetColor(clBlue);
    TRect r = Rect(40, 0, 300, 40);
    rHTML_DrawText(nullptr, c, QStringLiteral("i<TAB>X"), r, false, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal,
                   clNone, nullptr, -1);
    EXPECT_NEAR(InkColumns(b, clBlue, 56).first, 70, 1);
}

// A right-aligned line wider than the label shows its end; the drawing
// routine keeps the start inside its area instead.
TEST(HtmlTest, RightAlignedOverlongLineShowsItsEndInTheLabel)
{
    const QString text = QStringLiteral("<COLOR=#0000FF>alkuosa joka ei mahdu</COLOR><COLOR=#FF0000>LOPPU</COLOR>");
    LabelOnForm f(text, 60);
    f.Label->SetAlignment(taRightJustify);
    TBitmap shot = f.Shot();
    EXPECT_GT(InkColumns(shot, clRed).second, 45);
    TBitmap b(60, 30);
    TCanvas* c = NewCanvas(b);
    TRect r = Rect(0, 0, 60, 30);
    rHTML_DrawText(nullptr, c, text, r, false, true, false, false, taRightJustify, tlTop, 0, 30, hmNormal, clNone, nullptr, -1);
    EXPECT_EQ(InkColumns(b, clRed).first, -1);
    EXPECT_LE(InkColumns(b, clBlue).first, 3);
}

// A line ending in a tag ends with a space in the state after it: the label
// paints it, the drawing routine only counts it.
TEST(HtmlTest, ALineEndingInATagEndsWithASpace)
{
    const QString text = QStringLiteral("x<BGCOLOR=#FF0000>");
    LabelOnForm f(text, 100);
    TBitmap shot = f.Shot();
    const auto red = InkColumns(shot, clRed);
    TCanvas m;
    m.Font()->Assign(*f.Label->Font());
    EXPECT_EQ(red.second - red.first + 1, m.TextWidth(QStringLiteral(" ")));
    TBitmap b(100, 30);
    TCanvas* c = NewCanvas(b);
    TRect r = Rect(0, 0, 100, 30);
    rHTML_DrawText(nullptr, c, text, r, false, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal, clNone, nullptr, -1);
    EXPECT_EQ(InkColumns(b, clRed).first, -1);
}

// A word wider than the room at the start of a visual line: the drawing
// routine cuts it letter by letter, the label lets it overflow.
TEST(HtmlTest, ATooWideFirstLetterIsCutByTheRoutineButOverflowsTheLabel)
{
    TBitmap b(100, 100);
    TCanvas* c = NewCanvas(b);
    const int h = c->TextHeight(QStringLiteral("W"));
    TRect r = Rect(0, 0, 6, 100);
    rHTML_DrawText(nullptr, c, QStringLiteral("<B>WWW</B>"), r, true, true, true, false, taLeftJustify, tlTop, 0, 30, hmNormal,
                   clNone, nullptr, -1);
    EXPECT_EQ(r.Height(), 3 * h);
    LabelOnForm f(QStringLiteral("<B>WWW</B>"), 6);
    f.Label->SetWordWrap(true);
    f.Label->SetAutoSize(true);
    EXPECT_EQ(f.Label->Height(), h + 2);
}

// Right-to-left reading reaches the text drawing of every label kind and of
// the drawing routine given a control: "(a" then reads "a)".
TEST(HtmlTest, RightToLeftReadingReachesTheTextDrawing)
{
    auto shots = [](const std::function<void(TControl*, TBitmap&)>& Draw, TControl* Control) {
        TBitmap ltr, rtl;
        Control->SetBiDiMode(bdLeftToRight);
        Draw(Control, ltr);
        Control->SetBiDiMode(bdRightToLeftReadingOnly);
        Draw(Control, rtl);
        int diff = 0;
        for (int y = 0; y < std::min(ltr.Height(), rtl.Height()); ++y)
            for (int x = 0; x < std::min(ltr.Width(), rtl.Width()); ++x)
                diff += ltr.Pixel(x, y) != rtl.Pixel(x, y);
        return diff;
    };
    auto paint = [](TControl* C, TBitmap& B) { C->PaintTo(&B); };
    LabelOnForm markup(QStringLiteral("<B>(a</B>"), 100), plain(QStringLiteral("(a"), 100);
    EXPECT_GT(shots(paint, markup.Label), 0) << "markup";
    EXPECT_GT(shots(paint, plain.Label), 0) << "plain";
    auto* url = new TrURLLabel(markup.Form.get());
    url->SetParent(markup.Form.get());
    url->SetBounds(0, 30, 100, 20);
    url->SetCaption(QStringLiteral("(a"));
    EXPECT_GT(shots(paint, url), 0) << "link label";
    auto routine = [](TControl* C, TBitmap& B) {
        B.SetSize(100, 30);
        TCanvas* c = NewCanvas(B);
        TRect r = Rect(0, 0, 100, 30);
        rHTML_DrawText(C, c, QStringLiteral("<B>(a</B>"), r, false, true, false, false, taLeftJustify, tlTop, 0, 30, hmNormal,
                       clNone, nullptr, -1);
    };
    EXPECT_GT(shots(routine, markup.Label), 0) << "drawing routine";
}

TEST(HtmlTest, LabelVariablesComeFromTheHandler)
{
    auto* f = new TForm(nullptr);
    auto* l = new TrHTMLLabel(f);
    l->SetParent(f);
    l->OnGetParameter = [](TComponent*, QString& p) { p = p == QLatin1String("name") ? QStringLiteral("Rastila") : QString(); };
    l->SetCaption(QStringLiteral("Tapahtuma: <VAR>name</VAR>"));
    f->AfterConstruction();
    TCanvas m;
    m.Font()->Assign(*l->Font());
    EXPECT_EQ(l->Width(), m.TextWidth(QStringLiteral("Tapahtuma: Rastila")));
    delete f;
}
