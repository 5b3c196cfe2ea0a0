// The main window's tool bars: the guidance steps' buttons, the tree's bar
// and the results grid's bar, framed tool buttons over the window's actions
// with the glyphs drawn for them and spacers between their groups.

#include "app/vrkMainForm.h"
#include "app/vrkMainMake.h"
#include "app/vrkMainGlyphs.h"
#include "app/vrkProgramToolbars.h"
#include "components/base/rGroupBox.h"
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbar.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

namespace {

using mainwin::Make;

TFcToolButton* MakeToolButton(TComponent* Owner, TWinControl* Parent, const char* Name, TAction* Action, int W, int Glyph)
{
    return progbars::MakeButton(Owner, Parent, Name, Action, W, 50, Glyph, DisabledGlyph(TMainGlyph(Glyph)));
}

}  // namespace

void TformMain::BuildGuidanceButtons()
{
    auto button = [&](TFcToolButton*& B, TFcToolbar* Bar, const char* Name, TAction* A, int W, int Glyph) {
        B = MakeToolButton(this, Bar, Name, A, W, Glyph);
    };
    progbars::AddSpacer(this, tlbMenu1, "spcMenu1");
    button(btnAloita, tlbMenu1, "btnAloita", actMaaliAloita, 72, mgStart);
    button(btnLopeta, tlbMenu1, "btnLopeta", actMaaliLopeta, 72, mgStop);
    button(btnValmis, tlbMenu1, "btnValmis", actMaaliValmis, 72, mgReady);
    progbars::AddSpacer(this, tlbMenu2, "spcMenu2");
    button(btnRadatMuokkaa, tlbMenu2, "btnRadatMuokkaa", actRadatMuokkaa, 80, mgCourseEdit);
    button(btnRadatUusi, tlbMenu2, "btnRadatUusi", actRadatUusi, 60, mgCourseNew);
    progbars::AddSpacer(this, tlbMenu3, "spcMenu3");
    button(btnLaitteetVirkista, tlbMenu3, "btnLaitteetVirkista", actLaitteetVirkista, 144, mgDevicesRefresh);
    button(btnLaitteet, tlbMenu3, "btnLaitteet", actMaaliEmitLukija, 80, mgDevices);
    button(btnTulos, tlbMenu3, "btnTulos", actResultBoard, 60, mgBoard);
    FMenu1Buttons = {btnAloita, btnLopeta, btnValmis};
    FMenu2Buttons = {btnRadatMuokkaa, btnRadatUusi};
    FMenu3Buttons = {btnLaitteetVirkista, btnLaitteet, btnTulos};
}

void TformMain::BuildTreeToolbar()
{
    // The tree's own bar: flat buttons taking their size and look from it.
    fctlbrMainTree = progbars::MakeToolbar(this, grpNavTree, "fctlbrMainTree", ilMain, 46);
    fctlbrMainTree->SetButtonWidth(70);
    fctlbrMainTree->SetButtonHeight(44);
    auto button = [this](const char* Name, TAction* A, int Glyph) {
        auto* b = Make<TFcToolButton>(this, fctlbrMainTree, Name);
        A->SetImageIndex(Glyph);
        b->SetAction(A);
        b->SetDisabledIndex(DisabledGlyph(TMainGlyph(Glyph)));
    };
    button("btnTreeRefresh", actMainTreeRefresh, mgRefresh);
    progbars::AddSpacer(this, fctlbrMainTree, "spcTree1", 9);
    button("btnTreeCollapse", actMainTreeCollapse, mgCollapse);
    button("btnTreeExpand", actMainTreeExpand, mgExpand);
    progbars::AddSpacer(this, fctlbrMainTree, "spcTree2", 9);
    button("btnTreeSettings", actSettings, mgSettings);
}

void TformMain::BuildGridToolbar()
{
    using namespace mwtxt;
    fctlbrMainGrid = progbars::MakeToolbar(this, grpMainAreaDetails, "fctlbrMainGrid", ilMain, 50);
    // The grid action module's bar follows on this bar; on a narrow window
    // it takes a row of its own.
    fctlbrMainGrid->SetWrapControls(true);
    auto button = [this](const char* Name, TAction* A, int W, int Glyph) { MakeToolButton(this, fctlbrMainGrid, Name, A, W, Glyph); };
    // The bar's captions are short; the menu keeps the actions' longer ones.
    auto own = [this](const char* Name, TAction* A, const QString& Caption, int Glyph) {
        progbars::MakeOwnCaptionButton(this, fctlbrMainGrid, Name, A, Caption, 72, 50, Glyph, DisabledGlyph(TMainGlyph(Glyph)));
    };
    button("btnGridEdit", actMainGridEdit, 80, mgEdit);
    own("btnGridNew", actMainGridNew, Uusi, mgNew);
    button("btnGridDelete", actMainGridDelete, 72, mgDelete);
    progbars::AddSpacer(this, fctlbrMainGrid, "spcGrid1");
    button("btnGridNewTest", actMainGridNewTest, 90, mgTest);
    progbars::AddSpacer(this, fctlbrMainGrid, "spcGrid2");
    button("btnGridRefresh", actMainGridRefresh, 72, mgRefresh);
    button("btnGridPrint", actMainGridPrintBadge, 72, mgPrint);
    progbars::AddSpacer(this, fctlbrMainGrid, "spcGrid3");
    own("btnGridMerge", actMainGridMergePerson, Yhdista, mgMerge);
    button("btnGridToResult", actMainGridToResult, 72, mgToResult);
    progbars::AddSpacer(this, fctlbrMainGrid, "spcGrid4", 12);
    chkAutoRefresh = Make<TCheckBox>(this, fctlbrMainGrid, "chkAutoRefresh");
    chkAutoRefresh->SetCaption(Automaattivirkistys);
    chkAutoRefresh->SetHint(AutomaattivirkistysHint);
    chkAutoRefresh->SetBounds(0, 0, 170, 40);
    chkAutoRefresh->SetChecked(true);
}
