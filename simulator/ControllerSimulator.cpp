#include "simulator/ControllerSimulator.h"

#include "simulator/ScopedPortTable.h"
#include "simulator/SimProtocol.h"
#include "simulator/SimPty.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <poll.h>
#include <unistd.h>

namespace qrvsim {

namespace {

using namespace std::chrono;

constexpr quint8 BinaryReplyByte = 0x06;
constexpr int MaxBinaryReplyBytes = 64;
// A reply nobody reads stops being written after this long.
constexpr int StalledWriteMs = 2000;

constexpr quint8 PasswordCommand = 0x11;
constexpr quint8 ClockCommand = 0x0D;
constexpr int PasswordTextMax = 8;

QByteArray Fitted(const QByteArray &bytes, int size)
{
    QByteArray out = bytes.left(size);
    out.append(size - out.size(), '\0');
    return out;
}

QByteArray DefaultStateBlock()
{
    QByteArray s(StateBlockSize, '\0');
    const quint8 clock[6] = {24, 1, 1, 12, 0, 0};
    std::memcpy(s.data(), clock, sizeof clock);
    s[22] = char(123); // 12.3 V
    s[24] = char(100); // battery full
    s[25] = char(20);  // signal quality
    s[27] = char(0x03);
    s[30] = char(8);   // registered in the home network
    s[31] = char(25);
    const float balance = 100.5f;
    std::memcpy(s.data() + 32, &balance, sizeof balance);
    return s;
}

bool HasStatus(RequestKind kind) { return kind == RequestKind::AreaWrite || kind == RequestKind::CommandSend; }

// The password as the controller compares it: the text before the first zero.
QByteArray PasswordText(const QByteArray &bytes)
{
    const int end = bytes.indexOf('\0');
    return bytes.left(std::min(end < 0 ? int(bytes.size()) : end, PasswordTextMax));
}

} // namespace

QByteArray SimIdentity::toBytes() const
{
    QByteArray out(Size, '\0');
    auto text = [&](int offset, int size, const QByteArray &value) {
        std::memcpy(out.data() + offset, value.constData(), size_t(std::min(int(value.size()), size)));
    };
    auto word = [&](int offset, quint16 v) { PutU16(reinterpret_cast<quint8 *>(out.data() + offset), v); };
    auto words = [&](int offset, const std::array<quint32, 4> &v) {
        for (int i = 0; i < 4; ++i)
            PutU32(reinterpret_cast<quint8 *>(out.data() + offset + 4 * i), v[size_t(i)]);
    };
    text(0, 9, deviceName);
    text(9, 9, modification);
    word(18, hardwareVersion);
    word(20, firmwareVersion);
    word(22, bootLoaderVersion);
    text(24, 12, date);
    text(36, 4, countryCode);
    words(40, boundIdentifier);
    text(56, 16, imei);
    words(72, uniqueIdentifier);
    return out;
}

QString Describe(const FrameRecord &r)
{
    QString s = QStringLiteral("%1ms ").arg(r.atMs);
    if (r.kind == FrameRecord::Kind::BinaryMode) {
        s += QStringLiteral("BINARY");
    } else {
        s += QStringLiteral("cmd %1").arg(r.command, 2, 16, QLatin1Char('0'));
        if (r.isArea)
            s += QStringLiteral(" addr %1 count %2").arg(r.address, 0, 16).arg(r.count);
        s += QStringLiteral(" L=%1").arg(r.payload.size());
        if (!r.isArea && !r.payload.isEmpty())
            s += QStringLiteral(" [%1]").arg(QString::fromLatin1(r.payload.left(16).toHex(' ')));
        if (!r.checksumOk)
            s += QStringLiteral(" bad checksum");
    }
    s += r.answered ? QStringLiteral(" -> %1 bytes").arg(r.replySize) : QStringLiteral(" -> no reply");
    if (r.status >= 0)
        s += QStringLiteral(" status %1").arg(r.status);
    if (!r.note.isEmpty())
        s += QStringLiteral(" (%1)").arg(r.note);
    return s;
}

struct ControllerSimulator::Decision {
    bool drop = false;
    bool unplug = false;
    int status = -1;
    int keep = -1;
    bool badChecksum = false;
    int echoOffset = -1;
    qint64 flipAddress = -1;
    QStringList notes;
};

ControllerSimulator::ControllerSimulator(const QString &comName, const QString &tableFile)
    : comName_(comName), tableFile_(tableFile), pty_(std::make_unique<SimPty>()), wake_(std::make_unique<WakePipe>()),
      born_(steady_clock::now()), identity_(SimIdentity().toBytes()), state_(DefaultStateBlock()),
      touchKey_(TouchKeyBlockSize, '\0')
{
    devicePath_ = pty_->devicePath();
    tableDevice_ = devicePath_;
    for (const AreaInfo &a : HeldAreas())
        areas_.emplace_back(a.number, QByteArray(a.size, char(0xFF)));
    if (!comName_.isEmpty() && !tableFile_.isEmpty()) {
        QString error;
        if (!setPortTableEntry(tableFile_, comName_, devicePath_, &replacedLines_, &error))
            throw std::runtime_error(error.toStdString());
    }
    start();
}

ControllerSimulator::~ControllerSimulator()
{
    stop();
    if (!comName_.isEmpty() && !tableFile_.isEmpty())
        removePortTableEntry(tableFile_, comName_, tableDevice_, replacedLines_);
}

void ControllerSimulator::start()
{
    if (thread_.joinable())
        return;
    stopRequested_ = false;
    thread_ = std::thread([this] { serve(); });
}

void ControllerSimulator::stop()
{
    if (!thread_.joinable())
        return;
    stopRequested_ = true;
    wake_->wake();
    thread_.join();
}

bool ControllerSimulator::isRunning() const { return thread_.joinable(); }

void ControllerSimulator::setBinaryReplyBytes(int count)
{
    std::lock_guard lock(mutex_);
    binaryReplyBytes_ = std::clamp(count, 0, MaxBinaryReplyBytes);
}

void ControllerSimulator::setBaudRate(int baud)
{
    std::lock_guard lock(mutex_);
    baud_ = std::max(baud, 0);
}

void ControllerSimulator::setIdentity(const SimIdentity &identity) { setIdentityBytes(identity.toBytes()); }

void ControllerSimulator::setIdentityBytes(const QByteArray &bytes)
{
    std::lock_guard lock(mutex_);
    identity_ = Fitted(bytes, SimIdentity::Size);
}

QByteArray ControllerSimulator::identityBytes() const
{
    std::lock_guard lock(mutex_);
    return identity_;
}

void ControllerSimulator::setStateBlock(const QByteArray &bytes)
{
    std::lock_guard lock(mutex_);
    state_ = Fitted(bytes, StateBlockSize);
}

QByteArray ControllerSimulator::stateBlock() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

void ControllerSimulator::setTouchKeyBlock(const QByteArray &bytes)
{
    std::lock_guard lock(mutex_);
    touchKey_ = Fitted(bytes, TouchKeyBlockSize);
}

QByteArray ControllerSimulator::touchKeyBlock() const
{
    std::lock_guard lock(mutex_);
    return touchKey_;
}

int ControllerSimulator::areaSize(int area)
{
    const AreaInfo *a = FindArea(area);
    return a ? a->size : 0;
}

QByteArray *ControllerSimulator::areaStore(int area)
{
    for (auto &[number, bytes] : areas_)
        if (number == area)
            return &bytes;
    return nullptr;
}

QByteArray ControllerSimulator::area(int area) const
{
    std::lock_guard lock(mutex_);
    for (const auto &[number, bytes] : areas_)
        if (number == area)
            return bytes;
    return {};
}

bool ControllerSimulator::setArea(int area, const QByteArray &bytes, quint32 offset)
{
    std::lock_guard lock(mutex_);
    QByteArray *store = areaStore(area);
    if (!store || quint64(offset) + quint64(bytes.size()) > quint64(store->size()))
        return false;
    std::memcpy(store->data() + offset, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool ControllerSimulator::flipByteInArea(int area, quint32 offset)
{
    std::lock_guard lock(mutex_);
    QByteArray *store = areaStore(area);
    if (!store || offset >= quint32(store->size()))
        return false;
    (*store)[qsizetype(offset)] = char(~quint8((*store)[qsizetype(offset)]));
    return true;
}

void ControllerSimulator::setPassword(const QByteArray &password)
{
    std::lock_guard lock(mutex_);
    password_ = PasswordText(password);
}

void ControllerSimulator::setLocked(bool locked)
{
    std::lock_guard lock(mutex_);
    locked_ = locked;
}

bool ControllerSimulator::isLocked() const
{
    std::lock_guard lock(mutex_);
    return locked_;
}

void ControllerSimulator::setFault(const Fault &fault)
{
    std::lock_guard lock(mutex_);
    faults_.push_back({fault, fault.times, fault.skip});
}

void ControllerSimulator::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void ControllerSimulator::unplug()
{
    if (!thread_.joinable() || std::this_thread::get_id() == thread_.get_id()) {
        closeMaster();
        return;
    }
    std::unique_lock lock(mutex_);
    unplugRequested_ = true;
    wake_->wake();
    changed_.wait(lock, [this] { return unplugged_ || !serving_; });
    const bool done = unplugged_;
    lock.unlock();
    if (!done)
        closeMaster(); // the serving thread has ended: nothing else uses the fds
}

bool ControllerSimulator::isUnplugged() const
{
    std::lock_guard lock(mutex_);
    return unplugged_;
}

void ControllerSimulator::closeMaster()
{
    std::lock_guard lock(mutex_);
    // The COM name stands for a device that is gone, as an adapter's is when
    // it is unplugged: the pseudo-terminal's number is free once the master
    // is closed, and the next one made, in any process, may get it.
    if (!comName_.isEmpty() && !tableFile_.isEmpty() && tableDevice_ == devicePath_) {
        const QString gone = devicePath_ + QStringLiteral(".unplugged");
        if (removePortTableEntry(tableFile_, comName_, devicePath_, {comName_ + QLatin1Char(' ') + gone}))
            tableDevice_ = gone;
    }
    pty_->close();
    unplugged_ = true;
    unplugRequested_ = false;
    changed_.notify_all();
}

QList<FrameRecord> ControllerSimulator::log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

int ControllerSimulator::logSize() const
{
    std::lock_guard lock(mutex_);
    return int(log_.size());
}

QList<quint8> ControllerSimulator::commands() const
{
    std::lock_guard lock(mutex_);
    QList<quint8> out;
    for (const FrameRecord &r : log_)
        if (r.kind == FrameRecord::Kind::Frame)
            out << r.command;
    return out;
}

void ControllerSimulator::clearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool ControllerSimulator::waitForLogSize(int count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, milliseconds(timeoutMs), [&] { return log_.size() >= count; });
}

bool ControllerSimulator::waitUntil(const std::function<bool(const QList<FrameRecord> &)> &done, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, milliseconds(timeoutMs), [&] { return done(log_); });
}

void ControllerSimulator::setObserver(std::function<void(const FrameRecord &)> observer)
{
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

// Called with mutex_ held, from the serving thread and from the accessors.
void ControllerSimulator::absorbWatchEvents() const
{
    int opens = 0, closes = 0;
    pty_->readWatchEvents(opens, closes);
    if (opens == 0 && closes == 0)
        return;
    portOpens_ += opens;
    portCloses_ += closes;
    if (portCloses_ >= portOpens_)
        pty_->clearExclusive();
}

int ControllerSimulator::portOpenCount() const
{
    std::lock_guard lock(mutex_);
    absorbWatchEvents();
    return portOpens_;
}

bool ControllerSimulator::isPortOpen() const
{
    std::lock_guard lock(mutex_);
    absorbWatchEvents();
    return portOpens_ > portCloses_;
}

void ControllerSimulator::record(FrameRecord r)
{
    std::function<void(const FrameRecord &)> observer;
    {
        std::lock_guard lock(mutex_);
        r.atMs = duration_cast<milliseconds>(steady_clock::now() - born_).count();
        log_.append(r);
        observer = observer_;
        changed_.notify_all();
    }
    if (observer)
        observer(r);
}

// ---- serving thread -------------------------------------------------------

void ControllerSimulator::serve()
{
    RequestParser parser;
    {
        std::lock_guard lock(mutex_);
        serving_ = true;
    }
    while (!stopRequested_) {
        if (unplugRequested_)
            closeMaster();
        pollfd fds[3];
        int n = 0;
        fds[n++] = {wake_->fd(), POLLIN, 0};
        const bool attached = pty_->isOpen();
        if (attached) {
            fds[n++] = {pty_->watchFd(), POLLIN, 0};
            fds[n++] = {pty_->masterFd(), POLLIN, 0};
        }
        if (::poll(fds, nfds_t(n), -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            wake_->drain();
        if (stopRequested_ || unplugRequested_ || !attached)
            continue;
        if (fds[1].revents) {
            std::lock_guard lock(mutex_);
            absorbWatchEvents();
        }
        if (fds[2].revents) {
            quint8 buf[4096];
            for (;;) {
                const ssize_t got = ::read(pty_->masterFd(), buf, sizeof buf);
                if (got > 0) {
                    parser.append(buf, int(got), steady_clock::now());
                    continue;
                }
                if (got < 0 && (errno == EAGAIN || errno == EINTR))
                    break;
                // The slave side is gone for good (cannot happen while ours is open).
                closeMaster();
                break;
            }
            for (;;) {
                if (stopRequested_ || unplugRequested_ || !pty_->isOpen())
                    break;
                const RequestParser::Item item = parser.next();
                if (item == RequestParser::Item::None)
                    break;
                if (item == RequestParser::Item::BinaryMode)
                    handleBinary();
                else
                    handleFrame(parser.frame());
            }
        }
    }
    std::lock_guard lock(mutex_);
    serving_ = false;
    changed_.notify_all();
}

void ControllerSimulator::handleBinary()
{
    int count;
    {
        std::lock_guard lock(mutex_);
        count = binaryReplyBytes_;
        lastFrame_.clear();
        repeat_ = 0;
    }
    // The port is open and has set TIOCEXCL by now; clearing it here lets the
    // port's next open succeed even when its close and reopen outrun the watch.
    pty_->clearExclusive();
    FrameRecord r;
    r.kind = FrameRecord::Kind::BinaryMode;
    r.answered = count > 0;
    r.replySize = count;
    record(r);
    quint8 bytes[MaxBinaryReplyBytes];
    std::memset(bytes, BinaryReplyByte, sizeof bytes);
    writeReply(bytes, count);
}

ControllerSimulator::Decision ControllerSimulator::evaluate(const CommandInfo &info, const std::vector<quint8> &frame)
{
    if (frame == lastFrame_) {
        ++repeat_;
    } else {
        lastFrame_ = frame;
        repeat_ = 1;
    }
    const int length = int(frame.size()) - 5;
    const bool areaHeader = (info.kind == RequestKind::AreaWrite || info.kind == RequestKind::AreaRead) && length >= AreaHeaderSize;
    const quint32 address = areaHeader ? GetU32(&frame[4]) : 0;
    const quint16 count = areaHeader ? GetU16(&frame[8]) : 0;
    int replySize = 6;
    switch (info.kind) {
    case RequestKind::AreaWrite: replySize = 13; break;
    case RequestKind::AreaRead: replySize = count + 11; break;
    case RequestKind::CommandRead: replySize = 0; break; // sized when built
    case RequestKind::CommandSend: replySize = 6; break;
    }

    Decision d;
    for (auto it = faults_.begin(); it != faults_.end();) {
        const Fault &f = it->fault;
        bool applies = f.command == Fault::AnyCommand || f.command == info.code;
        if (applies && f.kind == Fault::Status)
            applies = HasStatus(info.kind);
        if (applies && f.kind == Fault::FlipReadData)
            applies = info.kind == RequestKind::AreaRead && areaHeader && quint32(f.value) >= address
                && quint64(quint32(f.value)) < quint64(address) + count;
        if (applies && f.kind == Fault::WrongEcho)
            applies = f.value >= 0 && (replySize == 0 || f.value < replySize - 1);
        if (!applies) {
            ++it;
            continue;
        }
        if (it->skip > 0) {
            --it->skip;
            ++it;
            continue;
        }
        switch (f.kind) {
        case Fault::NoReply:
            d.drop = true;
            d.notes << QStringLiteral("fault: no reply");
            break;
        case Fault::ReplyOnlyOnSend:
            if (repeat_ < f.value) {
                d.drop = true;
                d.notes << QStringLiteral("fault: send %1, answering send %2").arg(repeat_).arg(f.value);
                ++it;
                continue; // the round is not over yet
            }
            break;
        case Fault::ShortReply:
            d.keep = std::max(f.value, 0);
            d.notes << QStringLiteral("fault: short reply");
            break;
        case Fault::BadChecksum:
            d.badChecksum = true;
            d.notes << QStringLiteral("fault: bad checksum");
            break;
        case Fault::WrongEcho:
            d.echoOffset = f.value;
            d.notes << QStringLiteral("fault: wrong echo at %1").arg(f.value);
            break;
        case Fault::Status:
            d.status = f.value & 0xFF;
            d.notes << QStringLiteral("fault: status %1").arg(d.status);
            break;
        case Fault::FlipReadData:
            d.flipAddress = quint32(f.value);
            d.notes << QStringLiteral("fault: flipped byte at %1").arg(quint32(f.value), 0, 16);
            break;
        case Fault::Unplug:
            d.unplug = true;
            d.notes << QStringLiteral("fault: unplugged");
            break;
        }
        if (it->remaining > 0 && --it->remaining == 0)
            it = faults_.erase(it);
        else
            ++it;
    }
    return d;
}

bool ControllerSimulator::carry(const CommandInfo &info, const std::vector<quint8> &frame, SimReply &reply, FrameRecord &r)
{
    const quint8 *payload = frame.data() + FrameHeaderSize;
    const int length = int(frame.size()) - 5;
    auto statusReply = [&](quint8 status, const QString &why) {
        reply.status(info.kind, info.code, payload, length, status);
        r.note = why;
        return true;
    };

    switch (info.kind) {
    case RequestKind::AreaWrite: {
        if (length < AreaHeaderSize)
            return statusReply(3, QStringLiteral("malformed"));
        const quint32 address = GetU32(payload);
        const quint16 count = GetU16(payload + 4);
        if (info.protectedWhileLocked && locked_)
            return statusReply(2, QStringLiteral("locked"));
        QByteArray *store = areaStore(info.area);
        if (!store || count > AreaBlockSize || length != count + AreaHeaderSize
            || quint64(address) + count > quint64(store->size()))
            return statusReply(3, QStringLiteral("out of range"));
        std::memcpy(store->data() + address, payload + AreaHeaderSize, count);
        return statusReply(0, QString());
    }
    case RequestKind::AreaRead: {
        if (length < AreaHeaderSize) {
            r.note = QStringLiteral("malformed");
            return false;
        }
        const quint32 address = GetU32(payload);
        const quint16 count = GetU16(payload + 4);
        if (info.protectedWhileLocked && locked_) {
            r.note = QStringLiteral("locked"); // a read reply has no status to refuse with
            return false;
        }
        const QByteArray *store = areaStore(info.area);
        if (!store || count > AreaBlockSize || length != AreaHeaderSize + 2
            || quint64(address) + count > quint64(store->size())) {
            r.note = QStringLiteral("out of range");
            return false;
        }
        reply.begin(info.code, count + AreaHeaderSize);
        std::memcpy(&reply.bytes[4], payload, AreaHeaderSize);
        std::memcpy(&reply.bytes[10], store->constData() + address, count);
        reply.seal();
        return true;
    }
    case RequestKind::CommandRead: {
        const QByteArray *data = info.code == 0x05 ? &identity_ : info.code == 0x0C ? &state_ : &touchKey_;
        reply.begin(info.code, int(data->size()));
        std::memcpy(&reply.bytes[4], data->constData(), size_t(data->size()));
        reply.seal();
        return true;
    }
    case RequestKind::CommandSend: {
        if (info.code == PasswordCommand) {
            const QByteArray given = PasswordText(QByteArray(reinterpret_cast<const char *>(payload), length));
            if (!password_.isEmpty() && given != password_)
                return statusReply(2, QStringLiteral("wrong password"));
            locked_ = false;
            return statusReply(0, QStringLiteral("unlocked"));
        }
        if (info.payloadLength >= 0 && length != info.payloadLength)
            return statusReply(3, QStringLiteral("wrong length"));
        if (info.protectedWhileLocked && locked_)
            return statusReply(2, QStringLiteral("locked"));
        if (info.code == ClockCommand)
            std::memcpy(state_.data(), payload, 6);
        return statusReply(0, QString());
    }
    }
    return false;
}

void ControllerSimulator::handleFrame(const std::vector<quint8> &frame)
{
    FrameRecord r;
    r.command = frame[1];
    const int length = int(frame.size()) - 5;
    r.payload = QByteArray(reinterpret_cast<const char *>(frame.data() + FrameHeaderSize), length);
    r.checksumOk = FrameChecksum(&frame[1], int(frame.size()) - 2) == frame.back();
    const CommandInfo *info = FindCommand(r.command);
    if (info && (info->kind == RequestKind::AreaWrite || info->kind == RequestKind::AreaRead) && length >= AreaHeaderSize) {
        r.isArea = true;
        r.address = GetU32(&frame[4]);
        r.count = GetU16(&frame[8]);
    }
    if (!r.checksumOk || !info) {
        r.note = r.checksumOk ? QStringLiteral("unknown command") : QStringLiteral("ignored");
        record(r);
        return;
    }

    SimReply reply;
    Decision d;
    bool answer = false;
    {
        std::lock_guard lock(mutex_);
        d = evaluate(*info, frame);
        if (d.status >= 0) {
            // Refused: nothing is carried out.
            reply.status(info->kind, info->code, frame.data() + FrameHeaderSize, length, quint8(d.status));
            answer = !d.drop && !d.unplug;
        } else if (!d.drop && !d.unplug) {
            answer = carry(*info, frame, reply, r);
        }
    }
    if (answer) {
        if (d.flipAddress >= 0)
            reply.bytes[size_t(10 + (d.flipAddress - r.address))] ^= 0xFF;
        if (d.echoOffset >= 0 && d.echoOffset < reply.size - 1)
            reply.bytes[size_t(d.echoOffset)] ^= 0xFF;
        reply.seal();
        if (d.badChecksum)
            reply.bytes[size_t(reply.size - 1)] ^= 0xFF;
        if (reply.statusOffset >= 0)
            r.status = reply.bytes[size_t(reply.statusOffset)];
        if (d.keep >= 0)
            reply.size = std::min(reply.size, d.keep > 0 ? d.keep : reply.size - 1);
        r.answered = true;
        r.replySize = reply.size;
    }
    if (!d.notes.isEmpty())
        r.note = (r.note.isEmpty() ? QString() : r.note + QStringLiteral("; ")) + d.notes.join(QStringLiteral("; "));
    record(r);
    if (d.unplug)
        closeMaster();
    else if (answer)
        writeReply(reply.bytes.data(), reply.size);
}

void ControllerSimulator::writeReply(const quint8 *bytes, int count)
{
    if (count <= 0)
        return;
    int baud;
    {
        std::lock_guard lock(mutex_);
        baud = baud_;
    }
    auto writeAll = [&](const quint8 *p, int n) {
        while (n > 0 && pty_->isOpen()) {
            const ssize_t put = ::write(pty_->masterFd(), p, size_t(n));
            if (put > 0) {
                p += put;
                n -= int(put);
                continue;
            }
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0 && errno != EAGAIN)
                return false;
            pollfd fds[2] = {{pty_->masterFd(), POLLOUT, 0}, {wake_->fd(), POLLIN, 0}};
            if (::poll(fds, 2, StalledWriteMs) <= 0 || fds[1].revents)
                return false;
        }
        return n == 0;
    };
    if (baud <= 0) {
        writeAll(bytes, count);
        return;
    }
    // From now on, as the request is in: chunks of about a millisecond on the
    // wire, each due when its last byte would have arrived.
    const int chunk = std::clamp(baud / 10000, 1, 16);
    const auto start = steady_clock::now();
    for (int done = 0; done < count;) {
        const int n = std::min(chunk, count - done);
        const auto due = start + nanoseconds(qint64(done + n) * 10 * 1000000000 / baud);
        while (!wake_->sleepUntil(due)) {
            if (stopRequested_ || unplugRequested_)
                return;
            wake_->drain();
        }
        if (!writeAll(bytes + done, n))
            return;
        done += n;
    }
}

} // namespace qrvsim
