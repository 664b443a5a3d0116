#pragma once
// The check byte of the controller's frames and of both programs' files;
// each caller chooses the bytes it covers.
#include <cstdint>
#include <span>

// The two's-complement negation of the XOR of the bytes: 0 for none.
std::uint8_t CheckByte(std::span<const std::uint8_t> bytes);
