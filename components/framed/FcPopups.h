#pragma once
// Popup panels: a framed panel whose children are shown in a drop-down
// window under another control; pressing outside it, Escape or losing the
// focus cancels it, Close accepts it.

#include "components/framed/FcPanel.h"

class TFcCustomPopup : public TFcCustomPanel {
public:
    explicit TFcCustomPopup(TComponent* AOwner);
    TControl* PopupControl() const { return FPopupControl; }

protected:
    TControl* FPopupControl = nullptr;
};

class TFcPopupPanel : public TFcCustomPopup {
public:
    explicit TFcPopupPanel(TComponent* AOwner);
    // Shows the panel under PopupControl (X, Y -1: aligned by Alignment);
    // true when it was closed by Close, false when cancelled or already showing.
    bool Popup(TControl* PopupControl, int X = -1, int Y = -1);
    void Close(TComponent* Sender);
    bool Active() const;
    // Where the popup of a W x H panel goes for a control's screen rectangle,
    // kept inside the work area.
    static TPoint PopupPosition(const TRect& ControlRect, int W, int H, TAlignment Alignment, int X, int Y,
                                const TRect& WorkArea);
    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;
};
