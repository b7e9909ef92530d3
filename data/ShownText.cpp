#include "data/ShownText.h"

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendEscaped(std::string& out, unsigned char byte) {
    switch (byte) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0f];
    }
}

// The length of the valid UTF-8 sequence at the start of `text` and its code point, or 0
// when it is none: a stray continuation byte, a sequence cut short, an overlong form, a
// surrogate or a value past U+10FFFF.
std::size_t Utf8Sequence(std::string_view text, char32_t& point) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t least = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2, point = lead & 0x1f, least = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3, point = lead & 0x0f, least = 0x800;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4, point = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xc0) != 0x80) return 0;
        point = (point << 6) | (next & 0x3f);
    }
    if (point < least || point > 0x10ffff || (point >= 0xd800 && point <= 0xdfff)) return 0;
    return length;
}

}  // namespace

std::string ShownText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (byte >= 0x20 && byte < 0x7f) {
            out += static_cast<char>(byte);
            text.remove_prefix(1);
            continue;
        }
        char32_t point = 0;
        const std::size_t length = byte < 0x80 ? 0 : Utf8Sequence(text, point);
        // The C1 controls (U+0080 to U+009F) act on a terminal as their escape sequences do.
        if (length == 0 || point < 0xa0) {
            const std::size_t shown = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < shown; ++i) AppendEscaped(out, static_cast<unsigned char>(text[i]));
            text.remove_prefix(shown);
            continue;
        }
        out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}
