#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/MemoryEngine.h"

// A contact as the tests build it: the columns the export reads, with ordinary values
// that each test changes where it matters.
struct TestQso {
    std::string date = "20120115";
    std::string time = "1200";
    std::string call = "DL1ABC";
    std::string prefix = "DL";
    std::string mode = "2";
    std::string submode;
    std::string freq = "14025.50";
    std::string band = "6";
    std::string confirm = "0";
    std::string qsls = "0";
    std::string qslSentDate;
    std::string valid = "1";
    std::string award = "0";
    std::string oprCall = "PA3ABC";
    std::string qslRcvdDate;

    std::vector<std::optional<std::string>> Row() const {
        std::vector<std::optional<std::string>> row(41, std::string());
        row[0] = date;
        row[1] = time;
        row[2] = call;
        row[8] = prefix;
        row[11] = mode;
        row[12] = submode;
        row[13] = freq;
        row[14] = band;
        row[23] = confirm;
        row[24] = qsls;
        row[25] = qslSentDate;
        row[28] = valid;
        row[29] = award;
        row[35] = oprCall;
        row[36] = qslRcvdDate;
        return row;
    }
};

inline std::vector<std::optional<std::string>> PrefixRow(const std::string& prefix, const std::string& arrlId,
                                                         const std::string& country = "") {
    std::vector<std::optional<std::string>> row(12, std::string());
    row[0] = prefix;
    row[1] = country;
    row[4] = "0";
    row[5] = "0";
    row[6] = "0";
    row[9] = arrlId;
    return row;
}

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvask-export-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) names.push_back(entry.path().filename());
        return names;
    }

private:
    std::string m_path;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline const std::string kAdiHeader = "MorVask Special ADIF filemaker from Tamrik v[1.0]\r\n<EOH>\r\n\r\n";
