#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PagePower.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLocale>
#include <QProgressBar>
#include <QSlider>

class TstPagePower : public OnePageTest<PagePower, Pages::Power> {
    Q_OBJECT
private slots:
    void namedControls_data();
    void namedControls();
    void enteringRebuildsTheLists();
    void defaultImageSurvivesShowAndStore();
    void variedImageSurvivesShowAndStore();
    void valuesWithoutAnItemStoreNoSelection_data();
    void valuesWithoutAnItemStoreNoSelection();
    void storeWritesTheControls();
    void dischargeBorders_data();
    void dischargeBorders();
    void temperatureBorders_data();
    void temperatureBorders();
    void reactionLevelsStayOrdered();
    void showingRunsTheBarHandlers();
    void batteryState_data();
    void batteryState();
    void mainPower_data();
    void mainPower();
    void modemTemperature();

private:
    void ShowAndStore(ControllerConfig &config);
};

void TstPagePower::ShowAndStore(ControllerConfig &config)
{
    page_->ShowPage(Pages::Power, config);
    page_->StorePage(Pages::Power, config);
}

void TstPagePower::namedControls_data()
{
    AddControlColumns();
    const auto row = [](const char *name, const char *kind) { AddControlRow(QLatin1String(name), kind); };
    row("Panel3", "QFrame");
    for (const char *name : {"GroupBox9", "GroupBox21", "GroupBox29", "GroupBox1", "GroupBox42", "GroupBox23"})
        row(name, "QGroupBox");
    for (const char *name : {"Label23", "Label2", "Label3", "Label133", "LabelTemperature", "Label132", "Label134",
                             "Label135", "Label157", "Label4", "Label14", "Label17", "LabelBatMsg", "LabelMainPower",
                             "LabelTempCurVal", "LabelHiBorder", "LabelLowBorder"})
        row(name, "QLabel");
    for (const char *name : {"CheckBoxExtPowerFault", "CheckBoxExtPowerRec", "CheckBoxAsFaultSendGPSPos",
                             "CheckBoxTemperatureEvent", "CheckBoxBatteryDischargeWarnEventEn",
                             "CheckBoxBatteryDischargeAlarmEventEn", "CheckBoxAsDischargeSendGPSPos",
                             "CheckBoxTamperEnable", "CheckBoxDisableLedsAtCoverClose", "CheckBoxAlarmBlinking",
                             "CheckBoxShowActiveInsToArmOut"})
        row(name, "QCheckBox");
    for (const char *name : {"ComboBoxPowerSignAverTime", "ComboBoxRecoveryTime", "ComboBoxHiBorderLevel",
                             "ComboBoxHiBorderOut", "ComboBoxHiBorderScn", "ComboBoxLoBorderLevel",
                             "ComboBoxLoBorderOut", "ComboBoxLoBorderScn", "ComboBoxTamperActOutN",
                             "ComboBoxTamperActScnN", "ComboBoxIndFunction"})
        row(name, "QComboBox");
    for (const char *name : {"TrackBarDischargeWarn", "TrackBarDischargeAlarm", "TrackBarTemperatHiBorder",
                             "TrackBarTemperatLowBorder"})
        row(name, "QSlider");
    for (const char *name : {"ProgressBarBatCharge", "ProgressBarMainPower", "ProgressBarModemTemperature"})
        row(name, "QProgressBar");
}

void TstPagePower::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    VerifyNamedControl(context_->Form(), name, kind);
}

