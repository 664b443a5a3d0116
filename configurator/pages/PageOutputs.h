#pragma once
// Page 18: outputs overview.
#include "ConfigPage.h"

class PageOutputs : public ConfigPage {
    Q_OBJECT
public:
    explicit PageOutputs(PageContext &context, QWidget *parent = nullptr);
};
