#pragma once
// A hint window of a control's own: a frameless tip shown at a screen
// rectangle without taking the focus, sized for its text (lines broken at
// line breaks and, beyond a maximum width, between words). The grids show
// their search and cell hints through it.

#include "platform/ui/Controls.h"

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // The rectangle (at 0, 0) the text needs, at most MaxWidth wide.
    virtual TRect CalcHintRect(int MaxWidth, const QString& AHint);
    // Shows the text in Rect (screen coordinates).
    virtual void ActivateHint(const TRect& Rect, const QString& AHint);
    // Hides the window.
    void ReleaseHandle();
    bool Showing() const;
    const QString& HintText() const { return FText; }

protected:
    QWidget* CreateWidget() override;
    void Paint() override;

private:
    QString FText;
};
