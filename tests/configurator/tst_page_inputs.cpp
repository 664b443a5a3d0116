// Pages 13 (inputs, common part) and 14-17 (inputs 1..4) with the
// calibration dialog, on real widgets.
#include "configurator/dialogs/Calibrationdialog.h"
#include "tests/configurator/PageFixture.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageInput.h"
#include "configurator/pages/PageInputs.h"
#include "configurator/pages/UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPicture>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cfloat>
#include <functional>

namespace {

const QColor Red(255, 0, 0);

// Runs `answer` on the calibration dialog once it is shown modally.
void AnswerCalibration(QObject *owner, std::function<void(TFormCalibration &)> answer)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        auto *dialog = qobject_cast<TFormCalibration *>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(*dialog);
    });
    timer->start();
}

// Puts a varied but valid record into input `index`, with patterns in the
// bits and bytes no page writes.
void FillInputRecord(ConfigImage &image, int index)
{
    using R = InputRecord;
    const FieldView r = RecordView<InputRecord>(image, index);
    const int v = index + 1;
    r.Set(R::SensName, QStringLiteral("Дверь подвала %1").arg(v));
    r.Set(R::SensActSt, QStringLiteral("ОТКРЫТА"));
    r.Set(R::SensPassSt, QStringLiteral("закрыта "));
    r.Set(R::AverageTime, 15 - v);
    r.Set(R::SensActLevel, v);
    r.Set(R::Zone24H, v % 2);
    r.Set(R::RecoveryTime, 60 + v - 1);
    r.Set(R::DelayTime, 63 - v);
    r.Set(R::ReleToAlarm, v % 3);
    r.Set(R::SensType, v);
    r.Set(R::LoBarrier, 100 * v);
    r.Set(R::HiBarrier, 4000 + v);
    r.Set(R::ActiveTriggerNum, v % 4);
    r.Set(R::NotArmingAsActive, 1 - v % 2);
    r.Set(R::ListenNum, 4 + v);
    r.Set(R::SensorPwrSource, v % 3);
    r.Set(R::AlarmTry, v % 4);
    r.Set(R::ActArmDisMode, v % 4);
    r.Set(R::PassArmDisMode, 3 - v % 4);
    r.Set(R::AlarmDelayTime, 10 + v);
    r.Set(R::ActiveToGPS, v % 2);
    r.Set(R::MinVal, -12.5f * float(v));
    r.Set(R::MaxVal, 1234.5f);
    for (int n = 0; n < OutputCount; ++n) {
        r.Set(R::ActRele(n), (n + v) % OutputActionCount);
        r.Set(R::PassRele(n), (16 - n - v) % OutputActionCount);
    }
    // Untouched by the page.
    auto bytes = r.bytes();
    bytes[51] = 0xA5;
    bytes[53] |= 0xC0;
    bytes[55] |= 0xF1;
    bytes[56] = 0x5A;
    bytes[57] = 0x3C;
    bytes[62] |= 0x08;
    bytes[64] |= 0xE0;
    bytes[65] = 0x11;
    bytes[66] = 0x22;
    bytes[67] = 0x33;
    bytes[90] = 0x44;
    bytes[91] = 0x55;
}

} // namespace

class TstPageInputs : public PageTest {
    Q_OBJECT
private slots:
    void namedControlsExist_data();
    void namedControlsExist();
    void enteringAdaptsTheForm();

    void commonPartRoundTrip();
    void commonPartStoresTheCombos();

    void inputRoundTripLeavesImage_data();
    void inputRoundTripLeavesImage();
    void outOfRangeValuesShowNoSelection();
    void showTerminatesTheTexts();
    void storeKeepsTextsAsTyped();
    void scaleValues_data();
    void scaleValues();
    void storeWritesOnlyThisInput();

    void sensorDisplay_data();
    void sensorDisplay();
    void unitButtonToggles();
    void thermoSensorPresetsTheScale();
    void alarmColour_data();
    void alarmColour();
    void alarmColourSurvivesPageChange();
    void barsNeverCross();
    void recoveryTime_data();
    void recoveryTime();
    void upDownArrowsStep();

    void calibrationShiftsTheScale();
    void calibrationCancelled_data();
    void calibrationCancelled();
    void calibrationDialog_data();
    void calibrationDialog();

private:
    void MakePages() override;

    PageInputs *common = nullptr;
    PageInput *input = nullptr;
    ControllerConfig config;
};

void TstPageInputs::MakePages()
{
    common = new PageInputs(*context_, context_->form.get());
    input = new PageInput(*context_, context_->form.get());
    config = DefaultConfig();
}

