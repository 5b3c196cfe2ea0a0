// Columns kept in step with the grid, widths of hidden columns, per-cell
// resolution, check-list texts, and the drawn cells (check boxes, bars,
// titles, validity colours) seen through a bitmap.

#include "StringGridFixture.h"


TEST_F(StringGridTest, ColumnsFollowTheColumnCountAndKeepHiddenWidths)
{
    grid->SetColCount(3);
    ASSERT_EQ(grid->Columns()->Count(), 3);
    EXPECT_EQ(Col(2)->Width(), grid->DefaultColWidth());
    EXPECT_EQ(Col(2)->DataType, sgdText);
    EXPECT_EQ(Col(2)->ButtonStyle(), sgbNone);
    Col(2)->SetTitleCaption(QStringLiteral("Seura"));
    grid->SetColCount(5);
    grid->SetColCount(2);
    EXPECT_EQ(grid->Columns()->Count(), 2) << "columns go from the end";
    grid->SetColCount(3);
    EXPECT_EQ(Col(2)->TitleCaption(), QString()) << "a new column starts with defaults";

    Col(1)->SetWidth(120);
    grid->SetColWidths(1, 140);  // the user sizes the column
    Col(1)->SetVisible(false);
    EXPECT_EQ(grid->ColWidths(1), -1);
    Col(1)->SetVisible(true);
    EXPECT_EQ(grid->ColWidths(1), 140);
    EXPECT_EQ(Col(1)->Width(), 140);
    // restoring the defaults gives the grid column the default width too
    Col(2)->SetWidth(150);
    ASSERT_EQ(grid->ColWidths(2), 150);
    Col(2)->RestoreDefaults();
    EXPECT_EQ(Col(2)->Width(), grid->DefaultColWidth());
    EXPECT_EQ(grid->ColWidths(2), grid->DefaultColWidth());
}

TEST_F(StringGridTest, PerCellResolutionAndRefiningEvents)
{
    Col(1)->DataType = sgdNumber;
    Col(1)->AutoAlignment = true;
    Col(2)->AutoAlignment = true;
    Col(3)->SetAlignment(taCenter);
    EXPECT_EQ(grid->GetDataAlignment(1, 1), taRightJustify);
    EXPECT_EQ(grid->GetDataAlignment(2, 1), taLeftJustify);
    EXPECT_EQ(grid->GetDataAlignment(3, 1), taCenter);
    grid->OnGetDataType = [](TrStringGridEd*, int, TrStringGridEdDataType& T, int ARow) {
        if (ARow == 2)
            T = sgdDate;
    };
    grid->OnGetEditStyle = [](TrStringGridEd*, int ACol, TrStringGridEdEditStyle& S, int) {
        if (ACol == 3)
            S = sgbCheckbox;
    };
    EXPECT_EQ(grid->GetDataType(1, 1), sgdNumber);
    EXPECT_EQ(grid->GetDataType(1, 2), sgdDate);
    EXPECT_EQ(grid->GetEditStyleEx(3, 4), sgbCheckbox);
    EXPECT_EQ(grid->GetCoordPosition(0, 0), cpFixedCorner);
    EXPECT_EQ(grid->GetCoordPosition(2, 0), cpFixedRow);
    EXPECT_EQ(grid->GetCoordPosition(0, 2), cpFixedCol);
    EXPECT_EQ(grid->GetCoordPosition(2, 2), cpDataCell);
    EXPECT_EQ(grid->GetCoordPosition(9, 2), cpOutside);
    Col(2)->SetTitleCaption(QStringLiteral("Nimi"));
    grid->SetCells(2, 0, QStringLiteral("raw"));
    EXPECT_EQ(grid->GetCellText(2, 0), QStringLiteral("Nimi"));
    EXPECT_EQ(grid->GetCellText(3, 0), QString());
}

TEST_F(StringGridTest, CheckListTexts)
{
    TrStringGridEdColumn* c = Col(1);
    c->SetButtonStyle(sgbDropDownCheckList);
    c->PickList = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_TRUE(c->CheckListContainValue(QStringLiteral("a,C"), QStringLiteral("c")));
    EXPECT_FALSE(c->CheckListContainValue(QStringLiteral("a, c"), QStringLiteral("c"))) << "parts are not trimmed";
    c->CheckListCaseSensitive = true;
    EXPECT_FALSE(c->CheckListContainValue(QStringLiteral("a,C"), QStringLiteral("c")));
    c->CheckListCaseSensitive = false;
    EXPECT_EQ(c->CheckListAddValue(QString(), QStringLiteral("b")), QStringLiteral("b"));
    EXPECT_EQ(c->CheckListAddValue(QStringLiteral("a"), QStringLiteral("A")), QStringLiteral("a"));
    EXPECT_EQ(c->CheckListAddValue(QStringLiteral("a,c"), QStringLiteral("b")), QStringLiteral("a,c,b"));
    EXPECT_EQ(c->CheckListRemoveValue(QStringLiteral("a,b,a,c"), QStringLiteral("b")), QStringLiteral("a,c"));
    EXPECT_EQ(c->CheckListCleanUpText(QStringLiteral("c,x,a"), true), QStringLiteral("a,c"));
    EXPECT_EQ(c->CheckListCleanUpText(QStringLiteral("c,x,A"), false), QStringLiteral("c,A"));
    grid->SetCells(1, 2, QStringLiteral("c,zz,a"));
    c->CheckListCleanUpRow(2, true);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("a,c"));
}

