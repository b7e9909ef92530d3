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
    // A zero byte switches a compressed value into two-byte mode, so a character is only
    // compressed when it is neither zero nor wider than a byte.
    bool fitsOneByte = compressible;
    for (const auto u : units) {
        if (u == 0 || u > 0xFF) {
            fitsOneByte = false;
            break;
        }
    }
    if (fitsOneByte) {
        out.reserve(units.size() + 2);
        out.push_back(0xFF);
        out.push_back(0xFE);
        for (const auto u : units) {
            out.push_back(static_cast<std::uint8_t>(u));
        }
        return out;
    }
    out.reserve(units.size() * 2);
    for (const auto u : units) {
        out.push_back(static_cast<std::uint8_t>(u & 0xFF));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

std::vector<std::uint8_t> JetText::Ucs2(std::string_view utf8, std::string_view what) {
    return Encode(ToUtf16(utf8, what), false);
}

}  // namespace jet
