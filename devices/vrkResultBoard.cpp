#include "devices/vrkResultBoard.h"

#include "app/vrkMainForm.h"
#include "data/vrkDataModule.h"
#include "devices/vrkEmitReader.h"
#include "components/framed/FcLabel.h"
#include "components/framed/FcPanel.h"
#include "devices/vrkFinishDeskHost.h"
#include "platform/os/Sound.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "resources/FinishDeskTexts.h"
#include "results/vrkResultsClass2.h"

#include <cmath>

TformResultBoard* formResultBoard = nullptr;

namespace {

constexpr int kBoardWidth = 1000;
constexpr int kBoardHeight = 720;
constexpr int kRowTop = 300;
constexpr int kRowHeight = 26;
const TColor kStatusGreen = RGB(0, 128, 0);
const TColor kNextPanelGrey = RGB(243, 243, 243);
const TColor kDarkRowText = RGB(160, 160, 164);

int ReadDelay()
{
    return formMain ? formMain->iChipReadDelay : 5;
}

void PlaySetting(int Setting)
{
    switch (Setting) {
    case 1:
        MessageBeep(MB_OK);
        break;
    case 2:
        MessageBeep(MB_ICONASTERISK);
        break;
    case 3:
        MessageBeep(MB_ICONEXCLAMATION);
        break;
    case 4:
        MessageBeep(MB_ICONHAND);
        break;
    default:
        break;
    }
}

}  // namespace

TformResultBoard::TformResultBoard(TComponent* AOwner) : TForm(AOwner)
{
    SetName(QStringLiteral("formResultBoard"));
    SetFormStyle(fsStayOnTop);
    SetBounds(0, 0, kBoardWidth, kBoardHeight);
    BuildLayout();
    OnShow = [this](TComponent* S) { FormShow(S); };
    OnClose = [this](TComponent* S, TCloseAction& A) { FormClose(S, A); };
    OnClick = [this](TComponent* S) { BoardClick(S); };
}

TformResultBoard::~TformResultBoard()
{
    if (formResultBoard == this)
        formResultBoard = nullptr;
}

