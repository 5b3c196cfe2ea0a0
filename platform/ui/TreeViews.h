#pragma once
// A tree of nodes painted by the control itself: lines, expand buttons,
// images and texts, one node per line. Programs hang their own node classes
// in (OnCreateNodeClass / CreateNode), draw items themselves before or after
// the default painting, refuse expanding, edit texts in place and drag nodes
// onto each other.

#include "platform/ui/Controls.h"
#include "platform/ui/StdCtrls.h"

#include <functional>
#include <memory>
#include <vector>

class QScrollBar;
class TCustomImageList;
class TCustomTreeView;
class TTreeNodes;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

class TTreeNode {
public:
    explicit TTreeNode(TTreeNodes* Owner);
    virtual ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const QString& Text() const { return FText; }
    void SetText(const QString& v);
    void* Data = nullptr;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    int StateIndex = -1;
    int ExpandedImageIndex = -1;
    // Shows an expand button even before children exist (filled on expand).
    bool HasChildren() const { return FHasChildren || !FChildren.empty(); }
    void SetHasChildren(bool v);

    TTreeNode* Parent() const { return FParent; }
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int i) const { return FChildren.at(size_t(i)); }
    TTreeNode* GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
    TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in the whole tree (depth first), expanded or not.
    TTreeNode* GetNext() const;
    int Index() const;
    int Level() const;
    int AbsoluteIndex() const;
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool v);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const;
    void Delete();
    void DeleteChildren();
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    // The line's rectangle; TextOnly: just the text.
    TRect DisplayRect(bool TextOnly) const;
    bool IsVisible() const;
    void MakeVisible();
    void EditText();
    TTreeNodes* Owner() const { return FOwner; }
    TCustomTreeView* TreeView() const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNodes* FOwner;
    TTreeNode* FParent = nullptr;
    std::vector<TTreeNode*> FChildren;  // owned
    QString FText;
    bool FExpanded = false;
    bool FHasChildren = false;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}
    ~TTreeNodes();
    TCustomTreeView* Owner() const { return FOwner; }
    // All nodes in tree order.
    int Count() const;
    TTreeNode* Item(int AbsoluteIndex) const;
    TTreeNode* operator[](int i) const { return Item(i); }
    TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
    int RootCount() const { return int(FRoots.size()); }
    TTreeNode* Root(int i) const { return FRoots.at(size_t(i)); }
    TTreeNode* Add(TTreeNode* Sibling, const QString& S);
    TTreeNode* AddFirst(TTreeNode* Sibling, const QString& S);
    TTreeNode* AddChild(TTreeNode* Parent, const QString& S);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const QString& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const QString& S, void* Ptr);
    TTreeNode* AddChildObject(TTreeNode* Parent, const QString& S, void* Ptr);
    TTreeNode* Insert(TTreeNode* Sibling, const QString& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InternalAdd(TTreeNode* Parent, int Position, const QString& S, void* Ptr);
    std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
    void Detach(TTreeNode* Node);
    void Changed();
    TCustomTreeView* FOwner;
    std::vector<TTreeNode*> FRoots;  // owned
    int FUpdateCount = 0;
};

using TCustomDrawState = unsigned;
constexpr TCustomDrawState cdsSelected = 1;
constexpr TCustomDrawState cdsFocused = 2;
constexpr TCustomDrawState cdsHot = 4;
enum TCustomDrawStage { cdPrePaint, cdPostPaint };

using TTVChangedEvent = std::function<void(TComponent* Sender, TTreeNode* Node)>;
using TTVChangingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVEditingEvent = std::function<void(TComponent* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TComponent* Sender, TTreeNode* Node, QString& S)>;
using TTVCustomDrawItemEvent =
    std::function<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TDragOverEvent = std::function<void(TComponent* Sender, TComponent* Source, int X, int Y, bool& Accept)>;
using TDragDropEvent = std::function<void(TComponent* Sender, TComponent* Source, int X, int Y)>;
using TTVCreateNodeClassEvent = std::function<TTreeNode*(TCustomTreeView* Sender, TTreeNodes* Owner)>;

