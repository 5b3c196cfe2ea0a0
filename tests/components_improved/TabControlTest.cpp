// The improved tab and page controls: the caller contracts of SetActiveTabEx
// and ActiveTabCaption, refusals, close buttons, hot tracking and drawing.
#include "components/base/rTabControlEx.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct TabFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrTabControlEx* Tabs = nullptr;
    int Changes = 0;
    bool Allow = true;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 400, 200);
        Tabs = new TrTabControlEx(Form.get());
        Tabs->SetParent(Form.get());
        Tabs->SetBounds(0, 0, 300, 100);
        Tabs->OwnerDraw = true;
        Tabs->HotTrack = true;
        Tabs->SetTabs({QStringLiteral("Lähtö"), QStringLiteral("Maali")});
        Tabs->OnChange = [this](TComponent*) { ++Changes; };
        Tabs->OnChanging = [this](TComponent*, bool& allow) { allow = Allow; };
    }
};

}  // namespace

TEST_F(TabFixture, SetActiveTabExChangesOnceAndTellsWithinTheCall)
{
    EXPECT_EQ(Tabs->ActiveTabCaption(), QStringLiteral("Lähtö"));
    QString captionInEvent;
    Tabs->OnChange = [&](TComponent*) {
        ++Changes;
        captionInEvent = Tabs->ActiveTabCaption();
    };
    EXPECT_FALSE(Tabs->SetActiveTabEx(0));
    EXPECT_EQ(Changes, 0);
    EXPECT_TRUE(Tabs->SetActiveTabEx(1));
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(captionInEvent, QStringLiteral("Maali"));
}

TEST_F(TabFixture, RefusalLeavesTheTab)
{
    Allow = false;
    EXPECT_FALSE(Tabs->SetActiveTabEx(1));
    Tabs->MouseDown(mbLeft, ssLeft, Tabs->TabRect(1).Left + 3, Tabs->TabRect(1).Top + 3);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    EXPECT_EQ(Changes, 0);
    Allow = true;
    Tabs->MouseDown(mbLeft, ssLeft, Tabs->TabRect(1).Left + 3, Tabs->TabRect(1).Top + 3);
    EXPECT_EQ(Tabs->ActiveTabCaption(), QStringLiteral("Maali"));
    EXPECT_EQ(Changes, 1);
}

TEST_F(TabFixture, WithoutTabsCaptionIsEmptyAndObjectNone)
{
    Tabs->SetTabs({});
    EXPECT_EQ(Tabs->ActiveTabCaption(), QString());
    EXPECT_EQ(Tabs->ActiveTabObject(), nullptr);
}

TEST_F(TabFixture, AccelCharsDoubleEachTime)
{
    Tabs->SetTabs({QStringLiteral("A&B")});
    Tabs->ReplaceAccelChar();
    EXPECT_EQ(Tabs->Tabs()[0], QStringLiteral("A&&B"));
    Tabs->ReplaceAccelChar();
    EXPECT_EQ(Tabs->Tabs()[0], QStringLiteral("A&&&&B"));
    Tabs->AddSpaceForCloseBtn(false);
    EXPECT_EQ(Tabs->Tabs()[0], QStringLiteral("A&&&&B    "));
    Tabs->AddSpaceForCloseBtn(true);
    EXPECT_EQ(Tabs->Tabs()[0], QStringLiteral("  A&&&&B  "));
}

