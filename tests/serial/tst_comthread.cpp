// The event thread against a recording device: the event mask it sets, the
// order and the thread of the dispatch in each SyncMethod, the routines'
// rules, faults during dispatch, closing during a hand-over, WaitForEvent.
#include "serial/ComPort.h"
#include "serial/ComThread.h"
#include "tests/serial/FakeSerialDevice.h"
#include "tests/support/Raised.h"
#include "tests/support/ReportLog.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

bool OnGuiThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Waits without serving the GUI thread's queue, so that a hand-over stays
// pending meanwhile.
template <typename F>
bool WaitWithoutEvents(F &&done, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Logs each event handler's call as "name args", and whether it ran on the GUI thread.
void RecordEvents(TCustomComPort &port, FakeDeviceScript &script, QList<bool> *onGui = nullptr)
{
    auto note = [&script, onGui](const QString &what) {
        if (onGui != nullptr) {
            std::lock_guard lock(script.mutex);
            *onGui << OnGuiThread();
        }
        script.Note(what);
    };
    auto plain = [note](const char *name) {
        return [note, name](TCustomComPort *) { note(QLatin1String(name)); };
    };
    auto line = [note](const char *name) {
        return [note, name](TCustomComPort *, bool on) { note(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(on)); };
    };
    port.OnRxChar = [note](TCustomComPort *, std::int32_t count) { note(QStringLiteral("OnRxChar %1").arg(count)); };
    port.OnRxBuf = [note](TCustomComPort *, const void *buffer, std::int32_t count) {
        note(QStringLiteral("OnRxBuf ") + QString::fromLatin1(static_cast<const char *>(buffer), count));
    };
    port.OnError = [note](TCustomComPort *, TComErrors errors) { note(QStringLiteral("OnError %1").arg(errors.ToBits())); };
    port.OnTxEmpty = plain("OnTxEmpty");
    port.OnBreak = plain("OnBreak");
    port.OnRing = plain("OnRing");
    port.OnRxFlag = plain("OnRxFlag");
    port.OnRx80Full = plain("OnRx80Full");
    port.OnCTSChange = line("OnCTSChange");
    port.OnDSRChange = line("OnDSRChange");
    port.OnRLSDChange = line("OnRLSDChange");
}

QStringList Handlers(const QStringList &log)
{
    QStringList calls;
    for (const QString &line : log) {
        if (line.startsWith("On"))
            calls << line;
    }
    return calls;
}

// Records the event notifications that reach any object of the GUI thread.
class NotificationLog : public QObject {
public:
    NotificationLog() { QCoreApplication::instance()->installEventFilter(this); }
    QList<std::uint32_t> wParams;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == ComEventMessage)
            wParams << static_cast<TComEventMessage *>(e)->WParam;
        return QObject::eventFilter(watched, e);
    }
};

constexpr std::uint32_t AllTen = 0x05FF;

} // namespace

class TstComThread : public QObject {
    Q_OBJECT
private slots:
    void eventMask_data();
    void eventMask();
    void dispatchOrderAndThread_data();
    void dispatchOrderAndThread();
    void batchNoHandlerHearsNeedsNoHandOver();
    void deviceToldWhatNoHandlerHears();
    void rxCharRules_data();
    void rxCharRules();
    void errorOnlyWhenErrors_data();
    void errorOnlyWhenErrors();
    void lineStateReadWhenRun();
    void windowSyncPostsOncePerEvent();
    void windowSyncSkippedAfterClose();
    void faultsReportedThreadGoesOn_data();
    void faultsReportedThreadGoesOn();
    void failingWaitDoesNotSpin();
    void goneDeviceIsWatchedNoMore_data();
    void goneDeviceIsWatchedNoMore();
    void closeDuringHandOver();
    void closeRefusedThenDestroyed();
    void threadStartFailureClosesPort();
    void waitForEventRefusedWithThread();
    void waitForEvent_data();
    void waitForEvent();
};

void TstComThread::eventMask_data()
{
    QTest::addColumn<std::uint16_t>("events");
    QTest::addColumn<QString>("mask");
    QTest::newRow("rx char") << TComEvents{evRxChar}.ToBits() << "SetCommMask 0x0001";
    QTest::newRow("all ten") << TComEvents::All().ToBits() << "SetCommMask 0x05ff";
    QTest::newRow("ring and lines") << TComEvents{evRing, evCTS, evRLSD}.ToBits() << "SetCommMask 0x0128";
    QTest::newRow("none: no thread") << std::uint16_t(0) << QString();
}

