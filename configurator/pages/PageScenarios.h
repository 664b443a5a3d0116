#pragma once
// Page 23: control scenarios.
#include "ConfigPage.h"

class PageScenarios : public ConfigPage {
    Q_OBJECT
public:
    explicit PageScenarios(PageContext &context, QWidget *parent = nullptr);
};
