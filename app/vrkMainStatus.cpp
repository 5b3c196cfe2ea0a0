// The guidance toolbar, the web status box with its message counters and
// stall test, and the synchronisation box.

#include "app/vrkMainForm.h"
#include "components/framed/FcLabel.h"
#include "components/base/rGroupBox.h"
#include "components/framed/FcToolButton.h"
#include "components/framed/FcToolbar.h"
#include "data/vrkEntities.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Splitter.h"
#include "platform/ui/StdCtrls.h"
#include "resources/MainWindowLayoutTexts.h"

#include <tuple>

namespace {


void StyleGuidanceText(TLabel* L, const QString& Text, TColor Color, int W, int H)
{
    L->SetCaption(Text);
    L->Font()->SetStyle(fsBold);
    L->Font()->SetColor(Color);
    L->SetBounds(L->Left(), L->Top(), W, H);
    L->SetVisible(true);
}

}  // namespace

// The web box minimised or restored: a change the program did not make
// itself is the operator's, remembered for the rest of the run.
void TformMain::gbWebTulospalveluMinimizeChange()
{
    if (!bWebTulospalveluChanged) {
        if (gbWebTulospalvelu->Minimized())
            bWebTulospalveluManualMin = true;
        else
            bWebTulospalveluManualMax = true;
    }
    bWebTulospalveluChanged = false;
}

// The tree box minimised gives its room to the boxes below and, during a web
// alert, shows the alert on its caption bar too.
void TformMain::FitTreeBox()
{
    if (grpNavTree && !grpNavTree->Minimized() && !grpNavTree->Minimizing())
        grpNavTree->SetHeight(pnlTreeArea->ClientHeight());
}

void TformMain::grpNavTreeMinimizeChange()
{
    FitTreeBox();
    splNavigation->SetEnabled(!grpNavTree->Minimized());
    if (grpNavTree->Minimized()) {
        if (bWebAlert) {
            grpNavTree->SetCaptionColor(clRed);
            grpNavTree->SetFrameColor(clRed);
        }
    } else {
        grpNavTree->SetCaptionColor(clActiveCaption);
        grpNavTree->SetFrameColor(clActiveCaption);
    }
}

// Each step's bar lays out what of it shows and fits its width to it; a
// step with nothing to show hides its bar. The bars then line up from the
// left in step order (placed by their left edges before the realignment).
void TformMain::FlowGuidance()
{
    int x = 0;
    for (auto [bar, icon, text] : {std::tuple{tlbMenu1, imgMenu1, lblMenu1}, std::tuple{tlbMenu2, imgMenu2, lblMenu2},
                                   std::tuple{tlbMenu3, imgMenu3, lblMenu3}}) {
        bar->Realign();
        bar->SetVisible(icon->Visible() || text->Visible());
        if (!bar->Visible())
            continue;
        bar->SetLeft(x);
        x += bar->Width();
    }
    grpMenu->Realign();
}

void TformMain::MenuShow(const QString& State, const QString& HelpText)
{
    ShowMenuState(State, HelpText);
    FlowGuidance();
    MirrorDeviceGuidance();
}

void TformMain::MirrorDeviceGuidance()
{
    if (OnDeviceGuidance)
        OnDeviceGuidance(bMenu3Visible, imgMenu3->Caption(), imgMenu3->Font()->Color(), lblMenu3->Caption());
}

