#pragma once
// Page 19-22: relays 1, 2, outputs 1, 2.
#include "ConfigPage.h"

class PageOutput : public ConfigPage {
    Q_OBJECT
public:
    explicit PageOutput(PageContext &context, QWidget *parent = nullptr);
};
