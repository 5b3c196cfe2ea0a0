// The reader's device control and the repeat filter.

#include "app/vrkMainForm.h"
#include "devices/serial/SerComPort.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkReceiptPrinter.h"
#include "devices/vrkResultBoard.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/FixtureRunners.h"
#include "tests/support/PtyPair.h"
#include "tools/emitsim/EmitCard.h"

namespace {

struct TFilterCase {
    const char* Successively;
    const char* MainFunction;
    const char* LastAction;
    const char* Forest;
    // Cards in order; the expected dispatches.
    std::vector<const char*> Cards;
    std::vector<const char*> Dispatched;
};

}  // namespace

TEST_F(FinishDesk, RepeatFilterDropsWhatTheSettingsCallRepeats)
{
    const std::vector<TFilterCase> cases = {
        // a card lying on the reader, taken off and put back: still a repeat
        {"E", "MAALI", "EI", "K", {"1", "1", "1"}, {"1"}},
        // only another card in between lets it through again
        {"E", "MAALI", "EI", "K", {"1", "2", "1"}, {"1", "2", "1"}},
        // "K" at the finish: the same card again after its dialog
        {"K", "MAALI", "MAALI_TULOS", "K", {"1", "1"}, {"1", "1"}},
        // ... but not after it was sent to the forest
        {"K", "MAALI", "MAALI_MAASTOON", "K", {"1", "1"}, {"1"}},
        // the start desk with READ_FOREST "K": twice in a row once
        {"K", "LAHTO", "EI", "K", {"1", "1", "2"}, {"1", "2"}},
        {"K", "LAHTO", "EI", "E", {"1", "1"}, {"1", "1"}},
        // a setting that is neither "K" nor "E" drops every card
        {"X", "MAALI", "EI", "K", {"1", "2"}, {}},
    };
    for (const TFilterCase& c : cases) {
        TFormEmitReader reader(nullptr);
        reader.AfterConstruction();
        QStringList got;
        reader.OnChipRead = [&](const QString& E) { got << TFormEmitReader::CardKey(E); };
        formMain->vc_chip_read_successively = QLatin1String(c.Successively);
        formMain->vc_main_function = QLatin1String(c.MainFunction);
        formMain->vc_last_result_action = QLatin1String(c.LastAction);
        formMain->vc_chip_read_forest = QLatin1String(c.Forest);
        for (const char* card : c.Cards)
            reader.ProcessEmit(CleanEmit(QLatin1String(card)));
        QStringList want;
        for (const char* card : c.Dispatched)
            want << QString::fromLatin1(card).rightJustified(6, QLatin1Char('0'));
        EXPECT_EQ(got, want) << c.Successively << " " << c.MainFunction << " " << c.LastAction << " " << c.Forest;
    }
}

// A card dropped as the one read last is not dropped silently: the operator's
// box says so, and at the board the runner gets "read again" with the last
// result instead of the read error once the read panel's wait runs out.
TEST_F(FinishDesk, TheSameCardDroppedIsToldToTheOperatorAndAtTheBoard)
{
    TFormEmitReader reader(nullptr);
    reader.AfterConstruction();
    QStringList got;
    reader.OnChipRead = [&](const QString& E) { got << TFormEmitReader::CardKey(E); };
    formMain->vc_chip_read_successively = QStringLiteral("E");
    formMain->vc_main_function = QStringLiteral("MAALI");
    formMain->vc_last_result_action = QStringLiteral("MAALI_TULOS");
    reader.ProcessEmit(CleanEmit(QStringLiteral("12345")));
    EXPECT_TRUE(Host.ReadAgain.isEmpty());
    reader.ProcessEmit(CleanEmit(QStringLiteral("12345")));
    EXPECT_EQ(got, QStringList{QStringLiteral("012345")});
    EXPECT_EQ(Host.ReadAgain, QStringList{QStringLiteral("012345")});

    formMain->bResultBoardVisible = true;
    Board->Show();
    Board->nlastResultsClass_id = StoreRead(CleanEmit(QStringLiteral("12345")));
    reader.EnableDevice();
    Board->ShowReadPanel();
    reader.ProcessEmit(CleanEmit(QStringLiteral("12345")));
    EXPECT_FALSE(Board->ReadPanelVisible());
    EXPECT_EQ(Board->fcpNextChipPanel->Caption(), fdtxt::SameChip);
    EXPECT_EQ(Board->fcNimi->Caption(), "Virtanen Matti");
    EXPECT_FALSE(reader.EmitDeviceEnabled());  // the next-card wait turns it on
    EXPECT_EQ(got.size(), 1);
    formMain->bResultBoardVisible = false;
    Board->Hide();
}

