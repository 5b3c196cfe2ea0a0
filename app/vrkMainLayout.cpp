// The main window's controls: the guidance toolbar on top, the navigation
// side (trees, desk tabs with the event counters, the web status and
// synchronisation boxes) on the left, the results side (grid tool bar, last
// result box, results grid) on the right, and the actions they share.

#include "app/vrkMainForm.h"
#include "app/vrkMainGlyphs.h"
#include "app/vrkMainMake.h"
#include "app/vrkProgramToolbars.h"
#include "components/base/rGroupBox.h"
#include "components/base/rTabControlEx.h"
#include "components/dbcontrols/TrDBTreeView.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcToolbar.h"
#include "components/grid/rDBGrid.h"
#include "components/grid/rDBGridSorter.h"
#include "data/vrkDataModule.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Splitter.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

namespace {

using mainwin::Make;

TLabel* MakeLabel(TComponent* Owner, TWinControl* Parent, const char* Name, const QString& Text, int L, int T)
{
    auto* l = Make<TLabel>(Owner, Parent, Name);
    l->SetCaption(Text);
    // Only placed: an auto-sized label takes its width from its text.
    l->SetLeft(L);
    l->SetTop(T);
    return l;
}

// A state icon of the guidance and the status boxes: a bold sign in its colour.
TLabel* MakeIcon(TComponent* Owner, TWinControl* Parent, const char* Name, const QString& Sign, TColor Color, int L, int T)
{
    TLabel* l = MakeLabel(Owner, Parent, Name, Sign, L, T);
    l->Font()->SetSize(14);
    l->Font()->SetStyle(fsBold);
    l->Font()->SetColor(Color);
    return l;
}

// A collapsible box with the round minimise button on its caption bar.
TrGroupBox* MakeBox(TComponent* Owner, TWinControl* Parent, const char* Name)
{
    auto* b = Make<TrGroupBox>(Owner, Parent, Name);
    b->SetMinMaxBtnType(mmbRound);
    return b;
}

// A message line of the status boxes: red bold text, word-wrapped and
// centred, over the box's own colour.
TFcLabel* MakeMessageLine(TComponent* Owner, TWinControl* Parent, const char* Name, const TRect& R)
{
    auto* l = Make<TFcLabel>(Owner, Parent, Name);
    l->SetAutoSize(false);
    l->SetWordWrap(true);
    l->SetAlignment(taCenter);
    l->SetColor(clWhite);
    l->SetTransparent(true);
    l->Font()->SetColor(clRed);
    l->Font()->SetStyle(fsBold);
    l->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    return l;
}

// The alert colours the boxes' captions only: what lies inside keeps its own.
void KeepOwnFonts(TWinControl* Box)
{
    for (int i = 0; i < Box->ControlCount(); ++i)
        Box->Controls(i)->SetParentFont(false);
}

}  // namespace

void TformMain::BuildLayout()
{
    BuildActions();
    BuildStatusBar();
    BuildGuidance();
    BuildNavigation();
    BuildResults();
    BuildLayoutSaving();
    BuildTrees();
    BuildGridColumns();
    BuildTestEntry();
    BuildMenus();
    // F5 released on the window itself (no control of it focused) also
    // brings the operator into the grid.
    OnKeyUp = [this](TComponent* Sender, Word& Key, TShiftState) {
        if (Key == VK_F5 && Sender == this && bResultsGridVisible && rdbgrdResultsClass->CanFocus()) {
            rdbgrdResultsClass->SetFocus();
            refreshMainGrid();
        }
    };
    KeepOwnFonts(gbWebTulospalvelu);
    KeepOwnFonts(grpNavTree);
}

