#include "tests/support/TempDir.h"

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() : m_root((fs::temp_directory_path() / "morvask-test-XXXXXX").string()) {
    if (mkdtemp(m_root.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder " + m_root);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

std::vector<std::string> TempDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_root)) names.push_back(entry.path().filename());
    return names;
}

std::string TempDir::MakeDir(const std::string& relative) const {
    fs::create_directories(File(relative));
    return File(relative);
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& bytes) const {
    const fs::path path = File(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

void TempDir::MakeSocketAt(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    if (!bound) throw std::runtime_error("cannot make a socket at " + path);
}
