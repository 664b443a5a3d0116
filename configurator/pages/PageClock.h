#pragma once
// Page 10: clock, scheduler.
#include "ConfigPage.h"

class PageClock : public ConfigPage {
    Q_OBJECT
public:
    explicit PageClock(PageContext &context, QWidget *parent = nullptr);
};
