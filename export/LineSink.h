#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Where the ADIF writer sends its bytes: one call per header line, field line or record end,
// each carrying the whole line.
//
// A line can also be put together in place: LineRoom lends room for a whole line and
// LineWritten hands the line over, filled, to be taken as Write takes it. A sink that
// gathers lines into a block lends the rest of its block beforehand (LendRoom), so that a
// field's pieces are copied once, straight into the block, and a line that fits costs no
// call into the sink; the writer puts millions of them together in a run.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Write(std::string_view line) = 0;

    char* LineRoom(std::size_t size) {
        // Strictly less: a sink that lends no room (a closed file) hears of every line.
        if (size < static_cast<std::size_t>(m_roomEnd - m_room)) {
            m_lineEnd = m_room + size;
            return m_room;
        }
        m_lineEnd = nullptr;
        return RoomElsewhere(size);
    }
    void LineWritten() {
        if (!m_lineEnd) return WrittenElsewhere();
        m_room = m_lineEnd;
        m_lineEnd = nullptr;
    }

protected:
    // Lines that fit go to [begin, end) from now on, one after the other.
    void LendRoom(char* begin, char* end) {
        m_room = begin;
        m_roomEnd = end;
    }
    // Where the next line in the lent room would start.
    char* RoomTaken() const { return m_room; }

    // A line that does not fit the room lent. Here it is put together in a buffer of the
    // sink's own and handed to Write.
    virtual char* RoomElsewhere(std::size_t size) {
        m_line.resize(size);
        return m_line.data();
    }
    virtual void WrittenElsewhere() { Write(m_line); }

private:
    char* m_room = nullptr;
    char* m_roomEnd = nullptr;
    char* m_lineEnd = nullptr;  // the end of the line being put together in the lent room
    std::string m_line;
};
