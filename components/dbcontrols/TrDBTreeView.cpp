#include "components/dbcontrols/TrDBTreeView.h"

#include "components/base/ParioCompGlobalCfg.h"
#include "components/base/rtool.h"
#include "components/grid/rdbtool.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "resources/DBControlsTexts.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

// Sets IsRefreshing for a scope and puts the old value back on every path.
class RefreshGuard {
public:
    explicit RefreshGuard(bool& Flag) : FFlag(Flag), FOld(Flag) { FFlag = true; }
    ~RefreshGuard() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};

class NodesUpdate {
public:
    explicit NodesUpdate(TTreeNodes* Nodes) : FNodes(Nodes) { FNodes->BeginUpdate(); }
    ~NodesUpdate() { FNodes->EndUpdate(); }

private:
    TTreeNodes* FNodes;
};

// Visits nodes in absolute order (each node, then its children) until Visit
// answers true; children are walked by index, so a long level stays linear.
TTreeNode* WalkNodes(const TTreeNodes* Nodes, const std::function<bool(TTreeNode*)>& Visit)
{
    std::function<TTreeNode*(TTreeNode*)> walk = [&](TTreeNode* N) -> TTreeNode* {
        if (Visit(N))
            return N;
        for (int i = 0; i < N->Count(); ++i)
            if (TTreeNode* hit = walk(N->Item(i)))
                return hit;
        return nullptr;
    };
    for (int i = 0; i < Nodes->RootCount(); ++i)
        if (TTreeNode* hit = walk(Nodes->Root(i)))
            return hit;
    return nullptr;
}

bool IsNumericField(const TField* F) { return dynamic_cast<const TNumericField*>(F) != nullptr; }

bool IsRecordNodeOf(const TNodeObject* O, const TField* KeyField)
{
    return O && O->IsInitialized && !O->IsTitle && O->KeyField && O->KeyField == KeyField;
}

// True when Key of this level already stands on the way up from Node: a
// self-referencing hierarchy with a cycle must not recurse for ever.
bool KeyOnPath(TTreeNode* Node, const TDataItemDef* Def, const QVariant& Key)
{
    for (TTreeNode* p = Node ? Node->Parent() : nullptr; p; p = p->Parent()) {
        const TNodeObject* o = TrDBTreeView::NodeObjectOf(p);
        if (o && o->DataItemDef == Def && !o->IsTitle && VarEquals(o->KeyValue, Key))
            return true;
    }
    return false;
}

}  // namespace

// ---- TrDBRecordLink ------------------------------------------------------------------

void TrDBRecordLink::ActiveChanged()
{
    TDataLink::ActiveChanged();
    FTree->RefreshData(true, false);
}

void TrDBRecordLink::DataSetChanged()
{
    TDataLink::DataSetChanged();
    FTree->RefreshData(true, false);
}

// ---- TrDBTreeView --------------------------------------------------------------------

TrDBTreeView::TrDBTreeView(TComponent* AOwner) : TTreeView(AOwner), FDataItemDefs(std::make_unique<TDataItemDefs>(this))
{
    FLoadTimer = new TTimer(this);
    FLoadTimer->SetEnabled(false);
    FLoadTimer->SetInterval(0);
    FLoadTimer->OnTimer = [this](TComponent*) {
        FLoadTimer->SetEnabled(false);
        RefreshData(false, false);
    };
    FScrollTimer = new TTimer(this);
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(200);
    FScrollTimer->OnTimer = [this](TComponent*) { IntScrollTimer(); };
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentCreated);
}

TrDBTreeView::~TrDBTreeView()
{
    // No rebuild may start while the parts go.
    FUpdateCount = 1;
    FLoadTimer->SetEnabled(false);
    FScrollTimer->SetEnabled(false);
    Items()->Clear();
    FDataItemDefs.reset();
    FDataLink.SetDataSource(nullptr);
}

void TrDBTreeView::SetMasterDataSource(TDataSource* Value)
{
    FDataLink.SetDataSource(Value);
    if (Value)
        Value->FreeNotification(this);
}

void TrDBTreeView::Loaded()
{
    TTreeView::Loaded();
    RefreshData(false, false);
    ParioCompConfig.DoParioCompGeneralEventSimple(this, pceComponentLoaded);
}

void TrDBTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove || !FDataItemDefs)
        return;
    // The source is half gone here: it is recognised by its address.
    if (FDataLink.DataSource() && static_cast<TComponent*>(FDataLink.DataSource()) == AComponent)
        FDataLink.SetDataSource(nullptr);
    for (int i = 0; i < FDataItemDefs->Count(); ++i)
        FDataItemDefs->GetDataItemDef(i)->RemoveDataSourceLink(AComponent);
}

TTreeNode* TrDBTreeView::CreateNode() { return new TrTreeNode(Items()); }

TNodeObject* TrDBTreeView::NodeObjectOf(TTreeNode* Node)
{
    auto* n = dynamic_cast<TrTreeNode*>(Node);
    return n ? n->NodeObject() : nullptr;
}

bool TrDBTreeView::RefreshPending() const { return FLoadTimer->Enabled(); }

void TrDBTreeView::BeginUpdate() { ++FUpdateCount; }

void TrDBTreeView::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    RefreshData(true, false);
}

void TrDBTreeView::RefreshData(bool Delayed, bool KeepSelectedNode)
{
    // 1. Not while loading, rebuilding or inside an update bracket.
    if (Loading() || FIsRefreshing || FUpdateCount > 0)
        return;
    // 2. A delayed request restarts the load timer; the rebuild it starts
    //    does not keep the selection.
    if (Delayed && LoadDataDelay > 0) {
        FLoadTimer->SetEnabled(false);
        FLoadTimer->SetInterval(int(LoadDataDelay));
        FLoadTimer->SetEnabled(true);
        return;
    }
    FLoadTimer->SetEnabled(false);
    TField* selField = nullptr;
    QVariant selValue;
    TField* topField = nullptr;
    QVariant topValue;
    {
        // 3. Remember the selected node's key and its top-level ancestor's.
        RefreshGuard refreshing(FIsRefreshing);
        if (KeepSelectedNode && Selected()) {
            TTreeNode* top = Selected();
            while (top->Parent())
                top = top->Parent();
            if (const TNodeObject* o = NodeObjectOf(Selected())) {
                selField = o->KeyField;
                selValue = o->KeyValue;
            }
            if (const TNodeObject* o = NodeObjectOf(top)) {
                topField = o->KeyField;
                topValue = o->KeyValue;
            }
        }
        // 4. Delete every node and load the top-level definitions in order.
        NodesUpdate update(Items());
        Items()->Clear();
        for (int i = 0; i < FDataItemDefs->Count(); ++i)
            LoadDataItemDef(nullptr, FDataItemDefs->GetDataItemDef(i), false, nullptr);
    }
    // 5. The node to select: the remembered one found through its top-level
    //    ancestor, else the first node.
    TTreeNode* target = Items()->GetFirstNode();
    if (KeepSelectedNode && selField) {
        target = FindNode(topField, topValue);
        if (target && topField != selField) {
            target->Expand(false);
            target = FindNode(selField, selValue);
        }
    }
    // 6.
    SetSelected(target);
    if (Designing() && !DataItemDesignTime)
        Items()->Clear();
}

TTreeNode* TrDBTreeView::FindNode(TField* KeyField, const QVariant& KeyValue) const
{
    if (FIsRefreshing || !KeyField)
        return nullptr;
    return WalkNodes(const_cast<TrDBTreeView*>(this)->Items(), [&](TTreeNode* N) {
        const TNodeObject* o = NodeObjectOf(N);
        return IsRecordNodeOf(o, KeyField) && VarEquals(o->KeyValue, KeyValue);
    });
}

// ---- building ------------------------------------------------------------------------

TTreeNode* TrDBTreeView::AddTitle(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode)
{
    if (ItemDef->ShowTitle() && !ItemDef->TitleText().isEmpty())
        return AddItem(ParentItemDef, ItemDef, QString(), Expanding, true, false, ParentNode);
    return ParentNode;
}

