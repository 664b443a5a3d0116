#pragma once
// Page 1: general connection parameters.
#include "ConfigPage.h"

class PageGeneral : public ConfigPage {
    Q_OBJECT
public:
    explicit PageGeneral(PageContext &context, QWidget *parent = nullptr);
};
