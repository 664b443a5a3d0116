#include "configurator/dialogs/Calibrationdialog.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/TextRules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int KeyEnter = 13;
}

TFormCalibration::TFormCalibration(QWidget *parent)
    : QDialog(parent), Label1(new QLabel(QStringLiteral("Введите желаемое значение "), this)),
      MaskEditNeedVal(new TMaskEdit(this)), Button1(new QPushButton(QStringLiteral("OK"), this)),
      Button2(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("FormCalibration"));
    setWindowTitle(QStringLiteral("Калибровка входа"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Label1->setObjectName(QStringLiteral("Label1"));
    MaskEditNeedVal->setObjectName(QStringLiteral("MaskEditNeedVal"));
    MaskEditNeedVal->setMaxLength(10);
    MaskEditNeedVal->setText(QStringLiteral("0"));
    MaskEditNeedVal->installEventFilter(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter is the edit's own key; the buttons act on a click only.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(MaskEditNeedVal, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TFormCalibration::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCalibration::Button1Click()
{
    wantedValue_ = TypedNumber(MaskEditNeedVal->text());
    accept();
}

bool TFormCalibration::MaskEditNeedValKeyDown(int key)
{
    if (key != KeyEnter)
        return false;
    Button1Click();
    return true;
}

bool TFormCalibration::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MaskEditNeedVal && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && MaskEditNeedValKeyDown(KeyEnter))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormCalibration::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}
