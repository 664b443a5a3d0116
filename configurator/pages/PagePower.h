#pragma once
// Page 11: power, temperature, indication, tamper.
#include "ConfigPage.h"

class PagePower : public ConfigPage {
    Q_OBJECT
public:
    explicit PagePower(PageContext &context, QWidget *parent = nullptr);
};
