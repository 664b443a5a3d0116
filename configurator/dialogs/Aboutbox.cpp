#include "configurator/dialogs/Aboutbox.h"
#include "common/ProgramIcons.h"

#include <QEvent>
#include <QLabel>

TAboutBox::TAboutBox(QWidget *mainWindow)
    : TAboutBoxBase(mainWindow, QStringLiteral("Ver. 1.2"), ConfiguratorIcon(), 1.4, 260),
      VersionLabelPrefix(QStringLiteral("для версии устройства"))
{
    Label2 = new QLabel(Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    SetDetail(Label2);
}

void TAboutBox::FormActivate()
{
    Label1->setText(mainWindow() != nullptr ? mainWindow()->windowTitle() : QString());
    // The one device version the configurator serves.
    Label2->setText(VersionLabelPrefix + QStringLiteral(" S.01.01"));
}

QString TAboutBox::MailSubject() const
{
    return QStringLiteral("QRV610");
}

void TAboutBox::showEvent(QShowEvent *event)
{
    // Filled before the first paint, whether or not the window system activates the box.
    FormActivate();
    TAboutBoxBase::showEvent(event);
}

void TAboutBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    TAboutBoxBase::changeEvent(event);
}
