// The whole finish desk: the reader simulator writes cards into a
// pseudo-terminal that the device form opens as its reader; each card goes
// through the frame assembler, the repeat filter and the dispatch to the
// finish dialog, is accepted, reaches the results grid's refresh and the
// board, and its receipt comes out of a second pseudo-terminal.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "devices/vrkDeviceList.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/ui/StdCtrls.h"
#include "results/vrkResultsClass2.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/FixtureRunners.h"
#include "tests/support/PtyPair.h"
#include "tests/support/SimulatedReader.h"

namespace {

TEmitCard Card(uint32_t Number, bool Clean = true)
{
    return FixtureCard(Number, Clean);
}

}  // namespace

class WholeDesk : public FinishDesk {
protected:
    void SetUp() override
    {
        FinishDesk::SetUp();
        formMain->n_chip_reader_com = Reader_.PortPath();
        formMain->n_chip_printer_com = PrinterPty.NearPath();
        formMain->n_chip_printer_type = 1;
        formMain->vc_chip_read_successively = QStringLiteral("E");
        refreshDevices();
        ASSERT_TRUE(Reader->EmitDeviceStarted());
        ASSERT_EQ(Reader->cbbTulostinCom->Text(), PrinterPty.NearPath());
    }
    // Puts a card on the reader and waits until its run is handled.
    int64_t Read(const TEmitCard& C, const std::function<bool()>& Done)
    {
        Reader_.Place(C, 4);
        EXPECT_TRUE(PumpUntil(Done, 10000)) << C.Number;
        Reader_.Wait();
        return Value(QStringLiteral("select max(RESULTS_CLASS_ID) from VRK_RESULTS_CLASS")).toLongLong();
    }
    int Accepted() { return Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where RESULT_STATUS in ('V', 'L')")).toInt(); }

    SimulatedReader Reader_;
    PtyPair PrinterPty;
};

TEST_F(WholeDesk, EachCardOpensTheFinishDialogIsAcceptedAndPrinted)
{
    OnModal = [this](TCustomForm*) {
        Dialog->btnOKClick(nullptr);
        return int(mrOk);
    };
    // the known runner, clean: a receipt
    const int64_t clean = Read(Card(12345), [this] { return Accepted() == 1 && Reader->EmitDeviceEnabled(); });
    EXPECT_EQ(Value(QStringLiteral("select PERSON_ID from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = %1").arg(clean)).toInt(), 1001);
    const QByteArray receipt = TReceiptPrinter::ReceiptBytes(clean, 1);
    EXPECT_EQ(PrinterPty.ReadFar(receipt.size(), 5000).toHex(' ').toStdString(), receipt.toHex(' ').toStdString());
    ASSERT_FALSE(Host.GridRefreshes.empty());
    EXPECT_EQ(Host.GridRefreshes.back(), clean);

    // a mispunch of another runner: accepted with its status, and printed
    const int64_t mispunch = Read(Card(54321, false), [this] { return Accepted() == 2 && Reader->EmitDeviceEnabled(); });
    EXPECT_EQ(Value(QStringLiteral("select STATUS from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = %1").arg(mispunch)).toString(), "3");
    const QByteArray second = TReceiptPrinter::ReceiptBytes(mispunch, 1);
    EXPECT_EQ(PrinterPty.ReadFar(second.size(), 5000).size(), second.size());

    // an unknown card: kept locally, no receipt
    const int64_t unknown = Read(Card(44444), [this] { return Accepted() == 3 && Reader->EmitDeviceEnabled(); });
    EXPECT_EQ(Value(QStringLiteral("select RESULT_STATUS from VRK_RESULTS_CLASS where RESULTS_CLASS_ID = %1").arg(unknown)).toString(), "L");
    EXPECT_TRUE(PrinterPty.ReadFar(1, 300).isEmpty());
    EXPECT_EQ(Host.GridRefreshes.back(), unknown);
}

TEST_F(WholeDesk, SelfServiceAccepts100RegisteredCardsInARowWithoutAClick)
{
    constexpr int kCards = 100;
    Db.Exec(RegisteredRunnersScript(kCards, 20000, 300000, 30000));
    formMain->iChipReadDelay = 0;
    formMain->bResultBoardVisible = true;
    Board->Show();
    OnModal = [](TCustomForm*) {
        ADD_FAILURE() << "a modal dialog opened in self-service";
        return int(mrCancel);
    };
    Reader_.Simulator().SetPacing(false);
    for (int i = 1; i <= kCards; ++i) {
        const int64_t run = 30000 + i;
        Reader_.Place(Card(300000 + i), 4);
        ASSERT_TRUE(PumpUntil([&] { return Board->nlastResultsClass_id == run && !Dialog->Visible() && Reader->EmitDeviceEnabled(); },
                              10000))
            << "card " << i;
        Reader_.Wait();
        const QByteArray receipt = TReceiptPrinter::ReceiptBytes(run, 1);
        ASSERT_EQ(PrinterPty.ReadFar(receipt.size(), 5000).size(), receipt.size()) << "card " << i;
    }
    EXPECT_EQ(Value(QStringLiteral("select count(*) from VRK_RESULTS_CLASS where RESULT_STATUS = 'V'")).toInt(), kCards);
    EXPECT_TRUE(Boxes.empty());
    formMain->bResultBoardVisible = false;
    Board->Hide();
}
