// The live-state poller against the controller simulator: what each page
// shows of the state block, the touch-key learning, and a lost controller.
#include "tests/configurator/DeviceFixture.h"
#include "toolkit/widgets/MaskEdit.h"
#include "configurator/pages/PageArmIn.h"
#include "configurator/pages/PageControls.h"
#include "toolkit/widgets/StringGrid.h"
#include "configurator/pages/PageLiveState.h"

#include <QProgressBar>
#include <QRegularExpression>

#include <cstring>

namespace {

// A state block: the bytes given at their offsets, the rest 0.
QByteArray StateBlock(std::initializer_list<std::pair<int, int>> bytes, float balance = 0)
{
    QByteArray block(qrvsim::StateBlockSize, '\0');
    for (const auto &[offset, value] : bytes)
        block[offset] = char(value);
    std::memcpy(block.data() + 32, &balance, sizeof balance);
    return block;
}

QByteArray WithInput(QByteArray block, int input, int value)
{
    block[6 + 2 * input] = char(value & 0xFF);
    block[7 + 2 * input] = char(value >> 8);
    return block;
}

QByteArray TouchKey(const QByteArray &code, int flags)
{
    QByteArray block = code;
    block.append(char(flags));
    block.append(3, '\0');
    return block;
}

const QColor IndicatorOn(0, 255, 0);
const QColor IndicatorOff(0, 128, 0);

// Waits until the simulator has seen count more frames with this command.
bool SeenMore(DeviceFixture &f, quint8 command, int count)
{
    const int before = int(f.Commands().count(command));
    return QTest::qWaitFor([&] { return int(f.Commands().count(command)) >= before + count; }, 20000);
}

QColor Face(DeviceFixture &f, const char *name)
{
    return pagectl::FaceColour(f.Get<QWidget>(name));
}

// What the GUI thread is given to do while it lives: the GUI queue's
// hand-overs, and paints of a widget and of everything in it.
class GuiWork : public QObject {
public:
    explicit GuiWork(QWidget *root = nullptr) : root_(root) { QCoreApplication::instance()->installEventFilter(this); }
    int handOvers = 0; // a worker's requests reach the GUI thread as a call on the application
    int paints = 0;    // of root
    int layouts = 0;   // layout, update and paint requests anywhere

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MetaCall:
            if (watched == QCoreApplication::instance())
                ++handOvers;
            break;
        case QEvent::Paint:
            if (root_ != nullptr && watched->isWidgetType()) {
                auto *widget = static_cast<QWidget *>(watched);
                if (widget == root_ || root_->isAncestorOf(widget))
                    ++paints;
            }
            ++layouts;
            break;
        case QEvent::LayoutRequest:
        case QEvent::UpdateRequest: ++layouts; break;
        default: break;
        }
        return false;
    }

private:
    QWidget *root_;
};

// Serves the GUI thread until one pass over its events brings it nothing to
// hand over, lay out or paint: the window shows all it has been given.
bool Settle()
{
    for (int pass = 0; pass < 100; ++pass) {
        GuiWork work;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (work.handOvers == 0 && work.layouts == 0)
            return true;
    }
    return false;
}

