#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PageControls.h"
#include "configurator/pages/PageLiveState.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

class TstPageLiveState : public OnePageTest<PageLiveState> {
    Q_OBJECT
private slots:
    void namedControls_data();
    void namedControls();
    void identityStartsWithTheFormPlaceholders();
    void formVisibilityAndEnteringThePage();
    void buttonTags_data();
    void buttonTags();
    void testCombosTakeTheCurrentTexts();
    void signalQuality_data();
    void signalQuality();
    void armState_data();
    void armState();
    void changingModeBlinksRedFirst();
    void indicatorMasks();
    void balance();
    void localeCurrencyFormat_data();
    void localeCurrencyFormat();
};

void TstPageLiveState::namedControls_data()
{
    AddControlColumns();
    const auto row = [](const char *name, const char *kind) { AddControlRow(QLatin1String(name), kind); };
    row("Panel10", "QFrame");
    row("Label30", "QLabel");
    row("GroupBox15", "QGroupBox");
    for (const char *name : {"Label48", "Label51", "Label52", "Label54", "Label22", "Label55", "Label105", "Label56",
                             "Label68", "iDeviceNameLabel", "iModificationLabel", "iHardVerLabel", "iSoftVerLabel",
                             "iBLLabel", "iDateLabel", "iLabelCountryCode", "iLabelDevSNLocked", "iGSMIMEILabel",
                             "iLabelDevSN", "Label111", "Label112", "Label117", "ActionName", "TMPLabel",
                             "LabelGSMState", "LabelBalans", "PanelArmDisarmStatus"})
        row(name, "QLabel");
    for (const char *name : {"Button21", "Button18", "Button19", "Button22", "Button23", "Button24", "Button4",
                             "Button5", "Button17", "Button20", "Button25", "Button30", "Button40"})
        row(name, "QPushButton");
    for (const char *name : {"GroupBoxPerimetersInfo", "GroupBoxMaunPerimInfo", "GroupBoxInputIndicator",
                             "GroupBoxOutIndicator", "GroupBox28"})
        row(name, "QGroupBox");
    row("CheckBoxClearSaveArea", "QCheckBox");
    row("ComboBoxTestOut", "QComboBox");
    row("ComboBoxTestScen", "QComboBox");
    row("ProgressBar1", "QProgressBar");
    row("ProgressBarSignalQuality", "QProgressBar");
    row("BevelInputIndicator", "QFrame");
    row("PanelLed1", "QLabel");
    row("PanelLed16", "QLabel");
    row("PanelOut7", "QLabel");
}

void TstPageLiveState::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    VerifyNamedControl(context_->Form(), name, kind);
}

void TstPageLiveState::identityStartsWithTheFormPlaceholders()
{
    QCOMPARE(page_->iDeviceNameLabel->text(), QStringLiteral("- - - - - - - -"));
    QCOMPARE(page_->iModificationLabel->text(), QStringLiteral("- - - - - - - -"));
    for (QLabel *version : {page_->iHardVerLabel, page_->iSoftVerLabel, page_->iBLLabel})
        QCOMPARE(version->text(), QStringLiteral("- - . - -"));
    QCOMPARE(page_->iDateLabel->text(), QStringLiteral("- -  - -  - - - -"));
    QCOMPARE(page_->iLabelCountryCode->text(), QStringLiteral("- - -"));
    QCOMPARE(page_->iGSMIMEILabel->text(), QString(QStringLiteral("- ").repeated(15)).trimmed());
    const QString identifier = QStringLiteral("- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -  ");
    QCOMPARE(page_->iLabelDevSN->text(), identifier);
    QCOMPARE(page_->iLabelDevSNLocked->text(), identifier);
    QCOMPARE(page_->TMPLabel->text(), QStringLiteral("-"));
    QVERIFY(page_->TMPLabel->isHidden());
    QCOMPARE(page_->Button21->text(), QStringLiteral("Написать в техническую поддержку"));
    QCOMPARE(page_->CheckBoxClearSaveArea->text(), QStringLiteral("При программировании очистить память режимов"));
    QVERIFY(!page_->HasValues(Pages::LiveState));
}

