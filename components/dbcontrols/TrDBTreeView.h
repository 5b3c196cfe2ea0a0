#pragma once
// A tree whose nodes are built from datasets, level by level, following the
// master-detail links between them: each level definition lists the records
// of its dataset and recurses into its sub-levels while the dataset stands on
// each record. It rebuilds on request (at once or after a delay that
// coalesces bursts), keeps the selected node across a rebuild by its key,
// finds nodes by key, loads deeper levels lazily, colours nodes by level and
// state, and lets the user edit node texts and move nodes.

#include "components/dbcontrols/DataItemDefs.h"
#include "platform/database/DataSource.h"
#include "platform/ui/TreeViews.h"

#include <functional>
#include <memory>

class TTimer;
class TrDBTreeView;

using TTVItemObjectDefinedEvent = std::function<void(TComponent* Sender, TTreeNode* Node, TNodeObject* NodeObject, TDataSet* Dataset)>;
using TTreeNodeCallBack = std::function<void(TComponent* Sender, TTreeNode* Node)>;

// Follows the tree's master data source: any change rebuilds (delayed).
class TrDBRecordLink : public TDataLink {
public:
    explicit TrDBRecordLink(TrDBTreeView* ATree) : FTree(ATree) { VisualControl = true; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;

private:
    TrDBTreeView* FTree;
};

class TrDBTreeView : public TTreeView {
public:
    explicit TrDBTreeView(TComponent* AOwner);
    ~TrDBTreeView() override;

    TDataSource* MasterDataSource() const { return FDataLink.DataSource(); }
    void SetMasterDataSource(TDataSource* Value);
    TDataItemDefs* DataItemDefs() const { return FDataItemDefs.get(); }
    bool DataItemDesignTime = true;
    bool LoadFirstLevelOnly = false;
    // Milliseconds a delayed rebuild waits; 0 runs delayed rebuilds at once.
    unsigned LoadDataDelay = 0;
    TTVChangedEvent OnItemEdited;
    TTVChangedEvent OnItemMoved;
    TTVItemObjectDefinedEvent OnItemObjectDefined;

    void RefreshData(bool Delayed, bool KeepSelectedNode);
    TTreeNode* FindNode(TField* KeyField, const QVariant& KeyValue) const;
    void RefreshNode(TTreeNode* Node);
    void CreateChildNodes(TTreeNode* ParentNode, bool MultilevelNode, bool RemoveCurrentNodes);
    void CreateSiblingNode(TTreeNode* SiblingNode);
    TNodeObject* GetSelectedData() const;
    TNodeObject* GetNodeData(int NodeAbsoluteIndex);
    void ProcessAllItems(bool UseChanged, bool UseMoved, const TTreeNodeCallBack& CallBackProc, bool ResetState);
    virtual void BeginUpdate();
    virtual void EndUpdate();
    bool IsRefreshing() const { return FIsRefreshing; }
    // A rebuild is waiting for the load timer.
    bool RefreshPending() const;
    // The node object of any node of this tree (none for foreign nodes).
    static TNodeObject* NodeObjectOf(TTreeNode* Node);

    bool DragOverAt(TComponent* Source, int X, int Y) override;
    // Automatic scrolling while dragging near the top or bottom edge: the
    // step (positive: up) and one tick of the scroll timer.
    int ScrollStep() const { return FScrollStep; }
    void SetScrollStep(int Y);
    void IntScrollTimer();
    void DropAt(TComponent* Source, int X, int Y) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TTreeNode* CreateNode() override;
    bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage) override;
    bool CanExpand(TTreeNode* Node) override;
    void Change(TTreeNode* Node) override;
    bool CanEdit(TTreeNode* Node) override;
    void Edit(TTreeNode* Node, QString& S) override;
    void HorzScrolled() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
    friend class TDataItemDef;
    void LoadDataItemDef(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode);
    void ProcDataset(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode, TTreeNode* TitleNode);
    bool SetMultilevelFilter(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode);
    void LoadMultilevelChildren(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode);
    TTreeNode* AddTitle(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode);
    TTreeNode* AddItem(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, const QString& ConstantText, bool Expanding, bool IsTitle,
                       bool ShowSubData, TTreeNode* ParentNode);
    void ShowSubDataSources(TDataItemDef* ItemDef, TTreeNode* Node, bool Expanding);
    bool AcceptDrag(TComponent* Source, TTreeNode* Dragged, TTreeNode* Target) const;
    void MoveItem(TTreeNode* Node, TTreeNode* Target);
    bool Designing() const { return (ComponentState() & csDesigning) != 0; }
    bool FIsRefreshing = false;
    int FUpdateCount = 0;
    TrDBRecordLink FDataLink{this};
    std::unique_ptr<TDataItemDefs> FDataItemDefs;
    TTimer* FLoadTimer = nullptr;
    TTimer* FScrollTimer = nullptr;
    int FScrollStep = 0;
};
