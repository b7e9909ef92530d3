#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/sampledb/SampleInstallation.h"

// morvask-sampledb PREFIX [--contacts N] [--seed S]: writes a sample Qervel installation
// into the Wine prefix PREFIX.

namespace {

int Usage(const std::string& problem) {
    std::cerr << "morvask-sampledb: " << problem << "\n"
              << "usage: morvask-sampledb PREFIX [--contacts N] [--seed S]\n";
    return 2;
}

bool ParseCount(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string prefix;
    SampleInstallation::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contacts" || arg == "--seed") {
            unsigned long long value = 0;
            if (i + 1 >= argc || !ParseCount(argv[i + 1], value)) {
                return Usage(arg + " needs a whole number");
            }
            ++i;
            if (arg == "--contacts") {
                if (value > 100'000'000ULL) {
                    return Usage("--contacts takes at most 100000000");
                }
                options.contacts = static_cast<long>(value);
            } else {
                options.seed = value;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("unknown option " + arg);
        } else if (prefix.empty()) {
            prefix = arg;
        } else {
            return Usage("only one PREFIX may be given");
        }
    }
    if (prefix.empty()) {
        return Usage("PREFIX is missing");
    }
    try {
        const auto summary = SampleInstallation::Write(prefix, options);
        std::cout << "Sample installation written to " << prefix << "\n"
                  << "  settings file  " << summary.iniFile.string() << "\n"
                  << "  log            " << summary.logFile.string() << " (" << summary.contactsLive << " contacts, "
                  << summary.contactsWritten - summary.contactsLive << " deleted)\n"
                  << "  prefix list    " << summary.refdataFile.string() << " (" << summary.prefixes << " prefixes)\n";
    } catch (const std::exception& e) {
        std::cerr << "morvask-sampledb: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
