#include "data/vrkEntities.h"

#include "data/vrkDataModule.h"

TClient* Client = nullptr;
TEvent_Series* eventSeries = nullptr;
TEvent_Series_Season* eventSeriesSeason = nullptr;
TEvent* event = nullptr;
TEvent* processedEvent = nullptr;
TPerson* person = nullptr;
TClub* club = nullptr;
TSpecialCc* specialCc = nullptr;
TClass* event_class = nullptr;
TClassCourse* classCourse = nullptr;
TResultsClass* resultsClass = nullptr;

void CreateEntityGlobals()
{
    if (!Client)
        Client = new TClient;
    if (!eventSeries)
        eventSeries = new TEvent_Series;
    if (!eventSeriesSeason)
        eventSeriesSeason = new TEvent_Series_Season;
    if (!event)
        event = new TEvent;
    if (!processedEvent)
        processedEvent = new TEvent;
    if (!person)
        person = new TPerson;
    if (!club)
        club = new TClub;
    if (!specialCc)
        specialCc = new TSpecialCc;
    if (!event_class)
        event_class = new TClass;
    if (!classCourse)
        classCourse = new TClassCourse;
    if (!resultsClass)
        resultsClass = new TResultsClass;
}

// Each loader fills the global of its role.
void TClient::selectDB() { DataModule1->getClientData(); }
void TEvent_Series::selectDB(int64_t id) { DataModule1->getEventSeriesData(id); }
void TEvent_Series_Season::selectDB(int64_t id) { DataModule1->getEventSeriesSeasonData(id); }
void TEvent::selectDB(int64_t id) { DataModule1->getEventData(id); }
void TEvent::selectProcessedDB(int64_t id) { DataModule1->getProcessedEventData(id); }
void TPerson::selectDB(int64_t id) { DataModule1->getPersonData(id); }
void TClub::selectDB(int64_t id) { DataModule1->getClubData(id); }
void TSpecialCc::selectDB(int64_t id) { DataModule1->getSpecialCcData(id); }
void TClass::selectDB(int64_t id) { DataModule1->getClassData(id); }
void TClassCourse::selectDB(int64_t id) { DataModule1->getClassCourseData(id); }
void TResultsClass::selectDB(int64_t id) { DataModule1->getResultsClassData(id); }
