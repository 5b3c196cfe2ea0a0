// The group box's child lay-out: lines on the column grid, margins, nested
// boxes on the percentage grid, and when it runs.
#include "components/base/rGroupBox.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct LayoutFixture : ::testing::Test {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TrGroupBox* Box = nullptr;
    TEdit* X = nullptr;

    void SetUp() override
    {
        Form->SetBounds(0, 0, 600, 400);
        Box = new TrGroupBox(Form.get());
        Box->SetParent(Form.get());
        // No caption bar and no frame: the client area is 300 wide from 0.
        Box->SetCaptionHeight(0);
        Box->SetFrameType(ftSingleLine);
        Box->SetBounds(0, 0, 300, 200);
        Box->AutoResizeChild()->SetAutoResizeDelay(0);
        X = new TEdit(Form.get());
        X->SetName(QStringLiteral("x"));
        X->SetParent(Box);
        X->SetBounds(20, 30, 50, 21);
    }

    void Lay(const QString& Line)
    {
        Box->AutoResizeChild()->SetChildCompsPos({Line});
        Box->AutoResizeChild()->SetAutoResizeActive(true);
    }
};

}  // namespace

TEST_F(LayoutFixture, ClientAreaOfAPlainBox)
{
    const TRect cr = Box->AdjustedClientRect();
    EXPECT_EQ(cr.Left, 0);
    EXPECT_EQ(cr.Right, 300);
}

TEST_F(LayoutFixture, LinesPlaceTheChild)
{
    struct Case {
        const char* Line;
        TRect Expected;
    } cases[] = {
        {"x=C;2;3;0;0;0", Rect(104, 30, 196, 51)},       // W = 300 - 16 - 8 = 276
        {"X=cr;6;6;0;0;0", Rect(242, 30, 292, 51)},      // right end of the sixth column
        {"x=CL;2;2;0;0;0", Rect(152, 30, 202, 51)},
        {"x=E;0;0;0;E;0", Rect(20, 30, 292, 192)},
        {"x=L;0;0;0;B;10", Rect(8, 161, 58, 182)},
        {"x=R;0;0;5;0;0", Rect(237, 30, 287, 51)},
        {"x=C;3;2;0;0;0", Rect(20, 30, 70, 51)},        // column beyond the count: unchanged
        {"x=C;0;2;0;0;0", Rect(20, 30, 70, 51)},
        {"x=Q;abc;;;;", Rect(20, 30, 70, 51)},          // unknown codes mean nothing
        {"y=E;0;0;0;E;0", Rect(20, 30, 70, 51)},        // no child of that name
    };
    for (const Case& c : cases) {
        X->SetBounds(20, 30, 50, 21);
        Lay(QLatin1String(c.Line));
        EXPECT_EQ(X->BoundsRect(), c.Expected) << c.Line;
    }
}

TEST_F(LayoutFixture, MarginsAboveAThousandCountNegative)
{
    Lay(QStringLiteral("x=C;1;1;0;0;0"));
    const int plainRight = X->BoundsRect().Right;
    X->SetAlignWithMargins(true);
    X->Margins = TMargins{0, 0, 1004, 0};
    Box->RefreshAutoPosition();
    EXPECT_EQ(X->BoundsRect().Right, plainRight + 4);
}

TEST_F(LayoutFixture, ParsingAndBuildingLines)
{
    TrGroupBoxVerticalAlignment h;
    TrGroupBoxHorizontalAlignment v;
    int col, count, wr, hr;
    EXPECT_FALSE(Box->GetAutoResizeChildComponentPos(QStringLiteral("x"), h, col, count, wr, v, hr));
    ASSERT_TRUE(Box->GetAutoResizeChildComponentPos(QStringLiteral("*cr;6;6;-3;b;2;extra"), h, col, count, wr, v, hr));
    EXPECT_EQ(h, gbvaColumnRight);
    EXPECT_EQ(col, 6);
    EXPECT_EQ(wr, -3);
    EXPECT_EQ(v, gbhaBottom);
    EXPECT_EQ(hr, 2);
    Box->AutoResizeChild()->SetAutoResizeActive(true);
    EXPECT_EQ(Box->SetAutoResizeChildComponentPos(QStringLiteral("x"), gbvaColumn, 1, 2, 0, gbhaNothing, 0),
              QStringLiteral("C;1;2;0;0;0"));
    EXPECT_EQ(Box->AutoResizeChild()->ChildCompsPos(), QStringList{QStringLiteral("x=C;1;2;0;0;0")});
    EXPECT_EQ(X->Left(), 8);  // laid out at once
    Box->SetAutoResizeChildComponentPos(QStringLiteral("X"), gbvaColumn, 2, 2, 0, gbhaNothing, 0);
    EXPECT_EQ(Box->AutoResizeChild()->ChildCompsPos().size(), 1);
}

TEST_F(LayoutFixture, InactiveLayoutChangesNothingAndRaisesNothing)
{
    int refreshes = 0;
    Box->OnRefreshAutoPosition = [&](TComponent*) { ++refreshes; };
    Box->AutoResizeChild()->SetChildCompsPos({QStringLiteral("x=E;0;0;0;E;0")});
    Box->SetWidth(350);
    EXPECT_EQ(X->BoundsRect(), Rect(20, 30, 70, 51));
    EXPECT_EQ(refreshes, 0);
    Box->AutoResizeChild()->SetAutoResizeActive(true);
    Box->SetWidth(400);
    EXPECT_EQ(X->Width(), 400 - 8 - 20);
    EXPECT_GE(refreshes, 1);
}

TEST_F(LayoutFixture, ResizesWithADelayLayOutOnceWhenTheTimerFires)
{
    Box->AutoResizeChild()->SetChildCompsPos({QStringLiteral("x=E;0;0;0;0;0")});
    Box->AutoResizeChild()->SetAutoResizeActive(true);
    Box->AutoResizeChild()->SetAutoResizeDelay(100);
    int refreshes = 0;
    Box->OnRefreshAutoPosition = [&](TComponent*) { ++refreshes; };
    for (int i = 1; i <= 10; ++i)
        Box->SetWidth(300 + i);
    EXPECT_EQ(refreshes, 0);
    EXPECT_TRUE(Box->LayoutTimer()->Enabled());
    Box->LayoutTimer()->OnTimer(Box->LayoutTimer());  // the timer fires
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(Box->LayoutTimer()->Enabled());
    EXPECT_EQ(X->BoundsRect().Right, 310 - 8);
}

TEST_F(LayoutFixture, NestedBoxesTakeTheirPercentageCells)
{
    auto* inner = new TrGroupBox(Form.get());
    inner->SetParent(Box);
    inner->SetBounds(0, 0, 10, 10);
    Box->AutoResizeChild()->SetColWidthsPercent({QStringLiteral("50"), QStringLiteral("50")});
    Box->AutoResizeChild()->SetRowHeightsPercent({QStringLiteral("100")});
    inner->AutoResizePos()->SetColumnIndexTo(2);
    inner->AutoResizePos()->SetColumnIndexFrom(2);
    inner->AutoResizePos()->SetRowIndexFrom(1);
    Box->AutoResizeChild()->SetAutoResizeActive(true);
    // W = 300 - 16 - 4 = 280; column 2 starts at 8 + 4 + 140
    EXPECT_EQ(inner->BoundsRect(), Rect(152, 9, 292, 192));  // H = 199 - 16
}
