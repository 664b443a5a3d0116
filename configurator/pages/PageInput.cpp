#include "PageInput.h"

PageInput::PageInput(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel6"), parent) {}
