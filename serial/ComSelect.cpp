#include "serial/ComSelect.h"
#include "serial/ComConvert.h"
#include "serial/ComPort.h"
#include "serial/ComPortList.h"

#include <QStringList>

namespace {

// Every text of a setting, in ordinal order.
template <typename E>
void AddTexts(TComItems &items, QString (*toText)(E), int count)
{
    for (int i = 0; i < count; ++i)
        items.Add(toText(static_cast<E>(i)), QString());
}

} // namespace

int TComItems::IndexOf(const QString &text) const
{
    for (int i = 0, n = Count(); i < n; ++i) {
        if (Item(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TComSelect::SetComProperty(TComProperty value)
{
    comProperty_ = value;
    if (!items_)
        return;
    items_->Clear();
    switch (value) {
    case cpNone:
        break;
    case cpPort: {
        QStringList names;
        EnumComPorts(names);
        for (const QString &name : names)
            items_->Add(name, ComPortDevicePath(name));
        break;
    }
    case cpBaudRate: AddTexts(*items_, BaudRateToStr, br256000 + 1); break;
    case cpDataBits: AddTexts(*items_, DataBitsToStr, dbEight + 1); break;
    case cpStopBits: AddTexts(*items_, StopBitsToStr, sbTwoStopBits + 1); break;
    case cpParity: AddTexts(*items_, ParityToStr, prSpace + 1); break;
    case cpFlowControl: AddTexts(*items_, FlowControlToStr, fcCustom + 1); break;
    }
}

void TComSelect::Change(const QString &text)
{
    Store(text);
    if (autoApply_)
        ApplySettings();
}

void TComSelect::Store(const QString &text)
{
    switch (comProperty_) {
    case cpNone: break;
    case cpPort: pending_.Port = text; break;
    case cpBaudRate: pending_.BaudRate = StrToBaudRate(text); break;
    case cpDataBits: pending_.DataBits = StrToDataBits(text); break;
    case cpStopBits: pending_.StopBits = StrToStopBits(text); break;
    case cpParity: pending_.Parity = StrToParity(text); break;
    case cpFlowControl: pending_.FlowControl = StrToFlowControl(text); break;
    }
}

void TComSelect::ApplySettings()
{
    if (!comPort_)
        return;
    TCustomComPort &port = *comPort_;
    switch (comProperty_) {
    case cpNone: break;
    case cpPort:
        if (pending_.Port)
            port.SetPort(*pending_.Port);
        break;
    case cpBaudRate:
        if (pending_.BaudRate)
            port.SetBaudRate(*pending_.BaudRate);
        break;
    case cpDataBits:
        if (pending_.DataBits)
            port.SetDataBits(*pending_.DataBits);
        break;
    case cpStopBits:
        if (pending_.StopBits)
            port.SetStopBits(*pending_.StopBits);
        break;
    case cpParity:
        if (pending_.Parity)
            port.Parity()->SetBits(*pending_.Parity);
        break;
    case cpFlowControl:
        if (pending_.FlowControl)
            port.FlowControl()->SetFlowControl(*pending_.FlowControl);
        break;
    }
}

void TComSelect::UpdateSettings(int &index)
{
    if (!comPort_ || comProperty_ == cpNone || !items_)
        return;
    index = items_->IndexOf(PortValueText());
    if (index >= 0)
        Store(items_->Item(index));
}

QString TComSelect::PortValueText() const
{
    const TCustomComPort &port = *comPort_;
    switch (comProperty_) {
    case cpPort: return port.Port();
    case cpBaudRate: return BaudRateToStr(port.BaudRate());
    case cpDataBits: return DataBitsToStr(port.DataBits());
    case cpStopBits: return StopBitsToStr(port.StopBits());
    case cpParity: return ParityToStr(port.Parity()->Bits());
    case cpFlowControl: return FlowControlToStr(port.FlowControl()->FlowControl());
    case cpNone: break;
    }
    return QString();
}
