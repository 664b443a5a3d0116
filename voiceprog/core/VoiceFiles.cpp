#include "voiceprog/core/VoiceFiles.h"
#include "toolkit/CheckByte.h"
#include "toolkit/WholeFile.h"

#include <QFile>
#include <array>
#include <cstring>

namespace {

constexpr char VoiceFileHeader[] = "[VoiceMessage H.01.00]";
constexpr qint64 VoiceFileHeaderSize = sizeof VoiceFileHeader - 1;
constexpr char SettingsHeader[] = "[PhraseLoaderProgramCfg]";
constexpr qint64 SettingsHeaderSize = sizeof SettingsHeader - 1;
constexpr std::array<char, 4> SettingsMagic = {'\x12', '\xB9', '\xF5', '\x58'}; // 0x58F5B912
constexpr int DefaultPortNumber = 2;
constexpr int PortNumbers = 8;

QString PortName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

} // namespace

int SaveVoiceFile(const QString &path, ConstVoiceImageSpan image)
{
    const char check = char(CheckByte(image));
    return SaveWholeFile(path, {QByteArrayView(VoiceFileHeader, VoiceFileHeaderSize),
                            QByteArrayView(image.data(), qsizetype(image.size())),
                            QByteArrayView(&check, 1)});
}

int LoadVoiceFile(const QString &path, VoiceImageSpan image)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return frIoError;
    char header[VoiceFileHeaderSize];
    if (ReadExactly(file, header, VoiceFileHeaderSize) != frOk
        || std::memcmp(header, VoiceFileHeader, VoiceFileHeaderSize) != 0)
        return frIoError;
    std::uint8_t stored = 0;
    if (ReadExactly(file, image.data(), qint64(image.size())) != frOk || ReadExactly(file, &stored, 1) != frOk)
        return frIoError;
    return stored == CheckByte(image) ? frOk : frFormatError;
}

int SaveVoiceSettings(const QString &path, const QString &port)
{
    char number = DefaultPortNumber;
    for (int k = 1; k <= PortNumbers; ++k) {
        if (port == PortName(k))
            number = char(k);
    }
    return SaveWholeFile(path, {QByteArrayView(SettingsHeader, SettingsHeaderSize),
                            QByteArrayView(&number, 1),
                            QByteArrayView(SettingsMagic.data(), qsizetype(SettingsMagic.size()))});
}

int LoadVoiceSettings(const QString &path, QString &port)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return frIoError;
    char content[VoiceSettingsFileSize];
    if (ReadExactly(file, content, VoiceSettingsFileSize) != frOk
        || std::memcmp(content, SettingsHeader, SettingsHeaderSize) != 0
        || std::memcmp(content + SettingsHeaderSize + 1, SettingsMagic.data(), SettingsMagic.size()) != 0)
        return frIoError;
    const int number = std::uint8_t(content[SettingsHeaderSize]);
    if (number >= 1 && number <= PortNumbers)
        port = PortName(number);
    return frOk;
}