// The face colour a panel takes at each change of it.
class FaceLog : public QObject {
public:
    explicit FaceLog(QWidget *panel) { panel->installEventFilter(this); }
    QList<QColor> faces;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::PaletteChange)
            faces << pagectl::FaceColour(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

class TstPoller : public QObject {
    Q_OBJECT
private slots:
    void rootPageShowsTheStateBlock();
    void gsmStateTexts_data();
    void gsmStateTexts();
    void failedStateReadClearsTheRootPage();
    void steadyPollingPaintsNothing_data();
    void steadyPollingPaintsNothing();
    void changingModeBlinksWithEachCycle();
    void whatChangesShowsWhileTheRestIsLeftAlone();
    void clockPageShowsBothTimes_data();
    void clockPageShowsBothTimes();
    void clockPageReadsNoStateWhileEdited();
    void powerPage_data();
    void powerPage();
    void armInPageLearnsKeys_data();
    void armInPageLearnsKeys();
    void inputPages_data();
    void inputPages();
    void pagesWithoutLiveValuesOnlyIdentify_data();
    void pagesWithoutLiveValuesOnlyIdentify();
    void lostControllerShowsTheEmptyIdentity();
    void quickFailuresAreNotRetriedAtOnce();
    void atMostOnePoller();
};

void TstPoller::rootPageShowsTheStateBlock()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setStateBlock(StateBlock({{25, 0x20 | 21}, {26, 2}, {27, 0x03}, {28, 0x05}, {29, 0x02}, {30, 8}, {31, -5}},
                                    123.5f));
    form.SelectPage(Pages::LiveState);
    form.Timer2Timer();

    QTRY_COMPARE(f.Text("LabelGSMState"), QStringLiteral("Зарегистрирован в домашней сети"));
    QCOMPARE(f.Get<QProgressBar>("ProgressBarSignalQuality")->value(), 21);
    QCOMPARE(f.Text("PanelArmDisarmStatus"), QStringLiteral("ОХРАНА"));
    QCOMPARE(Face(f, "PanelArmDisarmStatus"), QColor(255, 0, 0));
    QCOMPARE(Face(f, "PanelLed1"), IndicatorOn);
    QCOMPARE(Face(f, "PanelLed2"), IndicatorOff);
    QCOMPARE(Face(f, "PanelLed3"), IndicatorOn);
    QCOMPARE(Face(f, "PanelOut1"), IndicatorOff);
    QCOMPARE(Face(f, "PanelOut2"), IndicatorOn);
    QVERIFY2(f.Text("LabelBalans").startsWith(QStringLiteral("Баланс лицевого счета: 123")),
             qPrintable(f.Text("LabelBalans")));
    QCOMPARE(f.Text("LabelTempCurVal"), QStringLiteral("-5° C"));
    QCOMPARE(f.Get<QProgressBar>("ProgressBarModemTemperature")->value(), -5);
    QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("QRV240"));
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("COM1"));
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Версия устройства считана"));
    QVERIFY(form.PanelThread->DeviceOnline.load() == 1);
    QVERIFY(form.PanelThread->Priority() == TThreadPriority::tpNormal);
}

void TstPoller::gsmStateTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("translated"); // replaces the window's text of the code
    QTest::addColumn<QString>("shown");
    QTest::newRow("0") << 0 << "" << "Инициализация модема";
    QTest::newRow("10") << 10 << "" << "Зарегистрирован в роуменге";
    QTest::newRow("11") << 11 << "" << "Неизвестное состояние GSM модуля";
    QTest::newRow("200") << 200 << "" << "Неизвестное состояние GSM модуля";
    QTest::newRow("the window's list") << 3 << "No SIM" << "No SIM";
}

void TstPoller::gsmStateTexts()
{
    QFETCH(int, code);
    QFETCH(QString, translated);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    if (!translated.isEmpty())
        form.Texts().GsmStateTexts[code] = translated;
    f.sim->setStateBlock(StateBlock({{30, code}}));
    form.StartPoller();
    QTRY_COMPARE(f.Text("LabelGSMState"), shown);
}

void TstPoller::failedStateReadClearsTheRootPage()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setStateBlock(StateBlock({{25, 21}, {26, 3}, {28, 0xFF}, {29, 0x7F}, {30, 8}}));
    form.StartPoller();
    QTRY_COMPARE(f.Text("PanelArmDisarmStatus"), QStringLiteral("ЗАЩИТА"));

    f.sim->setFault(Fault::badChecksum(cmd::ReadState));
    QTRY_COMPARE(f.Text("PanelArmDisarmStatus"), QString());
    form.StopPoller();
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Ошибка передачи данных, код 2"));
    QCOMPARE(f.Text("LabelGSMState"), QString());
    QCOMPARE(f.Get<QProgressBar>("ProgressBarSignalQuality")->value(), 0);
    QCOMPARE(Face(f, "PanelArmDisarmStatus"), pagectl::ButtonFace());
    for (int led = 1; led <= 16; ++led)
        QCOMPARE(Face(f, qPrintable(QStringLiteral("PanelLed%1").arg(led))), IndicatorOff);
    for (int out = 1; out <= 7; ++out)
        QCOMPARE(Face(f, qPrintable(QStringLiteral("PanelOut%1").arg(out))), IndicatorOff);
}

