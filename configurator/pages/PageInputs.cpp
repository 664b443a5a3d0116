#include "PageInputs.h"

PageInputs::PageInputs(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel7"), parent) {}
