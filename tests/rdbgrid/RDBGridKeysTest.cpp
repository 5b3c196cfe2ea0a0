// The grid's keys through real key events: incremental search over the
// dataset (locate by prefix, substring steps with Up and Down, the search
// filter), boolean columns searched with y and n, pick-list completion,
// and Tab leaving the grid outside editing.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/Fields.h"
#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"

namespace {

int CurrentId(TClientDataSet* D)
{
    return D->FieldByName(QStringLiteral("ID"))->AsInteger();
}

}  // namespace

TEST_F(RDBGridTest, TypingSearchesAReadOnlyGrid)
{
    grid->SetOptions(grid->Options() & ~dgEditing);
    grid->SetSelectedIndex(1);  // NAME
    Key(Qt::Key_M, QStringLiteral("m"));
    Key(0, QStringLiteral("ä"));
    EXPECT_EQ(grid->SearchText(), QStringLiteral("mä"));
    EXPECT_EQ(CurrentId(data.get()), 3) << "Mäkinen Liisa, located by prefix";
    EXPECT_FALSE(grid->EditorMode());
    // A character that matches nothing is not added.
    Key(Qt::Key_X, QStringLiteral("x"));
    EXPECT_EQ(grid->SearchText(), QStringLiteral("mä"));
    EXPECT_TRUE(grid->SearchHint().contains(QStringLiteral("not found"))) << grid->SearchHint().toStdString();
    EXPECT_EQ(CurrentId(data.get()), 3);
    // Down and Up step to the next and previous record containing the text.
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentId(data.get()), 5) << "Hämäläinen contains mä";
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentId(data.get()), 11);
    Key(Qt::Key_Up);
    EXPECT_EQ(CurrentId(data.get()), 5);
    // Backspace shortens the text; Escape ends the search.
    Key(Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(grid->SearchText(), QStringLiteral("m"));
    Key(Qt::Key_Escape, QString(QChar(27)));
    EXPECT_FALSE(grid->IsSearching());
    // Without a search, Down moves the row as usual.
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentId(data.get()), 6);
    Key(0, QStringLiteral("Ö"));
    EXPECT_EQ(CurrentId(data.get()), 8) << "Österberg";
    grid->StopSearching();
    EXPECT_EQ(grid->SearchText(), QString());
}

TEST_F(RDBGridTest, BooleanColumnsAreSearchedWithYesAndNo)
{
    grid->SetOptions(grid->Options() & ~dgEditing);
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->SetSelectedIndex(4);  // RENTED
    data->Locate(QStringLiteral("ID"), 4);
    Key(Qt::Key_Y, QStringLiteral("y"));
    EXPECT_EQ(CurrentId(data.get()), 3) << "the first rented run";
    Key(Qt::Key_Down);
    EXPECT_EQ(CurrentId(data.get()), 6);
    Key(Qt::Key_Escape, QString(QChar(27)));
    Key(Qt::Key_N, QStringLiteral("n"));
    EXPECT_EQ(CurrentId(data.get()), 1);
}

TEST_F(RDBGridTest, CtrlRightFiltersToTheSearchedTextAndCtrlLeftResets)
{
    grid->SetOptions(grid->Options() & ~dgEditing);
    grid->LookupCondition = lcBrowseFilter;
    grid->SetSelectedIndex(1);
    for (const char* k : {"V", "i", "r"})
        Key(0, QString::fromLatin1(k));
    EXPECT_TRUE(grid->SearchHint().contains(QStringLiteral("Ctrl+Right")));
    // Both ways the grid tells about its changed filter.
    int changes = 0;
    grid->OnFilterChanged = [&](TComponent*) { ++changes; };
    Key(Qt::Key_Right, QString(), Qt::ControlModifier);
    EXPECT_TRUE(data->Filtered());
    EXPECT_EQ(data->RecordCount(), 3) << "the three Virtanens";
    EXPECT_TRUE(grid->IsFiltered());
    EXPECT_EQ(changes, 1);
    Key(Qt::Key_Left, QString(), Qt::ControlModifier);
    EXPECT_FALSE(data->Filtered());
    EXPECT_EQ(data->RecordCount(), 24);
    EXPECT_EQ(changes, 2);
    // With lcBrowse the keys keep their usual meaning.
    grid->LookupCondition = lcBrowse;
    Key(Qt::Key_Right, QString(), Qt::ControlModifier);
    EXPECT_FALSE(data->Filtered());
}

