// Painting of TrDBGrid's data cells, read back as pixels: the active, odd
// and hot-track rows, colours from the cell parameters and from a window's
// OnDrawColumnCell brush, the gradient of a recoloured active cell, check
// boxes, the bitmap a window draws into a cell, and that painting never
// moves the dataset.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "platform/database/DataSource.h"
#include "platform/ui/ImgList.h"

#include <set>

namespace {

constexpr int ClubCol = 3, NameCol = 2, RentedCol = 5;

bool Navyish(QRgb p)
{
    return qBlue(p) > 90 && qRed(p) < 50 && qGreen(p) < 50;
}

}  // namespace

TEST_F(RDBGridTest, RowColoursActiveOddAndHotTrack)
{
    ASSERT_GE(grid->VisibleRowCount(), 10);
    grid->OptionsEx2().Appearance.DrawColoredRow = true;
    grid->SetColorHotTrackRow(clYellow);
    grid->SetMouseOverRow(4);
    QImage img = Render();
    auto at = [&](int col, int row) {
        const TPoint p = Blank(col, row);
        return PixelColor(img, p.X, p.Y);
    };
    EXPECT_EQ(at(ClubCol, 1), ColorToRGB(clInfoBk)) << "the active row";
    EXPECT_EQ(at(ClubCol, 2), ColorToRGB(clMoneyGreen)) << "the second record (even RecNo) is an odd row";
    EXPECT_EQ(at(ClubCol, 3), ColorToRGB(clWindow));
    EXPECT_EQ(at(ClubCol, 4), ColorToRGB(clYellow)) << "the row under the mouse";
    EXPECT_EQ(scrolls, 0) << "painting reads rows without scrolling the dataset";
    EXPECT_EQ(grid->PaintScrollCount(), 0);
    EXPECT_EQ(data->RecNo(), 1);
}

TEST_F(RDBGridTest, CellParamsAndTheWindowsBrushDecideTheFill)
{
    grid->OptionsEx2().Appearance.DrawColoredRow = true;
    // Disqualified runs (every fifth) in red through the cell parameters.
    grid->OnGetCellParams = [](TComponent*, TField* F, TFont*, TColor& Bk, bool, bool) {
        if (F->DataSet()->FieldByName(QStringLiteral("STATUS"))->AsString() == QLatin1String("3"))
            Bk = clRed;
    };
    // A window's own colouring: it sets the brush and draws the default cell.
    grid->OnDrawColumnCell = [this](TComponent*, const TRect& R, int DataCol, TColumn* Column, TGridDrawState State) {
        if (Column->FieldName() == QLatin1String("CLUB") && data->FieldByName(QStringLiteral("ID"))->AsInteger() == 3) {
            grid->Canvas()->Brush()->SetColor(0xD0D0FF);
            grid->DefaultDrawColumnCell(R, DataCol, Column, State);
        }
    };
    QImage img = Render();
    const TPoint p10 = Blank(ClubCol, 10), p3 = Blank(ClubCol, 3);
    EXPECT_EQ(PixelColor(img, p10.X, p10.Y), ColorToRGB(clRed)) << "a recoloured cell is never painted as an odd row";
    EXPECT_EQ(PixelColor(img, p3.X, p3.Y), TColor(0xD0D0FF)) << "the brush the window set fills the cell";
    // A recoloured active cell fades from a lighter red to the active colour.
    data->SetRecNo(5);
    img = Render();
    const int row = grid->Row();
    const TRect r = grid->CellRect(ClubCol, row);
    const TColor top = PixelColor(img, r.Right - 3, r.Top), bottom = PixelColor(img, r.Right - 3, r.Bottom - 1);
    EXPECT_NE(top, bottom);
    EXPECT_GT(top & 0xFF, 0xF0u) << "a shade of red at the top";
    // (the last pixel row is one gradient step short of the end colour)
    EXPECT_NEAR(int((bottom >> 16) & 0xFF), int((ColorToRGB(clInfoBk) >> 16) & 0xFF), 16) << "the active colour at the bottom";
    EXPECT_EQ(scrolls, 2) << "only the move to record 5";
}

