#pragma once
// The controls of the larger model's pages (perimeters, GPS, profiles,
// servers): the form carries them hidden; no tree node shows them.
#include "ConfigPage.h"

class PageLargerModel : public ConfigPage {
    Q_OBJECT
public:
    explicit PageLargerModel(PageContext &context, QWidget *parent = nullptr);
};
