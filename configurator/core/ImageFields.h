#pragma once
// The kinds of field of the controller's binary records and the one place
// that encodes them. A field only names where its bytes are; FieldView reads
// and writes it in a byte range (the whole image or one record).
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <span>
#include <type_traits>

// An unsigned value in bits [shift, shift + width) of the little-endian word
// that starts at offset (up to four bytes). A store changes only those bits,
// unless clearsRest is set: then the other bits of the field's bytes are
// written as 0.
struct UField {
    int offset;
    int shift;
    int width;
    bool clearsRest = false;

    constexpr quint32 Max() const { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1; }
    constexpr int ByteCount() const { return (shift + width + 7) / 8; }
};

// A whole byte read as a two's-complement number.
struct Int8Field {
    int offset;
};

// An IEEE single, little-endian.
struct Float32Field {
    int offset;
};

// Eight bytes holding an unsigned 64-bit number, most significant byte first.
struct CodeField {
    int offset;
};

// Windows-1251 text of at most size - 1 characters; a store NUL-pads the
// field and always leaves its last byte 0.
struct TextField {
    int offset;
    int size;
};

// Bytes without a known meaning.
struct RawField {
    int offset;
    int size;
};

// One three-state box per input: "checked or grayed" in the first word,
// "checked" in the second.
struct InputMaskPair {
    UField any;
    UField checked;
};

constexpr InputMaskPair InputMaskPairAt(int offset)
{
    return {{offset, 0, 16}, {offset + 2, 0, 16}};
}

// The byte-level codec behind FieldView. A field that does not lie inside
// the bytes given reads as 0 (or empty) and is not written.
namespace imagefield {

quint32 Get(std::span<const quint8> bytes, UField f);
void Set(std::span<quint8> bytes, UField f, quint32 value);
int Get(std::span<const quint8> bytes, Int8Field f);
void Set(std::span<quint8> bytes, Int8Field f, int value);
float Get(std::span<const quint8> bytes, Float32Field f);
void Set(std::span<quint8> bytes, Float32Field f, float value);
quint64 Get(std::span<const quint8> bytes, CodeField f);
void Set(std::span<quint8> bytes, CodeField f, quint64 value);
QString Get(std::span<const quint8> bytes, TextField f);
void Set(std::span<quint8> bytes, TextField f, QStringView text);
void Terminate(std::span<quint8> bytes, TextField f);
Qt::CheckState Get(std::span<const quint8> bytes, InputMaskPair f, int input);
void Set(std::span<quint8> bytes, InputMaskPair f, std::span<const Qt::CheckState> inputs);

template <class Byte>
std::span<Byte> Slice(std::span<Byte> bytes, int offset, int size)
{
    if (offset < 0 || size < 0 || std::size_t(offset) + std::size_t(size) > bytes.size()) {
        Q_ASSERT_X(false, "imagefield::Slice", "field outside its record");
        return {};
    }
    return bytes.subspan(std::size_t(offset), std::size_t(size));
}

} // namespace imagefield

// Typed access to the fields of a byte range. Like std::span it refers to
// bytes it does not own; FieldView writes, ConstFieldView only reads.
template <class Byte>
class BasicFieldView {
    static constexpr bool Writable = !std::is_const_v<Byte>;

public:
    BasicFieldView() = default;
    BasicFieldView(std::span<Byte> bytes) : bytes_(bytes) {}
    template <std::size_t N>
    BasicFieldView(std::array<std::remove_const_t<Byte>, N> &bytes) : bytes_(bytes) {}
    template <std::size_t N>
    BasicFieldView(const std::array<std::remove_const_t<Byte>, N> &bytes) requires(!Writable)
        : bytes_(bytes) {}
    template <class Other>
        requires(!Writable && std::is_same_v<Other, std::remove_const_t<Byte>>)
    BasicFieldView(BasicFieldView<Other> other) : bytes_(other.bytes()) {}

    std::span<Byte> bytes() const { return bytes_; }

    quint32 Get(UField f) const { return imagefield::Get(bytes_, f); }
    int Get(Int8Field f) const { return imagefield::Get(bytes_, f); }
    float Get(Float32Field f) const { return imagefield::Get(bytes_, f); }
    quint64 Get(CodeField f) const { return imagefield::Get(bytes_, f); }
    // The text up to the first NUL, or the whole field if it has none.
    QString Get(TextField f) const { return imagefield::Get(bytes_, f); }
    // Input 0..15 of the pair: checked if its bit is set in the second word,
    // else grayed (PartiallyChecked) if set in the first, else unchecked.
    Qt::CheckState Get(InputMaskPair f, int input) const { return imagefield::Get(bytes_, f, input); }

    std::span<Byte> Bytes(TextField f) const { return imagefield::Slice(bytes_, f.offset, f.size); }
    std::span<Byte> Bytes(RawField f) const { return imagefield::Slice(bytes_, f.offset, f.size); }

    // The value's low bits: -1 stores the all-ones value of the field (a
    // combo box without a selection).
    void Set(UField f, qint64 value) const requires Writable
    {
        imagefield::Set(bytes_, f, quint32(quint64(value) & f.Max()));
    }
    // A typed number: above the field's maximum it stores the maximum,
    // otherwise its low bits (a negative number in two's complement).
    void SetNumber(UField f, qint64 value) const requires Writable
    {
        Set(f, value > qint64(f.Max()) ? qint64(f.Max()) : value);
    }
    void Set(Int8Field f, int value) const requires Writable { imagefield::Set(bytes_, f, value); }
    void Set(Float32Field f, float value) const requires Writable { imagefield::Set(bytes_, f, value); }
    void Set(CodeField f, quint64 value) const requires Writable { imagefield::Set(bytes_, f, value); }
    // Bounded copy of the encoded text, NUL-padded, last byte forced to 0.
    void Set(TextField f, QStringView text) const requires Writable { imagefield::Set(bytes_, f, text); }
    // Forces the field's last byte to NUL.
    void Terminate(TextField f) const requires Writable { imagefield::Terminate(bytes_, f); }
    // The boxes of inputs 1..n (n <= 16); the bits of the inputs beyond
    // them are written as 0 in both words.
    void Set(InputMaskPair f, std::span<const Qt::CheckState> inputs) const requires Writable
    {
        imagefield::Set(bytes_, f, inputs);
    }

private:
    std::span<Byte> bytes_;
};

using FieldView = BasicFieldView<quint8>;
using ConstFieldView = BasicFieldView<const quint8>;
