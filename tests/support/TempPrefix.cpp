#include "tests/support/TempPrefix.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempPrefix::TempPrefix() : m_root((fs::temp_directory_path() / "morvask-prefix-XXXXXX").string()) {
    if (mkdtemp(m_root.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory " + m_root);
    MakeDir("drive_c/windows");
    MakeDir("dosdevices");
    AddDosDevice("c:", "../drive_c");
}

TempPrefix::~TempPrefix() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

std::string TempPrefix::MakeDir(const std::string& relative) const {
    fs::create_directories(fs::path(m_root) / relative);
    return m_root + "/" + relative;
}

std::string TempPrefix::WriteFile(const std::string& relative, const std::string& bytes) const {
    fs::path path = fs::path(m_root) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

void TempPrefix::AddDosDevice(const std::string& name, const std::string& target) const {
    fs::create_directory_symlink(target, fs::path(m_root) / "dosdevices" / name);
}
