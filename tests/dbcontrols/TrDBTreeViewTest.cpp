// The navigation tree over three in-memory levels: building, keeping the
// selection across a rebuild, finding nodes, titles and the texts of levels
// that cannot list records, lazy loading and self-referencing hierarchies.

#include "components/dbcontrols/TrDBTreeView.h"
#include "platform/ui/Forms.h"
#include "resources/DBControlsTexts.h"
#include "tests/dbcontrols/TreeData.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class TreeViewTest : public ::testing::Test {
protected:
    TreeViewTest() : data(2, 3, 4) {}
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        tree = new TrDBTreeView(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 300, 400);
        form->AfterConstruction();
    }
    // series → events → runs, as the main window's trees are built.
    void DefineLevels(bool ExpandNode = false)
    {
        tree->BeginUpdate();
        seriesDef = tree->DataItemDefs()->Add();
        seriesDef->SetDataSource(&data.seriesSrc);
        seriesDef->KeyFieldName = QStringLiteral("SERIES_ID");
        seriesDef->SetRecordTextMask(QStringLiteral("<<SERIES_NAME>>"));
        seriesDef->SetExpandNode(ExpandNode);
        eventDef = seriesDef->SubDataItemDefs()->Add();
        eventDef->SetDataSource(&data.eventsSrc);
        eventDef->KeyFieldName = QStringLiteral("EVENT_ID");
        eventDef->SetRecordTextMask(QStringLiteral("<<EVENT_ID>>  <<EVENT_NAME>>"));
        eventDef->SetExpandNode(ExpandNode);
        runDef = eventDef->SubDataItemDefs()->Add();
        runDef->SetDataSource(&data.runsSrc);
        runDef->KeyFieldName = QStringLiteral("RUN_ID");
        runDef->SetRecordTextMask(QStringLiteral("<<PERSON_NAME>>"));
        runDef->SetExpandNode(ExpandNode);
        tree->EndUpdate();
    }
    TField* Key(TDataSet& D, const char* Name) { return D.FieldByName(QString::fromLatin1(Name)); }
    TTreeData data;
    std::unique_ptr<TForm> form;
    TrDBTreeView* tree = nullptr;
    TDataItemDef* seriesDef = nullptr;
    TDataItemDef* eventDef = nullptr;
    TDataItemDef* runDef = nullptr;
};

TEST_F(TreeViewTest, BuildsEveryLevelFromTheDetailDatasets)
{
    DefineLevels();
    TTreeNodes* n = tree->Items();
    ASSERT_EQ(n->RootCount(), 2);
    EXPECT_EQ(n->Root(0)->Text(), QStringLiteral("Sarja 1"));
    ASSERT_EQ(n->Root(1)->Count(), 3);
    EXPECT_EQ(n->Root(1)->Item(2)->Text(), QStringLiteral("203  Kisa 203"));
    ASSERT_EQ(n->Root(1)->Item(2)->Count(), 4);
    EXPECT_EQ(n->Root(1)->Item(2)->Item(3)->Text(), QStringLiteral("Juoksija 24"));
    EXPECT_EQ(n->Count(), 2 + 6 + 24);
    const TNodeObject* o = TrDBTreeView::NodeObjectOf(n->Root(1)->Item(2)->Item(3));
    EXPECT_EQ(o->KeyField, Key(data.runs, "RUN_ID"));
    EXPECT_EQ(o->KeyValue.toInt(), 24);
    EXPECT_EQ(o->DataItemDef, runDef);
    EXPECT_EQ(o->ParentDataItemDef, eventDef);
    EXPECT_EQ(tree->Selected(), n->Root(0)) << "a rebuild without a remembered node selects the first";
    EXPECT_FALSE(n->Root(0)->Expanded()) << "ExpandNode False";
}