void TstPageLiveState::formVisibilityAndEnteringThePage()
{
    // The form: five inputs, four outputs, the mode groups hidden.
    QVERIFY(page_->GroupBoxMaunPerimInfo->isHidden());
    QVERIFY(page_->GroupBoxPerimetersInfo->isHidden());
    QVERIFY(!page_->PanelLed[4]->isHidden());
    QVERIFY(page_->PanelLed[5]->isHidden());
    QVERIFY(!page_->PanelOut[3]->isHidden());
    QVERIFY(page_->PanelOut[4]->isHidden());
    QVERIFY(page_->OutputOnButtons[4]->isHidden());

    page_->ActionName->setText(QStringLiteral("прежний текст"));
    page_->Enter(Pages::LiveState);
    QCOMPARE(page_->Label30->text(), QStringLiteral("GSM контроллер QRV240-S"));
    QVERIFY(page_->Button22->isHidden());
    QVERIFY(!page_->Button18->isHidden());
    for (const char *name : {"BevelInputIndicator", "PanelLed5", "Label117", "Button30"})
        QVERIFY2(Control<QWidget>(*context_, QLatin1String(name))->isHidden(), name);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!page_->PanelLed[i]->isHidden());
        QVERIFY(!page_->InputButtons[i]->isHidden());
    }
    QVERIFY(page_->ActionName->text().isEmpty());
}

void TstPageLiveState::buttonTags_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("caption");
    const QString on = QStringLiteral("Вкл."), off = QStringLiteral("Выкл.");
    for (int t = 0; t < 7; ++t) {
        QTest::addRow("on %d", t) << QStringLiteral("Button%1").arg(4 + 2 * t) << t << on;
        QTest::addRow("off %d", t) << QStringLiteral("Button%1").arg(5 + 2 * t) << t << off;
    }
    const int inputs[16] = {25, 27, 28, 29, 30, 31, 32, 26, 33, 35, 36, 37, 38, 39, 40, 34};
    for (int t = 0; t < 16; ++t)
        QTest::addRow("input %d", t) << QStringLiteral("Button%1").arg(inputs[t]) << t << QString();
}

void TstPageLiveState::buttonTags()
{
    QFETCH(QString, name);
    QFETCH(int, tag);
    QFETCH(QString, caption);
    auto *button = Control<QPushButton>(*context_, name);
    QVERIFY(button != nullptr);
    QCOMPARE(pagectl::Tag(button), tag);
    QCOMPARE(button->text(), caption);
}

void TstPageLiveState::testCombosTakeTheCurrentTexts()
{
    QCOMPARE(page_->ComboBoxTestOut->count(), 4);
    QCOMPARE(page_->ComboBoxTestOut->itemText(3), QStringLiteral("Выход 2"));
    QCOMPARE(page_->ComboBoxTestScen->count(), 14);
    QCOMPARE(page_->ComboBoxTestScen->itemText(0), QStringLiteral("сценарий 1"));
    QCOMPARE(page_->ComboBoxTestScen->itemText(13), QStringLiteral("сценарий 14"));

    // A translation reaches them on the next entry.
    context_->texts.OutputNames[0] = QStringLiteral("Relay 1");
    context_->texts.OutputActionNames[16] = QStringLiteral("scenario 14");
    page_->ComboBoxTestOut->setCurrentIndex(2);
    page_->Enter(Pages::LiveState);
    QCOMPARE(page_->ComboBoxTestOut->count(), 4);
    QCOMPARE(page_->ComboBoxTestOut->itemText(0), QStringLiteral("Relay 1"));
    QCOMPARE(page_->ComboBoxTestOut->currentIndex(), 0);
    QCOMPARE(page_->ComboBoxTestScen->count(), 14);
    QCOMPARE(page_->ComboBoxTestScen->itemText(13), QStringLiteral("scenario 14"));
    QCOMPARE(page_->ComboBoxTestScen->currentIndex(), 0);
}

void TstPageLiveState::signalQuality_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("position");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("top") << 31 << 31;
    QTest::newRow("upper bits dropped") << 0xE5 << 5;
    QTest::newRow("all ones") << 0xFF << 31;
}

void TstPageLiveState::signalQuality()
{
    QFETCH(int, quality);
    QFETCH(int, position);
    page_->ShowSignalQuality(quint8(quality));
    QCOMPARE(page_->ProgressBarSignalQuality->value(), position);
}

void TstPageLiveState::armState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("disarmed") << 0 << QStringLiteral("НАБЛЮДЕНИЕ") << pagectl::ButtonFace();
    QTest::newRow("armed") << 2 << QStringLiteral("ОХРАНА") << QColor(255, 0, 0);
    QTest::newRow("protection") << 3 << QStringLiteral("ЗАЩИТА") << QColor(255, 220, 14);
    QTest::newRow("unknown") << 4 << QString() << pagectl::ButtonFace();
    QTest::newRow("failed read") << 255 << QString() << pagectl::ButtonFace();
}

