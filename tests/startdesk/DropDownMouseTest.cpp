// The person editor as a modal window driven by real mouse clicks and keys on
// its real widgets: the club list drops down over the dialog and takes the
// click, Enter takes the highlighted club without closing the dialog, the
// list goes with the dialog, and "Sukupuoli" is stored as clicked.

#include "StartDeskFixture.h"

#include "platform/ui/DBCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/ActnList.h"
#include "results/vrkClub.h"
#include "results/vrkPerson.h"
#include "tests/support/RealInput.h"

#include "components/dbcontrols/TrDBEdit.h"
#include "components/framed/FcDBRGrp.h"

namespace {

using namespace realinput;

class DropDownMouse : public StartDesk {
protected:
    void SetUp() override
    {
        StartDesk::SetUp();
        formMain->SetBounds(100, 50, 1201, 801);
    }
    // The club list's row of a club, clicked as the operator clicks it.
    static void ClickListRow(TDBLookupComboBox* Combo, const QString& Text)
    {
        TPopupDataList* list = Combo->DataList();
        ASSERT_TRUE(list);
        for (int i = list->TopRecord(); i < list->TopRecord() + list->RowCount(); ++i) {
            if (list->RowText(i) != Text)
                continue;
            const int rowHeight = (list->Height() - 2) / list->RowCount();
            QTest::mouseClick(list->Widget()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(10, 1 + (i - list->TopRecord()) * rowHeight + rowHeight / 2));
            return;
        }
        ADD_FAILURE() << "no row " << Text.toStdString();
    }
    QVariant PersonValue(int64_t Id, const char* Column)
    {
        return V(QStringLiteral("select %1 from vrk_person where person_id = %2").arg(QLatin1String(Column)).arg(Id));
    }
};

TEST_F(DropDownMouse, APersonGetsAClubAndASexByMouseClicksInTheModalEditor)
{
    TformPerson w(nullptr);
    w.Run().iPersonId = 1003;  // Nieminen Pekka: no club, stored as "M"
    w.Opening();
    bool listShown = false, listGone = false;
    const int result = ShowModalWith(w, [&] {
        ClickMiddle(w.edtClub);
        listShown = w.edtClub->ListVisible();
        ClickListRow(w.edtClub, QStringLiteral("Helsingin Suunnistajat"));
        listGone = !w.edtClub->ListVisible();
        ClickMiddle(w.rgSex->Buttons(1));  // "Nainen"
        ClickMiddle(w.btnOK);
    });
    EXPECT_TRUE(listShown);
    EXPECT_TRUE(listGone);
    EXPECT_EQ(result, mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
    w.Run().Close();
    EXPECT_EQ(PersonValue(1003, "club_id").toLongLong(), 501);
    EXPECT_EQ(PersonValue(1003, "person_sex").toString(), QStringLiteral("F"));
}

TEST_F(DropDownMouse, EnterTakesTheHighlightedClubAndTheListClosesWithTheDialog)
{
    TformPerson w(nullptr);
    w.Run().iPersonId = 1003;
    w.Opening();
    bool openAfterEnter = true, listOpen = false;
    int resultAfterEnter = -1;
    const int result = ShowModalWith(w, [&] {
        w.edtClub->SetFocus();
        Key(&w, Qt::Key_Down, Qt::AltModifier);  // the list drops down
        listOpen = w.edtClub->ListVisible();
        for (int i = 0; i < 5 && w.edtClub->DataList()->KeyValue().toLongLong() != 501; ++i)
            Key(&w, Qt::Key_Down);
        Key(&w, Qt::Key_Return);
        openAfterEnter = w.Visible();
        resultAfterEnter = w.ModalResult();
        // an open list goes with its dialog, however the dialog closes
        ClickMiddle(w.edtClub);
        listOpen = listOpen && w.edtClub->ListVisible();
        w.SetModalResult(mrCancel);
    });
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(resultAfterEnter, mrNone);
    EXPECT_EQ(w.edtClub->KeyValue().toLongLong(), 501);
    EXPECT_TRUE(listOpen);
    EXPECT_FALSE(w.edtClub->DataList()->Widget()->isVisible());
    // the club was taken but never saved
    EXPECT_EQ(result, mrCancel);
    w.Run().DropPending();
    EXPECT_EQ(PersonValue(1003, "coalesce(club_id, 0)").toLongLong(), 0);
}

// "Uusi" of the club group opens the club editor over the person editor; the
// club added there becomes the person's club.
TEST_F(DropDownMouse, AClubAddedFromThePersonEditorBecomesThePersonsClub)
{
    TformClub club(nullptr);
    formClub = &club;
    TformPerson w(nullptr);
    w.Run().iPersonId = 1003;
    w.Opening();
    EXPECT_FALSE(w.actClubEdit->Enabled());  // no club yet
    const int result = ShowModalWith(w, [&] {
        QTimer::singleShot(0, [&] {
            QCoreApplication::processEvents();
            club.edtCLUB_NAME->SetFocus();
            Type(club.edtCLUB_NAME, QStringLiteral("Rastiveikot"));
            ClickMiddle(club.btnOK);
            if (club.Visible())
                club.SetModalResult(mrAbort);
        });
        w.actClubNew->Execute();
        EXPECT_TRUE(w.actClubEdit->Enabled());
        ClickMiddle(w.btnOK);
    });
    formClub = nullptr;
    ASSERT_EQ(result, mrOk) << Boxes.join(QLatin1Char('|')).toStdString();
    w.Run().Close();
    const int64_t added = V(QStringLiteral("select club_id from vrk_club where club_name = 'Rastiveikot'")).toLongLong();
    ASSERT_GT(added, 0);
    EXPECT_EQ(PersonValue(1003, "club_id").toLongLong(), added);
}

}  // namespace
