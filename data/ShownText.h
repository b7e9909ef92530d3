#pragma once

#include <string>
#include <string_view>

// A text from outside (a path, a value of the settings file, an option) as a message shows
// it: valid UTF-8 stays as it is, every control character and every byte that is not part
// of valid UTF-8 is written out ("\n", "\r", "\t", "\x1b", "\xff"), so that a message stays
// one line and cannot move the cursor, colour the terminal or end a line of its own.
// Backslashes stay as they are: Windows paths are full of them.
std::string ShownText(std::string_view text);
