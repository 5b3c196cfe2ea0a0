// The lookup combo box over a class list: what the windows rely on (KeyValue
// without writing, DropDown and CloseUp with their events, the selected
// text), incremental search, and the multi-column drop-down list.

#include "components/dbcontrols/TrDBLookupComboBox.h"
#include "platform/ui/Graphics.h"
#include "tests/dbcontrols/RunFixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QWidget>

namespace {

class LookupTest : public RunFixture {
protected:
    TrDBLookupComboBox* MakeBox()
    {
        auto* b = Make<TrDBLookupComboBox>(100, 40, 200, 23);
        b->SetListSource(&classSrc);
        b->KeyField = QStringLiteral("CLASS_COURSE_ID");
        b->ListField = QStringLiteral("CLASS_NAME;STATUS_TXT");
        b->ListFieldIndexMax = 3;
        b->SetDataSource(&src, QStringLiteral("CLASS_COURSE_ID"));
        b->OnDropDown = [this](TComponent*) { events << QStringLiteral("drop"); };
        b->OnCloseUp = [this](TComponent*) { events << QStringLiteral("close"); };
        b->OnClick = [this](TComponent*) { events << QStringLiteral("click"); };
        return b;
    }
    // Paints the box (what refreshes the values it shows).
    void PaintBox(TControl* C)
    {
        TBitmap bmp;
        C->PaintTo(&bmp);
    }
    QStringList events;
};

TEST_F(LookupTest, KeyValueShowsAnEntryWithoutWritingTheField)
{
    auto* b = MakeBox();
    EXPECT_EQ(b->KeyValue().toInt(), 12);
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("D21    Aktiivinen")) << "two gaps of two blanks";
    b->SetKeyValue(13);
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("H35 pitkä    Suljettu"));
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 12) << "the field is not written";
    EXPECT_EQ(runs.State(), dsBrowse);
    b->SetKeyValue(77);
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("(12)")) << "a key the list lacks shows the field's value in brackets";
    runs.Next();
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("(99)"));
    b->EmptyDisplayValue = QStringLiteral("-");
    runs.Edit();
    F("CLASS_COURSE_ID")->Clear();
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("-"));
    runs.Cancel();
}

// The box shows list fields ListFieldIndex to ListFieldIndexMax; at or below
// ListFieldIndex it leaves the text to the base box.
TEST_F(LookupTest, ListFieldIndexIsTheFirstFieldShown)
{
    auto* b = MakeBox();
    b->ListFieldIndex = 1;
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("Aktiivinen"));
    b->ListFieldIndexMax = 1;
    b->SetKeyValue(13);
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("Aktiivinen")) << "not refilled: the base paints";
    b->ListFieldIndex = 0;
    PaintBox(b);
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("H35 pitkä    Suljettu"));
}

