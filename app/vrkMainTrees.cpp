// The navigation trees: the start tree (series, seasons, events) and the
// processed event's tree, their rebuilds, selections and editor actions.

#include "app/vrkMainForm.h"
#include "app/vrkMainTree.h"
#include "app/vrkMainWebLink.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

void TformMain::BuildTrees()
{
    tvMainTree = new TMainTreeView(this);
    tvMainTree->SetName(QStringLiteral("tvMainTree"));
    tvMainTree->SetParent(grpNavTree);
    tvMainTree->SetAlign(alClient);
    tvMainTreeEvent = new TMainTreeView(this);
    tvMainTreeEvent->SetName(QStringLiteral("tvMainTreeEvent"));
    tvMainTreeEvent->SetParent(grpNavTree);
    tvMainTreeEvent->SetAlign(alClient);
    tvMainTreeEvent->SetVisible(false);
    tvMainTree->OnChange = [this](TComponent*, TTreeNode* N) {
        if (!tvMainTree->Rebuilding())
            tvMainTreeChange(N);
    };
    tvMainTreeEvent->OnChange = [this](TComponent*, TTreeNode* N) {
        if (!tvMainTreeEvent->Rebuilding())
            tvMainTreeEventChange(N);
    };
    tvMainTree->OnDblClick = [this](TComponent*) { treeEdit(); };
    tvMainTreeEvent->OnDblClick = [this](TComponent*) {
        if (actMainTreeEdit->Visible() && actMainTreeEdit->Enabled())
            treeEdit();
    };
}

void TformMain::BindDataModule()
{
    if (FBound || !DataModule1)
        return;
    FBound = true;
    BindGrid();
    TDataModule1& M = *DataModule1;
    auto level = [](TFbQuery* Q, const char* Key, const char* Mask, bool Bold = false) {
        TMainTreeLevel l;
        l.DataSet = Q;
        l.DataSetName = Q->Name();
        l.KeyField = QString::fromLatin1(Key);
        l.TextMask = QString::fromLatin1(Mask);
        l.Bold = Bold;
        return l;
    };
    TMainTreeLevel series = level(M.fbQueryEventSeriesStartFD, "event_series_id", "<<event_series_name>>", true);
    TMainTreeLevel season = level(M.fbQueryEventSeriesSeasonStartFD, "event_series_season_id", "<<event_series_season_name>>");
    season.Children.push_back(level(M.fbQueryEventStartFD, "event_id", "<<event_date>>  <<event_name>>"));
    series.Children.push_back(season);
    tvMainTree->Levels = {series};

    TMainTreeLevel eseries = level(M.fbQueryEventSeriesFD, "event_series_id", "<<event_series_name>>", true);
    TMainTreeLevel eseason = level(M.fbQueryEventSeriesSeasonFD, "event_series_season_id", "<<event_series_season_name>>");
    TMainTreeLevel eevent = level(M.fbQueryEventFD, "event_id", "<<event_date>>  <<event_name>>");
    eevent.Children.push_back(level(M.fbQueryClassFD, "class_id", "<<class_name>>"));
    eseason.Children.push_back(eevent);
    auto title = [](const QString& Text, TMainTreeLevel Child) {
        TMainTreeLevel t;
        t.Title = Text;
        t.Children.push_back(std::move(Child));
        return t;
    };
    eseries.Children = {eseason, title(mwtxt::Henkilot, level(M.fbQueryPersonsFD, "person_id", "<<person_name>>")),
                        title(mwtxt::Seurat, level(M.fbQueryClubsFD, "club_id", "<<club_name>>")),
                        title(mwtxt::Kilpailukortit, level(M.fbQuerySpecialCcFD, "chip_id", "<<control_card>>"))};
    tvMainTreeEvent->Levels = {eseries};
}

TMainTreeView* TformMain::CurrentTree() const
{
    return tvMainTreeEvent->Visible() ? tvMainTreeEvent : tvMainTree;
}

void TformMain::ShowStartTree()
{
    tvMainTreeEvent->SetVisible(false);
    tvMainTree->SetVisible(true);
}

void TformMain::ShowEventTree()
{
    tvMainTree->SetVisible(false);
    tvMainTreeEvent->SetVisible(true);
}

void TformMain::refreshMainTree()
{
    TDataModule1& M = *DataModule1;
    M.fbQueryEventStartFD->Close();
    M.fbQueryEventSeriesSeasonStartFD->Close();
    M.fbQueryEventSeriesStartFD->Close();
    M.fbQueryEventSeriesStartFD->Open();
    M.fbQueryEventSeriesSeasonStartFD->Open();
    M.fbQueryEventStartFD->Open();
    tvMainTree->RefreshData(false, true);
    if (tvMainTree->Selected())
        tvMainTree->Selected()->SetExpanded(true);
    M.fbQueryEventStartFD->Close();
    M.fbQueryEventSeriesSeasonStartFD->Close();
    M.fbQueryEventSeriesStartFD->Close();
    if (M.fbTransactionTreeFD->Active())
        M.fbTransactionTreeFD->Commit();
    MenuShow(QStringLiteral("MENU1_EI_VALITTU"), QStringLiteral("MENU1_EI_VALITTU"));
}

