// The navigation trees: the start tree (series, seasons, events) and the
// processed event's tree, their rebuilds, selections and editor actions.

#include "app/vrkMainForm.h"
#include "app/vrkMainWebLink.h"
#include "components/base/rGroupBox.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "data/vrkDataModule.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

namespace {

// The dataset component name of a record node's level and its key; empty
// for title nodes and nodes of no record.
struct TNodeLevel {
    QString DataSetName;
    int64_t Key = 0;
};

TNodeLevel LevelOf(TTreeNode* Node)
{
    const TNodeObject* o = TrDBTreeView::NodeObjectOf(Node);
    if (!o || o->IsTitle || o->IsEmptyDataset || !o->DataItemDef || !o->DataItemDef->DataSet() || !o->KeyField)
        return {};
    return {o->DataItemDef->DataSet()->Name(), o->KeyValue.toLongLong()};
}

// The node of a level (named by its dataset) with that key. Levels are told
// by name and key, not by field: a detail dataset opened again for its
// master may hold new field objects.
TTreeNode* FindLevelNode(TrDBTreeView* Tree, const QString& DataSetName, int64_t Key)
{
    TTreeNodes* items = Tree->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const TNodeLevel l = LevelOf(items->Item(i));
        if (l.Key == Key && l.DataSetName == DataSetName)
            return items->Item(i);
    }
    return nullptr;
}

// Rebuilds a tree at once and selects the node selected before again.
void RebuildKeepingSelection(TrDBTreeView* Tree)
{
    const TNodeLevel was = LevelOf(Tree->Selected());
    Tree->RefreshData(false, true);
    if (was.DataSetName.isEmpty())
        return;
    const TNodeLevel now = LevelOf(Tree->Selected());
    if (now.DataSetName == was.DataSetName && now.Key == was.Key)
        return;
    if (TTreeNode* n = FindLevelNode(Tree, was.DataSetName, was.Key)) {
        for (TTreeNode* p = n->Parent(); p; p = p->Parent())
            p->SetExpanded(true);
        Tree->SetSelected(n);
    }
}

TrDBTreeView* MakeTree(TformMain* Owner, TWinControl* Parent, const char* Name)
{
    auto* t = new TrDBTreeView(Owner);
    t->SetName(QString::fromLatin1(Name));
    t->SetParent(Parent);
    t->SetAlign(alClient);
    t->ReadOnly = true;
    return t;
}

TDataItemDef* AddLevel(TDataItemDefs* Defs, TDataSource* Source, const char* Key, const char* Mask, bool Bold = false)
{
    TDataItemDef* d = Defs->Add();
    d->SetDataSource(Source);
    d->KeyFieldName = QString::fromLatin1(Key);
    d->SetRecordTextMask(QString::fromLatin1(Mask));
    d->SetExpandNode(false);
    if (Bold)
        d->SetRecordStyle(fsBold);
    return d;
}

}  // namespace

