#include "PageScenarios.h"

PageScenarios::PageScenarios(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel12"), parent) {}
