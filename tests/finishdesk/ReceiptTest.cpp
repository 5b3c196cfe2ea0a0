// Receipt bytes against golden files, and the receipt through the printer's
// serial port.

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkReceiptPrinter.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "tests/finishdesk/FinishDeskFixture.h"
#include "tests/serial/PortEventLoop.h"
#include "tests/support/PtyPair.h"

#include <QFile>

namespace {

// Compares with the golden file; a missing file is written (and the test
// fails, so that a person looks at it before it is committed).
void ExpectGolden(const QByteArray& Bytes, const char* Name)
{
    const QString path = QStringLiteral(SORVEX_GOLDEN_DIR "/") + QLatin1String(Name);
    QFile f(path);
    if (!f.exists()) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
        FAIL() << "golden file written: " << path.toStdString();
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(Bytes.toHex(' ').toStdString(), f.readAll().toHex(' ').toStdString()) << Name;
}

// The type 1 stream without its size and underline commands.
QByteArray WithoutSizeCommands(QByteArray B)
{
    for (const QByteArray& cmd : {QByteArray("\x1d\x21\x01", 3), QByteArray("\x1d\x21\x00", 3),
                                  QByteArray("\x1b\x2d\x49", 3), QByteArray("\x1b\x2d\x48", 3)})
        B.replace(cmd, QByteArray());
    return B;
}

}  // namespace

TEST_F(FinishDesk, ReceiptBytesOfACleanReadAndAMispunch)
{
    const int64_t clean = StoreRead(CleanEmit(QStringLiteral("12345")));
    const QByteArray epr3 = TReceiptPrinter::ReceiptBytes(clean, 1);
    ExpectGolden(epr3, "receipt_clean_epr3.bin");
    // the Woosim gets the same bytes without size and underline commands
    EXPECT_EQ(TReceiptPrinter::ReceiptBytes(clean, 2), WithoutSizeCommands(epr3));
    // the MTR2 gets nothing
    EXPECT_TRUE(TReceiptPrinter::ReceiptBytes(clean, 0).isEmpty());

    // control 33 missed: its number is printed without the reverse commands
    const int64_t mispunch = StoreRead(Emit(QStringLiteral("54321"), {{0, 0}, {31, 600}, {32, 1200}, {100, 2400}, {250, 2700}}));
    ExpectGolden(TReceiptPrinter::ReceiptBytes(mispunch, 1), "receipt_mispunch_epr3.bin");
}

TEST_F(FinishDesk, ReceiptSendsFinnishLettersInCodePage437)
{
    Db.Exec(QStringLiteral("INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (502, 1, 'Åbo Öjä', 'ÅÖ');"
                           "INSERT INTO VRK_PERSON (PERSON_ID, EVENT_SERIES_ID, PERSON_NAME, CLUB_ID, CONTROL_CARD) "
                           "VALUES (1009, 1, 'Mäkelä Åsa', 502, '066666');"));
    const int64_t id = StoreRead(CleanEmit(QStringLiteral("66666")));
    const QByteArray bytes = TReceiptPrinter::ReceiptBytes(id, 2);
    ExpectGolden(bytes, "receipt_letters_woosim.bin");
    EXPECT_TRUE(bytes.contains(QByteArray("M\x84kel\x84 \x8fsa, \x8f" "bo \x99j\x84")));
    EXPECT_EQ(TReceiptPrinter::convert_ASCII(QStringLiteral("äöåÄÖÅ")), QByteArray("\x84\x94\x86\x8e\x99\x8f"));
    EXPECT_EQ(TReceiptPrinter::LeftPad(QStringLiteral("abc"), QLatin1Char(' '), 5), "abc  ");
    EXPECT_EQ(TReceiptPrinter::LeftPad(QStringLiteral("abcdef"), QLatin1Char(' '), 5), "abcdef");
}

TEST_F(FinishDesk, PrintBadgeSendsTheReceiptToThePrintersPort)
{
    const int64_t id = StoreRead(CleanEmit(QStringLiteral("12345")));
    PtyPair pty;
    Reader->cbbTulostinCom->SetItems({pty.NearPath()});
    Reader->cbbTulostinCom->SetItemIndex(0);
    formMain->n_chip_printer_com = pty.NearPath();
    formMain->n_chip_printer_type = 1;
    const QByteArray want = TReceiptPrinter::ReceiptBytes(id, 1);
    Printer->printBadge(id);
    EXPECT_EQ(pty.ReadFar(want.size(), 5000).toHex(' ').toStdString(), want.toHex(' ').toStdString());

    // type 0: the port is set and closed, nothing is sent
    formMain->n_chip_printer_type = 0;
    Printer->printBadge(id);
    EXPECT_TRUE(pty.ReadFar(1, 300).isEmpty());
    EXPECT_TRUE(Boxes.empty());

    // a printer port that cannot be opened: the message, and the desk goes on
    formMain->n_chip_printer_type = 1;
    formMain->n_chip_printer_com = QStringLiteral("/dev/ttyUSB-none");
    Printer->printBadge(id);
    ASSERT_FALSE(Boxes.empty());
    EXPECT_EQ(Boxes.back().Text, fdtxt::ReceiptFailed);
}
