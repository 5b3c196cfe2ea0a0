// The grid's cell editor opens the library's multi-column list for a lookup
// field: the grid's width increase widens every column, and the grid's cell
// handler adjusts the cells it paints, with the editor as its sender.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/dbcontrols/TrPopupDataList.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/grid/rDBGridInplaceEditEx.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Graphics.h"

#include <QImage>
#include <QWidget>

namespace {

class GridLookupListTest : public RDBGridTest {
protected:
    void SetUp() override
    {
        RDBGridTest::SetUp();
        InstallDBGridPropsDialogs();
        grid->SetOptions(grid->Options() | dgEditing);
        runs = MakeClubRuns(clubs, {"Rasti-Helsinki", "OK Espoo", "Kiito-Tampere"});
        runs->AppendRecord({1, 2});
        runs->First();
        src->SetDataSet(runs.get());
        grid->Columns()->SetState(csDefault);
        grid->LayoutChanged();
        // A narrow column: the list grows past the editor to its widest row.
        grid->Columns()->Items(2)->SetWidth(60);
    }
    void TearDown() override
    {
        runs->Cancel();
        src->SetDataSet(data.get());
        GridDataListLayer() = TGridDataListLayer();
        RDBGridTest::TearDown();
    }
    TrDBGridInplaceEditEx* Open()
    {
        grid->SetSelectedIndex(2);
        grid->ShowEditor();
        TrDBGridInplaceEditEx* ed = grid->GetInplaceEditor();
        Word k = VK_F4;
        ed->KeyDown(k, 0);
        return ed;
    }
    TClientDataSet clubs;
    std::unique_ptr<TClientDataSet> runs;
};

}  // namespace

TEST_F(GridLookupListTest, TheListTakesTheGridsWidthIncreaseAndCellHandler)
{
    int cells = 0;
    QStringList texts;
    TrDBGridInplaceEditEx* opened = nullptr;
    grid->OnGetLookupListItemProps = [&](TComponent* Sender, TCanvas*, int, int Col, bool, TField*, TField* ListField, int&, int,
                                         QString& Text, TBitmap*, bool&, bool& SepBottom) {
        ++cells;
        EXPECT_EQ(Sender, opened);
        EXPECT_EQ(Col, 0);
        EXPECT_EQ(ListField->FieldName(), QStringLiteral("CNAME"));
        texts << Text;
        Text = Text.toUpper();
        SepBottom = true;
    };
    int widths[2] = {0, 0};
    const int increases[2] = {0, 60};
    for (int i = 0; i < 2; ++i) {
        grid->LookupListItemIncreaseWidth = increases[i];
        TrDBGridInplaceEditEx* ed = Open();
        opened = ed;
        ASSERT_TRUE(ed->ListVisible());
        auto* list = dynamic_cast<TrPopupDataList*>(ed->DataList());
        ASSERT_NE(list, nullptr) << "the library's list, not the platform's";
        EXPECT_EQ(list->ItemIncreaseWidth, increases[i]);
        widths[i] = list->Width();
        cells = 0;
        texts.clear();
        QImage img(list->Widget()->size(), QImage::Format_ARGB32);
        list->Widget()->render(&img);
        EXPECT_EQ(cells, 3) << "one call per row of the one column";
        EXPECT_TRUE(texts.contains(QStringLiteral("OK Espoo")));
        ed->CloseUp(false);
    }
    EXPECT_LT(widths[0], 120);
    EXPECT_EQ(widths[1] - widths[0], 60);
}