void TstPageInputs::namedControlsExist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const std::pair<const char *, const char *> controls[] = {
        {"Panel7", "PageInputs"}, {"GroupBox45", "QGroupBox"}, {"Label162", "QLabel"}, {"GroupBox17", "QGroupBox"},
        {"Label82", "QLabel"}, {"GroupBox18", "QGroupBox"}, {"Label96", "QLabel"},
        {"ComboBoxPortPwrSensAllOn", "QComboBox"}, {"ComboBoxLoopPwrResetTime", "QComboBox"},
        {"ComboBoxNoScaningTimeAftArm", "QComboBox"}, {"ComboBoxNoScaningTimeAftReset", "QComboBox"},
        {"ImageQRV240Ins", "QLabel"},
        {"Panel6", "PageInput"}, {"Label10", "QLabel"}, {"Label87", "QLabel"}, {"Label12", "QLabel"},
        {"Label19", "QLabel"}, {"Label26", "QLabel"}, {"ComboBoxSensType", "QComboBox"},
        {"ComboBoxSensName", "QComboBox"}, {"ComboBoxSensActSt", "QComboBox"}, {"ComboBoxSensPassSt", "QComboBox"},
        {"GroupBox2", "QGroupBox"}, {"ComboBoxSensActLevel", "QComboBox"}, {"GroupBox10", "QGroupBox"},
        {"Label152", "QLabel"}, {"Label151", "QLabel"}, {"Label93", "QLabel"}, {"Label94", "QLabel"},
        {"Label95", "QLabel"}, {"Label80", "QLabel"}, {"ComboBoxSensorPwrSource", "QComboBox"},
        {"CheckBox24HZone", "QCheckBox"}, {"Label88", "QLabel"}, {"GroupBoxFiltr", "QGroupBox"},
        {"Label100", "QLabel"}, {"Label103", "QLabel"}, {"Label99", "QLabel"}, {"Label89", "QLabel"},
        {"Label91", "QLabel"}, {"Label76", "QLabel"}, {"ComboBoxAlarmTry", "QComboBox"},
        {"CheckBoxNotArmingAsActive", "QCheckBox"}, {"GroupBox14", "QGroupBox"}, {"StaticText2", "QLabel"},
        {"Label35", "QLabel"}, {"Label193", "QLabel"}, {"ComboBoxReleToAlarm", "QComboBox"},
        {"GroupBoxInActActions", "QGroupBox"}, {"GroupBoxInPasActions", "QGroupBox"},
        {"Label102", "QLabel"}, {"Label101", "QLabel"}, {"Label24", "QLabel"}, {"Label27", "QLabel"},
        {"Label31", "QLabel"}, {"Label33", "QLabel"}, {"Label34", "QLabel"}, {"Label98", "QLabel"},
        {"Label97", "QLabel"}, {"Label36", "QLabel"}, {"Label37", "QLabel"}, {"Label38", "QLabel"},
        {"Label39", "QLabel"}, {"Label40", "QLabel"}, {"ComboBoxActRele1", "QComboBox"},
        {"ComboBoxActRele7", "QComboBox"}, {"ComboBoxPassRele1", "QComboBox"}, {"ComboBoxPassRele7", "QComboBox"},
        {"ComboBoxActArmDisMode", "QComboBox"}, {"ComboBoxPassArmDisMode", "QComboBox"},
        {"ComboBoxAverageTime", "QComboBox"}, {"ComboBoxDelayTime", "QComboBox"},
        {"ComboBoxActiveTriggerNum", "QComboBox"}, {"ComboBoxAlarmDelayTime", "QComboBox"},
        {"ComboBoxListenNum", "QComboBox"}, {"CheckBoxActiveToGPS", "QCheckBox"},
        {"TrackBarHiBarrier", "QSlider"}, {"TrackBarLoBarrier", "QSlider"},
        {"ProgressBarCurrentVal", "QProgressBar"}, {"LabelHiBarrier", "QLabel"}, {"LabelCurrentVal", "QLabel"},
        {"LabelLoBarrier", "QLabel"}, {"ButtonVoltPerc", "QPushButton"}, {"PanelAnalogue", "QFrame"},
        {"MaskEditMinVal", "TMaskEdit"}, {"MaskEditMaxVal", "TMaskEdit"}, {"EditRecoveryTime", "QLineEdit"},
        {"UpDownRecoveryTime", "TUpDown"},
    };
    for (const auto &[name, className] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className);
}

void TstPageInputs::namedControlsExist()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    VerifyNamedControl(context_->form.get(), name, className);
}

