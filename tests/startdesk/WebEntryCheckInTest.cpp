// The check-in window with web entries, driven by the operator's keys and
// clicks: an entry found by the search is attached with Enter, a move of the
// entry list's cursor detaches it (moving back does not attach it again),
// and OK marks and copies only the entry that is attached when it is pressed.

#include "StartDeskFixture.h"

#include "components/framed/FcEdit.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkPerson.h"
#include "results/vrkResultsClassForest.h"
#include "tests/support/RealInput.h"

namespace {

using namespace realinput;
using TMark = TResultsClassForestRun::TWebMark;

class WebEntryCheckIn : public StartDesk {
protected:
    void SetUp() override
    {
        StartDesk::SetUp();
        f.Exec(QStringLiteral("update vrk_event set web_entries = 'K' where event_id = 100;"));
        Reload();
        w = std::make_unique<TformResultsClassForest>(nullptr);
        w->Run().OnRunClosed = [this](int64_t id) { Closed << id; };
        ASSERT_TRUE(w->Opening());  // a new run without a card
        w->Show();
        Settle();  // the window takes the operator to its first field once shown
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        w.reset();
        StartDesk::TearDown();
    }
    int64_t Entry() { return f.Module->fbQueryWebEntriesFD->FieldByName(QStringLiteral("RASTILIPPU_ENTRIES_ID"))->AsLargeInt(); }
    // The operator searches the entries and attaches the one found with Enter.
    void AttachBySearch(const QString& Search)
    {
        w->edtSearchWebEntries->SetFocus();
        Type(w->edtSearchWebEntries, Search);
        Key(w->edtSearchWebEntries, Qt::Key_Return);
        // the entry's person, found by name only, is to be checked: the
        // operator is taken to the person search
        Settle();
        EXPECT_EQ(w->Run().Menu1State, QStringLiteral("MENU1_EXLAMATION"));
        EXPECT_EQ(w->ActiveControl(), static_cast<TWinControl*>(w->edtSearchPersons));
    }
    QVariant EntryRun(int64_t Entry)
    {
        return V(QStringLiteral("select coalesce(results_class_id, 0) || status from vrk_rastilippu_entries "
                                "where rastilippu_entries_id = %1").arg(Entry));
    }
    QString SportId(int64_t Person)
    {
        return V(QStringLiteral("select coalesce(sport_id, '-') from vrk_person where person_id = %1").arg(Person)).toString();
    }
    std::unique_ptr<TformResultsClassForest> w;
};

TEST_F(WebEntryCheckIn, TheEntryAttachedWhenOkIsPressedIsTheOneUsed)
{
    AttachBySearch(QStringLiteral("korh"));
    EXPECT_EQ(w->edtSearchWebEntries->GetText(), QStringLiteral("korh"));
    EXPECT_EQ(f.Module->fbQueryWebEntriesFD->RecordCount(), 1);
    EXPECT_EQ(Entry(), 801);
    EXPECT_EQ(w->Run().WebMark, TMark::OK);
    EXPECT_TRUE(w->imgWebEntriesOK->Visible());
    EXPECT_EQ(w->Run().RunPersonId(), 1002);
    EXPECT_EQ(w->edtChip1->Text(), QStringLiteral("054321"));

    // the whole list again, then away to the other entry and back: detached
    w->actWebEntriesRefresh->Execute();
    w->edtSearchWebEntries->SetText(QString());
    ASSERT_EQ(f.Module->fbQueryWebEntriesFD->RecordCount(), 2);
    f.Module->fbQueryWebEntriesFD->Locate(QStringLiteral("RASTILIPPU_ENTRIES_ID"), 801);
    w->Run().ToggleWebEntry();  // attached again on the full list
    w->Sync();
    ASSERT_EQ(w->Run().AttachedEntryId(), 801);
    Settle();
    w->edtSearchWebEntries->SetFocus();
    Key(w->edtSearchWebEntries, Qt::Key_Down);
    EXPECT_EQ(Entry(), 802);
    EXPECT_EQ(w->Run().WebMark, TMark::None);
    EXPECT_FALSE(w->imgWebEntriesOK->Visible());
    Key(w->edtSearchWebEntries, Qt::Key_Up);
    EXPECT_EQ(Entry(), 801);
    EXPECT_EQ(w->Run().AttachedEntryId(), 0);
    // Enter attaches the entry under the cursor again; then the course, OK
    Key(w->edtSearchWebEntries, Qt::Key_Return);
    EXPECT_EQ(w->Run().AttachedEntryId(), 801);
    Settle();
    w->Run().ChooseCourse(402);
    w->Sync();
    ClickMiddle(w->btnOK);
    ASSERT_EQ(Closed.size(), 1) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(EntryRun(801).toString(), QString::number(Closed[0]) + QStringLiteral("M"));
    EXPECT_EQ(EntryRun(802).toString(), QStringLiteral("0I"));
    EXPECT_EQ(Run(Closed[0], "person_id").toLongLong(), 1002);
}

TEST_F(WebEntryCheckIn, AnEntryLeftByTheCursorIsNeitherMarkedNorCopied)
{
    AttachBySearch(QStringLiteral("korh"));
    ASSERT_EQ(w->Run().AttachedEntryId(), 801);
    // the operator looks at the other entry (its Sport ID is S1001) and saves
    w->edtSearchWebEntries->SetText(QString());
    ASSERT_EQ(w->Run().WebMark, TMark::OK);  // the search alone leaves it attached
    f.Module->fbQueryWebEntriesFD->Locate(QStringLiteral("RASTILIPPU_ENTRIES_ID"), 802);
    EXPECT_FALSE(w->imgWebEntriesOK->Visible());
    EXPECT_EQ(w->Run().WebMark, TMark::None);
    w->Run().ChooseCourse(402);
    w->Sync();
    ClickMiddle(w->btnOK);
    ASSERT_EQ(Closed.size(), 1) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(EntryRun(801).toString(), QStringLiteral("0I"));
    EXPECT_EQ(EntryRun(802).toString(), QStringLiteral("0I"));
    EXPECT_EQ(SportId(1002), QStringLiteral("-"));
}

TEST_F(WebEntryCheckIn, PersonFromAnEntryIsAddedAndTheEntryAttached)
{
    f.Exec(QStringLiteral("INSERT INTO VRK_RASTILIPPU_ENTRIES (RASTILIPPU_ENTRIES_ID, EVENT_ID, SPORT_ID, EMIT_NR, LAST_NAME, "
                          "FIRST_NAME, STATUS, ENTRY_FEE, RENTAL_EMIT) VALUES (803, 100, 'S7', '066666', 'Uusitalo', 'Ulla', "
                          "'I', 10, 'E');"));
    w->Run().LoadWebEntries();
    w->edtSearchWebEntries->SetText(QStringLiteral("uusit"));
    ASSERT_EQ(Entry(), 803);
    // "Henkilö": the person editor opens prefilled from the entry; its OK adds
    TformPerson person(nullptr);
    formPerson = &person;
    QString shownName, shownCard;
    const TModalHook old = SetModalHook([&](TCustomForm* F) {
        if (F != &person)
            return int(mrCancel);
        shownName = person.edtPERSON_NAME->Text();
        shownCard = person.edtCONTROL_CARD->Text();
        ClickMiddle(person.btnOK);
        return person.ModalResult();
    });
    w->actWebEntriesAddPerson->Execute();
    SetModalHook(old);
    formPerson = nullptr;
    EXPECT_EQ(shownName, QStringLiteral("Uusitalo Ulla"));
    EXPECT_EQ(shownCard, QStringLiteral("066666"));
    const int64_t added = V(QStringLiteral("select person_id from vrk_person where person_name = 'Uusitalo Ulla'")).toLongLong();
    ASSERT_GT(added, 0) << Boxes.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(SportId(added), QStringLiteral("S7"));
    EXPECT_EQ(w->Run().RunPersonId(), added);
    EXPECT_EQ(w->Run().AttachedEntryId(), 803);
    EXPECT_TRUE(w->imgWebEntriesOK->Visible());
}

}  // namespace
