// Pages 18 (outputs overview) and 19-22 (relays 1, 2, outputs 1, 2) with the
// list of events that drive the output, on real widgets.
#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageClock.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PageOutput.h"
#include "configurator/pages/PageOutputs.h"
#include "configurator/pages/PagePower.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPicture>
#include <QPlainTextEdit>
#include <QTest>

#include <functional>

namespace {

using ImageSetup = std::function<void(ConfigImage &)>;

// Puts a varied but valid record into output `index`.
void FillOutputRecord(ConfigImage &image, int index)
{
    using R = OutputRecord;
    const FieldView r = RecordView<OutputRecord>(image, index);
    r.Set(R::ReleName, QStringLiteral("Сирена %1 ").arg(index + 1));
    r.Set(R::ReleNameAct, QStringLiteral("ВОЕТ"));
    r.Set(R::ReleNameDeact, QStringLiteral("молчит"));
    r.Set(R::CommType, 14 - index);
    r.Set(R::ReleEn, index % 2);
    r.Set(R::ReleInversion, 1 - index % 2);
    r.Set(R::RemoteControlEn, index / 2);
}

void ScheduleOutput(ConfigImage &image, int line, int output, int reaction, int hour, int minute)
{
    const FieldView r = RecordView<ScheduleLine>(image, line - 1);
    r.Set(ScheduleLine::Enabled, 1);
    r.Set(ScheduleLine::Days, 0x41);
    r.Set(ScheduleLine::Action, saOutputControl);
    r.Set(ScheduleLine::ActionOutput, output);
    r.Set(ScheduleLine::ActionReaction, reaction);
    r.Set(ScheduleLine::Hour, hour);
    r.Set(ScheduleLine::Minute, minute);
}

void SetReaction(ConfigImage &image, UField out, UField scn, int output, int reaction)
{
    View(image).Set(out, output);
    View(image).Set(scn, reaction);
}

} // namespace

class TstPageOutputs : public PageTest {
    Q_OBJECT
private slots:
    void namedControlsExist_data();
    void namedControlsExist();
    void overviewShowsThePicture();
    void roundTripLeavesImage_data();
    void roundTripLeavesImage();
    void captionsFollowTheKindOfOutput_data();
    void captionsFollowTheKindOfOutput();
    void storeTakesTheControls();
    void showTerminatesTextsAndChecksIndexes();
    void stimulusList_data();
    void stimulusList();
    void stimulusListOrderAndMissingCombos();

private:
    void MakePages() override;
    QStringList Stimulus() const;

    PageInput *input = nullptr;
    PageOutputs *outputs = nullptr;
    PageOutput *output = nullptr;
    ControllerConfig config;
};

void TstPageOutputs::MakePages()
{
    QWidget *form = context_->form.get();
    input = new PageInput(*context_, form);
    outputs = new PageOutputs(*context_, form);
    output = new PageOutput(*context_, form);
    // The pages whose combo boxes name the reactions.
    auto &panels = context_->panels;
    panels[std::size_t(PanelId::Input)] = input;
    panels[std::size_t(PanelId::Clock)] = new PageClock(*context_, form);
    panels[std::size_t(PanelId::Power)] = new PagePower(*context_, form);
    panels[std::size_t(PanelId::ArmIn)] = new PageArmIn(*context_, form);
    config = DefaultConfig();
}

QStringList TstPageOutputs::Stimulus() const
{
    const QString text = output->MemoRsOutsStimulus->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TstPageOutputs::namedControlsExist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const std::pair<const char *, const char *> controls[] = {
        {"Panel8", "PageOutputs"}, {"Label1", "QLabel"}, {"ImageQRV240Outs", "QLabel"},
        {"Panel9", "PageOutput"}, {"Label6", "QLabel"}, {"CheckBoxReleEn", "QCheckBox"},
        {"Label7", "QLabel"}, {"ComboBoxReleName", "QComboBox"}, {"Label92", "QLabel"},
        {"ComboBoxReleNameAct", "QComboBox"}, {"Label104", "QLabel"}, {"ComboBoxReleNameDeact", "QComboBox"},
        {"CheckBoxReleInversion", "QCheckBox"}, {"Label90", "QLabel"}, {"ComboBoxCommType", "QComboBox"},
        {"CheckBoxRemoteControlEn", "QCheckBox"}, {"GroupBoxRsOutsStimulus", "QGroupBox"},
        {"MemoRsOutsStimulus", "QPlainTextEdit"},
    };
    for (const auto &[name, className] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className);
}

