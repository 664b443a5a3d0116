#include "serial/ComConvert.h"
#include "serial/CommRecords.h"

#include <array>

namespace {

constexpr std::array<const char *, 16> BaudRateTexts = {
    "Custom", "110", "300", "600", "1200", "2400", "4800", "9600",
    "14400", "19200", "38400", "56000", "57600", "115200", "128000", "256000"};
constexpr std::array<const char *, 3> StopBitsTexts = {"1", "1.5", "2"};
constexpr std::array<const char *, 4> DataBitsTexts = {"5", "6", "7", "8"};
constexpr std::array<const char *, 5> ParityTexts = {"None", "Odd", "Even", "Mark", "Space"};
constexpr std::array<const char *, 4> FlowControlTexts = {"Hardware", "Software", "None", "Custom"};

// Event ordinal -> mask bit.
constexpr std::array<std::uint32_t, 10> EventBits = {
    EV_RXCHAR, EV_TXEMPTY, EV_RXFLAG, EV_RING, EV_BREAK, EV_CTS, EV_DSR, EV_ERR, EV_RLSD, EV_RX80FULL};

template <typename E, std::size_t N>
QString ToText(const std::array<const char *, N> &texts, E value)
{
    const auto i = static_cast<std::size_t>(value);
    return i < N ? QString::fromLatin1(texts[i]) : QString();
}

template <typename E, std::size_t N>
E FromText(const std::array<const char *, N> &texts, const QString &text, E fallback)
{
    const QString wanted = text.toUpper();
    for (std::size_t i = 0; i < N; ++i) {
        if (QString::fromLatin1(texts[i]).toUpper() == wanted)
            return static_cast<E>(i);
    }
    return fallback;
}

} // namespace

QString BaudRateToStr(TBaudRate value) { return ToText(BaudRateTexts, value); }
QString StopBitsToStr(TStopBits value) { return ToText(StopBitsTexts, value); }
QString DataBitsToStr(TDataBits value) { return ToText(DataBitsTexts, value); }
QString ParityToStr(TParityBits value) { return ToText(ParityTexts, value); }
QString FlowControlToStr(TFlowControl value) { return ToText(FlowControlTexts, value); }

TBaudRate StrToBaudRate(const QString &text) { return FromText(BaudRateTexts, text, br9600); }
TStopBits StrToStopBits(const QString &text) { return FromText(StopBitsTexts, text, sbOneStopBit); }
TDataBits StrToDataBits(const QString &text) { return FromText(DataBitsTexts, text, dbEight); }
TParityBits StrToParity(const QString &text) { return FromText(ParityTexts, text, prNone); }
TFlowControl StrToFlowControl(const QString &text) { return FromText(FlowControlTexts, text, fcCustom); }

std::uint32_t EventsToMask(TComEvents events)
{
    std::uint32_t mask = 0;
    for (std::size_t i = 0; i < EventBits.size(); ++i) {
        if (events.Contains(static_cast<TComEvent>(i)))
            mask |= EventBits[i];
    }
    return mask;
}

TComEvents MaskToEvents(std::uint32_t mask)
{
    TComEvents events;
    for (std::size_t i = 0; i < EventBits.size(); ++i) {
        if ((mask & EventBits[i]) != 0)
            events.Include(static_cast<TComEvent>(i));
    }
    return events;
}
