// The exporters' entries and walks for the sources that are not data
// grids: a record view (the current record), a tree view (its shown nodes)
// and a string grid (its data rows). Kept apart from the grid code because
// the string grid's and the data grid's type headers cannot meet.

#include "components/output/TExportEngine.h"

#include "components/dbcontrols/TrDBRecView.h"
#include "components/grid/rdbtool.h"
#include "components/stringgrid/rStringGridEd.h"
#include "platform/database/DataSource.h"
#include "platform/ui/TreeViews.h"

#include <functional>

bool TExportEngine::Execute(TrDBRecView* RecView)
{
    return ExecuteInt(stRecView, RecView);
}

bool TExportEngine::Execute(TTreeView* TreeView)
{
    return ExecuteInt(stTreeView, TreeView);
}

bool TExportEngine::Execute(TrStringGridEd* StringGrid)
{
    return ExecuteInt(stStringGrid, StringGrid);
}

namespace {

TrStringGridEd* Sg(TComponent* C)
{
    return dynamic_cast<TrStringGridEd*>(C);
}

// The last data row: the automatic empty new row at the end is no data.
int LastDataRow(TrStringGridEd* G)
{
    return G->RowCount() - 1 - (G->AutoAddNewRow() ? 1 : 0);
}

}  // namespace

bool TExportEngine::ResolveRecView(TComponent* ASource)
{
    RecView = dynamic_cast<TrDBRecView*>(ASource);
    TDataSource* src = RecView ? RecView->GetDataSource() : nullptr;
    Dataset = src ? src->DataSet() : nullptr;
    return Dataset && Dataset->Active();
}

bool TExportEngine::ResolveStringGrid(TComponent* ASource)
{
    StringGrid = Sg(ASource) ? ASource : nullptr;
    return StringGrid != nullptr;
}

void TExportEngine::BuildRecViewColumns()
{
    for (int i = 0; i < RecView->GetFieldCount(); ++i) {
        TField* f = RecView->GetField(i);
        if (!f || (!WantsMemoFields() && f->IsBlob()))
            continue;
        TExportColumn c;
        c.Name = f->FieldName();
        c.Title = RealFieldNamesAsTitle ? f->FieldName() : RecView->GetCaption(i);
        c.Field = f;
        c.ViewIndex = i;
        FN.push_back(c);
    }
}

void TExportEngine::BuildStringGridColumns()
{
    TrStringGridEd* g = Sg(StringGrid);
    TStringList numbers, titles;
    GetFldList(g, &numbers, GetFldDefs(false, ExportOnlyVisibleFields, true, true, false, false, false));
    GetFldList(g, &titles, GetFldDefs(true, ExportOnlyVisibleFields, true, true, false, false, false));
    for (int i = 0; i < numbers.Count(); ++i) {
        TExportColumn c;
        c.Name = numbers[i];
        c.Col = numbers[i].toInt();
        c.Title = RealFieldNamesAsTitle || i >= titles.Count() ? numbers[i] : titles[i];
        FN.push_back(c);
    }
}

bool TExportEngine::WalkStringGrid(const std::function<void(int RecIdx)>& Row)
{
    TrStringGridEd* g = Sg(StringGrid);
    const int last = LastDataRow(g);
    RecCount = std::max(0, last + 1 - g->FixedRows());
    Aborted = false;
    for (int r = g->FixedRows(); r <= last; ++r) {
        RecIdx = r;
        Row(r);
        ProgressStep();
        if (Aborted)
            return false;
    }
    return true;
}

int TExportEngine::StringGridRows() const
{
    TrStringGridEd* g = Sg(StringGrid);
    return g ? std::max(0, LastDataRow(g) + 1 - g->FixedRows()) : 0;
}

QString TExportEngine::StringGridCell(int Col, int Row) const
{
    TrStringGridEd* g = Sg(StringGrid);
    return g && Col >= 0 && Col < g->ColCount() && Row >= 0 && Row < g->RowCount() ? g->Cells(Col, Row) : QString();
}

bool TExportEngine::StringGridIsText(const TExportColumn& C) const
{
    TrStringGridEd* g = Sg(StringGrid);
    if (!g || C.Col < 0)
        return true;
    const TrStringGridEdDataType t = g->GetDataType(C.Col, std::max(g->FixedRows(), RecIdx));
    return t != sgdNumber && t != sgdInteger;
}

