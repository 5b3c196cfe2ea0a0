// Mini-HTML measurement, drawing and link hit-testing.
#include "components/base/rHTMLDrawText.h"
#include "components/base/rHTMLLabel.h"
#include "platform/ui/Forms.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

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
    l->Click();
    EXPECT_EQ(clicked, QStringLiteral("uusi"));
    delete f;
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
