#include "components/output/TExportEngine.h"

#include "components/base/rdlg.h"
#include "components/base/rtool.h"
#include "components/grid/rDBGrid.h"
#include "components/output/GridSelection.h"
#include "platform/database/DataSource.h"
#include "platform/rtl/Exception.h"
#include "platform/ui/DBGrids.h"
#include "platform/ui/TreeViews.h"
#include "resources/ExportTexts.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

TExportEngine::TExportEngine(TComponent* AOwner) : TComponent(AOwner) {}

bool TExportEngine::Execute(TCustomDBGrid* Grid)
{
    return ExecuteInt(stGrid, Grid);
}

bool TExportEngine::Execute(TDataSet* Dataset)
{
    return ExecuteInt(stDataset, Dataset);
}

QString TExportEngine::ErrorText() const
{
    return exptxt::CannotExport;
}

QString TExportEngine::ProgressText()
{
    return exptxt::Exporting + exptxt::OfData;
}

bool TExportEngine::ExecuteInt(TSourceType AType, TComponent* ASource)
{
    if (!ASource)
        return false;
    if (!ResolveSource(AType, ASource))
        return false;
    Aborted = false;
    RecIdx = 0;
    RecCount = 0;
    if (ShowProgressBar)
        ShowInfo(ProgressText(), nullptr);
    if (OnProgressEvent)
        OnProgressEvent(this, psStarting, 0, ProgressText());
    bool Result = false;
    FLastError.clear();
    try {
        BuildColumns();
        Result = Run();
    } catch (const std::exception& E) {
        Result = false;
        FLastError = ExceptionMessage(E);
        ShowErr(ErrorText(), E, false);
    }
    FN.clear();
    if (ShowProgressBar)
        ShowInfo(QString(), nullptr);
    if (OnProgressEvent)
        OnProgressEvent(this, psEnding, 100, QString());
    return Result;
}

bool TExportEngine::ResolveSource(TSourceType AType, TComponent* ASource)
{
    SourceType = AType;
    SourceObject = ASource;
    DBGrid = nullptr;
    Dataset = nullptr;
    RecView = nullptr;
    TreeView = nullptr;
    StringGrid = nullptr;
    switch (AType) {
    case stGrid:
        DBGrid = dynamic_cast<TCustomDBGrid*>(ASource);
        Dataset = DBGrid && DBGrid->DataSource() ? DBGrid->DataSource()->DataSet() : nullptr;
        break;
    case stDataset: Dataset = dynamic_cast<TDataSet*>(ASource); break;
    case stRecView: return ResolveRecView(ASource);
    case stTreeView: TreeView = dynamic_cast<TTreeView*>(ASource); return TreeView != nullptr;
    case stStringGrid: return ResolveStringGrid(ASource);
    }
    return Dataset && Dataset->Active();
}

void TExportEngine::BuildColumns()
{
    FN.clear();
    if (SourceType == stRecView)
        return BuildRecViewColumns();
    if (SourceType == stStringGrid)
        return BuildStringGridColumns();
    if (SourceType == stTreeView)
        return;
    const TGetFldDefs names = GetFldDefs(false, ExportOnlyVisibleFields, true, WantsMemoFields(), WantsPictureFields(), false, false);
    const TGetFldDefs titles =
        GetFldDefs(!RealFieldNamesAsTitle, ExportOnlyVisibleFields, true, WantsMemoFields(), WantsPictureFields(), false, false);
    // A data grid captions its columns as it shows them (a grouped column by its group's title).
    auto fieldList = [this](TStringList* L, TGetFldDefs D) {
        if (auto* g = dynamic_cast<TrDBGrid*>(SourceObject))
            GetFldListrDBGrid(g, L, D);
        else
            GetFldList(SourceObject, L, D);
    };
    TStringList N, T;
    fieldList(&N, names);
    fieldList(&T, titles);
    for (int i = 0; i < N.Count(); ++i) {
        TExportColumn c;
        c.Name = N[i];
        c.Title = i < T.Count() ? T[i] : N[i];
        c.Field = Dataset->FindField(c.Name);
        FN.push_back(c);
    }
}

