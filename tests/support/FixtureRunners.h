#pragma once
// Cards and registered runners for the fixture event (tests/eventdb/fixture.sql,
// event 100, H21 on course A with controls 31, 32, 33 and finish 100), shared
// by the finish desk's tests and benchmarks.

#include "tools/emitsim/EmitSimulator.h"

#include <QString>
#include <cstdint>

// A card read at the finish of course A; not clean: control 33 missed.
inline TEmitCard FixtureCard(uint32_t Number, bool Clean = true)
{
    TEmitCard c;
    c.Number = Number;
    c.Week = 33;
    c.Year = 21;
    if (Clean)
        c.Punches = {{0, 0}, {31, 300}, {32, 700}, {33, 1100}, {100, 1500}, {250, 1600}};
    else
        c.Punches = {{0, 0}, {31, 300}, {32, 700}, {100, 1500}, {250, 1600}};
    return c;
}

// Runners 1..Count registered in H21 at another computer: person
// FirstPerson + i "Juoksija i" with card FirstCard + i, run FirstRun + i,
// inserted and registered at Time (an SQL timestamp expression).
inline QString RegisteredRunnersScript(int Count, int FirstPerson, int FirstCard, int FirstRun,
                                       const QString& Time = QStringLiteral("'2024-06-01 18:00:00'"))
{
    QString script;
    for (int i = 1; i <= Count; ++i)
        script += QStringLiteral(
                      "INSERT INTO VRK_PERSON (PERSON_ID, EVENT_SERIES_ID, PERSON_NAME, CONTROL_CARD) VALUES (%1, 1, "
                      "'Juoksija %2', '%3');"
                      "INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, CONTROL_CARD, PERSON_ID, "
                      "ENTRY_FEE, INSERTED, UPDATED, CLASS_COURSE_ID, ORIGIN_CLIENT_ID, ORIGIN_CLIENT_NAME, RENTED_CHIP, "
                      "RESULT_STATUS, FIRST_RESULT_STATUS, PERSON_NAME, REGISTERED_TIME) VALUES (%4, 100, 1, '%3', %1, "
                      "12, %5, %5, 401, 7, 'Testikone', 'E', 'M', 'M', '', %5);")
                      .arg(FirstPerson + i)
                      .arg(i)
                      .arg(FirstCard + i)
                      .arg(FirstRun + i)
                      .arg(Time);
    return script;
}
