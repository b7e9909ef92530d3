#pragma once

#include <string>
#include <string_view>

// Text and memo values as Jet 4 stores them, turned into UTF-8. A value is either UCS-2
// little-endian or, behind the mark 0xFF 0xFE, "compressed": one byte per character
// (U+0001 to U+00FF), where a 0x00 byte switches to two-byte characters and the next
// 0x00 back again. A character beyond the Basic Multilingual Plane is stored as a
// surrogate pair and becomes one four-byte UTF-8 character.
//
// Damaged text never gives invalid UTF-8: a surrogate without its partner, and a last
// byte left over from a two-byte character, each become U+FFFD (the replacement
// character), so that the loss shows in the value instead of passing for text.
class JetTextDecoder {
public:
    // Replaces out with the UTF-8 of the stored bytes.
    static void Decode(std::string_view stored, std::string& out);
    // The UTF-8 of the stored bytes without a copy where none is needed: a part of stored
    // when its bytes are their own UTF-8 (compressed ASCII, as most values of a log are),
    // else scratch, which then holds the decoded text. Valid as long as both are.
    static std::string_view Utf8Of(std::string_view stored, std::string& scratch);
};
