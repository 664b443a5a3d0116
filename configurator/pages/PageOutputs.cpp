#include "configurator/pages/PageOutputs.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/WiringPictures.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace pagectl;

PageOutputs::PageOutputs(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel8"), parent)
{
    Label1 = Title(this, QStringLiteral("Label1"));
    ImageQRV240Outs = Label(this, QStringLiteral("ImageQRV240Outs"), QString());
    ImageQRV240Outs->setPicture(OutputWiringPicture());
    ImageQRV240Outs->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageQRV240Outs->setVisible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ImageQRV240Outs, 1);
}

void PageOutputs::Enter(int page)
{
    ConfigPage::Enter(page);
    ImageQRV240Outs->setVisible(true);
}

bool PageOutputs::HasValues(int) const
{
    return false;
}
