#include "components/framed/FcBlinking.h"

#include "platform/ui/ExtCtrls.h"

#include <algorithm>

TFcBlinkingControlsList* BlinkingControls = nullptr;

TFcBlinkingControlsList::TFcBlinkingControlsList() : FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetInterval(FIntervalOff);
    FTimer->OnTimer = [this](TComponent*) { TimerFired(); };
    FTimer->SetEnabled(true);
}

TFcBlinkingControlsList::~TFcBlinkingControlsList() = default;

void TFcBlinkingControlsList::Add(IFcBlinkingControl* Control)
{
    FControls.push_back(Control);
}

void TFcBlinkingControlsList::Remove(IFcBlinkingControl* Control)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Control), FControls.end());
}

int TFcBlinkingControlsList::TimerInterval() const
{
    return FTimer->Interval();
}

void TFcBlinkingControlsList::TimerFired()
{
    // 1. the next phase, timed so the blink colour lasts IntervalOn
    FBlinkState = FBlinkState == bsOff ? bsOn : bsOff;
    FTimer->SetInterval(FBlinkState == bsOn ? FIntervalOn : FIntervalOff);
    // 2. every blinking control hears of it, in registration order
    const std::vector<IFcBlinkingControl*> controls = FControls;
    for (IFcBlinkingControl* c : controls)
        if (c->GetBlinking())
            c->Blink(FBlinkState == bsOn);
}

void RegisterBlinkingControl(IFcBlinkingControl* Control)
{
    FcCommonInitialize();
    if (!BlinkingControls)
        BlinkingControls = new TFcBlinkingControlsList;
    BlinkingControls->Add(Control);
}

void UnregisterBlinkingControl(IFcBlinkingControl* Control)
{
    if (!BlinkingControls)
        return;
    BlinkingControls->Remove(Control);
    FreeBlinkingControlsListIfEmpty();
}

void FreeBlinkingControlsListIfEmpty()
{
    if (BlinkingControls && BlinkingControls->GetCount() == 0) {
        delete BlinkingControls;
        BlinkingControls = nullptr;
    }
}
