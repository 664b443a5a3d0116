// The single commands: the controller's clock, the control buttons, the
// IMEI copy, and the support mail link.
#include "common/Contacts.h"
#include "tests/configurator/DeviceFixture.h"
#include "toolkit/widgets/MaskEdit.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QUrlQuery>

namespace {

const QString PasswordRefused = QStringLiteral(
    "Взаимодействие запрещено без указания пароля, команды чтения/записи и ряд управляющих команд не могут быть "
    "выполнены");

// The window shown and active, so that the focus moves as a user moves it.
void ShowActive(TForm1 &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

} // namespace

class TstActionsCommands : public QObject {
    Q_OBJECT
private slots:
    void controlButtonsSendTheirBytes_data();
    void controlButtonsSendTheirBytes();
    void refusedPasswordSendsNoControlFrame();
    void syncSendsThePcTimeField_data();
    void syncSendsThePcTimeField();
    void typedTimeIsCheckedThenSent_data();
    void typedTimeIsCheckedThenSent();
    void setWithoutTypingSendsNothing();
    void unservedControllerKeepsTheTypedTime();
    void imeiGoesToTheClipboard();
    void supportMailNamesTheController_data();
    void supportMailNamesTheController();
};

void TstActionsCommands::controlButtonsSendTheirBytes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Button4: relay 1 on") << "Button4" << QByteArray("\x02\x00\x01", 3);
    QTest::newRow("Button8: output 1 on") << "Button8" << QByteArray("\x02\x02\x01", 3);
    QTest::newRow("Button9: output 1 off") << "Button9" << QByteArray("\x02\x02\x02", 3);
    QTest::newRow("Button17: output 5 off") << "Button17" << QByteArray("\x02\x06\x02", 3);
    QTest::newRow("Button20: scenario 3 on relay 2") << "Button20" << QByteArray("\x02\x01\x05", 3);
    QTest::newRow("Button18: Охрана") << "Button18" << QByteArray("\x00\x00\x00", 3);
    QTest::newRow("Button23: Охрана of the perimeters") << "Button23" << QByteArray("\x00\x00\x00", 3);
    QTest::newRow("Button19: Наблюдение") << "Button19" << QByteArray("\x01\x00\x00", 3);
    QTest::newRow("Button24: Наблюдение of the perimeters") << "Button24" << QByteArray("\x01\x00\x00", 3);
    QTest::newRow("Button22: Защита") << "Button22" << QByteArray("\x03\x00\x00", 3);
    QTest::newRow("Button25: input 1") << "Button25" << QByteArray("\x04\x00\x00", 3);
    QTest::newRow("Button26: input 8") << "Button26" << QByteArray("\x04\x07\x00", 3);
    QTest::newRow("Button34: input 16") << "Button34" << QByteArray("\x04\x0F\x00", 3);
}

void TstActionsCommands::controlButtonsSendTheirBytes()
{
    QFETCH(QString, button);
    QFETCH(QByteArray, bytes);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("pass", "pass");
    f.Get<QComboBox>("ComboBoxTestOut")->setCurrentIndex(1);
    f.Get<QComboBox>("ComboBoxTestScen")->setCurrentIndex(2);
    form.SelectPage(Pages::LiveState);

    FindControl<QPushButton>(&form, button)->click();

    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password, cmd::Control}));
    QCOMPARE(f.Payload(cmd::Password), PasswordPayload("pass"));
    QCOMPARE(f.Payload(cmd::Control), bytes);
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Данные переданы"));
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
    QCOMPARE(form.CurrentPage(), Pages::LiveState);
}

void TstActionsCommands::refusedPasswordSendsNoControlFrame()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("guess", "secret");
    FindControl<QPushButton>(&form, QStringLiteral("Button8"))->click();

    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password}));
    QCOMPARE(f.Text("ActionName"), PasswordRefused);
    QCOMPARE(f.TextColour("ActionName"), Red);
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
}

