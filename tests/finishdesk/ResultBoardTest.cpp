// The result board: its waits, the standings around the runner, the sounds
// and the next-card wait.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkResultBoard.h"
#include "platform/os/Sound.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"

TEST(ResultBoardWaits, FollowTheReadDelay)
{
    EXPECT_EQ(TformResultBoard::ReadErrorWaitMs(5), 2000);
    EXPECT_EQ(TformResultBoard::NextCardWaitMs(5), 5000);
    EXPECT_EQ(TformResultBoard::ReadErrorWaitMs(9), 4000);
    EXPECT_EQ(TformResultBoard::NextCardWaitMs(9), 9000);
    EXPECT_EQ(TformResultBoard::ReadErrorWaitMs(8), 4000);
    // no wait of nothing: the read panel stays a second, the next card is
    // invited at once
    EXPECT_EQ(TformResultBoard::ReadErrorWaitMs(1), 1000);
    EXPECT_EQ(TformResultBoard::ReadErrorWaitMs(0), 1000);
    EXPECT_EQ(TformResultBoard::NextCardWaitMs(0), 1);
}

TEST_F(FinishDesk, BoardShowsTheStandingsAroundTheRunnerAndHighlightsOnlyItsPlace)
{
    // twenty accepted runs of H21, one second apart
    QString script;
    for (int i = 1; i <= 20; ++i)
        script += QStringLiteral(
                      "INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, "
                      "ENTRY_FEE, INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, "
                      "RESULT_STATUS, FIRST_RESULT_STATUS, PERSON_NAME, TIME_SEC, STATUS) VALUES (%1, 100, 1, '%2', 0, 0, "
                      "'2024-06-01 19:00:00', '2024-06-01 19:00:00', 401, 7, 'Testikone', 'E', 'V', 'V', 'Juoksija %3', "
                      "%4, '0');")
                      .arg(6000 + i)
                      .arg(200000 + i)
                      .arg(i)
                      .arg(1000 + i);
    Db.Exec(script, true);
    Board->Show();
    Board->ShowResultData(6018);
    EXPECT_EQ(Board->fcNimi->Caption(), "Juoksija 18");
    // the first three, then the rows around the runner
    EXPECT_EQ(Board->lblPSija[0]->Caption(), "1.");
    EXPECT_EQ(Board->lblPSija[2]->Caption(), "3.");
    QStringList places;
    int own = -1;
    for (int i = 0; i < 13; ++i) {
        places << Board->lblPSija[i]->Caption();
        if (Board->fcpP[i]->Color() == Board->cCurrentPlaceBgColor && Board->lblPSija[i]->Caption() == "18.")
            own = i;
    }
    EXPECT_TRUE(places.contains("18.")) << places.join(' ').toStdString();
    ASSERT_GE(own, 0);
    for (int i = 0; i < 13; ++i) {
        if (i != own) {
            EXPECT_EQ(Board->fcpP[i]->Color(), Board->cPlaceBgColor) << i;
        }
    }
    EXPECT_EQ(Board->fctila->Font()->Color(), RGB(0, 128, 0));
    EXPECT_TRUE(Sounds.empty());

    // a run without a place highlights no row
    const int64_t unplaced = StoreRead(Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {100, 2400}, {250, 2700}}));
    Board->ShowResultData(unplaced);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(Board->fcpP[i]->Color(), Board->cPlaceBgColor) << i;
    Board->Hide();
}

TEST_F(FinishDesk, ADisqualifiedRunOnARentedCardSoundsTwice)
{
    formMain->iResultBoardSound1 = 4;
    formMain->iResultBoardSound2 = 4;
    const int64_t id = StoreRead(Emit(QStringLiteral("77777"), {{0, 0}, {31, 600}, {100, 2400}, {250, 2700}}));
    Board->ShowResultData(id);
    EXPECT_EQ(Sounds, QStringList({SoundEventId(MB_ICONHAND), SoundEventId(MB_ICONHAND)}));
    EXPECT_TRUE(Board->fcpLainakortti->Visible());
    EXPECT_EQ(Board->fctila->Font()->Color(), clRed);

    // the settings pick the sounds: disqualified first, then the rented card
    Sounds.clear();
    formMain->iResultBoardSound1 = 2;
    formMain->iResultBoardSound2 = 3;
    Board->ShowResultData(id);
    EXPECT_EQ(Sounds, QStringList({SoundEventId(MB_ICONEXCLAMATION), SoundEventId(MB_ICONASTERISK)}));
}

TEST_F(FinishDesk, NextCardWaitEnablesReadingOnlyOnceTheFinishDialogIsClosed)
{
    formMain->iChipReadDelay = 0;
    bool dialogOpen = true;
    Board->FinishDialogShowing = [&] { return dialogOpen; };
    Board->Show();
    Reader->DisableDevice();
    Board->HideReadPanel();  // "NEXT": the next-card wait starts
    PumpFor(100);
    EXPECT_FALSE(Reader->EmitDeviceEnabled());
    dialogOpen = false;
    PumpUntil([this] { return Reader->EmitDeviceEnabled(); }, 2000);
    EXPECT_TRUE(Reader->EmitDeviceEnabled());
    EXPECT_EQ(Board->fcpNextChipPanel->Caption(), fdtxt::NextCard);
    Board->Hide();
}

TEST_F(FinishDesk, ReadPanelEndsWithTheRefusalOrTheReadError)
{
    Board->Show();
    Board->ShowReadPanel();
    EXPECT_TRUE(Board->ReadPanelVisible());
    EXPECT_EQ(Board->fcpReadPanel->Width(), Board->Width() - int(std::lround(Board->Width() * 0.3)));
    Board->ShowNotInForest();
    Board->HideReadPanel();
    EXPECT_FALSE(Board->ReadPanelVisible());
    EXPECT_EQ(Board->fcpNextChipPanel->Caption(), fdtxt::NotInForest);
    // a card taken away early: the read-error wait ends the panel
    formMain->iChipReadDelay = 2;
    Board->ShowReadPanel();
    PumpUntil([this] { return !Board->ReadPanelVisible(); }, 3000);
    EXPECT_EQ(Board->vcReadPanelType, "READ_ERROR");
    EXPECT_EQ(Board->fcpNextChipPanel->Caption(), fdtxt::ReadFailed);
    Board->Hide();
}