TEST_F(RDBGridTest, FilteredTextIsTintedAndCheckBoxesReplaceValues)
{
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    QImage plain = Render();
    const TRect name2 = grid->CellRect(NameCol, 2);
    EXPECT_EQ(CountPixels(plain, name2, Navyish), 0);
    // Record 3 is rented (K), record 2 is not: two different glyphs, no letters.
    const TRect k = grid->CellRect(RentedCol, 3), e = grid->CellRect(RentedCol, 2);
    EXPECT_NE(plain.copy(k.Left, k.Top, k.Width(), k.Height()), plain.copy(e.Left, e.Top, e.Width(), e.Height()));
    EXPECT_TRUE(grid->FieldAsBooleanValue(data->FieldByName(QStringLiteral("RENTED"))) == false);
    data->SetFilter(QStringLiteral("STATUS = '0'"));
    data->SetFiltered(true);
    QImage filtered = Render();
    EXPECT_GT(CountPixels(filtered, grid->CellRect(NameCol, 2), Navyish), 3) << "text of a filtered grid in FontColorFiltered";
}

TEST_F(RDBGridTest, DrawBMPInCellCentresTheBitmap)
{
    TBitmap bmp(6, 6);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(Rect(0, 0, 6, 6));
    grid->OnDrawColumnCellEnd = [&](TComponent*, const TRect& R, int, TColumn* Column, TGridDrawState) {
        if (Column->FieldName() == QLatin1String("NAME"))
            grid->DrawBMPInCell(R, &bmp);
    };
    QImage img = Render();
    const TRect r = grid->CellRect(NameCol, 2);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(PixelColor(img, cx, cy), ColorToRGB(clBlue));
    EXPECT_NE(PixelColor(img, cx + 6, cy), ColorToRGB(clBlue));
    // Too small a rectangle draws nothing.
    TBitmap probe(4, 4);
    probe.Canvas()->Brush()->SetColor(clWhite);
    probe.Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_NO_THROW(grid->DrawBMPInCell(Rect(0, 0, 2, 2), &bmp));
}

// The end-of-cell events get the cell without the lines the grid does not
// draw: a pixel short on the right without column lines, at the bottom
// without row lines; titles and data cells alike.
TEST_F(RDBGridTest, EndOfCellEventsGetTheCellLessMissingLines)
{
    TRect title, cell;
    grid->OnDrawTitleCellEnd = [&](TComponent*, int ACol, int ARow, const TRect& R, TGridDrawState) {
        if (ACol == NameCol && ARow == 0)
            title = R;
    };
    grid->OnDrawColumnCellEnd = [&](TComponent*, const TRect& R, int, TColumn* Column, TGridDrawState) {
        if (Column->FieldName() == QLatin1String("NAME") && R.Top == grid->CellRect(NameCol, 2).Top)
            cell = R;
    };
    struct Case {
        TDBGridOptions Lines;
        int Right, Bottom;
    } cases[] = {{dgColLines | dgRowLines, 0, 0}, {dgRowLines, 1, 0}, {dgColLines, 0, 1}, {0, 1, 1}};
    for (const Case& c : cases) {
        grid->SetOptions((grid->Options() & ~(dgColLines | dgRowLines)) | c.Lines);
        Render();
        const TRect t = grid->CellRect(NameCol, 0), d = grid->CellRect(NameCol, 2);
        EXPECT_EQ(title, Rect(t.Left, t.Top, t.Right - c.Right, t.Bottom - c.Bottom)) << c.Lines;
        EXPECT_EQ(cell.Right, d.Right - c.Right) << c.Lines;
        EXPECT_EQ(cell.Bottom, d.Bottom - c.Bottom) << c.Lines;
    }
}

