#pragma once
// Page 24: system parameters.
#include "ConfigPage.h"

class PageSystem : public ConfigPage {
    Q_OBJECT
public:
    explicit PageSystem(PageContext &context, QWidget *parent = nullptr);
};
