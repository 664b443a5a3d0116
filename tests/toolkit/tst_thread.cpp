#include "toolkit/GuiQueue.h"
#include "toolkit/Thread.h"
#include "toolkit/widgets/WidgetViews.h"
#include "tests/support/WindowSystemInput.h"
#include "toolkit/ExceptionReport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
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
    using QLabel::QLabel;
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

class CountedBar : public QProgressBar {
public:
    using QProgressBar::QProgressBar;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        ++paints;
        QProgressBar::paintEvent(e);
    }
};

// Runs body on a worker while the GUI thread waits for it.
void OnWorker(const std::function<void()> &body)
{
    LambdaThread t([&body](LambdaThread &) {
        body();
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
    void latestRequestStandsForTheOnesBefore();
    void statusLabelPaintsOnlyWhatChanges();
    void progressBarPaintsEachNewPicture_data();
    void progressBarPaintsEachNewPicture();
    void timersFireDuringWait();
    void inputDuringWaitHasNoEffect();
    void closeRequestReachesTheWindowDuringWait();
    void afterWaitsRunsOnceTheWaitsHaveEnded();
    void priorityStoredAndApplied();
    void idleThreadComesBackToNormal();
    void priorityDoesNotCarryOver();
    void objectsLeftToDeleteGoWithTheThread();
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

void TstThread::latestRequestStandsForTheOnesBefore()
{
    QStringList ran;
    int key = 0;
    // Made while the GUI thread serves nothing, so that they all wait.
    std::thread([&ran, &key] {
        gui::PostLatest(&key, [&ran] { ran << "a"; });
        gui::PostLatest(&key, [&ran] { ran << "b"; });
        gui::Post([&ran] { ran << "x"; });
        gui::PostLatest(&key, [&ran] { ran << "c"; });
        gui::PostLatest(&key, [&ran] { ran << "d"; });
    }).join();
    gui::Drain();
    QCOMPARE(ran, (QStringList{"b", "x", "d"}));
}

void TstThread::statusLabelPaintsOnlyWhatChanges()
{
    QWidget window;
    auto *shown = new PaintLog(&window);
    shown->resize(200, 20);
    auto *hidden = new PaintLog(&window);
    hidden->hide();
    auto *beside = new PaintLog(QStringLiteral("beside"), &window);
    beside->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    shown->painted.clear();
    beside->painted.clear();

    LabelStatus visible(shown), unseen(hidden);
    OnWorker([&] { visible.ShowStatus(QStringLiteral("one"), clBlack); });
    QCOMPARE(shown->painted, QStringList{"one"});

    // The same text in the same colour, and a hidden label, paint nothing.
    OnWorker([&] {
        visible.ShowStatus(QStringLiteral("one"), clBlack);
        unseen.ShowStatus(QStringLiteral("two"), clRed);
    });
    QCoreApplication::processEvents();
    QCOMPARE(shown->painted, QStringList{"one"});
    QVERIFY(hidden->painted.isEmpty());
    QCOMPARE(hidden->text(), QStringLiteral("two"));
    QCOMPARE(hidden->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    OnWorker([&] { visible.ShowStatus(QStringLiteral("one"), clBlue); });
    QCOMPARE(shown->painted, (QStringList{"one", "one"}));
    QCOMPARE(shown->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    // Nothing else of the window was painted for the label.
    QCoreApplication::processEvents();
    QVERIFY(beside->painted.isEmpty());
}

void TstThread::progressBarPaintsEachNewPicture_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("text");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("pictures"); // what the 1000 steps show
    QTest::newRow("a pixel every ten steps") << 100 << false << true << 100;
    QTest::newRow("a percent every ten steps") << 20 << true << true << 100;
    QTest::newRow("hidden") << 100 << true << false << 0;
}

void TstThread::progressBarPaintsEachNewPicture()
{
    QFETCH(int, width);
    QFETCH(bool, text);
    QFETCH(bool, visible);
    QFETCH(int, pictures);
    QWidget window;
    auto *bar = new CountedBar(&window);
    bar->setTextVisible(text);
    bar->setFixedWidth(width);
    bar->setVisible(visible);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ProgressBarView progress(bar);
    progress.SetMax(10000);
    QCoreApplication::processEvents();
    bar->paints = 0;

    for (int step = 1; step <= 1000; ++step) {
        progress.SetPosition(step * 10);
        // Each new picture is on the screen at once.
        if (visible && step % 10 == 0)
            QVERIFY2(bar->paints >= step / 10, qPrintable(QString::number(step)));
    }
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), 10000);
    QVERIFY2(bar->paints >= pictures && bar->paints <= pictures + 2, qPrintable(QString::number(bar->paints)));
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

void TstThread::priorityDoesNotCarryOver()
{
    std::atomic<int> seen{-1};
    {
        LambdaThread low([](LambdaThread &) { return 0; });
        low.SetPriority(TThreadPriority::tpLowest);
        low.Resume();
        low.WaitFor();
    }
    // The next thread may well run where the last one ran.
    LambdaThread next([&seen](LambdaThread &) {
        seen = static_cast<int>(QThread::currentThread()->priority());
        return 0;
    });
    next.Resume();
    next.WaitFor();
    QCOMPARE(seen.load(), static_cast<int>(QThread::NormalPriority));
}

void TstThread::objectsLeftToDeleteGoWithTheThread()
{
    QPointer<QObject> left;
    LambdaThread t([&left](LambdaThread &) {
        left = new QObject;
        left->deleteLater();
        return 0;
    });
    t.Resume();
    t.WaitFor();
    QVERIFY(left.isNull());
}

QTEST_MAIN(TstThread)
#include "tst_thread.moc"
