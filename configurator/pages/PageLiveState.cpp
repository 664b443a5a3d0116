#include "PageLiveState.h"

PageLiveState::PageLiveState(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel10"), parent) {}