void TformResultBoard::BuildLayout()
{
    auto place = [this](auto* l, TWinControl* Parent, int L, int T, int W, int H, int Size, bool Bold) {
        l->SetParent(Parent);
        l->SetAutoSize(false);
        l->SetBounds(L, T, W, H);
        l->Font()->SetSize(Size);
        l->Font()->SetStyle(Bold ? fsBold : 0);
        l->OnClick = [this](TComponent* S) { BoardClick(S); };
        return l;
    };
    auto label = [this, place](TWinControl* Parent, int L, int T, int W, int H, int Size, bool Bold) {
        return place(new TLabel(this), Parent, L, T, W, H, Size, Bold);
    };
    // The run's own texts are the large framed labels.
    auto fcLabel = [this, place](int L, int T, int W, int H, int Size, bool Bold) {
        return place(new TFcLabel(this), this, L, T, W, H, Size, Bold);
    };
    auto panel = [this](int L, int T, int W, int H) {
        auto* p = new TFcPanel(this);
        p->SetParent(this);
        p->SetBorderOuter(fsNone);
        p->ShowCaption = false;
        p->SetBounds(L, T, W, H);
        p->OnClick = [this](TComponent* S) { BoardClick(S); };
        return p;
    };
    lblSarja = label(this, 30, 20, 120, 34, 18, false);
    lblSarja->SetCaption(fdtxt::BoardCourse);
    fcSarja = fcLabel(160, 20, 560, 34, 20, true);
    lblNimi = label(this, 30, 62, 120, 34, 18, false);
    lblNimi->SetCaption(fdtxt::BoardName);
    fcNimi = fcLabel(160, 62, 800, 34, 20, true);
    fcSeura = fcLabel(160, 100, 800, 30, 16, false);
    lblAika = label(this, 30, 140, 120, 40, 18, false);
    lblAika->SetCaption(fdtxt::BoardTime);
    fcAika = fcLabel(160, 136, 300, 46, 28, true);
    fctila = fcLabel(480, 140, 480, 40, 22, true);
    fcSelite = fcLabel(160, 188, 800, 50, 12, false);
    fcSelite->Font()->SetStyle(fsItalic);
    fcSelite->SetWordWrap(true);
    shpFrame = new TShape(this);
    shpFrame->SetParent(this);
    shpFrame->SetBounds(20, 292, kBoardWidth - 40, 13 * kRowHeight + 16);
    shpFrame->Brush()->SetStyle(bsClear);
    fcpLainakortti = panel(600, 240, 370, 44);
    fcpLainakortti->ShowCaption = true;
    fcpLainakortti->SetCaption(fdtxt::RentedChipReturn);
    fcpLainakortti->SetColor(clRed);
    fcpLainakortti->Font()->SetColor(clWhite);
    fcpLainakortti->Font()->SetSize(16);
    fcpLainakortti->Font()->SetStyle(fsBold);
    for (int i = 0; i < 13; ++i) {
        TFcPanel* p = panel(30, kRowTop + i * kRowHeight, kBoardWidth - 60, kRowHeight - 2);
        p->SetName(QStringLiteral("fcpP%1").arg(i + 1));
        fcpP[i] = p;
        lblPSija[i] = label(p, 10, 3, 70, 22, 13, true);
        lblPNimi[i] = label(p, 90, 3, 520, 22, 13, false);
        lblPAika[i] = label(p, 620, 3, 140, 22, 13, false);
        lblPPlus[i] = label(p, 770, 3, 150, 22, 13, false);
        const QString row = QStringLiteral("lblP%1").arg(i + 1);
        lblPSija[i]->SetName(row + QStringLiteral("Sija"));
        lblPNimi[i]->SetName(row + QStringLiteral("Nimi"));
        lblPAika[i]->SetName(row + QStringLiteral("Aika"));
        lblPPlus[i]->SetName(row + QStringLiteral("Plus"));
    }
    // the read panel: a green frame around a white face
    fcpReadPanel = panel(150, 180, 700, 360);
    fcpReadPanel->SetName(QStringLiteral("fcpReadPanel"));
    fcpReadPanel->SetColor(kStatusGreen);
    fcpReadPanel->SetBorderOuter(fsFlatBold);
    fcpReadPanel->SetBorderColor(kStatusGreen);
    fcpReadPanel->SetBorderWidth(6);
    auto* face = new TPanel(this);
    face->SetParent(fcpReadPanel);
    face->SetBevelOuter(bvNone);
    face->ShowCaption = false;
    face->SetColor(clWhite);
    face->SetAlign(alClient);
    lblReading = label(face, 20, 100, 660, 50, 26, true);
    lblReading->Font()->SetColor(kStatusGreen);
    lblReading->SetAlignment(taCenter);
    lblKeepCard = label(face, 20, 180, 660, 80, 18, true);
    lblKeepCard->Font()->SetColor(clRed);
    lblKeepCard->SetAlignment(taCenter);
    lblKeepCard->SetWordWrap(true);
    fcpReadPanel->Hide();
    fcpNextChipPanel = panel(0, kBoardHeight - 60, kBoardWidth, 60);
    fcpNextChipPanel->SetName(QStringLiteral("fcpNextChipPanel"));
    fcpNextChipPanel->ShowCaption = true;
    fcpNextChipPanel->SetBorderWidth(3);
    fcpNextChipPanel->SetAlign(alBottom);
    fcpNextChipPanel->Font()->SetSize(18);
    fcpNextChipPanel->SetColor(clMoneyGreen);
    auto button = [this](const QString& Caption, int L, std::function<void(TComponent*)> Click) {
        auto* b = new TButton(this);
        b->SetParent(this);
        b->SetCaption(Caption);
        b->SetBounds(L, 4, 90, 28);
        b->OnClick = std::move(Click);
        b->Hide();
        return b;
    };
    btnEnlarge = button(QStringLiteral("Suurenna"), kBoardWidth - 380, [this](TComponent* S) { btnEnlargeClick(S); });
    btnShrink = button(QStringLiteral("Pienennä"), kBoardWidth - 285, [this](TComponent* S) { btnShrinkClick(S); });
    btnClose = button(QStringLiteral("Sulje"), kBoardWidth - 190, [this](TComponent* S) { btnCloseClick(S); });
    btnProcess = button(fdtxt::BoardProcess, kBoardWidth - 95, [this](TComponent* S) { btnProcessClick(S); });
    TimerShowButtons = new TTimer(this);
    TimerShowButtons->SetEnabled(false);
    TimerShowButtons->SetInterval(5000);
    TimerShowButtons->OnTimer = [this](TComponent* S) { TimerShowButtonsTimer(S); };
    TimerShowChipPanel = new TTimer(this);
    TimerShowChipPanel->SetEnabled(false);
    TimerShowChipPanel->SetInterval(5000);
    TimerShowChipPanel->OnTimer = [this](TComponent* S) { TimerShowChipPanelTimer(S); };
    TimerShowReadPanel = new TTimer(this);
    TimerShowReadPanel->SetEnabled(false);
    TimerShowReadPanel->OnTimer = [this](TComponent* S) { TimerShowReadPanelTimer(S); };
    // The result fields go by their field names (tests read them).
    const std::pair<TComponent*, const char*> named[] = {{fcSarja, "fcSarja"}, {fcNimi, "fcNimi"}, {fcSeura, "fcSeura"},
                                                         {fcAika, "fcAika"},   {fctila, "fctila"}, {fcSelite, "fcSelite"},
                                                         {fcpLainakortti, "fcpLainakortti"}};
    for (const auto& [component, name] : named)
        component->SetName(QString::fromLatin1(name));
}