void TstPoller::clockPageShowsBothTimes_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a date") << 9 << "09.12.26 07:05:03";
    // Read as shown, though the edit's mask cannot hold it.
    QTest::newRow("a day of three digits") << 123 << "123.12.26 07:05:03";
}

void TstPoller::steadyPollingPaintsNothing_data()
{
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::newRow("served") << QByteArray("QRV240") << "LabelGSMState" << "Зарегистрирован в домашней сети";
    QTest::newRow("model not served") << QByteArray("QRV999") << "ActionName" << "Устройство QRV999 не поддерживается";
}

void TstPoller::steadyPollingPaintsNothing()
{
    QFETCH(QByteArray, model);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    qrvsim::SimIdentity identity;
    identity.deviceName = model;
    f.sim->setIdentity(identity);
    f.sim->setStateBlock(StateBlock({{25, 21}, {26, 2}, {27, 0x03}, {28, 0x05}, {29, 0x02}, {30, 8}, {31, 20}}, 50));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.SelectPage(Pages::LiveState);
    form.StartPoller();
    QTRY_COMPARE(f.Text(qPrintable(control)), shown);
    // Two cycles more, so that what the first ones handed over is queued,
    // and the page laid out anew with it.
    QVERIFY(SeenMore(f, cmd::Identify, 2));
    QVERIFY(Settle());

    // Cycles that find what is shown already hand nothing over and paint
    // nothing of the page.
    GuiWork work(form.Page<PageLiveState>());
    QVERIFY(SeenMore(f, cmd::Identify, 3));
    // What the cycles handed over before their last identification is queued.
    QCoreApplication::processEvents();
    QCOMPARE(work.handOvers, 0);
    form.StopPoller();
    QCoreApplication::processEvents();
    QCOMPARE(work.paints, 0);
    QCOMPARE(f.Text(qPrintable(control)), shown);
}

// The window, keeping every text panel 3 was given.
class Panel3Log : public TForm1 {
public:
    QStringList texts;
    void SetPanelText(int panel, const QString &text) override
    {
        if (panel == ResultPanel)
            texts << text;
        TForm1::SetPanelText(panel, text);
    }
};

// Cycles that find what is shown hand nothing over; each change still shows.
void TstPoller::whatChangesShowsWhileTheRestIsLeftAlone()
{
    DeviceFixture f;
    f.form = std::make_unique<Panel3Log>();
    auto &form = static_cast<Panel3Log &>(f.Form());
    form.Timer2->stop();
    f.sim->setStateBlock(StateBlock({{30, 8}}));
    form.SelectPage(Pages::LiveState);
    form.StartPoller();
    QTRY_COMPARE(f.Text("LabelGSMState"), QStringLiteral("Зарегистрирован в домашней сети"));

    f.sim->setStateBlock(StateBlock({{30, 10}}));
    QTRY_COMPARE(f.Text("LabelGSMState"), QStringLiteral("Зарегистрирован в роуменге"));

    qrvsim::SimIdentity identity;
    identity.firmwareVersion = 0x0102;
    f.sim->setIdentity(identity);
    QTRY_COMPARE(form.PanelText(VersionPanel), QStringLiteral("S.01.02"));
    QTRY_COMPARE(f.Text("ActionName"), QStringLiteral("Версия S.01.02 не поддерживается"));
    f.sim->setIdentity(qrvsim::SimIdentity());
    QTRY_COMPARE(form.PanelText(VersionPanel), QStringLiteral("S.01.01"));

    // A failed state read takes panel 3; the next identification gives it back.
    form.texts.clear();
    f.sim->setFault(Fault::noReply(cmd::ReadState, 3));
    QTRY_VERIFY(form.texts.size() >= 2);
    QCOMPARE(form.texts.mid(0, 2), QStringList({"Нет ответа от устройства", "Версия устройства считана"}));
    QTRY_COMPARE(f.Text("LabelGSMState"), QStringLiteral("Зарегистрирован в роуменге"));
    form.StopPoller();
}