TEST_F(TabFixture, CloseButtonsCloseTabsUnlessRefused)
{
    Tabs->TabPropsEx()->SetShowCloseBtn(true);
    Tabs->TabPropsEx()->OnTabGetProps = [](TComponent*, int TabIndex, TFont*, TColor&, bool& CanClose) {
        if (TabIndex == 0)
            CanClose = false;
    };
    auto clickClose = [&](int Index) {
        const TRect r = Tabs->TabPropsEx()->CloseBtnRect(Index);
        Tabs->MouseDown(mbLeft, ssLeft, r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    };
    EXPECT_FALSE(Tabs->TabPropsEx()->CloseBtnShown(0));
    clickClose(0);
    EXPECT_EQ(Tabs->TabCount(), 2);
    bool refuse = true;
    Tabs->TabPropsEx()->OnTabClose = [&](TComponent*, int, bool& CanClose) { CanClose = !refuse; };
    clickClose(1);
    EXPECT_EQ(Tabs->TabCount(), 2);
    refuse = false;
    clickClose(1);
    ASSERT_EQ(Tabs->TabCount(), 1);
    EXPECT_EQ(Tabs->TabIndex(), 0);
    EXPECT_EQ(Tabs->ActiveTabCaption(), QStringLiteral("Lähtö"));
}

TEST_F(TabFixture, ClosingTheLastTabLeavesNoneSelected)
{
    Tabs->SetTabs({QStringLiteral("Ainoa")});
    Tabs->TabPropsEx()->SetShowCloseBtn(true);
    const TRect r = Tabs->TabPropsEx()->CloseBtnRect(0);
    Tabs->MouseDown(mbLeft, ssLeft, r.Left + 2, r.Top + 2);
    EXPECT_EQ(Tabs->TabCount(), 0);
    EXPECT_EQ(Tabs->TabIndex(), -1);
    EXPECT_EQ(Tabs->ActiveTabCaption(), QString());
}

TEST_F(TabFixture, HotTabIsNeverTheSelectedOne)
{
    const TRect r1 = Tabs->TabRect(1), r0 = Tabs->TabRect(0);
    Tabs->MouseMove(0, r1.Left + 3, r1.Top + 3);
    EXPECT_EQ(Tabs->TabPropsEx()->HotTabIndex(), 1);
    Tabs->MouseMove(0, r0.Left + 3, r0.Top + 3);
    EXPECT_EQ(Tabs->TabPropsEx()->HotTabIndex(), -1);
    Tabs->MouseMove(0, r1.Left + 3, r1.Top + 3);
    Tabs->MouseLeave();
    EXPECT_EQ(Tabs->TabPropsEx()->HotTabIndex(), -1);
}

TEST_F(TabFixture, StandardDrawingFillsTheSelectedTabAndStripsItsTop)
{
    Tabs->TabPropsEx()->SetDrawThemed(false);
    Tabs->TabPropsEx()->SetSelectedTabColor(clMoneyGreen);
    Form->Show();
    TBitmap bmp;
    Tabs->PaintTo(&bmp);
    TRect r = Tabs->TabRect(0);
    r.Inflate(2, 2);  // the selected tab is drawn larger
    EXPECT_EQ(bmp.Pixel(r.Left + r.Width() / 2, r.Top + 1), 0x0080FF);
    EXPECT_EQ(bmp.Pixel(r.Left + 6, r.Bottom - 4), clMoneyGreen);
}

TEST(PageControlExTest, ActivePageEx)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto* pc = new TrPageControlEx(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(0, 0, 300, 200);
    TTabSheet* pages[3];
    for (int i = 0; i < 3; ++i) {
        pages[i] = new TTabSheet(form.get());
        pages[i]->SetPageControl(pc);
        pages[i]->SetCaption(QStringLiteral("Sivu %1").arg(i + 1));
    }
    pc->SetActivePage(pages[0]);
    int changes = 0;
    bool allow = false;
    pc->OnChange = [&](TComponent*) { ++changes; };
    pc->OnChanging = [&](TComponent*, bool& a) { a = allow; };
    EXPECT_FALSE(pc->SetActivePageEx(pages[1]));
    allow = true;
    EXPECT_FALSE(pc->SetActivePageEx(pages[0]));
    EXPECT_TRUE(pc->SetActiveTabEx(2));
    EXPECT_EQ(pc->ActiveTabCaption(), QStringLiteral("Sivu 3"));
    EXPECT_EQ(changes, 1);
    // closing a page that is not the active one hides that page only
    pc->HostCloseTab(0);
    EXPECT_FALSE(pages[0]->TabVisible());
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    pc->HostCloseTab(2);
    EXPECT_EQ(pc->ActivePage(), pages[1]);
    EXPECT_EQ(pc->VisiblePageCount(), 1);
}