void TformMain::BuildActions()
{
    alMain = new TActionList(this);
    alMain->SetName(QStringLiteral("alMain"));
    auto act = [this](TAction*& A, const char* Name, const QString& Caption, const QString& Hint,
                      std::function<void()> Run) {
        A = new TAction(this);
        A->SetName(QString::fromLatin1(Name));
        A->SetCaption(Caption);
        A->SetHint(Hint);
        A->SetActionList(alMain);
        A->OnExecute = [Run](TComponent*) { Run(); };
    };
    using namespace mwtxt;
    act(actMaaliAloita, "actMaaliAloita", Aloita, AloitaHint, [this] { actMaaliAloitaExecute(); });
    act(actMaaliLopeta, "actMaaliLopeta", Lopeta, LopetaHint, [this] { actMaaliLopetaExecute(); });
    act(actMaaliValmis, "actMaaliValmis", Valmis, QString(), [this] { actMaaliValmisExecute(); });
    act(actRadatMuokkaa, "actRadatMuokkaa", Muokkaa, RadatMuokkaaHint, [this] { RadatMuokkaa(); });
    act(actRadatUusi, "actRadatUusi", Uusi, RadatUusiHint, [this] { RadatUusi(); });
    act(actRadatTuo, "actRadatTuo", Tuo, QString(), [] { NotImplementedBox(); });
    actRadatTuo->SetVisible(false);
    actRadatTuo->SetEnabled(false);
    act(actLaitteetVirkista, "actLaitteetVirkista", VirkistaLaitteet, QString(), [this] { RefreshDevices(); });
    act(actMaaliEmitLukija, "actMaaliEmitLukija", Laitteet, LaitteetHint, [this] { ShowDeviceForm(); });
    act(actResultBoard, "actResultBoard", Tulos, QString(), [this] { actResultBoardExecute(); });
    act(actSettings, "actSettings", Asetukset, AsetuksetHint, [this] { ShowSettings(); });
    act(actMainTreeEdit, "actMainTreeEdit", Muokkaa, QString(), [this] { treeEdit(); });
    act(actMainTreeMergePerson, "actMainTreeMergePerson", YhdistaHenkilot, YhdistaHenkilotHint, [this] { treeMerge(); });
    act(actMainTreeAdd, "actMainTreeAdd", Lisaa, QString(), [this] { treeAdd(); });
    act(actMainTreeRefresh, "actMainTreeRefresh", Virkista, VirkistaPuuHint, [this] { treeRefresh(); });
    act(actMainTreeCollapse, "actMainTreeCollapse", Kutista, KutistaHint, [this] { CurrentTree()->FullCollapse(); });
    act(actMainTreeExpand, "actMainTreeExpand", Laajenna, LaajennaHint, [this] { CurrentTree()->FullExpand(); });
    act(actMainGridEdit, "actMainGridEdit", Muokkaa, GridEditHint, [this] { GridEdit(false); });
    act(actMainGridNew, "actMainGridNew", KirjaaUusi, GridNewHint, [this] { GridNew(); });
    act(actMainGridDelete, "actMainGridDelete", Poista, GridDeleteHint, [this] { actMainGridDeleteExecute(); });
    act(actMainGridNewTest, "actMainGridNewTest", UusiTest, UusiTestHint, [this] { GridNewTest(); });
    act(actMainGridRefresh, "actMainGridRefresh", Virkista, GridRefreshHint, [this] { refreshMainGrid(); });
    actMainGridRefresh->SetShortCut(ShortCut(VK_F5, 0));
    act(actMainGridPrintBadge, "actMainGridPrintBadge", Tulosta, GridPrintHint, [this] { GridPrintBadge(); });
    act(actMainGridMergePerson, "actMainGridMergePerson", YhdistaHenkilot, QString(), [this] { GridMergePerson(); });
    act(actMainGridToResult, "actMainGridToResult", Kirjaa, QString(), [this] { GridToResult(); });
    act(actMainGridEditPerson, "actMainGridEditPerson", MuokkaaHenkilo, QString(), [this] { GridEditPerson(); });
    AddActionList(alMain);
}

