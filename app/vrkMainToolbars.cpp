// The main window's tool bars: the guidance steps' buttons, the tree's bar
// and the results grid's bar, framed tool buttons over the window's actions
// with the glyphs drawn for them.

#include "app/vrkMainForm.h"
#include "app/vrkMainMake.h"
#include "app/vrkMainGlyphs.h"
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

// A tool button of its own size under its action: the glyph above the
// caption, raised, in the visual style of the platform.
TFcToolButton* MakeToolButton(TComponent* Owner, TWinControl* Parent, const char* Name, TAction* Action, int W, int Glyph)
{
    auto* b = Make<TFcToolButton>(Owner, Parent, Name);
    b->SetUseToolbarButtonSize(false);
    b->SetUseToolbarVisualStyle(false);
    b->SetUseToolbarButtonLayout(false);
    b->SetUseToolbarShowCaption(false);
    b->SetLayout(blGlyphTop);
    b->SetShowCaption(true);
    b->SetFlat(false);
    b->SetVisualStyle(vsWinXP);
    b->SetGradientColorStyle(gcsSystem);
    // The glyph rides on the action, which the button follows.
    Action->SetImageIndex(Glyph);
    b->SetAction(Action);
    b->SetBounds(0, 0, W, 50);
    return b;
}

// A tool bar that lays its buttons out in one row of 50-pixel buttons.
TFcToolbar* MakeToolbar(TComponent* Owner, TWinControl* Parent, const char* Name, TImageList* Images)
{
    auto* t = Make<TFcToolbar>(Owner, Parent, Name);
    t->SetAlign(alTop);
    t->SetImages(Images);
    t->SetShowButtonCaptions(true);
    t->SetButtonLayout(blGlyphTop);
    t->SetWrapControls(false);
    t->SetCaption(QString());
    return t;
}

}  // namespace

void TformMain::BuildGuidanceButtons(TWinControl* Parent)
{
    ilMain = MakeMainGlyphs(this);
    ilMain->SetName(QStringLiteral("ilMain"));
    auto button = [&](TFcToolButton*& B, const char* Name, TAction* A, int W, int Glyph) {
        B = MakeToolButton(this, Parent, Name, A, W, Glyph);
        B->SetImages(ilMain);
        B->SetTop(5);
    };
    button(btnAloita, "btnAloita", actMaaliAloita, 72, mgStart);
    button(btnLopeta, "btnLopeta", actMaaliLopeta, 72, mgStop);
    button(btnValmis, "btnValmis", actMaaliValmis, 72, mgReady);
    button(btnRadatMuokkaa, "btnRadatMuokkaa", actRadatMuokkaa, 72, mgCourseEdit);
    button(btnRadatUusi, "btnRadatUusi", actRadatUusi, 60, mgCourseNew);
    button(btnLaitteetVirkista, "btnLaitteetVirkista", actLaitteetVirkista, 100, mgDevicesRefresh);
    button(btnLaitteet, "btnLaitteet", actMaaliEmitLukija, 72, mgDevices);
    button(btnTulos, "btnTulos", actResultBoard, 60, mgBoard);
    FMenu1Buttons = {btnAloita, btnLopeta, btnValmis};
    FMenu2Buttons = {btnRadatMuokkaa, btnRadatUusi};
    FMenu3Buttons = {btnLaitteetVirkista, btnLaitteet, btnTulos};
}

void TformMain::BuildTreeToolbar()
{
    // The tree's own bar: flat buttons taking their size and look from it.
    fctlbrMainTree = MakeToolbar(this, grpNavTree, "fctlbrMainTree", ilMain);
    fctlbrMainTree->SetVisualStyle(vsGradient);
    fctlbrMainTree->SetButtonWidth(70);
    fctlbrMainTree->SetButtonHeight(44);
    fctlbrMainTree->SetRowHeight(46);
    fctlbrMainTree->SetHeight(48);
    auto button = [this](const char* Name, TAction* A, int Glyph) {
        auto* b = Make<TFcToolButton>(this, fctlbrMainTree, Name);
        A->SetImageIndex(Glyph);
        b->SetAction(A);
    };
    button("btnTreeRefresh", actMainTreeRefresh, mgRefresh);
    button("btnTreeCollapse", actMainTreeCollapse, mgCollapse);
    button("btnTreeExpand", actMainTreeExpand, mgExpand);
    button("btnTreeSettings", actSettings, mgSettings);
}

void TformMain::BuildGridToolbar()
{
    using namespace mwtxt;
    fctlbrMainGrid = MakeToolbar(this, grpMainAreaDetails, "fctlbrMainGrid", ilMain);
    fctlbrMainGrid->SetRowHeight(54);
    fctlbrMainGrid->SetHeight(58);
    auto button = [this](const char* Name, TAction* A, int Glyph) {
        MakeToolButton(this, fctlbrMainGrid, Name, A, 60, Glyph)->SetImages(ilMain);
    };
    button("btnGridEdit", actMainGridEdit, mgEdit);
    button("btnGridNew", actMainGridNew, mgNew);
    button("btnGridDelete", actMainGridDelete, mgDelete);
    button("btnGridNewTest", actMainGridNewTest, mgTest);
    button("btnGridRefresh", actMainGridRefresh, mgRefresh);
    button("btnGridPrint", actMainGridPrintBadge, mgPrint);
    button("btnGridMerge", actMainGridMergePerson, mgMerge);
    button("btnGridToResult", actMainGridToResult, mgToResult);
    chkAutoRefresh = Make<TCheckBox>(this, fctlbrMainGrid, "chkAutoRefresh");
    chkAutoRefresh->SetCaption(Automaattivirkistys);
    chkAutoRefresh->SetHint(AutomaattivirkistysHint);
    chkAutoRefresh->SetBounds(0, 0, 160, 50);
    chkAutoRefresh->SetChecked(true);
}
