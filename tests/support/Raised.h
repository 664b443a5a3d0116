#pragma once
// The port failure a call raises, for tests that look at its codes.
#include "serial/ComError.h"

// What f threw; EComPort(0, 0), whose code no failure has, when it threw nothing.
template <typename F>
EComPort Raised(F &&f)
{
    try {
        f();
    } catch (const EComPort &e) {
        return e;
    }
    return EComPort(0, 0);
}