void TstPageInputs::enteringAdaptsTheForm()
{
    common->Enter(Pages::Inputs);
    QVERIFY(common->GroupBox17->isHidden());
    QVERIFY(common->GroupBox18->isHidden());
    QVERIFY(!common->ImageQRV240Ins->isHidden());
    QVERIFY(!common->ImageQRV240Ins->picture().isNull());
    QVERIFY(!common->ImageQRV240Ins->picture().boundingRect().isEmpty());
    QCOMPARE(common->GroupBox17->title(), QStringLiteral(" Порт питания датчиков (10VS) "));
    QCOMPARE(common->GroupBox18->title(), QStringLiteral(" Питание по шлейфу со сбросом "));

    input->ComboBoxSensorPwrSource->setEnabled(false);
    input->Enter(Pages::FirstInput + 2);
    QCOMPARE(input->Label10->text(), QStringLiteral("Вход 3"));
    for (QWidget *hidden : {static_cast<QWidget *>(input->Label80), static_cast<QWidget *>(input->ComboBoxSensorPwrSource),
                            static_cast<QWidget *>(input->GroupBoxFiltr), static_cast<QWidget *>(input->ComboBoxActRele[4]),
                            static_cast<QWidget *>(input->ComboBoxPassRele[4]), static_cast<QWidget *>(input->ActLabels[4]),
                            static_cast<QWidget *>(input->PassLabels[4])})
        QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
    QVERIFY(input->ComboBoxSensorPwrSource->isEnabled());
    QCOMPARE(input->GroupBoxFiltr->title(), QStringLiteral(" Фильтр ложных тревожных событий "));
    QVERIFY(!input->CheckBox24HZone->isHidden());
    QVERIFY(!input->ComboBoxDelayTime->isHidden());
    QVERIFY(!input->EditRecoveryTime->isHidden());
    QCOMPARE(input->ActLabels[4]->text(), QStringLiteral("Выход 3"));
    QCOMPARE(input->PassLabels[4]->text(), QStringLiteral("Выход 3"));
    QCOMPARE(input->ComboBoxDelayTime->count(), 64);
    QCOMPARE(input->ComboBoxDelayTime->itemText(63), QStringLiteral("315 Sec."));
    QCOMPARE(input->ComboBoxActRele[0]->count(), OutputActionCount);
}

void TstPageInputs::commonPartRoundTrip()
{
    for (quint8 pattern : {quint8(0xB7), quint8(0x4A)}) {
        ControllerConfig before = DefaultConfig();
        before.ConfigImage[356] = pattern;
        before.ConfigImage[357] = quint8(0xF8 | (pattern & 7));
        ControllerConfig after = before;
        common->ShowPage(Pages::Inputs, after);
        common->StorePage(Pages::Inputs, after);
        QCOMPARE(DifferingBytes(before.ConfigImage, after.ConfigImage), QList<int>());
    }
    ControllerConfig defaults = DefaultConfig();
    common->ShowPage(Pages::Inputs, config);
    common->StorePage(Pages::Inputs, config);
    QCOMPARE(DifferingBytes(defaults.ConfigImage, config.ConfigImage), QList<int>());
    QCOMPARE(common->ComboBoxLoopPwrResetTime->currentText(), QStringLiteral("40  Sec."));
    QCOMPARE(common->ComboBoxPortPwrSensAllOn->currentText(), QStringLiteral("Питание всегда подано"));
}

void TstPageInputs::commonPartStoresTheCombos()
{
    common->ShowPage(Pages::Inputs, config);
    common->ComboBoxNoScaningTimeAftReset->setCurrentIndex(7);
    common->ComboBoxPortPwrSensAllOn->setCurrentIndex(0);
    common->ComboBoxNoScaningTimeAftArm->setCurrentIndex(15);
    common->ComboBoxLoopPwrResetTime->setCurrentIndex(7);
    common->StorePage(Pages::Inputs, config);
    QCOMPARE(config.ConfigImage[356], quint8(0xFE));
    QCOMPARE(config.ConfigImage[357] & 7, 7);
    QCOMPARE(common->ComboBoxNoScaningTimeAftReset->itemText(7), QStringLiteral("105  Sec."));
    QCOMPARE(common->ComboBoxNoScaningTimeAftArm->itemText(15), QStringLiteral("150  Sec."));
    QCOMPARE(common->ComboBoxLoopPwrResetTime->itemText(7), QStringLiteral("80  Sec."));
    // Other pages' numbers leave the image alone.
    ControllerConfig before = config;
    common->ComboBoxLoopPwrResetTime->setCurrentIndex(0);
    common->StorePage(Pages::FirstInput, config);
    QCOMPARE(DifferingBytes(before.ConfigImage, config.ConfigImage), QList<int>());
}

void TstPageInputs::inputRoundTripLeavesImage_data()
{
    QTest::addColumn<bool>("pattern");
    QTest::addColumn<int>("page");
    for (int page = Pages::FirstInput; page < Pages::FirstInput + Pages::InputCount; ++page) {
        QTest::addRow("default, page %d", page) << false << page;
        QTest::addRow("pattern, page %d", page) << true << page;
    }
}

