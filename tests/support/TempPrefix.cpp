#include "tests/support/TempPrefix.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

TempPrefix::TempPrefix() {
    std::string pattern = (fs::temp_directory_path() / "morvask-prefix-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory from " + pattern);
    }
    m_root = buffer.data();
    MakeDir("drive_c/windows");
    MakeDir("dosdevices");
    AddDosDevice("c:", "../drive_c");
}

TempPrefix::~TempPrefix() {
    std::error_code error;
    fs::remove_all(m_root, error);
}

std::string TempPrefix::MakeDir(const std::string& relative) const {
    fs::path path = fs::path(m_root) / relative;
    fs::create_directories(path);
    return path.string();
}

std::string TempPrefix::WriteFile(const std::string& relative, const std::string& bytes) const {
    fs::path path = fs::path(m_root) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

void TempPrefix::AddDosDevice(const std::string& name, const std::string& target) const {
    fs::create_directory_symlink(target, fs::path(m_root) / "dosdevices" / name);
}