void TformMain::ShowMenuState(const QString& State, const QString& HelpText)
{
    using namespace mwtxt;
    vcMenuStatus = State;
    vcMenuHelpText = HelpText;
    const bool step1 = State.startsWith(QLatin1String("MENU1_"));
    const bool step2 = State == QLatin1String("MENU2_EI_RATOJA") || State == QLatin1String("MENU2_ON_RATOJA");
    const bool step3 = State.startsWith(QLatin1String("MENU3_"));
    if (!step1 && !step2 && !step3)
        return;
    for (TControl* c : FMenu1Buttons)
        c->SetVisible(false);
    for (TControl* c : FMenu2Buttons)
        c->SetVisible(false);
    for (TControl* c : FMenu3Buttons)
        c->SetVisible(false);
    if (step1) {
        imgMenu1->SetCaption(QStringLiteral("?"));
        imgMenu1->Font()->SetColor(clHighlight);
        StyleGuidanceText(lblMenu1, Menu1Text, clRed, 166, 44);
        btnAloita->SetVisible(State == QLatin1String("MENU1_VALITTU"));
        for (TLabel* l : {imgMenu2, lblMenu2, imgMenu3, lblMenu3})
            l->SetVisible(false);
        bMenu1Visible = true;
        bMenu2Visible = false;
        bMenu3Visible = false;
        if (bResultBoardVisible && Windows.ResultBoard) {
            Windows.ResultBoard(false);
            bResultBoardVisible = false;
        }
        return;
    }
    imgMenu1->SetCaption(QStringLiteral("\u2714"));
    imgMenu1->Font()->SetColor(clGreen);
    const QString date = event ? DateToStr(event->event_date()) : QString();
    StyleGuidanceText(lblMenu1, date + QStringLiteral(" ") + (event ? event->event_name() : QString()), clHighlight, 250, 44);
    btnLopeta->SetVisible(true);
    btnValmis->SetVisible(true);
    imgMenu2->SetVisible(true);
    if (State == QLatin1String("MENU2_EI_RATOJA")) {
        imgMenu2->SetCaption(QStringLiteral("!"));
        imgMenu2->Font()->SetColor(clRed);
        StyleGuidanceText(lblMenu2, Menu2NoCourses, clRed, 166, 44);
        btnRadatUusi->SetVisible(true);
    } else {
        imgMenu2->SetCaption(QStringLiteral("\u2714"));
        imgMenu2->Font()->SetColor(clGreen);
        const int classes = processedEvent ? processedEvent->classess() : 0;
        StyleGuidanceText(lblMenu2, Menu2Courses + QStringLiteral(" ") + QString::number(classes), clHighlight, 80, 23);
        btnRadatMuokkaa->SetVisible(true);
        btnRadatUusi->SetVisible(true);
    }
    bMenu1Visible = true;
    bMenu2Visible = State == QLatin1String("MENU2_EI_RATOJA");
    bMenu3Visible = step3;
    if (!step3) {
        imgMenu3->SetVisible(false);
        lblMenu3->SetVisible(false);
        if (bResultBoardVisible && Windows.ResultBoard) {
            Windows.ResultBoard(false);
            bResultBoardVisible = false;
        }
        return;
    }
    struct TIcon {
        const char* State;
        const char16_t* Sign;
        TColor Color;
    };
    static const TIcon icons[] = {{"MENU3_EXLAMATION", u"!", clRed},
                                  {"MENU3_OK", u"\u2714", clGreen},
                                  {"MENU3_GRAY", u"\u2714", clGray},
                                  {"MENU3_QUESTION", u"?", clHighlight}};
    for (const TIcon& i : icons) {
        if (State == QLatin1String(i.State)) {
            imgMenu3->SetCaption(QString::fromUtf16(i.Sign));
            imgMenu3->Font()->SetColor(i.Color);
        }
    }
    imgMenu3->SetVisible(true);
    for (TControl* c : FMenu3Buttons)
        c->SetVisible(true);
    MenuRefresh();
}

void TformMain::MenuRefresh()
{
    if (!bMenu3Visible)
        return;
    StyleGuidanceText(lblMenu3, DeviceText ? DeviceText() : QStringLiteral("-: -\r\n-: -"), clHighlight, 190, 44);
    MirrorDeviceGuidance();
}