void TformMain::refreshMainTreeEvent()
{
    TDataModule1& M = *DataModule1;
    TFbQuery* all[] = {M.fbQueryClassCourseFD, M.fbQueryClassFD,    M.fbQuerySpecialCcFD,        M.fbQueryClubsFD,
                       M.fbQueryPersonsFD,     M.fbQueryEventFD,    M.fbQueryEventSeriesSeasonFD, M.fbQueryEventSeriesFD};
    for (TFbQuery* q : all)
        q->Close();
    M.fbQueryEventSeriesFD->ParamByName(QStringLiteral("EVENT_SERIES_ID")).SetAsLargeInt(nCurrentProcessedEventS);
    M.fbQueryEventSeriesFD->Open();
    M.fbQueryEventSeriesSeasonFD->ParamByName(QStringLiteral("EVENT_SERIES_SEASON_ID")).SetAsLargeInt(nCurrentProcessedEventSSeason);
    M.fbQueryEventSeriesSeasonFD->Open();
    M.fbQueryEventFD->ParamByName(QStringLiteral("EVENT_ID")).SetAsLargeInt(nCurrentProcessedEvent);
    M.fbQueryEventFD->Open();
    for (TFbQuery* q : {M.fbQueryPersonsFD, M.fbQueryClubsFD, M.fbQuerySpecialCcFD, M.fbQueryClassFD, M.fbQueryClassCourseFD})
        q->Open();
    tvMainTreeEvent->RefreshData(false, true);
    if (tvMainTreeEvent->Selected())
        tvMainTreeEvent->Selected()->SetExpanded(true);
    for (TFbQuery* q : all)
        q->Close();
    if (M.fbTransactionTreeFD->Active())
        M.fbTransactionTreeFD->Commit();
}

int64_t TformMain::SelectedEventId() const
{
    return event ? event->event_id() : 0;
}

void TformMain::tvMainTreeChange(TTreeNode* Node)
{
    const TMainTreeNodeData* d = TMainTreeView::NodeData(Node);
    if (!d || !d->Level || !d->Level->DataSet) {
        SetEditorActions(false, false, false, false);
        return;
    }
    nMainGridCurrentResultClassId = 0;
    const int64_t key = d->Key.toLongLong();
    const QString& name = d->Level->DataSetName;
    grpNavTree->SetCaption(mwtxt::Navigaatiopuu);
    if (name == QLatin1String("fbQueryEventSeriesStartFD")) {
        if (key != eventSeries->event_series_id()) {
            eventSeriesSeason->selectDB(0);
            event->selectDB(0);
            refreshEventData();
            event_class->selectDB(0);
            classCourse->selectDB(0);
        }
        eventSeries->selectDB(key);
        vcCurrentNodeType = QStringLiteral("EVENT_SERIES");
        if (nCurrentProcessedEvent == 0) {
            MenuShow(QStringLiteral("MENU1_EI_VALITTU"), QStringLiteral("MENU1_EI_VALITTU"));
            piilota_tulokset_grid();
        }
    } else if (name == QLatin1String("fbQueryEventSeriesSeasonStartFD")) {
        if (key != eventSeriesSeason->event_series_season_id()) {
            event->selectDB(0);
            refreshEventData();
            event_class->selectDB(0);
            classCourse->selectDB(0);
        }
        eventSeriesSeason->selectDB(key);
        eventSeries->selectDB(eventSeriesSeason->event_series_id());
        vcCurrentNodeType = QStringLiteral("EVENT_SERIES_SEASON");
        if (nCurrentProcessedEvent == 0) {
            MenuShow(QStringLiteral("MENU1_EI_VALITTU"), QStringLiteral("MENU1_EI_VALITTU"));
            piilota_tulokset_grid();
        }
    } else if (name == QLatin1String("fbQueryEventStartFD")) {
        if (key != event->event_id()) {
            event_class->selectDB(0);
            classCourse->selectDB(0);
        }
        event->selectDB(key);
        refreshEventData();
        eventSeriesSeason->selectDB(event->event_series_season_id());
        eventSeries->selectDB(eventSeriesSeason->event_series_id());
        vcCurrentNodeType = QStringLiteral("EVENT");
        MenuShow(QStringLiteral("MENU1_VALITTU"), QStringLiteral("MENU1_VALITTU"));
        if (nCurrentProcessedEvent == 0)
            nayta_tulokset_grid();
    }
}

void TformMain::SetEditorActions(bool Edit, bool Merge, bool Add, bool Enabled)
{
    actMainTreeEdit->SetVisible(Edit);
    actMainTreeMergePerson->SetVisible(Merge);
    actMainTreeAdd->SetVisible(Add);
    actMainTreeEdit->SetEnabled(Edit && Enabled);
    actMainTreeMergePerson->SetEnabled(Merge && Enabled);
    actMainTreeAdd->SetEnabled(Add && Enabled);
}

