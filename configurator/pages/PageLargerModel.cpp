#include "PageLargerModel.h"

PageLargerModel::PageLargerModel(PageContext &context, QWidget *parent)
    : ConfigPage(context, QStringLiteral("PanelLargerModel"), parent)
{
    hide();
}
