// The data-aware edit and its caption label: colours by edit state, label
// texts and placement, visibility, and the cleaning of typed numbers.

#include "components/dbcontrols/TrDBEdit.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImgList.h"
#include "tests/dbcontrols/RunFixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace {

using EditTest = RunFixture;

TEST_F(EditTest, ShowsTheReadOnlyColourUntilItsDatasetIsEdited)
{
    auto* e = Make<TrDBEdit>();
    e->SetColor(clWindow);
    e->SetReadOnlyColor(0xF3F3F3);
    e->SetDataSource(&src, QStringLiteral("PERSON_NAME"));
    EXPECT_EQ(e->Text(), QStringLiteral("Anna Aalto"));
    EXPECT_EQ(e->Color(), TColor(0xF3F3F3)) << "browse state";
    runs.Edit();
    EXPECT_EQ(e->Color(), clWindow);
    runs.Cancel();
    EXPECT_EQ(e->Color(), TColor(0xF3F3F3));

    auto* ro = Make<TrDBEdit>(100, 100);
    ro->SetColor(clWindow);
    ro->SetDataSource(&src, QStringLiteral("RUN_ID"));
    ro->SetReadOnly(true);
    runs.Edit();
    EXPECT_EQ(ro->Color(), ro->ReadOnlyColor()) << "ReadOnly keeps the read-only colour in edit state";
    runs.Cancel();

    auto* free = Make<TrDBEdit>(100, 160);
    free->SetColor(clWindow);
    free->UpdateState(nullptr);
    EXPECT_EQ(free->Color(), clWindow) << "no data source counts as editing";
}

TEST_F(EditTest, LabelTakesItsTextFromTheFieldAndFollowsTheControl)
{
    F("PERSON_NAME")->SetDisplayLabel(QStringLiteral("Nimi"));
    auto* e = Make<TrDBEdit>(100, 40, 120, 25);
    e->SetDataSource(&src, QStringLiteral("PERSON_NAME"));
    TDBBoundLabel* l = e->DBEditLabel();
    EXPECT_EQ(l->Caption(), QStringLiteral("Nimi:"));
    l->SetFieldCaptionSuffix(QString());
    EXPECT_EQ(l->Caption(), QStringLiteral("Nimi"));
    l->SetOwnCaption(QStringLiteral("Henkilö"));
    EXPECT_EQ(l->Caption(), QStringLiteral("Henkilö"));
    EXPECT_EQ(l->Parent(), form.get());
    // Above the control with a gap of 1 pixel, or left of it with 3.
    EXPECT_EQ(l->Left(), 100);
    EXPECT_EQ(l->Top(), 40 - l->Height() - 1);
    l->SetPosition(lpLeftCenter);
    EXPECT_EQ(l->Left(), 100 - l->Width() - 3);
    e->SetBounds(200, 80, 120, 25);
    EXPECT_EQ(l->Left(), 200 - l->Width() - 3) << "the label moves with the control";
    EXPECT_EQ(l->Top(), 80 + (25 - l->Height()) / 2);
    const TPoint p = BoundLabelPos(lpLeftCenter, Bounds(100, 40, 120, 25), 60, 13, TMargins{}, false, 0);
    EXPECT_EQ(p.X, 37);
    EXPECT_EQ(p.Y, 46);

    // A required field gets a mark: the auto-sized label grows by it.
    const int plain = l->Width();
    F("PERSON_NAME")->SetRequired(true);
    l->SetRequiredMarkSpace(5);
    EXPECT_GT(l->Width(), plain + 5);

    // Hiding and showing the control keeps a label hidden on its own.
    l->SetVisible(false);
    e->SetVisible(false);
    e->SetVisible(true);
    EXPECT_FALSE(l->Visible());
    l->SetVisible(true);
    e->SetVisible(false);
    EXPECT_FALSE(l->Visible());
    e->SetVisible(true);
    EXPECT_TRUE(l->Visible());
    e->SetEnabled(false);
    EXPECT_FALSE(l->Enabled());
}

