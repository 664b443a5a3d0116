#pragma once
// What a program under test starts with: no screen, and a home, a runtime
// folder (where its one-copy lock lies) and a port table of the test's own,
// so that neither the user's files nor another run's copy are touched.
#include <QProcessEnvironment>
#include <QString>

inline QProcessEnvironment ProgramEnvironment(const QString &home, const QString &runtime, const QString &portTable)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QRV_SERIALCOMM"), portTable);
    return env;
}
