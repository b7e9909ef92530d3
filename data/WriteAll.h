#pragma once

#include <string_view>

// Hands all of `bytes` to the descriptor, going on after partial writes and interrupted
// calls. False on the first other failure, with errno telling why. The output file, the
// progress descriptor and the reader's pipe all write through it.
bool WriteAll(int fd, std::string_view bytes);
