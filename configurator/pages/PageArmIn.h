#pragma once
// Page 12: Arm In, touch keys.
#include "ConfigPage.h"

class PageArmIn : public ConfigPage {
    Q_OBJECT
public:
    explicit PageArmIn(PageContext &context, QWidget *parent = nullptr);
};