void TstPagePower::enteringRebuildsTheLists()
{
    context_->texts.LedModeNames = {QStringLiteral("a0"), QStringLiteral("a1"), QStringLiteral("a2"),
                                    QStringLiteral("b3"), QStringLiteral("b4"), QStringLiteral("b5"),
                                    QStringLiteral("b6")};
    page_->Enter(Pages::Power);
    page_->Enter(Pages::Power);
    QCOMPARE(page_->Label23->text(), QStringLiteral("Питание, температура, индикация, контроль вскрытия"));
    for (QComboBox *levels : {page_->ComboBoxHiBorderLevel, page_->ComboBoxLoBorderLevel}) {
        QCOMPARE(levels->count(), 129);
        QCOMPARE(levels->itemText(0), QStringLiteral("89° C"));
        QCOMPARE(levels->itemText(128), QStringLiteral("-39° C"));
    }
    QCOMPARE(page_->ComboBoxIndFunction->count(), 4);
    QCOMPARE(page_->ComboBoxIndFunction->itemText(0), QStringLiteral("b3"));
    QCOMPARE(page_->ComboBoxIndFunction->itemText(3), QStringLiteral("b6"));
    for (QComboBox *outputs : {page_->ComboBoxHiBorderOut, page_->ComboBoxLoBorderOut, page_->ComboBoxTamperActOutN}) {
        QCOMPARE(outputs->count(), 4);
        QCOMPARE(outputs->itemText(3), QStringLiteral("Выход 2"));
    }
    QCOMPARE(page_->ComboBoxTamperActScnN->count(), 17);
    QCOMPARE(page_->ComboBoxPowerSignAverTime->count(), 8);
    QCOMPARE(page_->ComboBoxPowerSignAverTime->itemText(0), QStringLiteral("2 Sec."));
    QCOMPARE(page_->ComboBoxPowerSignAverTime->itemText(7), QStringLiteral("256 Sec."));
    QCOMPARE(page_->ComboBoxRecoveryTime->itemText(4), QStringLiteral("32 Min."));
}

void TstPagePower::defaultImageSurvivesShowAndStore()
{
    ControllerConfig config = DefaultConfig();
    const ControllerConfig before = config;
    ShowAndStore(config);
    QVERIFY2(config.ConfigImage == before.ConfigImage, qPrintable(Differences(before.ConfigImage, config.ConfigImage)));
    // The defaults -15 and -20 degrees are items of the lists.
    QCOMPARE(page_->ComboBoxHiBorderLevel->currentText(), QStringLiteral("-15° C"));
    QCOMPARE(page_->ComboBoxLoBorderLevel->currentText(), QStringLiteral("-20° C"));
    QCOMPARE(page_->Label4->text(), QStringLiteral("40%"));
    QCOMPARE(page_->Label14->text(), QStringLiteral("20%"));
    QCOMPARE(page_->LabelHiBorder->text(), QStringLiteral("60° C"));
    QCOMPARE(page_->LabelLowBorder->text(), QStringLiteral("-25° C"));
}

void TstPagePower::variedImageSurvivesShowAndStore()
{
    ControllerConfig config = DefaultConfig();
    FillPattern(config.ConfigImage, 11);
    const FieldView image = View(config.ConfigImage);
    image.Set(PowerFields::PowerSignAverTime, 6);
    image.Set(PowerFields::RecoveryTime, 7);
    image.Set(PowerFields::DischargeWarn, 55);  // position 45
    image.Set(PowerFields::DischargeAlarm, 25); // position 75
    image.Set(PowerFields::IndFunction, 3);
    image.Set(PowerFields::TemperatLowBorder, -31);
    image.Set(PowerFields::TemperatHiBorder, 17);
    image.Set(PowerFields::HiBorderLevel, 45);
    image.Set(PowerFields::LoBorderLevel, -39);
    image.Set(PowerFields::HiBorderOut, 3);
    image.Set(PowerFields::HiBorderScn, 16);
    image.Set(PowerFields::LoBorderOut, 1);
    image.Set(PowerFields::LoBorderScn, 9);
    image.Set(PowerFields::TamperActOutN, 2);
    image.Set(PowerFields::TamperActScnN, 4);
    const ControllerConfig before = config;
    ShowAndStore(config);
    QVERIFY2(config.ConfigImage == before.ConfigImage, qPrintable(Differences(before.ConfigImage, config.ConfigImage)));
    QVERIFY(config.SystemParameters == before.SystemParameters);
    QCOMPARE(page_->ComboBoxHiBorderLevel->currentText(), QStringLiteral("45° C"));
    QCOMPARE(page_->ComboBoxLoBorderLevel->currentText(), QStringLiteral("-39° C"));
}

void TstPagePower::valuesWithoutAnItemStoreNoSelection_data()
{
    QTest::addColumn<int>("hiLevel");
    QTest::addColumn<int>("hiOut");
    QTest::addColumn<int>("storedLevel");
    QTest::addColumn<int>("storedOut");
    QTest::newRow("in range") << 89 << 3 << 89 << 3;
    QTest::newRow("above the top item") << 90 << 4 << 90 << 7;
    QTest::newRow("far above") << 127 << 7 << 90 << 7;
    QTest::newRow("below the last item") << -40 << 5 << 90 << 7;
    QTest::newRow("most negative") << -128 << 6 << 90 << 7;
}

