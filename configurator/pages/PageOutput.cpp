#include "PageOutput.h"

PageOutput::PageOutput(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel9"), parent) {}
