#pragma once
// The start desk over the small fixture event: series 1 (chip balances in
// use), season 10, event 100 processed, the entity globals loaded as the main
// window loads them, and the check-in's run logic. Message boxes are answered
// by Answer and recorded in Boxes.

#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/Dialogs.h"
#include "results/vrkResultsClassForestRun.h"
#include "tests/eventdb/EventDbFixture.h"
#include "tests/support/DataModuleFixture.h"

#include <QFile>
#include <gtest/gtest.h>

class StartDesk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.Connect());
        QFile fx(QStringLiteral(SORVEX_SOURCE_DIR "/tests/eventdb/fixture.sql"));
        ASSERT_TRUE(fx.open(QIODevice::ReadOnly));
        f.Exec(QString::fromUtf8(fx.readAll()));
        formMain->nCurrentProcessedEvent = 100;
        formMain->nCurrentProcessedEventS = 1;
        formMain->nCurrentProcessedEventSSeason = 10;
        formMain->vcUILanguageCode = QStringLiteral("FI");
        formMain->vc_last_read_chip.clear();
        Reload();
        FOld = SetMessageBoxHook([this](const TMessageBoxRequest& r) {
            Boxes << r.Text;
            BoxFlags << r.Flags;
            return Answer;
        });
        TResultsClassForestRun::Tila = -1;
        run.OnRunClosed = [this](int64_t id) { Closed << id; };
    }
    void TearDown() override { SetMessageBoxHook(FOld); }
    // The entity globals as the main window loads them for the processed event.
    void Reload()
    {
        f.Module->getEventSeriesData(1);
        f.Module->getEventSeriesSeasonData(10);
        f.Module->getEventData(100);
    }
    QVariant V(const QString& sql) { return f.Value(sql); }
    QVariant Run(int64_t id, const char* column)
    {
        return V(QStringLiteral("select %1 from vrk_results_class where results_class_id = %2").arg(QLatin1String(column)).arg(id));
    }
    int PersonsNamed(const QString& name)
    {
        return V(QStringLiteral("select count(*) from vrk_person where person_name = '%1'").arg(name)).toInt();
    }
    int Runs() { return V(QStringLiteral("select count(*) from vrk_results_class")).toInt(); }
    static QString Card(const QString& number)
    {
        return EventDb::Emit(number, {{0, 0}});
    }

    DataModuleFixture f;
    TResultsClassForestRun run;
    QStringList Boxes;
    QList<unsigned> BoxFlags;  // the button set and icon of each box
    QList<int64_t> Closed;
    int Answer = IDYES;

private:
    TMessageBoxHook FOld;
};
