#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "export/AdiOutputFile.h"
#include "export/AdifWriter.h"
#include "export/CFileException.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempPrefix.h"

// The ADIF file is put together line by line in the file's own block; whatever the length
// of a value, the file must hold the lines as a plain sink receives them, and the trace the
// lengths as the line says.

namespace {

// Keeps every line as Write receives it: each line is put together apart and handed over whole.
class LineRecorder : public LineSink {
public:
    void Write(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

struct Field {
    bool date;
    std::string tag;
    std::string value;
};

std::string Line(const Field& field) {
    return field.tag + std::to_string(field.value.size()) + ">" + field.value + "\r\n";
}

std::string TraceLine(std::size_t length) {
    return "String of integer " + std::to_string(length) + " (radix 10): " + std::to_string(length) + "\n";
}

void WriteAll(AdifWriter& writer, const std::vector<Field>& fields) {
    writer.WriteHeader();
    for (const Field& field : fields) {
        if (field.date) {
            writer.WriteDate(field.tag, field.value);
        } else {
            writer.WriteCounted(field.tag, field.value);
        }
    }
    writer.WriteRecordEnd();
}

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
        std::vector<Field> fields;
        std::string lines;
        std::string trace;
        for (std::size_t i = 0; i < c.lengths.size(); ++i) {
            fields.push_back({false, "<CALL:", std::string(c.lengths[i], static_cast<char>('A' + i % 26))});
            fields.push_back({true, "<QSO_DATE:", i % 3 ? "20240229" : "2024"});
            trace += TraceLine(c.lengths[i]);
        }
        for (const Field& field : fields) lines += Line(field);
        lines += "<EOR>\r\n\r\n";

        LineRecorder recorder;
        std::ostringstream recordedTrace;
        {
            AdifWriter writer(recorder, &recordedTrace);
            WriteAll(writer, fields);
        }
        std::string joined;
        for (const std::string& line : recorder.lines) {
            EXPECT_TRUE(line.ends_with("\r\n")) << c.what << ": a line handed over in pieces";
            joined += line;
        }
        EXPECT_EQ(recorder.lines.size(), 3 + fields.size() + 1) << c.what;
        EXPECT_TRUE(joined == header + lines) << c.what << ": the lines a plain sink receives";
        EXPECT_TRUE(recordedTrace.str() == trace) << c.what << ": the trace";

        TempPrefix dir;
        const std::string path = dir.Root() + "/adiUpld2Morvask.adi";
        std::ostringstream fileTrace;
        {
            AdiOutputFile file(path);
            AdifWriter writer(file, &fileTrace);
            WriteAll(writer, fields);
            file.Commit();
        }
        EXPECT_TRUE(ReadFile(path) == header + lines) << c.what << ": the file";
        EXPECT_TRUE(fileTrace.str() == trace) << c.what << ": the trace beside the file";
    }
}

TEST(AdifLines, AFileThatIsDoneTakesNoMoreLines) {
    TempPrefix dir;
    AdiOutputFile file(dir.Root() + "/adiUpld2Morvask.adi");
    AdifWriter writer(file, nullptr);
    writer.WriteHeader();
    file.Commit();
    EXPECT_THROW(writer.WriteCounted("<CALL:", "PA3ABC"), CFileException);
    EXPECT_THROW(writer.WriteDate("<QSO_DATE:", ""), CFileException);
    EXPECT_THROW(writer.WriteRecordEnd(), CFileException);
}

}  // namespace
