// A grid read from the right: its columns are laid out from the right edge
// (cells, mouse and painting agree), a double click at a title border sizes
// the column before the border, text sits at the mirrored side of its cell,
// and the footer's free text keeps clear of the indicator on the right.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/database/Fields.h"

namespace {

constexpr int NameCol = 2, ClubCol = 3;

class RightToLeft : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        grid->SetBiDiMode(bdRightToLeft);
    }
    // Dark (text) pixels in the left and the right half of a cell.
    std::pair<int, int> TextSides(const QImage& Img, const TRect& R)
    {
        const int mid = (R.Left + R.Right) / 2;
        auto dark = [](QRgb p) { return qGray(p) < 100; };
        return {CountPixels(Img, Rect(R.Left, R.Top, mid, R.Bottom), dark), CountPixels(Img, Rect(mid, R.Top, R.Right, R.Bottom), dark)};
    }
};

}  // namespace

TEST_F(RightToLeft, ColumnsRunFromTheRightEdge)
{
    const TRect area = grid->GridClientRect();
    EXPECT_EQ(grid->CellRect(0, 0).Right, area.Right) << "the indicator stands at the right";
    EXPECT_LT(grid->CellRect(NameCol, 0).Right, grid->CellRect(1, 0).Left + 1);
    // The mouse finds every cell where it is drawn.
    for (int col : {0, 1, NameCol, ClubCol})
        for (int row : {0, 2}) {
            const TRect r = grid->CellRect(col, row);
            const TGridCoord c = grid->MouseCoord(r.Left + 2, r.Top + 2);
            EXPECT_EQ(c.X, col) << col << "," << row;
            EXPECT_EQ(c.Y, row) << col << "," << row;
        }
    // Painting agrees: a coloured column is painted in its cells.
    grid->Columns()->Items(NameCol - 1)->SetColor(clRed);
    const QImage img = Render();
    const TRect name = grid->CellRect(NameCol, 3);
    EXPECT_EQ(PixelColor(img, name.Right - 2, name.Bottom - 2), ColorToRGB(clRed));
    const TRect club = grid->CellRect(ClubCol, 3);
    EXPECT_NE(PixelColor(img, club.Right - 2, club.Bottom - 2), ColorToRGB(clRed));
}

TEST_F(RightToLeft, TitleBorderDoubleClickSizesTheColumnBeforeTheBorder)
{
    TColumn* name = grid->Columns()->Items(NameCol - 1);
    TColumn* club = grid->Columns()->Items(ClubCol - 1);
    name->SetWidth(30);
    club->SetWidth(30);
    int dblClicks = 0;
    grid->OnDblClick = [&](TComponent*) { ++dblClicks; };
    // The left border of a title is the far side of its column.
    TRect r = grid->CellRect(ClubCol, 0);
    DoubleClick(r.Left + 1, (r.Top + r.Bottom) / 2);
    grid->Canvas()->Font()->Assign(*club->Font());
    EXPECT_EQ(club->Width(), grid->Canvas()->TextWidth(QStringLiteral("Suunta-Äänekoski")) + 8) << "the widest club name + 8";
    EXPECT_EQ(name->Width(), 30);
    // Its right border belongs to the column before it.
    r = grid->CellRect(ClubCol, 0);
    const int clubWidth = club->Width();
    DoubleClick(r.Right - 1, (r.Top + r.Bottom) / 2);
    EXPECT_GT(name->Width(), 30) << "the name column fits its data";
    EXPECT_EQ(club->Width(), clubWidth);
    EXPECT_EQ(dblClicks, 0);
}

TEST_F(RightToLeft, TextSitsAtTheMirroredSideAndMeasuresWider)
{
    const TRect cell = grid->CellRect(NameCol, 2);
    const auto [left, right] = TextSides(Render(), cell);
    EXPECT_GT(right, 3 * std::max(1, left)) << "a left-justified name reads from the right edge";
    grid->SetBiDiMode(bdLeftToRight);
    const auto [ltrLeft, ltrRight] = TextSides(Render(), grid->CellRect(NameCol, 2));
    EXPECT_GT(ltrLeft, 3 * std::max(1, ltrRight));
    const int plain = grid->GetLineWidth(QStringLiteral("Kiito"), nullptr);
    grid->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(grid->GetLineWidth(QStringLiteral("Kiito"), nullptr), plain + 2);
}

TEST_F(RightToLeft, FooterTextKeepsClearOfTheIndicator)
{
    grid->FooterRow()->SetFooterVisible(true);
    const TRect footer = grid->FooterRow()->FooterRect();
    const TRect ind = grid->CellRect(0, 0);
    TRect r = grid->SimpleTextRect(footer);
    EXPECT_EQ(r.Right, ind.Left - 2);
    EXPECT_EQ(r.Left, std::max(footer.Left, grid->CellRect(grid->ColCount() - 1, 0).Left) + 2);
    grid->SetBiDiMode(bdLeftToRight);
    r = grid->SimpleTextRect(footer);
    EXPECT_EQ(r.Left, grid->CellRect(0, 0).Right + 2);
    EXPECT_EQ(r.Right, std::min(footer.Right, grid->CellRect(grid->ColCount() - 1, 0).Right) - 2);
}
