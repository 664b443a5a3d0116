#pragma once
// While it lives, user input to the program's windows is dropped as it is
// delivered: keys, shortcuts, mouse buttons and moves, wheel, context menus,
// touch, tablet and drops. Everything else (paint, expose, timers, close
// requests) goes through. GUI thread only; barriers may nest.
class InputBarrier {
public:
    InputBarrier();
    ~InputBarrier();
    InputBarrier(const InputBarrier &) = delete;
    InputBarrier &operator=(const InputBarrier &) = delete;

    // True while a barrier lives.
    static bool Active();
};
