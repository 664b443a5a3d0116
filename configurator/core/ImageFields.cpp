#include "configurator/core/ImageFields.h"

#include "toolkit/Win1251.h"

#include <QtEndian>

#include <algorithm>
#include <bit>

namespace imagefield {

namespace {

quint64 ReadLittleEndian(std::span<const quint8> bytes)
{
    quint64 word = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        word = (word << 8) | bytes[i];
    return word;
}

void WriteLittleEndian(std::span<quint8> bytes, quint64 word)
{
    for (quint8 &b : bytes) {
        b = quint8(word);
        word >>= 8;
    }
}

} // namespace

quint32 Get(std::span<const quint8> bytes, UField f)
{
    const auto field = Slice(bytes, f.offset, f.ByteCount());
    if (field.empty())
        return 0;
    return quint32((ReadLittleEndian(field) >> f.shift) & f.Max());
}

void Set(std::span<quint8> bytes, UField f, quint32 value)
{
    const auto field = Slice(bytes, f.offset, f.ByteCount());
    if (field.empty())
        return;
    const quint64 mask = quint64(f.Max()) << f.shift;
    const quint64 bits = (quint64(value) << f.shift) & mask;
    const quint64 word = f.clearsRest ? bits : (ReadLittleEndian(field) & ~mask) | bits;
    WriteLittleEndian(field, word);
}

int Get(std::span<const quint8> bytes, Int8Field f)
{
    const auto field = Slice(bytes, f.offset, 1);
    return field.empty() ? 0 : int(qint8(field[0]));
}

void Set(std::span<quint8> bytes, Int8Field f, int value)
{
    const auto field = Slice(bytes, f.offset, 1);
    if (!field.empty())
        field[0] = quint8(value);
}

float Get(std::span<const quint8> bytes, Float32Field f)
{
    const auto field = Slice(bytes, f.offset, 4);
    return field.empty() ? 0.0f : std::bit_cast<float>(qFromLittleEndian<quint32>(field.data()));
}

void Set(std::span<quint8> bytes, Float32Field f, float value)
{
    const auto field = Slice(bytes, f.offset, 4);
    if (!field.empty())
        qToLittleEndian(std::bit_cast<quint32>(value), field.data());
}

quint64 Get(std::span<const quint8> bytes, CodeField f)
{
    const auto field = Slice(bytes, f.offset, 8);
    return field.empty() ? 0 : qFromBigEndian<quint64>(field.data());
}

void Set(std::span<quint8> bytes, CodeField f, quint64 value)
{
    const auto field = Slice(bytes, f.offset, 8);
    if (!field.empty())
        qToBigEndian(value, field.data());
}

QString Get(std::span<const quint8> bytes, TextField f)
{
    const auto field = Slice(bytes, f.offset, f.size);
    const auto end = std::find(field.begin(), field.end(), quint8(0));
    return FromWin1251(QByteArrayView(field.data(), end - field.begin()));
}

void Set(std::span<quint8> bytes, TextField f, QStringView text)
{
    const auto field = Slice(bytes, f.offset, f.size);
    if (field.empty())
        return;
    const qsizetype n = ToWin1251(text, field.first(field.size() - 1));
    std::fill(field.begin() + n, field.end(), quint8(0));
}

void Terminate(std::span<quint8> bytes, TextField f)
{
    const auto field = Slice(bytes, f.offset, f.size);
    if (!field.empty())
        field.back() = 0;
}

Qt::CheckState Get(std::span<const quint8> bytes, InputMaskPair f, int input)
{
    if (input < 0 || input >= 16)
        return Qt::Unchecked;
    const quint32 bit = 1u << input;
    if (Get(bytes, f.checked) & bit)
        return Qt::Checked;
    return (Get(bytes, f.any) & bit) ? Qt::PartiallyChecked : Qt::Unchecked;
}

void Set(std::span<quint8> bytes, InputMaskPair f, std::span<const Qt::CheckState> inputs)
{
    quint32 any = 0;
    quint32 checked = 0;
    for (std::size_t i = 0; i < std::min<std::size_t>(inputs.size(), 16); ++i) {
        if (inputs[i] != Qt::Unchecked)
            any |= 1u << i;
        if (inputs[i] == Qt::Checked)
            checked |= 1u << i;
    }
    Set(bytes, f.any, any);
    Set(bytes, f.checked, checked);
}

} // namespace imagefield