void TformMain::BuildGuidance()
{
    using namespace mwtxt;
    ilMain = MakeMainGlyphs(this);
    ilMain->SetName(QStringLiteral("ilMain"));
    grpMenu = Make<TPanel>(this, this, "grpMenu");
    grpMenu->SetAlign(alTop);
    grpMenu->SetHeight(58);
    grpMenu->SetCaption(QString());
    grpMenu->SetBevelOuter(bvNone);
    // Each step's bar lists its icon, its text and then its buttons; the bar
    // fits its width to what shows.
    auto step = [this](TFcToolbar*& Bar, const char* Name, int Left) {
        Bar = progbars::MakeToolbar(this, grpMenu, Name, ilMain, 50);
        Bar->SetAlign(alLeft);
        Bar->SetLeft(Left);
        return Bar;
    };
    step(tlbMenu1, "tlbMenu1", 0);
    imgMenu1 = MakeIcon(this, tlbMenu1, "imgMenu1", QStringLiteral("?"), clHighlight, 0, 0);
    lblMenu1 = MakeLabel(this, tlbMenu1, "lblMenu1", QString(), 0, 0);
    lblMenu1->SetAutoSize(false);
    lblMenu1->SetLayout(tlCenter);
    lblMenu1->SetWordWrap(true);
    lblMenu1->SetBounds(0, 0, 166, 44);
    step(tlbMenu2, "tlbMenu2", 1);
    imgMenu2 = MakeIcon(this, tlbMenu2, "imgMenu2", QString(), clRed, 0, 0);
    lblMenu2 = MakeLabel(this, tlbMenu2, "lblMenu2", QString(), 0, 0);
    lblMenu2->SetAutoSize(false);
    lblMenu2->SetLayout(tlCenter);
    lblMenu2->SetWordWrap(true);
    lblMenu2->SetBounds(0, 0, 166, 44);
    step(tlbMenu3, "tlbMenu3", 2);
    imgMenu3 = MakeIcon(this, tlbMenu3, "imgMenu3", QStringLiteral("?"), clHighlight, 0, 0);
    imgMenu3->SetHint(Menu3IconHint);
    imgMenu3->SetShowHint(true);
    lblMenu3 = MakeLabel(this, tlbMenu3, "lblMenu3", QString(), 0, 0);
    lblMenu3->SetAutoSize(false);
    lblMenu3->SetLayout(tlCenter);
    lblMenu3->SetBounds(0, 0, 190, 44);
    BuildGuidanceButtons();
}

