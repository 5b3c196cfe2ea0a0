// The table properties dialog changes the live grid at once: colours with
// their check boxes, the dotted line, the style list, the width buttons,
// and the controls shown or hidden by the caller and the configuration.

#include "tests/rdbgrid/RDBGridFixture.h"

#include "components/base/rEditNum.h"
#include "components/base/rListBoxes.h"
#include "components/grid/TPropSaveMain.h"
#include "components/grid/rDBGridPropsForm.h"
#include "components/grid/TrDBGridCellParamsForm.h"
#include "components/grid/TPropSaveFile.h"
#include "platform/ui/StdCtrls.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Runs the dialog on the grid; Body works on the shown dialog.
void WithDialog(TrDBGrid* Grid, const std::function<void(TrDBGridPropsForm*)>& Body, bool ShowColumns = true)
{
    bool ran = false;
    auto old = SetModalHook([&](TCustomForm* F) {
        if (auto* d = dynamic_cast<TrDBGridPropsForm*>(F)) {
            ran = true;
            Body(d);
        }
        return int(mrClose);
    });
    DBGridProperties(Grid, ShowColumns, true, true, true);
    SetModalHook(old);
    EXPECT_TRUE(ran);
}

}  // namespace

TEST_F(RDBGridTest, PropertiesDialogColoursAndLines)
{
    grid->SetColorActiveRow(clNone);
    WithDialog(grid, [&](TrDBGridPropsForm* d) {
        EXPECT_FALSE(d->chColorActiveRow->Checked());
        EXPECT_FALSE(d->cbColorActiveRow->Enabled());
        // Checking it while the box shows "none" takes the info colour.
        d->chColorActiveRow->Click();
        EXPECT_EQ(grid->ColorActiveRow(), TColor(clInfoBk));
        EXPECT_TRUE(d->cbColorActiveRow->Enabled());
        d->chColorActiveRow->Click();
        EXPECT_EQ(grid->ColorActiveRow(), TColor(clNone)) << "unchecked: no active-row colour";
        // The filtered font: navy when the box shows none.
        grid->SetFontColorFiltered(clNone);
        d->LoadColors();
        d->chFontFiltered->Click();
        EXPECT_EQ(grid->FontColorFiltered(), TColor(clNavy));
        // Dotted on and off leaves no line colour while the box shows the stand-in grey.
        ASSERT_EQ(grid->OptionsEx2().Appearance.DataRowLineColor, TColor(clNone));
        d->chRowLineDot->Click();
        EXPECT_EQ(grid->OptionsEx2().Appearance.DataRowLineStyle, psDot);
        EXPECT_EQ(grid->OptionsEx2().Appearance.DataRowLineColor, TColor(0xF0F0F0));
        d->chRowLineDot->Click();
        EXPECT_EQ(grid->OptionsEx2().Appearance.DataRowLineStyle, psSolid);
        EXPECT_EQ(grid->OptionsEx2().Appearance.DataRowLineColor, TColor(clNone));
        d->chRowLines->Click();
        EXPECT_FALSE(grid->Options() & dgRowLines);
    });
}

TEST_F(RDBGridTest, PropertiesDialogStyleWidthsAndCounts)
{
    grid->SetColumnWidthMode(cwNone);
    WithDialog(grid, [&](TrDBGridPropsForm* d) {
        // A style switches the title to gradients and reloads every colour control.
        d->cbStyle->SetItemIndex(3);
        if (d->cbStyle->OnChange)
            d->cbStyle->OnChange(d->cbStyle);
        EXPECT_EQ(grid->DrawingStyle(), grids::gdsGradient);
        EXPECT_EQ(grid->GridLookStyle(), TGridLookStyles(3));
        EXPECT_TRUE(d->chGradient->Checked());
        EXPECT_EQ(d->cbColorOdd->Selected(), grid->ColorOddRow());
        // "Width according data length" computes once and leaves the mode off.
        const int before = grid->Columns()->Items(0)->Width();
        d->btWidthData->Click();
        EXPECT_EQ(grid->ColumnWidth(), cwNone);
        EXPECT_NE(grid->Columns()->Items(0)->Width(), before);
        EXPECT_FALSE(d->cbAutoWidth->Checked());
        EXPECT_FALSE(d->cbSameWidth->Checked());
        d->cbAutoWidth->Click();
        EXPECT_EQ(grid->ColumnWidth(), cwAutoWidth);
        d->cbAutoWidth->Click();
        EXPECT_EQ(grid->ColumnWidth(), cwNone);
        d->eTitleLines->SetAsInteger(3);
        EXPECT_EQ(grid->TitleLines(), 3);
        d->eFixedCols->SetAsInteger(2);
        EXPECT_EQ(grid->GetFixedCols(), 2);
        d->chShowMemoContent->Click();
        EXPECT_EQ(grid->OptionsEx2().Editors.Memo, obtContent);
    });
}

