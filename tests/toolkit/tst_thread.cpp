#include "toolkit/GuiQueue.h"
#include "toolkit/Thread.h"
#include "toolkit/widgets/WidgetViews.h"
#include "tests/toolkit/WindowSystemInput.h"
#include "toolkit/ExceptionReport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>
#include <sched.h>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

class LambdaThread : public TThread {
public:
    explicit LambdaThread(std::function<int(LambdaThread &)> body) : body_(std::move(body)) {}
    ~LambdaThread() override { WaitFor(); }
    bool terminatedSeen() const { return Terminated(); }

protected:
    void Execute() override { SetReturnValue(body_(*this)); }

private:
    std::function<int(LambdaThread &)> body_;
};

// Records what the label showed each time it was painted.
class PaintLog : public QLabel {
public:
    QStringList painted;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        painted << text();
        QLabel::paintEvent(e);
    }
};

// A window with a button and a text field that takes the keys; it refuses
// to close and notes whether each request came during a wait.
class InputWindow : public QWidget {
public:
    InputWindow()
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(button);
        layout->addWidget(edit);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
    }
    QPushButton *button = new QPushButton(QStringLiteral("Go"));
    QLineEdit *edit = new QLineEdit;
    int clicks = 0;
    QList<bool> closesDuringWait;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        closesDuringWait << gui::Waiting();
        event->ignore();
    }
};

// A worker that has the GUI thread make the request, then waits until the
// window system has delivered it (or, where a wait would hold it back, a while).
void MakeDuringWait(const std::function<void()> &request)
{
    LambdaThread t([&](LambdaThread &) {
        gui::Call(request);
        const QDeadlineTimer deadline(2000);
        bool queued = true;
        while (queued && !deadline.hasExpired())
            gui::Call([&queued] { queued = wsi::Queued(); });
        return 0;
    });
    t.Resume();
    t.WaitFor();
}

} // namespace

class TstThread : public QObject {
    Q_OBJECT
private slots:
    void waitForGivesReturnValue();
    void neverResumedReturnsAtOnce();
    void deletingRunningThreadWaits();
    void escapingExceptionIsReported();
    void callRunsOnGuiThreadAndRethrows();
    void labelUpdatesShowInOrderWhileGuiWaits();
    void timersFireDuringWait();
    void inputDuringWaitHasNoEffect();
    void closeRequestReachesTheWindowDuringWait();
    void afterWaitsRunsOnceTheWaitsHaveEnded();
    void priorityStoredAndApplied();
    void idleThreadComesBackToNormal();
};

void TstThread::waitForGivesReturnValue()
{
    LambdaThread t([](LambdaThread &) { return 7; });
    QCOMPARE(t.ReturnValue(), 0);
    t.Resume();
    QCOMPARE(t.WaitFor(), 7);
    QVERIFY(t.Finished());
    QCOMPARE(t.WaitFor(), 7);
}

void TstThread::neverResumedReturnsAtOnce()
{
    LambdaThread t([](LambdaThread &) { return 3; });
    QCOMPARE(t.WaitFor(), 0);
    QVERIFY(!t.Started());
}

void TstThread::deletingRunningThreadWaits()
{
    std::atomic<bool> done{false};
    {
        LambdaThread t([&done](LambdaThread &self) {
            while (!self.terminatedSeen())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            done = true;
            return 0;
        });
        t.Resume();
        t.Terminate();
    }
    QVERIFY(done.load());
}

void TstThread::escapingExceptionIsReported()
{
    QString reported;
    SetExceptionReporter([&reported](const QString &m) { reported = m; });
    LambdaThread t([](LambdaThread &) -> int { throw std::runtime_error("boom"); });
    t.Resume();
    t.WaitFor();
    SetExceptionReporter(nullptr);
    QCOMPARE(reported, QStringLiteral("boom"));
    QVERIFY(t.Finished());
}

void TstThread::callRunsOnGuiThreadAndRethrows()
{
    QThread *gui = QThread::currentThread();
    bool onGui = false;
    bool caught = false;
    LambdaThread t([&](LambdaThread &) {
        gui::Call([&] { onGui = QThread::currentThread() == gui; });
        try {
            gui::Call([] { throw std::runtime_error("from gui"); });
        } catch (const std::runtime_error &) {
            caught = true;
        }
        return 0;
    });
    t.Resume();
    t.WaitFor();
    QVERIFY(onGui);
    QVERIFY(caught);
}