TEST_F(RDBGridTest, LookStylesAndDefaults)
{
    EXPECT_FALSE(grid->DefaultDrawing);
    EXPECT_EQ(grid->ColorActiveRow(), clInfoBk);
    EXPECT_EQ(grid->ColorOddRow(), TColor(0xC0DCC0));
    EXPECT_EQ(grid->FontColorFiltered(), TColor(0x800000));
    EXPECT_EQ(grid->PasswordChar, QLatin1Char('*'));
    EXPECT_TRUE(grid->Options() & dgTitleHotTrack);
    grid->SetRowFixHeight(4);
    EXPECT_EQ(grid->RowFixHeight(), 0);
    grid->SetTitleLines(0);
    EXPECT_EQ(grid->TitleLines(), 1);
    grid->SetGridLookStyle(grsOlive);
    const TGridLookStyleDef& d = GridLookStyleDefs[grsOlive];
    EXPECT_EQ(grid->ColorOddRow(), GetDefColor(d.TextBkColorOddRow, 0xC0DCC0));
    EXPECT_EQ(grid->OptionsEx2().Appearance.DrawColoredRow, d.TextBkColorOddRow != clNone);
    // While a form loads, a look style is ignored.
    TrDBGrid loading(nullptr);
    loading.BeginLoading();
    loading.SetGridLookStyle(grsOlive);
    EXPECT_EQ(loading.GridLookStyle(), grs_Default);
    EXPECT_EQ(GetCellAlignment(taRightJustify, taVerticalCenter, true), DT_NOPREFIX | DT_EXPANDTABS | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

TEST_F(RDBGridTest, RowAndTitleLinesSetTheRowHeights)
{
    const int th = grid->Canvas()->TextHeight(QStringLiteral("Wg"));
    const int one = grid->RowHeights(1);
    EXPECT_EQ(one, th + 3 + 1);
    grid->SetRowLines(2);
    EXPECT_EQ(grid->RowHeights(1), 2 * th + 3 + 1);
    grid->SetTitleLines(2);
    EXPECT_GE(grid->RowHeights(0), 2 * th + 4);
    grid->SetRowFixHeight(30);
    EXPECT_EQ(grid->RowHeights(2), 30);
    grid->SetOptions(grid->Options() & ~dgTitles);
    EXPECT_EQ(grid->RowHeights(0), 30) << "without titles every row is a data row";
}

TEST_F(RDBGridTest, FooterRowTakesItsBandOffTheCells)
{
    const int before = grid->GridClientRect().Bottom;
    grid->FooterRow()->FieldFooterDefs.Add(QStringLiteral("SECS=Yhteensä;R;B"));
    grid->FooterRow()->SetFooterVisible(true);
    EXPECT_EQ(grid->GridClientRect().Bottom, before - grid->FooterRow()->GetFooterRowHeight());
    EXPECT_EQ(grid->FooterRow()->GetFooterText(data->FieldByName(QStringLiteral("SECS"))), QStringLiteral("Yhteensä"));
    QImage img = Render();
    const TRect f = grid->FooterRow()->FooterRect();
    EXPECT_GT(CountPixels(img, grid->FooterRow()->FooterCellRect(6), [](QRgb p) { return qGray(p) < 80; }), 5)
        << "the footer text is drawn";
    EXPECT_GT(f.Height(), 10);
    // The footer's indicator cell is written in the fixed column's font.
    TFont big;
    big.SetSize(17);
    grid->FixedColText()->SetFont(big);
    grid->FooterRow()->FixedColText = QStringLiteral("Σ");
    int indicatorSize = 0;
    grid->OnDrawFooterCell = [&](TComponent*, const TRect&, int Col, TField*, QString&, bool&) {
        if (Col == 0)
            indicatorSize = grid->Canvas()->Font()->Size();
    };
    Render();
    EXPECT_EQ(indicatorSize, 17);
    grid->OnDrawFooterCell = nullptr;
    // The free text ends with the last column while that one is in view.
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(50);
    grid->FooterRow()->FieldFooterDefs.Clear();
    grid->FooterRow()->SimpleText = QStringLiteral("Yhteensä 24 juoksijaa");
    grid->FooterRow()->SimpleTextAlign = taRightJustify;
    img = Render();
    const int lastRight = grid->CellRect(grid->ColCount() - 1, 0).Right;
    EXPECT_GT(CountPixels(img, TRect(f.Left, f.Top, lastRight, f.Bottom), [](QRgb p) { return qGray(p) < 80; }), 5);
    EXPECT_EQ(CountPixels(img, TRect(lastRight + 2, f.Top + 1, f.Right, f.Bottom - 1), [](QRgb p) { return qGray(p) < 80; }), 0);
}

TEST_F(RDBGridTest, DataBarsStatusBarsAndDataImages)
{
    double mn = 0, mx = 0;
    TrDataBarText type = dbtValue;
    TColor from = 0, to = 0;
    grid->FieldsAsDataBar.Add(QStringLiteral("SECS=2800;3000,5;7;$0000FF00;$00FF0000"));
    grid->Fields_GetDataBarSettings(QStringLiteral("SECS"), mn, mx, type, from, to);
    EXPECT_EQ(mn, 2800);
    EXPECT_EQ(mx, 3000.5);
    EXPECT_EQ(type, dbtNothing) << "value types above 2 read as 2";
    EXPECT_EQ(from, TColor(0x00FF00));
    EXPECT_EQ(to, TColor(0xFF0000));
    grid->Fields_GetDataBarSettings(QStringLiteral("*1;2"), mn, mx, type, from, to);
    EXPECT_EQ(mx, 2);
    EXPECT_EQ(from, clNone);
    // Record 1 (2993 s) fills nearly the whole cell, shading from lime to blue;
    // record 10 (2930 s) two thirds of it.
    QImage img = Render();
    const TRect full = grid->CellRect(6, 1), part = grid->CellRect(6, 10);
    const TColor fullLeft = PixelColor(img, full.Left + 3, full.Top + 4), fullRight = PixelColor(img, full.Right - 8, full.Top + 4);
    EXPECT_GT(int((fullLeft >> 8) & 0xFF), 180) << "lime at the left";
    EXPECT_GT(int((fullRight >> 16) & 0xFF), 150) << "blue towards the right";
    EXPECT_EQ(PixelColor(img, part.Right - 8, part.Top + 4), ColorToRGB(clWindow)) << "no bar in the last third";
    EXPECT_GT(int((PixelColor(img, part.Left + 3, part.Top + 4) >> 8) & 0xFF), 180);
    // Data images chosen by value, by condition and by default; a word instead of an image.
    grid->DataImages.SetText(QStringLiteral("[STATUS]\r\n3=Hylätty\r\n*=1\r\n[SECS]\r\n>~2990=0\r\n<2900=2\r\nCfg_Align=L\r\n"));
    TDataImageDef def;
    data->Locate(QStringLiteral("ID"), 5);
    ASSERT_TRUE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("STATUS")), def));
    EXPECT_EQ(def.ShowText, QStringLiteral("Hylätty"));
    EXPECT_EQ(def.ImageIndex, -2);
    EXPECT_FALSE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("SECS")), def)) << "2965 s: no condition, no default";
    EXPECT_FALSE(def.UseDataImage);
    data->Locate(QStringLiteral("ID"), 1);
    ASSERT_TRUE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("SECS")), def));
    EXPECT_EQ(def.ImageIndex, 0);
    EXPECT_EQ(def.ImageAlignment, QStringLiteral("L"));
    ASSERT_TRUE(grid->GetDataImageDef(data->FieldByName(QStringLiteral("STATUS")), def));
    EXPECT_EQ(def.ImageIndex, 1);
    EXPECT_NO_THROW(Render());
}