void TstPagePower::valuesWithoutAnItemStoreNoSelection()
{
    QFETCH(int, hiLevel);
    QFETCH(int, hiOut);
    QFETCH(int, storedLevel);
    QFETCH(int, storedOut);
    ControllerConfig config = DefaultConfig();
    const FieldView image = View(config.ConfigImage);
    image.Set(PowerFields::HiBorderLevel, hiLevel);
    image.Set(PowerFields::HiBorderOut, hiOut);
    image.Set(PowerFields::HiBorderScn, 5);
    ShowAndStore(config);
    QCOMPARE(image.Get(PowerFields::HiBorderLevel), storedLevel);
    QCOMPARE(int(image.Get(PowerFields::HiBorderOut)), storedOut);
    QCOMPARE(int(image.Get(PowerFields::HiBorderScn)), 5);
}

void TstPagePower::storeWritesTheControls()
{
    ControllerConfig config = DefaultConfig();
    page_->ShowPage(Pages::Power, config);
    page_->CheckBoxExtPowerFault->setChecked(false);
    page_->CheckBoxShowActiveInsToArmOut->setChecked(true);
    page_->ComboBoxRecoveryTime->setCurrentIndex(7);
    page_->ComboBoxIndFunction->setCurrentIndex(-1);
    page_->TrackBarDischargeWarn->setValue(30);
    page_->TrackBarDischargeAlarm->setValue(95);
    page_->TrackBarTemperatLowBorder->setValue(-10);
    page_->TrackBarTemperatHiBorder->setValue(40);
    page_->ComboBoxHiBorderLevel->setCurrentIndex(10); // 79
    page_->ComboBoxLoBorderLevel->setCurrentIndex(100); // -11
    page_->ComboBoxTamperActOutN->setCurrentIndex(3);
    page_->ComboBoxTamperActScnN->setCurrentIndex(16);
    page_->StorePage(Pages::Power, config);
    const FieldView image = View(config.ConfigImage);
    QCOMPARE(image.Get(PowerFields::ExtPowerFault), 0u);
    QCOMPARE(image.Get(PowerFields::ShowActiveInsToArmOut), 1u);
    QCOMPARE(image.Get(PowerFields::RecoveryTime), 7u);
    QCOMPARE(image.Get(PowerFields::IndFunction), 3u); // no selection: all ones
    QCOMPARE(image.Get(PowerFields::DischargeWarn), 70u);
    QCOMPARE(image.Get(PowerFields::DischargeAlarm), 5u);
    QCOMPARE(image.Get(PowerFields::TemperatLowBorder), -10);
    QCOMPARE(image.Get(PowerFields::TemperatHiBorder), 40);
    QCOMPARE(image.Get(PowerFields::HiBorderLevel), 79);
    QCOMPARE(image.Get(PowerFields::LoBorderLevel), -11);
    QCOMPARE(image.Get(PowerFields::TamperActOutN), 3u);
    QCOMPARE(image.Get(PowerFields::TamperActScnN), 16u);
}

void TstPagePower::dischargeBorders_data()
{
    QTest::addColumn<int>("warnFrom");
    QTest::addColumn<int>("alarmFrom");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("warn");
    QTest::addColumn<int>("alarm");
    QTest::newRow("first below 10 jumps to 10") << 60 << 80 << "warn" << 5 << 10 << 80;
    QTest::newRow("first past the second pushes it") << 60 << 80 << "warn" << 90 << 90 << 90;
    QTest::newRow("second above the first pulls it") << 60 << 80 << "alarm" << 30 << 30 << 30;
    QTest::newRow("second to the top keeps both at 10") << 60 << 80 << "alarm" << 2 << 10 << 10;
    QTest::newRow("free move") << 60 << 80 << "alarm" << 65 << 60 << 65;
}