TEST_F(RDBGridTest, PropertiesDialogShowsWhatTheCallerAndConfigurationAllow)
{
    ParioCompConfig.rDBGridPropsCfg.HideTitleFilterText = true;
    WithDialog(
        grid,
        [&](TrDBGridPropsForm* d) {
            EXPECT_FALSE(d->gbColumns->Visible());
            EXPECT_TRUE(d->chTitleFilterBtn->Visible());
            EXPECT_FALSE(d->chTitleFilterBar->Visible());
            // No field groups and the default setting: no group controls.
            EXPECT_FALSE(d->chGroupFields->Visible());
            // Row height only matters with memo or picture contents.
            EXPECT_FALSE(d->eRowLines->Visible());
        },
        false);
    ParioCompConfig.rDBGridPropsCfg.HideTitleFilterText = false;
}

TEST_F(RDBGridTest, PropertiesDialogDefaultsKeepTheGridOutOfTheFormsSavers)
{
    auto* saver = new TPositionPropSave(form.get());
    grid->Columns()->Items(1)->SetWidth(300);
    int defaultsCalled = 0;
    ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns = [&](TComponent* G) { defaultsCalled += G == grid; };
    WithDialog(grid, [&](TrDBGridPropsForm* d) { d->SetDefault(); });
    ParioCompConfig.rDBFieldsCfg.OnSetDefaultGridColumns = nullptr;
    EXPECT_EQ(defaultsCalled, 1);
    ASSERT_EQ(saver->DisableComponents.size(), 1u);
    EXPECT_EQ(saver->DisableComponents[0], grid);
}

// Like the dataset dialogs, the table properties and the highlight rules
// dialogs come back where the user left them, at their size, after the
// program starts again; the properties dialog names its help page.
TEST_F(RDBGridTest, PropertiesAndRuleDialogsComeBackWhereTheUserLeftThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sorvex.ini"));
    auto open = [&path] {
        auto f = std::make_unique<TPropSaveFile>(nullptr);
        f->SetFileName(path);
        f->LoadFile();
        f->SetUseAsGlobalFile(true);
        return f;
    };
    auto file = open();
    // Shows the dialog the entry point opens and hands it to Body.
    auto drive = [](const std::function<void()>& Entry, const std::function<void(TCustomForm*)>& Body) {
        auto old = SetModalHook([&](TCustomForm* F) {
            F->Show();
            Body(F);
            F->Hide();
            return int(mrClose);
        });
        Entry();
        SetModalHook(old);
    };
    const std::function<void()> entries[] = {[&] { DBGridProperties(grid, true, true, true, true); },
                                             [&] { DBGridCellParams(grid); }};
    for (const auto& entry : entries) {
        int width = 0;
        drive(entry, [&](TCustomForm* F) {
            // Both are dataset dialogs (one font, glyph buttons, help hook).
            EXPECT_NE(dynamic_cast<TrDBDlgBaseForm*>(F), nullptr) << F->Name().toStdString();
            // Within the test screen (800 x 600) and above both minimum sizes.
            F->SetBounds(40, 30, 700, 460);
            width = F->Width();
        });
        file.reset();
        file = open();
        drive(entry, [&](TCustomForm* F) {
            EXPECT_EQ(F->Left(), 40) << F->Name().toStdString();
            EXPECT_EQ(F->Top(), 30);
            EXPECT_EQ(F->Width(), width);
        });
    }
    // F1 asks the program's help hook for the dialog's page.
    QString asked;
    ParioCompConfig.Global_ProcOnHelp = [&asked](TCustomForm* F, int) { asked = F->HelpFile; };
    drive(entries[0], [](TCustomForm* F) { QTest::keyClick(F->Widget(), Qt::Key_F1); });
    ParioCompConfig.Global_ProcOnHelp = nullptr;
    EXPECT_EQ(asked, QStringLiteral("rdbgridprops.htm"));
}

TEST_F(RDBGridTest, PropertiesDialogSwitchesTheFilterPanelAndNamesTheFreezeCount)
{
    grid->OptionsEx2().Filters.FilterPanel = false;
    const int before = grid->GridClientRect().Height();
    WithDialog(grid, [&](TrDBGridPropsForm* d) {
        ASSERT_TRUE(d->chFilterPanel->Visible());
        EXPECT_FALSE(d->chFilterPanel->Checked());
        EXPECT_EQ(d->lFixedColsCount->Caption(), QStringLiteral("Count:"));
        QTest::mouseClick(d->chFilterPanel->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 10));
        EXPECT_TRUE(grid->OptionsEx2().Filters.FilterPanel);
        EXPECT_LT(grid->GridClientRect().Height(), before) << "the panel takes room from the rows";
    });
    WithDialog(grid, [&](TrDBGridPropsForm* d) { EXPECT_TRUE(d->chFilterPanel->Checked()); });
}
