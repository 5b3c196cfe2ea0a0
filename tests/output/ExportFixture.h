#pragma once
// A small table of runs with awkward values, and a grid over it, shared by
// the export tests.

#include "components/grid/rDBGrid.h"
#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"

#include <QTemporaryDir>
#include <memory>

// ID integer, NAME string(40), FEE currency "0.00", STARTED date, NOTE memo,
// SECRET (hidden) string.
std::unique_ptr<TClientDataSet> MakeAwkwardTable();
// N runs with 15 columns of every common kind (benchmarks and the big tests).
std::unique_ptr<TClientDataSet> MakeResultsTable(int N);

struct TExportGrid {
    explicit TExportGrid(TDataSet* D);
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TDataSource> Src;
    TrDBGrid* Grid = nullptr;
    // Selects the records whose ID is listed.
    void Select(std::initializer_list<int> Ids);
};

// A record view over the current record of D, on a form of its own.
struct TExportRecView {
    explicit TExportRecView(TDataSet* D);
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TDataSource> Src;
    class TrDBRecView* View = nullptr;
};

// A PNG picture of one colour.
QByteArray PngOf(int Width, int Height, unsigned Rgb);

QByteArray ReadAll(const QString& FileName);
// A left click in the middle of the control, as real mouse events on its widget.
void ClickControl(TControl* C);
