// Page 1, general connection parameters, on its own with the factory defaults.
#include "tests/configurator/GeneralPagesFixture.h"
#include "toolkit/widgets/MaskEdit.h"
#include "toolkit/Win1251.h"

#include <QRadioButton>
#include <QTest>

namespace {

using F = GeneralFields;

QByteArray FieldBytes(const ConfigImage &image, TextField f)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()) + f.offset, f.size);
}

QByteArray Padded(const QByteArray &text, int size)
{
    return text + QByteArray(size - text.size(), '\0');
}

// Page 1's fields at values of their own, and the bytes between them that
// no page edits scrambled.
void VaryGeneral(ConfigImage &image)
{
    Scramble(image, 9, 20, 11);
    const FieldView v = View(image);
    v.Set(F::Call2CallPauseX10S, 5);
    v.Set(F::ACK, 0);
    v.Set(F::ControlOnlyList, 0);
    v.Set(F::DTMFControlOnlyList, 1);
    v.Set(F::DialPriority, 1);
    v.Set(F::OutdatedMsgTime, 7);
    v.Set(F::DATAProtocol, 0);
    v.Set(F::SystemPassword, u"Adm1n");
    v.Set(F::PIN, u"12345678");
    v.Set(F::DTMFPass, u"0917");
    v.Set(F::Password, u"смсПар1");
    v.Set(F::SMSCA, u"+79161234567");
    v.Set(F::BalansReqCMD, u"*100#");
    v.Set(F::BalansIdWord, u"Баланс ");
    v.Set(F::BalansMinVal, 54321);
    v.Set(F::ReqPeriodH, 200);
}

} // namespace

class TestPageGeneral : public QObject {
    Q_OBJECT
private slots:
    void builtControls();
    void entryHidesAndTrims();
    void roundTrip_data();
    void roundTrip();
    void passwordNeedsItsBox();
    void passwordBoxWarning();
    void numberEdits_data();
    void numberEdits();
    void textRules();
    void dialPriorityBeyondItems_data();
    void dialPriorityBeyondItems();
    void balancePresets_data();
    void balancePresets();
};

void TestPageGeneral::builtControls()
{
    GeneralPagesFixture f;
    QCOMPARE(f.general->objectName(), QStringLiteral("Panel1"));
    auto *outdated = f.Control<QComboBox>("ComboBoxOutdatedMsgTime");
    QCOMPARE(outdated->count(), 16);
    QCOMPARE(outdated->itemText(0), QStringLiteral("---"));
    QCOMPARE(outdated->itemText(1), QStringLiteral("2 Min."));
    QCOMPARE(outdated->itemText(15), QStringLiteral("30 Min."));
    QCOMPARE(f.Control<QComboBox>("ComboBoxCall2CallPauseX10S")->itemText(7), QStringLiteral("70"));
    QCOMPARE(f.Control<QComboBox>("ComboBoxDATAProtocol")->itemText(1), QStringLiteral("V.110 (9600 bps)"));
    QCOMPARE(f.Control<QComboBox>("ComboBoxDialPriority")->count(), 4);
    QCOMPARE(f.Control<QGroupBox>("GroupBox12")->title(), QStringLiteral(" Исходящие голосовые оповещения "));
    QVERIFY(!f.Control<QGroupBox>("GroupBoxOutDataParam")->isHidden());
    QCOMPARE(f.Control<TMaskEdit>("MaskEditSysPassword")->EditMask(), QStringLiteral("aaaaaaaa;1; "));
    QCOMPARE(f.Control<TMaskEdit>("MaskEditSMSCA")->EditMask(), QStringLiteral("#99999999999999;1; "));
    // Every control the language file names on this page.
    for (const char *name : {"GroupBox6", "CheckBoxSysPassword", "Label84", "Label72", "Label73", "Label70", "Label8",
                             "CheckBoxDTMFControlOnlyList", "CheckBoxControlOnlyList", "CheckBoxACK", "Label131",
                             "GroupBox13", "Label49", "Label50", "Label41", "Label42", "StaticText1", "GroupBox12",
                             "Label128", "ComboBoxDialPriority", "Label129", "GroupBox16"})
        QVERIFY2(f.form.findChild<QWidget *>(QLatin1String(name)) != nullptr, name);
}

