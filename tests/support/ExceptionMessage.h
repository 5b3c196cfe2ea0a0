#pragma once
// The message of the Exception a call raises, or "(no exception)": lets a
// table of cases compare error texts in one line each.

#include "platform/rtl/Exception.h"

#include <QString>
#include <functional>

inline QString Msg(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QStringLiteral("(no exception)");
}
