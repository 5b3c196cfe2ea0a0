#pragma once
// TformResultBoard: the stay-on-top result board shown to the runners at the
// finish. While it is shown the finish works as a self-service automat: the
// board asks the runner to keep the card on the reader, shows the accepted
// run with its class standings, sounds for disqualified runs and rented
// cards, and after READ_DELAY seconds invites the next card and enables the
// reader again.

#include "components/framed/FcLabel.h"
#include "components/framed/FcPanel.h"
#include "data/vrkDataModule.h"
#include "platform/ui/Forms.h"

#include <QString>
#include <cstdint>

class TLabel;
class TCustomLabel;
class TTimer;
class TButton;
class TShape;

class TformResultBoard : public TForm {
public:
    explicit TformResultBoard(TComponent* AOwner);
    ~TformResultBoard() override;

    void ShowReadPanel();
    void HideReadPanel();
    void ShowNotInForest() { vcReadPanelType = QStringLiteral("NOT_IN_FOREST"); }
    // RunId: the run of the earlier read of the card, shown again instead of
    // the run shown last (0: the run shown last).
    void ShowSameChip(int64_t RunId = 0)
    {
        vcReadPanelType = QStringLiteral("SAME_CHIP");
        if (RunId != 0)
            nlastResultsClass_id = RunId;
    }
    void ShowResultData(int64_t ResultsClassId);
    // What ShowResultData read for the run it shows last.
    const TDataModule1::TResultBoardData& ShownData() const { return FShownData; }
    void HideResultData();
    bool ReadPanelVisible() const;

    // The waits in milliseconds for a READ_DELAY in seconds.
    static int ReadErrorWaitMs(int ReadDelay);
    static int NextCardWaitMs(int ReadDelay);

    // The buttons.
    void btnEnlargeClick(TComponent* Sender);
    void btnShrinkClick(TComponent* Sender);
    void btnCloseClick(TComponent* Sender);
    void btnProcessClick(TComponent* Sender);

    int nOriginalFormHeight = 0;
    int nOriginalFormWidth = 0;
    int nDesktopHeight = 0;
    int nDesktopWidth = 0;
    bool bExpanded = false;
    QString vcReadPanelType = QStringLiteral("NEXT");
    int64_t nlastResultsClass_id = 0;
    TColor cCurrentPlaceBgColor = clWhite;
    TColor cCurrentPlaceFontColor = clBlack;
    TColor cPlaceBgColor = clWhite;
    TColor cPlaceBgFontColor = clBlack;
    TColor cBgColor = clWhite;
    TColor cFontColor = clBlack;

    TLabel* lblSarja = nullptr;  // caption "Rata"
    TFcLabel* fcSarja = nullptr;
    TLabel* lblNimi = nullptr;  // caption "Nimi"
    TFcLabel* fcNimi = nullptr;
    TFcLabel* fcSeura = nullptr;
    TLabel* lblAika = nullptr;  // caption "Aika"
    TFcLabel* fcAika = nullptr;
    TFcLabel* fctila = nullptr;
    TFcLabel* fcSelite = nullptr;
    TFcPanel* fcpLainakortti = nullptr;
    TShape* shpFrame = nullptr;
    TFcPanel* fcpP[13] = {};
    TLabel* lblPSija[13] = {};
    TLabel* lblPNimi[13] = {};
    TLabel* lblPAika[13] = {};
    TLabel* lblPPlus[13] = {};
    TFcPanel* fcpReadPanel = nullptr;
    TLabel* lblReading = nullptr;
    TLabel* lblKeepCard = nullptr;
    TFcPanel* fcpNextChipPanel = nullptr;
    TButton* btnEnlarge = nullptr;
    TButton* btnShrink = nullptr;
    TButton* btnClose = nullptr;
    TButton* btnProcess = nullptr;
    TTimer* TimerShowButtons = nullptr;
    TTimer* TimerShowChipPanel = nullptr;
    TTimer* TimerShowReadPanel = nullptr;

    // The finish dialog is showing (the next-card wait then waits on); set by
    // the program to the finish dialog's state.
    std::function<bool()> FinishDialogShowing;

private:
    void FormShow(TComponent* Sender);
    void FormClose(TComponent* Sender, TCloseAction& Action);
    void BoardClick(TComponent* Sender);
    void TimerShowButtonsTimer(TComponent* Sender);
    void TimerShowChipPanelTimer(TComponent* Sender);
    void TimerShowReadPanelTimer(TComponent* Sender);
    void ApplyLook();
    void ShowButtons(bool Visible);
    void ShowDisplay(bool Visible);
    void SetNextChipText(const QString& Text, TColor Color, bool Bold);
    void RestartNextCardWait();
    void Scale(int M, int D);
    void BuildLayout();
    TDataModule1::TResultBoardData FShownData;
};

extern TformResultBoard* formResultBoard;