bool TExportEngine::StringGridNumber(const TExportColumn& C, double& Value) const
{
    TrStringGridEd* g = Sg(StringGrid);
    if (!g || StringGridIsText(C) || g->Cells(C.Col, RecIdx).trimmed().isEmpty() || g->IsValidData(C.Col, RecIdx) != sdsOk)
        return false;
    Value = g->GetNumCells(C.Col, RecIdx);
    return true;
}

int TExportEngine::StringGridDataWidth(const TExportColumn& C) const
{
    TrStringGridEd* g = Sg(StringGrid);
    return g && C.Col >= 0 ? std::min(10000, g->GetColumnDataWidth(C.Col, g->RowCount())) : 200;
}

QString TExportEngine::StringGridNumFormat(const TExportColumn& C) const
{
    TrStringGridEd* g = Sg(StringGrid);
    return g && C.Col >= 0 && C.Col < g->Columns()->Count() ? g->Columns()->Items(C.Col)->NumFormat : QString();
}

TrStringGridEd* TExportEngine::StringGridEd() const
{
    return Sg(StringGrid);
}

TExportEngine::TGridCellKind TExportEngine::StringGridKind(const TExportColumn& C) const
{
    TrStringGridEd* g = Sg(StringGrid);
    if (!g || C.Col < 0)
        return TGridCellKind::Text;
    const int row = std::max(g->FixedRows(), RecIdx);
    if (g->GetEditStyleEx(C.Col, row) == sgbCheckbox)
        return TGridCellKind::Boolean;
    switch (g->GetDataType(C.Col, row)) {
    case sgdNumber: case sgdInteger: return TGridCellKind::Number;
    case sgdDate: return TGridCellKind::Date;
    case sgdTime: return TGridCellKind::Time;
    case sgdDateTime: return TGridCellKind::DateTime;
    case sgdDataBar: case sgdStatusBar: return TGridCellKind::Bar;
    default: return TGridCellKind::Text;
    }
}

bool TExportEngine::StringGridDateTime(const TExportColumn& C, double& Value) const
{
    TrStringGridEd* g = Sg(StringGrid);
    const TGridCellKind k = StringGridKind(C);
    if (!g || (k != TGridCellKind::Date && k != TGridCellKind::Time && k != TGridCellKind::DateTime)
        || g->Cells(C.Col, RecIdx).trimmed().isEmpty() || g->IsValidData(C.Col, RecIdx) != sdsOk)
        return false;
    Value = g->GetDateTimeCells(C.Col, RecIdx);
    return true;
}

bool TExportEngine::StringGridBool(const TExportColumn& C) const
{
    TrStringGridEd* g = Sg(StringGrid);
    return g && C.Col >= 0 && g->GetBoolCells(C.Col, RecIdx);
}

TFieldAlignment TExportEngine::StringGridAlignment(const TExportColumn& C, int Row) const
{
    TrStringGridEd* g = Sg(StringGrid);
    if (!g || C.Col < 0)
        return TFieldAlignment::LeftJustify;
    switch (g->GetDataAlignment(C.Col, Row)) {
    case taRightJustify: return TFieldAlignment::RightJustify;
    case taCenter: return TFieldAlignment::Center;
    default: return TFieldAlignment::LeftJustify;
    }
}

void TExportEngine::WalkTree(const std::function<void(const QString& Text, int Depth)>& Node)
{
    WalkTreeNodes([&](TTreeNode* N, int Depth) { Node(N->Text(), Depth); });
}

void TExportEngine::WalkTreeNodes(const std::function<void(TTreeNode* N, int Depth)>& Node)
{
    RecCount = TreeNodeCount();
    RecIdx = 0;
    std::function<void(TTreeNode*, int)> walk = [&](TTreeNode* N, int Depth) {
        for (; N; N = N->GetNextSibling()) {
            Node(N, Depth);
            ++RecIdx;
            ProgressStep();
            if (N->Expanded())
                walk(N->GetFirstChild(), Depth + 1);
        }
    };
    walk(TreeView->Items()->GetFirstNode(), 0);
}

int TExportEngine::TreeNodeCount() const
{
    int n = 0;
    std::function<void(TTreeNode*)> count = [&](TTreeNode* N) {
        for (; N; N = N->GetNextSibling()) {
            ++n;
            if (N->Expanded())
                count(N->GetFirstChild());
        }
    };
    count(TreeView ? TreeView->Items()->GetFirstNode() : nullptr);
    return n;
}
