#pragma once
// The picture editor window: the picture large with zoom and fit, "Restore
// original", and brightness, contrast and colour balance. Modal with OK and
// Cancel it writes the edited picture back; otherwise it only shows.

#include "components/base/rImageZoom.h"
#include "components/base/rdlg_baseform.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/TrackBar.h"

#include <memory>

class TrImageEditForm : public TrDlgBaseForm {
public:
    explicit TrImageEditForm(TComponent* AOwner);
    ~TrImageEditForm() override;
    TrImageZoom* Img;
    TPopupMenu* pmImg;
    TPanel* Panel5;
    TLabel* Label6;
    // One group: the button of the page shown stays down.
    TSpeedButton* bt1;
    TSpeedButton* bt2;
    TLabel* btReload;
    TrButton* btZoomIn;
    TrButton* btZoomOut;
    TrButton* btZoomFit;
    // Its tabs are hidden: the speed buttons choose the page.
    TPageControl* pcEdit;
    TTabSheet* ts1;
    TTabSheet* ts2;
    TTrackBar* trBrAll;
    TTrackBar* trContr;
    TTrackBar* trBrR;
    TTrackBar* trBrG;
    TTrackBar* trBrB;
    TrButton* btClose;
    TBitmap OrigBmp;
    bool Changing = false;

    // Shows the starting picture again and puts every track bar at 0.
    void ReloadBmp();
    void TrackBarChange(TComponent* Sender);
    void ShowPage(int Page);
    // The window's last bounds, taken by the next editor window of the run.
    static TRect LastPos;

private:
    TTrackBar* AddTrack(TWinControl* Parent, const QString& Caption, int Top, int Min, int Max, int Page, int Tick);
};

// Target = Source with each channel value v made Round(exp(Contrast / 50) *
// (v + shift - 127) + 127), limited to 0 to 255.
void ChangeBrightContr(const TBitmap* Source, TBitmap* Target, int ShiftR, int Contrast, int ShiftB, int ShiftG);
