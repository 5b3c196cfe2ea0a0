// A guard over every window of the program: no visible, enabled push button,
// tool button or menu item is without a handler, and every visible, enabled
// action of a window's action lists is reached by a control, a menu item or
// a shortcut. The main window is looked at as the operator meets it (an
// event processed, its grid and bars shown); the other windows as they open;
// the grid dialogs as the grid action module opens them on the results.

#include "tests/app_main/ControlReach.h"
#include "tests/app_main/WorkingMainWindow.h"

#include "app/vrkFirstUse.h"
#include "app/vrkMainForm.h"
#include "app/vrkSettings.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGridPropsForm.h"
#include "data/vrkEntities.h"
#include "devices/vrkEmitReader.h"
#include "devices/vrkResultBoard.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "results/vrkClub.h"
#include "results/vrkCourse.h"
#include "results/vrkNewClass.h"
#include "results/vrkPerson.h"
#include "results/vrkPersonMerge.h"
#include "results/vrkResultsClass2.h"
#include "results/vrkResultsClassForest.h"
#include "results/vrkSaldoMaksu.h"

#include <gtest/gtest.h>

namespace {

// Actions that no control of their own window reaches because another window
// offers them; each names that window, and a test below goes that way with
// the mouse, so a way that breaks is found.
const QStringList ReachedElsewhere = {
    // "Highlight of records..." is in neither the grid action module's menu
    // nor its bar: the table properties dialog's "Set conditions..." opens it
    // (HighlightOfRecordsThroughTheTableProperties).
    QStringLiteral("formMain.acoColor "),
};

std::string Lines(const QStringList& L)
{
    return L.join(QLatin1Char('\n')).toStdString();
}

// Opens a window as its caller would and looks at it; an opening that fails
// on the test data still leaves the window built to look at.
template <class TWindow>
QStringList Look(const std::function<void(TWindow&)>& Open)
{
    TWindow w(nullptr);
    // Created as the application creates its windows: loading finished.
    w.EndLoading();
    try {
        Open(w);
    } catch (const std::exception& e) {
        ADD_FAILURE() << w.Name().toStdString() << " did not open: " << e.what();
    }
    WorkingMainWindow::Settle();
    return HandlerFindings(&w, ReachedElsewhere);
}

}  // namespace

TEST(WindowHandlers, MainWindowWithItsBarsAndMenus)
{
    WorkingMainWindow m;
    EXPECT_TRUE(formMain->rDBToolBar->Visible());
    EXPECT_EQ(Lines(HandlerFindings(formMain, ReachedElsewhere)), "");
    // Without an event processed the same holds.
    formMain->nCurrentProcessedEvent = 0;
    formMain->refreshMainGrid();
    EXPECT_EQ(Lines(HandlerFindings(formMain, ReachedElsewhere)), "");
}

TEST(WindowHandlers, GridDialogsOfTheResults)
{
    WorkingMainWindow m;
    QStringList findings;
    QStringList opened;
    m.f.OnModal = [&](TCustomForm* F) {
        opened << F->Name();
        findings << HandlerFindings(F, ReachedElsewhere);
        return int(mrCancel);
    };
    TrDBAction& a = *m.Actions;
    int run = 0;
    for (TAction* act : {a.acoFind, a.acfFilterForm, a.acsSortDlg, a.accColumns, a.acfFilterLoad, a.acoProperties,
                         a.acoColor, a.acoExport, a.acoPrint, a.acoPrintDirect}) {
        act->Update();
        if (!act->Enabled())
            continue;
        ++run;
        act->Execute();
    }
    EXPECT_GE(run, 8);
    EXPECT_GE(opened.size(), 7) << Lines(opened);
    EXPECT_EQ(Lines(findings), "");
}

