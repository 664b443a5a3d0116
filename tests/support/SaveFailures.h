#pragma once
// What a save meets on a real file system, each case in a temporary folder
// of its own: a file-size limit, a folder without write permission, a
// read-only file, links to a file, a FIFO or a device node, a directory in
// the way. Every writer of the programs runs through these rows.
#include "tests/support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace savefailures {

enum Case {
    Replace,
    FileSizeLimit,
    FolderReadOnly,
    FolderReadOnlyNoFile,
    FolderReadOnlySizeLimit,
    FileReadOnly,
    LinkToFile,
    LinkToMissingFile,
    Fifo,
    LinkToFifo,
    LinkToDevice,
    Directory,
};

// A program the process starts meets a file-size limit of `bytes`: its
// writes past that fail (or end it, unless it ignores SIGXFSZ).
inline void LimitFileSize(QProcess &process, rlim_t bytes)
{
    process.setChildProcessModifier([bytes] {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
}

// The save under test: writes the writer's file into the folder; 0 written.
using Save = std::function<int(const QString &folder)>;

inline void AddColumns()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("which");
}

// One row per case, named after the writer.
inline void AddRows(const char *writerName, int writer)
{
    static constexpr std::pair<Case, const char *> cases[] = {
        {Replace, "replaces a file"},
        {FileSizeLimit, "file-size limit"},
        {FolderReadOnly, "folder without write permission"},
        {FolderReadOnlyNoFile, "folder without write permission, no file"},
        {FolderReadOnlySizeLimit, "folder without write permission, file-size limit"},
        {FileReadOnly, "read-only file"},
        {LinkToFile, "link to a file"},
        {LinkToMissingFile, "link to a missing file"},
        {Fifo, "FIFO"},
        {LinkToFifo, "link to a FIFO"},
        {LinkToDevice, "link to a device node"},
        {Directory, "directory"},
    };
    for (const auto &[which, name] : cases)
        QTest::addRow("%s: %s", writerName, name) << writer << int(which);
}

namespace detail {

// The file's bytes, or a text no save writes when it cannot be read.
inline QByteArray Contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline bool IsMode(const QString &path, mode_t kind)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// Writes past `bytes` fail with EFBIG while this lives, as they would on a
// full disk; the signal such a write raises is ignored meanwhile.
class SizeLimit {
public:
    explicit SizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

// Gives the folder its write permission back, so that it can be removed.
struct WritableAgain {
    QString folder;
    ~WritableAgain() { ::chmod(QFile::encodeName(folder).constData(), 0700); }
};

} // namespace detail

// Runs one case: `fileName` is the file the save writes into the folder,
// `content` what a successful save writes there.
inline void Run(Case which, const Save &save, const QString &fileName, const QByteArray &content)
{
    using namespace detail;
    const bool root = ::geteuid() == 0;
    if (root && (which == FolderReadOnly || which == FolderReadOnlyNoFile || which == FolderReadOnlySizeLimit ||
                 which == FileReadOnly))
        QSKIP("permissions do not bind root; the unprivileged run covers this case");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path();
    const QString target = dir.filePath(fileName);
    // Longer than any new content, so that a file written in place must be cut.
    const QByteArray old = QByteArray("the old file ").repeated(int(content.size() / 13 + 2));
    const WritableAgain restore{folder};

    switch (which) {
    case Replace:
    case FileSizeLimit:
        QVERIFY(WriteFile(target, old));
        break;
    case FolderReadOnly:
    case FolderReadOnlySizeLimit:
        QVERIFY(WriteFile(target, old));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        break;
    case FolderReadOnlyNoFile:
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        break;
    case FileReadOnly:
        QVERIFY(WriteFile(target, old));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        break;
    case LinkToFile:
        QVERIFY(WriteFile(dir.filePath("real"), old));
        QVERIFY(QFile::link("real", target));
        break;
    case LinkToMissingFile:
        QVERIFY(QFile::link("real", target));
        break;
    case Fifo:
        QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0666) == 0);
        break;
    case LinkToFifo:
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0666) == 0);
        QVERIFY(QFile::link("fifo", target));
        break;
    case LinkToDevice:
        // Root gets a null device of its own here, so that nothing of the
        // machine's is at stake; others point at the machine's.
        if (root) {
            if (::mknod(QFile::encodeName(dir.filePath("null")).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("no device node can be made here");
            QVERIFY(QFile::link("null", target));
        } else {
            QVERIFY(QFile::link("/dev/null", target));
        }
        break;
    case Directory:
        QVERIFY(QDir(folder).mkdir(fileName));
        break;
    }
    const QStringList before = Entries(folder);

    int result = -1;
    if (which == FileSizeLimit || which == FolderReadOnlySizeLimit) {
        const SizeLimit limit(rlim_t(content.size() / 2));
        result = save(folder);
    } else {
        result = save(folder);
    }

    switch (which) {
    case Replace:
    case FolderReadOnly:
        QCOMPARE(result, 0);
        QCOMPARE(Contents(target), content);
        break;
    case FileSizeLimit:
    case FileReadOnly:
        QCOMPARE(result, 1);
        QCOMPARE(Contents(target), old);
        break;
    case FolderReadOnlyNoFile:
        QCOMPARE(result, 1);
        QVERIFY(!QFileInfo::exists(target));
        break;
    case FolderReadOnlySizeLimit:
        QCOMPARE(result, 1); // written in place: what stands is not whole, and is not called so
        break;
    case LinkToFile:
    case LinkToMissingFile:
        QCOMPARE(result, 0);
        QVERIFY(QFileInfo(target).isSymLink());
        QCOMPARE(Contents(dir.filePath("real")), content);
        break;
    case Fifo:
        QCOMPARE(result, 1);
        QVERIFY(IsMode(target, S_IFIFO));
        break;
    case LinkToFifo:
        QCOMPARE(result, 1);
        QVERIFY(QFileInfo(target).isSymLink());
        QVERIFY(IsMode(target, S_IFIFO));
        break;
    case LinkToDevice:
        QCOMPARE(result, 1);
        QVERIFY(QFileInfo(target).isSymLink());
        QVERIFY(IsMode(target, S_IFCHR));
        break;
    case Directory:
        QCOMPARE(result, 1);
        QVERIFY(IsMode(target, S_IFDIR));
        QVERIFY(Entries(target).isEmpty());
        break;
    }
    // Nothing left behind beside the file.
    QStringList after = before;
    if (which == LinkToMissingFile) {
        after << QStringLiteral("real");
        after.sort();
    }
    QCOMPARE(Entries(folder), after);
}

} // namespace savefailures
