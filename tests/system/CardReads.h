#pragma once
// Card reads stored the way a desk stores them: on a connection of its own,
// one short transaction per read calling the event database's read procedure
// for event 100 of the test fixture (tests/eventdb/fixture.sql). For the
// tests and benchmarks of several desks on one database.

#include <QList>
#include <QString>
#include <QVariant>
#include <latch>

struct TDeskLogin {
    QString Database;  // a file path, or "host/port:path" on a server
    QString User = QStringLiteral("SYSDBA");
    QString Password;
};

struct TReadBatch {
    QString Error;  // the first failure or refusal text; empty when none
    QList<qint64> Ids;
};

// A finish read of card Card that ran course A of the fixture in 40:00; Index
// varies the read time.
QString CourseAChip(int Card, int Index);
// Loads the fixture event into the database.
void LoadFixtureEvent(const TDeskLogin& Login);
// A computer linked to a web service client, past its first download, that
// follows the fixture's series and last processed event 100, dated today so
// its processing can start.
void LinkDesk(const TDeskLogin& Login, qint64 ClientId, const QString& Secret);
// Persons (series 1) carrying cards FirstCard .. FirstCard + Count - 1, so
// their reads are accepted runs that travel to the web.
void RegisterRunners(const TDeskLogin& Login, int FirstCard, int Count);
// Runners checked in at the start desk: for each card a run in the forest
// ("M") on the class-course, for the person carrying the card.
void CheckInRunners(const TDeskLogin& Login, int FirstCard, int Count, qint64 EventId = 100, qint64 ClassCourseId = 401);
// Posts each run once more as the finish dialog's acceptance does, one
// transaction each: that post is what queues a run for upload.
void AcceptRuns(const TDeskLogin& Login, const QList<qint64>& Ids);
// A single value of a query (first column of the first row).
QVariant ValueOf(const TDeskLogin& Login, const QString& Sql);
// Stores Count reads of cards FirstCard, FirstCard + 1, ... After connecting
// it waits on Go (when given), so several desks start together.
TReadBatch StoreReads(const TDeskLogin& Login, int FirstCard, int Count, std::latch* Go = nullptr);