void TformMain::BuildNavigation()
{
    using namespace mwtxt;
    pnlLeft = Make<TPanel>(this, this, "pnlLeft");
    pnlLeft->SetAlign(alLeft);
    pnlLeft->SetWidth(320);
    pnlLeft->SetBevelOuter(bvNone);
    pnlLeft->SetCaption(QString());
    splNavigation = Make<TSplitter>(this, this, "splNavigation");
    splNavigation->SetLeft(pnlLeft->Left() + pnlLeft->Width());
    splNavigation->SetWidth(4);
    splNavigation->SetMinSize(200);
    splNavigation->SetAlign(alLeft);

    tabKasittely = Make<TrTabControlEx>(this, pnlLeft, "tabKasittely");
    // Bottom-aligned controls stack by their tops: the desk tabs above the
    // web status box above the synchronisation box.
    tabKasittely->SetBounds(0, 500, 320, 104);
    tabKasittely->SetAlign(alBottom);
    tabKasittely->SetTabs({Lahto, Maali});
    // The desk panels lie on the tab control itself; the chosen tab decides
    // which of them shows.
    pnlLahto = Make<TPanel>(this, tabKasittely, "pnlLahto");
    pnlLahto->SetCaption(Lahto);
    pnlLahto->SetAlign(alClient);
    pnlMTR = Make<TPanel>(this, tabKasittely, "pnlMTR");
    pnlMTR->SetAlign(alClient);
    pnlMTR->SetVisible(false);
    pnlMaali = Make<TPanel>(this, tabKasittely, "pnlMaali");
    pnlMaali->SetCaption(QString());
    pnlMaali->SetAlign(alClient);
    pnlMaali->SetBevelOuter(bvNone);
    lblSuorituksia = MakeLabel(this, pnlMaali, "lblSuorituksia", QString(), 10, 6);
    lblMaastossa = MakeLabel(this, pnlMaali, "lblMaastossa", QString(), 10, 26);
    lblHyl = MakeLabel(this, pnlMaali, "lblHyl", QString(), 160, 6);
    lblKesk = MakeLabel(this, pnlMaali, "lblKesk", QString(), 160, 26);
    lblEAikaa = MakeLabel(this, pnlMaali, "lblEAikaa", QString(), 160, 46);
    tabKasittely->OnChange = [this](TComponent*) { tabKasittelyChange(); };

    gbWebTulospalvelu = MakeBox(this, pnlLeft, "gbWebTulospalvelu");
    gbWebTulospalvelu->SetCaption(WebTulospalvelu);
    gbWebTulospalvelu->SetHint(WebTulospalveluHint);
    gbWebTulospalvelu->SetBounds(0, 610, 320, 92);
    gbWebTulospalvelu->SetAlign(alBottom);
    gbWebTulospalvelu->OnMinimizeChange = [this](TComponent*) { gbWebTulospalveluMinimizeChange(); };
    imgWebOK = MakeIcon(this, gbWebTulospalvelu, "imgWebOK", QStringLiteral("\u2714"), clGreen, 10, 22);
    imgWebExclamation = MakeIcon(this, gbWebTulospalvelu, "imgWebExclamation", QStringLiteral("!"), clRed, 10, 22);
    lblWebMessage = MakeMessageLine(this, gbWebTulospalvelu, "lblWebMessage", TRect(36, 20, 310, 40));
    MakeLabel(this, gbWebTulospalvelu, "lblLahettamatta", Lahettamatta, 36, 44);
    edtLahettamatta = Make<TEdit>(this, gbWebTulospalvelu, "edtLahettamatta");
    edtLahettamatta->SetBounds(160, 40, 60, 22);
    edtLahettamatta->SetReadOnly(true);
    edtLahettamatta->SetHint(LahettamattaHint);
    MakeLabel(this, gbWebTulospalvelu, "lblVastaanottamatta", Vastaanottamatta, 36, 68);
    edtVastaanottamatta = Make<TEdit>(this, gbWebTulospalvelu, "edtVastaanottamatta");
    edtVastaanottamatta->SetBounds(160, 64, 60, 22);
    edtVastaanottamatta->SetReadOnly(true);
    edtVastaanottamatta->SetHint(VastaanottamattaHint);

    gbSynkronointiAction = MakeBox(this, pnlLeft, "gbSynkronointiAction");
    gbSynkronointiAction->SetCaption(Datasynkronointi);
    gbSynkronointiAction->SetBounds(0, 710, 320, 64);
    gbSynkronointiAction->SetAlign(alBottom);
    imgSyncExclamation = MakeIcon(this, gbSynkronointiAction, "imgSyncExclamation", QStringLiteral("!"), clRed, 10, 24);
    imgSyncOK = MakeIcon(this, gbSynkronointiAction, "imgSyncOK", QStringLiteral("\u2714"), clGreen, 10, 24);
    lblActionMessage = MakeMessageLine(this, gbSynkronointiAction, "lblActionMessage", TRect(36, 20, 306, 60));

    gbNotification = MakeBox(this, pnlLeft, "gbNotification");
    gbNotification->SetCaption(Ilmoitus);
    gbNotification->SetBounds(0, 540, 320, 100);
    gbNotification->SetAlign(alBottom);
    gbNotification->SetVisible(false);
    lblNotification = MakeLabel(this, gbNotification, "lblNotification", QString(), 10, 22);
    lblNotification->SetAutoSize(false);
    lblNotification->SetWordWrap(true);
    lblNotification->SetBounds(10, 22, 300, 44);
    buttonNotification = Make<TButton>(this, gbNotification, "buttonNotification");
    buttonNotification->SetCaption(Valmis);
    buttonNotification->SetBounds(230, 68, 80, 25);
    buttonNotification->SetEnabled(false);
    buttonNotification->OnClick = [this](TComponent*) { buttonNotificationClick(); };

    pnlTreeArea = Make<TPanel>(this, pnlLeft, "pnlTreeArea");
    pnlTreeArea->SetAlign(alClient);
    pnlTreeArea->SetBevelOuter(bvNone);
    pnlTreeArea->SetCaption(QString());
    pnlTreeArea->OnResize = [this](TComponent*) { FitTreeBox(); };
    grpNavTree = MakeBox(this, pnlTreeArea, "grpNavTree");
    grpNavTree->SetCaption(Navigaatiopuu);
    grpNavTree->SetAlign(alTop);
    grpNavTree->OnMinimizeChange = [this](TComponent*) { grpNavTreeMinimizeChange(); };
    BuildTreeToolbar();
}


