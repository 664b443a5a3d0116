#pragma once
// A drop-down list of the values of one port setting, bound to a port: it
// shows the port's present value and keeps the value the user picks until
// it is applied.
#include "serial/ComSelect.h"

#include <QComboBox>

class TComComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TComComboBox(QWidget *parent = nullptr);
    ~TComComboBox() override;

    TCustomComPort *ComPort() const { return select_.ComPort(); }
    // Binds the port and selects its present value; null unbinds.
    void SetComPort(TCustomComPort *port);
    TComProperty ComProperty() const { return select_.ComProperty(); }
    // Refills the list; selects the bound port's value, or the first item.
    void SetComProperty(TComProperty value);
    bool AutoApply() const { return select_.AutoApply(); }
    void SetAutoApply(bool value) { select_.SetAutoApply(value); }

    // The selected item's text; empty when nothing is selected.
    QString Text() const;
    // Selects the item equal to text ignoring case; none such: no change.
    void SetText(const QString &text);

    void ApplySettings() { select_.ApplySettings(); }
    // Selects the bound port's present value (nothing when it is not listed).
    void UpdateSettings();

    const TComSelect &Select() const { return select_; }

protected:
    // The user picked an item; runs before the other handlers of activated.
    virtual void Change();

private:
    class Items : public TComItems {
    public:
        explicit Items(QComboBox &box) : box_(box) {}
        void Clear() override;
        void Add(const QString &text, const QString &hint) override;
        int Count() const override;
        QString Item(int index) const override;

    private:
        QComboBox &box_;
    };

    // The bound port is being destroyed.
    void Notification(TCustomComPort *removed);

    Items items_{*this};
    TComSelect select_;
};