TEST_F(TreeViewTest, RebuildKeepsTheSelectedNodeThroughItsTopLevelAncestor)
{
    DefineLevels();
    TField* runKey = Key(data.runs, "RUN_ID");
    TTreeNode* run = tree->FindNode(runKey, 17);
    ASSERT_NE(run, nullptr);
    tree->SetSelected(run);
    int changes = 0;
    TTreeNode* told = nullptr;
    tree->OnChange = [&](TComponent*, TTreeNode* Node) {
        ++changes;
        told = Node;
    };
    // The windows reopen the datasets and rebuild keeping the selection.
    data.runs.AppendRecord({999, 204, QStringLiteral("Uusi")});
    tree->RefreshData(false, true);
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_NE(tree->Selected(), run) << "all nodes are new";
    EXPECT_EQ(TrDBTreeView::NodeObjectOf(tree->Selected())->KeyValue.toInt(), 17);
    EXPECT_TRUE(tree->Selected()->Parent()->Parent()->Expanded()) << "the top-level ancestor is expanded";
    EXPECT_EQ(changes, 1) << "OnChange once, for the node selected at the end";
    EXPECT_EQ(told, tree->Selected());

    // A selected top-level node is found by itself.
    tree->SetSelected(tree->Items()->Root(1));
    tree->RefreshData(false, true);
    EXPECT_EQ(tree->Selected(), tree->Items()->Root(1));

    // A node whose top-level record is gone leaves nothing selected.
    tree->SetSelected(tree->FindNode(runKey, 20));
    data.series.Last();
    data.series.Delete();
    tree->RefreshData(false, true);
    EXPECT_EQ(tree->Selected(), nullptr);

    // Without KeepSelectedNode the first node is selected.
    tree->RefreshData(false, false);
    EXPECT_EQ(tree->Selected(), tree->Items()->Root(0));
}

TEST_F(TreeViewTest, FindNodeMatchesFieldAndValueAndAnswersNoneWhileRebuilding)
{
    DefineLevels();
    TField* eventKey = Key(data.events, "EVENT_ID");
    TTreeNode* e = tree->FindNode(eventKey, QVariant(qint64(202)));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Text(), QStringLiteral("202  Kisa 202"));
    EXPECT_EQ(tree->FindNode(eventKey, QStringLiteral("202")), e) << "variant equality";
    EXPECT_EQ(tree->FindNode(eventKey, 999), nullptr);
    EXPECT_EQ(tree->FindNode(Key(data.runs, "EVENT_ID"), 202), nullptr) << "another field object with the same value";
    EXPECT_EQ(tree->FindNode(eventKey, QVariant()), nullptr);

    int calls = 0;
    tree->OnItemObjectDefined = [&](TComponent*, TTreeNode*, TNodeObject*, TDataSet*) {
        ++calls;
        EXPECT_TRUE(tree->IsRefreshing());
        EXPECT_EQ(tree->FindNode(eventKey, 202), nullptr);
    };
    tree->RefreshData(false, true);
    EXPECT_EQ(calls, 32);
    EXPECT_FALSE(tree->IsRefreshing());
    EXPECT_NE(tree->FindNode(eventKey, 202), nullptr);
}

TEST_F(TreeViewTest, RebuildRequestsAreIgnoredInsideAnUpdateAndDelayedWithALoadDelay)
{
    DefineLevels();
    tree->BeginUpdate();
    data.series.AppendRecord({3, QStringLiteral("Sarja 3")});
    tree->RefreshData(false, false);
    EXPECT_EQ(tree->Items()->RootCount(), 2) << "inside the update bracket";
    tree->EndUpdate();
    EXPECT_EQ(tree->Items()->RootCount(), 3) << "EndUpdate rebuilds (delay 0: at once)";

    tree->LoadDataDelay = 50;
    data.series.AppendRecord({4, QStringLiteral("Sarja 4")});
    tree->RefreshData(true, false);
    tree->RefreshData(true, false);
    EXPECT_EQ(tree->Items()->RootCount(), 3);
    EXPECT_TRUE(tree->RefreshPending());
    tree->RefreshData(false, false);
    EXPECT_EQ(tree->Items()->RootCount(), 4);
    EXPECT_FALSE(tree->RefreshPending()) << "a rebuild that ran takes the waiting one with it";
}

