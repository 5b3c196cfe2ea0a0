// Cells that show more than text (rich text, pictures), title images and
// buttons, the title line band, the fixed column's text mask and check box,
// the memo and picture dialogs, the coupled footer grid, drag-to-scroll and
// scaling.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/base/rImageZoom.h"
#include "components/base/rMemoEx.h"
#include "components/grid/rDBGridCellForms.h"
#include "components/grid/TPropSaveFile.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "components/grid/rDBGrid_MS.h"
#include "platform/ui/Menus.h"
#include "platform/database/DataSource.h"
#include "platform/database/Fields.h"
#include "platform/ui/FormIcon.h"
#include "platform/ui/ImgList.h"

#include <QApplication>
#include <algorithm>
#include <QBuffer>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace {

constexpr int IdCol = 1, NameCol = 2, ClubCol = 3;

QByteArray PngBytes(int W, int H, QRgb Colour)
{
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(Colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

// ID, NOTE (memo), PIC (picture).
std::unique_ptr<TClientDataSet> MakeCellsTable()
{
    auto d = std::make_unique<TClientDataSet>();
    d->AddField(QStringLiteral("ID"), ftInteger);
    d->AddField(QStringLiteral("NOTE"), ftMemo);
    d->AddField(QStringLiteral("PIC"), ftGraphic);
    d->CreateDataSet();
    const QString rtf = QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b Punainen teksti ÄÖ\\par}");
    d->AppendRecord({1, rtf, QVariant()});
    d->AppendRecord({2, QStringLiteral("Tavallinen muistio"), QVariant()});
    d->First();
    d->FieldByName(QStringLiteral("PIC"))->DataSet()->Edit();
    d->FieldByName(QStringLiteral("PIC"))->SetAsBytes(PngBytes(12, 8, qRgb(0, 0, 255)));
    d->Post();
    return d;
}

void Press(QWidget* W, int X, int Y)
{
    const QPointF p(X, Y);
    QMouseEvent e(QEvent::MouseButtonPress, p, W->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}

void DragTo(QWidget* W, int X, int Y)
{
    const QPointF p(X, Y);
    QMouseEvent e(QEvent::MouseMove, p, W->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}

void Release(QWidget* W, int X, int Y)
{
    const QPointF p(X, Y);
    QMouseEvent e(QEvent::MouseButtonRelease, p, W->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}

}  // namespace

class RDBGridCellsTest : public RDBGridTest {
protected:
    void UseCellsTable()
    {
        cells = MakeCellsTable();
        src->SetDataSet(cells.get());
        grid->Columns()->Items(1)->SetWidth(200);
        grid->Columns()->Items(2)->SetWidth(80);
        grid->SetRowFixHeight(40);
    }
    std::unique_ptr<TClientDataSet> cells;
};

TEST_F(RDBGridCellsTest, RichTextAndPictureContentAreDrawnFromTheField)
{
    UseCellsTable();
    grid->FieldsAsRichText.Add(QStringLiteral("NOTE"));
    // Memo glyphs win over content; rich text shows with memo contents on.
    grid->OptionsEx2().Editors.Memo = obtContent;
    QImage img = Render();
    const TRect note = grid->CellRect(2, 1);
    EXPECT_GT(CountPixels(img, note, IsRed), 20) << "the red RTF text is rendered, not its markup";
    // The second record's memo is plain text: no RTF colours.
    EXPECT_EQ(CountPixels(img, grid->CellRect(2, 2), IsRed), 0);
    // A picture field shows its glyph until picture content is asked for.
    const TRect pic = grid->CellRect(3, 1);
    EXPECT_EQ(CountPixels(img, pic, IsBlue), 0);
    grid->OptionsEx2().Editors.Graphic = obtContent;
    img = Render();
    EXPECT_EQ(CountPixels(img, pic, IsBlue), 12 * 8) << "the 12 x 8 picture at its own size";
    // A null picture draws nothing and raises nothing.
    EXPECT_EQ(CountPixels(img, grid->CellRect(3, 2), IsBlue), 0);
    EXPECT_EQ(grid->PaintScrollCount(), 0);
}

TEST_F(RDBGridCellsTest, PictureHintsNameTheKindAndSize)
{
    UseCellsTable();
    TField* pic = cells->FieldByName(QStringLiteral("PIC"));
    EXPECT_EQ(GetPictureHint(pic), QStringLiteral("PNG: 12 x 8"));
    cells->Next();
    EXPECT_EQ(GetPictureHint(pic), QStringLiteral("(empty)"));
    cells->Edit();
    pic->SetAsBytes(QByteArray("not a picture at all"));
    cells->Post();
    EXPECT_EQ(GetPictureHint(pic), QStringLiteral("(corrupted)"));
}

TEST_F(RDBGridCellsTest, MemoDialogWritesBackOnlyFromOkAndOnlyWhenEditable)
{
    UseCellsTable();
    TField* note = cells->FieldByName(QStringLiteral("NOTE"));
    const TRect cell = grid->CellRect(2, 2);
    const QString typed = QStringLiteral("Rivi yksi\r\nRivi kaksi: ÅÄÖ \"lainaus\"\tsarkain");
    TrDBGridMemoForm* seen = nullptr;
    QString shownText;
    bool okEnabled = false, readOnly = true;
    auto old = SetModalHook([&](TCustomForm* F) {
        seen = dynamic_cast<TrDBGridMemoForm*>(F);
        if (!seen)
            return int(mrCancel);
        okEnabled = seen->btOk->Enabled();
        readOnly = seen->Memo->ReadOnly();
        shownText = seen->Memo->Text();
        seen->Memo->SetText(typed);
        seen->btOkClick();
        return seen->ModalResult();
    });
    DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    ASSERT_NE(seen, nullptr) << "a double click on a memo cell opens the memo dialog";
    EXPECT_TRUE(okEnabled);
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(shownText, QStringLiteral("Tavallinen muistio"));
    EXPECT_EQ(note->AsString(), typed);
    cells->Post();

    // A read-only grid: "Ok" is disabled, the memo read-only, the field unchanged.
    grid->SetReadOnly(true);
    seen = nullptr;
    DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(note->AsString(), typed);
    SetModalHook(old);
}

// Enter on a picture cell or on a memo shown as a glyph opens its dialog,
// as a double click does; on a plain text cell it opens nothing.
TEST_F(RDBGridCellsTest, EnterOpensThePictureAndTheMemoDialog)
{
    UseCellsTable();
    grid->SetFocus();
    QStringList opened;
    auto old = SetModalHook([&](TCustomForm* F) {
        opened << (dynamic_cast<TrDBGridGraphicForm*>(F) ? QStringLiteral("picture")
                   : dynamic_cast<TrDBGridMemoForm*>(F) ? QStringLiteral("memo")
                                                          : F->Name());
        return int(mrCancel);
    });
    const struct {
        int DataCol;
        const char* Expected;
    } cases[] = {{2, "picture"}, {1, "memo"}, {0, ""}};
    for (const auto& c : cases) {
        opened.clear();
        grid->SetSelectedIndex(c.DataCol);
        Key(Qt::Key_Return, QStringLiteral("\r"));
        EXPECT_EQ(opened.join(QLatin1Char(',')), QString::fromLatin1(c.Expected)) << c.DataCol;
    }
    SetModalHook(old);
}

TEST_F(RDBGridCellsTest, PictureDialogEditsTheFieldItself)
{
    UseCellsTable();
    TField* pic = cells->FieldByName(QStringLiteral("PIC"));
    const TRect cell = grid->CellRect(3, 1);
    bool shown = false;
    auto old = SetModalHook([&](TCustomForm* F) {
        auto* g = dynamic_cast<TrDBGridGraphicForm*>(F);
        if (!g)
            return int(mrCancel);
        shown = true;
        EXPECT_EQ(g->GrType, gtPNG);
        EXPECT_EQ(g->DBImg->Picture()->Width(), 12);
        EXPECT_TRUE(g->tbClear->Enabled());
        g->ClearClick();
        return int(mrCancel);
    });
    DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    SetModalHook(old);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(pic->IsNull()) << "Cut empties the field";
}

TEST_F(RDBGridCellsTest, TitleButtonsAreFoundClickedAndDrawnWithoutSorting)
{
    TImageList images(form.get());
    FillImages(&images);
    images.Tag = 1;  // drawn opaque (a solid image would be all "transparent colour")
    grid->SetTitleImageList(&images);
    grid->TitleButtons.Add(QStringLiteral("NAME=0, 2,9"));
    grid->TitleImages.Add(QStringLiteral("CLUB=1"));
    TField* name = data->FieldByName(QStringLiteral("NAME"));
    ASSERT_EQ(grid->GetTitleButtonIndexes(name), 2) << "9 lies beyond the five images";
    EXPECT_EQ(grid->TitleButtonIndexes(), (std::vector<int>{0, 2}));
    EXPECT_EQ(grid->GetTitleButtonsWidth(name, false), 16 + 3 + 16);
    EXPECT_EQ(grid->Title_GetImageIndex(QStringLiteral("CLUB")), 1);

    TRect r = grid->CellRect(NameCol, 0);
    ASSERT_TRUE(grid->GetTitleButtonsRect(NameCol, r, true));
    const int y = (r.Top + r.Bottom) / 2;
    const QImage img = Render();
    EXPECT_TRUE(IsRed(img.pixel(r.Left + 8, y))) << "the first button shows image 0";
    EXPECT_TRUE(IsBlue(img.pixel(r.Left + 16 + 3 + 8, y))) << "the second button shows image 2";
    EXPECT_GT(CountPixels(img, grid->CellRect(ClubCol, 0), IsGreen), 100) << "the club title shows image 1";

    QVariant clicked;
    grid->OnTitleButtonClick = [&](TComponent*, TDataSet*, TColumn*, TField* F, const QVariant& V) {
        EXPECT_EQ(F, name);
        clicked = V;
    };
    Move(r.Left + 16 + 3 + 8, y);
    EXPECT_EQ(grid->MouseOverTitleButton(), 1);
    Click(r.Left + 16 + 3 + 8, y);
    EXPECT_EQ(clicked, QVariant(1)) << "the position among the buttons, not the image index";
    EXPECT_EQ(grid->SortFieldName(), QString()) << "a button click does not sort";
    // Between the buttons: nothing.
    clicked.clear();
    Click(r.Left + 16 + 1, y);
    EXPECT_FALSE(clicked.isValid());

    grid->Title_SetImageIndex(QStringLiteral("CLUB"), -1);
    EXPECT_EQ(grid->TitleImages.Count(), 0);
}

TEST_F(RDBGridCellsTest, TitleLineBandSitsAboveTheTitles)
{
    TTitleLineText* tl = grid->TitleLineText();
    const int before = grid->CellRect(NameCol, 0).Height();
    tl->SetFixHeight(3);
    EXPECT_EQ(tl->FixHeight(), 0);
    tl->SetText(QStringLiteral("Juoksuja %d||ei näy"));
    EXPECT_EQ(tl->GetLineCount(), 1) << "counting stops at the first empty part";
    tl->SetText(QStringLiteral("Juoksuja %d|Toinen rivi"));
    ASSERT_EQ(tl->GetLineCount(), 2);
    EXPECT_EQ(tl->SumHeight(), 2 * tl->LineHeight() + 1);
    EXPECT_EQ(grid->CellRect(NameCol, 0).Height(), before + tl->SumHeight());
    QString drawn;
    grid->OnDrawTitleLine = [&](TComponent*, const TRect&, QString& Text) { drawn = Text; };
    tl->SetColor(clYellow);
    const QImage img = Render();
    const TRect t = grid->CellRect(ClubCol, 0);
    EXPECT_EQ(PixelColor(img, t.Right - 3, t.Top + 2), TColor(clYellow)) << "the band across a title";
    EXPECT_NE(PixelColor(img, t.Right - 3, t.Bottom - 3), TColor(clYellow)) << "the title text area below it";
    EXPECT_EQ(drawn, tl->Text());
    tl->SetText(QString());
    EXPECT_EQ(grid->CellRect(NameCol, 0).Height(), before);
}

TEST_F(RDBGridCellsTest, FixedColumnMaskNumbersRowsAndTheCheckBoxFollowsSelection)
{
    TFixedColText* fc = grid->FixedColText();
    fc->SetTextMask(QStringLiteral("<<#>>. <<CLUB>>"));
    fc->SetFixedColWidth(150);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->LayoutChanged();
    EXPECT_EQ(grid->CellRect(0, 1).Width(), 150);
    struct Row {
        bool Active;
        QString Text;
        bool Checked;
    };
    std::vector<Row> rows;
    grid->OnGetFixedColState = [&](TComponent*, bool Active, TFont*, QString& Text, bool& Checked) {
        rows.push_back({Active, Text, Checked});
    };
    Render();
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0].Text, QStringLiteral("1. OK Espoo"));
    EXPECT_EQ(rows[3].Text, QStringLiteral("4. Rasti-Helsinki"));
    EXPECT_TRUE(rows[0].Active);
    EXPECT_EQ(grid->PaintScrollCount(), 0);

    // The check box shows the row's selection.
    fc->SetShowCheckbox(true);
    data->MoveBy(2);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    rows.clear();
    Render();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_FALSE(rows[0].Checked);
    EXPECT_TRUE(rows[2].Checked);

    // A new, unposted record has no number.
    data->Insert();
    rows.clear();
    Render();
    const auto active = std::find_if(rows.begin(), rows.end(), [](const Row& R) { return R.Active; });
    ASSERT_NE(active, rows.end());
    EXPECT_EQ(active->Text, QStringLiteral(". "));
    data->Cancel();
}

TEST_F(RDBGridCellsTest, FooterGridFollowsColumnsAndScrolling)
{
    auto* footer = new TrDBGrid(form.get());
    footer->SetParent(form.get());
    footer->SetBounds(0, 345, 640, 40);
    for (const char* n : {"F_SECS", "", "F_NAME"}) {
        TColumn* c = footer->Columns()->Add();
        c->SetFieldName(QString::fromLatin1(n));
    }
    grid->Columns()->Items(5)->SetWidth(123);
    grid->SetFooterDBGrid(footer, QStringLiteral("F_"), true, true);
    ASSERT_GE(footer->Columns()->Count(), grid->Columns()->Count());
    EXPECT_EQ(footer->Columns()->Items(1)->FieldName(), QStringLiteral("F_NAME"));
    EXPECT_EQ(footer->Columns()->Items(5)->FieldName(), QStringLiteral("F_SECS"));
    EXPECT_EQ(footer->Columns()->Items(5)->Width(), 123);
    EXPECT_FALSE(footer->Options() & dgColumnResize);
    grid->SetLeftCol(3);
    EXPECT_EQ(footer->LeftCol(), 3);
    footer->SetLeftCol(2);
    EXPECT_EQ(grid->LeftCol(), 2) << "the master follows the footer grid's scrolling";
    delete footer;
    EXPECT_EQ(grid->FooterDBGrid(), nullptr);
    grid->SetLeftCol(1);
}

TEST_F(RDBGridCellsTest, DragToScrollMovesTheRowsWithTheMouse)
{
    grid->OptionsEx2().Appearance.DragToScrollData = true;
    grid->SetHeight(200);
    data->MoveBy(15);
    QWidget* w = grid->Widget();
    const TRect from = grid->CellRect(IdCol, 4);
    const TRect to = grid->CellRect(IdCol, 7);
    Press(w, from.Left + 5, from.Top + 5);
    const int pressed = data->RecNo();
    const int first = grid->DataLink()->FirstRecord();
    ASSERT_GE(first, 3);
    EXPECT_TRUE(grid->IsDataScrolling());
    DragTo(w, to.Left + 5, to.Top + 5);
    Release(w, to.Left + 5, to.Top + 5);
    EXPECT_FALSE(grid->IsDataScrolling());
    EXPECT_EQ(data->RecNo(), pressed) << "the current record stays while the rows move";
    EXPECT_EQ(grid->DataLink()->FirstRecord(), first - 3) << "dragging three rows down brings three earlier records in";
}

TEST_F(RDBGridCellsTest, ScrollingTheDataKeepsTheCurrentRecord)
{
    grid->SetHeight(200);
    const int window = grid->DataLink()->BufferCount();
    const int count = data->RecordCount();
    ASSERT_LE(window + 6, count);
    // Window start, current record, rows asked for -> new window start. The
    // result is what the first move (to beyond the window's edge) covered.
    struct Case { int Start, Current, By, NewStart; } cases[] = {
        {3, 5, -2, 1}, {3, 5, 2, 5}, {0, 2, -2, 0}, {2, 4, 0, 2}, {count - window, count - 2, 3, count - window},
    };
    for (const Case& c : cases) {
        data->First();
        data->MoveBy(c.Start + window - 1);
        data->MoveBy(c.Current - (c.Start + window - 1));
        ASSERT_EQ(grid->DataLink()->FirstRecord(), c.Start);
        const int rec = data->RecNo();
        const int a = c.By < 0 ? c.Current - c.Start : c.Current - c.Start - window + 1;
        const int covered = c.By == 0 ? 0 : std::clamp(c.Current + c.By - a, 0, count - 1) - c.Current;
        EXPECT_EQ(grid->ScrollData(c.By), covered) << c.Start << " " << c.By;
        EXPECT_EQ(data->RecNo(), rec) << "the current record stays";
        EXPECT_EQ(grid->DataLink()->FirstRecord(), c.NewStart) << c.Start << " " << c.By;
    }
}

TEST_F(RDBGridCellsTest, ScalingGrowsTheRatioAndTheFixedColumn)
{
    grid->FixedColText()->SetFixedColWidth(20);
    bool before = false, after = false;
    grid->OnGeneralEvent = [&](TComponent*, TGeneralEventType T, TGeneralEventRec&, bool&) {
        before |= T == geChangeScaleBefore;
        after |= T == geChangeScaleAfter;
    };
    grid->ChangeScale(3, 2);
    EXPECT_DOUBLE_EQ(grid->ScaleRatio(), 1.5);
    EXPECT_EQ(grid->FixedColText()->FixedColWidth(), 30);
    EXPECT_EQ(grid->UseScale(10), 15);
    EXPECT_TRUE(before && after);
    // A window may keep the grid as it is.
    grid->OnGeneralEvent = [](TComponent*, TGeneralEventType T, TGeneralEventRec&, bool& Cont) {
        Cont = T != geChangeScaleBefore;
    };
    grid->ChangeScale(2, 1);
    EXPECT_DOUBLE_EQ(grid->ScaleRatio(), 1.5);
}

TEST_F(RDBGridCellsTest, HintsOfMemosPicturesAndButtonsAndLongTextsCut)
{
    auto hint = [&](int c, int r) { return Hint(c, r); };
    UseCellsTable();
    EXPECT_EQ(hint(3, 1), QStringLiteral("PNG: 12 x 8")) << "a picture cell always shows its kind and size";
    EXPECT_EQ(hint(3, 2), QStringLiteral("(empty)"));
    // A short memo is shown although it fits; a long one is cut with "...".
    EXPECT_EQ(hint(2, 2), QStringLiteral("Tavallinen muistio"));
    grid->OptionsEx2().Appearance.HintMaxLength = 10;
    EXPECT_EQ(hint(2, 2), QStringLiteral("Tavallinen..."));
    // Rich text shows as plain text.
    grid->OptionsEx2().Appearance.HintMaxLength = 2000;
    grid->FieldsAsRichText.Add(QStringLiteral("NOTE"));
    EXPECT_EQ(hint(2, 1).trimmed(), QStringLiteral("Punainen teksti ÄÖ"));
}

TEST_F(RDBGridCellsTest, OneLineFooterTextRunsOverColumnsWithoutTheirOwn)
{
    TFooterRow* fr = grid->FooterRow();
    fr->FieldFooterDefs.Add(QStringLiteral("NAME=Yhteensä kaksikymmentäneljä juoksijaa neljästä seurasta, hylättyjä neljä"));
    fr->FieldFooterDefs.Add(QStringLiteral("RENTED=K"));
    fr->SetFooterVisible(true);
    const QImage img = Render();
    auto dark = [](QRgb p) { return qGray(p) < 110; };
    const TRect club = fr->FooterCellRect(ClubCol);
    const TRect status = fr->FooterCellRect(ClubCol + 1);
    const TRect rented = fr->FooterCellRect(ClubCol + 2);
    EXPECT_GT(CountPixels(img, Rect(club.Left + 2, club.Top + 2, club.Right - 2, club.Bottom - 2), dark), 20)
        << "the name total runs over the club column";
    EXPECT_GT(CountPixels(img, Rect(status.Left + 2, status.Top + 2, status.Right - 2, status.Bottom - 2), dark), 20);
    // It stops before the next column with a footer text of its own: that one keeps its own text only.
    const int rentedDark = CountPixels(img, Rect(rented.Left + 2, rented.Top + 2, rented.Right - 2, rented.Bottom - 2), dark);
    EXPECT_GT(rentedDark, 0);
    EXPECT_LT(rentedDark, 60);
}

// A window that changes the footer's texts sees them at once: every kind of
// change of the definitions repaints the footer.
TEST_F(RDBGridCellsTest, FooterRepaintsWhenItsDefinitionsChange)
{
    TFooterRow* fr = grid->FooterRow();
    fr->SetFooterVisible(true);
    int paints = 0;
    grid->OnDrawFooterRow = [&](TComponent*, const TRect&, QString&, bool&) { ++paints; };
    form->Show();
    QTest::qWait(20);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"add", [&] { fr->FieldFooterDefs.Add(QStringLiteral("NAME=%COUNTALL")); }},
        {"value", [&] { fr->FieldFooterDefs.SetValues(QStringLiteral("NAME"), QStringLiteral("juoksijoita")); }},
        {"text", [&] { fr->FieldFooterDefs.SetText(QStringLiteral("SECS=%SUM")); }},
        {"clear", [&] { fr->FieldFooterDefs.Clear(); }},
    };
    for (const auto& [what, change] : changes) {
        QTest::qWait(5);
        paints = 0;
        change();
        QTest::qWait(20);
        EXPECT_GT(paints, 0) << what;
    }
}

