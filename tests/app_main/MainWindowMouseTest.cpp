// The main window worked with the mouse and keyboard as an operator works
// it: the results to a workbook from the grid action module's bar, a receipt
// from the program's grid bar, the trees' and the grid's context menus, the
// module's shortcuts on the window, and the test entry.

#include "tests/app_main/WorkingMainWindow.h"

#include "app/vrkMainForm.h"
#include "components/base/rGroupBox.h"
#include "components/base/rTabControlEx.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/framed/FcPanel.h"
#include "components/framed/FcToolbar.h"
#include "components/grid/rDBGrid.h"
#include "components/output/rDBExport.h"
#include "data/vrkEntities.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Splitter.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"
#include "tests/output/XlsxReadBack.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TControl* ButtonOf(TWinControl* Bar, const TBasicAction* Action)
{
    for (int i = 0; i < Bar->ControlCount(); ++i)
        if (Bar->Controls(i)->Action() == Action)
            return Bar->Controls(i);
    return nullptr;
}

// The captions of a menu's shown items as the operator sees them ("-" lines).
QStringList Captions(TMenuItem* Items)
{
    QStringList out;
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Items(i)->Visible())
            out << Items->Items(i)->Caption();
    return out;
}

TMenuItem* ItemCaptioned(TMenuItem* Items, const QString& Caption)
{
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->Items(i)->Caption() == Caption)
            return Items->Items(i);
    return nullptr;
}

// A right click on a control at a point: the window system's context menu
// event, with the popped-up menu handed to Chosen instead of shown.
void RightClick(TControl* Control, const QPoint& At, const std::function<void(TPopupMenu*)>& Chosen)
{
    auto old = TPopupMenu::PopupHook;
    TPopupMenu::PopupHook = Chosen;
    QWidget* w = Control->Widget();
    QContextMenuEvent e(QContextMenuEvent::Mouse, At, w->mapToGlobal(At));
    QApplication::sendEvent(w, &e);
    TPopupMenu::PopupHook = old;
}

}  // namespace