namespace {
// Pixels near a colour (text edges are smoothed).
int CountColor(TBitmap& B, const TRect& R, TColor C)
{
    const TColor c = ColorToRGB(C);
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x) {
            const TColor p = B.Pixel(x, y);
            n += std::abs(GetRValue(p) - GetRValue(c)) < 60 && std::abs(GetGValue(p) - GetGValue(c)) < 60 &&
                 std::abs(GetBValue(p) - GetBValue(c)) < 60;
        }
    return n;
}
}  // namespace

TEST_F(StringGridTest, DrawnCellsShowTheirKinds)
{
    Col(1)->SetButtonStyle(sgbCheckbox);
    Col(1)->CheckBoxTrueValue = QStringLiteral("true");
    Col(2)->DataType = sgdDataBar;
    Col(2)->DataBar.MaxValue = 10000;
    Col(2)->DataBar.ColorFrom = clRed;
    Col(2)->DataBar.ColorTo = clRed;  // one colour: no gradient
    Col(2)->DataBar.Text = dbtNothing;
    Col(3)->DataType = sgdNumber;
    Col(3)->InvalidDataColor = clFuchsia;
    Fill({{QStringLiteral("TRUE"), QStringLiteral("1 234,5"), QStringLiteral("abc")},
          {QStringLiteral("0"), QString(), QStringLiteral("12")}});
    form->Show();
    grid->FocusCell(1, 5, true);
    TBitmap b;
    grid->PaintTo(&b);
    EXPECT_TRUE(grid->CheckboxIsChecked(1, 1)) << "TRUE equals true ignoring case";
    EXPECT_FALSE(grid->CheckboxIsChecked(1, 2));
    // The bar fills 12.3 percent of the cell (inside a one-pixel margin).
    const TRect bar = grid->CellRect(2, 1);
    int redCols = 0;
    for (int x = bar.Left; x < bar.Right; ++x)
        redCols += b.Pixel(x, (bar.Top + bar.Bottom) / 2) == ColorToRGB(clRed);
    EXPECT_NEAR(redCols, (bar.Width() - 2) * 0.1235, 1.5);
    EXPECT_EQ(CountColor(b, grid->CellRect(2, 2), clRed), 0) << "an empty cell has no bar";
    EXPECT_GT(CountColor(b, grid->CellRect(3, 1), clFuchsia), 0) << "invalid text in the invalid colour";
    EXPECT_EQ(CountColor(b, grid->CellRect(3, 2), clFuchsia), 0);
    // Checked and unchecked glyphs differ.
    TBitmap checked, unchecked;
    const TRect c1 = grid->CellRect(1, 1), c2 = grid->CellRect(1, 2);
    int diff = 0;
    for (int y = 0; y < c1.Height(); ++y)
        for (int x = 0; x < c1.Width(); ++x)
            diff += b.Pixel(c1.Left + x, c1.Top + y) != b.Pixel(c2.Left + x, c2.Top + y);
    EXPECT_GT(diff, 5);
}

// The percent text follows the bar: past the maximum a cell looks like one
// at the maximum ("100%"), and an empty range shows "0%" like a value at the
// minimum, never "150%" or nothing.
TEST_F(StringGridTest, DataBarPercentTextStaysWithinTheBar)
{
    for (int c = 1; c <= 3; ++c) {
        Col(c)->DataType = sgdDataBar;
        Col(c)->DataBar.Text = dbtPercent;
        Col(c)->DataBar.ColorFrom = clRed;
        Col(c)->DataBar.ColorTo = clRed;
        grid->SetColWidths(c, 90);
    }
    Col(2)->DataBar.MinValue = 50;
    Col(2)->DataBar.MaxValue = 50;
    Fill({{QStringLiteral("150"), QStringLiteral("80"), QStringLiteral("0")}, {QStringLiteral("100"), QString(), QString()}});
    form->Show();
    grid->FocusCell(3, 5, true);
    TBitmap b;
    grid->PaintTo(&b);
    auto differing = [&](const TRect& A, const TRect& B) {
        int n = 0;
        for (int y = 0; y < A.Height(); ++y)
            for (int x = 0; x < A.Width(); ++x)
                n += b.Pixel(A.Left + x, A.Top + y) != b.Pixel(B.Left + x, B.Top + y);
        return n;
    };
    EXPECT_EQ(differing(grid->CellRect(1, 1), grid->CellRect(1, 2)), 0) << "150 of 100 draws as 100";
    EXPECT_EQ(differing(grid->CellRect(2, 1), grid->CellRect(3, 1)), 0) << "an empty range draws as 0";
    EXPECT_GT(differing(grid->CellRect(2, 1), grid->CellRect(2, 2)), 0) << "\"0%\" is drawn, unlike an empty cell";
}