TEST_F(TreeViewTest, TitlesFoldersAndTheTextsOfLevelsThatCannotList)
{
    // A folder without data source, a titled level, a closed dataset, an
    // empty one with its text, and a level cut by MaxRecords.
    TClientDataSet empty;
    empty.AddField(QStringLiteral("ID"), ftInteger);
    empty.CreateDataSet();
    TDataSource emptySrc(nullptr), noSet(nullptr);
    emptySrc.SetDataSet(&empty);
    tree->BeginUpdate();
    TDataItemDef* folder = tree->DataItemDefs()->Add();
    folder->SetTitleText(QStringLiteral("Henkilöt"));
    folder->SetTitleImageIndex(4);
    folder->SetExpandNode(false);
    TDataItemDef* runs = folder->SubDataItemDefs()->Add();
    runs->SetDataSource(&data.runsSrc);
    runs->KeyFieldName = QStringLiteral("RUN_ID");
    runs->SetRecordTextMask(QStringLiteral("<<PERSON_NAME>>"));
    runs->MaxRecords = 2;
    runs->SetTitleText(QStringLiteral("Juoksut (<<EVENT_ID>>)"));
    runs->SetRecordImageIndex(5);
    runs->RecordSelectedImageIndex = 6;
    TDataItemDef* emptyDef = tree->DataItemDefs()->Add();
    emptyDef->SetDataSource(&emptySrc);
    emptyDef->EmptyDatasetText = QStringLiteral("(ei rivejä)");
    TDataItemDef* noDataSet = tree->DataItemDefs()->Add();
    noDataSet->SetDataSource(&noSet);
    TClientDataSet closedSet;
    closedSet.AddField(QStringLiteral("ID"), ftInteger);
    TDataSource closedSrc(nullptr);
    closedSrc.SetDataSet(&closedSet);
    TDataItemDef* closed = tree->DataItemDefs()->Add();
    closed->SetDataSource(&closedSrc);
    tree->EndUpdate();

    TTreeNodes* n = tree->Items();
    ASSERT_EQ(n->RootCount(), 4);
    TTreeNode* title = n->Root(0);
    EXPECT_EQ(title->Text(), QStringLiteral("Henkilöt"));
    EXPECT_TRUE(TrDBTreeView::NodeObjectOf(title)->IsTitle);
    EXPECT_EQ(title->ImageIndex, 4);
    ASSERT_EQ(title->Count(), 4) << "the runs' title, two records and the '...' node";
    EXPECT_EQ(title->Item(0)->Text(), QStringLiteral("Juoksut (101)")) << "a title filled from the record";
    EXPECT_EQ(title->Item(1)->Text(), QStringLiteral("Juoksija 1"));
    EXPECT_EQ(title->Item(1)->ImageIndex, 5);
    EXPECT_EQ(title->Item(1)->SelectedIndex, 6);
    EXPECT_EQ(title->Item(3)->Text(), dbctltxt::MoreRecords);
    EXPECT_EQ(n->Root(1)->Text(), QStringLiteral("(ei rivejä)"));
    EXPECT_TRUE(TrDBTreeView::NodeObjectOf(n->Root(1))->IsEmptyDataset);
    EXPECT_EQ(n->Root(2)->Text(), dbctltxt::DatasetNotDefined);
    EXPECT_EQ(n->Root(3)->Text(), dbctltxt::DatasetIsClosed);
    EXPECT_EQ(TrDBTreeView::NodeObjectOf(n->Root(3))->KeyValue, QVariant(0));
}

TEST_F(TreeViewTest, LazyLoadingFillsALevelWhenItsNodeIsExpanded)
{
    tree->LoadFirstLevelOnly = true;
    DefineLevels();
    TTreeNodes* n = tree->Items();
    TTreeNode* s2 = n->Root(1);
    ASSERT_EQ(s2->Count(), 1);
    EXPECT_EQ(s2->Item(0)->Text(), dbctltxt::ToBeLoaded);
    EXPECT_FALSE(TrDBTreeView::NodeObjectOf(s2)->NodeIsLoaded);
    data.series.First();  // the dataset stands elsewhere; expanding finds the node's record
    s2->Expand(false);
    EXPECT_TRUE(TrDBTreeView::NodeObjectOf(s2)->NodeIsLoaded);
    ASSERT_EQ(s2->Count(), 3);
    EXPECT_EQ(s2->Item(0)->Text(), QStringLiteral("201  Kisa 201"));
    EXPECT_EQ(s2->Item(0)->Count(), 4) << "levels below an expanded node are loaded with it";
    EXPECT_FALSE(tree->IsRefreshing());
}

