#pragma once
// Group-box captions carry one blank before and after their text.
#include <QString>

inline QString Framed(const QString &text)
{
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}