TEST_F(FinishDesk, SameCardContentIgnoresTheReadTimeAndTheReadersOwnSlot)
{
    const QString a = Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {100, 900}, {250, 1000}});
    QString b = Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {100, 900}, {250, 1004}});
    b.replace(QStringLiteral("18."), QStringLiteral("19."));
    EXPECT_TRUE(SameCardContent(a, b));
    EXPECT_FALSE(SameCardContent(a, Emit(QStringLiteral("12345"), {{0, 0}, {31, 601}, {100, 900}, {250, 1000}})));
    EXPECT_FALSE(SameCardContent(a, Emit(QStringLiteral("12346"), {{0, 0}, {31, 600}, {100, 900}, {250, 1000}})));
    EXPECT_FALSE(SameCardContent(a, QStringLiteral("abc")));
}

TEST_F(FinishDesk, CardKeyIsFieldFourWithoutQuotes)
{
    EXPECT_EQ(TFormEmitReader::CardKey(CleanEmit(QStringLiteral("12345"))), "012345");
    EXPECT_EQ(TFormEmitReader::CardKey(CleanEmit(QStringLiteral("1234567"))), "1234567");
    EXPECT_EQ(TFormEmitReader::CardKey(QStringLiteral("abc")), "");
}

TEST_F(FinishDesk, ReaderStartsOnlyWithAPortAndRefusesThePrinterOnTheSamePort)
{
    PtyPair pty;
    // no port chosen: the reader stays stopped and asks for one
    Reader->StartDevice();
    EXPECT_FALSE(Reader->EmitDeviceStarted());
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes.back().Text, fdtxt::ReaderPortMissing);
    EXPECT_EQ(Host.Menu.back(), "MENU3_QUESTION");

    Reader->cbbLukulaiteCom->SetItems({pty.NearPath()});
    Reader->cbbTulostinCom->SetItems({pty.NearPath()});
    Reader->cbbLukulaiteCom->SetItemIndex(0);
    formMain->n_chip_reader_com = pty.NearPath();
    Reader->StartDevice();
    EXPECT_TRUE(Reader->EmitDeviceStarted());
    EXPECT_TRUE(Reader->EmitDeviceEnabled());
    EXPECT_TRUE(Reader->SerComPort1->Open());

    // the printer on the reader's port: refused with a box, no printer port
    const size_t before = Boxes.size();
    Reader->cbbTulostinCom->SetItemIndex(0);
    Reader->cbbTulostinComChange(nullptr);
    ASSERT_EQ(Boxes.size(), before + 1);
    EXPECT_EQ(Boxes.back().Text, fdtxt::PrinterPortTaken);
    EXPECT_EQ(Reader->cbbTulostinCom->ItemIndex(), -1);
    EXPECT_TRUE(formMain->n_chip_printer_com.isEmpty());
    EXPECT_TRUE(Printer->Port().isEmpty());
    EXPECT_FALSE(Host.PrintBadgeEnabled);

    // a second start only repeats the printer check
    Reader->StartDevice();
    EXPECT_TRUE(Reader->EmitDeviceStarted());
    EXPECT_EQ(Boxes.size(), before + 1);

    Reader->StopDevice();
    EXPECT_FALSE(Reader->EmitDeviceStarted());
    EXPECT_FALSE(Reader->SerComPort1->Open());
    EXPECT_EQ(Host.Menu.back(), "MENU3_QUESTION");
}