void TstPageOutputs::namedControlsExist()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    VerifyNamedControl(context_->form.get(), name, className);
}

void TstPageOutputs::overviewShowsThePicture()
{
    QVERIFY(outputs->ImageQRV240Outs->isHidden());
    outputs->Enter(Pages::Outputs);
    QCOMPARE(outputs->Label1->text(), QStringLiteral("Выходы"));
    QVERIFY(!outputs->ImageQRV240Outs->isHidden());
    QVERIFY(!outputs->ImageQRV240Outs->picture().boundingRect().isEmpty());
    QVERIFY(!outputs->HasValues(Pages::Outputs));
    // A picture from a file replaces the built-in one.
    QPicture replacement;
    outputs->ImageQRV240Outs->setPicture(replacement);
    outputs->Enter(Pages::Outputs);
    QVERIFY(outputs->ImageQRV240Outs->picture().boundingRect().isEmpty());

    output->Enter(Pages::FirstOutput + 2);
    QCOMPARE(output->Label6->text(), QStringLiteral("Выход 1"));
    QCOMPARE(output->ComboBoxCommType->count(), 15);
    QCOMPARE(output->ComboBoxCommType->itemText(0), QStringLiteral("уровень"));
    QCOMPARE(output->ComboBoxCommType->itemText(14), QStringLiteral("сценарий 14"));
}

void TstPageOutputs::roundTripLeavesImage_data()
{
    QTest::addColumn<bool>("pattern");
    QTest::addColumn<int>("page");
    for (int page = Pages::FirstOutput; page < Pages::FirstOutput + Pages::OutputCount; ++page) {
        QTest::addRow("default, page %d", page) << false << page;
        QTest::addRow("pattern, page %d", page) << true << page;
    }
}

void TstPageOutputs::roundTripLeavesImage()
{
    QFETCH(bool, pattern);
    QFETCH(int, page);
    ControllerConfig before = DefaultConfig();
    if (pattern) {
        for (int k = 0; k < OutputCount; ++k)
            FillOutputRecord(before.ConfigImage, k);
        ScheduleOutput(before.ConfigImage, 2, page - Pages::FirstOutput, 4, 23, 59);
        SetReaction(before.ConfigImage, PowerFields::TamperActOutN, PowerFields::TamperActScnN,
                    page - Pages::FirstOutput, 2);
    }
    ControllerConfig after = before;
    output->ShowPage(page == Pages::FirstOutput ? Pages::FirstOutput + 1 : Pages::FirstOutput, after);
    output->ShowPage(page, after);
    output->StorePage(page, after);
    QCOMPARE(DifferingBytes(before.ConfigImage, after.ConfigImage), QList<int>());
    QCOMPARE(Stimulus().size(), pattern ? 2 : 0);
}

void TstPageOutputs::captionsFollowTheKindOfOutput_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("kind");
    QTest::newRow("relay 1") << Pages::FirstOutput << 0;
    QTest::newRow("relay 2") << Pages::FirstOutput + 1 << 0;
    QTest::newRow("output 1") << Pages::FirstOutput + 2 << 1;
    QTest::newRow("output 2") << Pages::FirstOutput + 3 << 1;
}