void TstComThread::eventMask()
{
    QFETCH(std::uint16_t, events);
    QFETCH(QString, mask);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetEvents(TComEvents::FromBits(events));
    port.Open();
    const QStringList masks = script->Log().filter("SetCommMask");
    QCOMPARE(masks, mask.isEmpty() ? QStringList() : QStringList{mask});
    script->ClearLog();
    port.Close();
    const QStringList expected = mask.isEmpty()
        ? QStringList({"Purge 3", "close"})
        : QStringList({"Purge 3", "SetCommMask 0x0000", "Purge 12", "close"});
    QCOMPARE(script->Log(), expected);
}

void TstComThread::dispatchOrderAndThread_data()
{
    QTest::addColumn<int>("sync");
    QTest::addColumn<bool>("onGui");
    QTest::newRow("thread sync") << int(smThreadSync) << true;
    QTest::newRow("window sync") << int(smWindowSync) << true;
    QTest::newRow("none") << int(smNone) << false;
}

void TstComThread::dispatchOrderAndThread()
{
    QFETCH(int, sync);
    QFETCH(bool, onGui);
    QList<bool> threads;
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(TSyncMethod(sync));
    port.Open();
    RecordEvents(port, *script, &threads);
    script->status.cbInQue = 3;
    script->errorBits = CE_FRAME;
    script->modemStatus = MS_CTS_ON | MS_RLSD_ON;
    script->PostEvents(AllTen);
    const QStringList expected = {"OnError 1", "OnRxChar 3", "OnTxEmpty", "OnBreak", "OnRing", "OnCTSChange 1",
                                  "OnDSRChange 0", "OnRxFlag", "OnRLSDChange 1", "OnRx80Full"};
    QTRY_COMPARE(Handlers(script->Log()).size(), expected.size());
    QCOMPARE(Handlers(script->Log()), expected);
    {
        std::lock_guard lock(script->mutex);
        QCOMPARE(threads, QList<bool>(expected.size(), onGui));
    }
    port.Close();
}

void TstComThread::batchNoHandlerHearsNeedsNoHandOver()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.OnTxEmpty = [](TCustomComPort *) {};
    port.Open();
    script->status.cbInQue = 3;
    script->errorBits = CE_FRAME;
    // The GUI thread serves nothing meanwhile: the batch runs on the event
    // thread, its driver queries included.
    script->PostEvents(EV_RXCHAR | EV_ERR);
    QVERIFY(WaitWithoutEvents([&] { return script->waits.load() >= 2; }));
    QCOMPARE(script->Log().filter("ClearCommError").size(), 2);
    QVERIFY(Handlers(script->Log()).isEmpty());
    // One that a handler hears still waits for the GUI thread.
    script->PostEvents(EV_TXEMPTY | EV_ERR);
    QVERIFY(!WaitWithoutEvents([&] { return script->waits.load() >= 3; }, 200));
    QTRY_VERIFY(script->waits.load() >= 3);
    port.Close();
}

// Without a handler the device need not wake the thread for the empty
// transmit queue or the event character; a handler assigned later is heard.
void TstComThread::deviceToldWhatNoHandlerHears()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetEvents(TComEvents::All());
    port.OnRxChar = [](TCustomComPort *, std::int32_t) {};
    port.Open();
    QCOMPARE(script->unheard.load(), std::uint32_t(EV_TXEMPTY | EV_RXFLAG));
    port.OnTxEmpty = [](TCustomComPort *) {};
    script->PostEvents(EV_RXCHAR);
    QTRY_COMPARE(script->unheard.load(), std::uint32_t(EV_RXFLAG));
    port.Close();
}

void TstComThread::rxCharRules_data()
{
    QTest::addColumn<bool>("triggers");
    QTest::addColumn<bool>("handler");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QByteArray>("left");
    QTest::newRow("count announced") << true << true << "OnRxChar 4" << QByteArray("abcd");
    QTest::newRow("no handler: bytes stay") << true << false << QString() << QByteArray("abcd");
    QTest::newRow("read and handed over") << false << true << "OnRxBuf abcd" << QByteArray();
}