TEST_F(FinishDesk, EnablingTheReaderDropsWhatArrivedWhileItWasDisabled)
{
    PtyPair pty;
    Reader->cbbLukulaiteCom->SetItems({pty.NearPath()});
    Reader->cbbLukulaiteCom->SetItemIndex(0);
    formMain->n_chip_reader_com = pty.NearPath();
    QStringList got;
    Reader->OnChipRead = [&](const QString& E) { got << E; };
    Reader->StartDevice();
    Reader->DisableDevice();
    // a whole card's worth of bytes while a dialog is open: not taken
    QByteArray junk(600, char(0x20));
    pty.WriteFar(junk);
    PumpFor(200);
    EXPECT_TRUE(got.isEmpty());
    Reader->EnableDevice();
    EXPECT_EQ(Host.Menu.back(), "MENU3_OK");
    EXPECT_EQ(Reader->SerComPort1->InBuffUsed(), 0);
}

// Two runners back to back: the second card arrives while the first one's
// dialog keeps reading off. It is read after all, once; the first card's
// further frames (it still lay on the reader) are not a new read.
TEST_F(FinishDesk, ACardPutOnTheReaderWhileReadingIsOffIsReadWhenItComesOn)
{
    PtyPair pty;
    Reader->cbbLukulaiteCom->SetItems({pty.NearPath()});
    Reader->cbbLukulaiteCom->SetItemIndex(0);
    formMain->n_chip_reader_com = pty.NearPath();
    formMain->vc_chip_read_successively = QStringLiteral("K");
    QStringList got;
    Reader->OnChipRead = [&](const QString& E) {
        got << TFormEmitReader::CardKey(E);
        Reader->DisableDevice();  // as the card dispatch does around its dialog
    };
    Reader->StartDevice();
    QByteArray wire;
    for (uint32_t card : {11111u, 22222u})
        for (int i = 0; i < 4; ++i)
            wire += EmitWire(EmitFrame(FixtureCard(card)));
    pty.WriteFar(wire);
    ASSERT_TRUE(PumpUntil([&] { return !got.isEmpty(); }, 3000));
    PumpFor(200);
    EXPECT_EQ(got, QStringList({QStringLiteral("011111")}));
    Reader->EnableDevice();
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 2; }, 3000)) << got.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(got.last(), QStringLiteral("022222"));
    Reader->EnableDevice();
    PumpFor(200);
    EXPECT_EQ(got.size(), 2) << got.join(QLatin1Char(' ')).toStdString();
}

TEST_F(FinishDesk, AReaderPortThatCannotBeOpenedIsReportedAndLeftStopped)
{
    Reader->cbbLukulaiteCom->SetItems({QStringLiteral("/dev/ttyUSB-none")});
    Reader->cbbLukulaiteCom->SetItemIndex(0);
    formMain->n_chip_reader_com = QStringLiteral("/dev/ttyUSB-none");
    Reader->StartDevice();
    EXPECT_FALSE(Reader->EmitDeviceStarted());
    ASSERT_FALSE(Boxes.empty());
    // the port was chosen: the box names it and says why it did not open
    EXPECT_FALSE(Boxes.back().Text.contains(fdtxt::ReaderPortMissing)) << Boxes.back().Text.toStdString();
    EXPECT_TRUE(Boxes.back().Text.startsWith(fdtxt::ReaderPortOpenFailed.arg(QStringLiteral("/dev/ttyUSB-none"), QString())
                                                 .section(QLatin1Char('\r'), 0, 0)))
        << Boxes.back().Text.toStdString();
    EXPECT_TRUE(Boxes.back().Text.contains(QStringLiteral("ie_BadId"))) << Boxes.back().Text.toStdString();
    EXPECT_EQ(Host.Menu.back(), "MENU3_EXLAMATION");
}
