#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

// A file's bytes, read whole ("" when it cannot be read), and written whole.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string Repeated(const std::string& piece, std::size_t times) {
    std::string out;
    while (times-- > 0) out += piece;
    return out;
}

// Numbers in an Access file's bytes: little-endian, whatever the machine.
inline std::uint32_t GetU16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
inline std::uint32_t GetU32(const std::string& bytes, std::size_t at) {
    return GetU16(bytes, at) | GetU16(bytes, at + 2) << 16;
}
inline void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
