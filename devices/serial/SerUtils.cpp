#include "devices/serial/SerUtils.h"

#include "platform/os/MessageWindow.h"
#include "platform/os/OsTypes.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace {

int32_t SystemTick()
{
    return static_cast<int32_t>(OsMonotonicMs() / TickMs);
}

int32_t (*gTickSource)() = &SystemTick;

}  // namespace

void SetTickSource(int32_t (*Source)())
{
    gTickSource = Source ? Source : &SystemTick;
}

int32_t CurrentTick()
{
    return gTickSource();
}

void NewTimer(EventTimer& ET, int32_t Ticks)
{
    if (Ticks > MaxTicks)
        Ticks = MaxTicks;
    ET.StartTicks = CurrentTick();
    ET.ExpireTicks = ET.StartTicks + Ticks;
}

bool TimerExpired(const EventTimer& ET)
{
    const int32_t c = CurrentTick();
    if (c > ET.ExpireTicks)
        return true;
    return c < ET.StartTicks && c + MaxTicks > ET.ExpireTicks;
}

int32_t RemainingTime(const EventTimer& ET)
{
    const int32_t c = CurrentTick();
    const int32_t r = c >= ET.StartTicks ? ET.ExpireTicks - c : ET.ExpireTicks - MaxTicks - c;
    return r < 0 ? 0 : r;
}

int SafeYield()
{
    return ProcessMessage() ? 1 : 0;
}

int DelayTicks(int32_t Ticks, bool Yield)
{
    if (Ticks <= 0)
        return 0;
    EventTimer et;
    NewTimer(et, Ticks);
    int result = 0;
    while (!TimerExpired(et)) {
        if (Yield) {
            result = SafeYield();
            if (QCoreApplication::closingDown())
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return result;
}
