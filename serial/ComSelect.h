#pragma once
// The logic of a port selector: which setting a list offers, the value last
// picked in it, and its way to and from a port. The list itself belongs to
// the control that shows it.
#include "serial/ComTypes.h"

#include <QString>
#include <cstdint>
#include <optional>

class TCustomComPort;

enum TComProperty : std::uint8_t { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

// The item list a selector fills and searches.
class TComItems {
public:
    virtual ~TComItems() = default;
    virtual void Clear() = 0;
    // hint: what the item stands for (a port's device), for its tool tip.
    virtual void Add(const QString &text, const QString &hint) = 0;
    virtual int Count() const = 0;
    virtual QString Item(int index) const = 0;

    // The first item equal to text ignoring case, or -1.
    int IndexOf(const QString &text) const;
};

// Values picked but not yet applied; one per setting, none until picked.
struct TComPending {
    std::optional<QString> Port;
    std::optional<TBaudRate> BaudRate;
    std::optional<TDataBits> DataBits;
    std::optional<TStopBits> StopBits;
    std::optional<TParityBits> Parity;
    std::optional<TFlowControl> FlowControl;
};

class TComSelect {
public:
    // The list shown; not owned. Must be set before ComProperty.
    void SetItems(TComItems *items) { items_ = items; }
    TComItems *Items() const { return items_; }

    TComProperty ComProperty() const { return comProperty_; }
    // Stores the property and refills the list with its texts.
    void SetComProperty(TComProperty value);

    // The bound port, not owned; null for none.
    TCustomComPort *ComPort() const { return comPort_; }
    void SetComPort(TCustomComPort *port) { comPort_ = port; }

    bool AutoApply() const { return autoApply_; }
    void SetAutoApply(bool value) { autoApply_ = value; }

    const TComPending &Pending() const { return pending_; }

    // The user picked text: it becomes the pending value of the property,
    // applied at once with AutoApply.
    void Change(const QString &text);
    // Writes the property's pending value into the bound port; nothing
    // without a port or a pending value. The port's EComPort propagates.
    void ApplySettings();
    // The position of the bound port's present value in the list (-1: not
    // listed), which also becomes the pending value. Without a port, or for
    // cpNone, index is left as it was.
    void UpdateSettings(int &index);

private:
    // text as the pending value of the property.
    void Store(const QString &text);
    // The text of the port's present value of the property.
    QString PortValueText() const;

    TComPending pending_;
    TComItems *items_ = nullptr;
    TComProperty comProperty_ = cpNone;
    TCustomComPort *comPort_ = nullptr;
    bool autoApply_ = false;
};
