#include "platform/ui/TreeViews.h"

#include "platform/ui/ControlWidget.h"
#include "platform/ui/ImgList.h"

#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace {
constexpr int ScrollBarExtent = 16;
}

// ---- TTreeNode -----------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner) : FOwner(Owner) {}

TTreeNode::~TTreeNode()
{
    for (TTreeNode* c : FChildren)
        delete c;
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner ? FOwner->Owner() : nullptr; }

void TTreeNode::SetText(const QString& v)
{
    FText = v;
    if (TCustomTreeView* t = TreeView())
        t->Invalidate();
}

void TTreeNode::SetHasChildren(bool v)
{
    FHasChildren = v;
    if (TCustomTreeView* t = TreeView())
        t->Invalidate();
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    const auto& s = FOwner->SiblingsOf(FParent);
    const int i = Index();
    return i + 1 < int(s.size()) ? s[size_t(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    const auto& s = FOwner->SiblingsOf(FParent);
    const int i = Index();
    return i > 0 ? s[size_t(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!FChildren.empty())
        return FChildren.front();
    for (const TTreeNode* n = this; n; n = n->FParent)
        if (TTreeNode* s = n->GetNextSibling())
            return s;
    return nullptr;
}

int TTreeNode::Index() const
{
    const auto& s = FOwner->SiblingsOf(FParent);
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] == this)
            return int(i);
    return -1;
}

int TTreeNode::Level() const
{
    int l = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent)
        ++l;
    return l;
}

int TTreeNode::AbsoluteIndex() const
{
    int i = 0;
    for (TTreeNode* n = FOwner->GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this)
            return i;
    return -1;
}

void TTreeNode::SetExpanded(bool v)
{
    if (v)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse)
{
    TCustomTreeView* t = TreeView();
    if (!FExpanded && HasChildren()) {
        if (t && !t->CanExpand(this))
            return;
        FExpanded = true;
        if (t) {
            t->NodesChanged();
            t->Expand(this);
        }
    }
    if (Recurse) {
        const auto children = FChildren;
        for (TTreeNode* c : children)
            c->Expand(true);
    }
}

void TTreeNode::Collapse(bool Recurse)
{
    TCustomTreeView* t = TreeView();
    if (FExpanded) {
        if (t && !t->CanCollapse(this))
            return;
        FExpanded = false;
        if (t) {
            // A selected node inside the collapsed branch gives way to this one.
            for (TTreeNode* s = t->Selected(); s; s = s->FParent)
                if (s->FParent == this) {
                    t->SetSelected(this);
                    break;
                }
            t->NodesChanged();
            t->Collapse(this);
        }
    }
    if (Recurse)
        for (TTreeNode* c : FChildren)
            c->Collapse(true);
}

bool TTreeNode::Selected() const
{
    TCustomTreeView* t = TreeView();
    if (!t)
        return false;
    if (t->Selected() == this)
        return true;
    return std::find(t->FSelection.begin(), t->FSelection.end(), this) != t->FSelection.end();
}

void TTreeNode::SetSelected(bool v)
{
    if (TCustomTreeView* t = TreeView()) {
        if (v)
            t->SetSelected(this);
        else if (t->Selected() == this)
            t->SetSelected(nullptr);
    }
}

