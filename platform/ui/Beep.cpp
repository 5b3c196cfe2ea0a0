#include "platform/ui/Beep.h"

#include <QApplication>

namespace {

std::function<void()>& Hook()
{
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void Beep()
{
    if (Hook())
        Hook()();
    else
        QApplication::beep();
}

std::function<void()> SetBeepHook(std::function<void()> Hook_)
{
    std::function<void()> old = Hook();
    Hook() = std::move(Hook_);
    return old;
}
