#pragma once
// The controller's side of the frame protocol: checksum, the command and area
// tables, and the parser that cuts the incoming byte stream into requests.
#include <QtGlobal>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace qrvsim {

using Clock = std::chrono::steady_clock;

constexpr quint8 FrameStart = 0x05;
constexpr int FrameHeaderSize = 4;    // start, command, 16-bit length
constexpr int MaxFrameSize = 300;     // the PC's frame buffers
constexpr int MaxPayload = MaxFrameSize - 5;
constexpr int AreaBlockSize = 256;
constexpr int AreaHeaderSize = 6;     // address (u32) and count (u16)

// Two's-complement negation of the XOR of the bytes.
quint8 FrameChecksum(const quint8 *bytes, int count);

enum class RequestKind { AreaWrite, AreaRead, CommandRead, CommandSend };

struct CommandInfo {
    quint8 code;
    RequestKind kind;
    int area;               // area requests: the memory area number
    int payloadLength;      // command sends: the required payload length, -1 any
    bool protectedWhileLocked;
};

// nullptr for a code the controller does not know.
const CommandInfo *FindCommand(quint8 code);

struct AreaInfo {
    int number;
    quint8 writeCommand;
    quint8 readCommand;
    int size;
};

// The areas the controller holds; nullptr for any other number.
const AreaInfo *FindArea(int number);
const std::vector<AreaInfo> &HeldAreas();

inline quint16 GetU16(const quint8 *p) { return quint16(p[0] | (p[1] << 8)); }
inline quint32 GetU32(const quint8 *p) { return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24; }
inline void PutU16(quint8 *p, quint16 v) { p[0] = quint8(v); p[1] = quint8(v >> 8); }
inline void PutU32(quint8 *p, quint32 v) { for (int i = 0; i < 4; ++i) p[i] = quint8(v >> (8 * i)); }

// One reply frame, built in place.
struct SimReply {
    std::array<quint8, MaxFrameSize> bytes{};
    int size = 0;
    int statusOffset = -1; // where the status byte sits, -1 for none

    void begin(quint8 command, int length);
    void seal(); // writes the checksum
    // The status reply of an area write (address and count echoed) or of a command send.
    void status(RequestKind kind, quint8 command, const quint8 *payload, int length, quint8 status);
};

// Collects received bytes and hands out whole requests: the text "BINARY\r"
// or a frame. Bytes before a frame start or the text are skipped, as is a
// start byte whose length field could not belong to a real request. A request
// left unfinished for a line gap is dropped when the next bytes come, as a
// controller would.
class RequestParser {
public:
    enum class Item { None, BinaryMode, Frame };

    void append(const quint8 *data, int count, Clock::time_point when);
    // The next complete request, or None. Frame bytes stay valid until the next call.
    Item next();
    const std::vector<quint8> &frame() const { return frame_; }
    static constexpr std::chrono::milliseconds LineGap{500};

private:
    void drop(size_t count);

    std::vector<quint8> buffer_;
    std::vector<quint8> frame_;
    Clock::time_point lastArrival_{};
};

} // namespace qrvsim
