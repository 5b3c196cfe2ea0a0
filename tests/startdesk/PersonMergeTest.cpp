// The person merge against the event database: the candidates never hold the
// kept person, the search and the choice, and OK moves the runs and removes
// the merged person; No and no choice write nothing.

#include "StartDeskFixture.h"

#include "resources/StartDeskTexts.h"
#include "results/vrkPersonMergeRun.h"

namespace {

TEST_F(StartDesk, PersonMergeMovesRunsAndRemovesThePerson)
{
    f.Exec(QStringLiteral("insert into vrk_person (person_id, event_series_id, person_name, control_card) "
                          "values (1004, 1, 'Virtanen M.', '012399');\n"
                          "insert into vrk_results_class (results_class_id, event_id, control_card, person_id, result_status, "
                          "first_result_status, status) values (6000, 100, '012399', 1004, 'M', 'M', '0');"));
    TPersonMergeRun m;
    m.iPersonId = 1001;
    m.Open();
    TDataSet& list = *f.Module->fbQueryLookupPersonFD;
    for (const QString& s : {QString(), QStringLiteral("virtanen"), QStringLiteral("matti virtanen")}) {
        m.SetSearch(s);
        EXPECT_FALSE(list.Locate(QStringLiteral("PERSON_ID"), 1001)) << s.toStdString();
        EXPECT_FALSE(list.Locate(QStringLiteral("PERSON_ID"), 0)) << s.toStdString();
    }
    m.SetSearch(QStringLiteral("virt"));
    EXPECT_EQ(list.RecordCount(), 1);

    // no choice yet: refused
    Boxes.clear();
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(Boxes, QStringList{txt::startdesk::MergeChooseFirst});
    m.SelectPerson(0);
    EXPECT_EQ(m.iSelectedPersonId, 1004);
    EXPECT_TRUE(m.ShowsOK());
    // typing removes the choice, Escape restores it; choosing it again removes it
    m.SetSearch(QStringLiteral("x"));
    EXPECT_EQ(m.iSelectedPersonId, 0);
    m.ClearSearch();
    EXPECT_EQ(m.iSelectedPersonId, 1004);
    m.SelectPerson(0);
    EXPECT_EQ(m.iSelectedPersonId, 0);
    m.SelectPerson(1004);

    Answer = IDNO;
    EXPECT_FALSE(m.Ok());
    EXPECT_EQ(V(QStringLiteral("select person_id from vrk_results_class where results_class_id = 6000")).toLongLong(), 1004);
    Answer = IDYES;
    ASSERT_TRUE(m.Ok());
    EXPECT_TRUE(m.bDataChanged);
    m.Close();
    EXPECT_EQ(V(QStringLiteral("select person_id from vrk_results_class where results_class_id = 6000")).toLongLong(), 1001);
    EXPECT_EQ(V(QStringLiteral("select deleted from vrk_person where person_id = 1004")).toString(), QStringLiteral("K"));
}

}  // namespace
