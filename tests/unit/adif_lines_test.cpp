#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "export/AdiOutputFile.h"
#include "export/AdifWriter.h"
#include "tests/support/FileBytes.h"
#include "tests/support/LengthTrace.h"
#include "tests/support/TempDir.h"

// The ADIF file is put together line by line in the file's own block; whatever the length
// of a value, the file must hold the lines as written, and the trace the lengths as the line
// says.

namespace {

TEST(AdifLines, TheFileHoldsTheLinesAsWrittenWhateverTheirLength) {
    const std::string header = "MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n<EOH>\r\n\r\n";
    struct Case {
        const char* what;
        std::vector<std::size_t> lengths;  // of the counted values, each followed by a date
    };
    std::vector<std::size_t> many;
    for (std::size_t i = 0; i < 20000; ++i) many.push_back(i * 7 % 301);
    const std::vector<Case> cases = {
        {"lengths where a digit is added", {0, 1, 9, 10, 99, 100, 999, 1000, 9999, 10000}},
        {"lines around the size of the block", {65510, 65515, 65520, 65524, 65525, 65526, 65530, 65535, 65536, 65537}},
        {"a megabyte between short lines", {3, 1 << 20, 0, 5}},
        {"thousands of lines over many blocks", many},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("adiUpld2Morvask.adi");
        std::string lines = header;
        std::ostringstream trace;
        {
            AdiOutputFile file(path);
            AdifWriter writer(file, &trace);
            writer.WriteHeader();
            for (std::size_t i = 0; i < c.lengths.size(); ++i) {
                const std::string call(c.lengths[i], static_cast<char>('A' + i % 26));
                const std::string date = i % 3 ? "20240229" : "2024";
                writer.WriteCounted("<CALL:", call);
                writer.WriteDate("<QSO_DATE:", date);
                lines += "<CALL:" + std::to_string(call.size()) + ">" + call +
                         "\r\n<QSO_DATE:" + std::to_string(date.size()) + ">" + date + "\r\n";
            }
            writer.WriteRecordEnd();
            file.Commit();
        }
        lines += "<EOR>\r\n\r\n";
        EXPECT_TRUE(ReadFile(path) == lines) << c.what << ": the file";
        EXPECT_TRUE(trace.str() == LengthTrace(lines)) << c.what << ": the trace";
    }
}

}  // namespace