TEST(MainWindowMouse, ResultsToAWorkbookFromTheGridBar)
{
    WorkingMainWindow m;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("tulokset.xlsx"));
    bool exported = false;
    m.f.OnModal = [&](TCustomForm* F) {
        auto* f = dynamic_cast<TrDBExportForm*>(F);
        if (!f)
            return int(mrOk);
        f->SetKind(ekExcel);
        f->cbAction_nostore->SetItemIndex(aaNone);  // save only
        f->btOkClick();
        exported = true;
        return int(mrCancel);
    };
    auto oldFiles = SetCommonDialogHook([&](TCommonDialog* D, QString&) {
        if (auto* o = dynamic_cast<TOpenDialog*>(D)) {
            o->FileName = file;
            return true;
        }
        return false;
    });
    TControl* button = ButtonOf(formMain->rDBToolBar, m.Actions->acoExport);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->Visible() && button->Enabled());
    WorkingMainWindow::MouseClick(button);
    WorkingMainWindow::Settle();
    SetCommonDialogHook(oldFiles);
    ASSERT_TRUE(exported);
    ASSERT_TRUE(QFileInfo::exists(file)) << m.f.Boxes.join(QLatin1Char('|')).toStdString();
    const TXlsxReadBack book = ReadXlsx(file);
    QStringList texts;
    for (auto it = book.Cells.begin(); it != book.Cells.end(); ++it)
        texts << it.value().Value;
    EXPECT_TRUE(texts.contains(QStringLiteral("Virtanen Matti"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Korhonen Anna")));
}

TEST(MainWindowMouse, PrintButtonPrintsTheChosenRunsReceipt)
{
    WorkingMainWindow m;
    QList<int64_t> printed;
    formMain->Windows.PrintBadge = [&](int64_t Id) { printed << Id; };
    DataModule1->fbQueryResultsCFD->Locate(QStringLiteral("RESULTS_CLASS_ID"), QVariant::fromValue<qlonglong>(900));
    formMain->refreshMainGrid();
    TControl* button = ButtonOf(formMain->fctlbrMainGrid, formMain->actMainGridPrintBadge);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->Enabled());
    WorkingMainWindow::MouseClick(button);
    WorkingMainWindow::Settle();
    EXPECT_EQ(printed, QList<int64_t>{900});
}

TEST(MainWindowMouse, GridMenuHoldsTheProgramsEntriesAndTheModules)
{
    WorkingMainWindow m;
    QStringList seen;
    RightClick(formMain->rdbgrdResultsClass, QPoint(60, 60), [&](TPopupMenu* P) { seen = Captions(P->Items()); });
    using namespace mwtxt;
    ASSERT_GE(seen.size(), 9);
    EXPECT_EQ(seen.mid(0, 8).join(QLatin1Char('|')).toStdString(),
              QStringList({Virkista, QStringLiteral("-"), Muokkaa, Kirjaa, MuokkaaHenkilo, YhdistaHenkilot, KirjaaUusi, Poista})
                  .join(QLatin1Char('|'))
                  .toStdString());
    EXPECT_TRUE(seen.contains(QStringLiteral("Find record...")));
    EXPECT_TRUE(seen.contains(QStringLiteral("Export and update data")));
    // "Muokkaa henkilön tietoja" opens the person editor for the row's runner.
    QList<int64_t> persons;
    formMain->Windows.PersonEditor = [&](int64_t Id) {
        persons << Id;
        return false;
    };
    DataModule1->fbQueryResultsCFD->Locate(QStringLiteral("RESULTS_CLASS_ID"), QVariant::fromValue<qlonglong>(900));
    formMain->refreshMainGrid();
    RightClick(formMain->rdbgrdResultsClass, QPoint(60, 60),
               [&](TPopupMenu* P) { ItemCaptioned(P->Items(), MuokkaaHenkilo)->Click(); });
    EXPECT_EQ(persons, QList<int64_t>{1001});
}

TEST(MainWindowMouse, TreeMenuChoosesTheNodeUnderThePointerFirst)
{
    WorkingMainWindow m;
    formMain->nCurrentProcessedEvent = 0;
    TrDBTreeView* t = formMain->tvMainTree;
    t->FullExpand();
    // The series node lies on the first line; the event is selected now.
    TTreeNode* series = t->Items()->Root(0);
    ASSERT_NE(t->Selected(), series);
    QStringList seen;
    RightClick(t, QPoint(30, 8), [&](TPopupMenu* P) {
        if (P->OnPopup)
            P->OnPopup(P);
        seen = Captions(P->Items());
    });
    EXPECT_EQ(t->Selected(), series);
    EXPECT_EQ(formMain->vcCurrentNodeType, QStringLiteral("EVENT_SERIES"));
    EXPECT_EQ(formMain->grpNavTree->Caption(), QString());
    // A series node has nothing to edit: "Muokkaa" stays hidden.
    using namespace mwtxt;
    seen.removeAll(QStringLiteral("-"));
    EXPECT_EQ(seen.join(QLatin1Char('|')).toStdString(),
              QStringList({Virkista, TreeAloita, TreeLopeta, TreeValmis, TreeEmitLukija}).join(QLatin1Char('|')).toStdString());
    // "Emit -lukija" opens the device form.
    int devices = 0;
    formMain->Windows.DeviceForm = [&] { ++devices; };
    RightClick(t, QPoint(30, 8), [&](TPopupMenu* P) { ItemCaptioned(P->Items(), TreeEmitLukija)->Click(); });
    EXPECT_EQ(devices, 1);
}

// A double click on a tree is "Muokkaa" only where "Muokkaa" is offered: a
// title node does nothing, a person of the processed series opens the
// person editor for that person.
TEST(MainWindowMouse, TreeDoubleClickEditsWhereMuokkaaIsOffered)
{
    WorkingMainWindow m;
    TrDBTreeView* t = formMain->tvMainTreeEvent;
    // The processed event's tree, as "Aloita" leaves it.
    formMain->ShowEventTree();
    formMain->refreshMainTreeEvent();
    t->FullExpand();
    WorkingMainWindow::Settle();
    TTreeNode* title = nullptr;
    for (TTreeNode* n = t->Items()->Count() ? t->Items()->Item(0) : nullptr; n; n = n->GetNext())
        if (n->Text() == mwtxt::Henkilot)
            title = n;
    ASSERT_TRUE(title && title->GetFirstChild());
    TTreeNode* first = title->GetFirstChild();
    QList<int64_t> edited;
    formMain->Windows.PersonEditor = [&](int64_t Id) {
        edited << Id;
        return false;
    };
    auto doubleClick = [t](TTreeNode* N) {
        const TRect r = N->DisplayRect(true);
        realinput::Click(t, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), true);
        WorkingMainWindow::Settle();
    };
    doubleClick(first);
    EXPECT_EQ(t->Selected(), first);
    EXPECT_EQ(formMain->vcCurrentNodeType, QStringLiteral("PERSON"));
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited.at(0), ::person->person_id());
    EXPECT_GT(edited.at(0), 0);
    // (A title's double click also folds it; it is made last.)
    doubleClick(title);
    EXPECT_EQ(t->Selected(), title);
    EXPECT_EQ(edited.size(), 1);
}

