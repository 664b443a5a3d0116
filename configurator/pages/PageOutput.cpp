#include "configurator/pages/PageOutput.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PagePower.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace pagectl;

namespace {

constexpr int InputsListed = 4;

const QString Tab = QStringLiteral("\t");
const QString PowerPageTag = QStringLiteral("[Питание, температура...]");

QString Bracketed(const QString &text)
{
    return QLatin1Char('[') + text + QLatin1Char(']');
}

} // namespace

PageOutput::PageOutput(PageContext &context, QWidget *parent) : ConfigPage(context, QStringLiteral("Panel9"), parent)
{
    Label6 = Title(this, QStringLiteral("Label6"));

    CheckBoxReleEn = CheckBox(this, QStringLiteral("CheckBoxReleEn"), texts().EnabledWords.value(0));
    Label7 = Label(this, QStringLiteral("Label7"), QStringLiteral("Название"));
    ComboBoxReleName = TextComboBox(this, QStringLiteral("ComboBoxReleName"),
                                    {QStringLiteral("РЕЛЕ1"), QStringLiteral("РЕЛЕ2"), QStringLiteral("ВЫХОД1"),
                                     QStringLiteral("ВЫХОД2"), QStringLiteral("СИРЕНА"), QStringLiteral("ЛАМПА")},
                                    16);
    Label92 = Label(this, QStringLiteral("Label92"), QStringLiteral("Название включенного состояния"));
    ComboBoxReleNameAct =
        TextComboBox(this, QStringLiteral("ComboBoxReleNameAct"),
                     {QStringLiteral("ВКЛ"), QStringLiteral("ВКЛЮЧЕН"), QStringLiteral("ОТКРЫТ")}, 16);
    Label104 = Label(this, QStringLiteral("Label104"), QStringLiteral("Название выключенного состояния"));
    ComboBoxReleNameDeact =
        TextComboBox(this, QStringLiteral("ComboBoxReleNameDeact"),
                     {QStringLiteral("ВЫКЛ"), QStringLiteral("ВЫКЛЮЧЕН"), QStringLiteral("ЗАКРЫТ")}, 16);
    CheckBoxReleInversion = CheckBox(this, QStringLiteral("CheckBoxReleInversion"), QStringLiteral("Инверсия выхода"));
    Label90 = Label(this, QStringLiteral("Label90"), QStringLiteral("Тип управления"));
    QStringList commTypes = {QStringLiteral("уровень")};
    commTypes << texts().OutputActionNames.mid(oaScenario1);
    ComboBoxCommType = ComboBox(this, QStringLiteral("ComboBoxCommType"), commTypes);
    CheckBoxRemoteControlEn = CheckBox(this, QStringLiteral("CheckBoxRemoteControlEn"),
                                       QStringLiteral("Разрешить дистанционное управление (DTMF, SMS, DATA)"));

    // The window's texts carry the caption's blanks.
    GroupBoxRsOutsStimulus = Make<QGroupBox>(this, QStringLiteral("GroupBoxRsOutsStimulus"));
    GroupBoxRsOutsStimulus->setTitle(texts().StimulusCaptions.value(0));
    MemoRsOutsStimulus = Make<QPlainTextEdit>(GroupBoxRsOutsStimulus, QStringLiteral("MemoRsOutsStimulus"));
    MemoRsOutsStimulus->setReadOnly(true);
    MemoRsOutsStimulus->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoRsOutsStimulus->setTabStopDistance(110);
    auto *stimulus = new QVBoxLayout(GroupBoxRsOutsStimulus);
    stimulus->addWidget(MemoRsOutsStimulus);

    auto *fields = new QGridLayout;
    fields->addWidget(CheckBoxReleEn, 0, 0, 1, 2);
    fields->addWidget(Label7, 1, 0);
    fields->addWidget(ComboBoxReleName, 1, 1);
    fields->addWidget(Label92, 2, 0);
    fields->addWidget(ComboBoxReleNameAct, 2, 1);
    fields->addWidget(Label104, 3, 0);
    fields->addWidget(ComboBoxReleNameDeact, 3, 1);
    fields->addWidget(CheckBoxReleInversion, 4, 0, 1, 2);
    fields->addWidget(Label90, 5, 0);
    fields->addWidget(ComboBoxCommType, 5, 1);
    fields->addWidget(CheckBoxRemoteControlEn, 6, 0, 1, 2);
    fields->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label6);
    layout->addLayout(fields);
    layout->addWidget(GroupBoxRsOutsStimulus, 1);

    using R = OutputRecord;
    fields_.Bind(CheckBoxReleEn, R::ReleEn);
    fields_.Bind(CheckBoxReleInversion, R::ReleInversion);
    fields_.Bind(CheckBoxRemoteControlEn, R::RemoteControlEn);
    fields_.Bind(ComboBoxCommType, R::CommType);
}

void PageOutput::StorePage(int page, ControllerConfig &config)
{
    const int output = page - Pages::FirstOutput;
    if (output < 0 || output >= Pages::OutputCount)
        return;
    using R = OutputRecord;
    const FieldView r = RecordView<OutputRecord>(config.ConfigImage, output);
    fields_.Store(r);
    StoreTypedText(r, R::ReleName, ComboBoxReleName);
    StoreTypedText(r, R::ReleNameAct, ComboBoxReleNameAct);
    StoreTypedText(r, R::ReleNameDeact, ComboBoxReleNameDeact);
}

