// Hints of cells that do not fit, scaling with its veto, the last column
// filling the grid, the title row's height and rows that grow with their text.

#include "StringGridFixture.h"

TEST_F(StringGridTest, HintsOnlyForTextThatDoesNotFit)
{
    Col(2)->SetWordWrap(true);
    grid->SetCells(1, 1, QStringLiteral("lyhyt"));
    grid->SetCells(2, 2, QStringLiteral("pitkä teksti joka ei mahdu yhdelle riville vaan jatkuu"));
    form->Show();
    auto hintAt = [&](int C, int R) {
        const TRect cell = grid->CellRect(C, R);
        grid->MouseMove(0, cell.Left + 3, cell.Top + 3);
        return grid->Hint();
    };
    EXPECT_EQ(hintAt(1, 1), QString()) << "a text that fits has no hint";
    EXPECT_EQ(hintAt(2, 2), QStringLiteral("pitkä teksti joka ei mahdu yhdelle riville vaan jatkuu"));
    grid->OnGetHintText = [](TrStringGridEd*, int ACol, QString& Hint, int ARow) {
        if (ACol == 1 && ARow == 1)
            Hint = QStringLiteral("oma vihje");
    };
    EXPECT_EQ(hintAt(3, 3), QString());
    EXPECT_EQ(hintAt(1, 1), QStringLiteral("oma vihje")) << "a replaced hint shows as it is";
    form->Hide();
}

TEST_F(StringGridTest, ScalingWithVetoAndTheLastColumnFillingTheGrid)
{
    Col(1)->SetWidth(100);
    grid->OnGeneralEvent = [](TrStringGridEd*, TGeneralEventType T, bool& Allow, TGeneralEventRec&) {
        Allow = T != geChangeScaleBefore;
    };
    grid->ScaleBy(3, 2);
    EXPECT_EQ(Col(1)->Width(), 100) << "vetoed";
    EXPECT_DOUBLE_EQ(grid->ScaleRatio(), 1.0);
    std::vector<TGeneralEventType> seen;
    grid->OnGeneralEvent = [&](TrStringGridEd*, TGeneralEventType T, bool&, TGeneralEventRec&) { seen.push_back(T); };
    grid->ScaleBy(3, 2);
    EXPECT_EQ(Col(1)->Width(), 150);
    EXPECT_EQ(grid->ColWidths(1), 150);
    EXPECT_DOUBLE_EQ(grid->ScaleRatio(), 1.5);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back(), geChangeScaleAfter);

    grid->SetOptionsEx(OptEx(dgResizeLastColumn));
    grid->SetBounds(0, 0, 700, 300);
    int others = 0;
    for (int i = 0; i < grid->ColCount() - 1; ++i)
        others += grid->ColWidths(i);
    EXPECT_EQ(grid->ColWidths(3), grid->ClientWidth() - others - 8);
}

TEST_F(StringGridTest, TitleRowHeightAndRowsGrowingWithTheirText)
{
    grid->SetTitleRowHeight(30);
    EXPECT_EQ(grid->RowHeights(0), 30);
    grid->SetDefaultRowHeight(20);
    EXPECT_EQ(grid->RowHeights(0), 30) << "kept over row height changes";
    grid->SetTitleRowHeight(0);
    EXPECT_EQ(grid->RowHeights(0), grid->DefaultRowHeight());

    grid->SetAutoRowHeight(true);
    Col(2)->SetWordWrap(true);
    grid->SetCells(2, 2, QStringLiteral("yksi kaksi kolme neljä viisi kuusi seitsemän kahdeksan yhdeksän kymmenen"));
    form->Show();
    TBitmap b;
    grid->PaintTo(&b);
    grid->PaintTo(&b);
    EXPECT_GT(grid->RowHeights(2), grid->DefaultRowHeight()) << "the row grew to its text";
    EXPECT_EQ(grid->RowHeights(3), grid->DefaultRowHeight());
    grid->AutoRowMaxHeight = 25;
    grid->SetRowHeights(2, grid->DefaultRowHeight());
    grid->PaintTo(&b);
    grid->PaintTo(&b);
    EXPECT_EQ(grid->RowHeights(2), 25);
    form->Hide();
}
