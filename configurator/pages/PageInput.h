#pragma once
// Page 14-17: inputs 1..4.
#include "ConfigPage.h"

class PageInput : public ConfigPage {
    Q_OBJECT
public:
    explicit PageInput(PageContext &context, QWidget *parent = nullptr);
};
