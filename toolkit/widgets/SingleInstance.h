#pragma once
// One running copy of a program per user: a lock file in the user's runtime
// directory, named after the program's window title. The lock goes with the
// process, also when it ends abnormally.
#include <QString>

#include <memory>

class QLockFile;

class SingleInstance {
public:
    explicit SingleInstance(const QString &windowTitle);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another running process holds the lock. A lock that cannot
    // be made at all (no runtime directory) does not keep the program from
    // running.
    bool IsFirst() const { return first_; }

    static QString LockFilePath(const QString &windowTitle);

private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = true;
};
