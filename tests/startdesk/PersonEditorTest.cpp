// The person editor against the event database: new persons with and without
// a card, duplicates, renaming, the rented-card refusal, the required name and
// cancelling.

#include "StartDeskFixture.h"

#include "resources/ProgramTexts.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkPersonEditorRun.h"

namespace {


TEST_F(StartDesk, PersonEditorAddsNewPersonsWithAndWithoutCard)
{
    struct Case {
        QString Chip, Name, Card;
    };
    for (const Case& c : {Case{QStringLiteral("0"), QStringLiteral("Uusi Urho"), QString()},
                          Case{QStringLiteral("099999"), QStringLiteral("Toinen Tiina"), QStringLiteral("099999")}}) {
        TPersonEditorRun e;
        e.vcChip = c.Chip;
        e.vcPersonName = c.Name;
        e.vcSportID = QStringLiteral("S9");
        e.Open();
        EXPECT_TRUE(e.bNewPerson);
        ASSERT_TRUE(e.Ok()) << Boxes.join(QLatin1Char('|')).toStdString() << f.LogLines().join(QLatin1Char('\n')).right(600).toStdString();
        EXPECT_TRUE(e.bDataChanged);
        ASSERT_GT(e.iNewPersonId, 0);
        EXPECT_EQ(e.vcChip, QStringLiteral("0"));
        EXPECT_EQ(V(QStringLiteral("select coalesce(control_card, '') || '|' || web_show || print_receipt || person_sex || "
                                   "sport_id from vrk_person where person_id = %1").arg(e.iNewPersonId)).toString(),
                  c.Card + QStringLiteral("|KKMS9"));
        e.Close();
    }
}

TEST_F(StartDesk, PersonEditorDuplicateNameOnInsert)
{
    // Yes: the existing person is taken, nothing is added
    Answer = IDYES;
    TPersonEditorRun yes;
    yes.vcPersonName = QStringLiteral("Virtanen Matti");
    yes.Open();
    ASSERT_TRUE(yes.Ok());
    EXPECT_EQ(yes.iNewPersonId, 1001);
    EXPECT_TRUE(yes.bDataChanged);
    EXPECT_EQ(PersonsNamed(QStringLiteral("Virtanen Matti")), 1);
    yes.Close();
    // No: a second person of the same name; Cancel: the editor stays open
    Answer = IDCANCEL;
    TPersonEditorRun cancel;
    cancel.vcPersonName = QStringLiteral("Virtanen Matti");
    cancel.Open();
    EXPECT_FALSE(cancel.Ok());
    Answer = IDNO;
    ASSERT_TRUE(cancel.Ok());
    EXPECT_EQ(PersonsNamed(QStringLiteral("Virtanen Matti")), 2);
    cancel.Close();
}

TEST_F(StartDesk, PersonEditorRenameAndRefusals)
{
    TPersonEditorRun e;
    e.iPersonId = 1003;
    e.Open();
    // OK with nothing edited
    ASSERT_TRUE(e.Ok());
    EXPECT_FALSE(e.bDataChanged);
    EXPECT_EQ(e.iNewPersonId, 0);

    // renaming answered No: stays open, nothing saved
    e.Open();
    e.SetName(QStringLiteral("Nieminen Pekka-Juhani"));
    Answer = IDNO;
    Boxes.clear();
    EXPECT_FALSE(e.Ok());
    EXPECT_EQ(Boxes, QStringList{txt::PersonRenameWarning});
    EXPECT_EQ(V(QStringLiteral("select person_name from vrk_person where person_id = 1003")).toString(),
              QStringLiteral("Nieminen Pekka"));
    // renaming to another person's name: two questions, two Yes answers save
    e.SetName(QStringLiteral("Korhonen Anna"));
    Answer = IDYES;
    Boxes.clear();
    ASSERT_TRUE(e.Ok());
    EXPECT_EQ(Boxes.size(), 2);
    EXPECT_EQ(V(QStringLiteral("select person_name from vrk_person where person_id = 1003")).toString(),
              QStringLiteral("Korhonen Anna"));

    // a rented card as own card, and an empty name: refused, nothing saved
    e.Open();
    e.EditPerson();
    e.Persons().FieldByName(QStringLiteral("CONTROL_CARD"))->SetAsString(QStringLiteral("77777"));
    Boxes.clear();
    EXPECT_FALSE(e.Ok());
    EXPECT_EQ(Boxes, QStringList{txt::startdesk::RentedAsOwnCard});
    e.Persons().FieldByName(QStringLiteral("CONTROL_CARD"))->SetAsString(QString());
    e.SetName(QString());
    Boxes.clear();
    EXPECT_FALSE(e.Ok());
    EXPECT_TRUE(Boxes.contains(txt::PersonNameRequired));
    EXPECT_TRUE(e.Cancel());
    EXPECT_EQ(V(QStringLiteral("select person_name || coalesce(control_card, '-') from vrk_person where person_id = 1003"))
                  .toString(),
              QStringLiteral("Korhonen Anna-"));
    e.Close();
}

}  // namespace

#include "platform/ui/DBCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkPerson.h"

namespace {

TEST_F(StartDesk, PersonWindowRenamesThroughTheSaveRulesOnce)
{
    TformPerson w(nullptr);
    w.Run().iPersonId = 1002;
    w.Opening();
    w.Show();
    EXPECT_EQ(w.edtPERSON_NAME->Text(), QStringLiteral("Korhonen Anna"));
    w.Run().EditPerson();
    w.edtPERSON_NAME->SetText(QStringLiteral("Korhonen-Laine Anna"));
    Answer = IDYES;
    Boxes.clear();
    w.btnOK->Click();
    EXPECT_EQ(w.ModalResult(), mrOk);
    EXPECT_EQ(Boxes, QStringList{txt::PersonRenameWarning});  // asked once, not again by the save rules
    EXPECT_EQ(V(QStringLiteral("select person_name from vrk_person where person_id = 1002")).toString(),
              QStringLiteral("Korhonen-Laine Anna"));
    w.Run().Close();
}

}  // namespace
