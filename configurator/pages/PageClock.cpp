#include "PageClock.h"

PageClock::PageClock(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel2"), parent) {}
