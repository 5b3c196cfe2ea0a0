// The check-in window shown modally and driven by real keys and clicks: where
// the focus goes after each step, and that passing through fields of an
// existing run without changing anything writes nothing.

#include "StartDeskFixture.h"

#include "components/framed/FcEdit.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcRadChk.h"
#include "components/framed/FcRadGrp.h"
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbar.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/DBCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/StartDeskTexts.h"
#include "results/vrkPerson.h"
#include "results/vrkResultsClassForest.h"
#include "tests/support/RealInput.h"

namespace {

using namespace realinput;
namespace st = txt::startdesk;

class CheckInWindow : public StartDesk {
protected:
    void SetUp() override
    {
        StartDesk::SetUp();
        formMain->SetBounds(100, 50, 1201, 801);
    }
    // Lets the window's deferred focus move happen.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // A run of card 12345 on course 401 saved with "Maastoon".
    int64_t SavedRun()
    {
        run.vcChipString = Card(QStringLiteral("12345"));
        EXPECT_TRUE(run.Open());
        run.ChooseCourse(401);
        const int64_t id = run.iResultsClassId;
        EXPECT_TRUE(run.Ok());
        formMain->vc_last_read_chip.clear();
        return id;
    }
};

// An existing run opened, walked through and closed with OK stays as it was,
// even with "Ei aikaa" left in "Tila" from an earlier check-in.
TEST_F(CheckInWindow, WalkingThroughAnExistingRunWritesNothing)
{
    const int64_t id = SavedRun();
    const QVariant updated = Run(id, "updated");
    struct Case {
        const char* Name;
        std::function<void(TformResultsClassForest&)> Steps;
    };
    const std::vector<Case> cases = {
        {"price and info fields passed with Tab",
         [](TformResultsClassForest& w) {
             w.edtPaymentPrice->SetFocus();
             Key(&w, Qt::Key_Tab);
             w.edtPaymentInfo->SetFocus();
             Key(&w, Qt::Key_Tab);
         }},
        {"Escape in the empty person search with the list on another person",
         [this](TformResultsClassForest& w) {
             w.edtSearchPersons->SetFocus();
             f.Module->fbQueryLookupPersonFD->Locate(QStringLiteral("PERSON_ID"), QVariant::fromValue<qlonglong>(1002));
             Key(&w, Qt::Key_Escape);
             EXPECT_TRUE(w.Visible());
             EXPECT_EQ(w.Run().ListPersonId(), 1001) << "the list goes back to the run's person";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TResultsClassForestRun::Tila = 1;
        TformResultsClassForest w(nullptr);
        w.Run().OnRunClosed = [](int64_t) {};
        w.Run().iResultsClassId = id;
        ASSERT_TRUE(w.Opening());
        const int result = ShowModalWith(w, [&] {
            Settle();
            c.Steps(w);
            ClickMiddle(w.btnOK);
        });
        EXPECT_EQ(result, mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(Run(id, "result_status").toString(), QStringLiteral("M"));
        EXPECT_EQ(Run(id, "updated"), updated);
    }
    TResultsClassForestRun::Tila = -1;
}

// The operator is taken where the next thing is to do: the person search at
// opening, then after each refusal of OK the field it names, the price after
// a payment row, the course list once the card gave the person.
TEST_F(CheckInWindow, TheFocusGoesWhereTheNextStepIs)
{
    TformResultsClassForest w(nullptr);
    w.Run().OnRunClosed = [](int64_t) {};
    ASSERT_TRUE(w.Opening());
    bool searchAtOpening = false, searchAfterNoPerson = false, cardAfterNoCard = false, listAfterNoCourse = false,
         searchAfterNoChip = false, priceChosen = false, listAfterOwner = false;
    QString priceSelected;
    ShowModalWith(w, [&] {
        Settle();
        searchAtOpening = w.edtSearchPersons->Focused();
        ClickMiddle(w.btnOK);
        Settle();
        searchAfterNoPerson = w.edtSearchPersons->Focused();
        w.Run().SelectPerson(1003);
        w.Sync();
        ClickMiddle(w.btnOK);
        Settle();
        cardAfterNoCard = w.edtChip1->Focused();
        Type(&w, QStringLiteral("123456"));
        ClickMiddle(w.btnOK);
        Settle();
        listAfterNoCourse = w.edtClassCourse->Focused() && w.edtClassCourse->ListVisible();
        Key(&w, Qt::Key_Escape);  // closes the list only

        ClickMiddle(w.chkNoChip);
        Settle();
        searchAfterNoChip = w.edtSearchPersons->Focused();
        ClickMiddle(w.chkNoChip);

        // a payment row other than the proposed one, chosen with Enter
        Key(&w, Qt::Key_F8);
        TDataSet& rows = *f.Module->fbQueryPaymentMethodsFD;
        for (int i = 0; i < 5 && rows.FieldByName(QStringLiteral("OUT_ID"))->AsLargeInt() == w.Run().nPaymentTypeId; ++i)
            Key(&w, Qt::Key_Down);
        Key(&w, Qt::Key_Return);
        Settle();
        priceChosen = w.edtPaymentPrice->Focused();
        priceSelected = w.edtPaymentPrice->SelText();

        // a typed card of a known person, with no person chosen
        w.Run().SelectPerson(0);  // the chosen person again: removed
        w.Sync();
        w.edtChip1->SetFocus();
        w.edtChip1->SetText(QString());
        Type(&w, QStringLiteral("54321"));
        Key(&w, Qt::Key_Tab);
        Settle();
        listAfterOwner = w.edtClassCourse->Focused() && w.edtClassCourse->ListVisible();
        w.SetModalResult(mrCancel);
    });
    w.Run().Cancel();
    EXPECT_TRUE(searchAtOpening);
    EXPECT_TRUE(searchAfterNoPerson);
    EXPECT_TRUE(cardAfterNoCard);
    EXPECT_TRUE(listAfterNoCourse);
    EXPECT_TRUE(searchAfterNoChip);
    EXPECT_TRUE(priceChosen);
    EXPECT_FALSE(priceSelected.isEmpty());
    EXPECT_TRUE(listAfterOwner);
    EXPECT_EQ(w.Run().RunPersonId(), 0);  // the run is gone with the cancel
}

// An existing run with a person opens on the course selector, its list shut.
TEST_F(CheckInWindow, AnExistingRunOpensOnTheCourse)
{
    const int64_t id = SavedRun();
    TformResultsClassForest w(nullptr);
    w.Run().OnRunClosed = [](int64_t) {};
    w.Run().iResultsClassId = id;
    ASSERT_TRUE(w.Opening());
    bool onCourse = false, listShut = false;
    int64_t afterDown = 0, afterUp = 0;
    ShowModalWith(w, [&] {
        Settle();
        onCourse = w.edtClassCourse->Focused();
        listShut = !w.edtClassCourse->ListVisible();
        // the arrows in the person search move the person list
        Key(&w, Qt::Key_F5);
        const int64_t before = w.Run().ListPersonId();
        Key(&w, Qt::Key_Up);
        afterUp = w.Run().ListPersonId();
        Key(&w, Qt::Key_Down);
        afterDown = w.Run().ListPersonId();
        EXPECT_EQ(afterDown, before);
        w.SetModalResult(mrCancel);
    });
    w.Run().Cancel();
    EXPECT_TRUE(onCourse);
    EXPECT_TRUE(listShut);
    EXPECT_NE(afterDown, afterUp);
}

// "Muokkaa" and "Lisää" of the person are framed tool buttons on a bar of
// their own, a spacer between them, in the dialog's font; clicked with the
// mouse (and F9, F10) they open the person editor for the run's person and
// for a new one.
TEST_F(CheckInWindow, ThePersonButtonsOpenTheEditor)
{
    const int64_t id = SavedRun();
    TformResultsClassForest w(nullptr);
    w.EndLoading();  // as the application creates it: the bars lay out their rows
    w.Run().OnRunClosed = [](int64_t) {};
    w.Run().iResultsClassId = id;
    ASSERT_TRUE(w.Opening());
    const int64_t personId = w.Run().RunPersonId();
    ASSERT_GT(personId, 0);

    auto* edit = dynamic_cast<TFcToolButton*>(w.btnPersonEdit);
    auto* add = dynamic_cast<TFcToolButton*>(w.btnPersonAdd);
    ASSERT_TRUE(edit && add);
    auto* bar = dynamic_cast<TFcToolbar*>(edit->Parent());
    ASSERT_TRUE(bar);
    EXPECT_EQ(add->Parent(), bar);
    const TFcToolbarControlList& row = *bar->ToolbarControls();
    ASSERT_EQ(row.Count(), 3);
    EXPECT_NE(dynamic_cast<TFcSpacer*>(row.Items(1).Control), nullptr);
    EXPECT_EQ(edit->Caption(), QStringLiteral("Muokkaa"));
    EXPECT_EQ(add->Caption(), QStringLiteral("Lisää"));
    EXPECT_EQ(edit->Font()->Height(), w.grpPerson->Font()->Height());
    EXPECT_EQ(edit->Font()->Name(), w.grpPerson->Font()->Name());

    TformPerson person(nullptr);
    formPerson = &person;
    std::vector<int64_t> opened;
    ShowModalWith(w, [&] {
        Settle();
        const TModalHook old = SetModalHook([&](TCustomForm* F) {
            if (F == &person)
                opened.push_back(person.Run().iPersonId);
            return int(mrCancel);
        });
        ClickMiddle(w.btnPersonEdit);
        ClickMiddle(w.btnPersonAdd);
        Key(&w, Qt::Key_F9);
        Key(&w, Qt::Key_F10);
        SetModalHook(old);
        w.SetModalResult(mrCancel);
    });
    formPerson = nullptr;
    w.Run().Cancel();
    EXPECT_EQ(opened, (std::vector<int64_t>{personId, 0, personId, 0})) << Boxes.join(QLatin1Char('|')).toStdString();
}

// The runner's options are framed check boxes and edits worked with the
// mouse and keys: "Tulosta kuitti" and "Näytä nimi Webissä" follow a click,
// the latter stamps the time of the choice, and a typed phone number reaches
// the run.
TEST_F(CheckInWindow, TheRunnersOptionsFollowTheMouse)
{
    const int64_t id = SavedRun();
    TformResultsClassForest w(nullptr);
    w.Run().OnRunClosed = [](int64_t) {};
    w.Run().iResultsClassId = id;
    ASSERT_TRUE(w.Opening());
    ASSERT_TRUE(w.Run().PersonDetailsEnabled);
    const bool receiptBefore = w.Run().PrintReceipt, webBefore = w.Run().WebShow;
    bool receiptBox = false, webBox = false;
    QString stamp, phone;
    ShowModalWith(w, [&] {
        Settle();
        ClickMiddle(w.chkPrintReceipt);
        ClickMiddle(w.chkWebShow);
        receiptBox = w.chkPrintReceipt->Checked();
        webBox = w.chkWebShow->Checked();
        stamp = w.edtWebShowAsked->Text();
        ClickMiddle(w.edtPhoneNumber);
        w.edtPhoneNumber->SetText(QString());
        Type(&w, QStringLiteral("0401234"));
        phone = w.Run().Phone;
        w.SetModalResult(mrCancel);
    });
    w.Run().Cancel();
    EXPECT_NE(w.Run().PrintReceipt, receiptBefore);
    EXPECT_EQ(receiptBox, w.Run().PrintReceipt);
    EXPECT_NE(w.Run().WebShow, webBefore);
    EXPECT_EQ(webBox, w.Run().WebShow);
    EXPECT_FALSE(stamp.isEmpty());
    EXPECT_EQ(phone, QStringLiteral("0401234"));
    EXPECT_EQ(w.edtWebShowAsked->ReadOnlyColor(), clWindow);
    // The price's caption ends where its field begins.
    EXPECT_EQ(w.lblPaymentPrice->Alignment(), taRightJustify);
    EXPECT_LE(w.lblPaymentPrice->Left() + w.lblPaymentPrice->Width(), w.edtPaymentPrice->Left());
    EXPECT_GE(w.lblPaymentPrice->Left() + w.lblPaymentPrice->Width(), w.edtPaymentPrice->Left() - 12);
}

}  // namespace