TEST_F(TreeViewTest, MultilevelModeBuildsAHierarchyFromOneDatasetAndReportsMisconfiguration)
{
    TClientDataSet org;
    org.AddField(QStringLiteral("ID"), ftInteger);
    org.AddField(QStringLiteral("PARENT_ID"), ftInteger);
    org.AddField(QStringLiteral("NAME"), ftWideString, 20);
    org.AddField(QStringLiteral("CODE"), ftWideString, 20);
    org.CreateDataSet();
    org.AppendRecord({1, 0, QStringLiteral("Liitto"), QStringLiteral("x")});
    org.AppendRecord({2, 1, QStringLiteral("Piiri A"), QStringLiteral("x")});
    org.AppendRecord({3, 1, QStringLiteral("Piiri B"), QStringLiteral("x")});
    org.AppendRecord({4, 2, QStringLiteral("Seura"), QStringLiteral("x")});
    org.AppendRecord({5, 6, QStringLiteral("Kehä 1"), QStringLiteral("x")});
    org.AppendRecord({6, 5, QStringLiteral("Kehä 2"), QStringLiteral("x")});
    TDataSource src(nullptr);
    src.SetDataSet(&org);
    TDataItemDef* def = tree->DataItemDefs()->Add();
    tree->BeginUpdate();
    def->SetDataSource(&src);
    def->KeyFieldName = QStringLiteral("ID");
    def->ParentKeyFieldName = QStringLiteral("PARENT_ID");
    def->MultilevelMode = true;
    def->SetRecordTextMask(QStringLiteral("<<NAME>>"));
    tree->EndUpdate();
    TTreeNodes* n = tree->Items();
    ASSERT_EQ(n->RootCount(), 1);
    EXPECT_EQ(n->Root(0)->Text(), QStringLiteral("Liitto"));
    ASSERT_EQ(n->Root(0)->Count(), 2);
    EXPECT_EQ(n->Root(0)->Item(0)->Item(0)->Text(), QStringLiteral("Seura"));
    EXPECT_TRUE(n->Root(0)->Expanded()) << "ExpandNode expands the hierarchy";
    EXPECT_FALSE(org.Filtered()) << "the filter is switched off again";

    // A cycle entered from the top does not recurse for ever.
    def->MultilevelTopLevelFilter = QStringLiteral("ID=5");
    tree->RefreshData(false, false);
    ASSERT_EQ(n->RootCount(), 1);
    EXPECT_EQ(n->Root(0)->Item(0)->Text(), QStringLiteral("Kehä 2"));
    ASSERT_EQ(n->Root(0)->Item(0)->Count(), 1) << "the repeated record shows once";
    EXPECT_EQ(n->Root(0)->Item(0)->Item(0)->Count(), 0);

    struct Case {
        const char* parentKey;
        const char* key;
        const char* topFilter;
        QString message;
    } cases[] = {
        {"NOPE", "ID", "", QStringLiteral("ParentKeyField \"NOPE\" not found.")},
        {"PARENT_ID", "NOPE", "", QStringLiteral("KeyField \"NOPE\" not found.")},
        {"NOPE", "NOPE", "", QStringLiteral("KeyField \"NOPE\" not found.")},
        {"CODE", "ID", "", dbctltxt::ParentKeyFieldNotNumeric},
    };
    for (const Case& c : cases) {
        def->ParentKeyFieldName = QString::fromLatin1(c.parentKey);
        def->KeyFieldName = QString::fromLatin1(c.key);
        def->MultilevelTopLevelFilter = QString::fromLatin1(c.topFilter);
        tree->RefreshData(false, false);
        ASSERT_EQ(n->RootCount(), 1) << c.parentKey << " " << c.key;
        EXPECT_EQ(n->Root(0)->Text(), c.message);
    }
    // A filter the dataset cannot read becomes the node's text.
    def->ParentKeyFieldName = QStringLiteral("PARENT_ID");
    def->KeyFieldName = QStringLiteral("ID");
    def->MultilevelTopLevelFilter = QStringLiteral("ID = = 1");
    tree->RefreshData(false, false);
    ASSERT_EQ(n->RootCount(), 1);
    EXPECT_FALSE(n->Root(0)->Text().isEmpty());
    EXPECT_NE(n->Root(0)->Text(), QStringLiteral("Liitto"));
    EXPECT_EQ(n->Root(0)->Count(), 0);
}

