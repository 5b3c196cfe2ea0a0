#pragma once
// The navigation tree of the main window: a tree view built from nested
// dataset levels (a level's rows become nodes, its child levels hang under
// each row, detail datasets following their masters), or from title nodes
// that only group levels. Each node remembers its level and key, so a
// rebuild can select the same node again. It stands where the library's
// data-aware tree view goes and offers the calls the window makes of it.

#include "platform/ui/TreeViews.h"

#include <QString>
#include <QVariant>
#include <deque>
#include <memory>
#include <vector>

class TDataSet;

struct TMainTreeLevel {
    TDataSet* DataSet = nullptr;  // null for a title node
    QString DataSetName;          // the level's dataset component name
    QString KeyField;
    QString TextMask;  // "<<field>>" tags filled from the row
    QString Title;     // text of a title node
    bool Bold = false;
    std::vector<TMainTreeLevel> Children;
};

struct TMainTreeNodeData {
    const TMainTreeLevel* Level = nullptr;
    QVariant Key;
};

class TMainTreeView : public TTreeView {
public:
    explicit TMainTreeView(TComponent* AOwner);

    std::vector<TMainTreeLevel> Levels;

    // Rebuilds the nodes; KeepSelectedNode selects the node with the same
    // level and key again (inside the same root), else the first node.
    void RefreshData(bool Delayed, bool KeepSelectedNode);
    // The first node of a level keyed by KeyField with that value.
    TTreeNode* FindNode(const QString& KeyField, const QVariant& KeyValue) const;
    static const TMainTreeNodeData* NodeData(const TTreeNode* Node);
    bool Rebuilding() const { return FRebuilding; }

private:
    void AddRows(TTreeNode* Parent, const std::vector<TMainTreeLevel>& Levels);
    TTreeNode* AddNode(TTreeNode* Parent, const TMainTreeLevel& Level, const QString& Text, const QVariant& Key);
    static QString FillMask(const QString& Mask, const TDataSet& Row);
    TTreeNode* FindIn(TTreeNode* Root, const QString& KeyField, const QVariant& KeyValue) const;
    std::deque<TMainTreeNodeData> FData;
    bool FRebuilding = false;
};
