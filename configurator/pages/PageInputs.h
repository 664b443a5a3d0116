#pragma once
// Page 13: inputs, common part.
#include "ConfigPage.h"

class PageInputs : public ConfigPage {
    Q_OBJECT
public:
    explicit PageInputs(PageContext &context, QWidget *parent = nullptr);
};