int TformResultBoard::ReadErrorWaitMs(int ReadDelay)
{
    // READ_DELAY 0 or 1 would give no wait at all and end every read as an
    // error before the card is confirmed; one second is the least.
    const int seconds = ReadDelay >= 8 ? 4 : ReadDelay / 2;
    return std::max(seconds, 1) * 1000;
}

int TformResultBoard::NextCardWaitMs(int ReadDelay)
{
    // READ_DELAY 0 invites the next card at once (a timer of 0 ms would never
    // run and reading would stay off).
    return ReadDelay > 0 ? ReadDelay * 1000 : 1;
}

bool TformResultBoard::ReadPanelVisible() const
{
    return fcpReadPanel->Visible();
}

void TformResultBoard::FormShow(TComponent*)
{
    nOriginalFormHeight = Height();
    nOriginalFormWidth = Width();
    nDesktopHeight = Screen ? Screen->Height() : Height();
    nDesktopWidth = Screen ? Screen->Width() : Width();
    bExpanded = false;
    btnEnlarge->SetEnabled(true);
    btnShrink->SetEnabled(false);
    ShowButtons(false);
    SetCaption(fdtxt::BoardCaptionPrefix + (finishDeskHost ? finishDeskHost->GuidanceCaption() : QString()));
    lblReading->SetCaption(fdtxt::ReadingCard);
    lblKeepCard->SetCaption(fdtxt::KeepCardOnReader);
    fcpNextChipPanel->SetCaption(fdtxt::NextCard);
    vcReadPanelType = QStringLiteral("NEXT");
    nlastResultsClass_id = 0;
    HideResultData();
    TimerShowReadPanel->SetEnabled(false);
    fcpReadPanel->Hide();
    SetNextChipText(fdtxt::NextCard, clWindowText, false);
    fcpNextChipPanel->SetColor(clMoneyGreen);
    fcpNextChipPanel->Show();
    TimerShowChipPanel->SetEnabled(true);
    ApplyLook();
}

void TformResultBoard::ApplyLook()
{
    const bool light = !formMain || formMain->iResultBoardStyle == 0;
    cCurrentPlaceBgColor = light ? clMoneyGreen : clWhite;
    cCurrentPlaceFontColor = clBlack;
    cPlaceBgColor = light ? clWhite : clBlack;
    cPlaceBgFontColor = light ? clBlack : kDarkRowText;
    cBgColor = light ? clWhite : clBlack;
    cFontColor = light ? clBlack : clWhite;
    SetColor(cBgColor);
    for (TCustomLabel* l : std::initializer_list<TCustomLabel*>{lblSarja, fcSarja, lblNimi, fcNimi, fcSeura, lblAika, fcAika, fcSelite})
        l->Font()->SetColor(cFontColor);
    fcpP[0]->SetColor(light ? clWhite : clGrayText);
    fcpP[0]->SetBorderWidth(light ? 2 : 0);
    fcpP[0]->SetBorderOuter(light ? fsRaised : fsNone);
    fcpP[0]->SetBorderColor(light ? clGrayText : clWhite);
    shpFrame->Pen()->SetColor(light ? clGrayText : clWhite);
}