TEST_F(LookupTest, DropDownEditsTheDatasetAndCloseUpRaisesItsEventsOnlyWhenOpen)
{
    auto* b = MakeBox();
    b->SetReadOnlyColor(0xF3F3F3);
    b->SetColor(clWindow);
    b->SetDataSource(&src, QStringLiteral("CLASS_COURSE_ID"));
    EXPECT_EQ(b->Color(), TColor(0xF3F3F3)) << "browse state";
    b->CloseUp(true);
    EXPECT_TRUE(events.isEmpty()) << "a closed list is left alone";

    b->DropDown();
    EXPECT_EQ(runs.State(), dsEdit) << "opening the list puts the dataset into edit state";
    EXPECT_TRUE(b->ListVisible());
    EXPECT_EQ(b->Color(), clWindow) << "editable colour";
    EXPECT_EQ(events, QStringList{QStringLiteral("drop")});
    b->PopupList()->SelectRow(0);
    b->CloseUp(false);
    EXPECT_EQ(events, (QStringList{QStringLiteral("drop"), QStringLiteral("close")}));
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 12) << "cancelled";

    events.clear();
    b->DropDown();
    b->PopupList()->SelectRow(0);
    b->CloseUp(true);
    EXPECT_EQ(events, (QStringList{QStringLiteral("drop"), QStringLiteral("click"), QStringLiteral("close")}));
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 11);
    EXPECT_FALSE(b->ListVisible());
    EXPECT_EQ(b->GetSelectedText(), QStringLiteral("H21    Aktiivinen")) << "up to date when OnClick runs";
    runs.Post();

    // Stepping with the list closed is a choice of the operator too.
    events.clear();
    Word down = VK_DOWN;
    b->KeyDown(down, 0);
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 12);
    EXPECT_EQ(events, QStringList{QStringLiteral("click")});
    runs.Post();

    // No automatic edit, or a read-only box: nothing opens.
    events.clear();
    src.SetAutoEdit(false);
    b->DropDown();
    EXPECT_FALSE(b->ListVisible());
    src.SetAutoEdit(true);
    b->ReadOnly = true;
    b->DropDown();
    EXPECT_FALSE(b->ListVisible());
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(LookupTest, TypingSearchesByPrefixThenAnywhereAndKeepsTheTextOnAMiss)
{
    auto* b = MakeBox();
    b->SearchingResetInterval = 0;
    runs.Edit();
    QChar k = QLatin1Char('h');
    b->KeyPress(k);
    EXPECT_EQ(b->SearchText(), QStringLiteral("h"));
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 11) << "closed list: the key goes to the field";
    for (QChar c : QStringLiteral("35"))
        b->KeyPress(c);
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 13);
    k = QLatin1Char('x');
    b->KeyPress(k);
    EXPECT_EQ(b->SearchText(), QStringLiteral("h35")) << "a miss keeps the search text";
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 13);
    k = QChar(27);
    b->KeyPress(k);
    EXPECT_FALSE(b->IsSearching());
    // Anywhere in the text, and the next match with Right.
    for (QChar c : QStringLiteral("aktiiv"))
        b->KeyPress(c);
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 11);
    Word right = VK_RIGHT;
    b->KeyDown(right, 0);
    EXPECT_EQ(F("CLASS_COURSE_ID")->AsInteger(), 12);
    b->StopSearching();
    for (int i = 0; i < 40; ++i) {
        k = QLatin1Char('a');
        b->KeyPress(k);
    }
    EXPECT_LE(b->SearchText().size(), 32);
    runs.Cancel();
}

TEST_F(LookupTest, LookupFilterNarrowsTheListWhileTheUserTypes)
{
    auto* b = MakeBox();
    b->AllowLookupFilter = true;
    b->SearchingResetInterval = 0;
    b->DropDown();
    ASSERT_TRUE(b->ListVisible());
    for (QChar c : QStringLiteral("aktiiv")) {
        QChar k = c;
        b->KeyPress(k);
    }
    EXPECT_TRUE(classes.Filtered()) << "typing with the list open filters by the typed text";
    EXPECT_EQ(classes.RecordCount(), 2);
    Word left = VK_LEFT;
    b->KeyDown(left, ssCtrl);
    EXPECT_FALSE(classes.Filtered()) << "Ctrl+Left resets";
    Word right = VK_RIGHT;
    b->KeyDown(right, ssCtrl);
    EXPECT_EQ(classes.RecordCount(), 2) << "Ctrl+Right filters again";
    b->CloseUp(false);
    EXPECT_FALSE(classes.Filtered()) << "closing the list switches the filter off";
    EXPECT_FALSE(b->IsSearching());
    runs.Cancel();
}

// Hovering a box that cuts its text off shows the whole text as the hint;
// the second caption label is the mini-HTML one.
TEST_F(LookupTest, ACutOffTextBecomesTheHint)
{
    auto* b = MakeBox();
    EXPECT_EQ(b->BoundLabel()->Name(), QStringLiteral("SubLabel"));
    PaintBox(b);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(b->Widget(), &enter);
    EXPECT_TRUE(b->Hint().isEmpty()) << "D21 and its status fit";
    b->SetWidth(50);
    QApplication::sendEvent(b->Widget(), &enter);
    EXPECT_EQ(b->Hint(), b->GetSelectedText());
    EXPECT_TRUE(b->Hint().startsWith(QStringLiteral("D21")));

    // A box of one field (the base paints it) hints its cut-off value too.
    auto* one = Make<TrDBLookupComboBox>(100, 80, 200, 23);
    one->SetListSource(&classSrc);
    one->KeyField = QStringLiteral("CLASS_COURSE_ID");
    one->ListField = QStringLiteral("CLASS_NAME");
    one->SetDataSource(&src, QStringLiteral("CLASS_COURSE_ID"));
    one->SetKeyValue(13);
    PaintBox(one);
    QApplication::sendEvent(one->Widget(), &enter);
    EXPECT_TRUE(one->Hint().isEmpty()) << "H35 pitkä fits";
    one->SetWidth(40);
    QApplication::sendEvent(one->Widget(), &enter);
    EXPECT_EQ(one->Hint(), QStringLiteral("H35 pitkä"));
}