TEST_F(EditTest, TypedNumbersLoseTheirBlanksAndInvisibleFieldsChangeNothingByDefault)
{
    auto* e = Make<TrDBEdit>();
    e->SetDataSource(&src, QStringLiteral("TIME_SEC"));
    runs.Edit();
    e->SetText(QStringLiteral("1 000\u00A0"));
    e->Change();
    runs.Post();
    EXPECT_EQ(F("TIME_SEC")->AsInteger(), 1000);
    EXPECT_EQ(CleanLastEOL(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\r\nb"));

    F("TIME_SEC")->SetVisible(false);
    e->UpdateState(nullptr);
    EXPECT_TRUE(e->Visible());
}

// The buttons at the ends of the edit: images by state, a click, the
// text's room; and the whole value as the hint when the edit cuts it off.
TEST_F(EditTest, SideButtonsShowTheirImagesAndClickAndLongValuesBecomeTheHint)
{
    auto* e = Make<TrDBEdit>(100, 40, 160, 25);
    e->SetDataSource(&src, QStringLiteral("PERSON_NAME"));
    TImageList images(form.get());
    images.SetSize(16, 16);
    TBitmap bmp(16, 16);
    images.Add(&bmp, nullptr);
    images.Add(&bmp, nullptr);
    EXPECT_FALSE(e->RightButton()->Visible()) << "invisible until asked for";
    e->SetImages(&images);
    TrDBEditButton* b = e->RightButton();
    b->ImageIndex = 0;
    b->HotImageIndex = 1;
    b->SetVisible(true);
    TrDBEditButton::TGlyph* g = b->Glyph();
    EXPECT_EQ(g->Width(), 16);
    images.SetSize(20, 20);
    EXPECT_EQ(g->Width(), 20) << "a change in the image list reaches the buttons";
    images.SetSize(16, 16);
    EXPECT_EQ(g->Left() + g->Width(), e->Width() - 4) << "at the right end, inside the border";
    EXPECT_EQ(g->CurrentImageIndex(), 0);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(g->Widget(), &enter);
    EXPECT_EQ(g->State(), TrDBEditButton::TGlyph::bsHot);
    EXPECT_EQ(g->CurrentImageIndex(), 1);
    TComponent* sender = nullptr;
    b->OnClick = [&](TComponent* S) { sender = S; };
    QTest::mouseClick(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(sender, e) << "the edit is the sender";
    // Without OnClick the glyph's action runs; with both, OnClick wins.
    TAction action(form.get());
    int executed = 0;
    action.OnExecute = [&](TComponent*) { ++executed; };
    b->SetAction(&action);
    QTest::mouseClick(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(executed, 0);
    b->OnClick = nullptr;
    QTest::mouseClick(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(executed, 1);
    b->SetAction(nullptr);
    b->OnClick = [&](TComponent* S) { sender = S; };
    b->ButtonClickAction = caHTTP;
    e->SetDataSource(&src, QStringLiteral("NOTES"));
    runs.Next();
    sender = nullptr;
    QTest::mouseClick(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    EXPECT_EQ(sender, nullptr) << "an empty text opens nothing";
    runs.First();

    // Hints: a long value is shown whole, a short one not, an own hint stays.
    e->SetDataSource(&src, QStringLiteral("PERSON_NAME"));
    e->SetWidth(40);
    QApplication::sendEvent(e->Widget(), &enter);
    EXPECT_EQ(e->Hint(), QStringLiteral("Anna Aalto"));
    e->SetWidth(300);
    QApplication::sendEvent(e->Widget(), &enter);
    EXPECT_TRUE(e->Hint().isEmpty());
    e->SetHint(QStringLiteral("Juoksijan nimi"));
    e->SetWidth(40);
    QApplication::sendEvent(e->Widget(), &enter);
    EXPECT_EQ(e->Hint(), QStringLiteral("Juoksijan nimi"));

    // A right-aligned field shows its value at the right while not typed into.
    F("TIME_SEC")->SetAlignment(TFieldAlignment::RightJustify);
    e->SetDataSource(&src, QStringLiteral("TIME_SEC"));
    runs.Next();
    runs.First();
    auto* line = qobject_cast<QLineEdit*>(e->Widget());
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->alignment() & Qt::AlignRight);
}

}  // namespace