void TstComThread::rxCharRules()
{
    QFETCH(bool, triggers);
    QFETCH(bool, handler);
    QFETCH(QString, call);
    QFETCH(QByteArray, left);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetTriggersOnRxChar(triggers);
    port.SetSyncMethod(smNone);
    port.Open();
    if (handler)
        RecordEvents(port, *script);
    script->input = "abcd";
    script->status.cbInQue = 4;
    script->PostEvents(EV_RXCHAR);
    // Once the thread waits again the batch is done.
    QTRY_VERIFY(script->waits.load() >= 2);
    QCOMPARE(Handlers(script->Log()), call.isEmpty() ? QStringList() : QStringList{call});
    QCOMPARE(script->Log().filter("StartIo").size(), left.isEmpty() ? 1 : 0);
    port.Close();
    QCOMPARE(script->input, left);

    // Nothing queued: nothing announced, nothing read.
    port.Open();
    script->ClearLog();
    script->status.cbInQue = 0;
    script->PostEvents(EV_RXCHAR);
    QTRY_VERIFY(script->waits.load() >= 4);
    QVERIFY(Handlers(script->Log()).isEmpty());
    QVERIFY(script->Log().filter("StartIo").isEmpty());
    port.Close();
}

void TstComThread::errorOnlyWhenErrors_data()
{
    QTest::addColumn<std::uint32_t>("bits");
    QTest::addColumn<bool>("parityChecked");
    QTest::addColumn<QString>("call");
    QTest::newRow("no error") << 0u << false << QString();
    QTest::newRow("frame") << CE_FRAME << false << "OnError 1";
    QTest::newRow("parity unchecked") << CE_RXPARITY << false << QString();
    QTest::newRow("parity checked") << CE_RXPARITY << true << "OnError 2";
}

void TstComThread::errorOnlyWhenErrors()
{
    QFETCH(std::uint32_t, bits);
    QFETCH(bool, parityChecked);
    QFETCH(QString, call);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Parity()->SetCheck(parityChecked);
    port.Open();
    RecordEvents(port, *script);
    script->errorBits = bits;
    script->PostEvents(EV_ERR);
    QTRY_VERIFY(script->waits.load() >= 2);
    QCOMPARE(script->Log().filter("ClearCommError").size(), 1);
    QCOMPARE(Handlers(script->Log()), call.isEmpty() ? QStringList() : QStringList{call});
    port.Close();
}

void TstComThread::lineStateReadWhenRun()
{
    // The state reported is the one read when the routine runs, not the one
    // at the time of the event.
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    RecordEvents(port, *script);
    script->modemStatus = 0;
    script->PostEvents(EV_DSR);
    QVERIFY(WaitWithoutEvents([&] {
        std::lock_guard lock(script->mutex);
        return script->eventBatches.empty();
    }));
    script->modemStatus = MS_DSR_ON;
    QTRY_COMPARE(Handlers(script->Log()), QStringList{"OnDSRChange 1"});
    port.Close();
}

void TstComThread::windowSyncPostsOncePerEvent()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(smWindowSync);
    port.Open();
    RecordEvents(port, *script);
    NotificationLog notifications;
    script->PostEvents(EV_RLSD | EV_RING);
    // The event thread does not wait for the notifications: it is back in its
    // wait while the GUI thread has not looked at them yet.
    QVERIFY(WaitWithoutEvents([&] { return script->waits.load() >= 2; }));
    QVERIFY(Handlers(script->Log()).isEmpty());
    QTRY_COMPARE(Handlers(script->Log()).size(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(notifications.wParams, QList<std::uint32_t>({0x100, 0x20}));
    QCOMPARE(Handlers(script->Log()), QStringList({"OnRing", "OnRLSDChange 0"}));
    port.Close();
}

void TstComThread::windowSyncSkippedAfterClose()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(smWindowSync);
    port.Open();
    RecordEvents(port, *script);
    script->PostEvents(EV_TXEMPTY | EV_RING);
    QVERIFY(WaitWithoutEvents([&] { return script->waits.load() >= 2; }));
    // Closed from another thread, so that the notifications are still
    // queued here when the port is closed.
    std::thread([&port] { port.Close(); }).join();
    QVERIFY(!port.Connected());
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCOMPARE(Handlers(script->Log()).filter(QRegularExpression("OnRing|OnTxEmpty")), QStringList());
}

void TstComThread::faultsReportedThreadGoesOn_data()
{
    QTest::addColumn<int>("sync");
    QTest::addColumn<bool>("failQuery");
    QTest::newRow("thread sync, handler throws") << int(smThreadSync) << false;
    QTest::newRow("thread sync, query fails") << int(smThreadSync) << true;
    QTest::newRow("window sync, handler throws") << int(smWindowSync) << false;
    QTest::newRow("none, handler throws") << int(smNone) << false;
    QTest::newRow("none, query fails") << int(smNone) << true;
}