void TformMain::BuildTrees()
{
    tvMainTree = MakeTree(this, grpNavTree, "tvMainTree");
    tvMainTreeEvent = MakeTree(this, grpNavTree, "tvMainTreeEvent");
    tvMainTreeEvent->SetVisible(false);
    tvMainTree->OnChange = [this](TComponent*, TTreeNode* N) {
        if (!tvMainTree->IsRefreshing())
            tvMainTreeChange(N);
    };
    tvMainTreeEvent->OnChange = [this](TComponent*, TTreeNode* N) {
        if (!tvMainTreeEvent->IsRefreshing())
            tvMainTreeEventChange(N);
    };
    // A double click is "Muokkaa" where "Muokkaa" is offered, on either tree
    // (the node type may still be the other tree's choice).
    for (TrDBTreeView* tree : {tvMainTree, tvMainTreeEvent})
        tree->OnDblClick = [this](TComponent*) {
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
    tvMainTree->BeginUpdate();
    TDataItemDef* series = AddLevel(tvMainTree->DataItemDefs(), M.IBCDSEventSeriesStartFD, "event_series_id", "<<event_series_name>>", true);
    TDataItemDef* season =
        AddLevel(series->SubDataItemDefs(), M.IBCDSEventSeriesSeasonStartFD, "event_series_season_id", "<<event_series_season_name>>");
    AddLevel(season->SubDataItemDefs(), M.IBCDSEventStartFD, "event_id", "<<event_date>>  <<event_name>>");
    tvMainTree->EndUpdate();

    tvMainTreeEvent->BeginUpdate();
    TDataItemDef* eseries = AddLevel(tvMainTreeEvent->DataItemDefs(), M.IBCDSEventSeriesFD, "event_series_id", "<<event_series_name>>", true);
    TDataItemDef* eseason =
        AddLevel(eseries->SubDataItemDefs(), M.IBCDSEventSeriesSeasonFD, "event_series_season_id", "<<event_series_season_name>>");
    TDataItemDef* eevent = AddLevel(eseason->SubDataItemDefs(), M.IBCDSEventFD, "event_id", "<<event_date>>  <<event_name>>");
    AddLevel(eevent->SubDataItemDefs(), M.IBCDSClassFD, "class_id", "<<class_name>>");
    // A title node without data of its own, the series' records under it.
    auto titled = [&](TDataSource* Source, const char* Key, const char* Mask, const QString& Title) {
        TDataItemDef* folder = eseries->SubDataItemDefs()->Add();
        folder->SetTitleText(Title);
        folder->SetShowTitle(true);
        folder->SetExpandNode(false);
        AddLevel(folder->SubDataItemDefs(), Source, Key, Mask);
    };
    titled(M.IBCDSPersonsFD, "person_id", "<<person_name>>", mwtxt::Henkilot);
    titled(M.IBCDSClubsFD, "club_id", "<<club_name>>", mwtxt::Seurat);
    titled(M.IBCDSSpecialCcFD, "chip_id", "<<control_card>>", mwtxt::Kilpailukortit);
    tvMainTreeEvent->EndUpdate();
}

TTreeNode* TformMain::FindEventNode(int64_t EventId) const
{
    return FindLevelNode(tvMainTree, QStringLiteral("fbQueryEventStartFD"), EventId);
}

TTreeNode* TformMain::FindProcessedEventNode(int64_t EventId) const
{
    return FindLevelNode(tvMainTreeEvent, QStringLiteral("fbQueryEventFD"), EventId);
}

TrDBTreeView* TformMain::CurrentTree() const
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
    RebuildKeepingSelection(tvMainTree);
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
    RebuildKeepingSelection(tvMainTreeEvent);
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
    const TNodeLevel level = LevelOf(Node);
    if (level.DataSetName.isEmpty()) {
        SetEditorActions(false, false, false, false);
        return;
    }
    nMainGridCurrentResultClassId = 0;
    const int64_t key = level.Key;
    const QString& name = level.DataSetName;
    // The chosen node speaks for itself; the box's caption gives way.
    grpNavTree->SetCaption(QString());
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
    const TNodeLevel level = LevelOf(Node);
    if (level.DataSetName.isEmpty()) {
        SetEditorActions(false, false, false, false);
        return;
    }
    nMainGridCurrentResultClassId = 0;
    const int64_t key = level.Key;
    const QString& name = level.DataSetName;
    if (name == QLatin1String("fbQueryPersonsFD")) {
        person->selectDB(key);
        eventSeries->selectDB(person->event_series_id());
        grpNavTree->SetCaption(QString());
        vcCurrentNodeType = QStringLiteral("PERSON");
        SetEditorActions(true, true, true, person->event_series_id() == nCurrentProcessedEventS);
    } else if (name == QLatin1String("fbQueryClubsFD")) {
        club->selectDB(key);
        eventSeries->selectDB(club->event_series_id());
        grpNavTree->SetCaption(QString());
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
        grpNavTree->SetCaption(QString());
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
        WrapDialog([&] { changed = Windows.CourseEditor(event_class->class_id()).Course; }, true);
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
        if (TTreeNode* n = FindEventNode(SelectedEventId())) {
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
    if (TTreeNode* n = FindEventNode(last)) {
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
    if (TTreeNode* n = FindEventNode(SelectedEventId())) {
        n->SetExpanded(true);
        tvMainTree->SetSelected(n);
        tvMainTreeChange(n);
    }
}
