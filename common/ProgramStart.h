#pragma once
// What both programs' main() sets up before their window.
#include <QApplication>

// An exception out of a handler is reported, and the program goes on.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};