TEST_F(RDBGridTest, TitleLinesBreakAtSeparatorsForcedSeparatorsAndCapitals)
{
    const int wide = grid->GetLineWidth(QStringLiteral("Laina-emit"), nullptr);
    const int first = grid->GetLineWidth(QStringLiteral("Laina-e"), nullptr);
    struct Case {
        const char* Text;
        int Width;
        const char* Force;
        const char* Line;
        const char* Rest;
    } cases[] = {
        {"Laina-emit", wide + 10, "", "Laina-emit", ""},
        {"Laina-emit", first, "", "Laina-", "emit"},
        {"Laina emit", first, "", "Laina ", "emit"},
        {"Laina;emit", 1000, ";", "Laina", "emit"},
        {"LainaEmit", first, "", "Laina", "Emit"},
    };
    for (const Case& c : cases) {
        grid->OptionsEx2().FixedCell.TitleForceWrapSeparators = QString::fromLatin1(c.Force);
        QString s = QString::fromLatin1(c.Text);
        EXPECT_EQ(grid->GetLine(s, c.Width, false), QString::fromLatin1(c.Line)) << c.Text;
        EXPECT_EQ(s, QString::fromLatin1(c.Rest)) << c.Text;
    }
}

TEST_F(RDBGridTest, GlyphsTakeTheTextColourAndTheActiveRowIsFramedWhole)
{
    // The record indicator takes the title font's colour.
    const TRect indicator = grid->CellRect(0, 1);
    EXPECT_EQ(CountPixels(Render(), indicator, IsRed), 0);
    TFont red = *grid->TitleFont();
    red.SetColor(clRed);
    grid->SetTitleFont(red);
    EXPECT_GT(CountPixels(Render(), indicator, IsRed), 3) << "the indicator's black drawn in the title colour";
    // The active row: every cell framed with DrawRowFocus, not only the current one.
    const TRect club = grid->CellRect(ClubCol, 1);
    const QImage plain = Render();
    grid->OptionsEx2().Appearance.DrawRowFocus = true;
    const QImage framed = Render();
    EXPECT_NE(plain.copy(club.Left, club.Top, club.Width(), club.Height()),
              framed.copy(club.Left, club.Top, club.Width(), club.Height()));
    const TRect other = grid->CellRect(ClubCol, 2);
    EXPECT_EQ(plain.copy(other.Left, other.Top, other.Width(), other.Height()),
              framed.copy(other.Left, other.Top, other.Width(), other.Height()));
    // A window filling the background gets the painted cell's row.
    std::set<int> rows;
    grid->OnDrawCellBackground = [&](TComponent*, int, int ARow, const TRect&, TGridDrawState) { rows.insert(ARow); };
    Render();
    EXPECT_TRUE(rows.count(1) && rows.count(2) && rows.count(5)) << rows.size();
}

