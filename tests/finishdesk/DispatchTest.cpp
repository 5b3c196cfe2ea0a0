// The card dispatch by desk and board, the test entry, and the device list
// with arrival and removal notices.

#include "app/vrkMainForm.h"
#include "data/vrkEntities.h"
#include "devices/vrkChipDispatch.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "results/vrkResultsClass2.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/PtyPair.h"

namespace {

struct TDispatchCase {
    const char* Name;
    const char* MainFunction;
    const char* ReadForest;
    bool InForest;
    bool Board;
    // expected: "finish-modal", "finish-shown", "check-in"
    const char* Opens;
    bool EnabledAfter;
};

}  // namespace

TEST_F(FinishDesk, ChipReadOpensTheDialogOfTheDeskAndMode)
{
    Db.Exec(QStringLiteral(
        "INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, ENTRY_FEE, "
        "INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, RESULT_STATUS, "
        "FIRST_RESULT_STATUS, PERSON_NAME, REGISTERED_TIME) VALUES (5001, 100, 1, '054321', 1002, 12, "
        "'2024-06-01 18:00:00', '2024-06-01 18:00:00', 402, 7, 'Testikone', 'E', 'M', 'M', 'Korhonen Anna', "
        "'2024-06-01 18:00:00');"));
    const std::vector<TDispatchCase> cases = {
        {"finish, board hidden", "MAALI", "K", false, false, "finish-modal", true},
        {"finish, board shown", "MAALI", "K", false, true, "finish-shown", false},
        {"start, not in forest", "LAHTO", "K", false, false, "check-in", true},
        {"start, in forest, READ_FOREST E", "LAHTO", "E", true, false, "check-in", true},
        {"start, in forest, READ_FOREST K", "LAHTO", "K", true, false, "finish-modal", true},
    };
    for (const TDispatchCase& c : cases) {
        formMain->vc_main_function = QLatin1String(c.MainFunction);
        formMain->vc_chip_read_forest = QLatin1String(c.ReadForest);
        formMain->bResultBoardVisible = c.Board;
        formMain->vc_last_read_chip.clear();
        Host.CheckIns.clear();
        OnModal = [](TCustomForm*) { return int(mrCancel); };
        Dialog->vcChipString.clear();
        Reader->EnableDevice();
        const QString chip = c.InForest ? CleanEmit(QStringLiteral("54321")) : CleanEmit(QStringLiteral("12345"));
        ChipRead(chip);
        // a modal showing has ended when ChipRead returns; one next to the
        // board is still open
        const bool finish = Dialog->vcChipString == chip;
        const QString opened = !Host.CheckIns.isEmpty() ? QStringLiteral("check-in")
                               : !finish                ? QStringLiteral("nothing")
                               : Dialog->Visible()      ? QStringLiteral("finish-shown")
                                                        : QStringLiteral("finish-modal");
        EXPECT_EQ(opened, QLatin1String(c.Opens)) << c.Name;
        EXPECT_EQ(Reader->EmitDeviceEnabled(), c.EnabledAfter) << c.Name;
        PumpUntil([this] { return !Dialog->Visible(); }, 3000);
        Dialog->vcChipString.clear();
    }
    formMain->bResultBoardVisible = false;
    // the registered card was accepted automatically (a clean run, not
    // rented); the other reads were cancelled and left nothing behind
    EXPECT_EQ(Value(QStringLiteral("select RESULT_STATUS from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = 5001")).toString(),
              "V");
    EXPECT_EQ(Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(), 1);
}

TEST_F(FinishDesk, ChipReadRefusesAnEventWithoutCoursesAndKeepsReading)
{
    event->Setclassess(0);
    Reader->EnableDevice();
    bool opened = false;
    OnModal = [&](TCustomForm*) {
        opened = true;
        return int(mrCancel);
    };
    ChipRead(CleanEmit(QStringLiteral("12345")));
    EXPECT_FALSE(opened);
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes.back().Text, fdtxt::EventHasNoCourses);
    EXPECT_TRUE(Reader->EmitDeviceEnabled());
    EXPECT_EQ(Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS")).toInt(), 0);
}

TEST_F(FinishDesk, TestEntryRefusesATextWithoutACardNumber)
{
    Reader->EnableDevice();
    ChipStringOK(QStringLiteral("\"X\",\"0\""));
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes.back().Text, fdtxt::ChipStringNoCard);
    EXPECT_TRUE(Reader->EmitDeviceEnabled());
    EXPECT_EQ(EmitCardNumber(CleanEmit(QStringLiteral("777"))), "000777");
}

TEST_F(FinishDesk, RemovingTheReadersAdapterRestartsTheReaderWithoutItsPort)
{
    auto pty = std::make_unique<PtyPair>();
    const QString path = pty->NearPath();
    formMain->n_chip_reader_com = path;
    refreshDevices();
    ASSERT_TRUE(Reader->EmitDeviceStarted());
    Boxes.clear();

    pty.reset();  // unplugged: gone from the port list
    DeviceChanged(TDeviceChange::RemoveComplete, path);
    ASSERT_EQ(BoxTexts().size(), 2);
    EXPECT_EQ(BoxTexts()[0], fdtxt::ReaderPortMissing);
    EXPECT_EQ(BoxTexts()[1], path + fdtxt::PortRemoved);
    EXPECT_FALSE(Reader->EmitDeviceStarted());

    // plugged back in (as a new device path that the settings name)
    Boxes.clear();
    PtyPair again;
    formMain->n_chip_reader_com = again.NearPath();
    DeviceChanged(TDeviceChange::Arrival, again.NearPath());
    ASSERT_EQ(BoxTexts().size(), 1);
    EXPECT_EQ(BoxTexts()[0], again.NearPath() + fdtxt::PortArrived);
    EXPECT_TRUE(Reader->EmitDeviceStarted());
    EXPECT_EQ(Reader->cbbLukulaiteCom->Text(), again.NearPath());

    // while no event is processed a plug changes nothing
    Boxes.clear();
    formMain->nCurrentProcessedEvent = 0;
    TDeviceMonitor monitor;
    WatchDevices(monitor);
    monitor.Notify(TDeviceChange::RemoveComplete, again.NearPath());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_TRUE(Reader->EmitDeviceStarted());
}
