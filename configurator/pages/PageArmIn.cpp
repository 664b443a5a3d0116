#include "PageArmIn.h"

PageArmIn::PageArmIn(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("PanelArmIn"), parent) {}
