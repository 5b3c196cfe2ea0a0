// The test driver against the real program: start over a test database, find
// the main window, read what it shows, take its picture, drive a modal
// window and quit the normal way.

#include "tests/support/ProgramUnderTest.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(Driver, StartsTheProgramReadsTheMainWindowAndQuitsCleanly)
{
    TProgramUnderTest p;
    ASSERT_TRUE(p.Start()) << p.LastError().toStdString();
    TDriverClient& d = p.Driver;
    ASSERT_TRUE(d.Wait(QStringLiteral("formMain"), 20000)) << d.LastError().toStdString();
    ASSERT_TRUE(d.Wait(QStringLiteral("formMain.btnTreeSettings"))) << d.LastError().toStdString();

    const TDriverReply windows = d.Windows();
    ASSERT_TRUE(windows);
    EXPECT_TRUE(windows.Lines().filter(QStringLiteral("formMain\t")).size() == 1) << windows.Text.toStdString();

    // Before an event is chosen the results grid shows its titles only.
    const TDriverReply grid = d.Grid(QStringLiteral("formMain.rdbgrdResultsClass"));
    ASSERT_TRUE(grid) << d.LastError().toStdString();
    ASSERT_EQ(grid.Lines().size(), 1) << grid.Text.toStdString();
    EXPECT_GT(grid.Lines().first().split(QLatin1Char('\t')).size(), 3) << grid.Text.toStdString();

    const QString png = p.Home.File(QStringLiteral("main.png"));
    ASSERT_TRUE(d.Grab(QStringLiteral("formMain"), png)) << d.LastError().toStdString();
    const QImage image(png);
    EXPECT_GT(image.width(), 400);
    EXPECT_GT(image.height(), 300);
    if (const QByteArray keep = qgetenv("SORVEX_DRIVER_SHOTS"); !keep.isEmpty())
        image.save(QString::fromLocal8Bit(keep) + QStringLiteral("/driver_main.png"));

    // A modal window opened by a click stays drivable; Escape closes it.
    ASSERT_TRUE(d.Click(QStringLiteral("formMain.btnTreeSettings"))) << d.LastError().toStdString();
    ASSERT_TRUE(d.Wait(QStringLiteral("formSettings.btnOK"))) << d.LastError().toStdString();
    EXPECT_EQ(d.Windows().Lines().size(), 2);
    EXPECT_EQ(d.Get(QStringLiteral("formSettings.lbledtClientName")).Text, QStringLiteral("Maalikone"));
    EXPECT_FALSE(d.Set(QStringLiteral("formSettings.lbledtClientName"), QStringLiteral("x")));  // read-only
    ASSERT_TRUE(d.Set(QStringLiteral("formSettings.lbledtClientSecret"), QStringLiteral("new secret %1")));
    EXPECT_EQ(d.Get(QStringLiteral("formSettings.lbledtClientSecret")).Text, QStringLiteral("new secret %1"));
    // Pages by caption or index; only shown tabs.
    EXPECT_EQ(d.Get(QStringLiteral("formSettings.pcSettings")).Text, QStringLiteral("Yleiset"));
    ASSERT_TRUE(d.Set(QStringLiteral("formSettings.pcSettings"), QStringLiteral("Laiteet"))) << d.LastError().toStdString();
    EXPECT_EQ(d.Get(QStringLiteral("formSettings.pcSettings")).Text, QStringLiteral("Laiteet"));
    EXPECT_TRUE(d.Wait(QStringLiteral("formSettings.chkReadSameChip"), 2000)) << d.LastError().toStdString();
    ASSERT_TRUE(d.Select(QStringLiteral("formSettings.pcSettings"), QStringLiteral("0"))) << d.LastError().toStdString();
    EXPECT_EQ(d.Get(QStringLiteral("formSettings.pcSettings")).Text, QStringLiteral("Yleiset"));
    ASSERT_TRUE(d.Key(QStringLiteral("formSettings"), QStringLiteral("Escape"))) << d.LastError().toStdString();
    ASSERT_TRUE(d.Gone(QStringLiteral("formSettings"))) << d.LastError().toStdString();

    // The desk tabs by caption or index (the event day shows that the
    // change event runs: its cards open the start desk's check-in).
    ASSERT_TRUE(d.Set(QStringLiteral("formMain.tabKasittely"), QStringLiteral("Lähtö"))) << d.LastError().toStdString();
    EXPECT_EQ(d.Get(QStringLiteral("formMain.tabKasittely")).Text, QStringLiteral("Lähtö"));
    ASSERT_TRUE(d.Set(QStringLiteral("formMain.tabKasittely"), QStringLiteral("1"))) << d.LastError().toStdString();
    EXPECT_EQ(d.Get(QStringLiteral("formMain.tabKasittely")).Text, QStringLiteral("Maali"));
    const TDriverReply noTab = d.Set(QStringLiteral("formMain.tabKasittely"), QStringLiteral("Kahvio"));
    EXPECT_FALSE(noTab);
    EXPECT_EQ(noTab.Text, QStringLiteral("no tab Kahvio"));

    // Errors name what is missing, and the program goes on.
    const TDriverReply missing = d.Click(QStringLiteral("formMain.noSuchButton"));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.Text.contains(QStringLiteral("noSuchButton")));
    EXPECT_FALSE(d.Wait(QStringLiteral("noSuchForm"), 50));
    EXPECT_FALSE(d.Key(QStringLiteral("formMain.rdbgrdResultsClass"), QStringLiteral("NoKey")));

    ASSERT_TRUE(p.QuitAndWait()) << p.LastError().toStdString();
}