void TrDBTreeView::LoadDataItemDef(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode)
{
    TDataSource* src = ItemDef->DataSource();
    // 1. A grouping folder.
    if (!src) {
        ShowSubDataSources(ItemDef, AddTitle(ParentItemDef, ItemDef, Expanding, ParentNode), Expanding);
        return;
    }
    TDataSet* d = src->DataSet();
    // 2.
    if (!d) {
        AddTitle(ParentItemDef, ItemDef, Expanding, ParentNode);
        AddItem(ParentItemDef, ItemDef, dbctltxt::DatasetNotDefined, Expanding, false, false, ParentNode);
        return;
    }
    // 3. The form designer shows a sample.
    if (Designing()) {
        TTreeNode* title = AddTitle(ParentItemDef, ItemDef, Expanding, ParentNode);
        if (!ItemDef->ListAllRecords() && ItemDef->RecordTextMask().isEmpty())
            ShowSubDataSources(ItemDef, title, Expanding);
        else
            AddItem(ParentItemDef, ItemDef, ItemDef->RecordTextMask(), Expanding, false, true, ParentNode);
        return;
    }
    // 4.
    if (!d->Active()) {
        AddTitle(ParentItemDef, ItemDef, Expanding, ParentNode);
        AddItem(ParentItemDef, ItemDef, dbctltxt::DatasetIsClosed, Expanding, false, true, ParentNode);
        return;
    }
    // 5. The title heads the record nodes as their sibling.
    TTreeNode* title = AddTitle(ParentItemDef, ItemDef, Expanding, ParentNode);
    ProcDataset(ParentItemDef, ItemDef, Expanding, ParentNode, title);
}

void TrDBTreeView::ProcDataset(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode,
                               TTreeNode* TitleNode)
{
    TDataSet* d = ItemDef->DataSet();
    // 1. An empty dataset.
    if (d->IsEmpty()) {
        if (!ItemDef->EmptyDatasetText.isEmpty())
            AddItem(ParentItemDef, ItemDef, ItemDef->EmptyDatasetText, Expanding, false, false, ParentNode);
        return;
    }
    // 2. Only the current record, or a grouping level.
    if (!ItemDef->ListAllRecords()) {
        if (ItemDef->RecordTextMask().isEmpty())
            ShowSubDataSources(ItemDef, TitleNode, Expanding);
        else
            AddItem(ParentItemDef, ItemDef, QString(), Expanding, false, true, ParentNode);
        return;
    }
    // 3. Lazy loading leaves a placeholder until the parent is expanded.
    if (LoadFirstLevelOnly && !Expanding && ParentNode) {
        AddItem(ParentItemDef, ItemDef, dbctltxt::ToBeLoaded, Expanding, false, false, ParentNode);
        return;
    }
    // 4. One node per record, at most MaxRecords.
    if (ItemDef->MultilevelMode && !SetMultilevelFilter(ParentItemDef, ItemDef, Expanding, ParentNode))
        return;
    d->First();
    for (int count = 0; !d->Eof(); ++count) {
        if (ItemDef->MaxRecords > 0 && count >= ItemDef->MaxRecords) {
            AddItem(ParentItemDef, ItemDef, dbctltxt::MoreRecords, Expanding, false, false, ParentNode);
            break;
        }
        AddItem(ParentItemDef, ItemDef, QString(), Expanding, false, true, ParentNode);
        d->Next();
    }
    // 5. The next step of a self-referencing hierarchy under each new node.
    if (ItemDef->MultilevelMode)
        LoadMultilevelChildren(ParentItemDef, ItemDef, Expanding, ParentNode);
}

bool TrDBTreeView::SetMultilevelFilter(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode)
{
    TDataSet* d = ItemDef->DataSet();
    QString msg;
    try {
        TField* parentKey = d->FindField(ItemDef->ParentKeyFieldName);
        if (!parentKey)
            msg = Format(dbctltxt::ParentKeyFieldNotFound, {ItemDef->ParentKeyFieldName});
        if (!d->FindField(ItemDef->KeyFieldName))
            msg = Format(dbctltxt::KeyFieldNotFound, {ItemDef->KeyFieldName});
        if (ItemDef->MultilevelTopLevelFilter.isEmpty() && parentKey && !IsNumericField(parentKey))
            msg = dbctltxt::ParentKeyFieldNotNumeric;
        if (msg.isEmpty()) {
            QString filter;
            if (!ParentNode)
                filter = ItemDef->MultilevelTopLevelFilter;
            if (filter.isEmpty()) {
                const TNodeObject* o = NodeObjectOf(ParentNode);
                const QVariant v = o ? o->KeyValue : QVariant();
                filter = QStringLiteral("%1=%2").arg(ItemDef->ParentKeyFieldName, v.isValid() && !v.isNull() ? v.toString() : QStringLiteral("0"));
            }
            d->SetFilter(filter);
            d->SetFiltered(true);
        }
    } catch (const Exception& e) {
        msg = e.Message();
    }
    if (msg.isEmpty())
        return true;
    AddItem(ParentItemDef, ItemDef, msg, Expanding, false, true, ParentNode);
    return false;
}

