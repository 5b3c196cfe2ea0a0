#pragma once
// The short warning sound of a refused key; tests can listen in.

#include <functional>

void Beep();
// Replaces the sound (nullptr: the desktop's bell again); returns the previous hook.
std::function<void()> SetBeepHook(std::function<void()> Hook);
