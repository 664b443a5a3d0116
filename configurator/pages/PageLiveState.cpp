#include "configurator/pages/PageLiveState.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace pagectl;

namespace {

const QColor AlarmRed(255, 0, 0);
const QColor ProtectionYellow(255, 220, 14);
const QColor IndicatorOn(0, 255, 0);
const QColor IndicatorOff(0, 128, 0);

// Input buttons by Tag (the input index).
constexpr std::array<int, 16> InputButtonNumbers = {25, 27, 28, 29, 30, 31, 32, 26,
                                                    33, 35, 36, 37, 38, 39, 40, 34};
// This controller has four inputs; the form shows a fifth that entering the
// page hides, and keeps the rest hidden.
constexpr int FormInputs = 5;
constexpr int FormOutputs = 4;

QLabel *Indicator(const QString &name, QWidget *parent)
{
    QLabel *panel = Label(parent, name, QString());
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedSize(18, 18);
    SetFaceColour(panel, IndicatorOff);
    return panel;
}

} // namespace

CurrencyFormat LocaleCurrencyFormat(const QLocale &locale)
{
    CurrencyFormat format;
    format.decimalSeparator = locale.decimalPoint();
    format.thousandSeparator = locale.groupSeparator();
    format.decimals = 2;
    format.currencyString = locale.currencySymbol();
    format.position = CurrencyPosition::Suffix;
    if (format.currencyString.isEmpty())
        return format;
    // Where the locale puts the symbol around a plain amount.
    const QString sample = locale.toCurrencyString(1.0);
    const qsizetype symbol = sample.indexOf(format.currencyString);
    const qsizetype digit = sample.indexOf(locale.toString(1));
    if (symbol < 0 || digit < 0)
        return format;
    if (symbol < digit) {
        const qsizetype after = symbol + format.currencyString.size();
        const bool spaced = after < sample.size() && sample[after].isSpace();
        format.position = spaced ? CurrencyPosition::PrefixSpace : CurrencyPosition::Prefix;
    } else {
        const bool spaced = symbol > 0 && sample[symbol - 1].isSpace();
        format.position = spaced ? CurrencyPosition::SuffixSpace : CurrencyPosition::Suffix;
    }
    return format;
}