void TstActionsCommands::syncSendsThePcTimeField_data()
{
    QTest::addColumn<QString>("pcTime"); // empty: the field was never filled
    QTest::addColumn<QByteArray>("clock");
    QTest::newRow("filled") << "09.12.26 07:05:03" << QByteArray("\x1A\x0C\x09\x07\x05\x03", 6);
    QTest::newRow("never filled") << "" << QByteArray(6, '\0');
}

void TstActionsCommands::syncSendsThePcTimeField()
{
    QFETCH(QString, pcTime);
    QFETCH(QByteArray, clock);
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.SelectPage(Pages::Clock);
    f.Get<TMaskEdit>("MaskEditPCCurTime")->setText(pcTime);

    FindControl<QPushButton>(&form, QStringLiteral("Button3"))->click();

    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::SetClock})); // no password
    QCOMPARE(f.Payload(cmd::SetClock), clock);
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Данные переданы"));
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
    QCOMPARE(form.CurrentPage(), Pages::Clock);
}

void TstActionsCommands::typedTimeIsCheckedThenSent_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty: accepted
    QTest::addColumn<QByteArray>("clock");
    QTest::newRow("day 32") << "32.01.20 10:00:00" << "Не верно установлено число" << QByteArray();
    QTest::newRow("month 13") << "15.13.20 10:00:00" << "Не верно установлен месяц" << QByteArray();
    QTest::newRow("hour 24") << "15.01.20 24:00:00" << "Не верно установлены часы" << QByteArray();
    QTest::newRow("minute 60") << "15.01.20 10:60:00" << "Не верно установлены минуты" << QByteArray();
    QTest::newRow("day checked before month") << "32.13.20 10:00:00" << "Не верно установлено число" << QByteArray();
    QTest::newRow("upper bounds") << "31.12.99 23:59:59" << "" << QByteArray("\x63\x0C\x1F\x17\x3B\x3B", 6);
    QTest::newRow("day 00 and month 00") << "00.00.20 10:00:00" << "" << QByteArray("\x14\x00\x00\x0A\x00\x00", 6);
    QTest::newRow("seconds 75") << "15.01.20 10:30:75" << "" << QByteArray("\x14\x01\x0F\x0A\x1E\x4B", 6);
}

void TstActionsCommands::typedTimeIsCheckedThenSent()
{
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(QByteArray, clock);
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.SelectPage(Pages::Clock);
    ShowActive(form);
    auto *edit = f.Get<TMaskEdit>("MaskEditContrCurTime");
    auto *set = f.Get<QPushButton>("Button2");

    edit->setFocus();
    QCOMPARE(form.EditingControllerTime, quint8(1));
    edit->setText(typed);
    QTest::mouseClick(set, Qt::LeftButton); // the press takes the focus first
    QCOMPARE(form.EditingControllerTime, quint8(0));
    QVERIFY(form.TypedControllerTime.isEmpty());

    if (!refusal.isEmpty()) {
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, refusal);
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Установка времени и даты"));
        QCOMPARE(f.dialogs.messages[0].flags, unsigned(MB_OK | MB_ICONWARNING));
        QVERIFY(f.Commands().isEmpty());
        QVERIFY(form.PanelThread == nullptr); // refused before the poller was stopped
        return;
    }
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::SetClock}));
    QCOMPARE(f.Payload(cmd::SetClock), clock);
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Данные переданы"));
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);

    // Without entering and leaving the field again a second press sends nothing.
    form.StopPoller();
    f.sim->clearLog();
    QTest::mouseClick(set, Qt::LeftButton);
    QVERIFY(f.Commands().isEmpty());
}

void TstActionsCommands::setWithoutTypingSendsNothing()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.SelectPage(Pages::Clock);
    ShowActive(form);
    QTest::mouseClick(f.Get<QPushButton>("Button2"), Qt::LeftButton);
    QVERIFY(f.Commands().isEmpty());
    QVERIFY(f.dialogs.messages.isEmpty());
    // Only the press acts: the keyboard does nothing.
    form.MaskEditContrCurTimeEnter();
    f.Get<TMaskEdit>("MaskEditContrCurTime")->setText(QStringLiteral("15.01.20 10:30:00"));
    form.MaskEditContrCurTimeExit();
    auto *set = f.Get<QPushButton>("Button2");
    set->setFocus();
    QTest::keyClick(set, Qt::Key_Space);
    QVERIFY(f.Commands().isEmpty());
    QCOMPARE(form.TypedControllerTime, QStringLiteral("15.01.20 10:30:00"));
}