void TstPagePower::dischargeBorders()
{
    QFETCH(int, warnFrom);
    QFETCH(int, alarmFrom);
    QFETCH(QString, moved);
    QFETCH(int, to);
    QFETCH(int, warn);
    QFETCH(int, alarm);
    page_->TrackBarDischargeWarn->setValue(warnFrom);
    page_->TrackBarDischargeAlarm->setValue(alarmFrom);
    (moved == QLatin1String("warn") ? page_->TrackBarDischargeWarn : page_->TrackBarDischargeAlarm)->setValue(to);
    QCOMPARE(page_->TrackBarDischargeWarn->value(), warn);
    QCOMPARE(page_->TrackBarDischargeAlarm->value(), alarm);
    QCOMPARE(page_->Label4->text(), QString::number(100 - warn) + QLatin1Char('%'));
    QCOMPARE(page_->Label14->text(), QString::number(100 - alarm) + QLatin1Char('%'));
}

void TstPagePower::temperatureBorders_data()
{
    QTest::addColumn<int>("lowFrom");
    QTest::addColumn<int>("hiFrom");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("hi");
    QTest::newRow("upper above its limit") << 0 << 60 << "hi" << 85 << 0 << 82;
    QTest::newRow("upper limit pushes the lower") << 80 << 82 << "hi" << 90 << 80 << 82;
    QTest::newRow("upper below its limit") << -32 << 60 << "hi" << -40 << -32 << -30;
    QTest::newRow("upper down pushes the lower") << 20 << 60 << "hi" << 21 << 19 << 21;
    QTest::newRow("lower below its limit") << -25 << 60 << "low" << -40 << -32 << 60;
    QTest::newRow("lower above its limit") << -25 << 60 << "low" << 90 << 80 << 82;
    QTest::newRow("lower up pushes the upper") << -25 << 10 << "low" << 9 << 9 << 11;
    QTest::newRow("two degrees apart is enough") << -25 << 10 << "low" << 8 << 8 << 10;
}

void TstPagePower::temperatureBorders()
{
    QFETCH(int, lowFrom);
    QFETCH(int, hiFrom);
    QFETCH(QString, moved);
    QFETCH(int, to);
    QFETCH(int, low);
    QFETCH(int, hi);
    page_->TrackBarTemperatLowBorder->setValue(-32);
    page_->TrackBarTemperatHiBorder->setValue(hiFrom);
    page_->TrackBarTemperatLowBorder->setValue(lowFrom);
    QCOMPARE(page_->TrackBarTemperatLowBorder->value(), lowFrom);
    QCOMPARE(page_->TrackBarTemperatHiBorder->value(), hiFrom);
    (moved == QLatin1String("hi") ? page_->TrackBarTemperatHiBorder : page_->TrackBarTemperatLowBorder)->setValue(to);
    QCOMPARE(page_->TrackBarTemperatLowBorder->value(), low);
    QCOMPARE(page_->TrackBarTemperatHiBorder->value(), hi);
    QCOMPARE(page_->LabelHiBorder->text(), QString::number(hi) + QStringLiteral("° C"));
    QCOMPARE(page_->LabelLowBorder->text(), QString::number(low) + QStringLiteral("° C"));
}

void TstPagePower::reactionLevelsStayOrdered()
{
    QComboBox *hi = page_->ComboBoxHiBorderLevel, *lo = page_->ComboBoxLoBorderLevel;
    lo->setCurrentIndex(88); // "1° C"
    hi->setCurrentIndex(92); // "-3° C": below the low level
    QCOMPARE(lo->currentIndex(), 92);
    lo->setCurrentIndex(50); // above the high level
    QCOMPARE(hi->currentIndex(), 50);
    hi->setCurrentIndex(40); // in order: nothing moves
    QCOMPARE(lo->currentIndex(), 50);

    // Showing sets both levels and runs neither handler.
    ControllerConfig config = DefaultConfig();
    View(config.ConfigImage).Set(PowerFields::HiBorderLevel, -30); // index 119
    View(config.ConfigImage).Set(PowerFields::LoBorderLevel, 10);  // index 79
    page_->ShowPage(Pages::Power, config);
    QCOMPARE(hi->currentIndex(), 119);
    QCOMPARE(lo->currentIndex(), 79);
}

