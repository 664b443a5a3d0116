#include "configurator/dialogs/Clearconfigform.h"
#include "toolkit/widgets/Desktop.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TFormClearConfig::TFormClearConfig(std::function<bool()> deviceOffline, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      deviceOffline_(std::move(deviceOffline))
{
    setObjectName(QStringLiteral("FormClearConfig"));
    setWindowTitle(QStringLiteral("Сброс конфигурации"));

    Label1 = new QLabel(QStringLiteral(
        "Через указанное время будет произведен сброс параметров конфигурации к заводским, пароль защиты "
        "конфигурации будет сброшен. Не отключайте контроллер от PC, связь не должна прерываться, иначе "
        "процедуру сброса придется повторить сначала."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(360);

    LabelCountDoenSec = new QLabel(this);
    LabelCountDoenSec->setObjectName(QStringLiteral("LabelCountDoenSec"));
    LabelCountDoenSec->setAlignment(Qt::AlignCenter);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 3600);
    ProgressBar1->setValue(1800);

    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();
    auto *form = new QVBoxLayout(this);
    form->addWidget(Label1);
    form->addWidget(LabelCountDoenSec);
    form->addWidget(ProgressBar1);
    form->addLayout(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    // The controller opens without its password only after the whole half hour.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TFormClearConfig::Timer1Timer);
    Timer1->start();

    // The bar starts full and empties second by second.
    ShowSeconds();
    ProgressBar1->setMaximum(ProgressBar1->value());
}

void TFormClearConfig::Timer1Timer()
{
    // A lost controller ends the countdown there and then: this tick must
    // not go on to count, nor to declare the countdown done.
    if (deviceOffline_ && deviceOffline_()) {
        reject();
        return;
    }
    const int position = ProgressBar1->value();
    if (position > 0) {
        ProgressBar1->setValue(position - 1);
        ShowSeconds();
        return;
    }
    CountdownDone = 1;
    accept();
}

void TFormClearConfig::done(int result)
{
    Timer1->stop();
    QDialog::done(result);
}

void TFormClearConfig::ShowSeconds()
{
    LabelCountDoenSec->setText(QString::number(ProgressBar1->value()) + QStringLiteral(" Сек."));
}

void TFormClearConfig::showEvent(QShowEvent *event)
{
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