void TstActionsCommands::unservedControllerKeepsTheTypedTime()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    qrvsim::SimIdentity identity;
    identity.deviceName = "QRV610";
    f.sim->setIdentity(identity);
    form.MaskEditContrCurTimeEnter();
    f.Get<TMaskEdit>("MaskEditContrCurTime")->setText(QStringLiteral("15.01.20 10:30:00"));
    form.MaskEditContrCurTimeExit();

    form.Button2MouseDown();

    QCOMPARE(f.HandlerCommands(), QList<quint8>{cmd::Identify});
    QCOMPARE(f.Text("ActionName"), QStringLiteral("Устройство QRV610 не поддерживается"));
    QCOMPARE(form.TypedControllerTime, QStringLiteral("15.01.20 10:30:00"));
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
}

void TstActionsCommands::imeiGoesToTheClipboard()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("pass", "pass");
    qrvsim::SimIdentity identity;
    identity.imei = "490154203237518";
    f.sim->setIdentity(identity);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    form.SelectPage(Pages::ArmIn);

    form.ReadIMEICodeExecute();

    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password}));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("IMEI: 490154203237518"));
    QCOMPARE(form.CurrentPage(), Pages::LiveState);
    QVERIFY(f.ActionsEnabled());
    QVERIFY(form.PanelThread != nullptr);
}

void TstActionsCommands::supportMailNamesTheController_data()
{
    QTest::addColumn<QString>("identity"); // "form", "controller", "none"
    QTest::addColumn<QString>("subject");
    const QString dashes = QStringLiteral("- - - - - - - -");
    const QString identifier = QStringLiteral("- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -  ");
    QTest::newRow("before the first identification")
        << "form"
        << dashes + "-" + dashes + "-h- - . - --s- - . - --- -  - -  - - - --- - --d- - . - --ID:" + identifier +
               "-IMEI:- - - - - - - - - - - - - - -";
    QTest::newRow("controller identified")
        << "controller"
        << "QRV240-S-h01.02-s01.01-15.06.2015-RU-d01.00-ID:00112233 44556677 8899AABB CCDDEEFF-IMEI:356938035643809";
    QTest::newRow("identification failed") << "none" << "QRV610, нет информации о версии устройства";
}

void TstActionsCommands::supportMailNamesTheController()
{
    QFETCH(QString, identity);
    QFETCH(QString, subject);
    DeviceFixture f;
    TForm1 &form = f.Form();
    QList<QUrl> opened;
    SetLinkOpener([&opened](const QUrl &url) { opened << url; });
    if (identity == QLatin1String("controller")) {
        qrvsim::SimIdentity controller;
        controller.hardwareVersion = 0x0102;
        f.sim->setIdentity(controller);
        form.ReadIMEICodeExecute(); // any identification fills the labels
    } else if (identity == QLatin1String("none")) {
        form.ComPort1.SetPort(QStringLiteral("COM9"));
        form.ReadIMEICodeExecute();
    }
    form.StopPoller(); // so that the log holds still
    const int framesBefore = f.sim->logSize();

    FindControl<QPushButton>(&form, QStringLiteral("Button21"))->click();
    SetLinkOpener(nullptr);

    QCOMPARE(opened.size(), 1);
    const QUrl &url = opened[0];
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), SupportMailAddress);
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
    // Blanks and Cyrillic letters travel percent-encoded.
    const QByteArray encoded = url.toEncoded();
    QVERIFY(!encoded.contains(' '));
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(encoded)),
             QStringLiteral("mailto:") + SupportMailAddress + QStringLiteral("?subject=") + subject);
    QCOMPARE(f.sim->logSize(), framesBefore); // nothing asked of the controller
}

QTEST_MAIN(TstActionsCommands)
#include "tst_actions_commands.moc"