void TformMain::BuildResults()
{
    using namespace mwtxt;
    // A group box (its state is kept between runs) without caption bar or frame.
    grpMainAreaDetails = Make<TrGroupBox>(this, this, "grpMainAreaDetails");
    grpMainAreaDetails->SetAlign(alClient);
    grpMainAreaDetails->SetCaption(QString());
    grpMainAreaDetails->SetCaptionHeight(0);
    grpMainAreaDetails->SetFrameType(ftNone);
    grpMainAreaDetails->SetMinMaxBtnType(mmbNone);

    BuildGridToolbar();

    grpLastResult = MakeBox(this, grpMainAreaDetails, "grpLastResult");
    grpLastResult->SetCaption(ViimeisinKasitelty);
    grpLastResult->SetAlign(alTop);
    grpLastResult->SetHeight(70);
    lblSarja = MakeLabel(this, grpLastResult, "lblSarja", QString(), 10, 22);
    lblNimi = MakeLabel(this, grpLastResult, "lblNimi", QString(), 10, 44);
    lblSeura = MakeLabel(this, grpLastResult, "lblSeura", QString(), 260, 44);
    lblAika = MakeLabel(this, grpLastResult, "lblAika", QString(), 520, 22);
    lblTulos = MakeLabel(this, grpLastResult, "lblTulos", QString(), 520, 44);
    for (TLabel* l : {lblSarja, lblNimi, lblSeura, lblAika, lblTulos})
        l->Font()->SetStyle(fsBold);

    rdbgrdResultsClass = Make<TrDBGrid>(this, grpMainAreaDetails, "rdbgrdResultsClass");
    rDBGridSorter_FireDac1 = new TrDBGridSorter_FireDac(this);
    rDBGridSorter_FireDac1->SetName(QStringLiteral("rDBGridSorter_FireDac1"));
    rdbgrdResultsClass->SetSorter(rDBGridSorter_FireDac1);
    rdbgrdResultsClass->SetAlign(alClient);
    rdbgrdResultsClass->Tag = 129;
    rdbgrdResultsClass->SetHint(Suoritukset);

    auto timer = [this](TTimer*& T, const char* Name, int Ms, std::function<void()> Fire) {
        T = new TTimer(this);
        T->SetName(QString::fromLatin1(Name));
        T->SetEnabled(false);
        T->SetInterval(Ms);
        T->OnTimer = [Fire](TComponent*) { Fire(); };
    };
    timer(TimerMainFormShow, "TimerMainFormShow", 1000, [this] {
        TimerMainFormShow->SetEnabled(false);
        MainWebLinkCalendar();
    });
    timer(TimerWebTulospalvelu, "TimerWebTulospalvelu", 5000, [this] {
        TimerWebTulospalvelu->SetEnabled(false);
        bWebTulospalveluChanged = true;
        gbWebTulospalvelu->SetMinimized(true);
    });
    timer(TimerSynkronointiAction, "TimerSynkronointiAction", 5000, [this] {
        gbSynkronointiAction->SetMinimized(true);
        TimerSynkronointiAction->SetEnabled(false);
        lblActionMessage->SetCaption(QString());
        gbSynkronointiAction->SetVisible(false);
    });
    timer(TimerRefreshMainTreeEvent, "TimerRefreshMainTreeEvent", 3000, [this] {
        TimerRefreshMainTreeEvent->SetEnabled(false);
        refreshMainTreeEvent();
    });
    timer(TimerViimeisinKasitelty, "TimerViimeisinKasitelty", 5000, [this] {
        TimerViimeisinKasitelty->SetEnabled(false);
        grpLastResult->SetColor(clBtnFace);
        grpLastResult->SetCaption(ViimeisinKasitelty);
    });
}

void TformMain::InitialLayoutState()
{
    grpMainAreaDetails->SetVisible(false);
    bResultsGridVisible = false;
    tabKasittely->SetTabIndex(1);
    pnlLahto->SetVisible(false);
    pnlMTR->SetVisible(false);
    pnlMaali->SetVisible(true);
    vc_main_function = QStringLiteral("MAALI");
    vc_last_result_action = QStringLiteral("EI");
    nCurrentProcessedEvent = 0;
    nCurrentProcessedEventS = 0;
    nCurrentProcessedEventSSeason = 0;
    ActivateMainGrid();
}
