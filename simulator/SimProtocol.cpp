#include "simulator/SimProtocol.h"

#include <algorithm>
#include <cstring>

namespace qrvsim {

namespace {

constexpr char BinaryText[] = "BINARY\r";
constexpr size_t BinaryTextSize = sizeof(BinaryText) - 1;

// code, request, area, required send payload, protected while locked. The
// protected column is the one place that says what a locked controller refuses.
// Area commands of areas 3, 6 and 7 are known but those areas are not held.
const CommandInfo Commands[] = {
    {0x01, RequestKind::AreaWrite, 2, -1, true},
    {0x02, RequestKind::AreaRead, 2, -1, false},
    {0x03, RequestKind::AreaWrite, 3, -1, true},
    {0x04, RequestKind::AreaRead, 3, -1, false},
    {0x05, RequestKind::CommandRead, 0, -1, false},
    {0x06, RequestKind::AreaWrite, 1, -1, true},
    {0x07, RequestKind::AreaRead, 1, -1, false},
    {0x08, RequestKind::AreaWrite, 4, -1, true},
    {0x09, RequestKind::AreaRead, 4, -1, false},
    {0x0A, RequestKind::AreaWrite, 7, -1, true},
    {0x0B, RequestKind::AreaRead, 7, -1, false},
    {0x0C, RequestKind::CommandRead, 0, -1, false},
    {0x0D, RequestKind::CommandSend, 0, 6, true},
    {0x0E, RequestKind::CommandRead, 0, -1, false},
    {0x0F, RequestKind::CommandSend, 0, 1, true},
    {0x10, RequestKind::CommandSend, 0, 1, true},
    {0x11, RequestKind::CommandSend, 0, -1, false},
    {0x12, RequestKind::AreaWrite, 5, -1, true},
    {0x13, RequestKind::AreaRead, 5, -1, false},
    {0x14, RequestKind::CommandSend, 0, 3, true},
    {0x16, RequestKind::AreaWrite, 6, -1, true},
    {0x17, RequestKind::AreaRead, 6, -1, false},
};

const std::vector<AreaInfo> Areas = {
    {1, 0x06, 0x07, 5292},
    {2, 0x01, 0x02, 1048576},
    {4, 0x08, 0x09, 10},
    {5, 0x12, 0x13, 8},
};

} // namespace

quint8 FrameChecksum(const quint8 *bytes, int count)
{
    quint8 x = 0;
    for (int i = 0; i < count; ++i)
        x ^= bytes[i];
    return quint8(0x100 - x);
}

const CommandInfo *FindCommand(quint8 code)
{
    for (const CommandInfo &c : Commands)
        if (c.code == code)
            return &c;
    return nullptr;
}

const AreaInfo *FindArea(int number)
{
    for (const AreaInfo &a : Areas)
        if (a.number == number)
            return &a;
    return nullptr;
}

const std::vector<AreaInfo> &HeldAreas() { return Areas; }

void SimReply::begin(quint8 command, int length)
{
    bytes[0] = FrameStart;
    bytes[1] = command;
    PutU16(&bytes[2], quint16(length));
    size = length + 5;
    statusOffset = -1;
}

void SimReply::seal() { bytes[size_t(size - 1)] = FrameChecksum(&bytes[1], size - 2); }

void SimReply::status(RequestKind kind, quint8 command, const quint8 *payload, int length, quint8 value)
{
    if (kind == RequestKind::AreaWrite) {
        begin(command, 8);
        std::memset(&bytes[4], 0, 8);
        std::memcpy(&bytes[4], payload, size_t(std::clamp(length, 0, AreaHeaderSize)));
        statusOffset = 10;
    } else {
        begin(command, 1);
        statusOffset = 4;
    }
    bytes[size_t(statusOffset)] = value;
    seal();
}

void RequestParser::append(const quint8 *data, int count, Clock::time_point when)
{
    if (count <= 0)
        return;
    if (!buffer_.empty() && when - lastArrival_ >= LineGap)
        buffer_.clear();
    lastArrival_ = when;
    buffer_.insert(buffer_.end(), data, data + count);
}

void RequestParser::drop(size_t count)
{
    buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(count));
}

RequestParser::Item RequestParser::next()
{
    while (!buffer_.empty()) {
        const quint8 head = buffer_[0];
        if (head == FrameStart) {
            if (buffer_.size() < size_t(FrameHeaderSize))
                return Item::None;
            const int length = GetU16(&buffer_[2]);
            if (length > MaxPayload) {
                drop(1);
                continue;
            }
            const size_t total = size_t(length) + 5;
            if (buffer_.size() < total)
                return Item::None;
            frame_.assign(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(total));
            drop(total);
            return Item::Frame;
        }
        if (head == quint8(BinaryText[0])) {
            const size_t n = std::min(buffer_.size(), BinaryTextSize);
            if (std::memcmp(buffer_.data(), BinaryText, n) == 0) {
                if (n < BinaryTextSize)
                    return Item::None;
                drop(BinaryTextSize);
                return Item::BinaryMode;
            }
            drop(1);
            continue;
        }
        // Skip noise up to the next byte that can start a request.
        auto next = std::find_if(buffer_.begin() + 1, buffer_.end(),
                                 [](quint8 b) { return b == FrameStart || b == quint8(BinaryText[0]); });
        drop(size_t(next - buffer_.begin()));
    }
    return Item::None;
}

} // namespace qrvsim