PageLiveState::PageLiveState(PageContext &context, QWidget *parent)
    : ConfigPage(context, QStringLiteral("Panel10"), parent)
{
    Label30 = Title(this, QStringLiteral("Label30"), context.NodeText(Pages::LiveState));
    QWidget *body = ScrollBody(this, Label30);

    BuildIdentity(body);

    GroupBoxGSM = GroupBox(body, QStringLiteral("GroupBoxGSM"), QStringLiteral("GSM"));
    {
        auto *form = new QFormLayout(GroupBoxGSM);
        ProgressBarSignalQuality = ProgressBar(GroupBoxGSM, QStringLiteral("ProgressBarSignalQuality"), 0, 31);
        form->addRow(QStringLiteral("Уровень сигнала"), ProgressBarSignalQuality);
        LabelGSMState = Label(GroupBoxGSM, QStringLiteral("LabelGSMState"), QString());
        LabelGSMState->setWordWrap(true);
        form->addRow(LabelGSMState);
        LabelBalans = Label(GroupBoxGSM, QStringLiteral("LabelBalans"), QString());
        form->addRow(LabelBalans);
    }

    GroupBoxMaunPerimInfo = GroupBox(body, QStringLiteral("GroupBoxMaunPerimInfo"), QStringLiteral("Режим"));
    {
        auto *layout = new QGridLayout(GroupBoxMaunPerimInfo);
        Label111 = Label(GroupBoxMaunPerimInfo, QStringLiteral("Label111"), QStringLiteral("Текущий режим:"));
        PanelArmDisarmStatus = Label(GroupBoxMaunPerimInfo, QStringLiteral("PanelArmDisarmStatus"), QString());
        PanelArmDisarmStatus->setFrameShape(QFrame::Panel);
        PanelArmDisarmStatus->setFrameShadow(QFrame::Sunken);
        PanelArmDisarmStatus->setAlignment(Qt::AlignCenter);
        PanelArmDisarmStatus->setMinimumHeight(28);
        SetFaceColour(PanelArmDisarmStatus, ButtonFace());
        Button18 = Button(GroupBoxMaunPerimInfo, QStringLiteral("Button18"), QStringLiteral("Охрана"));
        Button19 = Button(GroupBoxMaunPerimInfo, QStringLiteral("Button19"), QStringLiteral("Наблюдение"));
        Button22 = Button(GroupBoxMaunPerimInfo, QStringLiteral("Button22"), QStringLiteral("Защита"));
        layout->addWidget(Label111, 0, 0);
        layout->addWidget(PanelArmDisarmStatus, 0, 1, 1, 3);
        layout->addWidget(Button18, 1, 1);
        layout->addWidget(Button19, 1, 2);
        layout->addWidget(Button22, 1, 3);
    }
    GroupBoxMaunPerimInfo->hide();

    GroupBoxPerimetersInfo =
        GroupBox(body, QStringLiteral("GroupBoxPerimetersInfo"), QStringLiteral("Режим периметров"));
    {
        auto *layout = new QHBoxLayout(GroupBoxPerimetersInfo);
        Button23 = Button(GroupBoxPerimetersInfo, QStringLiteral("Button23"), QStringLiteral("Охрана"));
        Button24 = Button(GroupBoxPerimetersInfo, QStringLiteral("Button24"), QStringLiteral("Наблюдение"));
        layout->addWidget(Button23);
        layout->addWidget(Button24);
    }
    GroupBoxPerimetersInfo->hide();
    // Made here, below the mode groups as it reads, for the Tab key to come to it after them.
    Button21 = Button(body, QStringLiteral("Button21"), QStringLiteral("Написать в техническую поддержку"));

    BuildInputIndicators(body);
    BuildOutputIndicators(body);

    GroupBox28 = GroupBox(body, QStringLiteral("GroupBox28"), QStringLiteral("Выполнить сценарий на выходе"));
    {
        auto *layout = new QGridLayout(GroupBox28);
        ComboBoxTestOut = ComboBox(GroupBox28, QStringLiteral("ComboBoxTestOut"));
        ComboBoxTestScen = ComboBox(GroupBox28, QStringLiteral("ComboBoxTestScen"));
        Button20 = Button(GroupBox28, QStringLiteral("Button20"), QStringLiteral("Выполнить"));
        layout->addWidget(ComboBoxTestOut, 0, 0);
        layout->addWidget(ComboBoxTestScen, 0, 1);
        layout->addWidget(Button20, 1, 1, Qt::AlignRight);
    }
    FillTestCombos();

    // Below the part that scrolls: a device action shows this page, and its
    // status and progress are in view whatever the page's height.
    auto *status = new QWidget(this);
    ActionName = Label(status, QStringLiteral("ActionName"), QString());
    ActionName->setWordWrap(true);
    ActionName->setMinimumHeight(2 * ActionName->fontMetrics().lineSpacing() + 4);
    ActionName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ProgressBar1 = Make<QProgressBar>(status, QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);
    CheckBoxClearSaveArea = CheckBox(status, QStringLiteral("CheckBoxClearSaveArea"),
                                     QStringLiteral("При программировании очистить память режимов"));
    Label112 = Label(status, QStringLiteral("Label112"),
                     QStringLiteral("(режимы охраны и состояния выходов, сохраненные контроллером)"));
    Label112->setWordWrap(true);
    TMPLabel = Label(status, QStringLiteral("TMPLabel"), QStringLiteral("-"));
    TMPLabel->hide();

    auto *left = new QVBoxLayout;
    left->addWidget(GroupBox15);
    left->addWidget(GroupBoxGSM);
    left->addWidget(GroupBoxMaunPerimInfo);
    left->addWidget(GroupBoxPerimetersInfo);
    left->addWidget(Button21, 0, Qt::AlignLeft);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(GroupBoxInputIndicator);
    right->addWidget(GroupBoxOutIndicator);
    right->addWidget(GroupBox28);
    right->addStretch(1);
    auto *columns = new WrapLayout(body);
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    auto *lines = new QVBoxLayout(status);
    const QMargins margins = lines->contentsMargins();
    lines->setContentsMargins(margins.left(), 0, margins.right(), margins.bottom());
    lines->addWidget(ActionName);
    lines->addWidget(ProgressBar1);
    lines->addWidget(CheckBoxClearSaveArea);
    lines->addWidget(Label112);
    layout()->addWidget(status);
}

