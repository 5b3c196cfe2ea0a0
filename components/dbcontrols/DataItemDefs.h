#pragma once
// The level definitions of the navigation tree: which data source lists the
// records of a level, how a record's node looks and which levels hang under
// each record, plus the object every tree node carries.

#include "platform/ui/Graphics.h"
#include "platform/ui/TreeViews.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class TDataSet;
class TComponent;
class TDataSource;
class TField;
class TDataItemDefs;
class TrDBTreeView;

enum TDragDropItemOption { dnoSameLevel, dnoAllLevels, dnoSameParent, dnoSameParentType, dnoOtherControl, dnoMoveItem };
using TDragDropItemOptions = unsigned;
constexpr TDragDropItemOptions DragDropOpt(TDragDropItemOption O) { return 1u << unsigned(O); }
constexpr bool HasDragDropOpt(TDragDropItemOptions S, TDragDropItemOption O) { return (S & DragDropOpt(O)) != 0; }

class TDataItemDef {
public:
    explicit TDataItemDef(TDataItemDefs* ACollection);
    ~TDataItemDef();
    TDataItemDef(const TDataItemDef&) = delete;
    TDataItemDef& operator=(const TDataItemDef&) = delete;

    TDataItemDefs* SubDataItemDefs() const { return FSubDataItemDefs.get(); }
    TDataItemDefs* Collection() const { return FCollection; }
    int Index() const;
    // The tree the definition belongs to, at any depth (none when detached).
    TrDBTreeView* GetTreeView() const;
    // The dataset of the level (none without a data source).
    TDataSet* DataSet() const;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);

    // Plain values, read at the next build.
    QString KeyFieldName;
    QString ParentKeyFieldName;
    QString EmptyDatasetText;
    bool MultilevelMode = false;
    QString MultilevelTopLevelFilter;
    int MaxRecords = 0;
    int RecordSelectedImageIndex = -1;
    int RecordExpandedImageIndex = -1;
    int RecordStateImageIndex = -1;
    TColor RecordChangedFontColor = clNone;
    bool CanEditText = false;
    TDragDropItemOptions DragDropMode = 0;

    // Values whose change rebuilds the tree (delayed).
    bool ListAllRecords() const { return FListAllRecords; }
    void SetListAllRecords(bool V) { Set(FListAllRecords, V); }
    bool ShowTitle() const { return FShowTitle; }
    void SetShowTitle(bool V) { Set(FShowTitle, V); }
    bool ExpandNode() const { return FExpandNode; }
    void SetExpandNode(bool V) { Set(FExpandNode, V); }
    const QString& TitleText() const { return FTitleText; }
    void SetTitleText(const QString& V) { Set(FTitleText, V); }
    int TitleImageIndex() const { return FTitleImageIndex; }
    void SetTitleImageIndex(int V) { Set(FTitleImageIndex, V); }
    TColor TitleBkColor() const { return FTitleBkColor; }
    void SetTitleBkColor(TColor V) { Set(FTitleBkColor, V); }
    TColor TitleFontColor() const { return FTitleFontColor; }
    void SetTitleFontColor(TColor V) { Set(FTitleFontColor, V); }
    TFontStyles TitleStyle() const { return FTitleStyle; }
    void SetTitleStyle(TFontStyles V) { Set(FTitleStyle, V); }
    const QString& RecordTextMask() const { return FRecordTextMask; }
    void SetRecordTextMask(const QString& V) { Set(FRecordTextMask, V); }
    int RecordImageIndex() const { return FRecordImageIndex; }
    void SetRecordImageIndex(int V) { Set(FRecordImageIndex, V); }
    TColor RecordBkColor() const { return FRecordBkColor; }
    void SetRecordBkColor(TColor V) { Set(FRecordBkColor, V); }
    TColor RecordFontColor() const { return FRecordFontColor; }
    void SetRecordFontColor(TColor V) { Set(FRecordFontColor, V); }
    TFontStyles RecordStyle() const { return FRecordStyle; }
    void SetRecordStyle(TFontStyles V) { Set(FRecordStyle, V); }
    int FillLeftBorder() const { return FFillLeftBorder; }
    void SetFillLeftBorder(int V) { Set(FFillLeftBorder, V); }
    int FillRightBorder() const { return FFillRightBorder; }
    void SetFillRightBorder(int V) { Set(FFillRightBorder, V); }

    // Clears the data source at every depth where it is this one.
    void RemoveDataSourceLink(TComponent* Source);

private:
    template <class T>
    void Set(T& Field, const T& V)
    {
        if (Field == V)
            return;
        Field = V;
        Changed();
    }
    void Changed();
    TDataItemDefs* FCollection;
    std::unique_ptr<TDataItemDefs> FSubDataItemDefs;
    TDataSource* FDataSource = nullptr;
    bool FListAllRecords = true;
    bool FShowTitle = true;
    bool FExpandNode = true;
    QString FTitleText;
    int FTitleImageIndex = -1;
    TColor FTitleBkColor = clNone;
    TColor FTitleFontColor = clNone;
    TFontStyles FTitleStyle = 0;
    QString FRecordTextMask;
    int FRecordImageIndex = -1;
    TColor FRecordBkColor = clNone;
    TColor FRecordFontColor = clNone;
    TFontStyles FRecordStyle = 0;
    int FFillLeftBorder = 0;
    int FFillRightBorder = 0;
};

class TDataItemDefs {
public:
    explicit TDataItemDefs(TrDBTreeView* ATreeView) : rDBTreeView(ATreeView) {}
    TrDBTreeView* const rDBTreeView;
    int Count() const { return int(FItems.size()); }
    TDataItemDef* GetDataItemDef(int Index) const { return FItems.at(size_t(Index)).get(); }
    TDataItemDef* operator[](int Index) const { return GetDataItemDef(Index); }
    TDataItemDef* Add();
    void Delete(int Index);
    void Clear();
    int IndexOf(const TDataItemDef* Item) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Something changed: the tree rebuilds (delayed) unless it is loading.
    void Update();

private:
    std::vector<std::unique_ptr<TDataItemDef>> FItems;
    int FUpdateCount = 0;
};

// What the tree knows of one node: its level, record and look.
class TNodeObject {
public:
    bool IsInitialized = false;
    bool NodeIsLoaded = false;
    bool IsTitle = false;
    bool IsEmptyDataset = false;
    int RecNo = -1;
    TField* KeyField = nullptr;
    QVariant KeyValue;
    TColor BkColor = clNone;
    TColor FontColor = clNone;
    TColor ChangedFontColor = clNone;
    TFontStyles Style = 0;
    TDataItemDef* ParentDataItemDef = nullptr;
    TDataItemDef* DataItemDef = nullptr;
    bool ItemChanged = false;
    bool ItemMoved = false;
};

class TrTreeNode : public TTreeNode {
public:
    explicit TrTreeNode(TTreeNodes* AOwner) : TTreeNode(AOwner), FNodeObject(std::make_unique<TNodeObject>()) {}
    TNodeObject* NodeObject() const { return FNodeObject.get(); }

private:
    std::unique_ptr<TNodeObject> FNodeObject;
};

// Equality of two key values: numbers by value, texts exactly; values that
// cannot be compared (and nulls) are not equal.
bool VarEquals(const QVariant& A, const QVariant& B);
