#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

// A tool run through the shell, with what it wrote to standard output and error.
struct ShellCommand {
    int status;
    std::string output;

    static ShellCommand Run(const std::string& command) {
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
        std::string out;
        std::array<char, 65536> buf{};
        std::size_t n = 0;
        while (pipe && (n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) {
            out.append(buf.data(), n);
        }
        const int status = pipe ? pclose(pipe.release()) : -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }
};
