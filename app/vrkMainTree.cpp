#include "app/vrkMainTree.h"

#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"

#include <QRegularExpression>

TMainTreeView::TMainTreeView(TComponent* AOwner) : TTreeView(AOwner)
{
    ReadOnly = true;
    OnCustomDrawItem = [this](TCustomTreeView*, TTreeNode* Node, TCustomDrawState, TCustomDrawStage Stage, bool&) {
        const TMainTreeNodeData* d = NodeData(Node);
        if (Stage == cdPrePaint && d && d->Level && d->Level->Bold)
            Canvas()->Font()->SetStyle(fsBold);
    };
}

const TMainTreeNodeData* TMainTreeView::NodeData(const TTreeNode* Node)
{
    return Node ? static_cast<const TMainTreeNodeData*>(Node->Data) : nullptr;
}

QString TMainTreeView::FillMask(const QString& Mask, const TDataSet& Row)
{
    static const QRegularExpression tag(QStringLiteral("<<([A-Za-z0-9_]+)>>"));
    QString out;
    int last = 0;
    auto it = tag.globalMatch(Mask);
    while (it.hasNext()) {
        const auto m = it.next();
        out += Mask.mid(last, m.capturedStart() - last);
        if (const TField* f = Row.FindField(m.captured(1)))
            out += f->DisplayText();
        last = m.capturedEnd();
    }
    return out + Mask.mid(last);
}

TTreeNode* TMainTreeView::AddNode(TTreeNode* Parent, const TMainTreeLevel& Level, const QString& Text, const QVariant& Key)
{
    FData.push_back({&Level, Key});
    TTreeNode* node = Items()->AddChildObject(Parent, Text, &FData.back());
    return node;
}

void TMainTreeView::AddRows(TTreeNode* Parent, const std::vector<TMainTreeLevel>& Levels)
{
    for (const TMainTreeLevel& level : Levels) {
        if (!level.DataSet) {
            TTreeNode* title = AddNode(Parent, level, level.Title, QVariant());
            AddRows(title, level.Children);
            continue;
        }
        TDataSet& d = *level.DataSet;
        // A detail whose master moved is opened again for the master's row.
        if (!d.Active())
            d.Open();
        for (d.First(); !d.Eof(); d.Next()) {
            const TField* key = d.FindField(level.KeyField);
            TTreeNode* node = AddNode(Parent, level, FillMask(level.TextMask, d), key ? key->AsVariant() : QVariant());
            AddRows(node, level.Children);
        }
    }
}

void TMainTreeView::RefreshData(bool, bool KeepSelectedNode)
{
    if (FRebuilding || Items()->Updating())
        return;
    FRebuilding = true;
    const TMainTreeNodeData* sel = KeepSelectedNode ? NodeData(Selected()) : nullptr;
    TTreeNode* selRoot = Selected();
    while (selRoot && selRoot->Parent())
        selRoot = selRoot->Parent();
    const TMainTreeNodeData* root = NodeData(selRoot);
    const QString selField = sel && sel->Level ? sel->Level->KeyField : QString();
    const QVariant selKey = sel ? sel->Key : QVariant();
    const QString rootField = root && root->Level ? root->Level->KeyField : QString();
    const QVariant rootKey = root ? root->Key : QVariant();

    Items()->BeginUpdate();
    SetSelected(nullptr);
    Items()->Clear();
    FData.clear();
    AddRows(nullptr, Levels);
    Items()->EndUpdate();
    FRebuilding = false;

    TTreeNode* target = nullptr;
    if (!selField.isEmpty() && !rootField.isEmpty()) {
        TTreeNode* newRoot = FindIn(nullptr, rootField, rootKey);
        if (newRoot) {
            newRoot->SetExpanded(true);
            target = selField == rootField && selKey == rootKey ? newRoot : FindIn(newRoot, selField, selKey);
            if (!target)
                target = newRoot;
        }
    } else {
        target = Items()->GetFirstNode();
    }
    if (target)
        SetSelected(target);
}

TTreeNode* TMainTreeView::FindIn(TTreeNode* Root, const QString& KeyField, const QVariant& KeyValue) const
{
    if (FRebuilding)
        return nullptr;
    TTreeNodes* items = const_cast<TMainTreeView*>(this)->Items();
    const int n = items->Count();
    bool inside = Root == nullptr;
    for (int i = 0; i < n; ++i) {
        TTreeNode* node = items->Item(i);
        if (Root) {
            TTreeNode* top = node;
            while (top->Parent())
                top = top->Parent();
            inside = top == Root;
        }
        if (!inside)
            continue;
        const TMainTreeNodeData* d = NodeData(node);
        if (d && d->Level && d->Level->DataSet && d->Level->KeyField.compare(KeyField, Qt::CaseInsensitive) == 0 &&
            d->Key.toLongLong() == KeyValue.toLongLong() && d->Key.isValid() == KeyValue.isValid())
            return node;
    }
    return nullptr;
}

TTreeNode* TMainTreeView::FindNode(const QString& KeyField, const QVariant& KeyValue) const
{
    return FindIn(nullptr, KeyField, KeyValue);
}
