#pragma once
// The COM names the machine has, from the port table.
#include <QString>
#include <QStringList>

// Replaces the list with the table's names, sorted case-insensitively in the
// user's locale (COM1, COM10, COM2). A machine without ports gives an empty list.
void EnumComPorts(QStringList &list);

// The device behind a COM name (a tool tip for the port selector); empty when
// the table lacks the name.
QString ComPortDevicePath(const QString &name);