TEST(MainWindowMouse, ModuleShortcutsReachTheResultsFromTheWindow)
{
    WorkingMainWindow m;
    int finds = 0;
    m.Actions->Dialogs.Find = [&](TrDBGrid*) {
        ++finds;
        return false;
    };
    formMain->rdbgrdResultsClass->SetFocus();
    QTest::keyClick(formMain->rdbgrdResultsClass->Widget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(finds, 1);
    // F5 stays the window's own "Virkistä" (the grid is requeried).
    m.f.Data.Exec(QStringLiteral("insert into VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, CONTROL_CARD, RESULT_STATUS, PERSON_NAME)"
                                 " values (902, 100, '077777', 'M', 'Uusi Juoksija');"),
                  true);
    QTest::keyClick(formMain->tvMainTree->Widget(), Qt::Key_F5);
    EXPECT_EQ(DataModule1->fbQueryResultsCFD->RecordCount(), 3);
}

TEST(MainWindowMouse, TestEntryDispatchesATypedCardAndHides)
{
    WorkingMainWindow m;
    formMain->ShowTestAction(true);
    formMain->refreshMainGrid();
    QStringList dispatched;
    formMain->Windows.ChipString = [&](const QString& S) { dispatched << S; };
    TControl* button = ButtonOf(formMain->fctlbrMainGrid, formMain->actMainGridNewTest);
    ASSERT_NE(button, nullptr);
    WorkingMainWindow::MouseClick(button);
    WorkingMainWindow::Settle();
    ASSERT_TRUE(formMain->fcpnlMainGrid->Visible());
    EXPECT_TRUE(formMain->edtChipString->Focused());
    QTest::keyClicks(formMain->edtChipString->Widget(), QStringLiteral("1,2,3,012345"));
    WorkingMainWindow::MouseClick(formMain->btnChipStringOK);
    WorkingMainWindow::Settle();
    EXPECT_EQ(dispatched, QStringList{QStringLiteral("1,2,3,012345")});
    EXPECT_FALSE(formMain->fcpnlMainGrid->Visible());
}

TEST(MainWindowMouse, LastResultBoxCollapsesWhenEmptied)
{
    WorkingMainWindow m;
    formMain->grpLastResult->SetMinimized(false);
    formMain->tabKasittely->SetTabIndex(0);
    formMain->tabKasittelyChange();
    EXPECT_TRUE(formMain->grpLastResult->Minimized());
    EXPECT_EQ(formMain->lblNimi->Caption(), QString());
}

// The program's framed bars: the gradient look, groups set apart by spacers,
// the grid bar's short captions kept through the actions' updates, the tree
// menu's default entry, and the splitter beside the navigation side dragged
// with the mouse.
TEST(MainWindowMouse, FramedBarsAndTheSplitter)
{
    WorkingMainWindow m;
    int bars = 0;
    for (int i = 0; i < formMain->ComponentCount(); ++i)
        if (auto* bar = dynamic_cast<TFcToolbar*>(formMain->Components(i))) {
            ++bars;
            EXPECT_EQ(bar->VisualStyle(), vsGradient) << bar->Name().toStdString();
        }
    EXPECT_EQ(bars, 5);
    int spacers = 0;
    for (int i = 0; i < formMain->fctlbrMainGrid->ControlCount(); ++i)
        spacers += dynamic_cast<TFcSpacer*>(formMain->fctlbrMainGrid->Controls(i)) != nullptr;
    EXPECT_EQ(spacers, 4);

    auto captionOf = [](const char* Name) { return formMain->FindComponent(QString::fromLatin1(Name)); };
    formMain->refreshMainGrid();
    formMain->actMainGridNew->SetCaption(mwtxt::KirjaaUusi);
    WorkingMainWindow::Settle();
    EXPECT_EQ(dynamic_cast<TControl*>(captionOf("btnGridNew"))->Caption(), mwtxt::Uusi);
    EXPECT_EQ(dynamic_cast<TControl*>(captionOf("btnGridMerge"))->Caption(), mwtxt::Yhdista);
    EXPECT_EQ(formMain->actMainGridNew->Caption(), mwtxt::KirjaaUusi);
    EXPECT_TRUE(ItemCaptioned(formMain->pmMainTree->Items(), mwtxt::Muokkaa)->Default());

    // Dragging the splitter by 80 pixels widens the navigation side by as much.
    const int before = formMain->pnlLeft->Width();
    QWidget* w = formMain->splNavigation->Widget();
    const QPoint at(1, 100);
    const QPoint to = w->mapToGlobal(at + QPoint(80, 0));
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(80, 0)), QPointF(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, w->mapFromGlobal(to));
    WorkingMainWindow::Settle();
    EXPECT_EQ(formMain->pnlLeft->Width(), before + 80);
    EXPECT_EQ(formMain->splNavigation->Left(), formMain->pnlLeft->Width());
}

