#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace jet {

// Text as Jet 4 stores it: UCS-2 little-endian (UTF-16, so a character beyond U+FFFF is a
// surrogate pair), or "compressed unicode": a 0xFF 0xFE mark, then one byte per character
// for characters up to U+00FF, with a zero byte switching into and out of runs of two-byte
// characters.
class JetText {
public:
    // UTF-8 to UTF-16 code units. Throws WriteError on malformed UTF-8, naming `what`.
    static std::vector<std::uint16_t> ToUtf16(std::string_view utf8, std::string_view what);

    // The stored bytes of a value, compressed as Access compresses it when `compressible`
    // (a column with Unicode compression on; memo values only up to 1024 characters) and
    // compression makes the value shorter.
    static std::vector<std::uint8_t> Encode(const std::vector<std::uint16_t>& units, bool compressible);

    // Plain UCS-2, as names in table definitions are stored.
    static std::vector<std::uint8_t> Ucs2(std::string_view utf8, std::string_view what);

    static constexpr std::size_t kMaxCompressedMemoChars = 1024;
};

}  // namespace jet