void PageLiveState::BuildIdentity(QWidget *body)
{
    GroupBox15 = GroupBox(body, QStringLiteral("GroupBox15"), QStringLiteral("Идентификатор устройства"));
    auto *form = new QFormLayout(GroupBox15);
    form->setLabelAlignment(Qt::AlignRight);
    const QString none8 = QStringLiteral("- - - - - - - -");
    const QString version = QStringLiteral("- - . - -");
    const QString identifier = QStringLiteral("- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -  ");
    struct Row {
        QLabel **caption;
        const char *captionName;
        const char *captionText;
        QLabel **value;
        const char *valueName;
        QString initial;
    };
    const Row rows[] = {
        {&Label48, "Label48", "Устройство:", &iDeviceNameLabel, "iDeviceNameLabel", none8},
        {&Label51, "Label51", "Модификация:", &iModificationLabel, "iModificationLabel", none8},
        {&Label52, "Label52", "Аппаратная вер.:", &iHardVerLabel, "iHardVerLabel", version},
        {&Label54, "Label54", "Микропрограмма:", &iSoftVerLabel, "iSoftVerLabel", version},
        {&Label22, "Label22", "Версия загрузчика:", &iBLLabel, "iBLLabel", version},
        {&Label55, "Label55", "Дата:", &iDateLabel, "iDateLabel", QStringLiteral("- -  - -  - - - -")},
        {&Label105, "Label105", "Код страны:", &iLabelCountryCode, "iLabelCountryCode", QStringLiteral("- - -")},
        {&Label57, "Label57", "Привязка к идентификатору:", &iLabelDevSNLocked, "iLabelDevSNLocked", identifier},
        {&Label56, "Label56", "GSM IMEI:", &iGSMIMEILabel, "iGSMIMEILabel",
         QStringLiteral("- - - - - - - - - - - - - - -")},
        {&Label68, "Label68", "Уникальный идентификатор:", &iLabelDevSN, "iLabelDevSN", identifier},
    };
    for (const Row &row : rows) {
        *row.caption = Label(GroupBox15, QLatin1String(row.captionName), QString::fromUtf8(row.captionText));
        *row.value = Label(GroupBox15, QLatin1String(row.valueName), row.initial);
        (*row.value)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(*row.caption, *row.value);
    }
}

void PageLiveState::BuildInputIndicators(QWidget *body)
{
    GroupBoxInputIndicator =
        GroupBox(body, QStringLiteral("GroupBoxInputIndicator"), QStringLiteral("Состояние входов"));
    auto *layout = new QGridLayout(GroupBoxInputIndicator);
    BevelInputIndicator = Make<QFrame>(GroupBoxInputIndicator, QStringLiteral("BevelInputIndicator"));
    BevelInputIndicator->setFrameShape(QFrame::VLine);
    BevelInputIndicator->setFrameShadow(QFrame::Sunken);
    for (int i = 0; i < 16; ++i) {
        const QString number = QString::number(i + 1);
        const QString labelName = i == 4 ? QStringLiteral("Label117") : QStringLiteral("LabelLed") + number;
        LedLabels[i] = Label(GroupBoxInputIndicator, labelName, number);
        LedLabels[i]->setAlignment(Qt::AlignCenter);
        PanelLed[i] = Indicator(QStringLiteral("PanelLed") + number, GroupBoxInputIndicator);
        QPushButton *button = Button(GroupBoxInputIndicator,
                                     QStringLiteral("Button") + QString::number(InputButtonNumbers[i]), QString());
        button->setToolTip(QStringLiteral("Имитировать активизацию входа"));
        button->setFixedSize(18, 18);
        SetTag(button, i);
        InputButtons[i] = button;
        // The bevel stands between input 4 and the fifth input of the form.
        const int column = i < 4 ? i : i + 1;
        layout->addWidget(LedLabels[i], 0, column, Qt::AlignCenter);
        layout->addWidget(PanelLed[i], 1, column, Qt::AlignCenter);
        layout->addWidget(button, 2, column, Qt::AlignCenter);
        const bool shown = i < FormInputs;
        LedLabels[i]->setVisible(shown);
        PanelLed[i]->setVisible(shown);
        button->setVisible(shown);
    }
    layout->addWidget(BevelInputIndicator, 0, 4, 3, 1);
    layout->setColumnStretch(17, 1);
}