void TstComThread::faultsReportedThreadGoesOn()
{
    QFETCH(int, sync);
    QFETCH(bool, failQuery);
    ReportLog reports;
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(TSyncMethod(sync));
    port.Open();
    RecordEvents(port, *script);
    script->status.cbInQue = 2;
    std::atomic<int> rxCalls{0};
    port.OnRxChar = [&](TCustomComPort *, std::int32_t) {
        if (++rxCalls == 1 && !failQuery)
            throw std::runtime_error("handler failed");
    };
    if (failQuery)
        script->Fail("ClearCommError", EINVAL);
    script->PostEvents(EV_RXCHAR | EV_TXEMPTY);
    QTRY_COMPARE(reports.Messages().size(), 1);
    QVERIFY(reports.Messages().first().contains(failQuery ? "Clear" : "handler failed"));
    // The rest of the batch still ran, and the next batch is dispatched.
    QTRY_COMPARE(Handlers(script->Log()).count("OnTxEmpty"), 1);
    script->ClearFailures();
    const int before = rxCalls.load();
    script->PostEvents(EV_RXCHAR);
    QTRY_COMPARE(rxCalls.load(), before + 1);
    port.Close();
    QCOMPARE(reports.Messages().size(), 1);
}

void TstComThread::failingWaitDoesNotSpin()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    script->Fail("WaitCommEvent", EINVAL);
    port.Open();
    RecordEvents(port, *script);
    QTRY_VERIFY(script->failedWaits.load() >= 1);
    const int before = script->waits.load();
    QTest::qWait(500);
    // A few retries, not a loop.
    QVERIFY2(script->waits.load() - before < 20, qPrintable(QString::number(script->waits.load() - before)));
    script->ClearFailures();
    script->PostEvents(EV_TXEMPTY);
    QTRY_COMPARE_WITH_TIMEOUT(Handlers(script->Log()), QStringList{"OnTxEmpty"}, 10000);
    QElapsedTimer t;
    t.start();
    port.Close();
    QVERIFY(t.elapsed() < 5000);
}

void TstComThread::goneDeviceIsWatchedNoMore_data()
{
    QTest::addColumn<int>("sync");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("error");
    QTest::newRow("thread sync, input count, EIO") << int(smThreadSync) << "ClearCommError" << EIO;
    QTest::newRow("thread sync, line state, ENXIO") << int(smThreadSync) << "GetCommModemStatus" << ENXIO;
    QTest::newRow("none, input count, ENODEV") << int(smNone) << "ClearCommError" << ENODEV;
    QTest::newRow("window sync, input count, EIO") << int(smWindowSync) << "ClearCommError" << EIO;
    QTest::newRow("the wait, EIO") << int(smThreadSync) << "WaitCommEvent" << EIO;
}

// The link reports a lost device with its own message; the event thread
// neither reports it nor asks the device again.
void TstComThread::goneDeviceIsWatchedNoMore()
{
    QFETCH(int, sync);
    QFETCH(QString, failing);
    QFETCH(int, error);
    ReportLog reports;
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetSyncMethod(TSyncMethod(sync));
    port.Open();
    RecordEvents(port, *script);
    script->status.cbInQue = 2;
    script->Fail(failing, error);
    script->PostEvents(EV_RXCHAR | EV_CTS);
    if (failing == QLatin1String("WaitCommEvent"))
        QTRY_VERIFY(script->failedWaits.load() >= 1);
    else
        QTRY_VERIFY(script->Log().contains(failing));
    QTest::qWait(200);
    const int waits = script->waits.load();
    script->ClearFailures();
    script->PostEvents(EV_TXEMPTY);
    QTest::qWait(200);
    QCOMPARE(reports.Messages(), QStringList());
    if (sync != smWindowSync) {
        QCOMPARE(script->waits.load(), waits);
        QVERIFY(!Handlers(script->Log()).contains(QStringLiteral("OnTxEmpty")));
    }
    port.Close();
    QCOMPARE(script->devicesAlive, 0);
}

void TstComThread::closeDuringHandOver()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordEvents(port, *script);
    port.Open();
    script->status.cbInQue = 1;
    script->PostEvents(EV_RXCHAR);
    // The batch is taken; the thread is in (or on its way into) the hand-over
    // to this thread, which does not serve it before Close.
    QVERIFY(WaitWithoutEvents([&] {
        std::lock_guard lock(script->mutex);
        return script->eventBatches.empty();
    }));
    script->ClearLog();
    QElapsedTimer t;
    t.start();
    port.Close();
    QVERIFY(t.elapsed() < 10000);
    QVERIFY(!port.Connected());
    // The hand-over ran inside Close, while the device was still open.
    const QStringList log = script->Log();
    QVERIFY(log.indexOf("OnRxChar 1") > log.indexOf("Purge 3"));
    QVERIFY(log.indexOf("OnRxChar 1") < log.indexOf("close"));
    QCOMPARE(script->devicesAlive, 0);
}

