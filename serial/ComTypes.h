#pragma once
// The vocabulary of the serial-port layer: settings, lines, events, errors.
#include <cstdint>
#include <functional>
#include <initializer_list>

enum TBaudRate : std::uint8_t {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200, br128000, br256000
};
enum TStopBits : std::uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : std::uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : std::uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : std::uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : std::uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
// A summary of a TComFlowControl; never stored.
enum TFlowControl : std::uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };
enum TComEvent : std::uint8_t {
    evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full
};
enum TComSignal : std::uint8_t { csCTS, csDSR, csRing, csRLSD };
enum TComError : std::uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
enum TSyncMethod : std::uint8_t { smThreadSync, smWindowSync, smNone };
enum TOperationKind : std::uint8_t { okWrite, okRead };

// A set of enumeration values; bit n stands for ordinal n.
template <typename E, typename Bits, int Size>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members)
    {
        for (E e : members)
            Include(e);
    }
    // Bits beyond the enumeration are dropped.
    static constexpr TEnumSet FromBits(Bits bits)
    {
        TEnumSet s;
        s.bits_ = static_cast<Bits>(bits & AllBits());
        return s;
    }
    static constexpr TEnumSet All() { return FromBits(AllBits()); }

    constexpr Bits ToBits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TEnumSet &Include(E e)
    {
        bits_ = static_cast<Bits>(bits_ | Bit(e));
        return *this;
    }
    constexpr TEnumSet &Exclude(E e)
    {
        bits_ = static_cast<Bits>(bits_ & ~Bit(e));
        return *this;
    }
    friend constexpr bool operator==(TEnumSet a, TEnumSet b) { return a.bits_ == b.bits_; }

private:
    static constexpr Bits Bit(E e) { return static_cast<Bits>(Bits(1) << static_cast<int>(e)); }
    static constexpr Bits AllBits() { return static_cast<Bits>((1u << Size) - 1u); }
    Bits bits_ = 0;
};

using TComEvents = TEnumSet<TComEvent, std::uint16_t, 10>;
using TComSignals = TEnumSet<TComSignal, std::uint8_t, 4>;
using TComErrors = TEnumSet<TComError, std::uint8_t, 8>;

class TCustomComPort;

using TNotifyEvent = std::function<void(TCustomComPort *sender)>;
using TRxCharEvent = std::function<void(TCustomComPort *sender, std::int32_t count)>;
using TRxBufEvent = std::function<void(TCustomComPort *sender, const void *buffer, std::int32_t count)>;
using TComSignalEvent = std::function<void(TCustomComPort *sender, bool onOff)>;
using TComErrorEvent = std::function<void(TCustomComPort *sender, TComErrors errors)>;
