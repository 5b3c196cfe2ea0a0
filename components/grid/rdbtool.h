#pragma once
// Free functions over datasets, fields and data controls: the dataset behind
// a control, the kinds of fields every other part of the library switches
// on, field lists for dialogs and engines, a walk over all records with a
// callback, locating a record, text masks filled from the current record,
// adding and duplicating records, and the filter text that every filter
// feature hands to a dataset.

#include "components/base/ParioCompGlobalCfg.h"
#include "platform/database/DataSet.h"
#include "platform/rtl/StringList.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

class TCustomDBGrid;
class TrStringGridEd;
class TDataSource;

// Field-type sets.
bool InSimpleFldSet(TFieldType T);  // sfSimpleFld
bool InApostrFldSet(TFieldType T);  // sfApostrFld

enum TGetFldDef { fdGetLabels, fdGetIndex, fdVisibleFieldOnly, fdSimpleField, fdMemoField, fdGraphicField, fdAllField, fdDataFieldOnly };
// A set of TGetFldDef: bit n is ordinal n.
using TGetFldDefs = uint8_t;
constexpr TGetFldDefs FldDef(TGetFldDef D) { return TGetFldDefs(1u << unsigned(D)); }
constexpr bool HasFldDef(TGetFldDefs S, TGetFldDef D) { return (S & FldDef(D)) != 0; }

enum TFilterJoin { fjNone, fjAnd, fjOr };

// Called for each record: RecIndex counts from 1; setting Abort stops the walk.
using TScanCallBackProc = std::function<void(TDataSet* Dataset, int RecIndex, bool& Abort)>;

// ---- dataset resolution and state ----
TDataSet* GetDataSet(TComponent* GridOrDSet);
bool IsEditing(TComponent* GridOrDSet);
bool IsClientDataset(const TDataSet* Dataset);
bool IsAdvantageDatabaseDataset(const TDataSet* Dataset);
void ClearFilter(TComponent* GridOrDataSet);

// ---- field kinds ----
bool IsDataField(const TField* F);
bool IsSimpleField(const TField* F);
bool IsApostrField(const TField* F);
bool IsMemoField(const TField* F);
bool IsGraphicField(const TField* F);
bool IsDateTimeField(const TField* F);
bool IsDateField(const TField* F);
bool IsTimeField(const TField* F);
QString GetBooleanFieldTextValue(const TField* Fld, bool State);
bool GetBooleanFieldState(const TField* Fld, const QString& TextValue);

// ---- field lists ----
TGetFldDefs GetFldDefs(bool GetLabels, bool VisibleFieldOnly, bool SimpleField, bool MemoField, bool PictureField, bool AllField,
                       bool DataFieldOnly);
// Fills List from a data grid, a dataset, a record view or a string grid;
// any other object gives 0 and leaves List as it was.
int GetFldList(TComponent* O, TStringList* List, TGetFldDefs FldsDef);
int GetFldListDBGrid(TCustomDBGrid* G, TStringList* List, TGetFldDefs FldsDef);
int GetFldListDataset(TDataSet* D, TStringList* List, TGetFldDefs FldsDef);
// A string grid's columns: positions, or captions with fdGetLabels (no field kinds).
int GetFldListStringGrid(TrStringGridEd* G, TStringList* List, TGetFldDefs FldsDef);

// The record view lives above this layer: it registers how its dataset and
// its rows (field and caption of each, in order) are read, and GetDataSet and
// GetFldList then take it like a grid.
struct TRecViewRows {
    TDataSet* DataSet = nullptr;
    std::vector<std::pair<TField*, QString>> Rows;
};
// Fills Out and answers true when O is a record view.
using TRecViewReader = std::function<bool(TComponent* O, TRecViewRows& Out)>;
void RegisterRecViewReader(TRecViewReader Reader);
// A record view's rows (no visibility test: every row shows).
int GetFldListRecView(const TRecViewRows& View, TStringList* List, TGetFldDefs FldsDef);

// ---- grid and record operations ----
void AssignGridProps(TCustomDBGrid* Source, TCustomDBGrid* Dest);
void AddRecordEx(TCustomDBGrid* G, bool Insert);
void DuplicRecord(TComponent* GridOrDSet, int TagToDuplic, bool DuplicBeforeAfterInsert);
bool LocateRecord(TField* F, const QVariant& Value, bool CaseSensitive);
bool ScanAllRecords(TDataSet* Dataset, const TScanCallBackProc& CallBack, bool DisableControls, bool BlockEvents, bool UseBookmark);
int LoadRecordList(TField* CaptionField, TField* IdField, TStringList* L);

// Collects a caption and an id per record for LoadRecordList.
class TScanObj {
public:
    TScanObj(TStringList* AL, TField* ACaptionFld, TField* AIdFld) : L(AL), CaptionFld(ACaptionFld), IdFld(AIdFld) {}
    void ScanCallBack(TDataSet* Dataset, int RecIndex, bool& Abort);
    TStringList* L;
    TField* CaptionFld;
    TField* IdFld;
};

// ---- text mask ----
QString FillTextMask(const QString& Mask, TDataSet* Dataset, const QString& MaskStrStart = QStringLiteral("<<"),
                     const QString& MaskStrStop = QStringLiteral(">>"), const QString& ReplaceNullValue = QString(),
                     bool SkipNonExistingFields = false);

// ---- filter expressions ----
QChar GetFilterWildCardChar(const TDataSet* Dataset, bool SQLFormat);
QString GetFilterLikeOperator(const TDataSet* Dataset, bool SQLFormat);
QString GetFilterNullEqualStr(const TDataSet* Dataset);
QString GetFilterNotNullEqualStr(const TDataSet* Dataset);
QString GetQuotedFieldName(const QString& FieldName);
QString GetNumericFieldFilterValue(double Value);
QString GetDateFieldFilterValue(TDateTime Value);
QString MakeFilterCond(const QString& FldName, const QString& Cond, const QString& Value, const QString& AddSep);
QString MakeFilterBetweenCond(const QString& FldName, const QString& ValueFrom, const QString& ValueTo, const QString& AddSep);
QString MakeSQLCondAND(const QStringList& Params);
QString MakeSQLCondOR(const QStringList& Params);
QString GetFilterCond(TField* Field, const QString& Value, bool IsNull, const QString& Condition);
QString GetFilterCondEx(TField* Field, const QString& Value, bool IsNull, bool IsNotNull, const QString& Condition);
bool SetFilterString(TDataSet* Dataset, const QString& Filter, bool ShowError);
bool FilterByField(TField* Field, TFilterJoin FilterJoin);
bool FilterBySel(TCustomDBGrid* Grid, TFilterJoin FilterJoin);

// ---- search hint ----
QString GetSearchHintText(const QString& SearchText, const QString& NewKey, TSearchingType SearchingType, bool Found, bool AllowFilter,
                          bool Filtered);
