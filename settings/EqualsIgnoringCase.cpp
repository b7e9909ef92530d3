#include "settings/EqualsIgnoringCase.h"

#include <locale.h>
#include <wctype.h>

namespace {

// Past the last code point, so that a stray byte never equals a character.
constexpr char32_t kStrayByte = 0x110000;

// The code point at `pos` of UTF-8 text, advancing `pos` past it.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byteAt = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(pos);
    const std::size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if (length == 1 || pos + length > text.size()) {
        ++pos;
        return kStrayByte + lead;
    }
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byteAt(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kStrayByte + lead;
        }
        codePoint = (codePoint << 6) | (byteAt(pos + i) & 0x3F);
    }
    pos += length;
    return codePoint;
}

// The capital of a letter by the Unicode tables of the C library's UTF-8 locale, which
// does not depend on the locale the program runs in.
char32_t Capital(char32_t c) {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (c >= kStrayByte) return c;
    if (utf8 != static_cast<locale_t>(nullptr)) return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), utf8));
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (Capital(NextCodePoint(a, i)) != Capital(NextCodePoint(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}
