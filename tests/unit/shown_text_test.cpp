#include <gtest/gtest.h>

#include <string>

#include "data/ShownText.h"

namespace {

// Paths and values as messages quote them: what a terminal would act on, and what is no
// text at all, is written out; letters of any script and Windows backslashes stay.
TEST(ShownText, ControlCharactersAndStrayBytesAreWrittenOut) {
    const struct {
        const char* name;
        std::string text, shown;
    } cases[] = {
        {"a Windows path stays", "C:\\Program Files\\Qervel\\Data\\Qervel.mdb",
         "C:\\Program Files\\Qervel\\Data\\Qervel.mdb"},
        {"letters beyond ASCII stay", "/home/jörg/Логи/日志.mdb", "/home/jörg/Логи/日志.mdb"},
        {"a newline would print a line of its own", "x.mdb\nTotal QSOs: 5", "x.mdb\\nTotal QSOs: 5"},
        {"an escape sequence would colour the terminal", "\x1b[31mred\x1b[0m.adi", "\\x1b[31mred\\x1b[0m.adi"},
        {"carriage return, tab, bell, delete", "a\rb\tc\ad\x7f", "a\\rb\\tc\\x07d\\x7f"},
        {"a NUL", std::string("a\0b", 3), "a\\x00b"},
        {"a C1 control, the one-byte escape sequence", "a\xc2\x9b" "31mb", "a\\xc2\\x9b31mb"},
        {"Windows-1252 bytes, no UTF-8", "J\xf6rg", "J\\xf6rg"},
        {"a sequence cut short at the end", "ab\xe6\x97", "ab\\xe6\\x97"},
        {"an overlong slash", "a\xc0\xaf" "b", "a\\xc0\\xafb"},
        {"a surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
        {"a stray continuation byte, then a letter", "\x80\xc3\xa9", "\\x80\xc3\xa9"},
    };
    for (const auto& row : cases) EXPECT_EQ(ShownText(row.text), row.shown) << row.name;
}

}  // namespace
