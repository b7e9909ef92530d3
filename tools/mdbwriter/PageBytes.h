#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace jet {

inline constexpr std::size_t kPageSize = 4096;
using Page = std::array<std::uint8_t, kPageSize>;

// Jet stores every number little-endian, whatever the machine.
template <typename Buffer>
void PutU16(Buffer& buf, std::size_t at, std::uint32_t value) {
    buf[at] = static_cast<std::uint8_t>(value & 0xFF);
    buf[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

template <typename Buffer>
void PutU32(Buffer& buf, std::size_t at, std::uint32_t value) {
    PutU16(buf, at, value & 0xFFFF);
    PutU16(buf, at + 2, value >> 16);
}

template <typename Buffer>
std::uint32_t GetU16(const Buffer& buf, std::size_t at) {
    return static_cast<std::uint32_t>(buf[at] | (buf[at + 1] << 8));
}

template <typename Buffer>
std::uint32_t GetU32(const Buffer& buf, std::size_t at) {
    return GetU16(buf, at) | (GetU16(buf, at + 2) << 16);
}

// A row address as Jet writes it in pointers: page number in the upper three bytes,
// row number in the lowest.
inline std::uint32_t PageRow(std::uint32_t page, std::uint32_t row) { return (page << 8) | (row & 0xFF); }

}  // namespace jet