void TstPoller::changingModeBlinksWithEachCycle()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setStateBlock(StateBlock({{26, 1}}));
    FaceLog log(f.Get<QWidget>("PanelArmDisarmStatus"));
    form.SelectPage(Pages::LiveState);
    form.StartPoller();
    QVERIFY(SeenMore(f, cmd::ReadState, 6));
    form.StopPoller();
    QVERIFY2(log.faces.size() >= 5, qPrintable(QString::number(log.faces.size())));
    for (int i = 0; i < log.faces.size(); ++i)
        QCOMPARE(log.faces[i], i % 2 == 0 ? QColor(255, 0, 0) : pagectl::ButtonFace());
    QCOMPARE(f.Text("PanelArmDisarmStatus"), QStringLiteral("Смена режима"));
}

void TstPoller::clockPageShowsBothTimes()
{
    QFETCH(int, day);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setStateBlock(StateBlock({{0, 26}, {1, 12}, {2, day}, {3, 7}, {4, 5}, {5, 3}}));
    form.SelectPage(Pages::Clock);
    form.StartPoller();

    auto *controller = f.Get<TMaskEdit>("MaskEditContrCurTime");
    QTRY_COMPARE(controller->Text(), shown);
    const QString pc = f.Get<TMaskEdit>("MaskEditPCCurTime")->Text();
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d$")).match(pc).hasMatch(),
             qPrintable(pc));
    QCOMPARE(pc.left(8), QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yy")));
}

void TstPoller::clockPageReadsNoStateWhileEdited()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.SelectPage(Pages::Clock);
    form.EditingControllerTime = 1;
    form.StartPoller();

    QVERIFY(SeenMore(f, cmd::Identify, 3));
    QVERIFY(!f.Commands().contains(cmd::ReadState));
    form.StopPoller();
    QVERIFY(!f.Get<TMaskEdit>("MaskEditPCCurTime")->Text().trimmed().isEmpty());
    QCOMPARE(f.Get<TMaskEdit>("MaskEditContrCurTime")->Text().trimmed(), QStringLiteral(".  .     :  :"));
}

void TstPoller::powerPage_data()
{
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<QString>("battery");
    QTest::addColumn<int>("supply");
    QTest::newRow("state read") << false << "100%" << 123;
    QTest::newRow("state read fails") << true << "0%" << 0;
}

void TstPoller::powerPage()
{
    QFETCH(bool, readFails);
    QFETCH(QString, battery);
    QFETCH(int, supply);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setStateBlock(StateBlock({{22, 123}, {24, 100}, {27, 0x01}, {31, 30}}));
    if (readFails)
        f.sim->setFault(Fault::badChecksum(cmd::ReadState));
    form.SelectPage(Pages::Power);
    f.Get<QLabel>("Label17")->setText(QStringLiteral("?"));
    f.Get<QProgressBar>("ProgressBarMainPower")->setValue(1);
    form.StartPoller();

    QTRY_COMPARE(f.Text("Label17"), battery);
    form.StopPoller();
    QCOMPARE(f.Get<QProgressBar>("ProgressBarMainPower")->value(), supply);
    if (readFails) {
        QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Ошибка передачи данных, код 2"));
    } else {
        QCOMPARE(f.Get<QProgressBar>("ProgressBarModemTemperature")->value(), 30);
        QCOMPARE(f.Text("LabelTempCurVal"), QStringLiteral("30° C"));
    }
}

void TstPoller::armInPageLearnsKeys_data()
{
    QTest::addColumn<QByteArray>("controllerPassword");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("learnt");
    QTest::newRow("key read") << QByteArray("pass") << 0x03 << true;
    QTest::newRow("only bit 0") << QByteArray("pass") << 0x01 << false;
    QTest::newRow("only bit 1") << QByteArray("pass") << 0x02 << false;
    QTest::newRow("password refused") << QByteArray("secret") << 0x03 << false;
}

