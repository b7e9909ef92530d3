#pragma once

#include <string>
#include <vector>

#include "data/CDaoException.h"
#include "data/DbEngine.h"

// Every row the engine delivers from a table, each value as text, and the text of the
// reader's error when one ended the reading ("" when it read to the end).
struct TableRead {
    std::vector<std::vector<std::string>> rows;
    std::string error;

    static TableRead Of(DbEngine& engine, const std::string& path, const std::string& table,
                        const std::vector<ColumnRequest>& columns) {
        TableRead read;
        try {
            engine.OpenDatabase(path);
            auto cursor = engine.OpenTable(path, table, columns);
            for (std::vector<std::string> values; cursor->Next(values);) read.rows.push_back(values);
        } catch (const CDaoException& e) {
            read.error = e.what();
        }
        return read;
    }
};
