// The sort dialog over a data grid on the Firebird club table, driven
// through the modal hook.

#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "tests/dbcontrols/FbClubsFixture.h"

#include <functional>

namespace {

class SortDialogTest : public FbClubsFixture {
protected:
    void SetUp() override
    {
        FbClubsFixture::SetUp();
        sorter = new TrDBGridSorter_FireDac(form.get());
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        grid->SetDataSource(&clubSrc);
        grid->SetSorter(sorter);
    }
    void TearDown() override
    {
        SetModalHook(previous);
        FbClubsFixture::TearDown();
    }
    bool Run(const std::function<int(TrDBSortForm2*)>& Drive)
    {
        previous = SetModalHook([&](TCustomForm* F) {
            auto* f = dynamic_cast<TrDBSortForm2*>(F);
            if (!f)
                return int(mrCancel);
            f->Show();
            return Drive(f);
        });
        return SortRec(grid);
    }
    QStringList Column(const char* Name)
    {
        QStringList r;
        for (clubs->First(); !clubs->Eof(); clubs->Next())
            r << clubs->FieldByName(QString::fromLatin1(Name))->AsString();
        return r;
    }
    TrDBGridSorter_FireDac* sorter = nullptr;
    TrDBGrid* grid = nullptr;
    TModalHook previous;
};

TEST_F(SortDialogTest, OpensWithTheGridsSortAndAppliesTheEditedCriteria)
{
    ASSERT_TRUE(grid->ChangeSortEx(QStringLiteral("CLUB_ABBR,CLUB_NAME"), QStringLiteral("A,D")));
    const bool applied = Run([&](TrDBSortForm2* f) {
        EXPECT_EQ(f->SortRowCount(), 4) << "two criteria and the '*' row";
        EXPECT_EQ(f->CellText(1, 1), QStringLiteral("CLUB_ABBR"));
        EXPECT_EQ(f->CellText(2, 2), QStringLiteral("1")) << "the second criterion is descending";
        EXPECT_EQ(f->CellText(0, 3), QStringLiteral("*"));
        // Up on row 1 and Down on the last criterion change nothing.
        f->SelectRow(1);
        f->MoveRow(true);
        f->SelectRow(2);
        f->MoveRow(false);
        EXPECT_EQ(f->CellText(1, 1), QStringLiteral("CLUB_ABBR"));
        // Name first, descending; the abbreviation row goes.
        f->SelectRow(2);
        f->MoveRow(true);
        EXPECT_EQ(f->CellText(1, 1), QStringLiteral("CLUB_NAME"));
        f->SelectRow(2);
        f->DeleteRow();
        EXPECT_EQ(f->CriteriaCount(), 1);
        f->btOkClick();
        return f->ModalResult();
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_NAME"));
    EXPECT_EQ(Column("CLUB_ID"), (QStringList{QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
                                              QStringLiteral("4")}))
        << "by name, descending";

    // A criterion added in the '*' row, then Cancel: nothing changes.
    const bool cancelled = Run([&](TrDBSortForm2* f) {
        f->DeleteAllRows();
        EXPECT_EQ(f->SortRowCount(), 2);
        f->SetRowField(1, QStringLiteral("CLUB_ABBR"), false);
        EXPECT_EQ(f->SortRowCount(), 3) << "a field in the '*' row adds a row";
        return int(mrCancel);
    });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_NAME"));
    QStringList names;
    EXPECT_FALSE(SortRec_LoadSortNames(grid, names));
}

}  // namespace