void PageLiveState::BuildOutputIndicators(QWidget *body)
{
    GroupBoxOutIndicator = GroupBox(body, QStringLiteral("GroupBoxOutIndicator"), QStringLiteral("Состояние выходов"));
    auto *layout = new QGridLayout(GroupBoxOutIndicator);
    const QStringList captions = {QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("O1"),
                                  QStringLiteral("O2"), QStringLiteral("O3"), QStringLiteral("O4"),
                                  QStringLiteral("O5")};
    for (int t = 0; t < 7; ++t) {
        const QString number = QString::number(t + 1);
        OutLabels[t] = Label(GroupBoxOutIndicator, QStringLiteral("LabelOut") + number, captions[t]);
        OutLabels[t]->setAlignment(Qt::AlignCenter);
        PanelOut[t] = Indicator(QStringLiteral("PanelOut") + number, GroupBoxOutIndicator);
        OutputOnButtons[t] =
            Button(GroupBoxOutIndicator, QStringLiteral("Button") + QString::number(4 + 2 * t), QStringLiteral("Вкл."));
        OutputOffButtons[t] = Button(GroupBoxOutIndicator, QStringLiteral("Button") + QString::number(5 + 2 * t),
                                     QStringLiteral("Выкл."));
        OutputOnButtons[t]->setToolTip(QStringLiteral("Включить исполнительное устройство"));
        OutputOffButtons[t]->setToolTip(QStringLiteral("Выключить исполнительное устройство"));
        for (QPushButton *button : {OutputOnButtons[t], OutputOffButtons[t]}) {
            SetTag(button, t);
            button->setMaximumWidth(56);
        }
        layout->addWidget(OutLabels[t], 0, t, Qt::AlignCenter);
        layout->addWidget(PanelOut[t], 1, t, Qt::AlignCenter);
        layout->addWidget(OutputOnButtons[t], 2, t);
        layout->addWidget(OutputOffButtons[t], 3, t);
        const bool shown = t < FormOutputs;
        for (QWidget *w : {static_cast<QWidget *>(OutLabels[t]), static_cast<QWidget *>(PanelOut[t]),
                           static_cast<QWidget *>(OutputOnButtons[t]), static_cast<QWidget *>(OutputOffButtons[t])})
            w->setVisible(shown);
    }
    layout->setColumnStretch(7, 1);
}

void PageLiveState::Enter(int page)
{
    ConfigPage::Enter(page);
    Button22->hide();
    Button18->setMinimumWidth(Button19->sizeHint().width());
    // The fifth input of the form is not on this controller. The output
    // indicators follow the input indicators in the layout, so they move up.
    BevelInputIndicator->hide();
    PanelLed[4]->hide();
    LedLabels[4]->hide();
    InputButtons[4]->hide();
    FillTestCombos();
    ActionName->clear();
}

bool PageLiveState::HasValues(int) const
{
    return false;
}

void PageLiveState::FillTestCombos()
{
    SetItems(ComboBoxTestOut, texts().OutputNames.mid(0, 4));
    SetItems(ComboBoxTestScen, texts().OutputActionNames.mid(3, 14));
    ComboBoxTestOut->setCurrentIndex(0);
    ComboBoxTestScen->setCurrentIndex(0);
}

void PageLiveState::ShowSignalQuality(quint8 quality)
{
    ProgressBarSignalQuality->setValue(quality & 0x1F);
}

void PageLiveState::ShowBalance(bool valid, float balance)
{
    if (!valid) {
        LabelBalans->clear();
        return;
    }
    LabelBalans->setText(QStringLiteral("Баланс лицевого счета: ") +
                         FormatCurrency(balance, 7, LocaleCurrencyFormat(QLocale::system())));
}

void PageLiveState::ShowArmState(quint8 state)
{
    const QStringList &modes = texts().ModeNames;
    QString caption;
    QColor colour = ButtonFace();
    switch (state) {
    case 0:
        caption = modes.value(1);
        break;
    case 1:
        // Blinks: one step per poll, red first.
        caption = modes.value(3);
        if (FaceColour(PanelArmDisarmStatus) == ButtonFace())
            colour = AlarmRed;
        break;
    case 2:
        caption = modes.value(0);
        colour = AlarmRed;
        break;
    case 3:
        caption = modes.value(2);
        colour = ProtectionYellow;
        break;
    default:
        break;
    }
    PanelArmDisarmStatus->setText(caption);
    SetFaceColour(PanelArmDisarmStatus, colour);
}

void PageLiveState::ShowLedMask(quint16 mask)
{
    for (int i = 0; i < int(PanelLed.size()); ++i)
        SetFaceColour(PanelLed[i], (mask >> i) & 1 ? IndicatorOn : IndicatorOff);
}

void PageLiveState::ShowOutputMask(quint8 mask)
{
    for (int i = 0; i < int(PanelOut.size()); ++i)
        SetFaceColour(PanelOut[i], (mask >> i) & 1 ? IndicatorOn : IndicatorOff);
}