TEST_F(RDBGridTest, TypingIntoAPickListColumnCompletesTheFirstFittingItem)
{
    grid->SetOptions(grid->Options() | dgEditing);
    // A grid that never searches still completes from its pick lists.
    grid->LookupCondition = lcNever;
    TColumn* club = grid->Columns()->Items(2);
    club->PickList = QStringList{QStringLiteral("Rasti-Helsinki"), QStringLiteral("OK Espoo"), QStringLiteral("OK Eura")};
    grid->SetSelectedIndex(2);
    Key(Qt::Key_O, QStringLiteral("o"));
    ASSERT_TRUE(grid->EditorMode());
    TInplaceEdit* ed = grid->InplaceEditor();
    EXPECT_EQ(ed->Text(), QStringLiteral("OK Espoo"));
    EXPECT_EQ(ed->SelStart(), 1);
    for (const char* k : {"k", " ", "e", "u"})
        Key(0, QString::fromLatin1(k));
    EXPECT_EQ(ed->Text(), QStringLiteral("OK Eura"));
    EXPECT_EQ(ed->SelStart(), 5);
    Key(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(data->FieldByName(QStringLiteral("CLUB"))->AsString(), QStringLiteral("OK Eura"));
}

TEST_F(RDBGridTest, DeleteAndSpaceChangeACheckBoxCell)
{
    grid->SetOptions(grid->Options() | dgEditing);
    grid->FieldsAsBoolean.Add(QStringLiteral("RENTED=K;E"));
    grid->SetSelectedIndex(4);
    TField* rented = data->FieldByName(QStringLiteral("RENTED"));
    ASSERT_EQ(rented->AsString(), QStringLiteral("E"));
    Key(Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(rented->AsString(), QStringLiteral("K"));
    EXPECT_FALSE(grid->EditorMode());
    Key(Qt::Key_Delete);
    EXPECT_EQ(rented->AsString(), QStringLiteral("E"));
}

TEST_F(RDBGridTest, TypingInALookupColumnPicksTheKeyOfTheFoundRow)
{
    TClientDataSet clubs;
    auto runs = MakeClubRuns(clubs, {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere", "Suunta-Äänekoski", "Huima-Espoo"});
    runs->AppendRecord({1, 1});
    runs->AppendRecord({2, 2});
    runs->First();
    src->SetDataSet(runs.get());
    grid->Columns()->SetState(csDefault);
    grid->LayoutChanged();
    grid->SetOptions(grid->Options() | dgEditing);
    grid->SetSelectedIndex(2);
    Key(Qt::Key_K, QStringLiteral("k"));
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 3) << "Kiito-Tampere";
    Key(0, QStringLiteral("x"));
    EXPECT_EQ(grid->SearchText(), QStringLiteral("k")) << "nothing matches kx";
    Key(0, QStringLiteral("\b"));
    grid->StopSearching();
    Key(0, QStringLiteral("e"));
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 1) << "no club starts with e: Rasti-Helsinki contains it";
    Key(0, QStringLiteral("s"));
    Key(0, QStringLiteral("p"));
    EXPECT_EQ(runs->FieldByName(QStringLiteral("CLUB_ID"))->AsInteger(), 2) << "OK Espoo contains esp";
    EXPECT_EQ(grid->SearchText(), QStringLiteral("esp"));
    runs->Cancel();
    src->SetDataSet(data.get());
}

TEST_F(RDBGridTest, TheSearchHintShowsBesideTheCellWhileTyping)
{
    grid->SetOptions(grid->Options() & ~dgEditing);
    grid->SetSelectedIndex(1);  // NAME
    // The application's hint pause as the grid found it when made (tests may run without one).
    const int pause = Application ? Application->HintPause : 0;
    Key(Qt::Key_K, QStringLiteral("k"));
    THintWindow* hint = grid->OwnHintWindow();
    ASSERT_NE(hint, nullptr);
    ASSERT_TRUE(hint->Showing()) << "the hint is on screen while typing, not only on hover";
    EXPECT_EQ(hint->HintText(), grid->SearchHint());
    // Under the active cell, 8 pixels in.
    const TRect cell = grid->CellRect(grid->Col(), grid->Row());
    const TPoint at = grid->ClientToScreen(TPoint(cell.Left + 8, cell.Top + grid->DefaultRowHeight() + 8));
    EXPECT_EQ(hint->Left(), at.X);
    EXPECT_EQ(hint->Top(), at.Y);
    if (Application)
        Application->HintPause = 50;  // whatever the search did to it, stopping restores it
    Key(Qt::Key_Escape, QString(QChar(27)));
    EXPECT_FALSE(hint->Showing());
    if (Application)
        EXPECT_EQ(Application->HintPause, pause);
}
