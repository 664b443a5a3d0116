#pragma once
// What a worker reports to: a status text with its colour, and a progress bar.
// The windows implement these on real widgets; tests may record them.
#include "toolkit/Colour.h"
#include <QString>

class IStatusLabel {
public:
    virtual ~IStatusLabel() = default;
    // Shown at once (repainted), also while the GUI thread waits for the worker.
    virtual void ShowStatus(const QString &text, TColor colour) = 0;
};

class IProgressBar {
public:
    virtual ~IProgressBar() = default;
    virtual void SetMax(int max) = 0;
    virtual void SetPosition(int position) = 0;
};
