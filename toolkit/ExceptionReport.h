#pragma once
// The application's exception report: where an exception that escaped a
// handler or a thread ends up, instead of ending the program.
#include <QString>
#include <exception>
#include <functional>

using ExceptionReporter = std::function<void(const QString &message)>;

// The GUI programs install a reporter that shows a message box; the default
// writes to the log.
void SetExceptionReporter(ExceptionReporter reporter);

// The text of an exception (its what(), or a fixed text for unknown ones).
QString DescribeException(std::exception_ptr error);

// Hands the exception's text to the reporter; may be called from any thread.
void ApplicationHandleException(std::exception_ptr error);