void TstPagePower::showingRunsTheBarHandlers()
{
    ControllerConfig config = DefaultConfig();
    const FieldView image = View(config.ConfigImage);
    // A first border beyond 90 % comes back as 90 %.
    image.Set(PowerFields::DischargeWarn, 97);
    image.Set(PowerFields::DischargeAlarm, 99);
    // An upper temperature border beyond its limit comes back at the limit.
    image.Set(PowerFields::TemperatHiBorder, 88);
    ShowAndStore(config);
    QCOMPARE(page_->Label4->text(), QStringLiteral("90%"));
    QCOMPARE(image.Get(PowerFields::DischargeWarn), 90u);
    QCOMPARE(image.Get(PowerFields::DischargeAlarm), 90u);
    QCOMPARE(image.Get(PowerFields::TemperatHiBorder), 82);
    QCOMPARE(page_->LabelHiBorder->text(), QStringLiteral("82° C"));
}

void TstPagePower::batteryState_data()
{
    QTest::addColumn<int>("battery");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<int>("bar");
    QTest::addColumn<QString>("message");
    const QString connected = QStringLiteral("\nАккумулятор подключен");
    const QString missing = QStringLiteral("\nАккумулятор не подключен");
    QTest::newRow("empty") << 0 << "0%" << 0 << connected;
    QTest::newRow("half") << 57 << "57%" << 57 << connected;
    QTest::newRow("full") << 100 << "100%" << 100 << connected;
    QTest::newRow("101") << 101 << "0%" << 0 << missing;
    QTest::newRow("253") << 253 << "0%" << 0 << missing;
    QTest::newRow("test") << 254 << "0%" << 0 << QStringLiteral("Тестирование АКБ,\nподождите (не более 1 мин.)");
    QTest::newRow("255") << 255 << "0%" << 0 << missing;
}

void TstPagePower::batteryState()
{
    QFETCH(int, battery);
    QFETCH(QString, percent);
    QFETCH(int, bar);
    QFETCH(QString, message);
    page_->ShowBatteryState(77);
    page_->ShowBatteryState(quint8(battery));
    QCOMPARE(page_->Label17->text(), percent);
    QCOMPARE(page_->ProgressBarBatCharge->value(), bar);
    QCOMPARE(page_->LabelBatMsg->text(), message);
}

void TstPagePower::mainPower_data()
{
    QTest::addColumn<int>("supply");
    QTest::addColumn<QString>("volts");
    QTest::addColumn<int>("bar");
    QTest::newRow("none") << 0 << "0.0" << 0;
    QTest::newRow("below half a volt") << 4 << "0.0" << 0;
    QTest::newRow("half a volt") << 5 << "0.5" << 5;
    QTest::newRow("12.3 V") << 123 << "12.3" << 123;
    QTest::newRow("bar top") << 165 << "16.5" << 165;
    QTest::newRow("above the bar") << 255 << "25.5" << 165;
}

void TstPagePower::mainPower()
{
    QFETCH(int, supply);
    QFETCH(QString, volts);
    QFETCH(int, bar);
    page_->ShowMainPower(100);
    page_->ShowMainPower(quint8(supply));
    volts.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
    QCOMPARE(page_->LabelMainPower->text(), volts + QStringLiteral(" В"));
    QCOMPARE(page_->ProgressBarMainPower->value(), bar);
}

void TstPagePower::modemTemperature()
{
    page_->ShowModemTemperature(-5, true);
    QCOMPARE(page_->LabelTemperature->text(), QStringLiteral("Текущее значение"));
    QCOMPARE(page_->LabelTempCurVal->text(), QStringLiteral("-5° C"));
    QCOMPARE(page_->ProgressBarModemTemperature->value(), -5);
    QVERIFY(!page_->ProgressBarModemTemperature->isHidden());

    page_->ShowModemTemperature(-5, false);
    QCOMPARE(page_->LabelTemperature->text(), QStringLiteral("Текущее значение температуры не доступно"));
    QVERIFY(page_->LabelTempCurVal->text().isEmpty());
    QVERIFY(page_->ProgressBarModemTemperature->isHidden());

    // Outside the bar's range the bar stops at its end; the text tells the value.
    page_->ShowModemTemperature(120, true);
    QVERIFY(!page_->ProgressBarModemTemperature->isHidden());
    QCOMPARE(page_->ProgressBarModemTemperature->value(), 90);
    QCOMPARE(page_->LabelTempCurVal->text(), QStringLiteral("120° C"));
    page_->ShowModemTemperature(-128, true);
    QCOMPARE(page_->ProgressBarModemTemperature->value(), -40);
}

QTEST_MAIN(TstPagePower)
#include "tst_page_power.moc"