void TstPageInputs::inputRoundTripLeavesImage()
{
    QFETCH(bool, pattern);
    QFETCH(int, page);
    ControllerConfig before = DefaultConfig();
    if (pattern)
        for (int i = 0; i < 4; ++i)
            FillInputRecord(before.ConfigImage, i);
    ControllerConfig after = before;
    // Show another input first, so that nothing passes through by chance.
    input->ShowPage(page == Pages::FirstInput ? Pages::FirstInput + 1 : Pages::FirstInput, after);
    input->ShowPage(page, after);
    input->StorePage(page, after);
    QCOMPARE(DifferingBytes(before.ConfigImage, after.ConfigImage), QList<int>());
}

void TstPageInputs::outOfRangeValuesShowNoSelection()
{
    const FieldView r = RecordView<InputRecord>(config.ConfigImage, 0);
    r.Set(InputRecord::SensType, 6);
    r.Set(InputRecord::ListenNum, 12);
    r.Set(InputRecord::ActRele(0), 200);
    r.Set(InputRecord::HiBarrier, 5000);
    r.Set(InputRecord::LoBarrier, 4500);
    input->ShowPage(Pages::FirstInput, config);
    QCOMPARE(input->ComboBoxSensType->currentIndex(), -1);
    QCOMPARE(input->ComboBoxListenNum->currentIndex(), -1);
    QCOMPARE(input->ComboBoxActRele[0]->currentIndex(), -1);
    input->StorePage(Pages::FirstInput, config);
    QCOMPARE(r.Get(InputRecord::SensType), 7u);
    QCOMPARE(r.Get(InputRecord::ListenNum), 15u);
    QCOMPARE(r.Get(InputRecord::ActRele(0)), 255u);
    QCOMPARE(r.Get(InputRecord::HiBarrier), 4095u);
    QCOMPARE(r.Get(InputRecord::LoBarrier), 4095u);
    QCOMPARE(r.Get(InputRecord::RestrArmMode), 0u);
}