TEST_F(LookupTest, PopupListMeasuresItsColumnsAndDrawsCellsThroughTheEvent)
{
    auto* b = MakeBox();
    TrPopupDataList* l = b->PopupList();
    l->SetListSource(&classSrc);
    l->KeyField = QStringLiteral("CLASS_COURSE_ID");
    l->ListField = QStringLiteral("CLASS_NAME;STATUS_TXT");
    const int before = classes.RecNo();
    const int w = b->GetMaxItemWidth();
    ASSERT_EQ(l->ColWidths().size(), 2u);
    EXPECT_EQ(w, l->ColWidths()[0] + 4 + l->ColWidths()[1] + 4 + 17);
    EXPECT_EQ(classes.RecNo(), before) << "measuring leaves the list dataset where it was";
    int cells = 0;
    b->OnGetListItemProps = [&](TComponent* Sender, TCanvas*, int, int Col, bool, TField*, TField* ListField, int&, int, QString& Text,
                                TBitmap*, bool&, bool&) {
        EXPECT_EQ(Sender, b);
        ++cells;
        if (Col == 1)
            Text = ListField->AsString().toUpper();
    };
    b->DropDown();
    ASSERT_TRUE(b->ListVisible());
    TBitmap bmp;
    l->PaintTo(&bmp);
    EXPECT_EQ(cells, 6);
    b->CloseUp(false);
    runs.Cancel();
}

// Read right to left, a left-justified value starts at the right edge of its
// cell and a right-justified one at the left edge.
TEST_F(LookupTest, PopupListMirrorsTextAlignmentRightToLeft)
{
    auto* b = Make<TrDBLookupComboBox>(100, 40, 200, 23);
    b->SetListSource(&classSrc);
    b->KeyField = QStringLiteral("CLASS_COURSE_ID");
    b->ListField = QStringLiteral("CLASS_NAME");
    b->SetDataSource(&src, QStringLiteral("CLASS_COURSE_ID"));
    TrPopupDataList* l = b->PopupList();
    // The ink of the first row (H21, not the selected class): its leftmost and rightmost columns.
    auto ink = [&]() {
        TBitmap bmp;
        l->PaintTo(&bmp);
        int lo = bmp.Width(), hi = -1;
        const TColor back = bmp.Pixel(1, 1);
        for (int y = 1; y < l->ItemHeight() - 1; ++y)
            for (int x = 1; x < bmp.Width() - 1; ++x)
                if (bmp.Pixel(x, y) != back) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return std::pair<int, int>(lo, hi);
    };
    struct Case {
        TBiDiMode Mode;
        TFieldAlignment Align;
        bool AtRight;
    };
    const Case cases[] = {{bdLeftToRight, TFieldAlignment::LeftJustify, false},
                          {bdRightToLeft, TFieldAlignment::LeftJustify, true},
                          {bdRightToLeftReadingOnly, TFieldAlignment::LeftJustify, true},
                          {bdRightToLeft, TFieldAlignment::RightJustify, false},
                          {bdLeftToRight, TFieldAlignment::RightJustify, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Mode) * 10 + int(c.Align));
        classes.FieldByName(QStringLiteral("CLASS_NAME"))->SetAlignment(c.Align);
        b->SetBiDiMode(c.Mode);
        b->DropDown();
        ASSERT_TRUE(b->ListVisible());
        EXPECT_EQ(l->BiDiMode(), c.Mode) << "the list reads as its box";
        const auto [lo, hi] = ink();
        ASSERT_GE(hi, 0) << "the row shows its text";
        if (c.AtRight)
            EXPECT_GT(lo, l->ClientWidth() / 2);
        else
            EXPECT_LT(hi, l->ClientWidth() / 2);
        b->CloseUp(false);
    }
    runs.Cancel();
}

}  // namespace
