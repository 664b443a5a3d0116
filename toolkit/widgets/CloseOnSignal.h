#pragma once
// SIGTERM, SIGINT and SIGHUP ask a window to close through its normal close
// path, so that it saves what it saves on close. The signal handler only
// writes to a pipe; the window is closed from the event loop.
#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QTimer;
class QWidget;

// One per process; the previous handlers come back when it goes.
class CloseOnSignal : public QObject {
    Q_OBJECT
public:
    // window null: a signal ends the event loop (a program that shows only a box).
    explicit CloseOnSignal(QWidget *window);
    ~CloseOnSignal() override;

    // Holds the three signals back (calling thread, and the threads it starts
    // later) until a CloseOnSignal is made, so that one sent during start-up
    // is not lost and does not end the process unsaved.
    static void HoldSignals();

private:
    void Activated();
    void TryClose();

    QPointer<QWidget> window_;
    const bool quits_;
    QSocketNotifier *notifier_ = nullptr;
    // A close that cannot be carried out yet is tried again until it is.
    QTimer *retry_ = nullptr;
    // On screen when a signal came: once hidden, the window has closed.
    bool shownAtSignal_ = false;
};