void TstPageInputs::showTerminatesTheTexts()
{
    const FieldView r = RecordView<InputRecord>(config.ConfigImage, 1);
    for (int i = 0; i < 51; ++i)
        r.bytes()[std::size_t(i)] = 'A' + i % 26;
    input->ShowPage(Pages::FirstInput + 1, config);
    QCOMPARE(r.bytes()[16], quint8(0));
    QCOMPARE(r.bytes()[33], quint8(0));
    QCOMPARE(r.bytes()[50], quint8(0));
    QCOMPARE(input->ComboBoxSensName->currentText(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    QCOMPARE(input->ComboBoxSensActSt->currentText().size(), 16);
}

void TstPageInputs::storeKeepsTextsAsTyped()
{
    input->ShowPage(Pages::FirstInput, config);
    input->ComboBoxSensName->setEditText(QStringLiteral(" Окно "));
    input->ComboBoxSensActSt->setEditText(QStringLiteral("очень длинное состояние"));
    input->ComboBoxSensPassSt->setEditText(QString());
    input->StorePage(Pages::FirstInput, config);
    const ConstFieldView r = RecordView<InputRecord>(std::as_const(config.ConfigImage), 0);
    QCOMPARE(r.Get(InputRecord::SensName), QStringLiteral(" Окно "));
    QCOMPARE(r.Get(InputRecord::SensActSt), QStringLiteral("очень длинное со"));
    QCOMPARE(r.Get(InputRecord::SensPassSt), QString());
    QCOMPARE(r.bytes()[16 + 17], quint8(0));
}

void TstPageInputs::scaleValues_data()
{
    QTest::addColumn<QString>("minText");
    QTest::addColumn<QString>("maxText");
    QTest::addColumn<float>("storedMin");
    QTest::addColumn<float>("storedMax");
    QTest::addColumn<QString>("shownMin");
    QTest::addColumn<QString>("shownMax");
    QTest::newRow("comma and point, equal") << "1,5" << "1.5" << 0.5f << 2.5f << "0.5" << "2.5";
    QTest::newRow("different") << "-40" << "125,25" << -40.0f << 125.25f << "-40" << "125.25";
    QTest::newRow("no numbers") << "abc" << "" << -1.0f << 1.0f << "-1" << "1";
    QTest::newRow("number prefix") << " 2.5V" << "1e2" << 2.5f << 100.0f << "2.5" << "100";
    QTest::newRow("beyond single precision") << "-1e300" << "1e39" << -FLT_MAX << FLT_MAX << "-3.402823E38"
                                             << "3.402823E38";
}

void TstPageInputs::scaleValues()
{
    QFETCH(QString, minText);
    QFETCH(QString, maxText);
    QFETCH(float, storedMin);
    QFETCH(float, storedMax);
    QFETCH(QString, shownMin);
    QFETCH(QString, shownMax);
    input->ShowPage(Pages::FirstInput + 1, config);
    input->MaskEditMinVal->setText(minText);
    input->MaskEditMaxVal->setText(maxText);
    input->StorePage(Pages::FirstInput + 1, config);
    const ConstFieldView r = RecordView<InputRecord>(std::as_const(config.ConfigImage), 1);
    QCOMPARE(r.Get(InputRecord::MinVal), storedMin);
    QCOMPARE(r.Get(InputRecord::MaxVal), storedMax);
    // The edits keep what was typed until the page is shown again.
    QCOMPARE(input->MaskEditMinVal->text(), minText);
    input->ShowPage(Pages::FirstInput + 1, config);
    QCOMPARE(input->MaskEditMinVal->text(), shownMin);
    QCOMPARE(input->MaskEditMaxVal->text(), shownMax);
}

void TstPageInputs::storeWritesOnlyThisInput()
{
    input->ShowPage(Pages::FirstInput + 3, config);
    ControllerConfig before = config;
    input->ComboBoxSensType->setCurrentIndex(2);
    input->ComboBoxSensActLevel->setCurrentIndex(5);
    input->TrackBarHiBarrier->setValue(3000);
    input->TrackBarLoBarrier->setValue(500);
    input->CheckBox24HZone->setChecked(true);
    input->ComboBoxDelayTime->setCurrentIndex(10);
    input->EditRecoveryTime->setText(QStringLiteral("9"));
    input->ComboBoxActRele[1]->setCurrentIndex(3);
    input->ComboBoxPassArmDisMode->setCurrentIndex(3);
    input->StorePage(Pages::FirstInput + 3, config);
    const int base = InputRecord::Base + 3 * InputRecord::Size;
    for (int offset : DifferingBytes(before.ConfigImage, config.ConfigImage))
        QVERIFY2(offset >= base && offset < base + InputRecord::Size, qPrintable(QString::number(offset)));
    const ConstFieldView r = RecordView<InputRecord>(std::as_const(config.ConfigImage), 3);
    QCOMPARE(r.Get(InputRecord::SensType), 2u);
    QCOMPARE(r.Get(InputRecord::SensActLevel), 5u);
    QCOMPARE(r.Get(InputRecord::HiBarrier), 3000u);
    QCOMPARE(r.Get(InputRecord::LoBarrier), 500u);
    QCOMPARE(r.Get(InputRecord::Zone24H), 1u);
    QCOMPARE(r.Get(InputRecord::DelayTime), 10u);
    QCOMPARE(r.Get(InputRecord::RecoveryTime), 9u);
    QCOMPARE(r.Get(InputRecord::ActRele(1)), 3u);
    QCOMPARE(r.Get(InputRecord::PassArmDisMode), 3u);
}

void TstPageInputs::sensorDisplay_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("scale"); // "min;max"
    QTest::addColumn<QString>("shown"); // "hi|current|lo"
    QTest::addColumn<QString>("captionAfter");
    QTest::addColumn<bool>("buttonShown");
    QTest::addColumn<bool>("panelShown");

    QTest::newRow("percent") << 1 << "В" << 1365 << 4095 << 2730 << "0;10" << "100 %|66.7 %|33.3 %" << "В" << true << false;
    QTest::newRow("volts") << 0 << "%" << 1365 << 2730 << 4095 << "0;10" << "6.67 В|10 В|3.33 В" << "%" << true << false;
    QTest::newRow("calibration caption back to percent")
        << 1 << "K" << 0 << 2730 << 0 << "0;10" << "66.7 %|0 %|0 %" << "В" << true << false;
    QTest::newRow("analogue") << 2 << "В" << 0 << 4095 << 2048 << "0;10" << "10|5.001|0" << "K" << true << true;
    QTest::newRow("thermo HSX-72") << 4 << "%" << 0 << 4095 << 4095 << "-50;150" << "150° C|150° C|-50° C" << "K"
                                   << true << true;
    QTest::newRow("analogue with comma") << 2 << "K" << 0 << 4095 << 0 << "-1,5;2,5" << "2.5|-1.5|-1.5" << "K" << true
                                         << true;
    QTest::newRow("thermo HSX-71 a") << 3 << "В" << 0 << 4095 << 616 << "0;10" << "284° C|0.07° C|-50.2° C" << "В"
                                     << false << false;
    QTest::newRow("thermo HSX-71 b") << 3 << "K" << 1000 << 2048 << 615 << "0;10" << "117° C|0° C|31.4° C" << "K"
                                     << false << false;
}

void TstPageInputs::sensorDisplay()
{
    QFETCH(int, type);
    QFETCH(QString, caption);
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(int, current);
    QFETCH(QString, scale);
    QFETCH(QString, shown);
    QFETCH(QString, captionAfter);
    QFETCH(bool, buttonShown);
    QFETCH(bool, panelShown);
    {
        const QSignalBlocker blocker(input->ComboBoxSensType);
        input->ComboBoxSensType->setCurrentIndex(type);
    }
    input->ButtonVoltPerc->setText(caption);
    input->MaskEditMinVal->setText(scale.section(QLatin1Char(';'), 0, 0));
    input->MaskEditMaxVal->setText(scale.section(QLatin1Char(';'), 1, 1));
    input->TrackBarHiBarrier->setValue(hi);
    input->TrackBarLoBarrier->setValue(lo);
    input->ProgressBarCurrentVal->setValue(current);
    input->UpdateSensorPage();
    const QStringList expected = shown.split(QLatin1Char('|'));
    QCOMPARE(input->LabelHiBarrier->text(), expected[0]);
    QCOMPARE(input->LabelCurrentVal->text(), expected[1]);
    QCOMPARE(input->LabelLoBarrier->text(), expected[2]);
    QCOMPARE(input->ButtonVoltPerc->text(), captionAfter);
    QCOMPARE(!input->ButtonVoltPerc->isHidden(), buttonShown);
    QCOMPARE(!input->PanelAnalogue->isHidden(), panelShown);
}

void TstPageInputs::unitButtonToggles()
{
    input->ShowPage(Pages::FirstInput, config); // discrete, borders 1365 and 2730
    input->ButtonVoltPerc->setText(QStringLiteral("В"));
    input->TrackBarHiBarrier->setValue(4095);
    QCOMPARE(input->LabelHiBarrier->text(), QStringLiteral("100 %"));
    QTest::mouseClick(input->ButtonVoltPerc, Qt::LeftButton);
    QCOMPARE(input->ButtonVoltPerc->text(), QStringLiteral("%"));
    QCOMPARE(input->LabelHiBarrier->text(), QStringLiteral("10 В"));
    QCOMPARE(input->LabelLoBarrier->text(), QStringLiteral("3.33 В"));
    QTest::mouseClick(input->ButtonVoltPerc, Qt::LeftButton);
    QCOMPARE(input->ButtonVoltPerc->text(), QStringLiteral("В"));
    QCOMPARE(input->LabelLoBarrier->text(), QStringLiteral("33.3 %"));
    // The unit choice is a control, not a field: it survives showing another input.
    QTest::mouseClick(input->ButtonVoltPerc, Qt::LeftButton);
    input->ShowPage(Pages::FirstInput + 1, config);
    input->UpdateSensorPage();
    QCOMPARE(input->LabelHiBarrier->text(), QStringLiteral("6.67 В"));
}

void TstPageInputs::thermoSensorPresetsTheScale()
{
    input->ShowPage(Pages::FirstInput, config);
    input->ProgressBarCurrentVal->setValue(4095);
    input->ComboBoxSensType->setCurrentIndex(4);
    QCOMPARE(input->MaskEditMinVal->text(), QStringLiteral("-50"));
    QCOMPARE(input->MaskEditMaxVal->text(), QStringLiteral("150"));
    QCOMPARE(input->LabelCurrentVal->text(), QStringLiteral("150° C"));
    QCOMPARE(input->ButtonVoltPerc->text(), QStringLiteral("K"));
    input->ComboBoxSensType->setCurrentIndex(2);
    QCOMPARE(input->MaskEditMinVal->text(), QStringLiteral("-50"));
    QCOMPARE(input->LabelCurrentVal->text(), QStringLiteral("150"));
    input->ComboBoxSensType->setCurrentIndex(1);
    QCOMPARE(input->ButtonVoltPerc->text(), QStringLiteral("В"));
    QVERIFY(input->PanelAnalogue->isHidden());
    // Showing a page sets the type without its handler: the scale stays.
    RecordView<InputRecord>(config.ConfigImage, 0).Set(InputRecord::SensType, 4);
    input->ShowPage(Pages::FirstInput, config);
    QCOMPARE(input->MaskEditMinVal->text(), QStringLiteral("0"));
    QCOMPARE(input->MaskEditMaxVal->text(), QStringLiteral("10"));
}

void TstPageInputs::alarmColour_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("colours"); // r = red, n = neutral, u = unchanged, per value
    // lo 1000, hi 3000 throughout.
    QTest::newRow("low or high") << 0 << QList<int>{1000, 1001, 2999, 3000, 500} << "rnnrr";
    QTest::newRow("low") << 1 << QList<int>{1000, 1001, 4000} << "rnn";
    QTest::newRow("free") << 2 << QList<int>{999, 1000, 3000, 3001} << "nrrn";
    QTest::newRow("high") << 3 << QList<int>{2999, 3000} << "nr";
    QTest::newRow("low hysteresis") << 4 << QList<int>{900, 2000, 3000, 2000, 1000} << "rrnnr";
    QTest::newRow("high hysteresis") << 5 << QList<int>{3100, 2000, 1000, 2000, 3000} << "rrnnr";
    QTest::newRow("no level") << -1 << QList<int>{0, 2000, 4095} << "uuu";
}

