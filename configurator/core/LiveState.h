#pragma once
// The controller's live state as the poller reads it: the state block and the
// block of the touch key last held to the reader, and the values the window
// shows of them.
#include "configurator/core/ImageFields.h"

#include <QString>

#include <array>

using LiveStateBlock = std::array<quint8, 36>;
using TouchKeyBlock = std::array<quint8, 12>;

inline constexpr int LiveInputCount = 4;

struct StateFields {
    // The controller's clock: year within the century, month, day, hour, minute, second.
    static constexpr int ClockSize = 6;
    static constexpr UField MainPower{22, 0, 8}; // 0.1 V
    static constexpr UField Battery{24, 0, 8};
    static constexpr UField SignalQuality{25, 0, 5};
    // The input values are shown when measured, or when measured on battery with a battery.
    static constexpr UField InputsMeasured{25, 5, 1};
    static constexpr UField InputsMeasuredOnBattery{25, 6, 1};
    static constexpr UField ArmState{26, 0, 8};
    static constexpr UField TemperatureValid{27, 0, 1};
    static constexpr UField BalanceValid{27, 1, 1};
    static constexpr UField LedMask{28, 0, 8};
    static constexpr UField OutputMask{29, 0, 8};
    static constexpr UField GsmState{30, 0, 8};
    static constexpr Int8Field Temperature{31};
    static constexpr Float32Field Balance{32};
    // Inputs 1..4 as 0..3.
    static constexpr UField InputValue(int input) { return {6 + 2 * input, 0, 16}; }
};

struct TouchKeyFields {
    static constexpr int CodeSize = 8;
    static constexpr UField KeyRead{8, 0, 2}; // both bits set: a key was read
};

// Every GSM state code from this one up has the one text "unknown".
inline constexpr int UnknownGsmState = 11;
// The arm state shown blinking.
inline constexpr quint8 ChangingModeState = 1;

struct LiveState {
    quint8 signalQuality = 0;
    int gsmState = 0; // 0..UnknownGsmState
    quint8 armState = 0;
    quint8 ledMask = 0;
    quint8 outputMask = 0;
    bool balanceValid = false;
    float balance = 0;
    bool temperatureValid = false;
    qint8 temperature = 0;
    quint8 mainPower = 0; // 0.1 V
    quint8 battery = 0;
    // Inputs 1..4 as 0..3.
    bool inputsShown = false;
    std::array<quint16, LiveInputCount> inputs{};
    // "dd.mm.yy hh:mm:ss"; a field above 99 takes a digit more.
    QString clock;

    // What an input's page shows of it.
    int ShownInput(int input) const { return inputsShown ? inputs[std::size_t(input)] : 0; }
};

LiveState DecodeLiveState(const LiveStateBlock &block);

struct TouchKeyRead {
    bool read = false;
    QString code; // the code bytes in upper-case hex, read or not
};

TouchKeyRead DecodeTouchKey(const TouchKeyBlock &block);
