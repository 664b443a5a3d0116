#include "configurator/core/ConfigFiles.h"

#include "toolkit/CheckByte.h"
#include "toolkit/WholeFile.h"
#include "toolkit/Win1251.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr char HeaderStart[] = "[QRVControllerConfiguration_v";
constexpr qsizetype HeaderStartSize = sizeof HeaderStart - 1;
constexpr TextField VersionDigits{3, 5};

constexpr char SettingsHeader[] = "[QRVProgCfg]";
constexpr qsizetype SettingsHeaderSize = sizeof SettingsHeader - 1;
constexpr int PortFieldSize = 8;
constexpr quint32 SettingsMagic = 0x20B84286;

QByteArrayView AsBytes(std::span<const quint8> bytes)
{
    return QByteArrayView(bytes.data(), qsizetype(bytes.size()));
}

int ReadConfigFile(QFile &file, ConfigImage &into)
{
    char header[ConfigFileHeaderSize];
    if (int r = ReadExactly(file, header, sizeof header, frFormatError))
        return r;
    const QByteArrayView got(header, sizeof header);
    if (!got.startsWith(QByteArrayView(HeaderStart, HeaderStartSize)))
        return frFormatError;
    if (got != ConfigFileHeader(DefaultImage()))
        return frVersionMismatch;
    if (int r = ReadExactly(file, reinterpret_cast<char *>(into.data()), qint64(into.size()), frFormatError))
        return r;
    char check = 0;
    if (int r = ReadExactly(file, &check, 1, frFormatError))
        return r;
    return quint8(check) == CheckByte(into) ? frOk : frFormatError;
}

} // namespace

QByteArray ConfigFileHeader(const ConfigImage &image)
{
    QByteArray header(HeaderStart, HeaderStartSize);
    header += AsBytes(View(image).Bytes(VersionDigits));
    header += ']';
    return header;
}

int SaveConfigFile(const QString &fileName, const ConfigImage &image)
{
    ConfigImage stored = image;
    const auto password = View(stored).Bytes(GeneralFields::SystemPassword);
    std::fill(password.begin(), password.end(), quint8(0));

    QByteArray content = ConfigFileHeader(stored);
    content += AsBytes(stored);
    content += char(CheckByte(stored));
    return SaveWholeFile(fileName, {content});
}

int LoadConfigFile(const QString &fileName, ConfigImage &image)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return frIoError;
    ConfigImage loaded;
    const int result = ReadConfigFile(file, loaded);
    file.close();
    if (result == frOk)
        image = loaded;
    return result;
}

int SaveProgramSettings(const QString &startDirectory, const QString &port)
{
    QByteArray content(SettingsHeader, SettingsHeaderSize);
    std::array<quint8, PortFieldSize> field{};
    ToWin1251(port, std::span(field).first(PortFieldSize - 1));
    content += AsBytes(field);
    char magic[4];
    qToLittleEndian(SettingsMagic, magic);
    content += QByteArrayView(magic, 4);
    return SaveWholeFile(QDir(startDirectory).filePath(QLatin1StringView(SettingsFileName)), {content});
}

int LoadProgramSettings(const QString &startDirectory, QString &port)
{
    QFile file(QDir(startDirectory).filePath(QLatin1StringView(SettingsFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return frIoError;

    char header[SettingsHeaderSize];
    if (ReadExactly(file, header, sizeof header) != frOk
        || QByteArrayView(header, sizeof header) != QByteArrayView(SettingsHeader, SettingsHeaderSize))
        return frIoError;

    char field[PortFieldSize];
    if (ReadExactly(file, field, sizeof field) != frOk)
        return frIoError;
    const QString name = FromWin1251(QByteArrayView(field, qstrnlen(field, sizeof field)));
    if (!name.contains(u'C') || !name.contains(u'O') || !name.contains(u'M'))
        return frIoError;
    port = name;

    char magic[4];
    if (ReadExactly(file, magic, sizeof magic) != frOk
        || qFromLittleEndian<quint32>(magic) != SettingsMagic)
        return frIoError;
    return frOk;
}
