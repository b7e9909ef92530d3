#pragma once

#include <stdexcept>
#include <string>

// morvask-sampledb will not write where it could destroy something of the operator's: the
// text names the prefix, the file and why.
class SampleRefused : public std::runtime_error {
public:
    explicit SampleRefused(const std::string& what) : std::runtime_error(what) {}
};
