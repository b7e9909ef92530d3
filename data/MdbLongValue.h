#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/MdbLib.h"

// The stored bytes of a memo value. The row holds a 12-byte header (the length with two
// flags, a pointer to a row of a long-value page, four bytes unused); the bytes follow
// the header in the row itself, fill one row of a long-value page, or are chained over
// rows of several pages, each row starting with the pointer to the next. libmdb reads the
// pages and finds the rows; the chain is followed here, with every length checked, because
// libmdb's own long-value reads trust the lengths and pointers they meet.
class MdbLongValue {
public:
    // What is wrong with a value, to be told with the column and table it was met in.
    class Damage : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    explicit MdbLongValue(MdbHandle* mdb) : m_mdb(mdb) {}

    // field: the value's bytes in the row, header first. Returns its stored bytes, valid
    // until the next call; nothing gathered and false when they would be more than
    // maxStored. Throws Damage.
    bool Gather(std::string_view field, std::size_t maxStored, std::string_view& stored);

private:
    // The bytes of row pointer (page << 8 | row) of a long-value page, which the page
    // buffer for such reads holds afterwards.
    std::string_view Row(unsigned long pointer);

    MdbHandle* m_mdb;
    std::string m_chained;
};
