#include "settings/ProfileText.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

std::string EncodeUtf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Converts with glibc's iconv. Where the input cannot be converted, `unitSize` bytes are
// replaced: Windows-1252 leaves five byte values undefined, and Windows turns those into
// the control characters of the same number rather than refusing them, so they keep
// their value; in the Unicode encodings a broken sequence becomes U+FFFD.
// glibc's UTF-8 to UTF-8 conversion lets through code points above U+10FFFF, which its
// conversion to UTF-16 refuses: UTF-8 is checked that way and, where sound, kept as it is.
std::string Convert(std::string_view in, const char* from, std::size_t unitSize) {
    const bool checkOnly = std::string_view(from) == "UTF-8";
    IconvHandle cd(iconv_open(checkOnly ? "UTF-16LE" : "UTF-8", from));
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error(std::string("The C library cannot convert text from ") + from +
                                 " to UTF-8; install the glibc locale data (package libc6).");
    }
    std::string out;
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const char* const taken = inPtr;
        std::size_t result = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        if (checkOnly) {
            out.append(taken, static_cast<std::size_t>(inPtr - taken));
        } else {
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        }
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        std::size_t skip = std::min(unitSize, inLeft);
        if (unitSize == 1 && errno == EILSEQ && std::string_view(from) == "CP1252") {
            out += EncodeUtf8(static_cast<unsigned char>(*inPtr));
        } else {
            out += kReplacement;
        }
        inPtr += skip;
        inLeft -= skip;
    }
    return out;
}

}  // namespace

ProfileText ProfileText::Decode(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return ProfileText(Convert(bytes.substr(3), "UTF-8", 1), Encoding::Utf8);
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return ProfileText(Convert(bytes.substr(2), "UTF-16LE", 2), Encoding::Utf16LE);
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return ProfileText(Convert(bytes.substr(2), "UTF-16BE", 2), Encoding::Utf16BE);
    }
    return ProfileText(Convert(bytes, "CP1252", 1), Encoding::Ansi1252);
}

std::size_t ProfileText::Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

std::size_t ProfileText::SourceWidthAt(std::string_view utf8, std::size_t pos) const {
    std::size_t length = Utf8Length(static_cast<unsigned char>(utf8[pos]));
    switch (m_encoding) {
    case Encoding::Ansi1252:
        return 1;
    case Encoding::Utf8:
        return length;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return length == 4 ? 4 : 2;
    }
    return length;
}
