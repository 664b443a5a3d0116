#pragma once
// Page 0: root page, live state, identity, device action status.
#include "ConfigPage.h"

class PageLiveState : public ConfigPage {
    Q_OBJECT
public:
    explicit PageLiveState(PageContext &context, QWidget *parent = nullptr);
};