// The results grid keeps its vertical scroll bar even while two runs fit in
// it, with and without the horizontal bar, and across a requery.
TEST(MainWindowMouse, ResultsGridKeepsItsVerticalScrollBar)
{
    WorkingMainWindow m;
    TrDBGrid* g = formMain->rdbgrdResultsClass;
    auto shown = [g](Qt::Orientation O) {
        for (QScrollBar* b : g->Widget()->findChildren<QScrollBar*>())
            if (b->orientation() == O && b->isVisibleTo(g->Widget()))
                return true;
        return false;
    };
    WorkingMainWindow::Settle();
    ASSERT_TRUE(g->Visible());
    ASSERT_EQ(DataModule1->fbQueryResultsCFD->RecordCount(), 2);
    ASSERT_LT(g->CellRect(1, g->RowCount() - 1).Bottom, g->ClientHeight() / 2) << "the runs fill not half the grid";
    EXPECT_TRUE(shown(Qt::Vertical)) << "every run fits, the bar still shows";
    for (bool hide : {true, false}) {
        g->OptionsEx2().Appearance.HideHScrollBar = hide;
        formMain->refreshMainGrid();
        WorkingMainWindow::Settle();
        EXPECT_TRUE(shown(Qt::Vertical)) << hide;
        if (hide)
            EXPECT_FALSE(shown(Qt::Horizontal));
    }
}
