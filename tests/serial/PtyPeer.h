#pragma once
// The far end of a port in tests: the master of a pseudo-terminal pair, whose
// slave a port table file names as a COM port.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

class PtyPeer {
public:
    PtyPeer()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            slavePath_ = QString::fromLocal8Bit(ptsname(master_));
        // Keeps the pair alive while the port is closed.
        if (!slavePath_.isEmpty())
            heldSlave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~PtyPeer()
    {
        CloseMaster();
        if (heldSlave_ >= 0)
            ::close(heldSlave_);
    }
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    bool IsValid() const { return master_ >= 0 && heldSlave_ >= 0; }
    int Master() const { return master_; }
    QString SlavePath() const { return slavePath_; }

    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    bool Send(const QByteArray &bytes) const
    {
        return ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }

    // Reads until count bytes came or timeoutMs passed.
    QByteArray Receive(int count, int timeoutMs = 10000) const
    {
        QByteArray got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                break;
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, std::min<size_t>(sizeof buffer, size_t(count - got.size())));
            if (n <= 0)
                break;
            got.append(buffer, n);
        }
        return got;
    }

private:
    int master_ = -1;
    int heldSlave_ = -1;
    QString slavePath_;
};

// A port table file naming each given COM port's device; QRV_SERIALCOMM points at it.
class PortTableFile {
public:
    explicit PortTableFile(const QString &lines)
    {
        path_ = dir_.filePath(QStringLiteral("serialcomm"));
        QFile f(path_);
        if (f.open(QIODevice::WriteOnly))
            f.write(lines.toUtf8());
        qputenv("QRV_SERIALCOMM", path_.toLocal8Bit());
    }
    ~PortTableFile() { qunsetenv("QRV_SERIALCOMM"); }
    QString Path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};