TEST_F(RDBGridCellsTest, RotatedTitlesRunUpwardsAndTheWindowMayChangeThem)
{
    grid->SetTitleLines(5);
    grid->OnGetFixedRowState = [](TComponent*, int, TColumn* Column, TFont* Font, QString& Text, bool& Rotate) {
        if (Column->FieldName() == QLatin1String("CLUB")) {
            Text = QStringLiteral("Seura");
            Rotate = true;
            Font->SetColor(clRed);
        }
    };
    const QImage img = Render();
    const TRect t = grid->CellRect(ClubCol, 0);
    // The rotated text is taller than wide, near the left of a left-aligned title.
    int minX = t.Right, maxX = t.Left, minY = t.Bottom, maxY = t.Top;
    for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x)
            if (IsRed(img.pixel(x, y))) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_LT(minX, maxX) << "the changed font colour is used";
    EXPECT_GT(maxY - minY, 2 * (maxX - minX)) << "the text runs upwards";
    EXPECT_GT(maxY, t.Bottom - 8) << "from the bottom of the title";
}

TEST_F(RDBGridCellsTest, NotProcOptionsLeaveDoubleClicksToTheWindow)
{
    UseCellsTable();
    int dialogs = 0, windowDbl = 0;
    auto old = SetModalHook([&](TCustomForm*) {
        ++dialogs;
        return int(mrCancel);
    });
    grid->OnDblClick = [&](TComponent*) { ++windowDbl; };
    const TRect memo = grid->CellRect(2, 2), pic = grid->CellRect(3, 1);
    auto dbl = [&](const TRect& R) { DoubleClick((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); };
    struct Case { const char* name; bool all, memo, graphic; int dialogs, window; };
    const Case cases[] = {{"none", false, false, false, 2, 0},
                          {"memo", false, true, false, 1, 1},
                          {"graphic", false, false, true, 1, 1},
                          {"all", true, false, false, 0, 2}};
    for (const Case& c : cases) {
        TOptionsEditors& e = grid->OptionsEx2().Editors;
        e.NotProcDblClick = c.all;
        e.NotProcMemoDblClick = c.memo;
        e.NotProcGraphicDblClick = c.graphic;
        dialogs = windowDbl = 0;
        dbl(memo);
        grid->HideEditor();
        dbl(pic);
        grid->HideEditor();
        EXPECT_EQ(dialogs, c.dialogs) << c.name;
        EXPECT_EQ(windowDbl, c.window) << c.name;
    }
    SetModalHook(old);
}

TEST_F(RDBGridCellsTest, TheMemoDialogKeepsItsMenuStatesAndFont)
{
    UseCellsTable();
    TPropSaveFile file(nullptr);
    file.SetContent(QString());
    grid->SetPropSaveFile(&file);
    const TRect cell = grid->CellRect(2, 2);
    bool wrapSeen = true;
    int fontSeen = 0;
    auto old = SetModalHook([&](TCustomForm* F) {
        auto* m = dynamic_cast<TrDBGridMemoForm*>(F);
        if (!m)
            return int(mrCancel);
        wrapSeen = m->mnWrap->Checked();
        fontSeen = m->Memo->Font()->Size();
        m->mnWrap->SetChecked(false);
        TFont font = *m->Memo->Font();
        font.SetSize(19);
        m->Memo->Font()->Assign(font);
        return int(mrCancel);
    });
    DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    EXPECT_TRUE(wrapSeen) << "wrapping is on at first";
    const QString text = file.GetContent();
    EXPECT_TRUE(text.contains(QStringLiteral("_MemoForm.mnWrap]"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("_MemoForm.Memo]")));
    DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    EXPECT_FALSE(wrapSeen) << "the stored menu state comes back";
    EXPECT_EQ(fontSeen, 19);
    SetModalHook(old);
    grid->SetPropSaveFile(nullptr);
}

TEST_F(RDBGridCellsTest, HtmlHintWindowGetsTheRichTextAndThePictureAndHandlersTheRecord)
{
    UseCellsTable();
    grid->FieldsAsRichText.Add(QStringLiteral("NOTE"));
    TComponent htmlHint(nullptr);
    TPicture hintPicture;
    ParioCompConfig.Global_HTMLHintComponent = &htmlHint;
    ParioCompConfig.Global_HTMLHintPicture = &hintPicture;
    const QString rtf = cells->FieldByName(QStringLiteral("NOTE"))->AsString();
    EXPECT_EQ(Hint(2, 1), rtf + QStringLiteral("<<HINTRICHTEXT>>")) << "the HTML hint renders the RTF itself";
    EXPECT_EQ(Hint(3, 1), QStringLiteral("PNG: 12 x 8<<HINTIMG>>"));
    EXPECT_EQ(hintPicture.Width(), 12) << "the hint window's picture is the cell's";
    ParioCompConfig.Global_HTMLHintComponent = nullptr;
    ParioCompConfig.Global_HTMLHintPicture = nullptr;
    EXPECT_EQ(Hint(3, 1), QStringLiteral("PNG: 12 x 8"));
    // The hint handler gets the hovered record: memo text with its line breaks made one line.
    cells->Last();
    cells->Edit();
    cells->FieldByName(QStringLiteral("NOTE"))->SetAsString(QStringLiteral("Rivi 1\r\nRivi 2"));
    cells->Post();
    QString note;
    grid->OnGetHintStringEx = [&](TComponent*, TColumn*, bool, bool, const TStringList& Values, const QString&, QString&) {
        note = Values.Values(QStringLiteral("NOTE"));
    };
    Hint(2, 2);
    EXPECT_EQ(note, QStringLiteral("Rivi 1 | Rivi 2"));
}

TEST_F(RDBGridCellsTest, AReadOnlyCellKeepsItsEllipsisButtonWhenAllowed)
{
    grid->SetOptions(grid->Options() | dgEditing);
    TColumn* club = grid->Columns()->Items(2);
    club->ButtonStyle = cbsEllipsis;
    club->SetReadOnly(true);
    int clicks = 0;
    grid->OnEditButtonClick = [&](TComponent*) { ++clicks; };
    grid->SetSelectedIndex(2);
    grid->ShowEditor();
    EXPECT_FALSE(grid->EditorMode()) << "a read-only cell has no editor by default";

    grid->OptionsEx2().Editors.AllowReadOnlyButton = true;
    grid->ShowEditor();
    ASSERT_TRUE(grid->EditorMode());
    TInplaceEdit* ed = grid->GetInplaceEditor();
    const QString before = data->FieldByName(QStringLiteral("CLUB"))->AsString();
    QTest::keyClicks(ed->Widget(), QStringLiteral("xyz"));
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->AsString(), before);
    EXPECT_FALSE(ed->Text().contains(QStringLiteral("xyz"))) << "nothing can be typed";
    QWidget* button = ed->Widget()->childAt(ed->Width() - 3, ed->Height() / 2);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(RDBGridCellsTest, FrozenColumnsStayAndPushTheCurrentColumnRight)
{
    grid->SetCol(2);
    grid->SetFixedCols(2);
    EXPECT_EQ(grid->FixedCols(), 3);
    EXPECT_EQ(grid->Col(), 3) << "the current column moves to the first column that scrolls";
    // Columns rebuilt by a dialog or a saver keep the frozen ones.
    grid->Columns()->RestoreDefaults();
    grid->LayoutChanged();
    EXPECT_EQ(grid->FixedCols(), 3);
    EXPECT_GE(grid->Col(), 3);
}

TEST_F(RDBGridCellsTest, TheMultiSelectGridKeepsItsOwnSelection)
{
    auto* ms = new TrDBGrid_MS(form.get());
    ms->SetParent(form.get());
    ms->SetBounds(0, 0, 640, 340);
    ms->SetDataSource(src.get());
    QWidget* w = ms->Widget();
    for (int row : {2, 4}) {
        const TRect r = ms->CellRect(2, row);
        QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, QPoint(r.Left + 5, r.Top + 5));
    }
    EXPECT_EQ(ms->GetSelectedRecCount(), 2);
    EXPECT_EQ(data->RecNo(), 4);
    EXPECT_TRUE(ms->IsActiveSelected());
    EXPECT_EQ(ms->SelectedRows()->Count(), 0) << "the base grid's selection stays empty";
    TFont font;
    TDataImageDef def;
    TColor bg = clWindow;
    ms->GetCellParams(data->FieldByName(QStringLiteral("NAME")), &font, bg, def, false, false);
    EXPECT_EQ(bg, clHighlight);
    bg = clWindow;
    ms->GetCellParamsAsNotSelected(data->FieldByName(QStringLiteral("NAME")), &font, bg, def, false, false);
    EXPECT_EQ(bg, clWindow);
    // Ctrl+Space takes the current record out again.
    QTest::keyClick(w, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(ms->GetSelectedRecCount(), 1);
    EXPECT_FALSE(ms->IsActiveSelected());

    data->Close();
    EXPECT_FALSE(ms->IsActiveSelected());
    EXPECT_EQ(ms->GetSelectedRecCount(), 0) << "bookmarks of a closed dataset are dropped";
    try {
        ms->rBookmarks()->CurrentRow();
        ADD_FAILURE() << "no error on a closed dataset";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
}

TEST_F(RDBGridCellsTest, DragCellStartsADragFromADataCellOnly)
{
    int starts = 0, ends = 0;
    grid->OnStartDrag = [&](TComponent*) { ++starts; };
    grid->OnEndDrag = [&](TComponent*, TComponent*, int, int) { ++ends; };
    QWidget* w = grid->Widget();
    auto drag = [&](int Col, int Row) {
        const TRect r = grid->CellRect(Col, Row);
        Press(w, r.Left + 5, r.Top + 5);
        DragTo(w, r.Left + 40, r.Top + 30);
        Release(w, r.Left + 40, r.Top + 30);
    };
    drag(2, 3);
    EXPECT_EQ(starts, 0) << "off by default";
    grid->OptionsEx2().Appearance.DragCell = true;
    drag(2, 3);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(grid->Dragging());
    // A click without moving ends the pending drag quietly.
    const TRect r = grid->CellRect(2, 4);
    Press(w, r.Left + 5, r.Top + 5);
    Release(w, r.Left + 5, r.Top + 5);
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(grid->Dragging());
    // Titles are not dragged as cells.
    grid->SetOptions(grid->Options() & ~dgColumnResize);
    drag(2, 0);
    EXPECT_EQ(starts, 1);
}

TEST_F(RDBGridCellsTest, TheGridRemembersTheLastTwoCurrentRecords)
{
    data->First();
    const TBookmark first = data->GetBookmark();
    Key(Qt::Key_Down);
    const TBookmark second = data->GetBookmark();
    Key(Qt::Key_Down);
    EXPECT_TRUE(grid->ActiveBookmark() == data->GetBookmark());
    EXPECT_TRUE(grid->PrevActiveBookmark() == second);
    EXPECT_FALSE(grid->PrevActiveBookmark() == first);
}

TEST_F(RDBGridCellsTest, APressBesideTheCellsWritesWhatIsBeingTyped)
{
    grid->SetOptions(grid->Options() | dgEditing);
    grid->Columns()->Items(5)->SetWidth(40);
    form->Show();
    Application->ProcessMessages();
    grid->SetSelectedIndex(2);
    const int rec = data->RecNo();
    grid->ShowEditor();
    TInplaceEdit* ed = grid->GetInplaceEditor();
    ASSERT_NE(ed, nullptr);
    ed->SetFocus();
    Application->ProcessMessages();
    QTest::keyClicks(ed->Widget(), QStringLiteral("Kiito"));
    ASSERT_TRUE(grid->DataLink()->Editing());
    ASSERT_TRUE(grid->Focused() || ed->Focused());
    const int right = grid->CellRect(grid->ColCount() - 1, 1).Right;
    ASSERT_LT(right + 10, grid->Width() - 20);
    Press(grid->Widget(), right + 10, grid->CellRect(1, 3).Top + 4);
    Release(grid->Widget(), right + 10, grid->CellRect(1, 3).Top + 4);
    EXPECT_EQ(data->RecNo(), rec) << "no other record is chosen";
    EXPECT_TRUE(data->FieldByName(QStringLiteral("CLUB"))->AsString().endsWith(QStringLiteral("Kiito")));
    data->Cancel();
    form->Hide();
}

TEST_F(RDBGridCellsTest, MovingOntoAnotherTitleButtonShowsItsHint)
{
    TImageList images(form.get());
    FillImages(&images);
    grid->SetTitleImageList(&images);
    grid->TitleButtons.Add(QStringLiteral("NAME=0,2"));
    grid->TitleHints.Add(QStringLiteral("NAME_Button1=Lisää"));
    grid->TitleHints.Add(QStringLiteral("NAME_Button2=Poista"));
    TRect r = grid->CellRect(NameCol, 0);
    ASSERT_TRUE(grid->GetTitleButtonsRect(NameCol, r, true));
    const int y = (r.Top + r.Bottom) / 2;
    // Button, gap, button, button again: the hint follows within the one title cell.
    const std::pair<int, const char*> moves[] = {{8, "Lisää"}, {16 + 3 + 8, "Poista"}, {8, "Lisää"}};
    for (const auto& [dx, hint] : moves) {
        Move(r.Left + dx, y);
        EXPECT_EQ(grid->Hint(), QString::fromUtf8(hint)) << dx;
    }
}

TEST_F(RDBGridCellsTest, TheFixedColumnAndTopLeftCellTrackTheMouseAsButtons)
{
    const TRect fixedCell = grid->CellRect(0, 3);
    Move(fixedCell.Left + 3, fixedCell.Top + 3);
    EXPECT_EQ(grid->HotTrackCell().X, 0);
    EXPECT_EQ(grid->HotTrackCell().Y, 3);
    QWidget* w = grid->Widget();
    Press(w, fixedCell.Left + 3, fixedCell.Top + 3);
    EXPECT_TRUE(grid->HotTrackPressed()) << "the pressed look";
    int clicks = 0;
    grid->OnFixColClick = [&](TComponent*) { ++clicks; };
    Release(w, fixedCell.Left + 3, fixedCell.Top + 3);
    EXPECT_FALSE(grid->HotTrackPressed());
    EXPECT_EQ(clicks, 1);
    // Without the option the fixed column is no button.
    grid->OptionsEx2().FixedCell.FixedColBtn = false;
    Move(fixedCell.Left + 3, fixedCell.Top + 3 + grid->CellRect(0, 4).Height());
    EXPECT_LT(grid->HotTrackCell().X, 0);
    const TRect topLeft = grid->CellRect(0, 0);
    Move(topLeft.Left + 3, topLeft.Top + 3);
    EXPECT_EQ(grid->HotTrackCell().X, 0);
    EXPECT_EQ(grid->HotTrackCell().Y, 0);
}

TEST_F(RDBGridCellsTest, AFirstColumnSizedPastTheGridComesBackWithinReach)
{
    QWidget* w = grid->Widget();
    const TRect first = grid->CellRect(1, 0);
    Press(w, first.Right - 1, first.Top + 4);
    ASSERT_EQ(grid->GridState(), gsColSizing);
    DragTo(w, grid->Width() + 200, first.Top + 4);
    Release(w, grid->Width() + 200, first.Top + 4);
    const int width = grid->Columns()->Items(0)->Width();
    EXPECT_GE(width, 16);
    EXPECT_LT(grid->CellRect(1, 0).Left + width, grid->ClientWidth()) << "its border can be reached again";
}

// The memo and picture dialogs carry their cell's glyph as a 16-pixel icon
// and open over the grid's top-left corner.
TEST_F(RDBGridCellsTest, CellDialogsCarryTheirGlyphAndOpenOverTheGrid)
{
    UseCellsTable();
    QImage icon;
    TPoint at{-1, -1};
    TPosition position = poDefault;
    auto old = SetModalHook([&](TCustomForm* F) {
        TBitmap b;
        GetFormIcon(F, &b);
        icon = b.Image();
        at = TPoint{F->Left(), F->Top()};
        position = F->Position();
        return int(mrCancel);
    });
    const TPoint origin = grid->ClientOrigin();
    const struct {
        const char* Field;
        int Col, Row;
    } cases[] = {{"NOTE", 2, 2}, {"PIC", 3, 1}};
    for (const auto& c : cases) {
        icon = QImage();
        const TRect cell = grid->CellRect(c.Col, c.Row);
        DoubleClick((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
        grid->HideEditor();
        EXPECT_EQ(icon.size(), QSize(16, 16)) << c.Field;
        int drawn = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                drawn += qAlpha(icon.pixel(x, y)) > 0;
        EXPECT_GT(drawn, 4) << c.Field << ": the glyph";
        EXPECT_LT(drawn, 16 * 16) << c.Field << ": around it the icon is clear";
        EXPECT_EQ(position, poDesigned) << c.Field;
        EXPECT_EQ(at.X, origin.X - 10) << c.Field;
        EXPECT_EQ(at.Y, origin.Y - 10) << c.Field;
    }
    SetModalHook(old);
}

// The fixed column's settings lay the grid out as they change; a width below
// 8 is stored as 0; its own font ends ParentFont, which takes the grid's font
// back in; the window learns a row's selection also without a check box.
TEST_F(RDBGridCellsTest, FixedColumnSettingsLayTheGridOutAndItsWindowLearnsTheSelection)
{
    TFixedColText* fc = grid->FixedColText();
    EXPECT_EQ(fc->FixedColWidth(), 11);
    const int platformWidth = grid->CellRect(0, 1).Width();
    fc->SetFixedColWidth(90);
    EXPECT_EQ(grid->CellRect(0, 1).Width(), 90) << "no layout pass asked for";
    fc->SetFixedColWidth(5);
    EXPECT_EQ(fc->FixedColWidth(), 0);
    EXPECT_EQ(grid->CellRect(0, 1).Width(), platformWidth);
    TFont own;
    own.SetSize(15);
    fc->SetFont(own);
    EXPECT_FALSE(fc->ParentFont());
    fc->SetParentFont(true);
    EXPECT_EQ(fc->Font().Size(), grid->Font()->Size());

    fc->SetFixedColWidth(60);
    fc->SetTextMask(QStringLiteral("<<#>>"));
    grid->SetOptions(grid->Options() | dgMultiSelect);
    data->MoveBy(1);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    data->First();
    std::vector<bool> checked;
    grid->OnGetFixedColState = [&](TComponent*, bool, TFont*, QString&, bool& Checked) { checked.push_back(Checked); };
    Render();
    ASSERT_GE(checked.size(), 2u);
    EXPECT_FALSE(checked[0]);
    EXPECT_TRUE(checked[1]) << "the second row is selected";
    // The top-left text is laid out as the titles are: the window has its say.
    fc->SetTitleText(QStringLiteral("Nro"));
    QStringList asked;
    grid->OnGetFixedRowState = [&asked](TComponent*, int, TColumn* Column, TFont*, QString& Text, bool&) {
        if (!Column)
            asked << Text;
    };
    Render();
    EXPECT_EQ(asked, QStringList{QStringLiteral("Nro")});
}
