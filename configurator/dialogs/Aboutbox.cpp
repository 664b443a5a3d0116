#include "Aboutbox.h"
#include "Contacts.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel *NewLabel(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The label is a link: hand cursor, a click opens it.
void MakeLink(QLabel *label, QObject *filter)
{
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    label->installEventFilter(filter);
}

} // namespace

TAboutBox::TAboutBox(QWidget *mainWindow)
    : QDialog(mainWindow), VersionLabelPrefix(QStringLiteral("для версии устройства")), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    ProgramIcon = NewLabel(Panel1, "ProgramIcon");
    QIcon icon = mainWindow ? mainWindow->windowIcon() : QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    ProgramIcon->setPixmap(icon.pixmap(48, 48));

    Label1 = NewLabel(Panel1, "Label1");
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.4);
    Label1->setFont(title);
    Label3 = NewLabel(Panel1, "Label3", QStringLiteral("Ver. 1.2"));
    Label4 = NewLabel(Panel1, "Label4", MakerWebAddress);
    Label5 = NewLabel(Panel1, "Label5", QStringLiteral("E-mail: ") + SupportMailAddress);
    Label2 = NewLabel(Panel1, "Label2");
    MakeLink(Label4, this);
    MakeLink(Label5, this);

    auto *panel = new QGridLayout(Panel1);
    panel->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panel->addWidget(Label1, 0, 1);
    panel->addWidget(Label3, 1, 1);
    panel->addWidget(Label4, 2, 1);
    panel->addWidget(Label5, 3, 1);
    panel->addWidget(Label2, 4, 1);
    panel->setColumnMinimumWidth(1, 260);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();
    auto *form = new QVBoxLayout(this);
    form->addWidget(Panel1);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::FormActivate()
{
    Label1->setText(mainWindow_ ? mainWindow_->windowTitle() : QString());
    // The one device version the configurator serves.
    Label2->setText(VersionLabelPrefix + QStringLiteral(" S.01.01"));
}

void TAboutBox::Label4Click() { OpenLink(MakerWebPageUrl()); }

void TAboutBox::Label5Click() { OpenLink(SupportMailUrl(QStringLiteral("QRV610"))); }

void TAboutBox::showEvent(QShowEvent *event)
{
    // Filled before the first paint, whether or not the window system activates the box.
    FormActivate();
    QDialog::showEvent(event);
}

void TAboutBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QDialog::changeEvent(event);
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label4)
            Label4Click();
        else if (watched == Label5)
            Label5Click();
    }
    return QDialog::eventFilter(watched, event);
}