void TrDBTreeView::LoadMultilevelChildren(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, bool Expanding, TTreeNode* ParentNode)
{
    TDataSet* d = ItemDef->DataSet();
    d->SetFiltered(false);
    d->SetFilter(QString());
    d->First();
    TField* key = d->FindField(ItemDef->KeyFieldName);
    std::vector<TTreeNode*> children;
    const int n = ParentNode ? ParentNode->Count() : Items()->RootCount();
    for (int i = 0; i < n; ++i)
        children.push_back(ParentNode ? ParentNode->Item(i) : Items()->Root(i));
    for (TTreeNode* child : children) {
        const TNodeObject* o = NodeObjectOf(child);
        if (!o || o->IsTitle || !key || o->KeyField != key || KeyOnPath(child, ItemDef, o->KeyValue))
            continue;
        LoadDataItemDef(ParentItemDef, ItemDef, Expanding, child);
        if (ItemDef->ExpandNode())
            child->Expand(true);
    }
}

TTreeNode* TrDBTreeView::AddItem(TDataItemDef* ParentItemDef, TDataItemDef* ItemDef, const QString& ConstantText, bool Expanding,
                                 bool IsTitle, bool ShowSubData, TTreeNode* ParentNode)
{
    // 1.
    TTreeNode* node = Items()->AddChild(ParentNode, QString());
    TNodeObject* o = NodeObjectOf(node);
    if (!Designing())
        node->Data = o;
    // 2.
    o->IsInitialized = true;
    o->ItemChanged = false;
    o->ItemMoved = false;
    o->NodeIsLoaded = Expanding || !LoadFirstLevelOnly;
    o->ParentDataItemDef = ParentItemDef;
    o->DataItemDef = ItemDef;
    o->IsTitle = IsTitle;
    o->BkColor = IsTitle ? ItemDef->TitleBkColor() : ItemDef->RecordBkColor();
    o->FontColor = IsTitle ? ItemDef->TitleFontColor() : ItemDef->RecordFontColor();
    o->Style = IsTitle ? ItemDef->TitleStyle() : ItemDef->RecordStyle();
    o->ChangedFontColor = IsTitle ? clNone : ItemDef->RecordChangedFontColor;
    // 3.
    TDataSet* d = ItemDef->DataSet();
    const bool active = d && d->Active();
    if (!IsTitle && active) {
        o->KeyField = d->FindField(ItemDef->KeyFieldName);
        o->RecNo = d->RecNo();
        o->IsEmptyDataset = d->IsEmpty();
    } else {
        o->KeyField = nullptr;
        o->RecNo = -1;
        o->IsEmptyDataset = false;
    }
    o->KeyValue = o->KeyField ? o->KeyField->AsVariant() : QVariant(0);
    // 4.
    if (!ConstantText.isEmpty()) {
        node->SetText(ConstantText);
    } else {
        const QString& mask = IsTitle ? ItemDef->TitleText() : ItemDef->RecordTextMask();
        node->SetText(active ? FillTextMask(mask, d, QStringLiteral("<<"), QStringLiteral(">>"), QString(), false) : mask);
    }
    // 5.
    const int image = IsTitle ? ItemDef->TitleImageIndex() : ItemDef->RecordImageIndex();
    node->ImageIndex = node->SelectedIndex = node->StateIndex = node->ExpandedImageIndex = image;
    if (!IsTitle) {
        if (ItemDef->RecordSelectedImageIndex >= 0)
            node->SelectedIndex = ItemDef->RecordSelectedImageIndex;
        if (ItemDef->RecordExpandedImageIndex >= 0)
            node->ExpandedImageIndex = ItemDef->RecordExpandedImageIndex;
        if (ItemDef->RecordStateImageIndex >= 0)
            node->StateIndex = ItemDef->RecordStateImageIndex;
    }
    // 6.
    if (OnItemObjectDefined)
        OnItemObjectDefined(this, node, o, ItemDef->DataSource() ? d : nullptr);
    // 7.
    if (ShowSubData)
        ShowSubDataSources(ItemDef, node, Expanding);
    return node;
}

