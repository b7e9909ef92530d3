#include "export/QslStatus.h"

int QslStatus::Code(std::string_view text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
    return -1;
}

QslStatus::States QslStatus::Received(std::string_view confirm, int32_t award) {
    int code = Code(confirm);
    if (code < 0) return {};
    // Bit 0 taken from the unsigned value, so that negative flags (two's complement) and
    // values above 511 are read like every other.
    std::string_view yes = (static_cast<uint32_t>(award) & 1u) != 0 ? "V" : "Y";
    return {(code & 1) != 0 ? yes : "N", (code & 2) != 0 ? yes : "N"};
}

QslStatus::States QslStatus::Sent(std::string_view qsls) {
    int code = Code(qsls);
    if (code < 0) return {};
    return {(code & 1) != 0 ? "Y" : "N", (code & 2) != 0 ? "Y" : "N"};
}
