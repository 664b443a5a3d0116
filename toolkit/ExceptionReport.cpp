#include "toolkit/ExceptionReport.h"

#include <QtGlobal>
#include <mutex>
#include <stdexcept>

namespace {
std::mutex reporterMutex;
ExceptionReporter currentReporter;
} // namespace

void SetExceptionReporter(ExceptionReporter reporter)
{
    std::lock_guard lock(reporterMutex);
    currentReporter = std::move(reporter);
}

QString DescribeException(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("Unknown exception");
}

void ApplicationHandleException(std::exception_ptr error)
{
    const QString message = DescribeException(error);
    ExceptionReporter reporter;
    {
        std::lock_guard lock(reporterMutex);
        reporter = currentReporter;
    }
    if (reporter)
        reporter(message);
    else
        qWarning("%s", qUtf8Printable(message));
}
