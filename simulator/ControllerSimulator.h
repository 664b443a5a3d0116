#pragma once
// A QRV controller on the far end of a pseudo-terminal, for tests and for
// trying the programs without hardware. It is written against the wire only:
// it shares no code with the programs' serial or link layers.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qrvsim {

class SimPty;
class WakePipe;
struct CommandInfo;
struct SimReply;

// The 88-byte identification record. Texts are copied into their fields as
// bytes, cut at the field size (a text as long as its field has no terminator).
struct SimIdentity {
    QByteArray deviceName = "QRV240";
    QByteArray modification = "S";
    quint16 hardwareVersion = 0x0100;
    quint16 firmwareVersion = 0x0101;
    quint16 bootLoaderVersion = 0x0100;
    QByteArray date = "15.06.2015";
    QByteArray countryCode = "RU";
    std::array<quint32, 4> boundIdentifier{};
    QByteArray imei = "356938035643809";
    std::array<quint32, 4> uniqueIdentifier{0x00112233, 0x44556677, 0x8899AABB, 0xCCDDEEFF};

    static constexpr int Size = 88;
    QByteArray toBytes() const;
};

constexpr int StateBlockSize = 36;
constexpr int TouchKeyBlockSize = 12;

// One fault, acting on the frames of one request code (or of any).
struct Fault {
    enum Kind {
        NoReply,         // the request is lost: not carried out, no reply
        ShortReply,      // the reply is cut to `value` bytes (0: one byte short)
        ReplyOnlyOnSend, // sends 1 .. value-1 of the same frame are lost; a round counts once
        BadChecksum,     // the reply's check byte is wrong
        WrongEcho,       // reply byte at frame offset `value` altered (default 1, the command), checksum kept right
        Status,          // not carried out; the reply carries status `value` (replies with a status only)
        FlipReadData,    // an area read reply holding area address `value` has that byte inverted
        Unplug,          // the master is closed when the frame arrives
    };
    static constexpr int AnyCommand = -1;
    static constexpr int Always = -1;

    Kind kind = NoReply;
    int command = AnyCommand;
    int times = Always; // frames it acts on; Always until cleared
    int value = 0;
    int skip = 0;       // matching frames let through before it acts

    static Fault noReply(int command = AnyCommand, int times = Always) { return {NoReply, command, times, 0, 0}; }
    static Fault shortReply(int command = AnyCommand, int times = Always, int keep = 0) { return {ShortReply, command, times, keep, 0}; }
    static Fault replyOnlyOnSend(int send, int command = AnyCommand, int times = Always) { return {ReplyOnlyOnSend, command, times, send, 0}; }
    static Fault badChecksum(int command = AnyCommand, int times = Always) { return {BadChecksum, command, times, 0, 0}; }
    static Fault wrongEcho(int command = AnyCommand, int times = Always, int offset = 1) { return {WrongEcho, command, times, offset, 0}; }
    static Fault status(int status, int command = AnyCommand, int times = Always) { return {Status, command, times, status, 0}; }
    static Fault flipReadData(quint32 address, int command = AnyCommand, int times = Always) { return {FlipReadData, command, times, int(address), 0}; }
    static Fault unplug(int command = AnyCommand, int skip = 0) { return {Unplug, command, 1, 0, skip}; }
    Fault after(int frames) const { Fault f = *this; f.skip = frames; return f; }
};

// What the simulator saw: one "BINARY\r" text or one request frame.
struct FrameRecord {
    enum class Kind { BinaryMode, Frame };
    Kind kind = Kind::Frame;
    quint8 command = 0;
    QByteArray payload;        // the request payload as received
    bool checksumOk = true;
    bool isArea = false;       // area request: address and count are set
    quint32 address = 0;
    quint16 count = 0;
    bool answered = false;
    int replySize = 0;         // bytes written back
    int status = -1;           // status byte of the reply, -1 when it has none
    QString note;              // why a frame went unanswered or was refused
    qint64 atMs = 0;           // since the simulator started
};

// One line for logs and failure messages.
QString Describe(const FrameRecord &record);

class ControllerSimulator {
public:
    // Creates the pseudo-terminal, names it in the port table file (when both
    // are given) and starts serving. Throws std::runtime_error on failure.
    explicit ControllerSimulator(const QString &comName = QString(), const QString &tableFile = QString());
    // Stops serving and takes its line out of the port table again.
    ~ControllerSimulator();
    ControllerSimulator(const ControllerSimulator &) = delete;
    ControllerSimulator &operator=(const ControllerSimulator &) = delete;

