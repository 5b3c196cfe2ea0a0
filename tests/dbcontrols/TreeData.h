#pragma once
// Series, events and runs in memory, each level the detail of the one above,
// for the navigation tree's tests and benchmark.

#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "tests/dbcontrols/DetailFilterLink.h"

#include <memory>

struct TTreeData {
    // Series 1..Series, Events per series (ids 100*s + e), Runs per event
    // (ids counted from 1 over all events).
    TTreeData(int Series, int EventsPerSeries, int RunsPerEvent);
    TClientDataSet series, events, runs;
    TDataSource seriesSrc, eventsSrc, runsSrc;
    std::unique_ptr<TDetailFilterLink> eventsLink, runsLink;
};

inline TTreeData::TTreeData(int Series, int EventsPerSeries, int RunsPerEvent)
{
    series.AddField(QStringLiteral("SERIES_ID"), ftInteger);
    series.AddField(QStringLiteral("SERIES_NAME"), ftWideString, 40);
    series.SetKeyFields(QStringLiteral("SERIES_ID"));
    series.CreateDataSet();
    events.AddField(QStringLiteral("EVENT_ID"), ftInteger);
    events.AddField(QStringLiteral("SERIES_ID"), ftInteger);
    events.AddField(QStringLiteral("EVENT_NAME"), ftWideString, 40);
    events.SetKeyFields(QStringLiteral("EVENT_ID"));
    events.CreateDataSet();
    runs.AddField(QStringLiteral("RUN_ID"), ftInteger);
    runs.AddField(QStringLiteral("EVENT_ID"), ftInteger);
    runs.AddField(QStringLiteral("PERSON_NAME"), ftWideString, 40);
    runs.SetKeyFields(QStringLiteral("RUN_ID"));
    runs.CreateDataSet();
    int run = 0;
    for (int s = 1; s <= Series; ++s) {
        series.AppendRecord({s, QStringLiteral("Sarja %1").arg(s)});
        for (int e = 1; e <= EventsPerSeries; ++e) {
            const int eventId = 100 * s + e;
            events.AppendRecord({eventId, s, QStringLiteral("Kisa %1").arg(eventId)});
            for (int r = 0; r < RunsPerEvent; ++r) {
                ++run;
                runs.AppendRecord({run, eventId, QStringLiteral("Juoksija %1").arg(run)});
            }
        }
    }
    series.First();
    seriesSrc.SetDataSet(&series);
    eventsSrc.SetDataSet(&events);
    runsSrc.SetDataSet(&runs);
    eventsLink = std::make_unique<TDetailFilterLink>(&seriesSrc, &events, QStringLiteral("SERIES_ID"), QStringLiteral("SERIES_ID"));
    runsLink = std::make_unique<TDetailFilterLink>(&eventsSrc, &runs, QStringLiteral("EVENT_ID"), QStringLiteral("EVENT_ID"));
}