void TstPageInputs::alarmColour()
{
    QFETCH(int, level);
    QFETCH(QList<int>, values);
    QFETCH(QString, colours);
    input->TrackBarHiBarrier->setValue(3000);
    input->TrackBarLoBarrier->setValue(1000);
    input->ComboBoxSensActLevel->setCurrentIndex(level);
    for (int i = 0; i < values.size(); ++i) {
        const QColor before = input->AlarmColour();
        input->ProgressBarCurrentVal->setValue(values[i]);
        input->UpdateSensorPage();
        input->UpdateCurrentValueColour();
        const QColor expected = colours[i] == QLatin1Char('r')   ? Red
                                : colours[i] == QLatin1Char('n') ? input->NeutralColour()
                                                                 : before;
        QCOMPARE(input->AlarmColour(), expected);
        QCOMPARE(input->LabelCurrentVal->palette().color(QPalette::Window), expected);
    }
}

void TstPageInputs::alarmColourSurvivesPageChange()
{
    for (int i = 0; i < 2; ++i) {
        const FieldView r = RecordView<InputRecord>(config.ConfigImage, i);
        r.Set(InputRecord::SensActLevel, 4);
        r.Set(InputRecord::LoBarrier, 1000);
        r.Set(InputRecord::HiBarrier, 3000);
    }
    input->ShowPage(Pages::FirstInput, config);
    input->ProgressBarCurrentVal->setValue(900);
    input->UpdateCurrentValueColour();
    QCOMPARE(input->AlarmColour(), Red);
    input->StorePage(Pages::FirstInput, config);
    input->ProgressBarCurrentVal->setValue(2000);
    input->ShowPage(Pages::FirstInput + 1, config);
    input->UpdateSensorPage();
    input->UpdateCurrentValueColour();
    QCOMPARE(input->AlarmColour(), Red);
}

