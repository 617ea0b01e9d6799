#pragma once
// Explicit byte-order encoding and decoding for every binary format of the program:
// the unit's wire format is big-endian, files on disk are little-endian.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tolm {

inline std::uint32_t loadLe32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint16_t loadLe16(const unsigned char* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}
inline std::uint32_t loadBe32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}
inline std::uint16_t loadBe16(const unsigned char* p) {
    return std::uint16_t(p[0] << 8 | p[1]);
}
inline void storeLe32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}
inline void storeLe16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
inline void storeBe32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}
inline void storeBe16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

inline std::int32_t loadLeI32(const unsigned char* p) {
    return static_cast<std::int32_t>(loadLe32(p));
}
inline std::int16_t loadLeI16(const unsigned char* p) {
    return static_cast<std::int16_t>(loadLe16(p));
}
inline void storeLeI32(unsigned char* p, std::int32_t v) {
    storeLe32(p, static_cast<std::uint32_t>(v));
}
inline void storeLeI16(unsigned char* p, std::int16_t v) {
    storeLe16(p, static_cast<std::uint16_t>(v));
}

inline float loadLeF32(const unsigned char* p) {
    const std::uint32_t bits = loadLe32(p);
    float f;
    static_assert(sizeof f == sizeof bits);
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
inline void storeLeF32(unsigned char* p, float f) {
    std::uint32_t bits;
    static_assert(sizeof f == sizeof bits);
    std::memcpy(&bits, &f, sizeof bits);
    storeLe32(p, bits);
}

// Overloads on char buffers, as QByteArray::data() hands them out.
inline std::uint32_t loadLe32(const char* p) {
    return loadLe32(reinterpret_cast<const unsigned char*>(p));
}
inline std::uint32_t loadBe32(const char* p) {
    return loadBe32(reinterpret_cast<const unsigned char*>(p));
}
inline std::int32_t loadLeI32(const char* p) {
    return loadLeI32(reinterpret_cast<const unsigned char*>(p));
}
inline std::int16_t loadLeI16(const char* p) {
    return loadLeI16(reinterpret_cast<const unsigned char*>(p));
}
inline float loadLeF32(const char* p) {
    return loadLeF32(reinterpret_cast<const unsigned char*>(p));
}
inline void storeLe32(char* p, std::uint32_t v) {
    storeLe32(reinterpret_cast<unsigned char*>(p), v);
}
inline void storeBe32(char* p, std::uint32_t v) {
    storeBe32(reinterpret_cast<unsigned char*>(p), v);
}
inline void storeLeI32(char* p, std::int32_t v) {
    storeLeI32(reinterpret_cast<unsigned char*>(p), v);
}
inline void storeLeI16(char* p, std::int16_t v) {
    storeLeI16(reinterpret_cast<unsigned char*>(p), v);
}
inline void storeLeF32(char* p, float f) {
    storeLeF32(reinterpret_cast<unsigned char*>(p), f);
}

}  // namespace tolm
