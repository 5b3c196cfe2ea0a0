// The scripts of the upgrade folder run at every start of a program whose
// database is of this version or older, so each must run again over a
// database that already has what it makes, and leave the rows as they were.

#include "tests/eventdb/EventDbFixture.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(UpgradeScripts, EachRunsAgainOverACurrentDatabase)
{
    EventDb db;
    db.Exec(QStringLiteral("insert into vrk_web_message_in (message_id, fingerprint) values ('1', 'x')"));
    const QStringList scripts = QStringLiteral(SORVEX_UPGRADE_SCRIPTS).split(QLatin1Char(','));
    ASSERT_FALSE(scripts.isEmpty());
    for (const QString& name : scripts) {
        QFile f(QStringLiteral(SORVEX_SOURCE_DIR "/eventdb/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_NO_THROW(db.Script(QString::fromUtf8(f.readAll()))) << name.toStdString();
    }
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_web_message_in")).toInt(), 1);
    EXPECT_EQ(db.Value(QStringLiteral("select count(*) from vrk_event where event_id = 100")).toInt(), 1);
    // reads still work after the procedures were made again
    const QVariant run = db.Value(QStringLiteral("SELECT OUT_RESULTS_CLASS_ID FROM E_RESULTS_CLASS.RESULTS_CLASS_INSERT(:IN_EVENT_ID, "
                                                 ":IN_CHIP_STRING, :IN_TO_FOREST) "),
                                  {{"IN_EVENT_ID", 100},
                                   {"IN_CHIP_STRING", EventDb::Emit(QStringLiteral("12345"), {{0, 0}, {31, 600}, {100, 900}})},
                                   {"IN_TO_FOREST", "E"}});
    EXPECT_GT(run.toLongLong(), 0);
}
