#pragma once
// What the exception report is given while a ReportLog lives, from any thread.
#include "toolkit/ExceptionReport.h"

#include <QStringList>

#include <mutex>

class ReportLog {
public:
    ReportLog()
    {
        SetExceptionReporter([this](const QString &message) {
            std::lock_guard lock(mutex_);
            messages_ << message;
        });
    }
    ~ReportLog() { SetExceptionReporter(nullptr); }
    QStringList Messages()
    {
        std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    std::mutex mutex_;
    QStringList messages_;
};
