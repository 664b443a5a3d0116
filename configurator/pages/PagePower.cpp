#include "PagePower.h"

PagePower::PagePower(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel3"), parent) {}
