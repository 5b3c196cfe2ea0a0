#pragma once
// A horizontal track bar with tick marks.

#include "platform/ui/Controls.h"

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    void SetRange(int AMin, int AMax);
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int PageSize = 2;
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    // The position changed, by the user or in code.
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;

private:
    int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1;
    bool FSetting = false;
};
