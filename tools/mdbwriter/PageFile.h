#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/mdbwriter/PageBytes.h"

namespace jet {

// The database file as a sequence of 4096-byte pages. Page numbers are handed out in
// order; pages may be written in any order, and a written page can be patched later
// (a moved row's pointer is only known once its new page exists).
class PageFile {
public:
    explicit PageFile(std::string path);  // creates or truncates the file
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    std::uint32_t Allocate();
    std::uint32_t PageCount() const { return m_next; }
    void Write(std::uint32_t page, const Page& bytes);
    void Patch(std::uint32_t page, std::size_t offset, const std::vector<std::uint8_t>& bytes);
    // Flushes and closes; throws when any page was handed out but never written, or the
    // disk refused the data.
    void Close();
    const std::string& Path() const { return m_path; }

private:
    void Seek(std::uint64_t offset);
    [[noreturn]] void Fail(const std::string& doing) const;

    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::string m_path;
    std::unique_ptr<std::FILE, Closer> m_file;
    std::uint32_t m_next = 0;
    std::vector<bool> m_written;
};

}  // namespace jet
