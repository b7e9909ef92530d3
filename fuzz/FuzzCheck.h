#pragma once

#include <glib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// What the fuzz targets hold the code to. A broken promise ends the run like a crash, so
// that libFuzzer keeps the input that broke it.
namespace fuzz {

// detail is shown with bytes outside printable ASCII written as \xHH.
[[noreturn]] inline void Broken(const char* promise, std::string_view detail = {}) {
    std::fprintf(stderr, "\nBROKEN: %s\n", promise);
    if (!detail.empty()) {
        std::fputs("  ", stderr);
        for (const char c : detail) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x20 && byte < 0x7F) {
                std::fputc(byte, stderr);
            } else {
                std::fprintf(stderr, "\\x%02X", byte);
            }
        }
        std::fputc('\n', stderr);
    }
    std::abort();
}

inline void Require(bool holds, const char* promise, std::string_view detail = {}) {
    if (!holds) Broken(promise, detail);
}

// Whether text is valid UTF-8. U+0000 counts as a character here, which glib's check
// refuses, so the pieces between NUL bytes are checked one by one.
inline bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t nul = text.find('\0');
        const std::string_view piece = text.substr(0, nul);
        if (!piece.empty() && !g_utf8_validate_len(piece.data(), piece.size(), nullptr)) return false;
        if (nul == std::string_view::npos) break;
        text.remove_prefix(nul + 1);
    }
    return true;
}

// The input as bytes to read, and pieces of it: fuzz inputs often carry more than one
// text, separated by a byte that the texts themselves may not hold.
inline std::string_view AsText(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::string_view TakeUntil(std::string_view& rest, char separator) {
    const std::size_t end = rest.find(separator);
    const std::string_view piece = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return piece;
}

}  // namespace fuzz
