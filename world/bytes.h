// Little-endian fields of the files the game reads (pictures and sounds), from bytes already
// checked to be there.
#pragma once

#include <cstdint>

inline uint32_t ReadLe16(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
inline uint32_t ReadLe32(const uint8_t *p) { return ReadLe16(p) | ReadLe16(p + 2) << 16; }
