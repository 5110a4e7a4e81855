// Little-endian fields of the file formats the game writes (BMP, WAV, ICO).
#pragma once
#include <cstdint>

inline void put_u16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void put_u32(uint8_t* p, uint32_t v) {
    put_u16(p, v & 0xFFFFu);
    put_u16(p + 2, v >> 16);
}
