#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/PageStream.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempDir.h"

// libmdb reads its pages through this stream as through its own: it asks where the file
// ends, seeks to a page and reads it. The answers must be those of the file as it is now.

namespace {

std::string Pages(std::size_t pageSize, int count, char first) {
    std::string bytes;
    for (int page = 0; page < count; ++page) {
        for (std::size_t i = 0; i < pageSize; ++i) bytes.push_back(static_cast<char>(first + page * 7 + i % 5));
    }
    return bytes;
}

TEST(PageStream, ReadsPagesAndTheEndAsTheFileIsNow) {
    for (std::size_t pageSize : {std::size_t{2048}, std::size_t{4096}}) {
        TempDir dir;
        const std::string path = dir.WriteFile("log.mdb", Pages(pageSize, 3, 'a'));
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        FILE* stream = PageStream::Open(fd, pageSize);
        ASSERT_NE(stream, nullptr);
        std::vector<char> page(pageSize);
        const auto size = static_cast<off_t>(pageSize);

        // As libmdb reads page 1: the end first, then the page.
        ASSERT_EQ(fseeko(stream, 0, SEEK_END), 0);
        EXPECT_EQ(ftello(stream), 3 * size) << pageSize;
        ASSERT_EQ(fseeko(stream, size, SEEK_SET), 0);
        ASSERT_EQ(fread(page.data(), 1, pageSize, stream), pageSize);
        EXPECT_EQ(std::string(page.data(), pageSize), Pages(pageSize, 3, 'a').substr(pageSize, pageSize));
        EXPECT_EQ(ftello(stream), 2 * size) << "after the read";

        // The file grows while it is read: its end is where it is now, and the new page reads.
        WriteFile(path, Pages(pageSize, 3, 'a') + Pages(pageSize, 1, 'A'));
        ASSERT_EQ(fseeko(stream, 0, SEEK_END), 0);
        EXPECT_EQ(ftello(stream), 4 * size) << pageSize << ": the end where it is now, not where it was";
        ASSERT_EQ(fseeko(stream, 3 * size, SEEK_SET), 0);
        ASSERT_EQ(fread(page.data(), 1, pageSize, stream), pageSize);
        EXPECT_EQ(std::string(page.data(), pageSize), Pages(pageSize, 1, 'A'));

        EXPECT_EQ(std::fclose(stream), 0);
        EXPECT_EQ(::fcntl(fd, F_GETFD), -1) << "the descriptor is closed with the stream";
    }
}

}  // namespace
