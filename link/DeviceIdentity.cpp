#include "link/DeviceIdentity.h"
#include "toolkit/Win1251.h"

#include <QStringList>

#include <cstring>

namespace {

// A text field of n bytes: the characters before the first zero byte, at most n - 1.
QString FieldText(const DeviceIdentity &id, int offset, int size)
{
    int length = 0;
    while (length < size - 1 && id[offset + length] != 0)
        ++length;
    return FromWin1251(QByteArrayView(reinterpret_cast<const char *>(id.data() + offset), length));
}

std::uint16_t Word(const DeviceIdentity &id, int offset)
{
    return static_cast<std::uint16_t>(id[offset] | (id[offset + 1] << 8));
}

std::uint32_t DWord(const DeviceIdentity &id, int offset)
{
    return std::uint32_t(id[offset]) | (std::uint32_t(id[offset + 1]) << 8) | (std::uint32_t(id[offset + 2]) << 16) |
           (std::uint32_t(id[offset + 3]) << 24);
}

// Four words as "XXXXXXXX XXXXXXXX XXXXXXXX XXXXXXXX", or the placeholder when all are 0.
QString IdentifierText(const DeviceIdentity &id, int offset, const QString &placeholder)
{
    QStringList groups;
    bool allZero = true;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t w = DWord(id, offset + 4 * i);
        allZero = allZero && w == 0;
        groups << QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0')).toUpper();
    }
    return allZero ? placeholder : groups.join(QLatin1Char(' '));
}

DeviceIdentity MakeEmptyIdentity()
{
    DeviceIdentity id{};
    auto put = [&id](int offset, const char *text) { std::memcpy(id.data() + offset, text, std::strlen(text)); };
    put(0, "--------");
    put(9, "--------");
    put(24, "-----------");
    put(36, "---");
    put(56, "---------------");
    return id;
}

} // namespace

const DeviceIdentity &EmptyDeviceIdentity()
{
    static const DeviceIdentity empty = MakeEmptyIdentity();
    return empty;
}

QString VersionText(std::uint16_t word)
{
    if (word == 0)
        return QStringLiteral("--.--");
    return QStringLiteral("%1.%2")
        .arg(word >> 8, 2, 16, QLatin1Char('0'))
        .arg(word & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

IdentityTexts DecodeIdentity(const DeviceIdentity &id)
{
    IdentityTexts t;
    t.deviceName = FieldText(id, 0, 9);
    t.modification = FieldText(id, 9, 9);
    t.hardwareVersion = VersionText(Word(id, 18));
    t.firmwareVersion = VersionText(Word(id, 20));
    t.bootLoaderVersion = VersionText(Word(id, 22));
    t.date = FieldText(id, 24, 12);
    t.countryCode = FieldText(id, 36, 4);
    t.boundIdentifier = IdentifierText(id, 40, QString(48, QLatin1Char(' ')) + QLatin1Char('-'));
    t.imei = FieldText(id, 56, 16);
    t.uniqueIdentifier =
        IdentifierText(id, 72, QStringLiteral("- - - - - - - -  - - - - - - - -  - - - - - - - -  - - - - - - - -"));
    return t;
}

QString DeviceVersionText(const IdentityTexts &texts)
{
    return texts.modification + QLatin1Char('.') + texts.firmwareVersion;
}

bool IsVersionSupported(const QString &versionText, const QStringList &supportedVersions)
{
    return supportedVersions.contains(versionText, Qt::CaseSensitive);
}