TEST(WindowHandlers, HighlightOfRecordsThroughTheTableProperties)
{
    WorkingMainWindow m;
    QStringList opened;
    bool offered = false;
    m.f.OnModal = [&](TCustomForm* F) {
        opened << F->Name();
        if (auto* props = dynamic_cast<TrDBGridPropsForm*>(F)) {
            offered = props->btColorRec->Visible() && props->btColorRec->Enabled();
            WorkingMainWindow::MouseClick(props->btColorRec);
        }
        return int(mrCancel);
    };
    m.Actions->acoProperties->Update();
    ASSERT_TRUE(m.Actions->acoProperties->Enabled());
    m.Actions->acoProperties->Execute();
    EXPECT_TRUE(offered);
    EXPECT_TRUE(opened.contains(QStringLiteral("TrDBGridCellParamsForm"))) << Lines(opened);
}

TEST(WindowHandlers, EveryOtherWindowAsItOpens)
{
    WorkingMainWindow m;
    QStringList findings;
    findings << Look<TformSettings>([](TformSettings& w) { w.Show(); });
    findings << Look<TFormFirstUse>([](TFormFirstUse& w) { w.Show(); });
    findings << Look<TFormEmitReader>([](TFormEmitReader& w) { w.Show(); });
    findings << Look<TformResultBoard>([](TformResultBoard& w) { w.Show(); });
    findings << Look<TformNewClass>([](TformNewClass& w) { w.Opening(); });
    findings << Look<TformClub>([](TformClub& w) {
        w.Run().iClubId = 501;
        w.Opening();
    });
    findings << Look<TformPerson>([](TformPerson& w) {
        w.Run().iPersonId = 1001;
        w.Run().vcChip = QStringLiteral("0");
        w.Opening();
    });
    findings << Look<TformCourse>([](TformCourse& w) {
        w.Run().iClassId = 301;
        w.Opening();
    });
    findings << Look<TformPersonMerge>([](TformPersonMerge& w) {
        w.Run().iPersonId = 1001;
        w.Opening();
    });
    findings << Look<TformSaldoMaksu>([](TformSaldoMaksu& w) { (void)w; });
    findings << Look<TformResultsClass2>([](TformResultsClass2& w) {
        w.vcChipString.clear();
        w.bNoChip = true;
        w.iResultsClassId = 900;
        w.Show();
    });
    findings << Look<TformResultsClassForest>([](TformResultsClassForest& w) {
        w.Run().iResultsClassId = 901;
        w.Show();
    });
    EXPECT_EQ(Lines(findings), "");
}

namespace {

template <class TWindow>
QStringList RowsOf(int& Spacers, const std::function<void(TWindow&)>& Open)
{
    TWindow w(nullptr);
    w.EndLoading();
    Open(w);
    WorkingMainWindow::Settle();
    return DialogRowFindings(&w, Spacers) + PlatformGroupBoxes(&w);
}

}  // namespace

TEST(WindowHandlers, DialogRowsSpacedInTheDialogsFontAndFramedBoxes)
{
    WorkingMainWindow m;
    int spacers = 0;
    QStringList findings;
    findings << RowsOf<TFormEmitReader>(spacers, [](TFormEmitReader& w) {
        w.SetRefreshAction(formMain->actLaitteetVirkista);
        w.Show();
    });
    findings << RowsOf<TformClub>(spacers, [](TformClub& w) {
        w.Run().iClubId = 501;
        w.Opening();
    });
    findings << RowsOf<TformPerson>(spacers, [](TformPerson& w) {
        w.Run().iPersonId = 1001;
        w.Run().vcChip = QStringLiteral("0");
        w.Opening();
    });
    findings << RowsOf<TformCourse>(spacers, [](TformCourse& w) {
        w.Run().iClassId = 301;
        w.Opening();
    });
    findings << RowsOf<TformResultsClass2>(spacers, [](TformResultsClass2& w) {
        w.bNoChip = true;
        w.iResultsClassId = 900;
        w.Show();
    });
    findings << RowsOf<TformResultsClassForest>(spacers, [](TformResultsClassForest& w) {
        w.Run().iResultsClassId = 901;
        w.Show();
    });
    EXPECT_EQ(Lines(findings), "");
    // device form 1, club 2, person 3, finish 1, check-in 3
    EXPECT_EQ(spacers, 10);
}
