#include "configurator/pages/PageGeneral.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/WrapLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

using namespace pagectl;

namespace {

struct BalancePreset {
    const char16_t *request;
    const char16_t *keyWord;
};

// Operator presets, in the order of RadioButton1..4.
constexpr BalancePreset BalancePresets[] = {
    {u"*100#", u"Баланс:"},
    {u"*102#", u"Баланс "},
    {u"*100#", u""},
    {u"*105#", u"OCTATOK "},
};

const QString SysPasswordWarning = QStringLiteral(
    "Административный пароль необходим для использования расширенного набора команд через SMS, а так же "
    "для защиты конфигурации устройства от модификации. После процедуры установки, запись и чтение "
    "конфигурации будут невозможны, без указания этого пароля. Действие нового пароля начнется с момента "
    "повторного запуска конфигуратора. Будьте внимательны, в случае утраты пароля его отмена возможна с "
    "помощью длительной процедуры, около 30 минут, при этом ранее настроенная конфигурация будет очищена, "
    "все параметры сбросятся к заводским. Этот пароль не сохраняется в файле конфигурации его нужно будет "
    "вводить при каждом запуске программы.");

} // namespace

PageGeneral::PageGeneral(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel1"), parent)
{
    Label15 = Title(this, QStringLiteral("Label15"));
    QWidget *area = ScrollBody(this, Label15);
    auto *body = new QVBoxLayout(area);

    // Passwords and control rights.
    GroupBox6 = GroupBox(area, QStringLiteral("GroupBox6"), QStringLiteral("Пароли и управление"));
    CheckBoxSysPassword = CheckBox(GroupBox6, QStringLiteral("CheckBoxSysPassword"),
                                   QStringLiteral("Использовать административный пароль"));
    Label84 = Label(GroupBox6, QStringLiteral("Label84"), QStringLiteral("Административный пароль"));
    MaskEditSysPassword = MaskEdit(GroupBox6, QStringLiteral("MaskEditSysPassword"), QStringLiteral("aaaaaaaa;1; "));
    LabelSharedParWarningMsg = Label(GroupBox6, QStringLiteral("LabelSharedParWarningMsg"), QString());
    LabelSharedParWarningMsg->setWordWrap(true);
    Label72 = Label(GroupBox6, QStringLiteral("Label72"), QStringLiteral("Пароль доступа для SMS управления"));
    MaskEditPassword = MaskEdit(GroupBox6, QStringLiteral("MaskEditPassword"), QStringLiteral("aaaaaaaa;1; "));
    Label73 = Label(GroupBox6, QStringLiteral("Label73"), QStringLiteral("Номер телефона SMS центра"));
    MaskEditSMSCA = MaskEdit(GroupBox6, QStringLiteral("MaskEditSMSCA"), QStringLiteral("#99999999999999;1; "));
    Label70 = Label(GroupBox6, QStringLiteral("Label70"), QStringLiteral("PIN код SIM карты"));
    MaskEditPIN = MaskEdit(GroupBox6, QStringLiteral("MaskEditPIN"), QStringLiteral("99999999;1; "));
    Label8 = Label(GroupBox6, QStringLiteral("Label8"), QStringLiteral("Пароль доступа для DTMF управления"));
    MaskEditDTMFPass = MaskEdit(GroupBox6, QStringLiteral("MaskEditDTMFPass"), QStringLiteral("9999;1; "));
    CheckBoxDTMFControlOnlyList = CheckBox(GroupBox6, QStringLiteral("CheckBoxDTMFControlOnlyList"),
                                           QStringLiteral("DTMF управление только с телефонов из списка"));
    CheckBoxControlOnlyList = CheckBox(GroupBox6, QStringLiteral("CheckBoxControlOnlyList"),
                                       QStringLiteral("SMS управление только с телефонов из списка"));
    CheckBoxACK = CheckBox(GroupBox6, QStringLiteral("CheckBoxACK"),
                           QStringLiteral("Всегда подтверждать выполнение SMS команды"));
    Label131 = Label(GroupBox6, QStringLiteral("Label131"),
                     QStringLiteral("Не выполнять SMS команды, доставленные позднее чем через"));
    ComboBoxOutdatedMsgTime = ComboBox(GroupBox6, QStringLiteral("ComboBoxOutdatedMsgTime"),
                                       QStringList{QStringLiteral("---")} + Numbers(2, 2, 15, QStringLiteral(" Min.")));

    // The passwords; beside them, as far as the page is wide, the control
    // rights and the password warning.
    auto *passwords = new QGridLayout;
    passwords->addWidget(CheckBoxSysPassword, 0, 0, 1, 2);
    const std::pair<QLabel *, QWidget *> rows[] = {
        {Label84, MaskEditSysPassword}, {Label72, MaskEditPassword}, {Label73, MaskEditSMSCA},
        {Label70, MaskEditPIN},         {Label8, MaskEditDTMFPass},  {Label131, ComboBoxOutdatedMsgTime},
    };
    int row = 1;
    for (const auto &[label, edit] : rows) {
        passwords->addWidget(label, row, 0);
        passwords->addWidget(edit, row++, 1);
    }
    passwords->setRowStretch(row, 1);
    auto *rights = new QVBoxLayout;
    rights->addWidget(CheckBoxDTMFControlOnlyList);
    rights->addWidget(CheckBoxControlOnlyList);
    rights->addWidget(CheckBoxACK);
    rights->addWidget(LabelSharedParWarningMsg);
    rights->addStretch(1);
    auto *access = new WrapLayout(GroupBox6);
    access->addLayout(passwords, 0);
    access->addLayout(rights, 1);
    body->addWidget(GroupBox6);

    // Outgoing voice notification and the modem connection type, side by side.
    GroupBox12 = GroupBox(area, QStringLiteral("GroupBox12"), QStringLiteral("Исходящие голосовые оповещения"));
    Label128 = Label(GroupBox12, QStringLiteral("Label128"), QStringLiteral("Пауза между соединениями, сек."));
    ComboBoxCall2CallPauseX10S = ComboBox(GroupBox12, QStringLiteral("ComboBoxCall2CallPauseX10S"), Numbers(0, 10, 8));
    Label129 = Label(GroupBox12, QStringLiteral("Label129"), QStringLiteral("Порядок выбора соединений"));
    ComboBoxDialPriority = ComboBox(GroupBox12, QStringLiteral("ComboBoxDialPriority"),
                                    {QStringLiteral("Чередование от 1 до 8 по кольцу, без приоритета."),
                                     QStringLiteral("Приоритет у соединения с меньшим номером."),
                                     QStringLiteral("Приоритет у последнего успешного соединения."),
                                     QStringLiteral("Приоритет у текущего соединения, до первой неудачи.")});
    auto *voice = new QFormLayout(GroupBox12);
    voice->addRow(Label128, ComboBoxCall2CallPauseX10S);
    KeepItemsWhole(ComboBoxDialPriority);
    voice->setRowWrapPolicy(QFormLayout::WrapLongRows);
    voice->addRow(Label129, ComboBoxDialPriority);

    // The window shows this group beside the voice group.
    GroupBoxOutDataParam = GroupBox(area, QStringLiteral("GroupBoxOutDataParam"),
                                    QStringLiteral("Тип модемного соединения для исходящих вызовов"));
    ComboBoxDATAProtocol = ComboBox(GroupBoxOutDataParam, QStringLiteral("ComboBoxDATAProtocol"),
                                    {QStringLiteral("V.32 (9600 bps)"), QStringLiteral("V.110 (9600 bps)")});
    auto *data = new QVBoxLayout(GroupBoxOutDataParam);
    data->addWidget(ComboBoxDATAProtocol);
    data->addStretch();
    auto *calls = new WrapLayout;
    calls->addWidget(GroupBox12, 3);
    calls->addWidget(GroupBoxOutDataParam, 1);
    body->addLayout(calls);

    // Balance request.
    GroupBox13 = GroupBox(area, QStringLiteral("GroupBox13"), QStringLiteral("Контроль баланса"));
    Label49 = Label(GroupBox13, QStringLiteral("Label49"), QStringLiteral("USSD команда запроса"));
    MaskEditBalansReqCMD = MaskEdit(GroupBox13, QStringLiteral("MaskEditBalansReqCMD"), QString(), 8);
    Label50 = Label(GroupBox13, QStringLiteral("Label50"),
                    QStringLiteral("Ключевое слово для идентификации сообщения о балансе"));
    MaskEditBalansIdWord = MaskEdit(GroupBox13, QStringLiteral("MaskEditBalansIdWord"), QString(), 8);
    Label41 = Label(GroupBox13, QStringLiteral("Label41"), QStringLiteral("Сообщать, если баланс равен или ниже"));
    EditBalansMinVal = Edit(GroupBox13, QStringLiteral("EditBalansMinVal"), 5);
    Label42 = Label(GroupBox13, QStringLiteral("Label42"), QStringLiteral("Период запроса баланса, час."));
    EditReqPeriodH = Edit(GroupBox13, QStringLiteral("EditReqPeriodH"), 3);

    GroupBox16 = GroupBox(GroupBox13, QStringLiteral("GroupBox16"), QStringLiteral("Предустановленные шаблоны"));
    RadioButton1 = RadioButton(GroupBox16, QStringLiteral("RadioButton1"), QStringLiteral("МТС"));
    RadioButton2 = RadioButton(GroupBox16, QStringLiteral("RadioButton2"), QStringLiteral("Билайн"));
    RadioButton3 = RadioButton(GroupBox16, QStringLiteral("RadioButton3"), QStringLiteral("Мегафон"));
    RadioButton4 = RadioButton(GroupBox16, QStringLiteral("RadioButton4"), QStringLiteral("Теле 2"));
    StaticText1 = Label(GroupBox16, QStringLiteral("StaticText1"),
                        QStringLiteral("Предустановленные шаблоны параметров запроса баланса могут отличаться в "
                                       "разных регионах. Уточните USSD команду для запроса баланса у вашего "
                                       "оператора. Ключевое слово - это ближайшие восемь символов слева от "
                                       "числового значения баланса."));
    StaticText1->setWordWrap(true);
    auto *presets = new QGridLayout(GroupBox16);
    QRadioButton *const buttons[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    for (int i = 0; i < 4; ++i)
        presets->addWidget(buttons[i], i / 2, i % 2);
    presets->addWidget(StaticText1, 2, 0, 1, 2);

    auto *request = new QGridLayout;
    const std::pair<QLabel *, QWidget *> balanceRows[] = {
        {Label49, MaskEditBalansReqCMD}, {Label50, MaskEditBalansIdWord},
        {Label41, EditBalansMinVal},     {Label42, EditReqPeriodH},
    };
    row = 0;
    for (const auto &[label, edit] : balanceRows) {
        request->addWidget(label, row, 0);
        request->addWidget(edit, row++, 1);
    }
    auto *balance = new WrapLayout(GroupBox13);
    balance->addLayout(request);
    balance->addWidget(GroupBox16);
    body->addWidget(GroupBox13);
    body->addStretch();

    using F = GeneralFields;
    fields_.Bind(CheckBoxDTMFControlOnlyList, F::DTMFControlOnlyList);
    fields_.Bind(CheckBoxControlOnlyList, F::ControlOnlyList);
    fields_.Bind(CheckBoxACK, F::ACK);
    fields_.Bind(ComboBoxDialPriority, F::DialPriority);
    fields_.Bind(ComboBoxCall2CallPauseX10S, F::Call2CallPauseX10S);
    fields_.Bind(ComboBoxOutdatedMsgTime, F::OutdatedMsgTime);
    fields_.Bind(ComboBoxDATAProtocol, F::DATAProtocol);

    connect(CheckBoxSysPassword, &QCheckBox::clicked, this, &PageGeneral::CheckBoxSysPasswordClick);
    connect(RadioButton1, &QRadioButton::clicked, this, &PageGeneral::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &PageGeneral::RadioButton2Click);
    connect(RadioButton3, &QRadioButton::clicked, this, &PageGeneral::RadioButton3Click);
    connect(RadioButton4, &QRadioButton::clicked, this, &PageGeneral::RadioButton4Click);
    CheckBoxSysPasswordClick();
}

void PageGeneral::Enter(int page)
{
    ConfigPage::Enter(page);
    for (QWidget *w : {static_cast<QWidget *>(Label73), static_cast<QWidget *>(MaskEditSMSCA),
                       static_cast<QWidget *>(Label131), static_cast<QWidget *>(ComboBoxOutdatedMsgTime)})
        w->hide();
    KeepFirstItems(ComboBoxDialPriority, 2);
}

void PageGeneral::CheckBoxSysPasswordClick()
{
    const bool on = CheckBoxSysPassword->isChecked();
    MaskEditSysPassword->setEnabled(on);
    Label84->setEnabled(on);
    // Once shown, the warning stays.
    if (on)
        LabelSharedParWarningMsg->setText(SysPasswordWarning);
}

void PageGeneral::ApplyBalancePreset(int preset)
{
    MaskEditBalansReqCMD->setText(QString::fromUtf16(BalancePresets[preset].request));
    MaskEditBalansIdWord->setText(QString::fromUtf16(BalancePresets[preset].keyWord));
}

void PageGeneral::RadioButton1Click() { ApplyBalancePreset(0); }
void PageGeneral::RadioButton2Click() { ApplyBalancePreset(1); }
void PageGeneral::RadioButton3Click() { ApplyBalancePreset(2); }
void PageGeneral::RadioButton4Click() { ApplyBalancePreset(3); }

void PageGeneral::StorePage(int, ControllerConfig &config)
{
    using F = GeneralFields;
    // The administrative password is kept only while its box is checked.
    if (!CheckBoxSysPassword->isChecked())
        MaskEditSysPassword->SetText(QString());
    CheckBoxSysPasswordClick();

    const FieldView image = View(config.ConfigImage);
    StoreText(image, F::SystemPassword, MaskEditSysPassword->Text());
    StoreText(image, F::Password, MaskEditPassword->Text());
    StoreText(image, F::SMSCA, MaskEditSMSCA->Text());
    StripSpaces(image.Bytes(F::SMSCA));
    StoreText(image, F::PIN, MaskEditPIN->Text());
    StoreText(image, F::DTMFPass, MaskEditDTMFPass->Text());

    fields_.Store(image);

    StoreText(image, F::BalansReqCMD, MaskEditBalansReqCMD->Text());
    image.Set(F::BalansIdWord, TrimLeadingBlanks(MaskEditBalansIdWord->Text()));
    StoreNumber(image, F::BalansMinVal, EditBalansMinVal);
    StoreNumber(image, F::ReqPeriodH, EditReqPeriodH);
}

void PageGeneral::ShowPage(int, ControllerConfig &config)
{
    using F = GeneralFields;
    CheckBoxSysPasswordClick();

    const ConstFieldView image = View(std::as_const(config.ConfigImage));
    MaskEditSysPassword->SetText(image.Get(F::SystemPassword));
    MaskEditPassword->SetText(image.Get(F::Password));
    MaskEditSMSCA->SetText(image.Get(F::SMSCA));
    MaskEditPIN->SetText(image.Get(F::PIN));
    MaskEditDTMFPass->SetText(image.Get(F::DTMFPass));

    fields_.Show(image);

    MaskEditBalansReqCMD->SetText(image.Get(F::BalansReqCMD));
    MaskEditBalansIdWord->SetText(image.Get(F::BalansIdWord));
    EditBalansMinVal->setText(QString::number(image.Get(F::BalansMinVal)));
    EditReqPeriodH->setText(QString::number(image.Get(F::ReqPeriodH)));
}
