// The printer list and the program's own default printer.
#include "platform/print/Printers.h"

#include <gtest/gtest.h>

namespace {

class PrintersTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        ResetDefaultPrinterName();
        SetPrintersForTesting(std::nullopt);
    }
};

TEST_F(PrintersTest, SystemListAndDefaultAgree)
{
    // whatever the machine has: the default is empty or one of the printers
    const QStringList names = PrinterNames();
    const QString def = SystemDefaultPrinterName();
    EXPECT_TRUE(def.isEmpty() || names.contains(def));
    EXPECT_FALSE(SetDefaultPrinterName(QStringLiteral("no such printer \u00e5\u00e4\u00f6")));
    EXPECT_EQ(DefaultPrinterName(), def);
}

TEST_F(PrintersTest, ChosenPrinterWinsWhileItIsInstalled)
{
    SetPrintersForTesting(QStringList{QStringLiteral("Toimisto"), QStringLiteral("Maali_HP")}, QStringLiteral("Toimisto"));
    EXPECT_EQ(DefaultPrinterName(), QStringLiteral("Toimisto"));
    EXPECT_FALSE(SetDefaultPrinterName(QString()));
    EXPECT_FALSE(SetDefaultPrinterName(QStringLiteral("maali_hp")));  // names match exactly
    EXPECT_TRUE(SetDefaultPrinterName(QStringLiteral("Maali_HP")));
    EXPECT_EQ(DefaultPrinterName(), QStringLiteral("Maali_HP"));
    EXPECT_EQ(SystemDefaultPrinterName(), QStringLiteral("Toimisto"));  // the system's stays
    // a printer that went away gives the system's default again
    SetPrintersForTesting(QStringList{QStringLiteral("Toimisto")}, QStringLiteral("Toimisto"));
    EXPECT_EQ(DefaultPrinterName(), QStringLiteral("Toimisto"));
    SetPrintersForTesting(QStringList{}, QString());
    EXPECT_TRUE(DefaultPrinterName().isEmpty());
}

}  // namespace