void TstPageLiveState::armState()
{
    QFETCH(int, state);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    page_->ShowArmState(2); // start from a non-neutral panel
    page_->ShowArmState(quint8(state));
    QCOMPARE(page_->PanelArmDisarmStatus->text(), caption);
    QCOMPARE(pagectl::FaceColour(page_->PanelArmDisarmStatus), colour);
}

void TstPageLiveState::changingModeBlinksRedFirst()
{
    context_->texts.ModeNames[3] = QStringLiteral("Mode change");
    page_->ShowArmState(0);
    const QColor red(255, 0, 0), neutral = pagectl::ButtonFace();
    for (const QColor &expected : {red, neutral, red}) {
        page_->ShowArmState(1);
        QCOMPARE(page_->PanelArmDisarmStatus->text(), QStringLiteral("Mode change"));
        QCOMPARE(pagectl::FaceColour(page_->PanelArmDisarmStatus), expected);
    }
    // From armed (red) the first blink step is neutral.
    page_->ShowArmState(2);
    page_->ShowArmState(1);
    QCOMPARE(pagectl::FaceColour(page_->PanelArmDisarmStatus), neutral);
}

void TstPageLiveState::indicatorMasks()
{
    const QColor on(0, 255, 0), off(0, 128, 0);
    page_->ShowLedMask(0x0001);
    QCOMPARE(pagectl::FaceColour(page_->PanelLed[0]), on);
    for (int i = 1; i < 16; ++i)
        QCOMPARE(pagectl::FaceColour(page_->PanelLed[i]), off);
    page_->ShowLedMask(0x8004);
    QCOMPARE(pagectl::FaceColour(page_->PanelLed[0]), off);
    QCOMPARE(pagectl::FaceColour(page_->PanelLed[2]), on);
    QCOMPARE(pagectl::FaceColour(page_->PanelLed[15]), on);
    page_->ShowLedMask(0);
    for (QLabel *led : page_->PanelLed)
        QCOMPARE(pagectl::FaceColour(led), off);

    page_->ShowOutputMask(0x42); // relay 2 and output 5
    for (int i = 0; i < 7; ++i)
        QCOMPARE(pagectl::FaceColour(page_->PanelOut[i]), (i == 1 || i == 6) ? on : off);
    page_->ShowOutputMask(0);
    for (QLabel *out : page_->PanelOut)
        QCOMPARE(pagectl::FaceColour(out), off);
}

void TstPageLiveState::balance()
{
    page_->ShowBalance(true, 123.456f);
    QCOMPARE(page_->LabelBalans->text(), QStringLiteral("Баланс лицевого счета: ") +
                                             FormatCurrency(123.456f, 7, LocaleCurrencyFormat(QLocale::system())));
    QVERIFY(page_->LabelBalans->text().contains(QLocale::system().decimalPoint() + QStringLiteral("46")));
    page_->ShowBalance(false, 123.456f);
    QVERIFY(page_->LabelBalans->text().isEmpty());
    page_->ShowBalance(false, std::numeric_limits<float>::quiet_NaN());
    QVERIFY(page_->LabelBalans->text().isEmpty());
}

void TstPageLiveState::localeCurrencyFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("ru_RU") << "ru_RU" << int(CurrencyPosition::SuffixSpace) << ",";
    QTest::newRow("en_US") << "en_US" << int(CurrencyPosition::Prefix) << ".";
    QTest::newRow("de_DE") << "de_DE" << int(CurrencyPosition::SuffixSpace) << ",";
    QTest::newRow("C") << "C" << int(CurrencyPosition::Suffix) << ".";
}

void TstPageLiveState::localeCurrencyFormat()
{
    QFETCH(QString, locale);
    QFETCH(int, position);
    QFETCH(QString, decimal);
    const QLocale l(locale);
    const CurrencyFormat format = LocaleCurrencyFormat(l);
    QCOMPARE(int(format.position), position);
    QCOMPARE(format.decimalSeparator, decimal);
    QCOMPARE(format.currencyString, l.currencySymbol());
    QCOMPARE(format.thousandSeparator, l.groupSeparator());
    QCOMPARE(format.decimals, 2);
    // The amount reads as the locale writes money (any blank for its blanks).
    const auto blanks = [](QString text) {
        for (QChar &c : text)
            if (c.isSpace())
                c = QLatin1Char(' ');
        return text;
    };
    if (!format.currencyString.isEmpty())
        QCOMPARE(blanks(FormatCurrency(1234.5, 7, format)), blanks(l.toCurrencyString(1234.5)));
}

QTEST_MAIN(TstPageLiveState)
#include "tst_page_livestate.moc"
