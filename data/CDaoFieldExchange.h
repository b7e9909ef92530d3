#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/DbEngine.h"

// Joins a recordset's members to its columns, in binding order. A recordset's
// DoFieldExchange calls DFX_Text, DFX_Long and DFX_Bool once per column; the exchange
// either collects the column list (when the recordset opens), moves the current row's
// values into the members, or resets the members to empty and zero.
class CDaoFieldExchange {
public:
    enum Operation { DescribeColumns, FetchRow, ClearMembers };

    // Columns are collected into *columns; `fetched` says which of them are read (an
    // empty list means all).
    static CDaoFieldExchange Describe(std::vector<ColumnRequest>* columns, const std::vector<std::string>* fetched);
    // columns is the list collected when the recordset opened, values the row's fetched
    // columns in binding order.
    static CDaoFieldExchange Fetch(const std::vector<ColumnRequest>* columns, const std::vector<std::string>* values);
    static CDaoFieldExchange Clear();

    void Exchange(const char* column, FieldKind kind, std::string* text, int32_t* number, bool* flag);

private:
    explicit CDaoFieldExchange(Operation op) : m_op(op) {}
    bool IsFetched(const std::string& name) const;

    Operation m_op;
    std::vector<ColumnRequest>* m_describe = nullptr;
    const std::vector<ColumnRequest>* m_columns = nullptr;
    const std::vector<std::string>* m_fetchedNames = nullptr;
    const std::vector<std::string>* m_values = nullptr;
    std::size_t m_column = 0;
    std::size_t m_value = 0;
};

// The column name is written as it is handed to the database, in square brackets.
void DFX_Text(CDaoFieldExchange* pFX, const char* column, std::string& value, int preAllocate = 255);
void DFX_Long(CDaoFieldExchange* pFX, const char* column, int32_t& value);
void DFX_Bool(CDaoFieldExchange* pFX, const char* column, bool& value);

// "[QSO-DATE]" -> "QSO-DATE"; a name without brackets stays as it is.
std::string StripBrackets(const std::string& name);
