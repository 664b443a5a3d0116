#include "PageSystem.h"

PageSystem::PageSystem(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel11"), parent) {}