void TformResultBoard::ShowButtons(bool Visible)
{
    for (TButton* b : {btnEnlarge, btnShrink, btnClose, btnProcess})
        b->SetVisible(Visible);
}

void TformResultBoard::BoardClick(TComponent*)
{
    ShowButtons(true);
    TimerShowButtons->SetEnabled(false);
    TimerShowButtons->SetEnabled(true);
}

void TformResultBoard::TimerShowButtonsTimer(TComponent*)
{
    TimerShowButtons->SetEnabled(false);
    ShowButtons(false);
}

void TformResultBoard::ShowReadPanel()
{
    const int w = Width(), h = Height();
    fcpReadPanel->SetBounds(static_cast<int>(std::lround(w * 0.15)), static_cast<int>(std::lround(h * 0.25)),
                            w - static_cast<int>(std::lround(w * 0.3)), h - static_cast<int>(std::lround(h * 0.5)));
    HideResultData();
    fcpReadPanel->Show();
    lblReading->Show();
    lblKeepCard->Show();
    fcpNextChipPanel->Hide();
    vcReadPanelType = QStringLiteral("NEXT");
    TimerShowReadPanel->SetInterval(ReadErrorWaitMs(ReadDelay()));
    TimerShowChipPanel->SetEnabled(false);
    TimerShowReadPanel->SetEnabled(true);
}

void TformResultBoard::TimerShowReadPanelTimer(TComponent*)
{
    vcReadPanelType = QStringLiteral("READ_ERROR");
    TimerShowReadPanel->SetEnabled(false);
    HideReadPanel();
}

void TformResultBoard::SetNextChipText(const QString& Text, TColor Color, bool Bold)
{
    fcpNextChipPanel->SetCaption(Text);
    fcpNextChipPanel->Font()->SetColor(Color);
    fcpNextChipPanel->Font()->SetStyle(Bold ? fsBold : 0);
}

void TformResultBoard::RestartNextCardWait()
{
    TimerShowChipPanel->SetEnabled(false);
    TimerShowChipPanel->SetInterval(NextCardWaitMs(ReadDelay()));
    TimerShowChipPanel->SetEnabled(true);
}

void TformResultBoard::HideReadPanel()
{
    TimerShowReadPanel->SetEnabled(false);
    fcpReadPanel->Hide();
    fcpNextChipPanel->SetColor(kNextPanelGrey);
    if (vcReadPanelType == QLatin1String("NEXT")) {
        RestartNextCardWait();
    } else if (vcReadPanelType == QLatin1String("NOT_IN_FOREST")) {
        SetNextChipText(fdtxt::NotInForest, clRed, true);
        fcpNextChipPanel->Show();
        RestartNextCardWait();
    } else if (vcReadPanelType == QLatin1String("SAME_CHIP")) {
        SetNextChipText(fdtxt::SameChip, clRed, true);
        fcpNextChipPanel->Show();
        if (nlastResultsClass_id != 0)
            ShowResultData(nlastResultsClass_id);
        RestartNextCardWait();
    } else {
        SetNextChipText(fdtxt::ReadFailed, clRed, true);
        if (nlastResultsClass_id != 0)
            ShowResultData(nlastResultsClass_id);
        RestartNextCardWait();
        fcpNextChipPanel->Show();
    }
}

void TformResultBoard::TimerShowChipPanelTimer(TComponent*)
{
    if (FinishDialogShowing ? FinishDialogShowing() : (formResultsClass2 && formResultsClass2->Visible()))
        return;
    SetNextChipText(fdtxt::NextCard, clWindowText, false);
    fcpNextChipPanel->SetColor(clMoneyGreen);
    fcpNextChipPanel->Show();
    TimerShowChipPanel->SetEnabled(false);
    if (formEmitReader)
        formEmitReader->EnableDevice();
}

void TformResultBoard::ShowDisplay(bool Visible)
{
    for (TControl* c : std::initializer_list<TControl*>{lblSarja, fcSarja, lblNimi, fcNimi, fcSeura, lblAika, fcAika,
                                                         fctila, fcSelite, shpFrame})
        c->SetVisible(Visible);
    for (TFcPanel* p : fcpP)
        p->SetVisible(Visible);
}

