#pragma once
// Runs the main thread's Qt event loop (and with it the message windows of
// the serial ports) until a condition holds or the time runs out.

#include <functional>

bool PumpUntil(const std::function<bool()>& Done, int TimeoutMs);
// Runs the loop for the given time.
void PumpFor(int Ms);
