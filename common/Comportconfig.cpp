#include "common/Comportconfig.h"
#include "common/PortProbe.h"
#include "serial/widgets/ComComboBox.h"
#include "serial/ComPort.h"
#include "toolkit/widgets/Desktop.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/ExceptionReport.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TComPortDialog::TComPortDialog(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                               void (*centre)(QWidget *), QWidget *parent)
    : QDialog(parent),
      FailureText(QStringLiteral("Не возможно открыть указанный COM порт, возможно он занят другим приложением.")),
      port_(port), setPortPanel_(std::move(setPortPanel)), centre_(centre)
{
    setWindowTitle(QStringLiteral("Выбор COM порта"));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    bevelLayout_ = new QVBoxLayout(Bevel1);

    ComComboBox1 = new TComComboBox(Bevel1);
    ComComboBox1->setObjectName(QStringLiteral("ComComboBox1"));
    ComComboBox1->setMinimumWidth(160);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &TComPortDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TComPortDialog::Button2Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *form = new QVBoxLayout(this);
    form->addWidget(Bevel1);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);

    // Loading the form: the machine's ports, the port's present name selected.
    ComComboBox1->SetComProperty(cpPort);
    ComComboBox1->SetComPort(&port_);
    FitCaption();
}

void TComPortDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange && Bevel1 != nullptr)
        FitCaption();
    QDialog::changeEvent(event);
}

// The form is as wide as its bevel and the margins around it.
void TComPortDialog::FitCaption()
{
    const QMargins margins = layout()->contentsMargins();
    Bevel1->setMinimumWidth(CaptionWidth(this) - margins.left() - margins.right());
}

void TComPortDialog::Button1Click()
{
    const QString previous = port_.Port();
    try {
        port_.SetPort(ComComboBox1->Text()); // moves an open port to the new device
        port_.Open();
    } catch (...) {
        // A name that did not open is not kept: Cancel then returns to the old port.
        if (!port_.Connected())
            port_.SetPort(previous);
        MessageBox(this, FailureText, windowTitle(), MB_OK | MB_ICONWARNING);
    }
    ShowPortPanel();
    if (port_.Connected())
        accept();
}

void TComPortDialog::Button2Click() { reject(); }

void TComPortDialog::FormClose()
{
    try {
        port_.Open();
    } catch (...) {
        // Told by the panel alone.
    }
    ShowPortPanel();
    try {
        port_.Close();
    } catch (...) {
        ApplicationHandleException(std::current_exception());
    }
}

void TComPortDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TComPortDialog::showEvent(QShowEvent *event)
{
    centre_(this);
    QDialog::showEvent(event);
}

void TComPortDialog::ShowPortPanel()
{
    if (setPortPanel_)
        setPortPanel_(port_.Connected() ? port_.Port() : QLatin1String(NotConnectedText));
}

TFormCOMPortConfig::TFormCOMPortConfig(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                                       QWidget *parent)
    : TComPortDialog(port, std::move(setPortPanel), CentreOnDesktop, parent)
{
    setObjectName(QStringLiteral("FormCOMPortConfig"));
    Panel1 = new QFrame(Bevel1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Raised);
    auto *panel = new QVBoxLayout(Panel1);
    panel->addWidget(ComComboBox1);
    BevelLayout()->addWidget(Panel1);
}

TFormCOMPortSetup::TFormCOMPortSetup(TCustomComPort &port, std::function<void(const QString &)> setPortPanel,
                                     QWidget *parent)
    : TComPortDialog(port, std::move(setPortPanel), CentreOnScreen, parent)
{
    setObjectName(QStringLiteral("FormCOMPortSetup"));
    BevelLayout()->addWidget(ComComboBox1);
}
