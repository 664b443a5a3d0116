#include "serial/widgets/ComComboBox.h"
#include "serial/ComPort.h"
#include "toolkit/ExceptionReport.h"

void TComComboBox::Items::Clear() { box_.clear(); }

void TComComboBox::Items::Add(const QString &text, const QString &hint)
{
    box_.addItem(text);
    if (!hint.isEmpty())
        box_.setItemData(box_.count() - 1, hint, Qt::ToolTipRole);
}

int TComComboBox::Items::Count() const { return box_.count(); }

QString TComComboBox::Items::Item(int index) const { return box_.itemText(index); }

TComComboBox::TComComboBox(QWidget *parent) : QComboBox(parent)
{
    select_.SetItems(&items_);
    setEditable(false);
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this] {
        // An AutoApply that the port refuses must not unwind through the event loop.
        try {
            Change();
        } catch (...) {
            ApplicationHandleException(std::current_exception());
        }
    });
}

TComComboBox::~TComComboBox()
{
    if (TCustomComPort *port = ComPort())
        port->RemoveFreeNotification(this);
}

void TComComboBox::SetComPort(TCustomComPort *port)
{
    TCustomComPort *old = ComPort();
    if (port == old)
        return;
    if (old)
        old->RemoveFreeNotification(this);
    select_.SetComPort(port);
    if (!port)
        return;
    port->FreeNotification(this, [this](TCustomComPort *removed) { Notification(removed); });
    UpdateSettings();
}

void TComComboBox::SetComProperty(TComProperty value)
{
    select_.SetComProperty(value);
    if (count() == 0)
        return;
    if (ComPort())
        UpdateSettings();
    else
        setCurrentIndex(0);
}

QString TComComboBox::Text() const
{
    const int index = currentIndex();
    return index < 0 ? QString() : itemText(index);
}

void TComComboBox::SetText(const QString &text)
{
    const int index = items_.IndexOf(text);
    if (index >= 0)
        setCurrentIndex(index);
}

void TComComboBox::UpdateSettings()
{
    int index = currentIndex();
    select_.UpdateSettings(index);
    setCurrentIndex(index);
}

void TComComboBox::Change() { select_.Change(Text()); }

void TComComboBox::Notification(TCustomComPort *removed)
{
    if (removed != ComPort())
        return;
    select_.SetComPort(nullptr);
    if (count() > 0)
        setCurrentIndex(0);
}
