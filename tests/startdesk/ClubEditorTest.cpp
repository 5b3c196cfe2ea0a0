// The club editor against the event database: a new club, a duplicate on
// insert and on rename, OK without a change, the required name.

#include "StartDeskFixture.h"

#include "resources/ProgramTexts.h"
#include "results/vrkClubEditorRun.h"

namespace {

TEST_F(StartDesk, ClubEditorAddsRenamesAndRefusesDuplicates)
{
    TClubEditorRun e;
    e.Open();  // a new club
    e.SetName(QStringLiteral("Rastiveikot"));
    ASSERT_TRUE(e.Ok());
    EXPECT_TRUE(e.bDataChanged);
    ASSERT_GT(e.iNewClubId, 0);
    EXPECT_EQ(V(QStringLiteral("select score_calculation || deleted from vrk_club where club_id = %1").arg(e.iNewClubId))
                  .toString(),
              QStringLiteral("KE"));
    const int64_t added = e.iNewClubId;

    // a new club named like an existing one: Yes takes the existing club
    TClubEditorRun dup;
    dup.Open();
    dup.SetName(QStringLiteral("Helsingin Suunnistajat"));
    Answer = IDCANCEL;
    BoxFlags.clear();
    EXPECT_FALSE(dup.Ok());
    EXPECT_EQ(BoxFlags, QList<unsigned>{MB_YESCANCEL | MB_ICONQUESTION}) << "Yes and Cancel only";
    Answer = IDYES;
    ASSERT_TRUE(dup.Ok());
    EXPECT_EQ(dup.iNewClubId, 501);
    EXPECT_TRUE(dup.bDataChanged);
    EXPECT_EQ(V(QStringLiteral("select count(*) from vrk_club where club_name = 'Helsingin Suunnistajat'")).toInt(), 1);

    // renaming to another club's name is refused; OK without a change closes
    TClubEditorRun edit;
    edit.iClubId = added;
    edit.Open();
    ASSERT_TRUE(edit.Ok());
    EXPECT_FALSE(edit.bDataChanged);
    edit.SetName(QStringLiteral("Helsingin Suunnistajat"));
    Boxes.clear();
    EXPECT_FALSE(edit.Ok());
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].endsWith(QStringLiteral("Saman nimistä seuraa ei voi lisätä.")));
    edit.SetName(QString());
    Boxes.clear();
    EXPECT_FALSE(edit.Ok());
    EXPECT_EQ(Boxes, QStringList{txt::ClubNameRequired});
    // a change in hand asks before it is let go, with Yes and Cancel
    edit.SetName(QStringLiteral("Rastiveikot ry"));
    BoxFlags.clear();
    Answer = IDCANCEL;
    EXPECT_FALSE(edit.Cancel());
    EXPECT_EQ(BoxFlags, QList<unsigned>{MB_YESCANCEL | MB_ICONQUESTION});
    Answer = IDYES;
    EXPECT_TRUE(edit.Cancel());
    EXPECT_EQ(V(QStringLiteral("select club_name from vrk_club where club_id = %1").arg(added)).toString(),
              QStringLiteral("Rastiveikot"));
}

}  // namespace
