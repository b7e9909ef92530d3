#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/DbEngine.h"

// Joins a recordset's members to its columns, in binding order. A recordset's
// DoFieldExchange calls DFX_Text, DFX_Long and DFX_Bool once per column; the exchange
// either collects the column list and the members of the fetched columns (when the
// recordset opens), or resets the members to empty and zero. Rows are then copied into
// the collected members straight from the cursor's bytes, so a row costs one copy per
// fetched column and nothing for the columns that are only bound.
class CDaoFieldExchange {
public:
    enum Operation { DescribeColumns, ClearMembers };

    // The member a fetched column's value goes to: one of the three pointers is set.
    struct Binding {
        const char* column = nullptr;  // as bound, in brackets
        std::string* text = nullptr;
        int32_t* number = nullptr;
        bool* flag = nullptr;

        // Copies one value, as the cursor delivers it, into the member. Numbers arrive as
        // decimal text, NULL as "". Throws CDaoException for a number that is none.
        void Load(std::string_view value) const;
    };

    // Columns are collected into *columns, and the members of the fetched ones, in the
    // same order, into *members; `fetched` says which columns are read (an empty list
    // means all).
    static CDaoFieldExchange Describe(std::vector<ColumnRequest>* columns, const std::vector<std::string>* fetched,
                                      std::vector<Binding>* members);
    static CDaoFieldExchange Clear();

    void Exchange(const char* column, FieldKind kind, std::string* text, int32_t* number, bool* flag);

private:
    explicit CDaoFieldExchange(Operation op) : m_op(op) {}
    bool IsFetched(const std::string& name) const;

    Operation m_op;
    std::vector<ColumnRequest>* m_describe = nullptr;
    const std::vector<std::string>* m_fetchedNames = nullptr;
    std::vector<Binding>* m_members = nullptr;
};

// The column name is written as it is handed to the database, in square brackets.
void DFX_Text(CDaoFieldExchange* pFX, const char* column, std::string& value, int preAllocate = 255);
void DFX_Long(CDaoFieldExchange* pFX, const char* column, int32_t& value);
void DFX_Bool(CDaoFieldExchange* pFX, const char* column, bool& value);

// "[QSO-DATE]" -> "QSO-DATE"; a name without brackets stays as it is.
std::string StripBrackets(const std::string& name);