void PageOutput::ShowPage(int page, ControllerConfig &config)
{
    const int output = page - Pages::FirstOutput;
    if (output < 0 || output >= Pages::OutputCount)
        return;
    // Relays and outputs have their own words.
    const int kind = output < onOutput1 ? 0 : 1;
    CheckBoxReleEn->setText(texts().EnabledWords.value(kind));
    GroupBoxRsOutsStimulus->setTitle(texts().StimulusCaptions.value(kind));
    MemoRsOutsStimulus->setPlainText(StimulusLines(config.ConfigImage, output).join(QLatin1Char('\n')));

    using R = OutputRecord;
    const FieldView r = RecordView<OutputRecord>(config.ConfigImage, output);
    fields_.Show(r);
    ShowTypedText(r, R::ReleName, ComboBoxReleName);
    ShowTypedText(r, R::ReleNameAct, ComboBoxReleNameAct);
    ShowTypedText(r, R::ReleNameDeact, ComboBoxReleNameDeact);
}

QStringList PageOutput::StimulusLines(const ConfigImage &image, int output) const
{
    QStringList lines;
    const quint32 k = quint32(output);

    // Each reaction is named by the items of the combo box that sets it on
    // its own page, or by its number where the window lacks that page.
    const auto *clock = Other<PageClock>(PanelId::Clock);
    const auto *power = Other<PagePower>(PanelId::Power);
    const auto *armIn = Other<PageArmIn>(PanelId::ArmIn);
    const auto *inputPage = Other<PageInput>(PanelId::Input);

    // The scheduler.
    for (int r = 1; r <= ScheduleLine::Count; ++r) {
        const ConstFieldView line = RecordView<ScheduleLine>(image, r - 1);
        if (line.Get(ScheduleLine::Enabled) == 0 || line.Get(ScheduleLine::Days) == 0 ||
            line.Get(ScheduleLine::Action) != saOutputControl || line.Get(ScheduleLine::ActionOutput) != k)
            continue;
        const quint32 reaction = line.Get(ScheduleLine::ActionReaction);
        if (reaction == oaNone)
            continue;
        const QComboBox *reactions = clock != nullptr ? clock->LineComboBox(PageClock::colParameter, r) : nullptr;
        lines << Bracketed(context().NodeText(Pages::Clock)) + Tab + Tab + ItemTextOrNumber(reactions, reaction) +
                     QStringLiteral("\tВ ") + QString::number(line.Get(ScheduleLine::Hour)) + QLatin1Char(':') +
                     QString::number(line.Get(ScheduleLine::Minute)) +
                     QStringLiteral(" в указанные дни недели, строка № ") + QString::number(r);
    }

    // Tamper and the two temperature reactions of the power page.
    const ConstFieldView view = View(image);
    struct PowerReaction {
        UField output, reaction;
        const QComboBox *items;
        QString event;
    };
    const PowerReaction reactions[] = {
        {PowerFields::TamperActOutN, PowerFields::TamperActScnN, power ? power->ComboBoxTamperActScnN : nullptr,
         QStringLiteral("При вскрытии корпуса")},
        {PowerFields::HiBorderOut, PowerFields::HiBorderScn, power ? power->ComboBoxHiBorderScn : nullptr,
         QStringLiteral("При превышении температуры выше ") + QString::number(view.Get(PowerFields::HiBorderLevel)) +
             QLatin1Char('C')},
        {PowerFields::LoBorderOut, PowerFields::LoBorderScn, power ? power->ComboBoxLoBorderScn : nullptr,
         QStringLiteral("При падении температуры ниже ") + QString::number(view.Get(PowerFields::LoBorderLevel)) +
             QLatin1Char('C')},
    };
    for (const PowerReaction &p : reactions) {
        const quint32 reaction = view.Get(p.reaction);
        if (view.Get(p.output) == k && reaction != oaNone)
            lines << PowerPageTag + Tab + Tab + ItemTextOrNumber(p.items, reaction) + Tab + p.event;
    }

    // Perimeter 0 of the Arm In page; every line names its reaction with the
    // items of the countdown combo box.
    const ConstFieldView perimeter = RecordView<PerimeterRecord>(image, 0);
    const std::pair<UField, QString> modes[] = {
        {PerimeterRecord::CDtoRele(output), QStringLiteral("При начале обратного отсчета")},
        {PerimeterRecord::ArmToRele(output), QStringLiteral("При переходе в режим ОХРАНА")},
        {PerimeterRecord::DisarmToRele(output), QStringLiteral("При переходе в режим НАБЛЮДЕНИЕ")},
        {PerimeterRecord::RAtoRele(output), QStringLiteral("При переходе в режим ЗАЩИТА")},
    };
    for (const auto &[field, event] : modes) {
        if (const quint32 reaction = perimeter.Get(field); reaction != oaNone)
            lines << context().NodeText(Pages::ArmIn) + Tab + Tab + Tab +
                         ItemTextOrNumber(armIn ? armIn->ComboBoxCDtoRele[0] : nullptr, reaction) + Tab + event;
    }

    // Inputs 1..4.
    for (int j = 1; j <= InputsListed; ++j) {
        const ConstFieldView input = RecordView<InputRecord>(image, j - 1);
        const QString tag = Bracketed(context().NodeText(Pages::FirstInput - 1 + j)) + Tab + Tab + Tab + Tab;
        if (const quint32 reaction = input.Get(InputRecord::ActRele(output)); reaction != oaNone)
            lines << tag + ItemTextOrNumber(inputPage ? inputPage->ComboBoxActRele[0] : nullptr, reaction) +
                         QStringLiteral("\tПри активизации входа ") + QString::number(j);
        if (const quint32 reaction = input.Get(InputRecord::PassRele(output)); reaction != oaNone)
            lines << tag + ItemTextOrNumber(inputPage ? inputPage->ComboBoxPassRele[0] : nullptr, reaction) +
                         QStringLiteral("\tПри деактивизации входа ") + QString::number(j);
    }
    return lines;
}
