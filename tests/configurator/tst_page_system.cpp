#include "tests/configurator/PageFixture.h"
#include "configurator/pages/PageSystem.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

class TstPageSystem : public OnePageTest<PageSystem, Pages::SystemParameters> {
    Q_OBJECT
private slots:
    void namedControls_data();
    void namedControls();
    void overlayUntilEditingIsAllowed();
    void parametersSurviveShowAndStore_data();
    void parametersSurviveShowAndStore();
    void clockCorrection_data();
    void clockCorrection();
    void storeWritesTheControls();
};

void TstPageSystem::namedControls_data()
{
    AddControlColumns();
    const auto row = [](const char *name, const char *kind) { AddControlRow(QLatin1String(name), kind); };
    row("Panel11", "QFrame");
    row("Panel13", "QFrame");
    for (const char *name : {"Label86", "Label108", "Label110", "Label109", "Label106", "Label107", "LabelSysParMsg"})
        row(name, "QLabel");
    for (const char *name : {"Button1", "BitBtnReadSysPar", "BitBtnProgSysPar"})
        row(name, "QPushButton");
    row("GroupBox24", "QGroupBox");
    row("GroupBox41", "QGroupBox");
    row("ComboBoxCALDIR", "QComboBox");
    row("ComboBoxBatteryType", "QComboBox");
    row("CheckBoxFWUpdateEnable", "QCheckBox");
    row("CheckBoxCRCCheckDisable", "QCheckBox");
    row("EditCALVAL", "QLineEdit");
    row("ProgressBarSysPar", "QProgressBar");
}

void TstPageSystem::namedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    VerifyNamedControl(context_->Form(), name, kind);
}

void TstPageSystem::overlayUntilEditingIsAllowed()
{
    QCOMPARE(page_->Label86->text(), QStringLiteral("Системные параметры"));
    QCOMPARE(page_->Button1->text(), QStringLiteral("Разрешить редактирование"));
    QCOMPARE(page_->BitBtnReadSysPar->text(), QStringLiteral("Считать"));
    QCOMPARE(page_->BitBtnProgSysPar->text(), QStringLiteral("Программировать"));
    QVERIFY(!page_->BitBtnProgSysPar->isEnabled());
    QCOMPARE(page_->ProgressBarSysPar->maximum(), 100);

    QWidget *form = context_->Form();
    form->resize(800, 600);
    page_->resize(800, 600);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // The overlay covers the parameter controls.
    const QPoint centre = page_->EditCALVAL->mapTo(page_, page_->EditCALVAL->rect().center());
    QWidget *onTop = page_->childAt(centre);
    QVERIFY(onTop == page_->Panel13 || page_->Panel13->isAncestorOf(onTop));
    page_->Button1->click();
    QVERIFY(page_->Panel13->isHidden());
    QVERIFY(!page_->Button1->isEnabled());
    QCOMPARE(page_->childAt(centre), static_cast<QWidget *>(page_->EditCALVAL));
    page_->Enter(Pages::SystemParameters);
    QVERIFY(page_->Panel13->isHidden());
}

void TstPageSystem::parametersSurviveShowAndStore_data()
{
    QTest::addColumn<QByteArray>("parameters");
    QTest::newRow("defaults") << QByteArray(8, '\0');
    QTest::newRow("varied") << QByteArray::fromHex("5AC1FEE7A3B5C7D9");
    QTest::newRow("all ones") << QByteArray::fromHex("FFFFFFFFFFFFFFFF");
    QTest::newRow("direction only") << QByteArray::fromHex("0000020000000000");
}

void TstPageSystem::parametersSurviveShowAndStore()
{
    QFETCH(QByteArray, parameters);
    ControllerConfig config = DefaultConfig();
    FillPattern(config.ConfigImage, 24);
    std::copy(parameters.begin(), parameters.end(), config.SystemParameters.begin());
    const ControllerConfig before = config;
    page_->ShowPage(Pages::SystemParameters, config);
    page_->StorePage(Pages::SystemParameters, config);
    QVERIFY2(config.SystemParameters == before.SystemParameters,
             qPrintable(Differences(before.SystemParameters, config.SystemParameters)));
    QVERIFY(config.ConfigImage == before.ConfigImage);
    QVERIFY(config.ModeMemory == before.ModeMemory);
}

void TstPageSystem::clockCorrection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<QString>("edit");
    QTest::newRow("number") << "1234" << 1234u << "1234";
    QTest::newRow("blanks around") << "  12 " << 12u << "12";
    QTest::newRow("largest") << "131071" << 131071u << "131071";
    QTest::newRow("above the field") << "200000" << 131071u << "200000";
    QTest::newRow("no number") << "abc" << 0u << "abc";
    QTest::newRow("negative: low bits") << "-1" << 131071u << "-1";
    QTest::newRow("leading number") << "77x" << 77u << "77x";
}

void TstPageSystem::clockCorrection()
{
    QFETCH(QString, typed);
    QFETCH(quint32, stored);
    QFETCH(QString, edit);
    ControllerConfig config = DefaultConfig();
    // Bits 18-31 are not the page's.
    config.SystemParameters = {0x00, 0x00, 0xFC, 0xA5, 0, 0, 0, 0};
    page_->ShowPage(Pages::SystemParameters, config);
    page_->EditCALVAL->setText(typed);
    page_->StorePage(Pages::SystemParameters, config);
    const ConstFieldView parameters = View(std::as_const(config.SystemParameters));
    QCOMPARE(parameters.Get(SystemParameterFields::CALVAL), stored);
    QCOMPARE(page_->EditCALVAL->text(), edit);
    QCOMPARE(config.SystemParameters[3], quint8(0xA5));
    QCOMPARE(config.SystemParameters[2] & 0xFC, 0xFC);
}

void TstPageSystem::storeWritesTheControls()
{
    ControllerConfig config = DefaultConfig();
    config.SystemParameters = {0, 0, 0, 0, 0xF0, 0x0E, 0x80, 0x5A};
    page_->ShowPage(Pages::SystemParameters, config);
    QCOMPARE(page_->ComboBoxCALDIR->currentIndex(), 0);
    QCOMPARE(page_->ComboBoxBatteryType->currentIndex(), 0);
    page_->ComboBoxCALDIR->setCurrentIndex(1);
    page_->ComboBoxBatteryType->setCurrentIndex(1);
    page_->CheckBoxFWUpdateEnable->setChecked(true);
    page_->CheckBoxCRCCheckDisable->setChecked(true);
    page_->EditCALVAL->setText(QStringLiteral("5"));
    page_->StorePage(Pages::SystemParameters, config);
    const SystemParameters expected = {0x05, 0x00, 0x02, 0x00, 0xF1, 0x0F, 0x81, 0x5A};
    QVERIFY2(config.SystemParameters == expected, qPrintable(Differences(expected, config.SystemParameters)));
    QCOMPARE(page_->ComboBoxBatteryType->itemText(1), QStringLiteral("Свинцово-кислотная Pb (12В; от 3,5 А/ч)"));
    QCOMPARE(page_->ComboBoxCALDIR->itemText(1), QStringLiteral("вычесть 1 секунду"));
}

QTEST_MAIN(TstPageSystem)
#include "tst_page_system.moc"
