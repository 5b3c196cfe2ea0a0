#include "components/grid/TrDBGridCellParamsData.h"

#include "components/base/rpictool.h"
#include "components/base/rtool.h"
#include "components/grid/TCellParamsCondList.h"
#include "components/grid/TrDBGridCellConds.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rdbtool.h"
#include "platform/database/DataSet.h"
#include "platform/database/Fields.h"
#include "platform/ui/ImgList.h"
#include "resources/GridCellCondTexts.h"

#include <QHash>
#include <algorithm>

namespace cellconddata {

namespace {

int IndexOfNoCase(const QStringList& L, const QString& S)
{
    for (int i = 0; i < L.size(); ++i)
        if (L[i].compare(S, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Bit(bool B)
{
    return B ? QStringLiteral("1") : QStringLiteral("0");
}

TrDBGrid* AsGrid(TComponent* C)
{
    return dynamic_cast<TrDBGrid*>(C);
}

}  // namespace

void FieldLists(TComponent* Grid, QStringList& Names, QStringList& Captions)
{
    TStringList names, captions;
    GetFldList(Grid, &names, FldDef(fdSimpleField) | FldDef(fdMemoField));
    GetFldList(Grid, &captions, FldDef(fdSimpleField) | FldDef(fdMemoField) | FldDef(fdGetLabels));
    Names = names.ToQStringList();
    Captions = captions.ToQStringList();
}

TCustomImageList* DataImages(TComponent* Grid)
{
    TrDBGrid* g = AsGrid(Grid);
    return g ? g->DataImageList() : nullptr;
}

bool GridIsActive(TComponent* Grid)
{
    TrDBGrid* g = AsGrid(Grid);
    return g && g->IsActive();
}

std::vector<QStringList> LoadRows(TComponent* Grid, const QStringList& Names, const QStringList& Captions)
{
    std::vector<QStringList> rows;
    TrDBGrid* g = AsGrid(Grid);
    if (!g)
        return rows;
    for (const auto& item : TrDBGridCellConds::Of(g)->List.Items) {
        const TCellParamsCond& r = *item;
        QStringList cells;
        for (int c = 0; c < colCount; ++c)
            cells << QString();
        const int f = IndexOfNoCase(Names, r.FieldName);
        cells[colField] = f >= 0 ? Captions.value(f) : QString();
        cells[colSign] = cellcondtxt::OperatorCaptions[int(r.CondOperator)];
        cells[colValue] = r.Value;
        cells[colAction] = cellcondtxt::ActionCaptions[int(r.Action)];
        cells[colFontColor] = r.FontColor == clNone ? QString() : ColorToString(r.FontColor, true);
        cells[colBkColor] = r.BkColor == clNone ? QString() : ColorToString(r.BkColor, true);
        cells[colBold] = Bit(r.Bold);
        cells[colWholeRow] = Bit(r.WholeRow);
        cells[colIcon] = r.ImageDef.UseDataImage && r.ImageDef.ImageIndex >= 0 ? QString::number(r.ImageDef.ImageIndex) : QString();
        cells[colShowText] = r.ImageDef.UseDataImage ? r.ImageDef.ShowText : QString();
        cells[colStop] = Bit(r.StopIfTrue);
        cells[colSkip] = Bit(r.Deactive);
        rows.push_back(cells);
    }
    return rows;
}

void StoreRows(TComponent* Grid, const std::vector<QStringList>& Rows, const QStringList& Names, const QStringList& Captions)
{
    TrDBGrid* g = AsGrid(Grid);
    if (!g)
        return;
    TCellParamsCondList& list = TrDBGridCellConds::Of(g)->List;
    list.Clear();
    for (const QStringList& cells : Rows) {
        TCellParamsCond* r = list.Add();
        const int f = Captions.indexOf(cells.value(colField));
        r->FieldName = f >= 0 ? Names.value(f) : QString();
        r->CondOperator = TCellParamsCondOperators(std::max(0, IndexOfNoCase(cellcondtxt::OperatorCaptions, cells.value(colSign))));
        r->Value = cells.value(colValue);
        r->Action = TCellParamsCondActions(std::max(0, IndexOfNoCase(cellcondtxt::ActionCaptions, cells.value(colAction))));
        const QString fc = cells.value(colFontColor), bc = cells.value(colBkColor);
        r->FontColor = fc.isEmpty() ? clNone : StringToColor(fc);
        r->BkColor = bc.isEmpty() ? clNone : StringToColor(bc);
        r->Bold = cells.value(colBold) == QLatin1String("1");
        r->WholeRow = cells.value(colWholeRow) == QLatin1String("1");
        r->StopIfTrue = cells.value(colStop) == QLatin1String("1");
        r->Deactive = cells.value(colSkip) == QLatin1String("1");
        const QString icon = cells.value(colIcon), shown = cells.value(colShowText);
        r->ImageDef.UseDataImage = !icon.isEmpty() || !shown.isEmpty();
        bool ok = false;
        const int idx = icon.toInt(&ok);
        r->ImageDef.ImageIndex = ok ? idx : -1;
        r->ImageDef.ShowText = shown;
        r->ImageDef.ImageAlignment = shown.isEmpty() ? QString() : QStringLiteral("A");
    }
    g->OptionsEx2().CellCondition.Active = true;
    TrDBGridCellConds::Of(g)->RefreshSummaries();
    g->RefreshCellParamsCond();
}

TFieldValues FieldValues(TComponent* Grid, const QString& FieldName)
{
    TFieldValues v;
    TrDBGrid* g = AsGrid(Grid);
    TDataSet* ds = g ? g->DataSet() : nullptr;
    TField* fld = ds && !FieldName.isEmpty() ? ds->FindField(FieldName) : nullptr;
    if (!fld)
        return v;
    v.Exists = true;
    v.IsDate = IsDateTimeField(fld);
    if (fld->DataType() == ftBoolean) {
        v.Values = {cellcondtxt::Yes, cellcondtxt::No};
        return v;
    }
    QHash<QString, int> seen;
    g->ScanAllRecords(5, 0, true, false, [&](TDataSet*, int) {
        const QString t = fld->AsString();
        if (!seen.contains(t.toLower())) {
            seen.insert(t.toLower(), 1);
            v.Values << t;
        }
    });
    if (v.IsDate)
        std::sort(v.Values.begin(), v.Values.end(), [](const QString& A, const QString& B) { return SortDate(A, B) < 0; });
    else if (dynamic_cast<TNumericField*>(fld))
        std::sort(v.Values.begin(), v.Values.end(), [](const QString& A, const QString& B) { return SortNum(A, B) < 0; });
    else
        v.Values.sort(Qt::CaseInsensitive);
    return v;
}

}  // namespace cellconddata
