// The sort dialog over a data grid on the Firebird club table, driven
// through the modal hook.

#include "components/base/rdlg.h"
#include "components/grid/TPropSaveFile.h"
#include "components/dbcontrols/rDBActionDialogs.h"
#include "components/dbcontrols/rDBSortForm2.h"
#include "components/grid/TrDBAction.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "components/stringgrid/rStringGridEd.h"
#include "tests/dbcontrols/ClubsGridFixture.h"
#include "tests/dbcontrols/GlobalPropFile.h"

#include <QTemporaryDir>
#include <functional>
#include <map>

namespace {

class SortDialogTest : public ClubsGridFixture {
protected:
    void SetUp() override
    {
        ClubsGridFixture::SetUp();
        sorter = new TrDBGridSorter_FireDac(form.get());
        grid->SetSorter(sorter);
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
};

TEST_F(SortDialogTest, OpensWithTheGridsSortAndAppliesTheEditedCriteria)
{
    ASSERT_TRUE(grid->ChangeSortEx(QStringLiteral("CLUB_ABBR,CLUB_NAME"), QStringLiteral("A,D")));
    const bool applied = Run([&](TrDBSortForm2* f) {
        EXPECT_EQ(f->SortRowCount(), 4) << "two criteria and the '*' row";
        EXPECT_EQ(f->grSort->ColWidths(0), 15) << "the number column";
        EXPECT_EQ(f->btSave->Caption(), QStringLiteral(">>"));
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

TEST_F(SortDialogTest, SavedSortsListedAppliedDeletedAndRefusedWhenFull)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sorvex.ini"));
    auto file = OpenGlobalFile(path);
    form->SetName(QStringLiteral("fmClubs"));
    grid->SetName(QStringLiteral("grClubs"));
    int warnings = 0;
    Run([&](TrDBSortForm2* f) {
        EXPECT_TRUE(f->btSave->Enabled());
        f->DeleteAllRows();
        f->SetRowField(1, QStringLiteral("CLUB_NAME"), true);
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("nimi laskeva")));
        f->DeleteAllRows();
        f->SetRowField(1, QStringLiteral("CLUB_ABBR"), false);
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("Lyhenne")));
        return int(mrCancel);
    });
    EXPECT_EQ(file->ReadString(QStringLiteral("SortDlg2.fmClubs.grClubs.0"), QStringLiteral("SortName"), QString()),
              QStringLiteral("nimi laskeva"));
    EXPECT_EQ(file->ReadString(QStringLiteral("SortDlg2.fmClubs.grClubs.0.Column2"), QStringLiteral("Item1"), QString()), QStringLiteral("1"));
    // The program ends and starts again: the saved sorts come back from the file.
    file.reset();
    file = OpenGlobalFile(path);

    // Listed alphabetically after the dialog is gone; one applied without a dialog.
    QStringList names;
    ASSERT_TRUE(SortRec_LoadSortNames(grid, names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Lyhenne"), QStringLiteral("nimi laskeva")}));
    ASSERT_TRUE(SortRec_ActiveSortIdx(grid, 0));
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_NAME"));
    EXPECT_EQ(Column("CLUB_ID").first(), QStringLiteral("5")) << "by name, descending";

    // Slot 0 deleted and taken by the next new name; all 20 used: refused.
    Run([&](TrDBSortForm2* f) {
        EXPECT_EQ(f->lbSavedSort->Count(), 2);
        f->lbSavedSort->SetItemIndex(1);  // "nimi laskeva", slot 0
        f->DeleteSavedSort();
        EXPECT_EQ(f->lbSavedSort->Count(), 1);
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("uusi")));
        EXPECT_FALSE(file->ReadString(f->SortSection(0), QStringLiteral("SortName"), QString()).isEmpty());
        for (int i = 2; i < TrDBSortForm2::MaxSavedSorts; ++i)
            EXPECT_TRUE(f->SaveSorting(QStringLiteral("lajittelu %1").arg(i)));
        EXPECT_EQ(f->lbSavedSort->Count(), 20);
        SetModalHook([&](TCustomForm* F) {
            warnings += dynamic_cast<TrDlgForm*>(F) ? 1 : 0;
            return int(mrOk);
        });
        EXPECT_FALSE(f->SaveSorting(QStringLiteral("liikaa")));
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("LYHENNE"))) << "an existing name is written again";
        return int(mrCancel);
    });
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(file->ReadString(QStringLiteral("SortDlg2.fmClubs.grClubs.20"), QStringLiteral("SortName"), QString()), QString());
}

// The grid action module's list of saved sorts is alphabetical; an item
// applies its own saved sort whatever slot that sort lives in.
TEST_F(SortDialogTest, SavedSortMenuAppliesTheChosenSortNotTheSlotAtItsPlace)
{
    QTemporaryDir dir;
    auto file = OpenGlobalFile(dir.filePath(QStringLiteral("sorvex.ini")));
    form->SetName(QStringLiteral("fmClubs"));
    grid->SetName(QStringLiteral("grClubs"));
    Run([&](TrDBSortForm2* f) {
        f->DeleteAllRows();
        f->SetRowField(1, QStringLiteral("CLUB_NAME"), true);
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("Zeta")));  // slot 0
        f->DeleteAllRows();
        f->SetRowField(1, QStringLiteral("CLUB_ABBR"), false);
        EXPECT_TRUE(f->SaveSorting(QStringLiteral("Alpha")));  // slot 1
        return int(mrCancel);
    });
    TrDBAction actions(nullptr);
    InstallDBActionDialogs(&actions);
    actions.SetActiveGrid(grid);
    auto clickItem = [&](const QString& Caption) {
        actions.pmSortList->OnPopup(actions.pmSortList);
        TMenuItem* items = actions.pmSortList->Items();
        for (int i = 0; i < items->Count(); ++i)
            if (items->Items(i)->Caption() == Caption)
                return items->Items(i)->Click(), true;
        return false;
    };
    ASSERT_TRUE(clickItem(QStringLiteral("Alpha")));
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_ABBR"));
    ASSERT_TRUE(clickItem(QStringLiteral("Zeta")));
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_NAME"));

    // Zeta deleted: Alpha is first in the list but still lives in slot 1.
    Run([&](TrDBSortForm2* f) {
        f->lbSavedSort->SetItemIndex(1);
        f->DeleteSavedSort();
        return int(mrCancel);
    });
    ASSERT_TRUE(clickItem(QStringLiteral("Alpha")));
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_ABBR"));
    // A free slot applies nothing and leaves the grid's sort alone.
    EXPECT_FALSE(SortRec_ActiveSortIdx(grid, 0));
    EXPECT_EQ(grid->SortFieldName(), QStringLiteral("CLUB_ABBR"));
    actions.SetActiveGrid(nullptr);
}

}  // namespace
