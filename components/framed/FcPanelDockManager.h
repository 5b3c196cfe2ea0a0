#pragma once
// Docking into a framed panel: the docked clients share the panel, each
// under a 14-pixel grabber coloured like an active or inactive window
// caption, showing the client's caption and a close mark. The grabber runs
// along the top of a client, or down its left side when the panel is
// aligned to the top or bottom of its window.

#include "components/framed/FcPanel.h"

#include <vector>

class TFcPanelDockManager {
public:
    explicit TFcPanelDockManager(TFcCustomPanel* Panel);
    ~TFcPanelDockManager();
    int GrabberSize() const { return FGrabberSize; }
    TFont* Font() { return &FFont; }
    // Docks a control into the panel (after the ones already docked).
    void InsertControl(TControl* Client);
    void RemoveControl(TControl* Client);
    int ClientCount() const { return int(FClients.size()); }
    TControl* Clients(int Index) const { return FClients.at(size_t(Index)); }
    // Vertical grabbers (at the clients' left) for top- and bottom-aligned panels.
    bool VerticalGrabbers() const;
    // The client's room with its grabber: the client sits inside after AdjustDockRect.
    TRect ZoneRect(int Index) const;
    void AdjustDockRect(TControl* Client, TRect& R) const;
    TRect GrabberRect(const TRect& Zone) const;
    TRect CloseRect(const TRect& Zone) const;
    // Lays the clients out in the panel.
    void ResetBounds();
    void PaintSite(TCanvas* Canvas);
    virtual void PaintDockFrame(TCanvas* Canvas, TControl* Client, const TRect& R);
    // A press on a grabber's close mark undocks and hides that client; true when handled.
    bool MouseDown(int X, int Y);

private:
    TFcCustomPanel* FPanel;
    TFont FFont;
    TFont FCloseFont;
    int FGrabberSize = 14;
    std::vector<TControl*> FClients;
};
