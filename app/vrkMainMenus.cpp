// The main window's context menus and the grid action module's place on it:
// the results grid's menu (the program's entries and the module's), the
// module's tool bar above the grid, its shortcuts on the window, and the
// trees' menu whose entries follow the actions they run.

#include "app/vrkMainForm.h"
#include "components/base/rGroupBox.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/framed/FcToolbar.h"
#include "components/grid/TrDBAction.h"
#include "components/grid/rDBGrid.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"
#include "resources/MainWindowLayoutTexts.h"

#include <memory>
#include <vector>

namespace {

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const char* Name)
{
    auto* m = new TMenuItem(Owner);
    m->SetName(QString::fromLatin1(Name));
    Parent->Add(m);
    return m;
}

void AddLine(TComponent* Owner, TMenuItem* Parent)
{
    auto* m = new TMenuItem(Owner);
    m->SetCaption(QStringLiteral("-"));
    Parent->Add(m);
}

// A tree menu entry with its own caption that runs an action; it is offered
// when the action is enabled and, for the processing steps, only while the
// guidance offers the same step (no "Aloita" while an event is processed).
struct TMirroredItem {
    TMenuItem* Item;
    TAction* Action;
    TControl* GuidanceButton;
};

}  // namespace

void TformMain::BuildMenus()
{
    using namespace mwtxt;
    pmMainGrid = new TPopupMenu(this);
    pmMainGrid->SetName(QStringLiteral("pmMainGrid"));
    TMenuItem* g = pmMainGrid->Items();
    AddItem(this, g, "miGridRefresh")->SetAction(actMainGridRefresh);
    AddLine(this, g);
    AddItem(this, g, "miGridEdit")->SetAction(actMainGridEdit);
    AddItem(this, g, "miGridToResult")->SetAction(actMainGridToResult);
    AddItem(this, g, "miGridEditPerson")->SetAction(actMainGridEditPerson);
    AddItem(this, g, "miGridMergePerson")->SetAction(actMainGridMergePerson);
    AddItem(this, g, "miGridNew")->SetAction(actMainGridNew);
    AddItem(this, g, "miGridDelete")->SetAction(actMainGridDelete);
    rdbgrdResultsClass->SetPopupMenu(pmMainGrid);
    if (rDBAction) {
        AddLine(this, g);
        rDBAction->AddDBToolMenu(g);
        // The module's bar stands beside the program's own grid bar (below
        // it when the window is too narrow for both) and shows with it.
        rDBToolBar = rDBAction->CreateToolBar(fctlbrMainGrid);
        rDBToolBar->SetName(QStringLiteral("rDBToolBar"));
        FitModuleBar();
        rDBToolBar->SetVisible(false);
        // After the window's own list: F5 is the window's "Virkistä".
        AddActionList(rDBAction->ActList);
    }

    pmMainTree = new TPopupMenu(this);
    pmMainTree->SetName(QStringLiteral("pmMainTree"));
    TMenuItem* t = pmMainTree->Items();
    AddItem(this, t, "miTreeRefresh")->SetAction(actMainTreeRefresh);
    AddLine(this, t);
    TMenuItem* edit = AddItem(this, t, "miTreeEdit");
    edit->SetAction(actMainTreeEdit);
    edit->SetDefault(true);
    AddItem(this, t, "miTreeMergePerson")->SetAction(actMainTreeMergePerson);
    AddItem(this, t, "miTreeAdd")->SetAction(actMainTreeAdd);
    AddLine(this, t);
    auto mirrored = std::make_shared<std::vector<TMirroredItem>>();
    auto mirror = [&](const char* Name, const QString& Caption, TAction* Action, TControl* GuidanceButton) {
        TMenuItem* m = AddItem(this, t, Name);
        m->SetCaption(Caption);
        m->OnClick = [Action](TComponent*) { Action->Execute(); };
        mirrored->push_back({m, Action, GuidanceButton});
    };
    // The guidance's first step: "Aloita", "Lopeta", "Valmis".
    mirror("miTreeStart", TreeAloita, actMaaliAloita, FMenu1Buttons.at(0));
    mirror("miTreeStop", TreeLopeta, actMaaliLopeta, FMenu1Buttons.at(1));
    mirror("miTreeReady", TreeValmis, actMaaliValmis, FMenu1Buttons.at(2));
    mirror("miTreeReader", TreeEmitLukija, actMaaliEmitLukija, nullptr);
    pmMainTree->OnPopup = [mirrored](TComponent*) {
        for (const TMirroredItem& m : *mirrored) {
            m.Action->Update();
            m.Item->SetEnabled(m.Action->Enabled() && (!m.GuidanceButton || m.GuidanceButton->Visible()));
        }
    };
    for (TrDBTreeView* tree : {tvMainTree, tvMainTreeEvent}) {
        tree->SetPopupMenu(pmMainTree);
        tree->OnContextPopup = [this, tree](TComponent*, TPoint MousePos, bool&) { TreeContextPopup(tree, MousePos); };
    }
}

void TformMain::TreeContextPopup(TrDBTreeView* Tree, const TPoint& MousePos)
{
    // A right click acts on the node it was made on, as a left click would
    // have chosen it (keyboard-opened menus keep the selection).
    if (MousePos.X < 0 || MousePos.Y < 0)
        return;
    if (TTreeNode* node = Tree->GetNodeAt(MousePos.X, MousePos.Y); node && node != Tree->Selected())
        Tree->SetSelected(node);
}

// The module's bar is one control of the grid bar, as wide as all its
// buttons (the module shows and hides them as the grid allows).
void TformMain::FitModuleBar()
{
    rDBToolBar->SetAlign(alNone);
    int width = 0;
    for (int i = 0; i < rDBToolBar->ControlCount(); ++i)
        width += rDBToolBar->Controls(i)->Width();
    rDBToolBar->SetBounds(0, 0, width + 2, rDBToolBar->ButtonHeight() + 4);
    rDBToolBar->Realign();
    fctlbrMainGrid->Realign();
}

void TformMain::ActivateMainGrid()
{
    if (rDBAction)
        rDBAction->SetActiveGrid(rdbgrdResultsClass);
}

void TformMain::ShowGridBars(bool Show)
{
    fctlbrMainGrid->SetVisible(Show);
    if (rDBToolBar) {
        rDBToolBar->SetVisible(Show);
        FitModuleBar();
    }
}
