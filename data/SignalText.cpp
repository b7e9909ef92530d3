#include "data/SignalText.h"

#include <cstring>

std::string SignalText(int sig) {
    const char* description = ::sigdescr_np(sig);
    std::string text = "signal " + std::to_string(sig);
    if (description) text.append(" (").append(description).append(")");
    return text;
}
