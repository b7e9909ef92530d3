#include "tools/mdbwriter/PageFile.h"

#include <cerrno>
#include <cstring>

#include "tools/mdbwriter/WriteError.h"

namespace jet {

PageFile::PageFile(std::string path) : m_path(std::move(path)) {
    m_file.reset(std::fopen(m_path.c_str(), "wb"));
    if (!m_file) {
        Fail("create");
    }
}

std::uint32_t PageFile::Allocate() {
    m_written.push_back(false);
    return m_next++;
}

void PageFile::Seek(std::uint64_t offset) {
    if (fseeko(m_file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
        Fail("seek in");
    }
}

void PageFile::Write(std::uint32_t page, const Page& bytes) {
    if (page >= m_next) {
        throw WriteError("page " + std::to_string(page) + " of " + m_path + " was never allocated");
    }
    Seek(std::uint64_t{page} * kPageSize);
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size()) {
        Fail("write");
    }
    m_written[page] = true;
}

void PageFile::Patch(std::uint32_t page, std::size_t offset, const std::vector<std::uint8_t>& bytes) {
    if (page >= m_next || !m_written[page] || offset + bytes.size() > kPageSize) {
        throw WriteError("cannot patch page " + std::to_string(page) + " of " + m_path + " before it is written");
    }
    Seek(std::uint64_t{page} * kPageSize + offset);
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) != bytes.size()) {
        Fail("write");
    }
}

void PageFile::Close() {
    if (!m_file) {
        return;
    }
    for (std::uint32_t page = 0; page < m_next; ++page) {
        if (!m_written[page]) {
            throw WriteError("page " + std::to_string(page) + " of " + m_path + " was allocated but never written");
        }
    }
    if (std::fflush(m_file.get()) != 0) {
        Fail("write");
    }
    if (std::fclose(m_file.release()) != 0) {
        Fail("close");
    }
}

void PageFile::Fail(const std::string& doing) const {
    throw WriteError("cannot " + doing + " " + m_path + ": " + std::strerror(errno) +
                     "; check that the folder exists, is writable and has room");
}

}  // namespace jet