void TstPageOutputs::captionsFollowTheKindOfOutput()
{
    QFETCH(int, page);
    QFETCH(int, kind);
    output->ShowPage(page, config);
    QCOMPARE(output->CheckBoxReleEn->text(), kind == 0 ? QStringLiteral("Разрешено") : QStringLiteral("Разрешен"));
    QCOMPARE(output->GroupBoxRsOutsStimulus->title(),
             kind == 0 ? QStringLiteral(" События воздействующие на это реле [Вкладка | Воздействие | Событие] ")
                       : QStringLiteral(" События воздействующие на этот выход [Вкладка | Воздействие | Событие] "));
    // The texts are read when shown: a language file may have replaced them.
    context_->texts.EnabledWords = {QStringLiteral("Enabled"), QStringLiteral("Enabled")};
    context_->texts.StimulusCaptions = {QStringLiteral(" Relay "), QStringLiteral(" Output ")};
    output->ShowPage(page, config);
    QCOMPARE(output->CheckBoxReleEn->text(), QStringLiteral("Enabled"));
    QCOMPARE(output->GroupBoxRsOutsStimulus->title(), kind == 0 ? QStringLiteral(" Relay ") : QStringLiteral(" Output "));
}

void TstPageOutputs::storeTakesTheControls()
{
    output->ShowPage(Pages::FirstOutput + 1, config);
    QCOMPARE(output->ComboBoxReleName->currentText(), QStringLiteral("РЕЛЕ2"));
    QVERIFY(output->CheckBoxReleEn->isChecked());
    QVERIFY(output->CheckBoxRemoteControlEn->isChecked());
    ControllerConfig before = config;
    output->CheckBoxReleEn->setChecked(false);
    output->ComboBoxReleName->setEditText(QStringLiteral("Звонок "));
    output->ComboBoxReleNameAct->setEditText(QStringLiteral("ЗВЕНИТ И ЗВЕНИТ ДОЛГО"));
    output->ComboBoxReleNameDeact->setEditText(QString());
    output->CheckBoxReleInversion->setChecked(true);
    output->ComboBoxCommType->setCurrentIndex(5);
    output->CheckBoxRemoteControlEn->setChecked(false);
    output->StorePage(Pages::FirstOutput + 1, config);
    const int base = OutputRecord::Base + OutputRecord::Size;
    for (int offset : DifferingBytes(before.ConfigImage, config.ConfigImage))
        QVERIFY2(offset >= base && offset < base + OutputRecord::Size, qPrintable(QString::number(offset)));
    const ConstFieldView r = RecordView<OutputRecord>(std::as_const(config.ConfigImage), 1);
    QCOMPARE(r.Get(OutputRecord::ReleName), QStringLiteral("Звонок "));
    QCOMPARE(r.Get(OutputRecord::ReleNameAct), QStringLiteral("ЗВЕНИТ И ЗВЕНИТ "));
    QCOMPARE(r.Get(OutputRecord::ReleNameDeact), QString());
    QCOMPARE(r.bytes()[51], quint8(0x45)); // inverted, type 5, disabled, no remote control
}

void TstPageOutputs::showTerminatesTextsAndChecksIndexes()
{
    const FieldView r = RecordView<OutputRecord>(config.ConfigImage, 3);
    for (int i = 0; i < 51; ++i)
        r.bytes()[std::size_t(i)] = '0' + i % 10;
    r.Set(OutputRecord::CommType, 20);
    output->ShowPage(Pages::FirstOutput + 3, config);
    QCOMPARE(r.bytes()[16], quint8(0));
    QCOMPARE(r.bytes()[33], quint8(0));
    QCOMPARE(r.bytes()[50], quint8(0));
    QCOMPARE(output->ComboBoxReleName->currentText(), QStringLiteral("0123456789012345"));
    QCOMPARE(output->ComboBoxCommType->currentIndex(), -1);
    output->StorePage(Pages::FirstOutput + 3, config);
    QCOMPARE(r.Get(OutputRecord::CommType), 31u);
}

