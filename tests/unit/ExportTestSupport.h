#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/MemoryEngine.h"

// A contact as the tests build it: ordinary values in the columns the export reads.
struct TestQso {
    std::string date = "20120115", time = "1200", call = "DL1ABC", prefix = "DL", mode = "2", submode,
                freq = "14025.50", band = "6", confirm = "0", qsls = "0", qslSentDate, valid = "1", award = "0",
                oprCall = "PA3ABC", qslRcvdDate;

    std::vector<std::optional<std::string>> Row() const {
        std::vector<std::optional<std::string>> row(41, std::string());
        const std::pair<int, const std::string*> columns[] = {
            {0, &date},         {1, &time},   {2, &call},   {8, &prefix},   {11, &mode},
            {12, &submode},     {13, &freq},  {14, &band},  {23, &confirm}, {24, &qsls},
            {25, &qslSentDate}, {28, &valid}, {29, &award}, {35, &oprCall}, {36, &qslRcvdDate}};
        for (const auto& [index, value] : columns) row[static_cast<std::size_t>(index)] = *value;
        return row;
    }
};

inline std::vector<std::optional<std::string>> PrefixRow(const std::string& prefix, const std::string& arrlId,
                                                         const std::string& country = "") {
    return {prefix, country, "", "", "0", "0", "0", "", "", arrlId, "", ""};
}

// A fresh directory, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvask-export-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

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
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
