#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/DbEngine.h"

// Reads Access files through libmdb. libmdb is not safe on damaged files (it crashes on
// some, loops for ever on others and prints to stdout and stderr), so every call checks
// the file itself first and then lets a forked reader process do the libmdb work; that
// process's crash, silence or appetite ends as a "damaged" CDaoException here.
class MdbEngine : public DbEngine {
public:
    struct Limits {
        // The reader is given up when nothing arrives from it for this long.
        std::chrono::milliseconds noProgressTimeout{30000};
        // The reader's address space.
        std::size_t memoryBytes = std::size_t{1} << 30;
        // Longest text or memo value read, in UTF-8 bytes; a longer one is an error.
        std::size_t valueBytes = std::size_t{1} << 20;
    };

    MdbEngine() = default;
    explicit MdbEngine(Limits limits) : m_limits(limits) {}

    void OpenDatabase(const std::string& path) override;
    std::unique_ptr<RowCursor> OpenTable(const std::string& path, const std::string& table,
                                         const std::vector<ColumnRequest>& columns) override;
    std::optional<std::string> ReadFirstValue(const std::string& path, const std::string& table) override;

private:
    Limits m_limits;
};
