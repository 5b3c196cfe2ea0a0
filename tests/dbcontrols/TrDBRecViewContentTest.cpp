// The record view's content: picture rows, rows that grow to their content,
// completion of typed text from a pick list (typed as real keys), lookup rows
// that write their keys, the linked grid's pick lists and ellipsis buttons,
// the hand over a link and hints for values cut off.

#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"
#include "tests/dbcontrols/RunFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace {

class RecViewContentTest : public RunFixture {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        photos.AddField(QStringLiteral("NAME"), ftWideString, 20);
        photos.AddField(QStringLiteral("PHOTO"), ftGraphic);
        photos.AddField(QStringLiteral("STORY"), ftWideString, 400);
        photos.CreateDataSet();
        TBitmap red(40, 20);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(Rect(0, 0, 40, 20));
        photos.AppendRecord({QStringLiteral("Punainen"), red.SaveToData("PNG"), QString(40, QLatin1Char('x')).replace(QLatin1Char('x'), QStringLiteral("sana "))});
        photos.AppendRecord({QStringLiteral("Rikki"), QByteArray("no picture here"), QString()});
        photos.First();
        photoSrc.SetDataSet(&photos);
    }
    TrDBRecView* MakeView(TDataSource* Source, int W = 360, int H = 300)
    {
        auto* v = Make<TrDBRecView>(10, 10, W, H);
        v->SetOptions(v->Options() | goEditing);
        v->SetDataSource(Source);
        return v;
    }
    static void MoveMouse(QWidget* W, QPoint P)
    {
        QMouseEvent move(QEvent::MouseMove, P, W->mapToGlobal(P), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(W, &move);
    }
    static TBitmap Shot(TrDBRecView* V)
    {
        TBitmap b;
        V->PaintTo(&b);
        return b;
    }
    TClientDataSet photos;
    TDataSource photoSrc;
};