void TestPageGeneral::entryHidesAndTrims()
{
    GeneralPagesFixture f;
    f.Open(Pages::General);
    f.Open(Pages::General);
    QCOMPARE(f.general->Label15->text(), QStringLiteral("Общие параметры соединений"));
    for (const char *name : {"Label73", "MaskEditSMSCA", "Label131", "ComboBoxOutdatedMsgTime"})
        QVERIFY2(f.form.findChild<QWidget *>(QLatin1String(name))->isHidden(), name);
    auto *priority = f.general->ComboBoxDialPriority;
    QCOMPARE(priority->count(), 2);
    QCOMPARE(priority->itemText(0), QStringLiteral("Чередование от 1 до 8 по кольцу, без приоритета."));
    QCOMPARE(priority->itemText(1), QStringLiteral("Приоритет у соединения с меньшим номером."));
}

void TestPageGeneral::roundTrip_data()
{
    QTest::addColumn<bool>("varied");
    QTest::addColumn<bool>("usePassword");
    QTest::newRow("defaults") << false << false;
    QTest::newRow("varied, password box checked") << true << true;
    QTest::newRow("varied, password box unchecked") << true << false;
}

// Showing and storing page 1 changes nothing but the password the box drops.
void TestPageGeneral::roundTrip()
{
    QFETCH(bool, varied);
    QFETCH(bool, usePassword);
    GeneralPagesFixture f;
    if (varied)
        VaryGeneral(f.config.ConfigImage);
    ConfigImage want = f.config.ConfigImage;
    if (!usePassword)
        View(want).Set(F::SystemPassword, u"");

    f.general->CheckBoxSysPassword->setChecked(usePassword);
    f.Open(Pages::General);
    f.Store(Pages::General);
    const QByteArray diff = Differences(f.config.ConfigImage, want);
    QVERIFY2(diff.isEmpty(), diff.constData());
}

void TestPageGeneral::passwordNeedsItsBox()
{
    GeneralPagesFixture f;
    f.Open(Pages::General);
    auto *box = f.general->CheckBoxSysPassword;
    auto *edit = f.general->MaskEditSysPassword;
    edit->setText(QStringLiteral("secret"));
    f.Store(Pages::General);
    QCOMPARE(FieldBytes(f.config.ConfigImage, F::SystemPassword), QByteArray(9, '\0'));
    QCOMPARE(edit->text(), QString());
    QVERIFY(!edit->isEnabled());

    box->setChecked(true);
    edit->setText(QStringLiteral("secret"));
    f.Store(Pages::General);
    QCOMPARE(FieldBytes(f.config.ConfigImage, F::SystemPassword), Padded("secret", 9));
    QVERIFY(edit->isEnabled());
}

void TestPageGeneral::passwordBoxWarning()
{
    GeneralPagesFixture f;
    f.form.show();
    f.Open(Pages::General);
    auto *warning = f.general->LabelSharedParWarningMsg;
    QVERIFY(warning->text().isEmpty());
    QVERIFY(!f.general->Label84->isEnabled());
    ClickButton(f.general->CheckBoxSysPassword);
    QVERIFY(f.general->CheckBoxSysPassword->isChecked());
    QVERIFY(f.general->MaskEditSysPassword->isEnabled());
    QVERIFY(f.general->Label84->isEnabled());
    QVERIFY(warning->text().startsWith(QStringLiteral("Административный пароль необходим")));
    QVERIFY(warning->text().endsWith(QStringLiteral("при каждом запуске программы.")));
    const QString shown = warning->text();
    ClickButton(f.general->CheckBoxSysPassword);
    QVERIFY(!f.general->MaskEditSysPassword->isEnabled());
    QVERIFY(!f.general->Label84->isEnabled());
    QCOMPARE(warning->text(), shown);
}

void TestPageGeneral::numberEdits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<QString>("kept");
    QTest::newRow("period above its maximum") << "EditReqPeriodH" << "300" << 255u << "300";
    QTest::newRow("period negative: low bits") << "EditReqPeriodH" << "-1" << 255u << "-1";
    QTest::newRow("period not a number") << "EditReqPeriodH" << "x5" << 0u << "x5";
    QTest::newRow("period empty") << "EditReqPeriodH" << "" << 0u << "";
    QTest::newRow("balance above its maximum") << "EditBalansMinVal" << "70000" << 65535u << "70000";
    QTest::newRow("balance between blanks") << "EditBalansMinVal" << " 12 " << 12u << "12";
    QTest::newRow("balance at its maximum") << "EditBalansMinVal" << "65535" << 65535u << "65535";
}