void TrDBTreeView::ShowSubDataSources(TDataItemDef* ItemDef, TTreeNode* Node, bool Expanding)
{
    TDataItemDefs* subs = ItemDef->SubDataItemDefs();
    for (int i = 0; i < subs->Count(); ++i)
        LoadDataItemDef(ItemDef, subs->GetDataItemDef(i), Expanding, Node);
    if (ItemDef->ExpandNode() && Node)
        Node->Expand(false);
}

// ---- node services -------------------------------------------------------------------

void TrDBTreeView::RefreshNode(TTreeNode* Node)
{
    TNodeObject* o = NodeObjectOf(Node);
    if (!o || !o->DataItemDef)
        return;
    TDataSet* d = o->DataItemDef->DataSet();
    if (d && d->Active()) {
        const QString& mask = o->IsTitle ? o->DataItemDef->TitleText() : o->DataItemDef->RecordTextMask();
        Node->SetText(FillTextMask(mask, d, QStringLiteral("<<"), QStringLiteral(">>"), QString(), false));
    }
    if (OnItemObjectDefined)
        OnItemObjectDefined(this, Node, o, d);
}

void TrDBTreeView::CreateChildNodes(TTreeNode* ParentNode, bool MultilevelNode, bool RemoveCurrentNodes)
{
    TNodeObject* o = NodeObjectOf(ParentNode);
    if (!o || !o->DataItemDef)
        return;
    NodesUpdate update(Items());
    if (RemoveCurrentNodes)
        ParentNode->DeleteChildren();
    if (MultilevelNode) {
        LoadDataItemDef(o->ParentDataItemDef, o->DataItemDef, true, ParentNode);
        if (o->DataItemDef->ExpandNode())
            ParentNode->Expand(false);
    } else {
        ShowSubDataSources(o->DataItemDef, ParentNode, true);
    }
}

void TrDBTreeView::CreateSiblingNode(TTreeNode* SiblingNode)
{
    TNodeObject* o = NodeObjectOf(SiblingNode);
    if (!o || !o->DataItemDef)
        return;
    NodesUpdate update(Items());
    LoadDataItemDef(o->ParentDataItemDef, o->DataItemDef, true, SiblingNode->Parent());
}

TNodeObject* TrDBTreeView::GetSelectedData() const { return NodeObjectOf(Selected()); }

TNodeObject* TrDBTreeView::GetNodeData(int NodeAbsoluteIndex)
{
    if (NodeAbsoluteIndex < 0)
        return nullptr;
    int i = 0;
    TTreeNode* hit = WalkNodes(Items(), [&](TTreeNode*) { return i++ == NodeAbsoluteIndex; });
    return NodeObjectOf(hit);
}

void TrDBTreeView::ProcessAllItems(bool UseChanged, bool UseMoved, const TTreeNodeCallBack& CallBackProc, bool ResetState)
{
    WalkNodes(Items(), [&](TTreeNode* N) {
        TNodeObject* o = NodeObjectOf(N);
        if (!o || !o->IsInitialized || !((UseChanged && o->ItemChanged) || (UseMoved && o->ItemMoved)))
            return false;
        if (CallBackProc)
            CallBackProc(this, N);
        if (ResetState) {
            if (UseChanged)
                o->ItemChanged = false;
            if (UseMoved)
                o->ItemMoved = false;
        }
        return false;
    });
    Invalidate();
}

// ---- lazy loading, selection, editing ------------------------------------------------