bool TExportEngine::WalkRecords(const std::function<void(int RecIdx)>& Row)
{
    RecCount = Dataset->RecordCount();
    Aborted = false;
    const bool selectedOnly = ExportOnlySelectedRows && SourceType == stGrid && DBGrid;
    const bool walked = ScanAllRecords(
        Dataset,
        [&](TDataSet*, int Index, bool& Abort) {
            if (selectedOnly && !IsCurrentRowSelected(DBGrid))
                return;
            RecIdx = Index;
            Row(Index);
            ProgressStep();
            Abort = Aborted;
        },
        UseDisableControl, UseDisableControl, true);
    return walked && !Aborted;
}

int TExportEngine::CountRows(TSourceType AType, TComponent* ASource)
{
    if (!ResolveSource(AType, ASource))
        return 0;
    switch (AType) {
    case stRecView: BuildColumns(); {
        const int n = int(FN.size());
        FN.clear();
        return n;
    }
    case stTreeView: return TreeNodeCount();
    case stStringGrid: return StringGridRows();
    default: return Dataset->RecordCount();
    }
}

bool TExportEngine::WalkSource(const std::function<void(int RecIdx)>& Row)
{
    switch (SourceType) {
    case stRecView:
        RecCount = 1;
        RecIdx = 0;
        Row(0);
        return true;
    case stStringGrid: return WalkStringGrid(Row);
    case stTreeView: return true;
    default: return WalkRecords(Row);
    }
}

QString TExportEngine::SourceText(const TExportColumn& C) const
{
    if (C.Field)
        return DisplayTextOf(C.Field);
    return C.Col >= 0 ? StringGridCell(C.Col, RecIdx) : QString();
}

void TExportEngine::ProgressStep()
{
    if (RecCount == 0)
        return;
    const int percent = int(std::lround(RecIdx * 100.0 / RecCount));
    if (ShowProgressBar && RecIdx % 100 == 0)
        ShowInfoProgressBar(ProgressText(), nullptr, [this](TComponent* S) { DoAbort(S); }, percent);
    if (OnProgressEvent)
        OnProgressEvent(this, psRunning, percent, ProgressText());
}

TColumn* TExportEngine::ColumnOf(const TField* F) const
{
    if (!DBGrid || !F)
        return nullptr;
    TDBGridColumns* cols = DBGrid->Columns();
    for (int i = 0; i < cols->Count(); ++i)
        if (cols->Items(i)->Field() == F)
            return cols->Items(i);
    return nullptr;
}

QString TExportEngine::RawText(TField* F) const
{
    if (auto* g = dynamic_cast<TrDBGrid*>(DBGrid))
        if (TColumn* col = ColumnOf(F))
            return g->GetCellText(col);
    return F->Text();
}

QString TExportEngine::DisplayTextOf(TField* F) const
{
    if (dynamic_cast<TrDBGrid*>(DBGrid))
        return RawText(F);
    return F->DisplayText();
}

void TExportEngine::RunAfterAction(const QString& FileName) const
{
    if (ActionAfter == aaShow)
        RunFileSimple(FileName);
    else if (ActionAfter == aaPrint)
        PrintFileSimple(FileName);
}

void TExportEngine::WriteWholeFile(const QString& FileName, const QByteArray& Data)
{
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(Data) != Data.size() || !f.commit())
        throw Exception(exptxt::CannotWrite.arg(FileName) + QStringLiteral(" ") + f.errorString());
}

QString TrimControls(const QString& S)
{
    int a = 0, b = int(S.size());
    while (a < b && S[a].unicode() <= 32)
        ++a;
    while (b > a && S[b - 1].unicode() <= 32)
        --b;
    return S.mid(a, b - a);
}

QByteArray EncodeWindows1252(const QString& S)
{
    // 0x80..0x9F of Windows-1252; 0 marks the five unused places.
    static const char16_t High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray out;
    out.reserve(S.size());
    for (QChar ch : S) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (High[i] && High[i] == u)
                b = char(0x80 + i);
        out.append(b);
    }
    return out;
}
