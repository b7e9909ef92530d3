#pragma once

#include <string_view>

// Hands all of `bytes` to the descriptor, going on after partial writes and interrupted
// calls, and waiting on a descriptor that was made non-blocking rather than giving up on it.
// False on the first other failure, with errno telling why. The output file, the progress
// channel and the reader's pipe all write through it.
bool WriteAll(int fd, std::string_view bytes);
