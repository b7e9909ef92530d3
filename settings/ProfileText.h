#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text of a settings file as the profile functions see it: Windows-1252 unless a
// byte-order mark says UTF-8 or UTF-16, handed on as UTF-8. Bytes that cannot be decoded
// become U+FFFD, so that whatever the file holds, the result is valid UTF-8.
class ProfileText {
public:
    enum class Encoding { Ansi1252, Utf8, Utf16LE, Utf16BE };

    static ProfileText Decode(std::string_view fileBytes);

    const std::string& Utf8() const { return m_utf8; }

    // How many bytes of the file the UTF-8 character starting at `utf8[pos]` took; value
    // lengths are counted in the file's own bytes, as the 512-byte buffer counts them.
    std::size_t SourceWidthAt(std::string_view utf8, std::size_t pos) const;

    // Length in bytes of the UTF-8 character whose lead byte is `lead`.
    static std::size_t Utf8Length(unsigned char lead);

private:
    ProfileText(std::string utf8, Encoding encoding) : m_utf8(std::move(utf8)), m_encoding(encoding) {}

    std::string m_utf8;
    Encoding m_encoding;
};