void TstPageOutputs::stimulusList_data()
{
    QTest::addColumn<ImageSetup>("setup");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("scheduler line")
        << ImageSetup([](ConfigImage &image) { ScheduleOutput(image, 3, onRelay2, RunScenario(1), 7, 5); })
        << Pages::FirstOutput + 1
        << QStringList{"[Часы, планировщик задач]\t\tсценарий 1\tВ 7:5 в указанные дни недели, строка № 3"};
    QTest::newRow("scheduler line for another output")
        << ImageSetup([](ConfigImage &image) { ScheduleOutput(image, 3, onRelay2, RunScenario(1), 7, 5); })
        << Pages::FirstOutput
        << QStringList{};
    QTest::newRow("scheduler line disabled") << ImageSetup([](ConfigImage &image) {
        ScheduleOutput(image, 1, onRelay1, oaSwitchOn, 1, 2);
        RecordView<ScheduleLine>(image, 0).Set(ScheduleLine::Enabled, 0);
    }) << Pages::FirstOutput << QStringList{};
    QTest::newRow("scheduler line without days") << ImageSetup([](ConfigImage &image) {
        ScheduleOutput(image, 8, onRelay1, oaSwitchOn, 1, 2);
        RecordView<ScheduleLine>(image, 7).Set(ScheduleLine::Days, 0);
    }) << Pages::FirstOutput << QStringList{};
    QTest::newRow("scheduler line of another kind") << ImageSetup([](ConfigImage &image) {
        ScheduleOutput(image, 8, onRelay1, oaSwitchOn, 1, 2);
        RecordView<ScheduleLine>(image, 7).Set(ScheduleLine::Action, saArm);
    }) << Pages::FirstOutput << QStringList{};
    QTest::newRow("scheduler line without reaction")
        << ImageSetup([](ConfigImage &image) { ScheduleOutput(image, 8, onRelay1, oaNone, 1, 2); })
        << Pages::FirstOutput
        << QStringList{};
    QTest::newRow("tamper, relay 1") << ImageSetup([](ConfigImage &image) {
        SetReaction(image, PowerFields::TamperActOutN, PowerFields::TamperActScnN, onRelay1, oaSwitchOff);
    }) << Pages::FirstOutput << QStringList{"[Питание, температура...]\t\tВыключить\tПри вскрытии корпуса"};
    QTest::newRow("tamper, only on its page") << ImageSetup([](ConfigImage &image) {
        SetReaction(image, PowerFields::TamperActOutN, PowerFields::TamperActScnN, onRelay1, oaSwitchOff);
    }) << Pages::FirstOutput + 2 << QStringList{};
    QTest::newRow("high temperature") << ImageSetup([](ConfigImage &image) {
        SetReaction(image, PowerFields::HiBorderOut, PowerFields::HiBorderScn, onOutput1, oaSwitchOn);
    }) << Pages::FirstOutput + 2
       << QStringList{"[Питание, температура...]\t\tВключить\tПри превышении температуры выше -15C"};
    QTest::newRow("low temperature") << ImageSetup([](ConfigImage &image) {
        SetReaction(image, PowerFields::LoBorderOut, PowerFields::LoBorderScn, onOutput1 + 1, RunScenario(14));
        View(image).Set(PowerFields::LoBorderLevel, 3);
    }) << Pages::FirstOutput + 3
       << QStringList{"[Питание, температура...]\t\tсценарий 14\tПри падении температуры ниже 3C"};
    QTest::newRow("reaction without item text") << ImageSetup([](ConfigImage &image) {
        SetReaction(image, PowerFields::TamperActOutN, PowerFields::TamperActScnN, onRelay2, 29);
    }) << Pages::FirstOutput + 1 << QStringList{"[Питание, температура...]\t\t29\tПри вскрытии корпуса"};
    QTest::newRow("arm in perimeter") << ImageSetup([](ConfigImage &image) {
        const FieldView p = RecordView<PerimeterRecord>(image, 0);
        p.Set(PerimeterRecord::CDtoRele(onOutput1), oaSwitchOn);
        p.Set(PerimeterRecord::ArmToRele(onOutput1), oaSwitchOff);
        p.Set(PerimeterRecord::DisarmToRele(onOutput1), RunScenario(2));
        p.Set(PerimeterRecord::RAtoRele(onOutput1), RunScenario(3));
        p.Set(PerimeterRecord::RAtoRele(onRelay1), RunScenario(3));
    }) << Pages::FirstOutput + 2 << QStringList{"Вход [Arm In]\t\t\tВключить\tПри начале обратного отсчета",
                            "Вход [Arm In]\t\t\tВыключить\tПри переходе в режим ОХРАНА",
                            "Вход [Arm In]\t\t\tсценарий 2\tПри переходе в режим НАБЛЮДЕНИЕ",
                            "Вход [Arm In]\t\t\tсценарий 3\tПри переходе в режим ЗАЩИТА"};
    QTest::newRow("input activation, relay 2") << ImageSetup([](ConfigImage &image) {
        RecordView<InputRecord>(image, 0).Set(InputRecord::ActRele(onRelay2), oaSwitchOn);
    }) << Pages::FirstOutput + 1 << QStringList{"[Вход 1]\t\t\t\tВключить\tПри активизации входа 1"};
    QTest::newRow("input deactivation, input 4") << ImageSetup([](ConfigImage &image) {
        RecordView<InputRecord>(image, 3).Set(InputRecord::PassRele(onRelay1), RunScenario(7));
        RecordView<InputRecord>(image, 4).Set(InputRecord::PassRele(onRelay1), RunScenario(7)); // input 5: not listed
    }) << Pages::FirstOutput << QStringList{"[Вход 4]\t\t\t\tсценарий 7\tПри деактивизации входа 4"};
}