    QString comName() const { return comName_; }
    QString devicePath() const { return devicePath_; }

    // Serving runs on its own thread; stop() leaves the line attached but dead.
    void start();
    void stop();
    bool isRunning() const;

    // Bytes answered to "BINARY\r" (default 1).
    void setBinaryReplyBytes(int count);
    // Paces the replies at this rate: a reply starts when the whole request
    // is in, each byte due when it would have arrived over the wire. The
    // request's own wire time is what a UART's write spends before it
    // returns; on the pty the write returns at once, so no pace shows it.
    // 0 (default) is unpaced.
    void setBaudRate(int baud);

    void setIdentity(const SimIdentity &identity);
    void setIdentityBytes(const QByteArray &bytes); // padded or cut to 88
    QByteArray identityBytes() const;
    void setStateBlock(const QByteArray &bytes);    // padded or cut to 36
    QByteArray stateBlock() const;
    void setTouchKeyBlock(const QByteArray &bytes); // padded or cut to 12
    QByteArray touchKeyBlock() const;

    // Areas 1, 2, 4 and 5; they start erased (0xFF). areaSize is 0 for others.
    static int areaSize(int area);
    QByteArray area(int area) const;
    // False (and nothing changed) when the bytes do not fit the area.
    bool setArea(int area, const QByteArray &bytes, quint32 offset = 0);
    // Inverts one stored byte; false when out of range.
    bool flipByteInArea(int area, quint32 offset);

    // Up to 8 characters; empty means none, and then any password unlocks.
    void setPassword(const QByteArray &password);
    void setLocked(bool locked);
    bool isLocked() const;

    void setFault(const Fault &fault);
    void clearFaults();
    // Closes the master at once: the port's pending reads and writes fail, and
    // the port table names a device that does not exist in its place.
    void unplug();
    bool isUnplugged() const;

    QList<FrameRecord> log() const;
    int logSize() const;
    // The command codes of the request frames logged, in order.
    QList<quint8> commands() const;
    void clearLog();
    bool waitForLogSize(int count, int timeoutMs = 10000) const;
    bool waitUntil(const std::function<bool(const QList<FrameRecord> &)> &done, int timeoutMs = 10000) const;
    // Called on the serving thread for each record, after it is logged.
    void setObserver(std::function<void(const FrameRecord &)> observer);

    // Opens of the device by others (the port) so far, and whether one is
    // still open. Exact as soon as the port's open or close has returned.
    int portOpenCount() const;
    bool isPortOpen() const;

private:
    struct Decision;
    struct ActiveFault {
        Fault fault;
        int remaining;
        int skip;
    };

    void serve();
    void handleBinary();
    void handleFrame(const std::vector<quint8> &frame);
    Decision evaluate(const CommandInfo &info, const std::vector<quint8> &frame);
    bool carry(const CommandInfo &info, const std::vector<quint8> &frame, SimReply &reply, FrameRecord &record);
    void record(FrameRecord record);
    void writeReply(const quint8 *bytes, int count);
    void closeMaster();
    void absorbWatchEvents() const;
    QByteArray *areaStore(int area);

    QString comName_;
    QString tableFile_;
    QString devicePath_;
    QString tableDevice_; // what the port table names: the device, or one gone
    QStringList replacedLines_;
    std::unique_ptr<SimPty> pty_;
    std::unique_ptr<WakePipe> wake_;
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> unplugRequested_{false};
    const std::chrono::steady_clock::time_point born_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    // Everything below is guarded by mutex_.
    int binaryReplyBytes_ = 1;
    int baud_ = 0;
    QByteArray identity_;
    QByteArray state_;
    QByteArray touchKey_;
    std::vector<std::pair<int, QByteArray>> areas_;
    QByteArray password_;
    bool locked_ = false;
    std::vector<ActiveFault> faults_;
    bool unplugged_ = false;
    bool serving_ = false;
    QList<FrameRecord> log_;
    std::function<void(const FrameRecord &)> observer_;
    mutable int portOpens_ = 0;
    mutable int portCloses_ = 0;
    std::vector<quint8> lastFrame_;
    int repeat_ = 0;
};

} // namespace qrvsim