TEST_F(TreeViewTest, EditingMarksNodesAndDragRulesDecideWhereTheyMayGo)
{
    DefineLevels(true);
    runDef->CanEditText = true;
    TTreeNode* run = tree->FindNode(data.runs.FieldByName(QStringLiteral("RUN_ID")), 2);
    TTreeNode* event = run->Parent();
    TTreeNode* otherEvent = event->GetNextSibling();
    ASSERT_NE(otherEvent, nullptr);
    TTreeNode* edited = nullptr;
    tree->OnItemEdited = [&](TComponent*, TTreeNode* N) { edited = N; };
    run->EditText();
    ASSERT_TRUE(tree->IsEditing());
    tree->EditControl()->SetText(QStringLiteral("Nimetty"));
    tree->EndEditNode(false);
    EXPECT_EQ(edited, run);
    EXPECT_TRUE(TrDBTreeView::NodeObjectOf(run)->ItemChanged);
    event->EditText();
    EXPECT_FALSE(tree->IsEditing()) << "CanEditText is per level";

    // Runs may move to another event (a node whose key field is their parent's).
    runDef->DragDropMode = DragDropOpt(dnoSameParentType) | DragDropOpt(dnoMoveItem);
    tree->SetSelected(run);
    tree->BeginDragNode(run);
    const TRect target = otherEvent->DisplayRect(true);
    const TRect parent = event->DisplayRect(true);
    EXPECT_FALSE(tree->DragOverAt(tree, parent.Left + 1, parent.Top + 1)) << "the present parent";
    EXPECT_TRUE(tree->DragOverAt(tree, target.Left + 1, target.Top + 1));
    const TRect series = tree->Items()->Root(0)->DisplayRect(true);
    EXPECT_FALSE(tree->DragOverAt(tree, series.Left + 1, series.Top + 1)) << "a series is not an event";
    TTreeNode* movedTo = nullptr;
    tree->OnItemMoved = [&](TComponent*, TTreeNode* N) { movedTo = N; };
    tree->DropAt(tree, target.Left + 1, target.Top + 1);
    EXPECT_EQ(run->Parent(), otherEvent);
    EXPECT_EQ(movedTo, otherEvent);
    // Near the edges the drag scrolls, faster the nearer it is.
    tree->BeginDragNode(run);
    tree->SetScrollStep(3);
    EXPECT_EQ(tree->ScrollStep(), 3);
    tree->SetScrollStep(tree->Height() - 5);
    EXPECT_EQ(tree->ScrollStep(), -3);
    tree->SetScrollStep(0);
    EXPECT_EQ(tree->ScrollStep(), 1);
    tree->SetScrollStep(100);
    EXPECT_EQ(tree->ScrollStep(), 0);
    tree->BeginDragNode(nullptr);
    int marked = 0;
    tree->ProcessAllItems(false, true, [&](TComponent*, TTreeNode* N) { marked += N == run; }, true);
    EXPECT_EQ(marked, 1);
    EXPECT_FALSE(TrDBTreeView::NodeObjectOf(run)->ItemMoved) << "ResetState";
    EXPECT_TRUE(TrDBTreeView::NodeObjectOf(run)->ItemChanged) << "only the flags asked for";
}

// Two runs picked with Ctrl+click and dragged by the mouse onto another event
// move there together and stay selected, with the event they went to.
TEST_F(TreeViewTest, SeveralSelectedNodesDraggedTogetherStaySelected)
{
    DefineLevels(true);
    tree->MultiSelect = true;
    tree->DragEnabled = true;
    runDef->DragDropMode = DragDropOpt(dnoSameParentType) | DragDropOpt(dnoMoveItem);
    TTreeNode* first = tree->FindNode(data.runs.FieldByName(QStringLiteral("RUN_ID")), 1);
    ASSERT_NE(first, nullptr);
    TTreeNode* event = first->Parent();
    TTreeNode* second = first->GetNextSibling();
    TTreeNode* otherEvent = event->GetNextSibling();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(otherEvent, nullptr);
    auto centre = [](TTreeNode* N) {
        const TRect r = N->DisplayRect(true);
        return QPoint(r.Left + 4, (r.Top + r.Bottom) / 2);
    };
    QWidget* w = tree->Widget();
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, centre(first));
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, centre(second));
    ASSERT_EQ(tree->SelectionCount(), 2);
    // A plain press on a selected node keeps both for the drag.
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, centre(second));
    EXPECT_EQ(tree->SelectionCount(), 2);
    const QPoint to = centre(otherEvent);
    QTest::mouseMove(w, centre(second) + QPoint(0, 10));
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(first->Parent(), otherEvent);
    EXPECT_EQ(second->Parent(), otherEvent);
    ASSERT_EQ(tree->SelectionCount(), 3) << "the target, then the moved nodes added";
    EXPECT_TRUE(first->Selected());
    EXPECT_TRUE(second->Selected());
    EXPECT_TRUE(otherEvent->Selected());

    // A click without a drag on one of them selects it alone.
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, centre(first));
    EXPECT_EQ(tree->SelectionCount(), 1);
    EXPECT_EQ(tree->Selected(), first);
}

TEST_F(TreeViewTest, RemovedDataSourceIsForgottenByEveryLevel)
{
    auto* src = new TDataSource(nullptr);
    src->SetDataSet(&data.events);
    TDataItemDef* def = tree->DataItemDefs()->Add();
    TDataItemDef* sub = def->SubDataItemDefs()->Add();
    sub->SetDataSource(src);
    delete src;
    EXPECT_EQ(sub->DataSource(), nullptr);
    EXPECT_EQ(sub->GetTreeView(), tree);
}

}  // namespace
