#include "toolkit/CheckByte.h"

std::uint8_t CheckByte(std::span<const std::uint8_t> bytes)
{
    std::uint8_t x = 0;
    for (std::uint8_t b : bytes)
        x ^= b;
    return std::uint8_t(0x100 - x);
}