bool TrDBTreeView::CanExpand(TTreeNode* Node)
{
    TNodeObject* o = NodeObjectOf(Node);
    if (!Designing() && LoadFirstLevelOnly && o && o->IsInitialized && !o->NodeIsLoaded && o->DataItemDef) {
        RefreshGuard refreshing(FIsRefreshing);
        NodesUpdate update(Items());
        TDataSet* d = o->DataItemDef->DataSet();
        bool found = false;
        if (d && d->Active()) {
            if (o->KeyField) {
                found = LocateRecord(o->KeyField, o->KeyValue, false);
            } else {
                try {
                    d->SetRecNo(o->RecNo);
                    found = true;
                } catch (const Exception&) {
                    found = false;
                }
            }
        }
        if (found) {
            Node->DeleteChildren();
            if (o->DataItemDef->MultilevelMode) {
                LoadDataItemDef(o->ParentDataItemDef, o->DataItemDef, true, Node);
            } else {
                TDataItemDefs* subs = o->DataItemDef->SubDataItemDefs();
                for (int i = 0; i < subs->Count(); ++i)
                    LoadDataItemDef(o->DataItemDef, subs->GetDataItemDef(i), true, Node);
            }
            o->NodeIsLoaded = true;
        }
    }
    return TTreeView::CanExpand(Node);
}

void TrDBTreeView::Change(TTreeNode* Node)
{
    // A rebuild selects its node once at its end; nothing in between is told.
    if (!FIsRefreshing && !Loading() && !BlockChange && OnChange)
        OnChange(this, Node);
}

bool TrDBTreeView::CanEdit(TTreeNode* Node)
{
    const TNodeObject* o = NodeObjectOf(Node);
    bool allow = o && o->IsInitialized && !o->IsTitle && o->DataItemDef && o->DataItemDef->CanEditText;
    if (OnEditing)
        OnEditing(this, Node, allow);
    return allow;
}

void TrDBTreeView::Edit(TTreeNode* Node, QString& S)
{
    TTreeView::Edit(Node, S);
    if (TNodeObject* o = NodeObjectOf(Node); o && o->IsInitialized)
        o->ItemChanged = true;
    if (OnItemEdited)
        OnItemEdited(this, Node);
}

// ---- drawing -------------------------------------------------------------------------

bool TrDBTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage)
{
    try {
        const TNodeObject* o = NodeObjectOf(Node);
        if (o && o->IsInitialized) {
            TCanvas* c = Canvas();
            TRect r = Node->DisplayRect(false);
            if (o->DataItemDef) {
                r.Left += o->DataItemDef->FillLeftBorder();
                r.Right -= o->DataItemDef->FillRightBorder();
            }
            const bool selectedFocused = (State & cdsSelected) && (State & cdsFocused);
            if (Stage == cdPrePaint) {
                // 1. Style, font colour (changed nodes always), background.
                c->Font()->SetStyle(o->Style & (fsBold | fsItalic));
                if (!selectedFocused && o->FontColor != clNone)
                    c->Font()->SetColor(o->FontColor);
                if ((o->ItemChanged || o->ItemMoved) && o->ChangedFontColor != clNone)
                    c->Font()->SetColor(o->ChangedFontColor);
                if (o->IsEmptyDataset) {
                    c->Font()->SetColor(GetStyleSystemColor(clGrayText));
                } else if (o->BkColor != clNone && o->BkColor != Color() && !selectedFocused) {
                    c->Brush()->SetColor(o->BkColor);
                    c->FillRect(r);
                    if (!GetThemeEnabled())
                        c->Brush()->SetColor(Color());
                }
            } else if (o->Style & fsUnderline) {
                // 2. Underline along the bottom pixel row.
                c->Pen()->SetColor(o->FontColor == clNone ? Font()->Color() : o->FontColor);
                c->MoveTo(r.Left, r.Bottom - 1);
                c->LineTo(r.Right, r.Bottom - 1);
            }
        }
    } catch (...) {
        // A node that cannot be drawn in colour is drawn plain.
    }
    return TTreeView::CustomDrawItem(Node, State, Stage);
}

void TrDBTreeView::HorzScrolled()
{
    TTreeView::HorzScrolled();
    Invalidate();
}

bool TrDBTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    const bool r = TTreeView::DoMouseWheel(Shift, WheelDelta, MousePos);
    // Filled backgrounds would smear when only the horizontal bar scrolls.
    if (ContentWidth() > Width())
        Invalidate();
    return r;
}

// ---- drag and drop -------------------------------------------------------------------

