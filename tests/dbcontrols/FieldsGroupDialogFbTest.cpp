// The field-group dialog over a data grid on the Firebird club table,
// driven through the modal hook: listing, new ids, the master list, storing,
// the question when leaving an edited group, delete and the default groups.

#include "components/base/rdlg.h"
#include "components/dbcontrols/rDBFieldsForm.h"
#include "components/dbcontrols/rDBFieldsGroupForm.h"
#include "components/dbcontrols/rDBGridPropsDialogs.h"
#include "components/base/rListBoxes.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridPropsForm.h"
#include "platform/ui/ListBoxes.h"
#include "platform/ui/StdCtrls.h"
#include "tests/dbcontrols/FbClubsFixture.h"

#include <functional>

namespace {

class FieldsGroupDialogTest : public FbClubsFixture {
protected:
    void SetUp() override
    {
        FbClubsFixture::SetUp();
        grid = new TrDBGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        for (const char* f : {"CLUB_ID", "CLUB_NAME", "CLUB_ABBR"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(f));
        grid->Columns()->Items(1)->Title()->SetCaption(QStringLiteral("Nimi"));
        grid->Columns()->Items(2)->Title()->SetCaption(QStringLiteral("Lyhenne"));
        grid->SetDataSource(&clubSrc);
        grid->SetFieldsGroupsText(QStringLiteral("[1::Seura::Red::Red::<<CLUB_NAME>>::0]\r\nCLUB_NAME=M\r\nCLUB_ABBR=0\r\n\r\n"
                                                 "[2::::::::::1]\r\nCLUB_ID=M\r\n\r\n[5::Tyhjä::::::::0::Viisi]\r\n"));
        grid->Loaded();  // the text above becomes the form's default
        grid->FieldsGroups.Clear();
        grid->FieldsGroupsChanged();
    }
    void TearDown() override
    {
        SetModalHook(previous);
        FbClubsFixture::TearDown();
    }
    // Runs the dialog; questions and warnings get Answer and are counted.
    void Run(const std::function<int(TrDBFieldsGroupForm*)>& Drive)
    {
        previous = SetModalHook([&](TCustomForm* F) {
            if (dynamic_cast<TrDlgForm*>(F)) {
                ++questions;
                return Answer;
            }
            auto* f = dynamic_cast<TrDBFieldsGroupForm*>(F);
            return f ? Drive(f) : int(mrCancel);
        });
        SetFieldsGroup(grid);
    }
    QStringList Fields(int Id)
    {
        int id;
        QString m, c, k;
        TColor t, l;
        bool locked;
        QStringList fields;
        grid->Fields_GetGroupSettingsEx(grid->Fields_GetGroupDefinition(Id), id, m, c, k, t, l, locked, &fields);
        return fields;
    }
    TrDBGrid* grid = nullptr;
    TModalHook previous;
    int questions = 0;
    int Answer = mrYes;
};

TEST_F(FieldsGroupDialogTest, DefinesEditsAndDeletesGroupsOnTheGrid)
{
    // The user removed every group; "Set default groups" brings the form's three back.
    Run([&](TrDBFieldsGroupForm* f) {
        EXPECT_EQ(f->GroupCount(), 0);
        f->NewClick();
        EXPECT_EQ(f->lbGroups->Strings(0), QStringLiteral("1")) << "the first id without groups";
        f->SetDefaultClick();
        EXPECT_EQ(questions, 1);
        EXPECT_EQ(f->lbGroups->Items(), (QStringList{QStringLiteral("1 - Seura"), QStringLiteral("2 - "), QStringLiteral("5 - Viisi")}));
        // A locked group: shown, collapsible, not editable.
        f->SelectGroup(1);
        EXPECT_TRUE(f->lLocked->Visible());
        EXPECT_FALSE(f->btDelete->Enabled());
        EXPECT_TRUE(f->btCollapse->Enabled());
        f->SelectGroup(0);
        EXPECT_EQ(f->eCollapsedGroupTitle->Text(), QStringLiteral("Seura"));
        EXPECT_EQ(f->cbGroupMaster->Text(), QStringLiteral("Nimi"));
        f->CollapseClick(false);
        EXPECT_FALSE(grid->Columns()->Items(2)->Visible());
        f->CollapseClick(true);
        EXPECT_TRUE(grid->Columns()->Items(2)->Visible());
        // New after ids 1, 2 and 5 is 6; nothing checked cannot be stored.
        f->NewClick();
        EXPECT_EQ(f->lbGroups->Strings(3), QStringLiteral("6"));
        f->eCollapsedGroupTitle->SetText(QStringLiteral("Uusi"));
        EXPECT_TRUE(f->Changed());
        questions = 0;
        Answer = mrOk;
        EXPECT_FALSE(f->UpdateGroup(false));
        EXPECT_EQ(questions, 1) << "the warning";
        EXPECT_TRUE(grid->Fields_GetGroupDefinition(6).isEmpty());
        // The master list follows the ticks.
        f->SetFieldChecked(2, true);
        EXPECT_EQ(f->cbGroupMaster->Text(), QStringLiteral("Lyhenne")) << "the first entry is selected";
        f->SetFieldChecked(0, true);
        EXPECT_EQ(f->cbGroupMaster->Items(), (QStringList{QStringLiteral("Lyhenne"), QStringLiteral("CLUB_ID")}));
        EXPECT_EQ(f->cbGroupMaster->Text(), QStringLiteral("Lyhenne"));
        f->SetFieldChecked(2, false);
        EXPECT_EQ(f->cbGroupMaster->Text(), QStringLiteral("CLUB_ID")) << "the new first entry";
        f->SetFieldChecked(1, true);
        EXPECT_EQ(f->cbGroupMaster->Text(), QStringLiteral("CLUB_ID"));
        f->lbGroupFields->SetItemIndex(1);
        f->ToMaskClick();
        EXPECT_EQ(f->eCollapsedGroupMask->Text(), QStringLiteral("<<CLUB_NAME>>"));
        f->UseClick();
        EXPECT_EQ(Fields(6), (QStringList{QStringLiteral("CLUB_ID"), QStringLiteral("CLUB_NAME")}));
        EXPECT_TRUE(grid->OptionsEx2().Groups.Active) << "Use switches the groups on";
        // Leaving an edited group: No keeps it as it was.
        f->eCollapsedGroupTitle->SetText(QStringLiteral("Muutettu"));
        questions = 0;
        Answer = mrNo;
        f->SelectGroup(0);
        EXPECT_EQ(questions, 1);
        EXPECT_TRUE(grid->Fields_GetGroupDefinition(6).startsWith(QStringLiteral("6::Uusi::")));
        // Delete removes group 5 at once; the merged header switch acts at once.
        f->SelectGroup(2);
        f->DeleteClick();
        EXPECT_TRUE(grid->Fields_GetGroupDefinition(5).isEmpty());
        EXPECT_EQ(f->GroupCount(), 3);
        f->chShowMergedCell->SetChecked(true);
        f->chShowMergedCell->OnClick(f->chShowMergedCell);
        EXPECT_TRUE(grid->OptionsEx2().Groups.ShowMergedCell);
        f->OkClick();
        return f->ModalResult();
    });
    EXPECT_EQ(grid->Fields_GetGroupDefinition(1), QStringLiteral("1::Seura::Red::Red::<<CLUB_NAME>>::0"));
}

TEST_F(FieldsGroupDialogTest, TheColumnDialogSwitchesGroupsAndKeepsMembersWithTheirMaster)
{
    grid->FixedGroupedCol(true, true);
    bool driven = false;
    previous = SetModalHook([&](TCustomForm* F) {
        auto* f = dynamic_cast<TrDBFieldsForm*>(F);
        if (!f)
            return int(mrCancel);
        driven = true;
        EXPECT_TRUE(f->chGroupFields->Visible());
        EXPECT_TRUE(f->chGroupFields->Checked());
        // Hiding the master collapses its group; the member's entry goes off.
        f->SetEntryChecked(1, false);
        EXPECT_FALSE(grid->Columns()->Items(2)->Visible());
        EXPECT_FALSE(f->lbLabels->ItemEnabled(2));
        EXPECT_FALSE(f->lbLabels->Checked(2));
        f->SetEntryChecked(1, true);
        EXPECT_TRUE(f->lbLabels->ItemEnabled(2));
        // Groups switched off from the dialog.
        f->chGroupFields->SetChecked(false);
        f->chGroupFields->OnClick(f->chGroupFields);
        EXPECT_FALSE(grid->OptionsEx2().Groups.Active);
        return int(mrCancel);
    });
    ChooseFields(grid, 0);
    EXPECT_TRUE(driven);
}

}  // namespace

// The table-properties dialog reaches the column and field-group dialogs
// once the library's hooks are installed.
TEST_F(FieldsGroupDialogTest, TablePropertiesOpenTheColumnAndGroupDialogs)
{
    InstallDBGridPropsDialogs();
    grid->SetFieldsGroupsText(QStringLiteral("[1::Seura::Red::Red::<<CLUB_NAME>>::0]\r\nCLUB_NAME=M\r\nCLUB_ABBR=0\r\n\r\n"));
    TrDBGridPropsForm props(form.get());
    props.Gr = grid;
    props.AdjustVisibility(true, false, false, false);
    EXPECT_TRUE(props.btColumn->Visible());
    EXPECT_TRUE(props.btGroupSettings->Visible());
    QStringList opened;
    previous = SetModalHook([&](TCustomForm* F) {
        if (dynamic_cast<TrDBFieldsGroupForm*>(F))
            opened << QStringLiteral("groups");
        else if (dynamic_cast<TrDBFieldsForm*>(F))
            opened << QStringLiteral("columns");
        return int(mrCancel);
    });
    props.btGroupSettings->Click();
    props.btColumn->Click();
    EXPECT_EQ(opened, QStringList({QStringLiteral("groups"), QStringLiteral("columns")}));
}
