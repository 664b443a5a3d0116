#include "PageConnection.h"

PageConnection::PageConnection(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel5"), parent) {}