bool TTreeNode::Focused() const
{
    TCustomTreeView* t = TreeView();
    return t && t->Selected() == this && t->Focused();
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren()
{
    FOwner->BeginUpdate();
    while (!FChildren.empty())
        FOwner->Delete(FChildren.back());
    FOwner->EndUpdate();
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode)
{
    if (Destination == this)
        return;
    for (TTreeNode* p = Destination; p; p = p->FParent)
        if (p == this)
            return;  // never into its own branch
    FOwner->Detach(this);
    TTreeNode* parent = nullptr;
    int pos = 0;
    switch (Mode) {
    case naAddChild:
    case naAddChildFirst:
        parent = Destination;
        pos = Mode == naAddChild ? (Destination ? Destination->Count() : FOwner->RootCount()) : 0;
        break;
    case naInsert:
        parent = Destination ? Destination->FParent : nullptr;
        pos = Destination ? Destination->Index() : 0;
        break;
    case naAddFirst:
        parent = Destination ? Destination->FParent : nullptr;
        pos = 0;
        break;
    case naAdd:
        parent = Destination ? Destination->FParent : nullptr;
        pos = int(FOwner->SiblingsOf(parent).size());
        break;
    }
    auto& s = FOwner->SiblingsOf(parent);
    s.insert(s.begin() + std::clamp(pos, 0, int(s.size())), this);
    FParent = parent;
    FOwner->Changed();
}

TRect TTreeNode::DisplayRect(bool TextOnly) const
{
    TCustomTreeView* t = TreeView();
    if (!t)
        return TRect();
    const auto& vis = t->VisibleNodes();
    const auto it = std::find(vis.begin(), vis.end(), this);
    if (it == vis.end())
        return TRect();
    const int line = int(it - vis.begin()) - t->FTop;
    const int h = t->ItemHeight();
    TRect r = Rect(0, line * h, t->Width(), (line + 1) * h);
    if (TextOnly) {
        const int indent = (Level() + (t->ShowRoot ? 1 : 0)) * t->Indent + (t->Images ? t->Images->Width() + 2 : 0);
        TCanvas c;
        c.Font()->Assign(*t->Font());
        r.Left = indent + 2 - t->FLeft;
        r.Right = r.Left + c.TextWidth(FText) + 4;
    }
    return r;
}

bool TTreeNode::IsVisible() const
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded)
            return false;
    return true;
}

void TTreeNode::MakeVisible()
{
    for (TTreeNode* p = FParent; p; p = p->FParent)
        p->Expand(false);
    TCustomTreeView* t = TreeView();
    if (!t)
        return;
    const auto& vis = t->VisibleNodes();
    const int i = int(std::find(vis.begin(), vis.end(), this) - vis.begin());
    const int n = std::max(1, t->VisibleCount());
    if (i < t->FTop)
        t->FTop = i;
    else if (i >= t->FTop + n)
        t->FTop = i - n + 1;
    t->UpdateScrollBar();
    t->Invalidate();
}

void TTreeNode::EditText()
{
    if (TCustomTreeView* t = TreeView())
        t->StartEdit(this);
}

// ---- TTreeNodes ----------------------------------------------------------------------

TTreeNodes::~TTreeNodes()
{
    for (TTreeNode* n : FRoots)
        delete n;
}