TEST_F(StringGridTest, AutoFitCapsAtTwoThirdsOfTheGrid)
{
    grid->SetCells(2, 3, QString(200, QLatin1Char('W')));
    int offered = -1;
    grid->OnGeneralEvent = [&](TrStringGridEd*, TGeneralEventType T, bool&, TGeneralEventRec& Rec) {
        if (T == geSetColumnWidth)
            offered = Rec.ParamValue.toInt();
    };
    grid->SetColumnAutoFit(2);
    EXPECT_EQ(offered, grid->Width() * 2 / 3);
    EXPECT_EQ(Col(2)->Width(), grid->Width() * 2 / 3 + 12);
    EXPECT_EQ(grid->ColWidths(2), Col(2)->Width());
    grid->OnGeneralEvent = [](TrStringGridEd*, TGeneralEventType T, bool& Allow, TGeneralEventRec&) {
        Allow = T != geSetColumnWidth;
    };
    grid->SetColumnAutoFit(1);
    EXPECT_EQ(Col(1)->Width(), 90) << "a refused fit leaves the width";
    EXPECT_EQ(grid->GetColumnDataWidth(2, 100), 200);
    EXPECT_EQ(grid->GetColumnDataWidth(1, 100), 10);
    EXPECT_EQ(grid->GetColumnDataWidth(9, 100), -1);
}

// A data image wider than its cell is shrunk to the cell's width, keeping its
// shape; a status bar position is rounded halves to even; a colour swatch
// stands at the same place whether its cell has the focus or not.
TEST_F(StringGridTest, DataImagesStatusBarsAndSwatchesFitTheirCells)
{
    TImageList images(nullptr);
    images.SetSize(80, 20);
    TBitmap red(80, 20);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 80, 20));
    images.Add(&red);
    Col(1)->SetDataImageList(&images);
    grid->SetColWidths(1, 40);
    grid->OnGetCellParamsEx = [](TrStringGridEd*, int ACol, TDataImageDef& D, bool&, TColor&, TFont*, int ARow) {
        if (ACol == 1 && ARow == 1) {
            D.UseDataImage = true;
            D.ImageIndex = 0;
            D.ImageAlignment = QStringLiteral("C");
        }
    };
    Col(2)->DataType = sgdStatusBar;
    Col(2)->StatusBar.Steps = 5;
    Col(3)->SetButtonStyle(sgbDropDownColor);
    Fill({{QStringLiteral("x"), QStringLiteral("2,5"), QStringLiteral("$00FF00")},
          {QString(), QStringLiteral("2"), QStringLiteral("$00FF00")},
          {QString(), QStringLiteral("3,5"), QString()},
          {QString(), QStringLiteral("4"), QString()}});
    form->Show();
    grid->SetFocus();
    grid->FocusCell(3, 1, true);
    TBitmap b;
    grid->PaintTo(&b);
    const TRect img = grid->CellRect(1, 1);
    int redRows = 0, redCols = 0;
    for (int y = img.Top; y < img.Bottom; ++y)
        redRows += CountColor(b, Rect(img.Left, y, img.Right, y + 1), clRed) > 0;
    for (int x = img.Left - 5; x < img.Right + 20; ++x)
        redCols += CountColor(b, Rect(x, img.Top, x + 1, img.Bottom), clRed) > 0;
    EXPECT_LE(redCols, img.Width());
    EXPECT_NEAR(redRows, redCols / 4.0, 1.5) << "the image keeps its shape";
    auto same = [&](int C, int R1, int R2) {
        const TRect a = grid->CellRect(C, R1), o = grid->CellRect(C, R2);
        for (int y = 1; y < a.Height() - 1; ++y)
            for (int x = 1; x < a.Width() - 1; ++x)
                if (b.Pixel(a.Left + x, a.Top + y) != b.Pixel(o.Left + x, o.Top + y))
                    return false;
        return true;
    };
    EXPECT_TRUE(same(2, 1, 2)) << "2.5 draws as 2";
    EXPECT_TRUE(same(2, 3, 4)) << "3.5 draws as 4";
    auto firstLime = [&](int R) {
        const TRect c = grid->CellRect(3, R);
        for (int x = c.Left; x < c.Right; ++x)
            if (CountColor(b, Rect(x, c.Top, x + 1, c.Bottom), clLime) > 0)
                return x - c.Left;
        return -1;
    };
    EXPECT_GT(firstLime(2), 0);
    EXPECT_EQ(firstLime(1), firstLime(2)) << "the focused cell's swatch does not move";
    Col(1)->SetDataImageList(nullptr);
}