void TstComThread::closeRefusedThenDestroyed()
{
    // A close that the device refuses leaves the thread running; the port's
    // end still stops it before the device goes.
    ReportLog reports;
    auto port = std::make_unique<TComPort>();
    auto script = UseFakeDevice(*port);
    port->Open();
    script->Fail("Purge", EIO);
    QCOMPARE(Raised([&] { port->Close(); }).ErrorCode(), 5);
    QVERIFY(port->Connected());
    port.reset();
    QCOMPARE(script->devicesAlive, 0);
    QCOMPARE(script->Log().filter("SetCommMask").last(), QString("SetCommMask 0x0000"));
    QCOMPARE(reports.Messages().size(), 1);
}

void TstComThread::threadStartFailureClosesPort()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    RecordNotifications(port, *script);
    // No descriptor left for the thread's stop event.
    const int lowestFree = open("/dev/null", O_RDONLY | O_CLOEXEC);
    QVERIFY(lowestFree >= 0);
    close(lowestFree);
    rlimit saved;
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(lowestFree);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &tight), 0);
    const EComPort e = Raised([&] { port.Open(); });
    setrlimit(RLIMIT_NOFILE, &saved);
    QCOMPARE(e.ErrorCode(), 1);
    QCOMPARE(e.WinErrorCode(), EMFILE);
    QVERIFY(!port.Connected());
    QCOMPARE(script->devicesAlive, 0);
    QVERIFY(!script->Log().contains("OnAfterOpen"));
    port.Open();
    QVERIFY(port.Connected());
}

void TstComThread::waitForEventRefusedWithThread()
{
    TComPort port;
    auto script = UseFakeDevice(port);
    port.Open();
    script->ClearLog();
    TComEvents events{evRxChar};
    const EComPort e = Raised([&] { port.WaitForEvent(events, nullptr, 0); });
    QCOMPARE(e.ErrorCode(), 20);
    QCOMPARE(e.WinErrorCode(), -1);
    QVERIFY(script->Log().isEmpty());
    port.Close();

    // A port that is not open has no device to wait on.
    TComPort closed;
    closed.SetEvents(TComEvents());
    QCOMPARE(Raised([&] { closed.WaitForEvent(events, nullptr, 0); }).ErrorCode(), 21);
}

void TstComThread::waitForEvent_data()
{
    QTest::addColumn<std::uint32_t>("posted");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("failure");
    QTest::addColumn<std::uint16_t>("result");
    QTest::newRow("events occurred") << (EV_TXEMPTY | EV_RXCHAR) << false << 0
                                     << TComEvents{evRxChar, evTxEmpty}.ToBits();
    QTest::newRow("time-out") << 0u << false << 0 << std::uint16_t(0);
    QTest::newRow("stopped") << 0u << true << 0 << std::uint16_t(0);
    QTest::newRow("wait fails") << 0u << false << EIO << std::uint16_t(0);
}

void TstComThread::waitForEvent()
{
    QFETCH(std::uint32_t, posted);
    QFETCH(bool, stopped);
    QFETCH(int, failure);
    QFETCH(std::uint16_t, result);
    TComPort port;
    auto script = UseFakeDevice(port);
    port.SetEvents(TComEvents());
    port.Open();
    script->ClearLog();
    if (posted != 0)
        script->PostEvents(posted);
    if (failure != 0)
        script->Fail("WaitCommEvent", failure);
    TStopEvent stop;
    if (stopped)
        stop.Set();
    TComEvents events{evRxChar, evTxEmpty, evCTS};
    QElapsedTimer t;
    t.start();
    const EComPort e = Raised([&] { port.WaitForEvent(events, &stop, stopped ? -1 : 50); });
    QCOMPARE(e.ErrorCode(), failure != 0 ? 21 : 0);
    if (failure != 0)
        QCOMPARE(e.WinErrorCode(), failure);
    else
        QCOMPARE(events.ToBits(), result);
    QVERIFY(t.elapsed() < 10000);
    // The mask is set for the wait only, also when it fails.
    QCOMPARE(script->Log(), QStringList({"SetCommMask 0x000d", "SetCommMask 0x0000"}));
    port.Close();
}

QTEST_GUILESS_MAIN(TstComThread)
#include "tst_comthread.moc"