void TstPoller::armInPageLearnsKeys()
{
    QFETCH(QByteArray, controllerPassword);
    QFETCH(int, flags);
    QFETCH(bool, learnt);
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.SetPasswords("pass", controllerPassword);
    f.sim->setTouchKeyBlock(TouchKey(QByteArray("\x01\xA2\x00\x0F\x10\x20\x30\xFF", 8), flags));
    form.SelectPage(Pages::ArmIn);
    auto *grid = f.Get<TStringGrid>("StringGrid1");
    const QString code = QStringLiteral("01A2000F102030FF");
    form.StartPoller();

    const bool refused = controllerPassword != "pass";
    if (refused) {
        QTRY_COMPARE(f.Text("LabelTouchActionDiscription"),
                     QStringLiteral("Взаимодействие запрещено без указания пароля, программа не сможет получить код "
                                    "ключа"));
    } else if (learnt) {
        // The second read finds the key in the table.
        QTRY_COMPARE(f.Text("LabelTouchActionDiscription"),
                     QStringLiteral("Ключ с кодом: ") + code + QStringLiteral(", уже внесен в таблицу"));
    } else {
        QVERIFY(SeenMore(f, cmd::ReadTouchKey, 2));
    }
    form.StopPoller(); // a whole cycle has been shown
    QCOMPARE(f.Payload(cmd::Password), PasswordPayload("pass"));
    QCOMPARE(f.Commands().contains(cmd::ReadTouchKey), !refused);
    QCOMPARE(grid->Cell(1, 1), learnt ? code : FreeKeyCode);
    QCOMPARE(grid->Cell(2, 1), learnt ? QStringLiteral("KEY1") : QString());
    for (const char *label : {"Label21", "Label163"}) {
        const QWidget *w = f.Get<QWidget>(label);
        QCOMPARE(w->autoFillBackground() && Face(f, label) == QColor(255, 0, 0), learnt);
    }
}

void TstPoller::inputPages_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("flags"); // byte 25
    QTest::addColumn<int>("battery");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<int>("shown");
    QTest::newRow("input 1, measured") << Pages::FirstInput << 0x20 << 0 << 1000 << false << 1000;
    QTest::newRow("input 1, on battery with a battery") << Pages::FirstInput << 0x40 << 50 << 1000 << false << 1000;
    QTest::newRow("input 1, on battery without a battery") << Pages::FirstInput << 0x40 << 0 << 1000 << false << 0;
    QTest::newRow("input 1, not measured") << Pages::FirstInput << 0x1F << 50 << 1000 << false << 0;
    QTest::newRow("input 2, beyond the bar") << Pages::FirstInput + 1 << 0x20 << 0 << 60000 << false << 4095;
    QTest::newRow("input 4") << Pages::FirstInput + 3 << 0x20 << 0 << 2000 << false << 2000;
    QTest::newRow("input 3, state read fails") << Pages::FirstInput + 2 << 0x20 << 0 << 1000 << true << 0;
}

void TstPoller::inputPages()
{
    QFETCH(int, page);
    QFETCH(int, flags);
    QFETCH(int, battery);
    QFETCH(int, value);
    QFETCH(bool, readFails);
    QFETCH(int, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    // Every input holds a value of its own; only the page's input is shown.
    QByteArray block = StateBlock({{24, battery}, {25, flags}});
    for (int input = 0; input < 4; ++input)
        block = WithInput(block, input, input == page - Pages::FirstInput ? value : 7 + input);
    f.sim->setStateBlock(block);
    if (readFails)
        f.sim->setFault(Fault::badChecksum(cmd::ReadState));
    form.SelectPage(page);
    auto *bar = f.Get<QProgressBar>("ProgressBarCurrentVal");
    bar->setValue(3);
    const QString before = f.Text("LabelCurrentVal");
    form.StartPoller();

    QVERIFY(SeenMore(f, cmd::ReadState, 2));
    form.StopPoller();
    QCOMPARE(bar->value(), shown);
    if (shown != 0)
        QVERIFY(f.Text("LabelCurrentVal") != before); // the page shows the value in its unit
    if (readFails)
        QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Ошибка передачи данных, код 2"));
}

void TstPoller::pagesWithoutLiveValuesOnlyIdentify_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QString>("shown");
    QTest::newRow("general page") << Pages::General << QByteArray("QRV240") << "";
    QTest::newRow("inputs overview") << Pages::Inputs << QByteArray("QRV240") << "";
    QTest::newRow("system parameters") << Pages::SystemParameters << QByteArray("QRV240") << "";
    const QString unserved = QStringLiteral("Устройство QRV610 не поддерживается");
    QTest::newRow("root page, model QRV610") << Pages::LiveState << QByteArray("QRV610") << unserved;
    QTest::newRow("input page, model QRV610") << Pages::FirstInput << QByteArray("QRV610") << unserved;
}