void TstThread::labelUpdatesShowInOrderWhileGuiWaits()
{
    QWidget window;
    auto *label = new PaintLog;
    label->setParent(&window);
    label->resize(200, 20);
    auto *bar = new QProgressBar(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    label->painted.clear();

    LabelStatus status(label);
    ProgressBarView progress(bar);
    QStringList seenByWorker;
    LambdaThread t([&](LambdaThread &) {
        for (int i = 0; i < 50; ++i) {
            status.ShowStatus(QString::number(i), i % 2 ? clRed : clBlue);
            progress.SetMax(50);
            progress.SetPosition(i + 1);
        }
        // A read of window state after the writes sees all of them done.
        gui::Call([&] { seenByWorker << label->text() << QString::number(bar->value()); });
        return 0;
    });
    t.Resume();
    t.WaitFor();
    QCOMPARE(seenByWorker, (QStringList{"49", "50"}));
    QStringList expected;
    for (int i = 0; i < 50; ++i)
        expected << QString::number(i);
    // Every text was on screen, in order (a text may be painted more than once).
    QStringList shown;
    for (const QString &p : label->painted)
        if (!p.isEmpty() && (shown.isEmpty() || shown.last() != p))
            shown << p;
    QCOMPARE(shown, expected);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void TstThread::timersFireDuringWait()
{
    int ticks = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    LambdaThread t([](LambdaThread &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        return 0;
    });
    t.Resume();
    t.WaitFor();
    QVERIFY(ticks >= 3);
}

void TstThread::inputDuringWaitHasNoEffect()
{
    InputWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edit->setFocus();

    MakeDuringWait([&] {
        wsi::Click(window.button);
        wsi::Key(&window, Qt::Key_A, QStringLiteral("a"));
        wsi::Key(&window, Qt::Key_Space, QStringLiteral(" "));
    });
    // Nothing of it comes later either.
    QTest::qWait(100);
    QCOMPARE(window.clicks, 0);
    QCOMPARE(window.edit->text(), QString());

    // Outside a wait the same input works.
    wsi::Key(&window, Qt::Key_A, QStringLiteral("a"));
    wsi::Click(window.button);
    QTRY_COMPARE(window.clicks, 1);
    QCOMPARE(window.edit->text(), QStringLiteral("a"));
}

void TstThread::closeRequestReachesTheWindowDuringWait()
{
    InputWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    MakeDuringWait([&] { wsi::Close(&window); });
    QCOMPARE(window.closesDuringWait, QList<bool>{true});
    QTest::qWait(100);
    QCOMPARE(window.closesDuringWait, QList<bool>{true});
    QVERIFY(window.isVisible());
}

// Two waits one after the other, as a handler runs its workers: what was made
// during the first runs after the second, from the event loop.
void TstThread::afterWaitsRunsOnceTheWaitsHaveEnded()
{
    QList<bool> ranDuringWait;
    const auto note = [&ranDuringWait] { ranDuringWait << gui::Waiting(); };
    for (int worker = 0; worker < 2; ++worker) {
        LambdaThread t([&](LambdaThread &) {
            if (worker == 0)
                gui::PostAfterWaits(note);
            return 0;
        });
        t.Resume();
        t.WaitFor();
        QVERIFY(ranDuringWait.isEmpty());
    }
    QTRY_COMPARE(ranDuringWait, QList<bool>{false});
    // Outside a wait at once.
    gui::PostAfterWaits(note);
    QCOMPARE(ranDuringWait, (QList<bool>{false, false}));
}

void TstThread::priorityStoredAndApplied()
{
    std::atomic<int> seen{-1};
    LambdaThread t([&seen](LambdaThread &) {
        seen = static_cast<int>(QThread::currentThread()->priority());
        return 0;
    });
    t.SetPriority(TThreadPriority::tpLower);
    QCOMPARE(t.Priority(), TThreadPriority::tpLower);
    t.Resume();
    t.WaitFor();
    QCOMPARE(seen.load(), static_cast<int>(QThread::LowPriority));
}

void TstThread::idleThreadComesBackToNormal()
{
    std::atomic<int> step{0};
    std::atomic<int> policyAfter{-1};
    LambdaThread t([&](LambdaThread &self) {
        self.SetPriority(TThreadPriority::tpIdle);
        self.SetPriority(TThreadPriority::tpNormal);
        policyAfter = sched_getscheduler(0);
        step = 1;
        return 0;
    });
    t.Resume();
    t.WaitFor();
    QCOMPARE(step.load(), 1);
    QCOMPARE(policyAfter.load(), SCHED_OTHER);
}

QTEST_MAIN(TstThread)
#include "tst_thread.moc"