void TformMain::tvMainTreeEventChange(TTreeNode* Node)
{
    const TMainTreeNodeData* d = TMainTreeView::NodeData(Node);
    if (!d || !d->Level || !d->Level->DataSet) {
        SetEditorActions(false, false, false, false);
        return;
    }
    nMainGridCurrentResultClassId = 0;
    const int64_t key = d->Key.toLongLong();
    const QString& name = d->Level->DataSetName;
    if (name == QLatin1String("fbQueryPersonsFD")) {
        person->selectDB(key);
        eventSeries->selectDB(person->event_series_id());
        vcCurrentNodeType = QStringLiteral("PERSON");
        SetEditorActions(true, true, true, person->event_series_id() == nCurrentProcessedEventS);
    } else if (name == QLatin1String("fbQueryClubsFD")) {
        club->selectDB(key);
        eventSeries->selectDB(club->event_series_id());
        vcCurrentNodeType = QStringLiteral("CLUB");
        SetEditorActions(true, false, true, club->event_series_id() == nCurrentProcessedEventS);
    } else if (name == QLatin1String("fbQuerySpecialCcFD")) {
        specialCc->selectDB(key);
        vcCurrentNodeType = QStringLiteral("SPECIAL_CC");
    } else if (name == QLatin1String("fbQueryClassFD") || name == QLatin1String("fbQueryClassCourseFD")) {
        if (name == QLatin1String("fbQueryClassCourseFD")) {
            classCourse->selectDB(key);
            event_class->selectDB(classCourse->class_id());
        } else {
            if (key != event_class->class_id())
                classCourse->selectDB(0);
            event_class->selectDB(key);
        }
        event->selectDB(event_class->event_id());
        refreshEventData();
        eventSeriesSeason->selectDB(event->event_series_season_id());
        eventSeries->selectDB(eventSeriesSeason->event_series_id());
        vcCurrentNodeType = name == QLatin1String("fbQueryClassFD") ? QStringLiteral("CLASS") : QStringLiteral("CLASS_COURSE");
        SetEditorActions(true, false, false, true);
    }
}

void TformMain::treeEdit()
{
    bool changed = false;
    if (vcCurrentNodeType == QLatin1String("PERSON") && Windows.PersonEditor)
        WrapDialog([&] { changed = Windows.PersonEditor(person->person_id()); }, true);
    else if (vcCurrentNodeType == QLatin1String("CLUB") && Windows.ClubEditor)
        WrapDialog([&] { changed = Windows.ClubEditor(club->club_id()); }, true);
    else if (vcCurrentNodeType == QLatin1String("CLASS") && Windows.CourseEditor)
        WrapDialog([&] { changed = Windows.CourseEditor(event_class->class_id()); }, true);
    if (changed)
        refreshMainTreeEvent();
}

void TformMain::treeAdd()
{
    bool changed = false;
    if (vcCurrentNodeType == QLatin1String("PERSON") && Windows.PersonEditor)
        WrapDialog([&] { changed = Windows.PersonEditor(0); }, true);
    else if (vcCurrentNodeType == QLatin1String("CLUB") && Windows.ClubEditor)
        WrapDialog([&] { changed = Windows.ClubEditor(0); }, true);
    if (changed)
        refreshMainTreeEvent();
}

void TformMain::treeMerge()
{
    bool changed = false;
    if (Windows.PersonMerge)
        WrapDialog([&] { changed = Windows.PersonMerge(person->person_id()); }, true);
    if (changed)
        refreshMainTreeEvent();
}

void TformMain::treeRefresh()
{
    if (tvMainTreeEvent->Visible()) {
        refreshMainTreeEvent();
        return;
    }
    if (!MainWebLink().CalendarLoaded())
        MainWebLinkCalendar();
    refreshMainTree();
    if (SelectedEventId() != 0) {
        if (TTreeNode* n = tvMainTree->FindNode(QStringLiteral("EVENT_ID"), QVariant::fromValue<qlonglong>(SelectedEventId()))) {
            n->SetExpanded(true);
            tvMainTree->SetSelected(n);
            tvMainTreeChange(n);
        }
    }
}

void TformMain::SelectLastEvent()
{
    tvMainTree->FullCollapse();
    const int64_t last = DataModule1->getClientLastEvent();
    if (last == 0)
        return;
    if (TTreeNode* n = tvMainTree->FindNode(QStringLiteral("EVENT_ID"), QVariant::fromValue<qlonglong>(last))) {
        n->SetExpanded(true);
        tvMainTree->SetSelected(n);
        tvMainTreeChange(n);
    }
}

void TformMain::MainWebLinkCalendar()
{
    if (Client && Client->client_id() != 0)
        MainWebLink().DownloadCalendar(QString::number(Client->client_id()));
}

void TformMain::RefreshTreeAfterDownload()
{
    if (tvMainTreeEvent->Visible()) {
        refreshMainTreeEvent();
        return;
    }
    refreshMainTree();
    if (SelectedEventId() == 0)
        return;
    if (TTreeNode* n = tvMainTree->FindNode(QStringLiteral("EVENT_ID"), QVariant::fromValue<qlonglong>(SelectedEventId()))) {
        n->SetExpanded(true);
        tvMainTree->SetSelected(n);
        tvMainTreeChange(n);
    }
}
