#include "tools/mdbwriter/JetText.h"

#include <string>

#include "tools/mdbwriter/WriteError.h"

namespace jet {

namespace {

[[noreturn]] void Malformed(std::string_view what) {
    throw WriteError("malformed UTF-8 in " + std::string(what) + "; give the text as valid UTF-8");
}

}  // namespace

std::vector<std::uint16_t> JetText::ToUtf16(std::string_view utf8, std::string_view what) {
    std::vector<std::uint16_t> units;
    units.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = 0;
        std::size_t extra = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1Fu;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0Fu;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07u;
            extra = 3;
        } else {
            Malformed(what);
        }
        if (extra > 0 && i + extra >= utf8.size()) {
            Malformed(what);
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) {
                Malformed(what);
            }
            cp = (cp << 6) | (cont & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            Malformed(what);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(cp));
        }
        i += extra + 1;
    }
    return units;
}

std::vector<std::uint8_t> JetText::Encode(const std::vector<std::uint16_t>& units, bool compressible) {
    std::vector<std::uint8_t> out;
    if (units.empty()) {
        return out;
    }
    if (compressible) {
        if (auto runs = CompressedRuns(units)) {
            return *runs;
        }
    }
    out.reserve(units.size() * 2);
    for (const auto u : units) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

// A zero byte switches a compressed value between one-byte and two-byte runs, so no
// character may store a zero byte where a switch could stand: text with U+0000, or with
// a wide character whose low byte is zero, stays in UCS-2. Text of one-byte characters
// only is always compressed; mixed text only when the runs come out shorter.
std::optional<std::vector<std::uint8_t>> JetText::CompressedRuns(const std::vector<std::uint16_t>& units) {
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    bool oneByteRun = true;
    bool mixed = false;
    for (const auto u : units) {
        const bool fitsOneByte = u <= 0xFF;
        if (u == 0 || (!fitsOneByte && (u & 0xFF) == 0)) {
            return std::nullopt;
        }
        if (fitsOneByte != oneByteRun) {
            out.push_back(0x00);
            oneByteRun = fitsOneByte;
            mixed = true;
        }
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        if (!fitsOneByte) {
            out.push_back(static_cast<std::uint8_t>(u >> 8));
        }
    }
    if (mixed && out.size() >= units.size() * 2) {
        return std::nullopt;
    }
    return out;
}

std::vector<std::uint8_t> JetText::Ucs2(std::string_view utf8, std::string_view what) {
    return Encode(ToUtf16(utf8, what), false);
}

}  // namespace jet