void TstPageInputs::barsNeverCross()
{
    input->ShowPage(Pages::FirstInput, config); // 1365 .. 2730
    input->TrackBarLoBarrier->setValue(3500);
    QCOMPARE(input->TrackBarHiBarrier->value(), 3500);
    QCOMPARE(input->LabelHiBarrier->text(), input->LabelLoBarrier->text());
    input->TrackBarHiBarrier->setValue(200);
    QCOMPARE(input->TrackBarLoBarrier->value(), 200);
    QCOMPARE(input->LabelLoBarrier->text(), input->LabelHiBarrier->text());
    input->TrackBarHiBarrier->setValue(4000);
    QCOMPARE(input->TrackBarLoBarrier->value(), 200);
    // The key the user presses moves a bar like dragging it.
    input->TrackBarLoBarrier->setFocus();
    input->TrackBarLoBarrier->setValue(4000);
    QTest::keyClick(input->TrackBarLoBarrier, Qt::Key_PageUp);
    QCOMPARE(input->TrackBarHiBarrier->value(), input->TrackBarLoBarrier->value());
    QVERIFY(input->TrackBarHiBarrier->value() > 4000);
}

void TstPageInputs::recoveryTime_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("position");
    QTest::newRow("number") << "12" << 12;
    QTest::newRow("above the range") << "70" << 63;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("leading digits") << "7 min" << 7;
    QTest::newRow("empty") << "" << 0;
}

void TstPageInputs::recoveryTime()
{
    QFETCH(QString, typed);
    QFETCH(int, position);
    input->ShowPage(Pages::FirstInput, config);
    input->EditRecoveryTime->clear();
    QTest::keyClicks(input->EditRecoveryTime, typed);
    QCOMPARE(input->UpDownRecoveryTime->Position(), position);
    QCOMPARE(input->EditRecoveryTime->text(), typed);
    input->StorePage(Pages::FirstInput, config);
    QCOMPARE(RecordView<InputRecord>(config.ConfigImage, 0).Get(InputRecord::RecoveryTime), quint32(position));
    input->ShowPage(Pages::FirstInput, config);
    QCOMPARE(input->EditRecoveryTime->text(), QString::number(position));
}

