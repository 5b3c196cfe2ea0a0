// A grid that keeps its own selection of records: exports take only its
// selected records, the export dialog and the print twin see them, and a
// selected record exports in its own colours, not the selection's.

#include "components/grid/rDBGrid_MS.h"
#include "components/output/GridSelection.h"
#include "components/output/TTXTExport.h"
#include "components/output/rDBTwinGrid.h"
#include "tests/output/ExportFixture.h"
#include "tests/output/ExportReaders.h"

#include <gtest/gtest.h>

namespace {

struct TOwnSelectionGrid {
    explicit TOwnSelectionGrid(TDataSet* D)
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        Src.SetDataSet(D);
        Grid = new TrDBGrid_MS(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 640, 340);
        Grid->SetDataSource(&Src);
    }
    // Marks the records of the listed ids, as Ctrl+Space does.
    void Select(std::initializer_list<int> Ids)
    {
        TDataSet* d = Src.DataSet();
        for (d->First(); !d->Eof(); d->Next())
            for (int id : Ids)
                if (d->FieldByName(QStringLiteral("ID"))->AsInteger() == id && !d->FieldByName(QStringLiteral("ID"))->IsNull())
                    Grid->ToggleCurrentRow();
        d->First();
    }
    TDataSource Src;
    std::unique_ptr<TForm> Form;
    TrDBGrid_MS* Grid = nullptr;
};

}  // namespace

TEST(OwnSelectionGrid, ExportsAndPrintoutsTakeItsSelectedRecords)
{
    auto d = MakeAwkwardTable();
    TOwnSelectionGrid g(d.get());
    g.Select({1});
    EXPECT_EQ(SelectedRowCount(g.Grid), 1);
    EXPECT_TRUE(IsCurrentRowSelected(g.Grid));
    EXPECT_EQ(g.Grid->SelectedRows()->Count(), 0) << "the base grid's own list stays empty";

    QTemporaryDir dir;
    TTXTExport t;
    t.ActionAfter = aaNone;
    t.FieldSeparator = QStringLiteral(";");
    t.ExportFile = dir.filePath(QStringLiteral("sel.txt"));
    t.ExportOnlySelectedRows = true;
    ASSERT_TRUE(t.Execute(g.Grid));
    const auto rows = ParseDelimited(QString::fromUtf8(ReadAll(t.ExportFile)));
    ASSERT_EQ(rows.size(), 2) << "titles and the one selected record";
    EXPECT_EQ(rows[1][0].trimmed(), QStringLiteral("1"));

    // The print dialog's twin carries the selection into the base grid's list.
    std::unique_ptr<TForm> owner = std::make_unique<TForm>(nullptr);
    TCustomDBGrid* twin = MakeTwinGrid(owner.get(), g.Grid);
    CopyToTwin(g.Grid, twin);
    EXPECT_EQ(twin->SelectedRows()->Count(), 1);
}

TEST(OwnSelectionGrid, ASelectedRecordExportsInItsOwnColours)
{
    auto d = MakeAwkwardTable();
    TOwnSelectionGrid g(d.get());
    g.Select({1});
    g.Grid->SetColor(clWhite);
    TField* f = d->FieldByName(QStringLiteral("NAME"));
    TFont font;
    TColor bg = clWhite;
    TDataImageDef image;
    g.Grid->GetCellParams(f, &font, bg, image, false, false);
    ASSERT_EQ(bg, clHighlight) << "on screen the selection shows";
    bg = clWhite;
    GetOutputCellParams(g.Grid, f, &font, bg, image);
    EXPECT_EQ(bg, clWhite);
}