class TCustomTreeView : public TCustomControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes* Items() { return &FItems; }
    TTreeNode* Selected() const { return FSelected; }
    void SetSelected(TTreeNode* v);
    // Ctrl+click selection (MultiSelect): the selected nodes in click order.
    bool MultiSelect = false;
    int SelectionCount() const { return int(FSelection.size()); }
    TTreeNode* Selections(int i) const { return FSelection.at(size_t(i)); }
    void ClearSelection();
    // Selects Node as a click would: alone, or with ssCtrl (MultiSelect)
    // added to the nodes already selected; it becomes the focused node.
    void Select(TTreeNode* Node, TShiftState Shift = 0);
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* v);
    TTreeNode* GetNodeAt(int X, int Y) const;
    int VisibleCount() const;
    void FullExpand();
    void FullCollapse();
    bool ReadOnly = false;
    bool ShowLines = true;
    bool ShowButtons = true;
    bool ShowRoot = true;
    bool HideSelection = true;
    bool HotTrack = false;
    int Indent = 19;
    TCustomImageList* Images = nullptr;
    TCustomImageList* StateImages = nullptr;
    // Drag and drop between nodes (and from other controls).
    bool DragEnabled = false;
    bool IsEditing() const;
    TCustomEdit* EditControl() const { return FEditor; }
    // Ends an in-place edit: Cancel keeps the old text.
    void EndEditNode(bool Cancel);
    // Drag and drop: what the mouse gestures do, callable directly.
    void BeginDragNode(TTreeNode* Node);
    virtual bool DragOverAt(TComponent* Source, int X, int Y);
    virtual void DropAt(TComponent* Source, int X, int Y);
    bool Dragging() const { return FDragNode != nullptr; }
    TTreeNode* DragNode() const { return FDragNode; }
    TTreeNode* DropTarget() const { return FDropTarget; }
    void ScrollLines(int Lines);
    // Horizontal scrolling, in pixels, when the lines are wider than the view.
    int HorzPosition() const { return FLeft; }
    void SetHorzPosition(int Pixels);
    void ScrollHorz(int Pixels) { SetHorzPosition(FLeft + Pixels); }
    // The width of the widest visible line (indent, image and text).
    int ContentWidth() const;
    // Suppresses OnChange while set (programs filling the tree).
    bool BlockChange = false;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVChangedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVChangedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCustomDrawItemEvent OnCustomDrawItem;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    std::function<void(TComponent* Sender, TComponent* Target, int X, int Y)> OnEndDrag;
    TTVCreateNodeClassEvent OnCreateNodeClass;
    TNotifyEvent OnHScroll;

    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

protected:
    friend class TTreeNode;
    friend class TTreeNodes;
    QWidget* CreateWidget() override;
    void Paint() override;
    void Resize() override;
    // The node object for a new item (a program's own node class).
    virtual TTreeNode* CreateNode();
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    virtual void Edit(TTreeNode* Node, QString& S);
    virtual bool CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage);
    virtual void DrawItem(TTreeNode* Node, const TRect& R, TCustomDrawState State);
    virtual void Delete(TTreeNode* Node);
    // The lines moved sideways (raises OnHScroll).
    virtual void HorzScrolled();
    int ItemHeight() const;
    // Visible (expanded) nodes in display order.
    const std::vector<TTreeNode*>& VisibleNodes() const;
    void NodesChanged();
    void StartEdit(TTreeNode* Node);

private:
    void UpdateScrollBar();
    TTreeNodes FItems;
    TTreeNode* FSelected = nullptr;
    std::vector<TTreeNode*> FSelection;
    mutable std::vector<TTreeNode*> FVisible;
    mutable bool FVisibleValid = false;
    int FTop = 0;
    TTreeNode* FHot = nullptr;
    TTreeNode* FDragNode = nullptr;
    TTreeNode* FDropTarget = nullptr;
    TTreeNode* FEditNode = nullptr;
    TCustomEdit* FEditor = nullptr;
    TPoint FDownPt;
    bool FMouseDown = false;
    // A plain press on one of several selected nodes keeps them selected for
    // a drag; the release without a drag selects the node alone.
    TTreeNode* FSelectAloneOnRelease = nullptr;
    QScrollBar* FVScroll = nullptr;
    QScrollBar* FHScroll = nullptr;
    int FLeft = 0;
    bool FSettingScroll = false;
};

class TTreeView : public TCustomTreeView {
public:
    explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
