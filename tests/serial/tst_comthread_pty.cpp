// The event thread on a real device: a pseudo-terminal pair whose slave the
// port table names COM6. What the device reports, what an idle port with
// unread bytes costs, the purge at the thread's end, a worker that opens and
// closes the port while the GUI thread waits for it, and WaitForEvent.
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"
#include "tests/serial/PtyPeer.h"
#include "tests/serial/Repeater.h"
#include "toolkit/Thread.h"
#include "serial/posix/StopEvent.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <thread>

namespace {

double ProcessCpuMs()
{
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return (double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Sends back whatever the port writes, until destroyed.
class EchoPeer {
public:
    explicit EchoPeer(int master)
        : thread_([this, master] {
              char buffer[256];
              while (!stop_.load()) {
                  pollfd p{master, POLLIN, 0};
                  if (poll(&p, 1, 50) <= 0)
                      continue;
                  const ssize_t n = read(master, buffer, sizeof buffer);
                  if (n <= 0 || write(master, buffer, size_t(n)) != n)
                      return;
              }
          })
    {
    }
    ~EchoPeer()
    {
        stop_.store(true);
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Opens the port, writes a request, reads the echo and closes, rounds times;
// the controller link's workers use the port this way.
class EchoWorker : public TThread {
public:
    EchoWorker(TCustomComPort &port, int rounds) : port_(port), rounds_(rounds) {}
    ~EchoWorker() override { WaitFor(); }
    QList<double> roundMs;
    std::function<bool(int round)> beforeClose; // false counts as a failure

protected:
    void Execute() override
    {
        int failures = 0;
        QElapsedTimer t;
        for (int i = 0; i < rounds_; ++i) {
            t.start();
            try {
                port_.Open();
                char reply[4] = {};
                if (port_.Write("ping", 4) != 4 || port_.Read(reply, 4) != 4 || QByteArray(reply, 4) != "ping")
                    ++failures;
                if (beforeClose && !beforeClose(i))
                    ++failures;
                port_.Close();
            } catch (...) {
                ++failures;
            }
            roundMs << double(t.nsecsElapsed()) / 1e6;
        }
        SetReturnValue(failures);
    }

private:
    TCustomComPort &port_;
    int rounds_;
};

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

class TstComThreadPty : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rxCharAndTxEmpty();
    void eventCharSeenWhenRead();
    void bytesAWaitingReadLeavesAreAnnounced();
    void rx80Full();
    void unreadBytesCostNothing_data();
    void unreadBytesCostNothing();
    void exitPurgesQueues();
    void hangUpIsNotReported();
    void workerOpensReadsCloses();
    void waitForEvent();

private:
    void Note(const QString &what)
    {
        std::lock_guard lock(mutex_);
        calls_ << what;
    }
    QStringList Calls()
    {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void RecordCalls();

    std::unique_ptr<PtyPeer> peer_;
    std::unique_ptr<PortTableFile> table_;
    std::unique_ptr<TComPort> port_;
    std::mutex mutex_;
    QStringList calls_;
};

void TstComThreadPty::init()
{
    peer_ = std::make_unique<PtyPeer>();
    QVERIFY(peer_->IsValid());
    table_ = std::make_unique<PortTableFile>(QStringLiteral("COM6 %1\n").arg(peer_->SlavePath()));
    port_ = std::make_unique<TComPort>();
    port_->SetPort("COM6");
    calls_.clear();
}

void TstComThreadPty::cleanup()
{
    port_.reset();
    table_.reset();
    peer_.reset();
}

void TstComThreadPty::RecordCalls()
{
    auto plain = [this](const char *name) { return [this, name](TCustomComPort *) { Note(QLatin1String(name)); }; };
    port_->OnRxChar = [this](TCustomComPort *, std::int32_t count) { Note(QStringLiteral("OnRxChar %1").arg(count)); };
    port_->OnTxEmpty = plain("OnTxEmpty");
    port_->OnRxFlag = plain("OnRxFlag");
    port_->OnRx80Full = plain("OnRx80Full");
    port_->OnError = [this](TCustomComPort *, TComErrors) { Note(QStringLiteral("OnError")); };
}

void TstComThreadPty::rxCharAndTxEmpty()
{
    RecordCalls();
    port_->Open();
    QVERIFY(peer_->Send("abc"));
    QTRY_VERIFY(Calls().contains("OnRxChar 3"));
    QCOMPARE(port_->WriteStr("ping"), 4);
    QCOMPARE(peer_->Receive(4), QByteArray("ping"));
    QTRY_VERIFY(Calls().contains("OnTxEmpty"));
    // A pseudo-terminal has no line errors, breaks or modem lines to tell.
    QCOMPARE(Calls().filter(QRegularExpression("OnError|OnBreak|OnRing|Change")), QStringList());
}

void TstComThreadPty::eventCharSeenWhenRead()
{
    port_->SetEventChar('X');
    RecordCalls();
    port_->Open();
    QVERIFY(peer_->Send("abc"));
    QTRY_VERIFY(Calls().contains("OnRxChar 3"));
    QByteArray got;
    port_->ReadStr(got, 3);
    QVERIFY(peer_->Send("abXc"));
    // A batch runs whole on the GUI thread: a flag from reading "abc" would
    // have come with or before this one.
    QTRY_VERIFY(Calls().contains("OnRxChar 4"));
    QVERIFY(!Calls().contains("OnRxFlag"));
    port_->ReadStr(got, 4);
    QCOMPARE(got, QByteArray("abXc"));
    QTRY_COMPARE(Calls().count("OnRxFlag"), 1);
}

void TstComThreadPty::bytesAWaitingReadLeavesAreAnnounced()
{
    port_->SetEventChar('X');
    port_->Timeouts()->SetReadInterval(0);
    port_->Timeouts()->SetReadTotalC(10000);
    RecordCalls();
    port_->Open();
    QByteArray got(3, '\0');
    std::atomic<int> n{-1};
    std::thread reader([&] { n = port_->Read(got.data(), 3); });
    // The bytes come while the read waits for them.
    QTest::qWait(100);
    QVERIFY(peer_->Send("aXcde"));
    reader.join();
    QCOMPARE(n.load(), 3);
    QCOMPARE(got, QByteArray("aXc"));
    QTRY_COMPARE(Calls().filter("OnRxChar").value(0), QStringLiteral("OnRxChar 2"));
    QTRY_COMPARE(Calls().count("OnRxFlag"), 1);
    QCOMPARE(port_->InputCount(), 2);
}

void TstComThreadPty::rx80Full()
{
    // The input queue is 1024 bytes: 80 % is 819.
    RecordCalls();
    port_->Open();
    QVERIFY(peer_->Send(QByteArray(500, 'a')));
    QTRY_VERIFY(Calls().contains("OnRxChar 500"));
    QVERIFY(!Calls().contains("OnRx80Full"));
    QVERIFY(peer_->Send(QByteArray(400, 'b')));
    QTRY_COMPARE(Calls().count("OnRx80Full"), 1);
    QCOMPARE(port_->InputCount(), 900);
}

void TstComThreadPty::unreadBytesCostNothing_data()
{
    QTest::addColumn<bool>("handler");
    QTest::newRow("no handler") << false;
    QTest::newRow("handler that does not read") << true;
}

void TstComThreadPty::unreadBytesCostNothing()
{
    QFETCH(bool, handler);
    if (handler)
        RecordCalls();
    port_->Open();
    QVERIFY(peer_->Send("hello"));
    QTRY_COMPARE(port_->InputCount(), 5);
    if (handler)
        QTRY_COMPARE(Calls(), QStringList{"OnRxChar 5"});

    // The bytes stay queued; announced once, they cost the thread nothing
    // more. The GUI thread idles in its event loop, as in the programs, so it
    // would serve every hand-over at once.
    const double cpuBefore = ProcessCpuMs();
    QEventLoop idle;
    QTimer::singleShot(1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpuMs = ProcessCpuMs() - cpuBefore;
    qInfo("process CPU over 1 s with 5 unread bytes: %.1f ms", cpuMs);
    QVERIFY2(cpuMs < 100, qPrintable(QString::number(cpuMs)));
    if (handler)
        QCOMPARE(Calls(), QStringList{"OnRxChar 5"});
    QByteArray got;
    port_->ReadStr(got, 16);
    QCOMPARE(got, QByteArray("hello"));

    // New bytes are announced again.
    QVERIFY(peer_->Send("!"));
    QTRY_COMPARE(port_->InputCount(), 1);
    if (handler)
        QTRY_COMPARE(Calls(), QStringList({"OnRxChar 5", "OnRxChar 1"}));
}

// The other side goes, as an adapter pulled out: the device is watched no
// more, nothing is reported, and the port still closes.
void TstComThreadPty::hangUpIsNotReported()
{
    QStringList reports;
    SetExceptionReporter([&reports](const QString &message) { reports << message; });
    RecordCalls();
    port_->Open();
    peer_->CloseMaster();
    QTest::qWait(300);
    QCOMPARE(reports, QStringList());
    QCOMPARE(Calls(), QStringList());
    try {
        port_->Close();
    } catch (const EComPort &) {
    }
    QVERIFY(!port_->Connected());
    SetExceptionReporter(nullptr);
    QCOMPARE(reports, QStringList());
}

void TstComThreadPty::exitPurgesQueues()
{
    port_->Open();
    QVERIFY(peer_->Send("left behind"));
    QTRY_COMPARE(port_->InputCount(), 11);
    port_->Close();
    port_->SetEvents(TComEvents());
    port_->Open();
    QCOMPARE(port_->InputCount(), 0);
}

void TstComThreadPty::workerOpensReadsCloses()
{
    // Both programs open with all ten events and smThreadSync; the GUI thread
    // waits in WaitFor while the worker opens, talks and closes, and serves
    // the event thread's hand-overs meanwhile.
    EchoPeer echo(peer_->Master());
    port_->Timeouts()->SetReadInterval(0);
    port_->Timeouts()->SetReadTotalC(5000);
    RecordCalls();
    constexpr int Rounds = 30;
    double medians[2] = {};
    for (int withEvents = 0; withEvents < 2; ++withEvents) {
        port_->SetEvents(withEvents != 0 ? TComEvents::All() : TComEvents());
        EchoWorker worker(*port_, Rounds);
        QElapsedTimer t;
        t.start();
        worker.Resume();
        QCOMPARE(worker.WaitFor(), 0);
        QVERIFY(t.elapsed() < 60000);
        medians[withEvents] = Median(worker.roundMs);
    }
    const double without = medians[0], with = medians[1];
    qInfo("open, write 4, read 4, close: median %.2f ms without events, %.2f ms with the event thread", without, with);
    QVERIFY(!port_->Connected());
    // The event thread adds a thread's start and end, not a wait.
    QVERIFY2(with < without + 20, qPrintable(QString("%1 / %2").arg(with).arg(without)));

    // Each round's hand-over is served by the waiting GUI thread before the
    // worker closes.
    std::atomic<int> txEmpty{0};
    port_->OnTxEmpty = [&txEmpty](TCustomComPort *) { ++txEmpty; };
    EchoWorker worker(*port_, 3);
    worker.beforeClose = [&txEmpty](int round) {
        QDeadlineTimer deadline(10000);
        while (txEmpty.load() <= round && !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return txEmpty.load() > round;
    };
    worker.Resume();
    QCOMPARE(worker.WaitFor(), 0);
}

void TstComThreadPty::waitForEvent()
{
    port_->SetEvents(TComEvents());
    port_->Open();

    TComEvents events{evRxChar};
    QElapsedTimer t;
    t.start();
    port_->WaitForEvent(events, nullptr, 100);
    QVERIFY(t.elapsed() >= 90);
    QVERIFY(events.Empty());

    TStopEvent stop;
    events = TComEvents{evRxChar};
    std::thread setter([&stop] { stop.Set(); });
    port_->WaitForEvent(events, &stop, -1);
    setter.join();
    QVERIFY(events.Empty());

    events = TComEvents{evRxChar, evCTS};
    {
        Repeater send([this] { peer_->Send("z"); });
        port_->WaitForEvent(events, nullptr, 10000);
    }
    QVERIFY(events == TComEvents{evRxChar});

    events = TComEvents{evTxEmpty};
    {
        Repeater write([this] { port_->WriteStr("w"); });
        port_->WaitForEvent(events, nullptr, 10000);
    }
    QVERIFY(events == TComEvents{evTxEmpty});
}

QTEST_GUILESS_MAIN(TstComThreadPty)
#include "tst_comthread_pty.moc"
