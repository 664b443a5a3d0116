#include "configurator/core/LiveState.h"

#include <QByteArray>

#include <algorithm>

namespace {

// day.month.year hour:minute:second from the clock bytes.
QString ControllerTimeText(const LiveStateBlock &block)
{
    static constexpr int order[] = {2, 1, 0, 3, 4, 5};
    static constexpr const char *after[] = {".", ".", " ", ":", ":", ""};
    QString text;
    for (int i = 0; i < StateFields::ClockSize; ++i) {
        const int value = block[std::size_t(order[i])];
        text += QString::number(value / 10) + QString::number(value % 10) + QLatin1String(after[i]);
    }
    return text;
}

} // namespace

LiveState DecodeLiveState(const LiveStateBlock &block)
{
    const ConstFieldView s(block);
    LiveState state;
    state.signalQuality = quint8(s.Get(StateFields::SignalQuality));
    state.gsmState = std::min<int>(int(s.Get(StateFields::GsmState)), UnknownGsmState);
    state.armState = quint8(s.Get(StateFields::ArmState));
    state.ledMask = quint8(s.Get(StateFields::LedMask));
    state.outputMask = quint8(s.Get(StateFields::OutputMask));
    state.balanceValid = s.Get(StateFields::BalanceValid) != 0;
    state.balance = s.Get(StateFields::Balance);
    state.temperatureValid = s.Get(StateFields::TemperatureValid) != 0;
    state.temperature = qint8(s.Get(StateFields::Temperature));
    state.mainPower = quint8(s.Get(StateFields::MainPower));
    state.battery = quint8(s.Get(StateFields::Battery));
    state.inputsShown = (s.Get(StateFields::InputsMeasuredOnBattery) != 0 && state.battery != 0) ||
                        s.Get(StateFields::InputsMeasured) != 0;
    for (int input = 0; input < LiveInputCount; ++input)
        state.inputs[std::size_t(input)] = quint16(s.Get(StateFields::InputValue(input)));
    state.clock = ControllerTimeText(block);
    return state;
}

TouchKeyRead DecodeTouchKey(const TouchKeyBlock &block)
{
    return {ConstFieldView(block).Get(TouchKeyFields::KeyRead) == 3,
            QString::fromLatin1(
                QByteArray(reinterpret_cast<const char *>(block.data()), TouchKeyFields::CodeSize).toHex())
                .toUpper()};
}