int TTreeNodes::Count() const
{
    int n = 0;
    for (TTreeNode* x = GetFirstNode(); x; x = x->GetNext())
        ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int AbsoluteIndex) const
{
    int i = 0;
    for (TTreeNode* x = GetFirstNode(); x; x = x->GetNext(), ++i)
        if (i == AbsoluteIndex)
            return x;
    return nullptr;
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, int Position, const QString& S, void* Ptr)
{
    TTreeNode* n = FOwner ? FOwner->CreateNode() : new TTreeNode(this);
    n->FOwner = this;
    n->FParent = Parent;
    n->FText = S;
    n->Data = Ptr;
    auto& s = SiblingsOf(Parent);
    s.insert(s.begin() + std::clamp(Position, 0, int(s.size())), n);
    Changed();
    return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const QString& S) { return AddObject(Sibling, S, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const QString& S, void* Ptr)
{
    TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
    return InternalAdd(parent, int(SiblingsOf(parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const QString& S)
{
    return InternalAdd(Sibling ? Sibling->Parent() : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const QString& S) { return AddChildObject(Parent, S, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const QString& S, void* Ptr)
{
    return InternalAdd(Parent, int(SiblingsOf(Parent).size()), S, Ptr);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const QString& S) { return InternalAdd(Parent, 0, S, nullptr); }

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const QString& S)
{
    TTreeNode* parent = Sibling ? Sibling->Parent() : nullptr;
    return InternalAdd(parent, Sibling ? Sibling->Index() : 0, S, nullptr);
}

void TTreeNodes::Detach(TTreeNode* Node)
{
    auto& s = SiblingsOf(Node->FParent);
    s.erase(std::remove(s.begin(), s.end(), Node), s.end());
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node)
        return;
    if (FOwner)
        FOwner->Delete(Node);
    Detach(Node);
    delete Node;
    Changed();
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!FRoots.empty())
        Delete(FRoots.back());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TTreeNodes::Changed()
{
    if (FOwner && FUpdateCount == 0)
        FOwner->NodesChanged();
    else if (FOwner)
        FOwner->FVisibleValid = false;
}

// ---- TCustomTreeView -----------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TCustomControl(AOwner), FItems(this)
{
    FColor = clWindow;
    SetTabStop(true);
    FWidth = 121;
    FHeight = 97;
}

TCustomTreeView::~TCustomTreeView()
{
    FSelected = nullptr;
    FSelection.clear();
    // Nodes go before the view that their deletion would notify.
    auto roots = FItems.FRoots;
    FItems.FRoots.clear();
    for (TTreeNode* n : roots)
        delete n;
}

QWidget* TCustomTreeView::CreateWidget()
{
    auto* w = new TControlWidget(this, false);
    w->setFocusPolicy(Qt::StrongFocus);
    FVScroll = new QScrollBar(Qt::Vertical, w);
    FVScroll->setFocusPolicy(Qt::NoFocus);
    QObject::connect(FVScroll, &QScrollBar::valueChanged, [this](int v) {
        if (FSettingScroll)
            return;
        FTop = v;
        Invalidate();
    });
    FHScroll = new QScrollBar(Qt::Horizontal, w);
    FHScroll->setFocusPolicy(Qt::NoFocus);
    FHScroll->setVisible(false);
    QObject::connect(FHScroll, &QScrollBar::valueChanged, [this](int v) {
        if (!FSettingScroll)
            SetHorzPosition(v);
    });
    return w;
}

TTreeNode* TCustomTreeView::CreateNode()
{
    if (OnCreateNodeClass)
        if (TTreeNode* n = OnCreateNodeClass(this, &FItems))
            return n;
    return new TTreeNode(&FItems);
}

int TCustomTreeView::ItemHeight() const
{
    TCanvas c;
    c.Font()->Assign(*const_cast<TCustomTreeView*>(this)->Font());
    int h = c.TextHeight(QStringLiteral("Wg")) + 4;
    if (Images)
        h = std::max(h, Images->Height() + 2);
    return h;
}

const std::vector<TTreeNode*>& TCustomTreeView::VisibleNodes() const
{
    if (FVisibleValid)
        return FVisible;
    FVisible.clear();
    std::function<void(const std::vector<TTreeNode*>&)> walk = [&](const std::vector<TTreeNode*>& nodes) {
        for (TTreeNode* n : nodes) {
            FVisible.push_back(n);
            if (n->FExpanded)
                walk(n->FChildren);
        }
    };
    walk(FItems.FRoots);
    FVisibleValid = true;
    return FVisible;
}

int TCustomTreeView::VisibleCount() const { return std::max(1, Height() / std::max(1, ItemHeight())); }

void TCustomTreeView::NodesChanged()
{
    FVisibleValid = false;
    FTop = std::clamp(FTop, 0, std::max(0, int(VisibleNodes().size()) - VisibleCount()));
    UpdateScrollBar();
    Invalidate();
}

void TCustomTreeView::UpdateScrollBar()
{
    if (!FVScroll)
        return;
    FSettingScroll = true;
    const int total = int(VisibleNodes().size());
    const int page = VisibleCount();
    FVScroll->setRange(0, std::max(0, total - page));
    FVScroll->setPageStep(page);
    FVScroll->setValue(FTop);
    FVScroll->setVisible(total > page);
    FVScroll->setGeometry(Width() - ScrollBarExtent, 0, ScrollBarExtent, Height());
    const int wide = ContentWidth();
    const int clientW = Width() - (total > page ? ScrollBarExtent : 0);
    const int maxLeft = std::max(0, wide - clientW);
    FHScroll->setRange(0, maxLeft);
    FHScroll->setPageStep(std::max(1, clientW));
    FHScroll->setValue(FLeft);
    FHScroll->setVisible(maxLeft > 0);
    FHScroll->setGeometry(0, Height() - ScrollBarExtent, clientW, ScrollBarExtent);
    FSettingScroll = false;
    if (FLeft > maxLeft)
        SetHorzPosition(maxLeft);
}

int TCustomTreeView::ContentWidth() const
{
    TCanvas c;
    c.Font()->Assign(*const_cast<TCustomTreeView*>(this)->Font());
    const int image = Images ? Images->Width() + 2 : 0;
    int w = 0;
    for (TTreeNode* n : VisibleNodes())
        w = std::max(w, (n->Level() + (ShowRoot ? 1 : 0)) * Indent + image + c.TextWidth(n->Text()) + 8);
    return w;
}

void TCustomTreeView::SetHorzPosition(int Pixels)
{
    const int clientW = Width() - (FVScroll && FVScroll->isVisible() ? ScrollBarExtent : 0);
    const int v = std::clamp(Pixels, 0, std::max(0, ContentWidth() - clientW));
    if (v == FLeft)
        return;
    FLeft = v;
    if (FHScroll) {
        FSettingScroll = true;
        FHScroll->setValue(v);
        FSettingScroll = false;
    }
    Invalidate();
    HorzScrolled();
}

void TCustomTreeView::HorzScrolled()
{
    if (OnHScroll)
        OnHScroll(this);
}

void TCustomTreeView::Resize()
{
    TCustomControl::Resize();
    NodesChanged();
}

void TCustomTreeView::ScrollLines(int Lines)
{
    FTop = std::clamp(FTop + Lines, 0, std::max(0, int(VisibleNodes().size()) - VisibleCount()));
    UpdateScrollBar();
    Invalidate();
}

TTreeNode* TCustomTreeView::TopItem() const
{
    const auto& v = VisibleNodes();
    return FTop < int(v.size()) ? v[size_t(FTop)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* v)
{
    const auto& vis = VisibleNodes();
    const auto it = std::find(vis.begin(), vis.end(), v);
    if (it != vis.end()) {
        FTop = int(it - vis.begin());
        UpdateScrollBar();
        Invalidate();
    }
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const
{
    (void)X;
    if (Y < 0)
        return nullptr;
    const int i = FTop + Y / ItemHeight();
    const auto& v = VisibleNodes();
    return i < int(v.size()) ? v[size_t(i)] : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* v)
{
    if (v == FSelected)
        return;
    if (!CanChange(v))
        return;
    FSelected = v;
    if (!MultiSelect)
        FSelection.clear();
    if (v)
        v->MakeVisible();
    Invalidate();
    Change(v);
}

void TCustomTreeView::ClearSelection()
{
    FSelection.clear();
    Invalidate();
}

void TCustomTreeView::Select(TTreeNode* Node, TShiftState Shift)
{
    if (!Node)
        return;
    const bool add = MultiSelect && (Shift & ssCtrl);
    if (!add)
        FSelection.clear();
    if (MultiSelect && std::find(FSelection.begin(), FSelection.end(), Node) == FSelection.end())
        FSelection.push_back(Node);
    SetSelected(Node);
    Invalidate();
}

void TCustomTreeView::FullExpand()
{
    FItems.BeginUpdate();
    for (TTreeNode* n : std::vector<TTreeNode*>(FItems.FRoots))
        n->Expand(true);
    FItems.EndUpdate();
}

void TCustomTreeView::FullCollapse()
{
    FItems.BeginUpdate();
    for (TTreeNode* n : FItems.FRoots)
        n->Collapse(true);
    FItems.EndUpdate();
}

bool TCustomTreeView::CanChange(TTreeNode* Node)
{
    bool allow = true;
    if (OnChanging && !BlockChange)
        OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node)
{
    if (OnChange && !BlockChange)
        OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node)
{
    if (OnExpanded)
        OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node)
{
    bool allow = true;
    if (OnCollapsing)
        OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node)
{
    if (OnCollapsed)
        OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node)
{
    bool allow = !ReadOnly;
    if (OnEditing)
        OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, QString& S)
{
    if (OnEdited)
        OnEdited(this, Node, S);
}

void TCustomTreeView::Delete(TTreeNode* Node)
{
    // Forget every reference into the branch that goes.
    auto inBranch = [Node](TTreeNode* n) {
        for (; n; n = n->FParent)
            if (n == Node)
                return true;
        return false;
    };
    if (inBranch(FSelected))
        FSelected = nullptr;
    FSelection.erase(std::remove_if(FSelection.begin(), FSelection.end(), inBranch), FSelection.end());
    if (inBranch(FHot))
        FHot = nullptr;
    if (inBranch(FDragNode))
        FDragNode = nullptr;
    if (inBranch(FSelectAloneOnRelease))
        FSelectAloneOnRelease = nullptr;
    if (inBranch(FDropTarget))
        FDropTarget = nullptr;
    if (inBranch(FEditNode))
        EndEditNode(true);
    FVisibleValid = false;
}

bool TCustomTreeView::IsEditing() const { return FEditNode != nullptr; }

void TCustomTreeView::StartEdit(TTreeNode* Node)
{
    if (!Node || !CanEdit(Node))
        return;
    Node->MakeVisible();
    if (!FEditor) {
        FEditor = new TEdit(this);
        FEditor->SetParent(this);
        FEditor->OnKeyDown = [this](TComponent*, Word& Key, TShiftState) {
            if (Key == VK_RETURN || Key == VK_ESCAPE) {
                EndEditNode(Key == VK_ESCAPE);
                Key = 0;
            }
        };
        FEditor->OnExit = [this](TComponent*) {
            if (FEditNode)
                EndEditNode(false);
        };
    }
    FEditNode = Node;
    TRect r = Node->DisplayRect(true);
    r.Right = std::max(r.Right + 40, r.Left + 80);
    FEditor->SetBounds(r.Left, r.Top, std::min(r.Width(), Width() - r.Left), r.Height());
    FEditor->SetText(Node->Text());
    FEditor->SetVisible(true);
    FEditor->SetFocus();
    FEditor->SelectAll();
}

void TCustomTreeView::EndEditNode(bool Cancel)
{
    TTreeNode* n = FEditNode;
    if (!n)
        return;
    FEditNode = nullptr;
    if (!Cancel) {
        QString s = FEditor->Text();
        Edit(n, s);
        n->SetText(s);
    }
    FEditor->SetVisible(false);
    if (CanFocus())
        SetFocus();
}

// ---- drag and drop -------------------------------------------------------------------

void TCustomTreeView::BeginDragNode(TTreeNode* Node)
{
    FDragNode = Node;
    FDropTarget = nullptr;
}

bool TCustomTreeView::DragOverAt(TComponent* Source, int X, int Y)
{
    FDropTarget = GetNodeAt(X, Y);
    bool accept = Source != this || (FDragNode && FDropTarget && FDropTarget != FDragNode);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, accept);
    // Near the edges the view scrolls while dragging.
    if (Y < ItemHeight() / 2)
        ScrollLines(-1);
    else if (Y > Height() - ItemHeight() / 2)
        ScrollLines(1);
    Invalidate();
    return accept;
}

void TCustomTreeView::DropAt(TComponent* Source, int X, int Y)
{
    const bool accept = DragOverAt(Source, X, Y);
    if (accept && OnDragDrop)
        OnDragDrop(this, Source, X, Y);
    if (OnEndDrag)
        OnEndDrag(this, accept ? this : nullptr, X, Y);
    FDragNode = nullptr;
    FDropTarget = nullptr;
    Invalidate();
}

// ---- input ---------------------------------------------------------------------------

void TCustomTreeView::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || IsEditing())
        return;
    const auto& vis = VisibleNodes();
    int i = FSelected ? int(std::find(vis.begin(), vis.end(), FSelected) - vis.begin()) : -1;
    switch (Key) {
    case VK_UP:
        i = std::max(0, i - 1);
        break;
    case VK_DOWN:
        i = std::min(int(vis.size()) - 1, i + 1);
        break;
    case VK_PRIOR:
        i = std::max(0, i - VisibleCount());
        break;
    case VK_NEXT:
        i = std::min(int(vis.size()) - 1, i + VisibleCount());
        break;
    case VK_HOME:
        i = 0;
        break;
    case VK_END:
        i = int(vis.size()) - 1;
        break;
    case VK_RIGHT:
    case VK_ADD:
        if (FSelected) {
            if (!FSelected->Expanded())
                FSelected->Expand(false);
            else if (FSelected->GetFirstChild() && Key == VK_RIGHT)
                SetSelected(FSelected->GetFirstChild());
        }
        Key = 0;
        return;
    case VK_LEFT:
    case VK_SUBTRACT:
        if (FSelected) {
            if (FSelected->Expanded())
                FSelected->Collapse(false);
            else if (FSelected->Parent() && Key == VK_LEFT)
                SetSelected(FSelected->Parent());
        }
        Key = 0;
        return;
    case VK_F2:
        StartEdit(FSelected);
        Key = 0;
        return;
    default:
        return;
    }
    if (i >= 0 && i < int(vis.size()))
        SetSelected(vis[size_t(i)]);
    Key = 0;
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus() && !Focused())
        SetFocus();
    TTreeNode* n = GetNodeAt(X, Y);
    FDownPt = {X, Y};
    FMouseDown = Button == mbLeft;
    if (!n)
        return;
    const int buttonRight = (n->Level() + (ShowRoot ? 1 : 0)) * Indent;
    const int lineX = X + FLeft;
    if (Button == mbLeft && ShowButtons && n->HasChildren() && lineX < buttonRight && lineX >= buttonRight - Indent) {
        n->SetExpanded(!n->Expanded());
        FMouseDown = false;
        return;
    }
    if (MultiSelect && (Shift & ssCtrl)) {
        auto it = std::find(FSelection.begin(), FSelection.end(), n);
        if (it == FSelection.end())
            FSelection.push_back(n);
        else
            FSelection.erase(it);
        FSelected = n;
        Invalidate();
        Change(n);
        return;
    }
    if (MultiSelect && DragEnabled && FSelection.size() > 1 && std::find(FSelection.begin(), FSelection.end(), n) != FSelection.end()) {
        FSelectAloneOnRelease = n;
        SetSelected(n);
        return;
    }
    Select(n);
}

void TCustomTreeView::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FMouseDown && DragEnabled && !FDragNode && FSelected && (std::abs(X - FDownPt.X) > 4 || std::abs(Y - FDownPt.Y) > 4))
        BeginDragNode(FSelected);
    if (FDragNode) {
        DragOverAt(this, X, Y);
        return;
    }
    if (HotTrack) {
        TTreeNode* h = GetNodeAt(X, Y);
        if (h != FHot) {
            FHot = h;
            Invalidate();
        }
    }
}

void TCustomTreeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    TTreeNode* alone = std::exchange(FSelectAloneOnRelease, nullptr);
    if (FDragNode)
        DropAt(this, X, Y);
    else if (alone && alone == GetNodeAt(X, Y))
        Select(alone);
}

void TCustomTreeView::DblClick()
{
    TCustomControl::DblClick();
    if (FSelected && FSelected->HasChildren())
        FSelected->SetExpanded(!FSelected->Expanded());
}

bool TCustomTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (Shift & ssShift)
        ScrollHorz(-WheelDelta / 120 * Indent);
    else
        ScrollLines(-WheelDelta / 120 * 3);
    return true;
}

// ---- painting ------------------------------------------------------------------------

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage)
{
    bool def = true;
    if (OnCustomDrawItem)
        OnCustomDrawItem(this, Node, State, Stage, def);
    return def;
}

void TCustomTreeView::DrawItem(TTreeNode* Node, const TRect& R, TCustomDrawState State)
{
    TCanvas* c = Canvas();
    const int h = R.Height();
    const int level = Node->Level() + (ShowRoot ? 1 : 0);
    const int mid = R.Top + h / 2;
    // Lines to the parent and siblings.
    if (ShowLines) {
        c->Pen()->SetColor(clGray);
        c->Pen()->SetStyle(psDot);
        if (level > 0) {
            const int x = (level - 1) * Indent + Indent / 2;
            c->MoveTo(x, mid);
            c->LineTo(x + Indent / 2, mid);
            c->MoveTo(x, R.Top);
            c->LineTo(x, Node->GetNextSibling() ? R.Bottom : mid);
        }
        int lv = level - 1;
        for (TTreeNode* p = Node->Parent(); p; p = p->Parent(), --lv)
            if (p->GetNextSibling() && lv > 0) {
                const int x = (lv - 1) * Indent + Indent / 2;
                c->MoveTo(x, R.Top);
                c->LineTo(x, R.Bottom);
            }
        c->Pen()->SetStyle(psSolid);
    }
    if (ShowButtons && Node->HasChildren() && level > 0) {
        const int x = (level - 1) * Indent + Indent / 2;
        const TRect b = Rect(x - 4, mid - 4, x + 5, mid + 5);
        c->Brush()->SetColor(clWindow);
        c->FillRect(b);
        c->Brush()->SetColor(clGray);
        c->FrameRect(b);
        c->Pen()->SetColor(clWindowText);
        c->MoveTo(x - 2, mid);
        c->LineTo(x + 3, mid);
        if (!Node->Expanded()) {
            c->MoveTo(x, mid - 2);
            c->LineTo(x, mid + 3);
        }
    }
    int x = level * Indent;
    if (Images) {
        const int idx = (State & cdsSelected) && Node->SelectedIndex >= 0 ? Node->SelectedIndex
                        : Node->Expanded() && Node->ExpandedImageIndex >= 0  ? Node->ExpandedImageIndex
                                                                             : Node->ImageIndex;
        if (idx >= 0)
            Images->Draw(c, x, R.Top + (h - Images->Height()) / 2, idx);
        x += Images->Width() + 2;
    }
    const TRect tr = Rect(x, R.Top + 1, x + c->TextWidth(Node->Text()) + 4, R.Bottom - 1);
    if ((State & cdsSelected) && (Focused() || !HideSelection)) {
        c->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
        c->FillRect(tr);
        c->Font()->SetColor(Focused() ? clHighlightText : clWindowText);
    } else if (Node == FDropTarget && FDragNode) {
        c->Brush()->SetColor(clHighlight);
        c->FrameRect(tr);
    }
    c->Brush()->SetStyle(bsClear);
    c->TextOut(tr.Left + 2, tr.Top + std::max(0, (tr.Height() - c->TextHeight(QStringLiteral("Wg"))) / 2), Node->Text());
    c->Brush()->SetStyle(bsSolid);
    if ((State & cdsFocused) && (State & cdsSelected))
        c->DrawFocusRect(tr);
}

void TCustomTreeView::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
    const auto& vis = VisibleNodes();
    const int h = ItemHeight();
    const int n = VisibleCount() + 1;
    // Lines scrolled sideways are drawn FLeft pixels further left.
    c->OffsetWindowOrg(-FLeft, 0);
    for (int i = 0; i < n && FTop + i < int(vis.size()); ++i) {
        TTreeNode* node = vis[size_t(FTop + i)];
        const TRect r = Rect(0, i * h, Width() + FLeft, (i + 1) * h);
        TCustomDrawState st = 0;
        if (node == FSelected || std::find(FSelection.begin(), FSelection.end(), node) != FSelection.end())
            st |= cdsSelected;
        if (node == FSelected && Focused())
            st |= cdsFocused;
        if (node == FHot)
            st |= cdsHot;
        c->Font()->Assign(*Font());
        if (HotTrack && node == FHot)
            c->Font()->SetStyle(c->Font()->Style() | fsUnderline);
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        // The program may set font and brush (or draw everything) first.
        if (CustomDrawItem(node, st, cdPrePaint))
            DrawItem(node, r, st);
        CustomDrawItem(node, st, cdPostPaint);
    }
    c->OffsetWindowOrg(FLeft, 0);
}