namespace {

constexpr int SecsCol = 6;

// A cell's inside, clear of the grid lines.
TRect Inside(const TRect& R)
{
    return TRect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
}

bool NotWindow(QRgb p)
{
    return (p & 0xFFFFFF) != (ToQColor(clWindow).rgb() & 0xFFFFFF);
}

}  // namespace

// A bar field without settings: a data bar shows its text alone, a status
// bar nothing at all. A status bar's value may come from the general event.
TEST_F(RDBGridTest, BarsWithoutSettingsAndTheStatusValueOfTheGeneralEvent)
{
    const TRect secs = grid->CellRect(SecsCol, 3);
    auto cell = [&](const QImage& I) { return I.copy(secs.Left, secs.Top, secs.Width(), secs.Height()); };
    const QImage plain = Render();
    grid->FieldsAsDataBar.Add(QStringLiteral("SECS"));
    EXPECT_EQ(cell(Render()), cell(plain)) << "a data bar without settings";
    grid->FieldsAsDataBar.Clear();
    grid->FieldsAsStatusBar.Add(QStringLiteral("SECS"));
    EXPECT_EQ(CountPixels(Render(), Inside(secs), NotWindow), 0) << "a status bar without settings";
    // Five steps, undone red and done blue: 2979 s fills them all, unless
    // the window hands the bar another value.
    grid->FieldsAsStatusBar.Clear();
    grid->FieldsAsStatusBar.Add(QStringLiteral("SECS=5;0;$000000FF;$00FF0000"));
    const int blueOwn = CountPixels(Render(), secs, IsBlue);
    grid->OnGeneralEvent = [](TComponent*, TGeneralEventType T, TGeneralEventRec& R, bool&) {
        if (T == geGetStatusBarParam)
            R.FieldValue = 0;
    };
    const QImage byEvent = Render();
    EXPECT_GT(blueOwn, 10);
    EXPECT_EQ(CountPixels(byEvent, secs, IsBlue), 0) << "no step done";
    EXPECT_GT(CountPixels(byEvent, secs, IsRed), 10);
}