void TstPageOutputs::stimulusList()
{
    QFETCH(ImageSetup, setup);
    QFETCH(int, page);
    QFETCH(QStringList, lines);
    setup(config.ConfigImage);
    output->ShowPage(page, config);
    QCOMPARE(Stimulus(), lines);
}

void TstPageOutputs::stimulusListOrderAndMissingCombos()
{
    ConfigImage &image = config.ConfigImage;
    RecordView<InputRecord>(image, 1).Set(InputRecord::PassRele(onRelay1), oaSwitchOff);
    RecordView<InputRecord>(image, 1).Set(InputRecord::ActRele(onRelay1), oaSwitchOn);
    RecordView<PerimeterRecord>(image, 0).Set(PerimeterRecord::ArmToRele(onRelay1), oaSwitchOn);
    SetReaction(image, PowerFields::LoBorderOut, PowerFields::LoBorderScn, onRelay1, oaSwitchOn);
    SetReaction(image, PowerFields::HiBorderOut, PowerFields::HiBorderScn, onRelay1, oaSwitchOn);
    SetReaction(image, PowerFields::TamperActOutN, PowerFields::TamperActScnN, onRelay1, oaSwitchOn);
    ScheduleOutput(image, 5, onRelay1, oaSwitchOn, 12, 30);
    ScheduleOutput(image, 2, onRelay1, oaSwitchOff, 0, 0);
    context_->nodes[Pages::FirstInput + 1] = QStringLiteral("Input 2");
    output->ShowPage(Pages::FirstOutput, config);
    const QStringList lines = Stimulus();
    QCOMPARE(lines.size(), 8);
    QVERIFY(lines[0].endsWith(QStringLiteral("строка № 2")));
    QVERIFY(lines[1].endsWith(QStringLiteral("строка № 5")));
    QVERIFY(lines[2].endsWith(QStringLiteral("При вскрытии корпуса")));
    QVERIFY(lines[3].contains(QStringLiteral("превышении")));
    QVERIFY(lines[4].contains(QStringLiteral("падении")));
    QVERIFY(lines[5].endsWith(QStringLiteral("ОХРАНА")));
    QCOMPARE(lines[6], QStringLiteral("[Input 2]\t\t\t\tВключить\tПри активизации входа 2"));
    QCOMPARE(lines[7], QStringLiteral("[Input 2]\t\t\t\tВыключить\tПри деактивизации входа 2"));

    // In a window without the clock and power pages those reactions show as
    // numbers, and a fresh show replaces the list.
    context_->panels[std::size_t(PanelId::Clock)] = nullptr;
    context_->panels[std::size_t(PanelId::Power)] = nullptr;
    output->ShowPage(Pages::FirstOutput, config);
    const QStringList again = Stimulus();
    QCOMPARE(again.size(), 8);
    QCOMPARE(again[0], QStringLiteral("[Часы, планировщик задач]\t\t2\tВ 0:0 в указанные дни недели, строка № 2"));
    QCOMPARE(again[2], QStringLiteral("[Питание, температура...]\t\t1\tПри вскрытии корпуса"));
}

QTEST_MAIN(TstPageOutputs)
#include "tst_page_outputs.moc"
