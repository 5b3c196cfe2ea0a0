#pragma once
// The one timer that makes status panes and labels blink. Every pane and
// label registers with the list for its life; the list alternates between
// two phases and tells each registered control that is blinking which phase
// has begun: the blink colour for IntervalOn milliseconds, the normal colour
// for IntervalOff.

#include "components/framed/FcCommon.h"

#include <cstdint>
#include <memory>
#include <vector>

class TTimer;

// What a control that can blink answers to.
class IFcBlinkingControl {
public:
    virtual ~IFcBlinkingControl() = default;
    virtual bool GetBlinking() const = 0;
    // ShowBlinkColor: the blink phase begins (else the normal phase).
    virtual void Blink(bool ShowBlinkColor) = 0;
};

class TFcBlinkingControlsList {
public:
    TFcBlinkingControlsList();
    virtual ~TFcBlinkingControlsList();
    void Add(IFcBlinkingControl* Control);
    void Remove(IFcBlinkingControl* Control);
    virtual int GetCount() const { return int(FControls.size()); }
    TBlinkState BlinkState() const { return FBlinkState; }
    uint16_t IntervalOff() const { return FIntervalOff; }
    void SetIntervalOff(uint16_t Value) { FIntervalOff = Value; }
    uint16_t IntervalOn() const { return FIntervalOn; }
    void SetIntervalOn(uint16_t Value) { FIntervalOn = Value; }
    // The interval of the phase now running (what the timer waits for).
    int TimerInterval() const;
    // One tick of the timer: the next phase begins.
    void TimerFired();

private:
    TBlinkState FBlinkState = bsOff;
    uint16_t FIntervalOff = 500;
    uint16_t FIntervalOn = 500;
    std::unique_ptr<TTimer> FTimer;
    std::vector<IFcBlinkingControl*> FControls;
};

extern TFcBlinkingControlsList* BlinkingControls;
// Registers a control, making the list when there is none.
void RegisterBlinkingControl(IFcBlinkingControl* Control);
// Unregisters it and frees the list when it is empty.
void UnregisterBlinkingControl(IFcBlinkingControl* Control);
void FreeBlinkingControlsListIfEmpty();