// Rows taller than their text keep glyphs, data images and single-line text
// at RowVerticalAlign; an image aligned left starts at the cell's left.
TEST_F(RDBGridTest, TallRowsKeepGlyphsImagesAndTextAtTheirVerticalAlignment)
{
    TImageList images(nullptr);
    images.SetSize(16, 16);
    FillImages(&images);
    images.Tag = 1;  // solid images: not transparent
    grid->SetDataImageList(&images);
    grid->DataImages.SetText(QStringLiteral("[STATUS]\r\n*=0\r\nCfg_Align=L\r\n"));
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->SetRowFixHeight(48);
    auto topmost = [](const QImage& I, const TRect& R, const std::function<bool(QRgb)>& Pred) {
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                if (Pred(I.pixel(x, y)))
                    return y - R.Top;
        return -1;
    };
    auto dark = [](QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; };
    const struct {
        TVerticalAlignment Align;
        int Lo, Hi;  // the first marked pixel row within the cell
    } cases[] = {{taAlignTop, 0, 8}, {taVerticalCenter, 12, 24}, {taAlignBottom, 26, 40}};
    for (const auto& c : cases) {
        grid->SetRowVerticalAlign(c.Align);
        const QImage img = Render();
        const TRect status = grid->CellRect(4, 3), rented = grid->CellRect(RentedCol, 3), club = grid->CellRect(ClubCol, 3);
        const int image = topmost(img, status, IsRed), box = topmost(img, rented, dark), text = topmost(img, Inside(club), dark);
        EXPECT_TRUE(image >= c.Lo && image <= c.Hi) << "image " << image << " align " << int(c.Align);
        EXPECT_TRUE(box >= c.Lo && box <= c.Hi) << "check box " << box << " align " << int(c.Align);
        EXPECT_TRUE(text >= c.Lo && text <= c.Hi) << "text " << text << " align " << int(c.Align);
        if (c.Align == taAlignTop) {
            int left = status.Right;
            for (int x = status.Left; x < status.Right; ++x)
                if (IsRed(img.pixel(x, status.Top + image + 4))) {
                    left = x;
                    break;
                }
            EXPECT_LE(left - status.Left, 1) << "an image aligned left starts at the cell's left";
        }
    }
    grid->SetDataImageList(nullptr);
}

// Marked rows of a multi-select grid show as selected only with
// HighlightMultiselect.
TEST_F(RDBGridTest, MarkedRowsShowOnlyWithHighlightMultiselect)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    data->Locate(QStringLiteral("ID"), 3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    data->First();
    const TPoint p = Blank(ClubCol, 3);
    const TColor highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(PixelColor(Render(), p.X, p.Y), highlight);
    grid->OptionsEx2().Appearance.HighlightMultiselect = false;
    EXPECT_EQ(PixelColor(Render(), p.X, p.Y), ColorToRGB(clWindow));
}

// Only a new width applies the column width mode again: a column the user
// widened keeps its width while the grid grows taller.
TEST_F(RDBGridTest, OnlyAWidthChangeAppliesTheColumnWidthModeAgain)
{
    grid->SetColumnWidthMode(cwSameWidth);
    TColumn* name = grid->Columns()->Items(1);
    const int same = name->Width();
    name->SetWidth(same + 40);
    grid->SetBounds(0, 0, 640, 300);
    EXPECT_EQ(name->Width(), same + 40) << "height only";
    grid->SetBounds(0, 0, 600, 300);
    EXPECT_NE(name->Width(), same + 40) << "a new width";
}
