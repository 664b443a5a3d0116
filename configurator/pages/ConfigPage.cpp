#include "configurator/pages/ConfigPage.h"

#include <QLabel>

ConfigPage::ConfigPage(PageContext &context, const QString &panelName, QWidget *parent)
    : QFrame(parent), context_(context)
{
    setObjectName(panelName);
}

void ConfigPage::Enter(int page)
{
    if (QLabel *title = TitleLabel())
        title->setText(context_.NodeText(page));
}

void ConfigPage::AfterShow(int) {}

bool ConfigPage::HasValues(int) const
{
    return true;
}

void ConfigPage::StorePage(int, ControllerConfig &) {}

void ConfigPage::ShowPage(int, ControllerConfig &) {}
