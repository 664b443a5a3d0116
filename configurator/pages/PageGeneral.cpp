#include "PageGeneral.h"

PageGeneral::PageGeneral(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel1"), parent) {}
