#pragma once

#include <string_view>

// Where the ADIF writer sends its bytes: one call per header line, field line or record end,
// each carrying the whole line.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Write(std::string_view line) = 0;
};
