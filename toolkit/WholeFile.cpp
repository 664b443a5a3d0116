#include "toolkit/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system itself follows.
constexpr int MaxLinkDepth = 40;
constexpr int TemporaryNameTries = 32;
constexpr qint64 ReadChunk = 64 * 1024;

// Closes on every path out; close() itself is checked where it matters.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // After a successful fsync EINTR still means closed: Linux frees the
    // descriptor whatever close() returns.
    bool Close()
    {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int fd_;
};

QString ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file the path names once every symbolic link has been followed; it
// need not exist. Empty for a loop of links.
QByteArray FinalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == MaxLinkDepth)
            return {};
        info.setFile(info.symLinkTarget());
    }
    return QFile::encodeName(info.filePath());
}

bool WriteParts(int fd, std::initializer_list<QByteArrayView> parts)
{
    for (QByteArrayView part : parts) {
        const char *p = part.data();
        qsizetype left = part.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            left -= n;
        }
    }
    return true;
}

// A file system that cannot sync is taken at its word.
bool Sync(int fd)
{
    return ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
}

qint64 TotalSize(std::initializer_list<QByteArrayView> parts)
{
    qint64 total = 0;
    for (QByteArrayView part : parts)
        total += part.size();
    return total;
}

// A new file beside the target, made with a name of its own. Its mode is
// what a new file gets, or private until the old file's mode is copied.
int CreateBeside(const QByteArray &target, bool replacing, QByteArray &name)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < TemporaryNameTries; ++attempt) {
        name = target + '.';
        for (int i = 0; i < 6; ++i)
            name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Where no new file can be made, the existing one is overwritten from its
// start and then cut to the new size: bytes are only ever replaced, so a
// file system that had room for the old content is not asked for more.
bool WriteInPlace(const QByteArray &target, std::initializer_list<QByteArrayView> parts)
{
    Descriptor file(::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat st {};
    if (!file.valid() || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return WriteParts(file.get(), parts) && ::ftruncate(file.get(), off_t(TotalSize(parts))) == 0 &&
           Sync(file.get()) && file.Close();
}

} // namespace

FileResult SaveWholeFile(const QString &path, std::initializer_list<QByteArrayView> parts)
{
    const QByteArray target = FinalTarget(path);
    if (target.isEmpty())
        return frIoError;
    struct stat st {};
    const bool exists = ::lstat(target.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return frIoError;
    if (exists && (!S_ISREG(st.st_mode) || ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0))
        return frIoError;

    QByteArray temporary;
    Descriptor file(CreateBeside(target, exists, temporary));
    if (!file.valid())
        return exists && (errno == EACCES || errno == EPERM) && WriteInPlace(target, parts) ? frOk : frIoError;
    bool whole = WriteParts(file.get(), parts);
    if (whole && exists)
        ::fchmod(file.get(), st.st_mode & 07777); // as the old file; a file system without modes keeps its own
    whole = whole && Sync(file.get());
    whole = file.Close() && whole;
    if (!whole || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return frIoError;
    }
    return frOk;
}

FileResult ReadExactly(QIODevice &device, void *to, qint64 n, FileResult whenShort)
{
    char *p = static_cast<char *>(to);
    while (n > 0) {
        const qint64 got = device.read(p, n);
        if (got < 0)
            return frIoError;
        if (got == 0)
            return whenShort;
        p += got;
        n -= got;
    }
    return frOk;
}

OptionalFile ReadOptionalFile(const QString &path, qint64 maxSize)
{
    OptionalFile result;
    const auto unreadable = [&result](const QString &why) {
        result.status = OptionalFile::Unreadable;
        result.error = why;
        result.bytes.clear();
        return result;
    };
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return result;
        return unreadable(ErrorText(errno));
    }
    if (S_ISDIR(st.st_mode))
        return result;
    if (!S_ISREG(st.st_mode))
        return unreadable(QStringLiteral("not a regular file"));
    if (st.st_size > maxSize)
        return unreadable(ErrorText(EFBIG));

    // Non-blocking, so that a FIFO put in its place meanwhile cannot hold the open.
    Descriptor file(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid())
        return unreadable(ErrorText(errno));
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return unreadable(QStringLiteral("not a regular file"));
    // The size a file reports is not trusted (files of /proc report 0).
    qint64 got = 0;
    for (;;) {
        result.bytes.resize(std::min(got + ReadChunk, maxSize + 1));
        if (got == result.bytes.size())
            return unreadable(ErrorText(EFBIG));
        const ssize_t n = ::read(file.get(), result.bytes.data() + got, size_t(result.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return unreadable(ErrorText(errno));
        if (n == 0)
            break;
        got += n;
    }
    result.bytes.truncate(got);
    result.status = OptionalFile::Read;
    return result;
}