void TformMain::refreshMessageCounts(int Unsent, int NotReceived)
{
    if (edtLahettamatta->Text() != QString::number(Unsent))
        edtLahettamatta->SetText(QString::number(Unsent));
    if (edtVastaanottamatta->Text() != QString::number(NotReceived))
        edtVastaanottamatta->SetText(QString::number(NotReceived));
    const int t = Unsent + NotReceived;
    if (t > nWebEdTilanne)
        std::fill(std::begin(nWebLahettamatta), std::end(nWebLahettamatta), t + 1);
    const int oldest = nWebLahettamatta[29];
    for (int i = 29; i > 0; --i)
        nWebLahettamatta[i] = nWebLahettamatta[i - 1];
    nWebLahettamatta[0] = t;
    const bool moving = t < oldest || oldest <= 0;
    if (!moving) {
        WebTulospalveluShow();
        WebTulospalveluAlert();
    }
    if (Unsent > 10 || NotReceived > 10) {
        WebTulospalveluShow();
        WebTulospalveluAlert();
        edtLahettamatta->Font()->SetColor(Unsent > 10 ? clRed : clWindowText);
        edtVastaanottamatta->Font()->SetColor(NotReceived > 10 ? clRed : clWindowText);
    } else {
        edtLahettamatta->Font()->SetColor(clWindowText);
        edtVastaanottamatta->Font()->SetColor(clWindowText);
        if (bWebConnectionLost) {
            WebTulospalveluShow();
            WebTulospalveluAlert();
        } else {
            WebTulospalveluUnAlert();
            WebTulospalveluHide(5000);
        }
    }
    // The icons after the box: restoring it brings back its children as they
    // were when it was minimised.
    imgWebOK->SetVisible(moving && !bWebConnectionLost);
    imgWebExclamation->SetVisible(!moving || bWebConnectionLost);
    if (b_ready_pressed && t == 0 && !bWebConnectionLost) {
        lblWebMessage->SetCaption(QString());
        WebTulospalveluHide(5000);
    }
    nWebEdTilanne = t;
}

void TformMain::WebTulospalveluShow()
{
    if (gbWebTulospalvelu->Minimized() && !bWebTulospalveluManualMin) {
        bWebTulospalveluChanged = true;
        gbWebTulospalvelu->SetMinimized(false);
    }
}

void TformMain::WebTulospalveluHide(int DelayMs)
{
    if (gbWebTulospalvelu->Minimized() || bWebTulospalveluManualMax)
        return;
    if (DelayMs != 0) {
        TimerWebTulospalvelu->SetInterval(DelayMs);
        TimerWebTulospalvelu->SetEnabled(true);
        return;
    }
    bWebTulospalveluChanged = true;
    gbWebTulospalvelu->SetMinimized(true);
}

void TformMain::WebTulospalveluAlert()
{
    bWebAlert = true;
    gbWebTulospalvelu->SetCaptionColor(clRed);
    gbWebTulospalvelu->SetFrameColor(clRed);
    if (grpNavTree->Minimized()) {
        grpNavTree->SetCaptionColor(clRed);
        grpNavTree->SetFrameColor(clRed);
    }
}

void TformMain::WebTulospalveluUnAlert()
{
    bWebAlert = false;
    gbWebTulospalvelu->SetCaptionColor(RGB(0, 128, 0));
    gbWebTulospalvelu->SetFrameColor(RGB(0, 128, 0));
    grpNavTree->SetCaptionColor(clActiveCaption);
    grpNavTree->SetFrameColor(clActiveCaption);
}

void TformMain::SynkronointiActionShow()
{
    gbSynkronointiAction->SetVisible(true);
    gbSynkronointiAction->SetMinimized(false);
    imgSyncOK->SetVisible(false);
    imgSyncExclamation->SetVisible(false);
}

void TformMain::SynkronointiActionHide(int DelayMs)
{
    if (gbSynkronointiAction->Minimized())
        return;
    if (DelayMs != 0) {
        TimerSynkronointiAction->SetInterval(DelayMs);
        TimerSynkronointiAction->SetEnabled(true);
        return;
    }
    gbSynkronointiAction->SetMinimized(true);
    lblActionMessage->SetCaption(QString());
    gbSynkronointiAction->SetVisible(false);
}

void TformMain::SynkronointiActionOK()
{
    imgSyncOK->SetVisible(true);
    imgSyncExclamation->SetVisible(false);
    SynkronointiActionHide(5000);
}

void TformMain::SynkronointiActionERROR()
{
    imgSyncExclamation->SetVisible(true);
    imgSyncOK->SetVisible(false);
}

void TformMain::ResetWebBoxes()
{
    std::fill(std::begin(nWebLahettamatta), std::end(nWebLahettamatta), 0);
    nWebEdTilanne = 0;
    WebTulospalveluHide(0);
    SynkronointiActionHide(0);
}