void TstPageInputs::upDownArrowsStep()
{
    RecordView<InputRecord>(config.ConfigImage, 2).Set(InputRecord::RecoveryTime, 62);
    input->ShowPage(Pages::FirstInput + 2, config);
    QCOMPARE(input->EditRecoveryTime->text(), QStringLiteral("62"));
    const QList<QToolButton *> arrows = input->UpDownRecoveryTime->findChildren<QToolButton *>();
    QCOMPARE(arrows.size(), 2);
    QToolButton *up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton *down = up == arrows[0] ? arrows[1] : arrows[0];
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(input->UpDownRecoveryTime->Position(), 63);
    QCOMPARE(input->EditRecoveryTime->text(), QStringLiteral("63"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(input->EditRecoveryTime->text(), QStringLiteral("62"));
    input->StorePage(Pages::FirstInput + 2, config);
    QCOMPARE(RecordView<InputRecord>(config.ConfigImage, 2).Get(InputRecord::RecoveryTime), 62u);
}

void TstPageInputs::calibrationShiftsTheScale()
{
    RecordView<InputRecord>(config.ConfigImage, 0).Set(InputRecord::SensType, 2);
    input->ShowPage(Pages::FirstInput, config);
    input->ProgressBarCurrentVal->setValue(2048);
    input->UpdateSensorPage();
    QCOMPARE(input->LabelCurrentVal->text(), QStringLiteral("5.001"));
    bool sawDialog = false;
    AnswerCalibration(this, [&sawDialog](TFormCalibration &dialog) {
        sawDialog = true;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Калибровка входа"));
        QCOMPARE(dialog.MaskEditNeedVal->text(), QStringLiteral("0"));
        dialog.MaskEditNeedVal->setText(QStringLiteral("5"));
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    QTest::mouseClick(input->ButtonVoltPerc, Qt::LeftButton);
    QVERIFY(sawDialog);
    QCOMPARE(input->MaskEditMinVal->text(), QStringLiteral("-0.001221001"));
    QCOMPARE(input->MaskEditMaxVal->text(), QStringLiteral("9.998779"));
    QCOMPARE(input->LabelCurrentVal->text(), QStringLiteral("5"));
    QCOMPARE(input->ButtonVoltPerc->text(), QStringLiteral("K"));
    QVERIFY(context_->form->findChildren<TFormCalibration *>().isEmpty());
}

void TstPageInputs::calibrationCancelled_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape key") << true;
}

void TstPageInputs::calibrationCancelled()
{
    QFETCH(bool, escape);
    RecordView<InputRecord>(config.ConfigImage, 0).Set(InputRecord::SensType, 4);
    input->ShowPage(Pages::FirstInput, config);
    input->MaskEditMinVal->setText(QStringLiteral("1,5"));
    input->ProgressBarCurrentVal->setValue(1000);
    AnswerCalibration(this, [escape](TFormCalibration &dialog) {
        dialog.MaskEditNeedVal->setText(QStringLiteral("99"));
        if (escape)
            QTest::keyClick(dialog.MaskEditNeedVal, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    });
    QTest::mouseClick(input->ButtonVoltPerc, Qt::LeftButton);
    QCOMPARE(input->MaskEditMinVal->text(), QStringLiteral("1,5"));
    QCOMPARE(input->MaskEditMaxVal->text(), QStringLiteral("10"));
}

void TstPageInputs::calibrationDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enterKey");
    QTest::addColumn<double>("wanted");
    QTest::newRow("comma, OK") << "12,5" << false << 12.5;
    QTest::newRow("point, Enter") << "-3.25" << true << -3.25;
    QTest::newRow("no number") << "x" << false << 0.0;
}

void TstPageInputs::calibrationDialog()
{
    QFETCH(QString, typed);
    QFETCH(bool, enterKey);
    QFETCH(double, wanted);
    TFormCalibration dialog;
    QCOMPARE(dialog.WantedValue(), 0.0);
    QCOMPARE(dialog.MaskEditNeedVal->maxLength(), 10);
    QCOMPARE(dialog.Button1->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.Button2->text(), QStringLiteral("Cancel"));
    AnswerCalibration(this, [typed, enterKey](TFormCalibration &shown) {
        shown.MaskEditNeedVal->clear();
        QTest::keyClicks(shown.MaskEditNeedVal, typed);
        if (enterKey)
            QTest::keyClick(shown.MaskEditNeedVal, Qt::Key_Return);
        else
            QTest::mouseClick(shown.Button1, Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.WantedValue(), wanted);
}

QTEST_MAIN(TstPageInputs)
#include "tst_page_inputs.moc"
