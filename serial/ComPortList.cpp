#include "serial/ComPortList.h"
#include "serial/posix/PortTable.h"

#include <QCollator>
#include <algorithm>

void EnumComPorts(QStringList &list)
{
    QStringList names;
    for (const PortTableEntry &e : BuildPortTable(DefaultPortTableSources()))
        names << e.Name;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), collator);
    list = names;
}

QString ComPortDevicePath(const QString &name)
{
    return FindPortDevice(name);
}
