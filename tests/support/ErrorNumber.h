#pragma once

#include "automation/AutomationError.h"

#include <functional>

// The number of the automation error a call fails with, or 0 when it succeeds.
inline int errorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const automation::AutomationError& error) {
        return error.number();
    }
    return 0;
}
