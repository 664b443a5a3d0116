#include "voiceprog/core/WavImport.h"
#include "toolkit/WholeFile.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

std::uint16_t U16(const char *p)
{
    return std::uint16_t(std::uint8_t(p[0]) | std::uint8_t(p[1]) << 8);
}

std::uint32_t U32(const char *p)
{
    return std::uint32_t(U16(p)) | std::uint32_t(U16(p + 2)) << 16;
}

constexpr std::uint32_t MaxFmtSize = 100;

struct FmtField {
    int offset;
    int width;
    std::uint32_t required;
};

// Tested in this order: the first mismatch rejects the file.
constexpr std::array<FmtField, 6> RequiredFmt = {{
    {0, 2, 1},     // PCM
    {2, 2, 1},     // mono
    {4, 4, 8000},  // sample rate
    {8, 4, 16000}, // byte rate
    {12, 2, 2},    // block align
    {14, 2, 16},   // bits per sample
}};

bool FmtSupported(const char *fmt)
{
    return std::all_of(RequiredFmt.begin(), RequiredFmt.end(), [fmt](const FmtField &f) {
        const char *p = fmt + f.offset;
        return (f.width == 2 ? U16(p) : U32(p)) == f.required;
    });
}

// Walks the chunks up to the data chunk's samples and gives Imported when it
// got there: r is then what is left of the RIFF body, d the data chunk's size.
WavImportResult FindData(QFile &file, std::uint32_t &r, std::uint32_t &d)
{
    char head[16];
    if (ReadExactly(file, head, sizeof head) != frOk)
        return WavImportResult::ReadFailed;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVEfmt ", 8) != 0)
        return WavImportResult::BadFormat;
    const std::uint32_t riffSize = U32(head + 4);
    if (riffSize < 12)
        return WavImportResult::BadFormat;
    r = riffSize - 8;

    char word[4];
    if (ReadExactly(file, word, 4) != frOk)
        return WavImportResult::BadFormat;
    const std::uint32_t f = U32(word);
    if (f < 16)
        return WavImportResult::BadFormat;
    r -= 4;
    char fmt[MaxFmtSize];
    if (r < f || f > MaxFmtSize || ReadExactly(file, fmt, f) != frOk)
        return WavImportResult::BadFormat;
    if (!FmtSupported(fmt))
        return WavImportResult::WrongFormat;

    r -= f;
    if (r < 4 || ReadExactly(file, word, 4) != frOk)
        return WavImportResult::BadFormat;
    r -= 4;
    // Byte by byte, so that any chunk between fmt and data is skipped.
    while (std::memcmp(word, "data", 4) != 0) {
        char next;
        if (r == 0 || ReadExactly(file, &next, 1) != frOk)
            return WavImportResult::BadFormat;
        std::memmove(word, word + 1, 3);
        word[3] = next;
        --r;
    }
    if (r < 4 || ReadExactly(file, word, 4) != frOk)
        return WavImportResult::BadFormat;
    r -= 4;
    d = U32(word);
    return WavImportResult::Imported;
}

// Encodes the whole samples of the next `bytes` bytes, or up to the end of
// the file when it is shorter.
void EncodeSamples(QFile &file, VoiceBank &bank, std::uint8_t slot, std::uint32_t bytes)
{
    std::array<char, 64 * 1024> buffer;
    qint64 have = 0; // bytes in the buffer, at most one left over from the last read
    while (bytes > 0) {
        const qint64 got = file.read(buffer.data() + have,
                                     std::min<qint64>(bytes - have, qint64(buffer.size()) - have));
        if (got <= 0)
            return;
        have += got;
        const qint64 whole = have & ~qint64(1);
        for (qint64 i = 0; i < whole; i += 2)
            bank.AppendSample(slot, std::int16_t(U16(buffer.data() + i)));
        bytes -= std::uint32_t(whole);
        have -= whole;
        if (have != 0)
            buffer[0] = buffer[whole];
    }
}

} // namespace

WavImportResult WavImport(const QString &path, VoiceBank &bank, std::uint8_t slot,
                          const WavTruncationNotice &truncationNotice)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return WavImportResult::CannotOpen;
    std::uint32_t r = 0;
    std::uint32_t d = 0;
    if (const WavImportResult found = FindData(file, r, d); found != WavImportResult::Imported)
        return found;

    // The old message goes first, so that its space counts as free.
    bank.ClearSlot(slot);
    const std::uint32_t room = 2 * bank.FreeSamples();
    if (room == 0)
        return WavImportResult::MemoryFull;
    r = std::min(r, room);
    if (d > room) {
        if (truncationNotice)
            truncationNotice();
        d = room;
    }
    // Again, so that the encoder starts afresh right before the first sample.
    bank.ClearSlot(slot);
    EncodeSamples(file, bank, slot, std::min(r, d) & ~std::uint32_t(1));
    return WavImportResult::Imported;
}

VoiceMessageText WavImportMessage(WavImportResult result)
{
    const QString opening = QStringLiteral("Открытие файла");
    switch (result) {
    case WavImportResult::Imported:
        break;
    case WavImportResult::CannotOpen:
        return {QStringLiteral("Невозможно открыть файл"), opening};
    case WavImportResult::ReadFailed:
        return {QStringLiteral("Ошибка при открытии файла"), opening};
    case WavImportResult::BadFormat:
        return {QStringLiteral("Неверный формат файла"), opening};
    case WavImportResult::WrongFormat:
        return {QStringLiteral("Неверный формат файла.\nИспользуйте только WAV файл формата: "
                               "PCM 8000 кГц; 16 бит; Моно."),
                opening};
    case WavImportResult::MemoryFull:
        return {QStringLiteral("Загрузка звукового фрагмента невозможна.\nИспользовано 100% памяти."),
                QStringLiteral("Загрузка звукового фрагмента")};
    }
    return {};
}

VoiceMessageText WavTruncationMessage()
{
    return {QStringLiteral("Продолжительность звукового фрагмента превышает допустимое "
                           "значение.\nФрагмент будет урезан."),
            QStringLiteral("Загрузка звукового фрагмента")};
}