TEST_F(RecViewContentTest, PictureRowsShowThePictureScaledToTheCellOrSayItIsCorrupted)
{
    struct Case {
        TRect cell;
        int w, h;
        TRect placed;
    };
    const Case cases[] = {
        {Rect(0, 0, 100, 50), 40, 20, Rect(30, 15, 70, 35)},    // smaller: its own size, centred
        {Rect(0, 0, 100, 50), 200, 50, Rect(0, 12, 100, 37)},   // wider: scaled to the width
        {Rect(0, 0, 100, 50), 50, 100, Rect(37, 0, 62, 50)},    // higher: scaled to the height
        {Rect(10, 10, 110, 60), 100, 50, Rect(10, 10, 110, 60)}, // exactly the cell
    };
    for (const Case& c : cases) {
        const TRect r = TrDBRecView::PictureRect(c.cell, c.w, c.h);
        EXPECT_EQ(r, c.placed) << c.w << "x" << c.h;
    }
    auto* v = MakeView(&photoSrc);
    ASSERT_EQ(v->FieldNames().value(1), QStringLiteral("PHOTO"));
    const TRect cell = v->CellRect(1, 1);
    TBitmap shot = Shot(v);
    EXPECT_EQ(shot.Pixel((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2), clRed) << "the picture, not its caption";
    photos.Next();
    shot = Shot(v);
    EXPECT_NE(shot.Pixel((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2), clRed);
}

TEST_F(RecViewContentTest, AutoHeightRowsGrowToTheirTextAndPicture)
{
    auto* v = MakeView(&photoSrc, 260, 400);
    v->SetFields({QStringLiteral("NAME"), QStringLiteral("STORY"), QStringLiteral("PHOTO")});
    const int storyBefore = v->RowHeights(1), nameBefore = v->RowHeights(0);
    v->SetOptionsEx(GridOptEx(goAutoHeight));
    EXPECT_FALSE(v->Options() & goRowSizing) << "the user cannot size rows that size themselves";
    Shot(v);
    Shot(v);
    EXPECT_GT(v->RowHeights(1), storyBefore) << "forty words wrap over several lines";
    EXPECT_EQ(v->RowHeights(0), nameBefore) << "one line stays one line";
    EXPECT_EQ(v->RowHeights(2), 24) << "the picture's 20 pixels and the margins";
}

TEST_F(RecViewContentTest, TypedKeysCompleteFromThePickList)
{
    auto* v = MakeView(&src);
    v->SetFields({QStringLiteral("PERSON_NAME")});
    v->SetPickLists({QStringLiteral("[PERSON_NAME]"), QStringLiteral("Bertta Berg"), QStringLiteral("Abc")});
    v->FocusCell(1, 0, true);
    v->ShowEditor();
    TInplaceEdit* e = v->InplaceEditor();
    ASSERT_NE(e, nullptr);
    e->SetSelStart(0);
    e->SetSelLength(int(e->Text().size()));
    e->SetText(QString());
    QWidget* w = e->Widget();
    QTest::keyClicks(w, QStringLiteral("ab"));
    EXPECT_EQ(e->Text(), QStringLiteral("Abc"));
    EXPECT_EQ(e->SelText(), QStringLiteral("c")) << "the completed part is selected";
    QTest::keyClicks(w, QStringLiteral("x"));
    EXPECT_EQ(e->Text(), QStringLiteral("abx")) << "nothing matches: the typed letters";
    QTest::keyClick(w, Qt::Key_Backspace);
    EXPECT_EQ(e->Text(), QStringLiteral("ab"));
    EXPECT_EQ(v->FocusedText(), QStringLiteral("ab")) << "the pending edit";
    // Typed away from the end of the completed text: no completion, the key
    // reaches the editor.
    e->SetSelStart(0);
    e->SetSelLength(0);
    QTest::keyClicks(w, QStringLiteral("z"));
    v->SetOptionsEx(GridOptEx(goOnlyPickListValues));
    QTest::keyClicks(w, QStringLiteral("q"));
    EXPECT_EQ(e->Text(), QStringLiteral("zab")) << "only listed values";
    runs.Cancel();
}

TEST_F(RecViewContentTest, LookupRowsWriteTheKeysOfTheValueChosen)
{
    TClientDataSet runs2;
    runs2.AddField(QStringLiteral("RUN_ID"), ftInteger);
    runs2.AddField(QStringLiteral("CLASS_COURSE_ID"), ftInteger);
    TField* cls = runs2.AddField(QStringLiteral("CLASS_NAME"), ftWideString, 20, fkLookup);
    cls->KeyFields = QStringLiteral("CLASS_COURSE_ID");
    cls->LookupDataSet = &classes;
    cls->LookupKeyFields = QStringLiteral("CLASS_COURSE_ID");
    cls->LookupResultField = QStringLiteral("CLASS_NAME");
    runs2.CreateDataSet();
    runs2.AppendRecord({1, 12});
    runs2.First();
    TDataSource src2;
    src2.SetDataSet(&runs2);
    src2.SetAutoEdit(true);
    auto* v = MakeView(&src2);
    v->SetFields({QStringLiteral("CLASS_NAME")});
    EXPECT_EQ(v->GetPickList(0), (QStringList{QStringLiteral("H21"), QStringLiteral("D21"), QStringLiteral("H35 pitkä")}));
    v->FocusCell(1, 0, true);
    v->ShowEditor();
    TInplaceEdit* e = v->InplaceEditor();
    ASSERT_NE(e, nullptr);
    e->SetText(QString());
    e->SetSelStart(0);
    QTest::keyClicks(e->Widget(), QStringLiteral("h3"));
    EXPECT_EQ(e->Text(), QStringLiteral("H35 pitkä"));
    EXPECT_EQ(runs2.FieldByName(QStringLiteral("CLASS_COURSE_ID"))->AsInteger(), 13) << "the key of the value located";
    runs2.Cancel();
}

TEST_F(RecViewContentTest, LinkedGridsPickListsEllipsisAndLinkAndBooleanLists)
{
    auto* grid = Make<TrDBGrid>(0, 320, 600, 120);
    grid->SetDataSource(&src);
    grid->FieldsAsLink.Add(QStringLiteral("PERSON_NAME=http://"));
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED_CHIP=K;E"));
    TColumn* name = nullptr;
    TColumn* time = nullptr;
    for (int i = 0; i < grid->Columns()->Count(); ++i) {
        TColumn* c = grid->Columns()->Items(i);
        if (c->FieldName() == QLatin1String("PERSON_NAME"))
            name = c;
        if (c->FieldName() == QLatin1String("TIME_SEC"))
            time = c;
    }
    ASSERT_TRUE(name && time);
    name->PickList = {QStringLiteral("Anna Aalto"), QStringLiteral("Cecilia")};
    time->ButtonStyle = cbsEllipsis;
    auto* v = MakeView(&src);
    v->SetDBGrid(grid);
    const int nameRow = int(v->FieldNames().indexOf(QStringLiteral("PERSON_NAME")));
    const int timeRow = int(v->FieldNames().indexOf(QStringLiteral("TIME_SEC")));
    EXPECT_FALSE(v->LinkKind(nameRow).isEmpty()) << "the grid's link fields";
    EXPECT_TRUE(v->IsBooleanRow(int(v->FieldNames().indexOf(QStringLiteral("RENTED_CHIP"))))) << "the grid's check-box fields";
    EXPECT_TRUE(v->GetPickList(nameRow).isEmpty()) << "not without goUseGridPickList";
    v->SetOptionsEx(GridOptEx(goUseGridPickList) | GridOptEx(goUseGridEllipsis));
    EXPECT_EQ(v->GetPickList(nameRow), name->PickList);
    // A double-click on the pick-list cell opens its list.
    const TRect nameCell = v->CellRect(1, nameRow);
    QTest::mouseDClick(v->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(nameCell.Right - 6, (nameCell.Top + nameCell.Bottom) / 2));  // beside the link text
    auto* list = dynamic_cast<TInplaceEditList*>(v->InplaceEditor());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->ListVisible());
    list->CloseUp(false);
    bool pressed = false;
    v->OnEditButtonClick = [&](TComponent*) { pressed = true; };
    v->FocusCell(1, timeRow, true);
    v->ShowEditor();
    ASSERT_NE(v->InplaceEditor(), nullptr);
    EXPECT_EQ(v->InplaceEditor()->EditStyle(), esEllipsis);

    // Over the link's text the hand, elsewhere the control's cursor.
    const TRect cell = v->CellRect(1, nameRow);
    QWidget* w = v->Widget();
    MoveMouse(w, QPoint(cell.Left + 8, (cell.Top + cell.Bottom) / 2));
    EXPECT_EQ(v->Cursor(), crHandPoint);
    MoveMouse(w, QPoint(cell.Right - 4, (cell.Top + cell.Bottom) / 2));
    EXPECT_EQ(v->Cursor(), crDefault);
    runs.Cancel();
}

// Readers get a rich-text note as its plain text when asked to.
TEST_F(RecViewContentTest, RichTextNotesReachReadersAsPlainText)
{
    auto* v = MakeView(&src);
    v->SetFields({QStringLiteral("NOTES")});
    runs.Edit();
    F("NOTES")->SetAsString(QStringLiteral("{\\rtf1\\ansi {\\b Hyv\\'e4} rasti\\par}"));
    EXPECT_TRUE(v->GetValue(0).startsWith(QStringLiteral("{\\rtf1")));
    v->SetOptionsEx(GridOptEx(goRTFToPlainText));
    EXPECT_EQ(v->GetValue(0).trimmed(), QStringLiteral("Hyvä rasti"));
    runs.Cancel();
}

TEST_F(RecViewContentTest, HintsShowOnlyValuesTheCellCutsOff)
{
    auto* v = MakeView(&photoSrc, 220, 200);
    v->SetFields({QStringLiteral("NAME"), QStringLiteral("STORY")});
    const auto hintOf = [&](int Col, int Row) {
        const TRect r = v->CellRect(Col, Row);
        MoveMouse(v->Widget(), QPoint(r.Left + 4, (r.Top + r.Bottom) / 2));
        return v->Hint();
    };
    EXPECT_TRUE(hintOf(1, 0).isEmpty()) << "Punainen fits";
    EXPECT_EQ(hintOf(1, 1), photos.FieldByName(QStringLiteral("STORY"))->AsString());
    EXPECT_TRUE(hintOf(0, 1).isEmpty()) << "the caption fits";
}

}  // namespace
