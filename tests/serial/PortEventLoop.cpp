#include "tests/serial/PortEventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(2);  // wakes the loop now and then so the condition is seen
    while (!Done()) {
        if (t.elapsed() > TimeoutMs)
            return Done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

void PumpFor(int Ms)
{
    PumpUntil([] { return false; }, Ms);
}
