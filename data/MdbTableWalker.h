#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/MdbLib.h"
#include "data/MdbLongValue.h"
#include "data/MdbRowCracker.h"

class MdbDatabase;

// Walks the data pages of one table as Access presents its rows: page by page, slot by
// slot. A slot whose offset carries 0x8000 is a deleted row; one that carries 0x4000 holds
// the row number and page where the row's data went when an edit made it grow (that data
// is itself flagged deleted, so it is met only through its pointer). libmdb's own
// fetch reads these two flags the other way round, which skips edited rows, returns them
// at the end and brings deleted ones back; hence this walk. libmdb takes the rows apart;
// text and memo values of Access 2000 and later files are turned into UTF-8 here, whole,
// and other values as DAO gives them. Runs only in the reader process; damage it meets is
// thrown as CDaoException.
class MdbTableWalker {
public:
    struct Row {
        // One per requested column, in request order. A value is lent, not copied: it may
        // lie in the page buffer or in the walker's own, and holds only until the walk
        // goes on.
        std::vector<std::string_view> values;
        std::vector<char> isNull;
    };

    // columns: indexes into table->columns, in the order the values are wanted.
    MdbTableWalker(MdbDatabase& db, MdbTableDef* table, std::string tableName, std::vector<int> columns);

    // Hands every row to onRow until it returns false; returns the number of rows handed.
    unsigned long Walk(const std::function<bool(const Row&)>& onRow);

private:
    // The number of row slots on the data page the walk stands on; damage when they cannot fit.
    unsigned SlotCount(int page) const;
    // Takes apart the row in `slot` of the walk's page into m_row; false for a deleted row.
    bool ReadSlot(int page, unsigned slot);
    // A row that an edit made grow: its slot holds the page and slot where its data went.
    // Reads it from there and brings the walk's page back.
    void ReadMovedRow(int page, int start, std::size_t length);
    std::size_t PageSize() const { return static_cast<std::size_t>(m_mdb->fmt->pg_size); }
    void CrackAndConvert(int start, std::size_t length);
    void Convert(MdbColumn* column, const MdbField& field, std::size_t i);
    std::string_view ConvertOther(MdbColumn* column, const MdbField& field, std::string& text);
    std::string_view DecodeMemo(MdbColumn* column, const MdbField& field, std::string& scratch);
    // The bytes of a value in the page, which Convert has found to lie in it.
    std::string_view StoredBytes(const MdbField& field) const;
    // Copies the values that lie in the page buffer into the walker's own buffers.
    void KeepValues();
    [[noreturn]] void Damaged(const std::string& why) const;
    [[noreturn]] void DamagedValue(MdbColumn* column, const char* what) const;
    [[noreturn]] void TooLong(MdbColumn* column) const;

    MdbDatabase& m_db;
    MdbHandle* m_mdb;
    MdbTableDef* m_table;
    std::string m_tableName;
    std::vector<int> m_columns;
    MdbRowCracker m_cracker;
    MdbLongValue m_longValue;
    Row m_row;
    std::vector<std::string> m_text;        // per requested column: a value that needed converting
    std::vector<unsigned char> m_walkPage;  // the page of the walk while a moved row is read
};
