#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace jet {

// Text as Jet 4 stores it: UCS-2 little-endian, or "compressed unicode": a 0xFF 0xFE mark,
// then one byte per character, with a 0x00 byte switching to a run of two-byte characters
// and back.
class JetText {
public:
    // UTF-8 to UTF-16 code units. Throws WriteError on malformed UTF-8, naming `what`.
    static std::vector<std::uint16_t> ToUtf16(std::string_view utf8, std::string_view what);

    // The stored bytes of a value. Compression is tried only when `compressible` (Access
    // compresses text columns, and memo values of at most 1024 characters).
    static std::vector<std::uint8_t> Encode(const std::vector<std::uint16_t>& units, bool compressible);

    // Plain UCS-2, as names in table definitions are stored.
    static std::vector<std::uint8_t> Ucs2(std::string_view utf8, std::string_view what);

    static constexpr std::size_t kMaxCompressedMemoChars = 1024;

private:
    static std::optional<std::vector<std::uint8_t>> CompressedRuns(const std::vector<std::uint16_t>& units);
};

}  // namespace jet
