#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include "tests/integration/ExporterProcess.h"

// What the exporter may open, and what it must leave alone.

namespace {

const std::string kSample = std::string(MORVASK_TEST_DATA) + "/sample";

std::vector<std::string> Args(const std::string& source, const std::string& refdata, const std::string& output) {
    return {"--source", source, "--refdata", refdata, "--output", output, "--oprcall", "PA3ABC"};
}

bool MakeSocket(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    bool made = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return made;
}

// A named pipe given as a database waited for ever for a writer. Whatever is no file is
// refused at once, in an export and in either check.
TEST(ExportCliFiles, ADatabasePathThatIsNoFileIsRefusedWithoutWaiting) {
    TempDir dir;
    const std::string pipe = dir.File("pipe.mdb"), socket = dir.File("socket.mdb"), adi = dir.File("x.adi");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    ASSERT_TRUE(MakeSocket(socket));
    const std::string source = kSample + "/source.mdb", refdata = kSample + "/Refdata.mdb";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {Args(pipe, refdata, adi), "'" + pipe + "' is not an Access database (it is a named pipe)"},
        {Args(source, pipe, adi), "'" + pipe + "' is not an Access database (it is a named pipe)"},
        {{"--check-source", "--source", pipe}, "(it is a named pipe)"},
        {{"--check-refdata", "--refdata", pipe}, "(it is a named pipe)"},
        {{"--check-source", "--source", socket}, "(it is a socket)"},
        {Args(source, "/dev/null", adi), "'/dev/null' is not an Access database (it is a character device)"},
    };
    for (const auto& [args, says] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        ExporterProcess run(args);
        EXPECT_EQ(run.WaitAtMost(std::chrono::seconds(20)), 1) << "-1: it was still waiting";
        EXPECT_NE(run.Stderr().find(says), std::string::npos) << run.Stderr();
    }
    EXPECT_EQ(dir.Entries().size(), 2u) << "an ADIF file was written";
}

}  // namespace