void TestPageGeneral::numberEdits()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(quint32, stored);
    QFETCH(QString, kept);
    GeneralPagesFixture f;
    f.Open(Pages::General);
    auto *line = f.Control<QLineEdit>(edit);
    line->setText(typed);
    f.Store(Pages::General);
    const UField field = edit == QLatin1String("EditReqPeriodH") ? F::ReqPeriodH : F::BalansMinVal;
    QCOMPARE(View(f.config.ConfigImage).Get(field), stored);
    QCOMPARE(line->text(), kept);
    // The neighbours of the two number fields stay.
    QCOMPARE(f.config.ConfigImage[2841], DefaultImage()[2841]);
    QCOMPARE(f.config.ConfigImage[2837], DefaultImage()[2837]);
}

void TestPageGeneral::textRules()
{
    GeneralPagesFixture f;
    f.Open(Pages::General);
    const quint8 after = f.config.ConfigImage[68];
    f.general->MaskEditSMSCA->setText(QStringLiteral("+7 916 123"));
    f.general->MaskEditBalansIdWord->setText(QStringLiteral("  Сумма "));
    f.general->MaskEditBalansReqCMD->setText(QStringLiteral(" *102# "));
    f.general->MaskEditPassword->setText(QStringLiteral("abcdefgh"));
    f.Store(Pages::General);
    const ConfigImage &image = f.config.ConfigImage;
    QCOMPARE(FieldBytes(image, F::SMSCA), Padded("+7916123", 16));
    QCOMPARE(image[68], after);
    QCOMPARE(FieldBytes(image, F::BalansIdWord), Padded(ToWin1251(u"Сумма "), 9));
    QCOMPARE(FieldBytes(image, F::BalansReqCMD), Padded("*102#", 9));
    QCOMPARE(FieldBytes(image, F::Password), Padded("abcdefgh", 9));
}

void TestPageGeneral::dialPriorityBeyondItems_data()
{
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<quint32>("storedAgain");
    QTest::newRow("first item") << 0u << 0 << 0u;
    QTest::newRow("second item") << 1u << 1 << 1u;
    QTest::newRow("deleted third item") << 2u << -1 << 3u;
    QTest::newRow("deleted fourth item") << 3u << -1 << 3u;
}

// The window keeps two orders of the four; the others show no selection.
void TestPageGeneral::dialPriorityBeyondItems()
{
    QFETCH(quint32, stored);
    QFETCH(int, shown);
    QFETCH(quint32, storedAgain);
    GeneralPagesFixture f;
    View(f.config.ConfigImage).Set(F::DialPriority, stored);
    f.Open(Pages::General);
    QCOMPARE(f.general->ComboBoxDialPriority->currentIndex(), shown);
    f.Store(Pages::General);
    QCOMPARE(View(f.config.ConfigImage).Get(F::DialPriority), storedAgain);
    QCOMPARE(View(f.config.ConfigImage).Get(F::Call2CallPauseX10S), 1u);
}

void TestPageGeneral::balancePresets_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("keyWord");
    QTest::newRow("1") << "RadioButton1" << "МТС" << "*100#" << "Баланс:";
    QTest::newRow("2") << "RadioButton2" << "Билайн" << "*102#" << "Баланс ";
    QTest::newRow("3") << "RadioButton3" << "Мегафон" << "*100#" << "";
    QTest::newRow("4") << "RadioButton4" << "Теле 2" << "*105#" << "OCTATOK ";
}

void TestPageGeneral::balancePresets()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QString, request);
    QFETCH(QString, keyWord);
    GeneralPagesFixture f;
    f.form.show();
    f.Open(Pages::General);
    f.general->MaskEditBalansIdWord->setText(QStringLiteral("old"));
    auto *radio = f.Control<QRadioButton>(button);
    QCOMPARE(radio->text(), caption);
    ClickButton(radio);
    QCOMPARE(f.general->MaskEditBalansReqCMD->text(), request);
    QCOMPARE(f.general->MaskEditBalansIdWord->text(), keyWord);
    f.Store(Pages::General);
    QCOMPARE(FieldBytes(f.config.ConfigImage, F::BalansIdWord), Padded(ToWin1251(keyWord), 9));
    QCOMPARE(FieldBytes(f.config.ConfigImage, F::BalansReqCMD), Padded(ToWin1251(request), 9));
}

QTEST_MAIN(TestPageGeneral)
#include "tst_page_general.moc"
