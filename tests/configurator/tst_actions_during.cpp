// What the user, the window manager and the system do while a device action
// runs, and an adapter pulled out: input made during a transfer starts
// nothing, a close request is refused then, a closing signal is carried out
// afterwards, and a lost device is told by the link's own message alone.
#include "toolkit/widgets/CloseOnSignal.h"
#include "common/Comportconfig.h"
#include "configurator/core/ConfigFiles.h"
#include "tests/configurator/DeviceFixture.h"
#include "tests/support/Bytes.h"
#include "tests/support/ReportLog.h"
#include "tests/support/WindowSystemInput.h"

#include <QFileInfo>
#include <QToolButton>
#include <QTreeWidget>

#include <csignal>
#include <unistd.h>

namespace {

// Slow enough that a step of AtImageBlock comes well before the end.
void PaceTheLine(ControllerSimulator &sim)
{
    sim.setBaudRate(115200);
}

void ShowActive(TForm1 &form)
{
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

// An image the controller holds: the default header, one telephone number of its own.
ConfigImage ControllerImage()
{
    ConfigImage image = DefaultImage();
    RecordView<ConnectionRecord>(image, 0).Set(ConnectionRecord::Phone, QStringLiteral("+7333"));
    return image;
}

// Counts the close requests that reach the window while an action runs.
class CloseWatch : public QObject {
public:
    explicit CloseWatch(TForm1 &form) : form_(form) { form.installEventFilter(this); }
    int duringAction = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close && form_.ActionRunning())
            ++duringAction;
        return false;
    }

private:
    TForm1 &form_;
};

} // namespace

class TstActionsDuring : public QObject {
    Q_OBJECT
private slots:
    void inputDuringAReadStartsNothing();
    void closeRequestDuringAReadIsRefused();
    void signalIsCarriedOutWhenTheActionEnds_data();
    void signalIsCarriedOutWhenTheActionEnds();
    void adapterPulledMidReadTellsThePortFailure();
    void adapterPulledMidPollTellsThePollersText();
    void failedReadTextOutlastsThePoller();
};

// F6 and F7 pressed again, the greyed "Считать" and "Сравнить" clicked and
// another page chosen while a read runs: one read, nothing after it.
void TstActionsDuring::inputDuringAReadStartsNothing()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    QVERIFY(f.sim->setArea(1, Bytes(ControllerImage())));
    PaceTheLine(*f.sim);
    ShowActive(form);
    bool madeDuringRead = false;
    AtImageBlock(*f.sim, 3, [&] {
        madeDuringRead = form.ActionRunning();
        wsi::Key(&form, Qt::Key_F6);
        wsi::Key(&form, Qt::Key_F7);
        wsi::Click(f.Get<QToolButton>("SpeedButton8"));
        wsi::Click(f.Get<QToolButton>("SpeedButton1"));
        const QTreeWidgetItem *input2 = form.Node(Pages::FirstInput + 1);
        wsi::ClickAt(form.TreeView1->viewport(), form.TreeView1->visualItemRect(input2).center());
    });

    form.ReadConfExecute();
    QVERIFY(madeDuringRead);
    QCOMPARE(f.Text("ActionName"), QStringLiteral("Данные считаны"));
    // Input held back would be delivered now, with the actions enabled again.
    QTest::qWait(200);
    form.StopPoller();
    QCOMPARE(f.Commands().count(cmd::ReadImage), ImageBlocks);
    QCOMPARE(f.Commands().count(cmd::Password), 1);
    QCOMPARE(form.CurrentPage(), Pages::LiveState);

    // Outside an action the same key starts a read.
    f.sim->clearLog();
    wsi::Key(&form, Qt::Key_F6);
    QTRY_COMPARE(f.Commands().count(cmd::ReadImage), ImageBlocks);
}

void TstActionsDuring::closeRequestDuringAReadIsRefused()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    QVERIFY(f.sim->setArea(1, Bytes(ControllerImage())));
    PaceTheLine(*f.sim);
    ShowActive(form);
    CloseWatch watch(form);
    AtImageBlock(*f.sim, 3, [&] { wsi::Close(&form); });

    form.ReadConfExecute();
    QCOMPARE(watch.duringAction, 1);
    QTest::qWait(200);
    QVERIFY(form.isVisible());
    QVERIFY(!QFileInfo::exists(QStringLiteral("default.cnt")));
    QCOMPARE(f.Text("ActionName"), QStringLiteral("Данные считаны"));
    // A request made now closes the window.
    wsi::Close(&form);
    QTRY_VERIFY(!form.isVisible());
    QVERIFY(QFileInfo::exists(QStringLiteral("default.cnt")));
}

void TstActionsDuring::signalIsCarriedOutWhenTheActionEnds_data()
{
    QTest::addColumn<QString>("during");
    QTest::newRow("read") << "read";
    QTest::newRow("COM-port dialog") << "COM-port dialog";
}

