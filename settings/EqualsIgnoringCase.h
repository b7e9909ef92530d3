#pragma once

#include <string_view>

// Windows compares names of sections, keys, files and folders without regard to letter
// case, and Wine does the same for the host's file names: every letter that has a capital
// counts, not only A to Z ("Jörg" and "JÖRG" are one folder). Both texts are UTF-8; a
// byte that is not part of a valid character matches only itself.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