void TformResultBoard::ShowResultData(int64_t ResultsClassId)
{
    nlastResultsClass_id = ResultsClassId;
    ShowDisplay(true);
    TDataModule1::TResultBoardData& d = FShownData;
    d = TDataModule1::TResultBoardData();
    if (DataModule1)
        DataModule1->getResultBoardData(ResultsClassId, d);
    fcSarja->SetCaption(d.sarja);
    fcNimi->SetCaption(d.personName);
    fcSeura->SetCaption(d.clubName);
    fcAika->SetCaption(d.timeStr);
    fctila->SetCaption(d.status);
    const bool normal = d.resultStatus == QLatin1String("0") || d.resultStatus == QLatin1String("5");
    fctila->Font()->SetColor(normal ? kStatusGreen : clRed);
    fcSelite->SetCaption(d.resultNotes);
    fcpLainakortti->SetVisible(d.rentedChip == QLatin1String("K"));
    for (int i = 0; i < 13; ++i) {
        const TDataModule1::TResultBoardRow& r = d.rows[i];
        lblPSija[i]->SetCaption(r.sija);
        lblPNimi[i]->SetCaption(r.nimi);
        lblPAika[i]->SetCaption(r.aika);
        lblPPlus[i]->SetCaption(r.plus);
        const bool own = !d.sija.isEmpty() && r.sija == d.sija;
        fcpP[i]->SetColor(own ? cCurrentPlaceBgColor : cPlaceBgColor);
        for (TLabel* l : {lblPSija[i], lblPNimi[i], lblPAika[i], lblPPlus[i]})
            l->Font()->SetColor(own ? cCurrentPlaceFontColor : cPlaceBgFontColor);
    }
    if (!normal)
        PlaySetting(formMain ? formMain->iResultBoardSound2 : 0);
    if (d.rentedChip == QLatin1String("K"))
        PlaySetting(formMain ? formMain->iResultBoardSound1 : 0);
    // The runner is looking at the board: paint it now, not after the
    // receipt and the closing of the finish dialog have had their turn.
    Update();
}

void TformResultBoard::HideResultData()
{
    for (TFcLabel* l : {fcSarja, fcNimi, fcSeura, fcAika, fctila, fcSelite})
        l->SetCaption(QString());
    for (int i = 0; i < 13; ++i)
        for (TLabel* l : {lblPSija[i], lblPNimi[i], lblPAika[i], lblPPlus[i]})
            l->SetCaption(QString());
    ShowDisplay(false);
    fcpLainakortti->Hide();
}

void TformResultBoard::Scale(int M, int D)
{
    if (D <= 0)
        return;
    SetBounds(Left(), Top(), Width() * M / D, Height() * M / D);
}

void TformResultBoard::btnEnlargeClick(TComponent*)
{
    Scale(nDesktopHeight, nOriginalFormHeight);
    bExpanded = true;
    btnEnlarge->SetEnabled(false);
    btnShrink->SetEnabled(true);
}

void TformResultBoard::btnShrinkClick(TComponent*)
{
    Scale(nOriginalFormHeight, nDesktopHeight);
    bExpanded = false;
    btnEnlarge->SetEnabled(true);
    btnShrink->SetEnabled(false);
}

void TformResultBoard::btnCloseClick(TComponent*)
{
    Close();
}

void TformResultBoard::FormClose(TComponent*, TCloseAction&)
{
    if (formMain)
        formMain->bResultBoardVisible = false;
    if (bExpanded)
        btnShrinkClick(this);
    TimerShowChipPanel->SetEnabled(false);
    TimerShowReadPanel->SetEnabled(false);
}

void TformResultBoard::btnProcessClick(TComponent*)
{
    const bool processing = formMain && formMain->nCurrentProcessedEvent != 0;
    formResultsClass2->vcChipString.clear();
    formResultsClass2->bNoChip = false;
    formResultsClass2->iResultsClassId = formMain ? formMain->nMainGridCurrentResultClassId : 0;
    if (processing && formEmitReader)
        formEmitReader->DisableDevice();
    TimerShowChipPanel->SetEnabled(false);
    formResultsClass2->ShowModal();
    RestartNextCardWait();
    if (processing && formEmitReader)
        formEmitReader->EnableDevice();
    if (formResultsClass2->iResultsClassId != 0)
        ShowResultData(formResultsClass2->iResultsClassId);
}
