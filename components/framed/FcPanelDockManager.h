#pragma once
// Docking into a framed panel: a tree of zones, each docked client in a zone
// of its own under a 14-pixel grabber coloured like an active or inactive
// window caption, showing the client's caption and a close mark. The grabber
// runs along the top of a client, or down its left side when the panel is
// aligned to the top or bottom of its window. Zones split side by side or
// one above the other; the bar between two zones drags to resize them; a
// grabber drags its client to another side of another zone, or out of the
// panel into a window of its own.

#include "components/framed/FcPanel.h"

#include <map>
#include <memory>
#include <vector>

class TForm;
class TTimer;

// One zone of the tree: a client (a leaf) or a split into children.
struct TFcDockZone {
    TControl* Client = nullptr;
    bool SideBySide = false;  // a split: children left to right, else top to bottom
    std::vector<std::unique_ptr<TFcDockZone>> Children;
    std::vector<int> Weights;  // the children's shares of the room
    TFcDockZone* Parent = nullptr;
    TRect Bounds;
};

class TFcPanelDockManager {
public:
    // A floating window that rests this long over the site docks again.
    static constexpr int FloatSettleMs = 300;
    static constexpr int SplitterSize = 4;

    explicit TFcPanelDockManager(TFcCustomPanel* Panel);
    ~TFcPanelDockManager();
    int GrabberSize() const { return FGrabberSize; }
    TFont* Font() { return &FFont; }
    // Docks a control: beside Target (alLeft, alRight, alTop, alBottom) or,
    // without a target, after the ones already docked.
    void InsertControl(TControl* Client, TAlign InsertAt = alNone, TControl* Target = nullptr);
    void RemoveControl(TControl* Client);
    int ClientCount() const { return int(FClients.size()); }
    TControl* Clients(int Index) const { return FClients.at(size_t(Index)); }
    TFcDockZone* RootZone() const { return FRoot.get(); }
    // Vertical grabbers (at the clients' left) for top- and bottom-aligned panels.
    bool VerticalGrabbers() const;
    // The client's room with its grabber: the client sits inside after AdjustDockRect.
    TRect ZoneRect(int Index) const;
    TRect ZoneRectOf(TControl* Client) const;
    void AdjustDockRect(TControl* Client, TRect& R) const;
    TRect GrabberRect(const TRect& Zone) const;
    TRect CloseRect(const TRect& Zone) const;
    // Lays the zones and clients out in the panel.
    void ResetBounds();
    void PaintSite(TCanvas* Canvas);
    virtual void PaintDockFrame(TCanvas* Canvas, TControl* Client, const TRect& R);
    // The grabber without a caption (ShowDockClientCaptions off).
    void PaintPlainGrabber(TCanvas* Canvas, const TRect& R);
    static void DrawCloseMark(TCanvas* Canvas, const TRect& Close, TColor Color);
    // Where a drop at a point of the panel would dock: the zone's client and its side.
    TControl* DropTarget(TPoint P, TAlign& Side) const;
    // Docks a client (from anywhere) where a drop at P of the panel puts it.
    void DockDrop(TControl* Client, TPoint P);
    // Takes a client out into a window of its own at a screen point.
    TForm* Undock(TControl* Client, TPoint ScreenPoint);
    // A client or a floating window is being freed: the manager lets go of it.
    void Forget(TComponent* Component);
    // The mouse on the site: true when the manager used it.
    bool MouseDown(int X, int Y);
    bool MouseMove(int X, int Y);
    bool MouseUp(int X, int Y);
    // The panel's cursor over the point (splitters resize), crDefault elsewhere.
    TCursor CursorAt(int X, int Y) const;

private:
    struct TSplitterHit {
        TFcDockZone* Split = nullptr;
        int Index = -1;  // the bar after child Index
    };
    TFcDockZone* LeafOf(TControl* Client) const;
    void Layout(TFcDockZone* Zone, const TRect& R);
    TSplitterHit SplitterAt(TPoint P) const;
    void Collapse(TFcDockZone* Zone);
    TFcCustomPanel* FPanel;
    TFont FFont;
    TFont FCloseFont;
    int FGrabberSize = 14;
    std::vector<TControl*> FClients;
    std::unique_ptr<TFcDockZone> FRoot;
    // a drag under way: a splitter, or a client by its grabber
    TSplitterHit FSizing;
    int FSizingGrab = 0;
    TControl* FDragging = nullptr;
    std::map<TControl*, TForm*> FFloating;
    std::unique_ptr<TTimer> FSettle;
    static TPoint FloatCaptionPoint(const TForm* Window);
    bool FloatOverSite(const TForm* Window) const;
    void DockSettledFloats();
    TPoint FDragStart;
    bool FDragMoved = false;
};
