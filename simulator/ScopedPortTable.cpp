#include "simulator/ScopedPortTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <functional>

namespace qrvsim {

namespace {

constexpr char TableVariable[] = "QRV_SERIALCOMM";

// The COM name and the device of a line; both empty for a comment or blank line.
std::pair<QString, QString> ParseLine(const QString &line)
{
    QString text = line;
    const int hash = text.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        text.truncate(hash);
    const QStringList fields = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (fields.size() < 2)
        return {};
    return {fields[0], fields[1]};
}

// Rewrites the table under a lock, so two simulators editing it do not lose a line.
bool Edit(const QString &file, const std::function<QStringList(QStringList)> &change, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("port table %1: %2").arg(file, why);
        return false;
    };
    const QFileInfo info(file);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("cannot create its folder"));
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(10000))
        return fail(QStringLiteral("locked by another process"));

    QStringList lines;
    QFile in(file);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly))
            return fail(in.errorString());
        lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        in.close();
    }
    const QStringList changed = change(lines);
    if (changed == lines && in.exists())
        return true;

    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    for (const QString &line : changed)
        out.write(line.toUtf8() + '\n');
    if (!out.commit())
        return fail(out.errorString());
    return true;
}

} // namespace

QString defaultPortTablePath()
{
    const QString named = qEnvironmentVariable(TableVariable);
    if (!named.isEmpty())
        return named;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/qrv/serialcomm");
}

bool setPortTableEntry(const QString &file, const QString &comName, const QString &device, QStringList *replaced,
                       QString *error)
{
    return Edit(file, [&](const QStringList &lines) {
        QStringList out;
        QStringList old;
        const QString entry = comName + QLatin1Char(' ') + device;
        for (const QString &line : lines) {
            if (ParseLine(line).first.compare(comName, Qt::CaseInsensitive) != 0) {
                out << line;
                continue;
            }
            if (old.isEmpty())
                out << entry;
            old << line;
        }
        if (old.isEmpty())
            out << entry;
        if (replaced)
            *replaced = old;
        return out;
    }, error);
}

bool removePortTableEntry(const QString &file, const QString &comName, const QString &device,
                          const QStringList &restore, QString *error)
{
    if (!QFile::exists(file))
        return true;
    return Edit(file, [&](const QStringList &lines) {
        QStringList out;
        for (const QString &line : lines) {
            const auto [name, path] = ParseLine(line);
            if (name.compare(comName, Qt::CaseInsensitive) == 0 && path == device)
                out << restore;
            else
                out << line;
        }
        return out;
    }, error);
}

ScopedPortTable::Setting::Setting(const char *name, const QByteArray &value)
    : name_(name), previous_(qgetenv(name)), hadPrevious_(qEnvironmentVariableIsSet(name))
{
    qputenv(name_, value);
}

ScopedPortTable::Setting::~Setting()
{
    if (hadPrevious_)
        qputenv(name_, previous_);
    else
        qunsetenv(name_);
}

ScopedPortTable::ScopedPortTable()
    : path_(dir_.filePath(QStringLiteral("serialcomm"))), table_(TableVariable, QFile::encodeName(path_)),
      noScan_("QRV_NO_PORT_SCAN", "1")
{
}

ScopedPortTable::~ScopedPortTable() = default;

} // namespace qrvsim