bool TrDBTreeView::AcceptDrag(TComponent* Source, TTreeNode* Dragged, TTreeNode* Target) const
{
    const TNodeObject* d = NodeObjectOf(Dragged);
    const TNodeObject* t = NodeObjectOf(Target);
    if (!d || !t || !d->IsInitialized || !t->IsInitialized || !d->DataItemDef)
        return false;
    const TDragDropItemOptions m = d->DataItemDef->DragDropMode;
    // 1.
    if (!HasDragDropOpt(m, dnoOtherControl) && Source != this)
        return false;
    // 2.
    if (!HasDragDropOpt(m, dnoSameParent) && Target == Dragged->Parent())
        return false;
    // 3.
    if (HasDragDropOpt(m, dnoAllLevels))
        return true;
    // 4.
    if (HasDragDropOpt(m, dnoSameLevel) && Dragged->Level() - 1 == Target->Level())
        return true;
    // 5.
    if (HasDragDropOpt(m, dnoSameParentType) && Dragged->Parent()) {
        const TNodeObject* p = NodeObjectOf(Dragged->Parent());
        return p && p->KeyField == t->KeyField;
    }
    // 6.
    return false;
}

void TrDBTreeView::SetScrollStep(int Y)
{
    constexpr int ScrollBorder = 15;
    if (Y <= ScrollBorder)
        FScrollStep = std::max(1, Y);
    else if (Height() - Y <= ScrollBorder)
        FScrollStep = std::min(-1, Y - Height() + 2);
    else
        FScrollStep = 0;
    FScrollTimer->SetEnabled(FScrollStep != 0);
}

void TrDBTreeView::IntScrollTimer()
{
    // Nearer the edge scrolls faster.
    if (Dragging())
        FScrollTimer->SetInterval(std::abs(FScrollStep) * 10 + 25);
    else
        FScrollTimer->SetEnabled(false);
    ScrollLines(FScrollStep > 0 ? -1 : 1);
}

bool TrDBTreeView::DragOverAt(TComponent* Source, int X, int Y)
{
    SetScrollStep(Y);
    bool accept = false;
    auto* sourceTree = dynamic_cast<TrDBTreeView*>(Source);
    TTreeNode* dragged = sourceTree ? (sourceTree->Dragging() ? sourceTree->DragNode() : sourceTree->Selected()) : nullptr;
    TTreeNode* target = GetNodeAt(X, Y);
    try {
        if (dragged && target && dragged != target)
            accept = AcceptDrag(Source, dragged, target);
    } catch (...) {
        // Accept stays as it was.
    }
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, accept);
    return accept;
}

void TrDBTreeView::MoveItem(TTreeNode* Node, TTreeNode* Target)
{
    TNodeObject* n = NodeObjectOf(Node);
    const TNodeObject* t = NodeObjectOf(Target);
    if (!n || !t || !n->IsInitialized || !t->IsInitialized || !n->DataItemDef || !HasDragDropOpt(n->DataItemDef->DragDropMode, dnoMoveItem))
        return;
    // The base refuses a move into the node's own branch.
    for (TTreeNode* p = Target; p; p = p->Parent())
        if (p == Node)
            return;
    Node->MoveTo(Target, naAddChild);
    n->ItemMoved = true;
    Invalidate();
    if (OnItemMoved)
        OnItemMoved(this, Target);
}

void TrDBTreeView::DropAt(TComponent* Source, int X, int Y)
{
    // Only drops from this tree itself are handled.
    if (Source != this || !DragOverAt(Source, X, Y)) {
        BeginDragNode(nullptr);
        Invalidate();
        return;
    }
    TTreeNode* target = GetNodeAt(X, Y);
    if (!target) {
        BeginDragNode(nullptr);
        return;
    }
    TTreeNode* dragged = Dragging() ? DragNode() : Selected();
    target->Expand(false);
    if (SelectionCount() < 2) {
        MoveItem(dragged, target);
    } else {
        std::vector<TTreeNode*> list;
        for (int i = 0; i < SelectionCount(); ++i)
            list.push_back(Selections(i));
        Select(target);
        MoveItem(list.front(), target);
        for (size_t i = list.size() - 1; i >= 1; --i)
            MoveItem(list[i], target);
        for (TTreeNode* n : list)
            Select(n, ssCtrl);
    }
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
    BeginDragNode(nullptr);
    Invalidate();
}