void TstPoller::pagesWithoutLiveValuesOnlyIdentify()
{
    QFETCH(int, page);
    QFETCH(QByteArray, model);
    QFETCH(QString, shown);
    DeviceFixture f;
    TForm1 &form = f.Form();
    qrvsim::SimIdentity identity;
    identity.deviceName = model;
    f.sim->setIdentity(identity);
    form.SelectPage(page);
    f.Get<QLabel>("ActionName")->setText(QStringLiteral("before"));
    form.StartPoller();

    QVERIFY(SeenMore(f, cmd::Identify, 3));
    form.StopPoller();
    for (quint8 c : f.Commands())
        QCOMPARE(c, cmd::Identify);
    if (!shown.isEmpty()) {
        QCOMPARE(f.Text("ActionName"), shown);
        QCOMPARE(f.TextColour("ActionName"), Red);
    } else {
        QCOMPARE(f.Text("ActionName"), QStringLiteral("before"));
    }
}

void TstPoller::lostControllerShowsTheEmptyIdentity()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.StartPoller();
    QTRY_COMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("QRV240"));
    f.Get<QLabel>("ActionName")->setText(QStringLiteral("Данные считаны"));
    f.sim->unplug();

    QTRY_COMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("--------"));
    QCOMPARE(form.PanelText(PortPanel), QStringLiteral("NC"));
    QCOMPARE(form.PanelText(VersionPanel), QStringLiteral("--------.--.--"));
    QCOMPARE(f.Text("ActionName"), QString());
    QVERIFY(form.PanelText(ResultPanel) == QStringLiteral("Нет ответа от устройства") ||
            form.PanelText(ResultPanel).startsWith(QStringLiteral("Невозможно открыть ")) ||
            form.PanelText(ResultPanel).startsWith(QStringLiteral("Ошибка порта ")));
    QCOMPARE(form.PanelThread->DeviceOnline.load(), quint8(0));
    QVERIFY(form.PanelThread->Priority() == TThreadPriority::tpIdle);
    form.StopPoller(); // at once, though the poller waits before its next try
    QVERIFY(form.PanelThread == nullptr);
}

void TstPoller::quickFailuresAreNotRetriedAtOnce()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    f.sim->setFault(Fault::badChecksum(cmd::Identify)); // fails as soon as the reply is in
    form.StartPoller();
    QVERIFY(QTest::qWaitFor([&] { return f.Commands().count(cmd::Identify) >= 2; }, 20000));
    form.StopPoller();
    QList<qint64> sent;
    for (const FrameRecord &r : f.sim->log())
        if (r.kind == FrameRecord::Kind::Frame)
            sent << r.atMs;
    QVERIFY2(sent[1] - sent[0] >= 900, qPrintable(QString::number(sent[1] - sent[0])));
    QCOMPARE(form.PanelText(ResultPanel), QStringLiteral("Ошибка передачи данных, код 2"));
    QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("--------"));
}

void TstPoller::atMostOnePoller()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    QVERIFY(form.PanelThread == nullptr);
    form.Timer2Timer();
    TMainPanelControl *poller = form.PanelThread;
    QVERIFY(poller != nullptr);
    QCOMPARE(poller->DeviceOnline.load(), quint8(0)); // until its first identification
    form.StartPoller();
    QCOMPARE(form.PanelThread, poller);
    QTRY_COMPARE(poller->DeviceOnline.load(), quint8(1));
    form.StopPoller();
    QVERIFY(form.PanelThread == nullptr);
    form.StopPoller();
}

QTEST_MAIN(TstPoller)
#include "tst_poller.moc"