// As at a logout: the working copy is saved through the normal close.
void TstActionsDuring::signalIsCarriedOutWhenTheActionEnds()
{
    QFETCH(QString, during);
    DeviceFixture f;
    TForm1 &form = f.Form();
    PaceTheLine(*f.sim);
    QVERIFY(f.sim->setArea(1, Bytes(ControllerImage())));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    CloseOnSignal closer(&form);
    bool sent = false;
    bool shownAfterSignal = false;
    if (during == QLatin1String("read")) {
        AtImageBlock(*f.sim, 3, [&] { sent = form.ActionRunning() && ::kill(::getpid(), SIGTERM) == 0; });
        form.ReadConfExecute();
        shownAfterSignal = form.isVisible();
    } else {
        AnswerModal<TFormCOMPortConfig>(this, [&](TFormCOMPortConfig &dialog) {
            sent = ::kill(::getpid(), SIGTERM) == 0;
            QTimer::singleShot(300, &dialog, [&] {
                shownAfterSignal = form.isVisible();
                dialog.Button2Click();
            });
        });
        form.ComPortConfigExecute();
    }
    QVERIFY(sent);
    QVERIFY(shownAfterSignal);
    QTRY_VERIFY(!form.isVisible());
    ConfigImage saved{};
    QCOMPARE(LoadConfigFile(QStringLiteral("default.cnt"), saved), int(frOk));
    QVERIFY(saved == form.ControllerConfig.ConfigImage);
    if (during == QLatin1String("read"))
        QVERIFY(saved == ControllerImage());
}

void TstActionsDuring::adapterPulledMidReadTellsThePortFailure()
{
    ReportLog reports;
    DeviceFixture f;
    TForm1 &form = f.Form();
    const ConfigImage before = form.ControllerConfig.ConfigImage;
    f.sim->setFault(Fault::unplug(cmd::ReadImage, 5));

    form.ReadConfExecute();
    QCOMPARE(f.Text("ActionName"), QStringLiteral("Ошибка порта COM1"));
    QCOMPARE(f.TextColour("ActionName"), Red);
    QVERIFY(form.ControllerConfig.ConfigImage == before);
    QTest::qWait(300);
    QCOMPARE(reports.Messages(), QStringList());
    QVERIFY(f.dialogs.messages.isEmpty());
    QVERIFY(f.ActionsEnabled());
}

void TstActionsDuring::adapterPulledMidPollTellsThePollersText()
{
    ReportLog reports;
    DeviceFixture f;
    TForm1 &form = f.Form();
    form.StartPoller();
    QTRY_VERIFY(f.Commands().contains(cmd::ReadState));
    f.sim->setFault(Fault::unplug(cmd::ReadState));

    QTRY_COMPARE(form.PanelText(PortPanel), QStringLiteral("NC"));
    QVERIFY(form.PanelText(ResultPanel) == QStringLiteral("Ошибка порта COM1") ||
            form.PanelText(ResultPanel) == QStringLiteral("Невозможно открыть COM1"));
    QCOMPARE(f.Text("iDeviceNameLabel"), QStringLiteral("--------"));
    QTest::qWait(300);
    form.StopPoller();
    QCOMPARE(reports.Messages(), QStringList());
    QVERIFY(f.dialogs.messages.isEmpty());
}

// The poller, failing to find the controller, leaves the read's red text;
// its own text goes to panel 3.
void TstActionsDuring::failedReadTextOutlastsThePoller()
{
    DeviceFixture f;
    TForm1 &form = f.Form();
    // The identification and the password are answered, nothing after them:
    // the controller is lost from the read on, to the poller's first look.
    f.sim->setFault(Fault::noReply().after(2));
    form.ReadConfExecute();
    const QString failure = QStringLiteral("Ошибка передачи данных, код 1");
    QCOMPARE(f.Text("ActionName"), failure);
    QCOMPARE(f.HandlerCommands(), (QList<quint8>{cmd::Identify, cmd::Password} << Repeated(cmd::ReadImage, 3)));

    f.sim->clearLog();
    // The third cycle begins once the GUI thread has shown the second's result.
    QVERIFY(QTest::qWaitFor([&] { return f.Commands().count(cmd::Identify) > 6; }, 20000));
    QTRY_COMPARE(form.PanelText(ResultPanel), QStringLiteral("Нет ответа от устройства"));
    QCOMPARE(f.Text("ActionName"), failure);
    QCOMPARE(f.TextColour("ActionName"), Red);

    // Found again, the controller lets the text go with the next loss.
    f.sim->clearFaults();
    QTRY_COMPARE_WITH_TIMEOUT(f.Text("iDeviceNameLabel"), QStringLiteral("QRV240"), 20000);
    f.sim->setFault(Fault::noReply());
    QTRY_COMPARE_WITH_TIMEOUT(f.Text("ActionName"), QString(), 20000);
}

QTEST_MAIN(TstActionsDuring)
#include "tst_actions_during.moc"
