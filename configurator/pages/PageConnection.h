#pragma once
// Page 2-9: connections 1..8.
#include "ConfigPage.h"

class PageConnection : public ConfigPage {
    Q_OBJECT
public:
    explicit PageConnection(PageContext &context, QWidget *parent = nullptr);
};
