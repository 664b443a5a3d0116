#include "toolkit/widgets/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

QString SingleInstance::LockFilePath(const QString &windowTitle)
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty())
        directory = QDir::tempPath();
    QString name = windowTitle;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(directory).filePath(name + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString &windowTitle)
    : lock_(std::make_unique<QLockFile>(LockFilePath(windowTitle)))
{
    // Age alone never makes the lock of a running copy stale; a lock whose
    // process is gone is taken over.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0))
        first_ = lock_->error() != QLockFile::LockFailedError;
}

SingleInstance::~SingleInstance() = default;
