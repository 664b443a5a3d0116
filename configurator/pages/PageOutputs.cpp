#include "PageOutputs.h"

PageOutputs::PageOutputs(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel8"), parent) {}
