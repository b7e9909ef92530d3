#include "data/MdbRowCursor.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "data/CDaoException.h"
#include "data/MdbChildProcess.h"
#include "data/MdbMessages.h"

namespace {
// Once the reader has sent its last frame it only has to exit.
constexpr std::chrono::milliseconds kExitGrace{5000};
// An Access table has at most 255 columns, so no sound reader sends more values a row;
// a garbled count must not make the parent set aside gigabytes for them.
constexpr uint32_t kMaxValuesPerRow = 255;
// Nor more rows than an Access file can hold: at most 2 GB (Jet 3: 1 GB) of 4 KB (2 KB)
// pages, each with at most 256 rows. A garbled count must not have the parent hand out
// billions of rows of no values, which cost no bytes.
constexpr uint32_t kMaxRows = (uint32_t{1} << 19) * 256;
// The reader sends rows in frames of about 256 KB; a block of a few of them lets each be
// taken where it arrived, and the least room for a read keeps reads from getting small.
constexpr std::size_t kIncomingCapacity = std::size_t{1} << 20;
constexpr std::size_t kLeastReadRoom = 64 * 1024;
}  // namespace

MdbRowCursor::MdbRowCursor(std::unique_ptr<MdbChildProcess> child, std::string path,
                           std::chrono::milliseconds noProgressTimeout)
    : m_child(std::move(child)), m_path(std::move(path)), m_timeout(noProgressTimeout), m_incoming(kIncomingCapacity) {
    RowFrameCodec::FrameView frame = ReadFrame();
    if (frame.type == RowFrameCodec::FrameType::Error) FailReported(frame.payload);
    if (frame.type != RowFrameCodec::FrameType::Opened) Fail("the reader answered out of turn");
    try {
        RowFrameCodec::Reader reader(frame.payload);
        m_rowCount = static_cast<long>(reader.U32());
        m_valuesPerRow = reader.U32();
    } catch (const std::runtime_error&) {
        Fail("the reader's answer was cut short");
    }
    if (static_cast<unsigned long>(m_rowCount) > kMaxRows)
        Fail("the table announces " + std::to_string(m_rowCount) + " rows, more than an Access file holds");
    if (m_valuesPerRow > kMaxValuesPerRow)
        Fail("the reader announced " + std::to_string(m_valuesPerRow) + " values a row, more than a table holds");
    m_nulls.resize(m_valuesPerRow);
    // The reader stops at the announced count itself; only a reading of the first row
    // may send one row of a table that announces none.
    m_rowsAllowed = std::max<unsigned long>(static_cast<unsigned long>(m_rowCount), 1);
}

MdbRowCursor::~MdbRowCursor() = default;

void MdbRowCursor::Fail(const std::string& why) {
    m_done = true;
    m_child->Kill();
    throw MdbMessages::Damaged(m_path, why);
}

void MdbRowCursor::FailReported(std::string_view payload) {
    m_done = true;
    m_child->Kill();
    std::optional<CDaoException> reported;
    try {
        reported = RowFrameCodec::ErrorFromPayload(payload);
    } catch (const std::runtime_error& e) {
        throw MdbMessages::Damaged(m_path, std::string("the reader sent garbage: ") + e.what());
    }
    throw *reported;
}

void MdbRowCursor::FailEnded(const MdbChildProcess::Ending& ending, const std::string& cleanEnd) {
    switch (ending.how) {
    case MdbChildProcess::Ending::How::Interrupted:
        throw MdbMessages::Interrupted(m_path, ending.signal);
    case MdbChildProcess::Ending::How::Failed:
        throw MdbMessages::Damaged(m_path, ending.text);
    case MdbChildProcess::Ending::How::Clean:
        break;
    }
    throw MdbMessages::Damaged(m_path, cleanEnd);
}

RowFrameCodec::FrameView MdbRowCursor::ReadFrame() {
    for (;;) {
        try {
            if (std::optional<RowFrameCodec::FrameView> frame = RowFrameCodec::PeekFrame(m_incoming.Unread())) {
                m_incoming.Take(frame->Size());
                return *frame;
            }
        } catch (const std::runtime_error& e) {
            Fail(std::string("the reader sent garbage: ") + e.what());
        }
        std::size_t got = 0;
        switch (m_child->Read(m_incoming.Room(kLeastReadRoom), got, m_timeout)) {
        case MdbChildProcess::ReadResult::Data:
            m_incoming.Filled(got);
            break;
        case MdbChildProcess::ReadResult::TimedOut: {
            m_done = true;
            // A reader held stopped (SIGSTOP, a debugger) is no sign of a damaged file; one
            // that runs and sends nothing is libmdb going round in circles.
            std::optional<int> stopped = m_child->StopSignal();
            m_child->Kill();
            if (stopped) throw MdbMessages::Interrupted(m_path, *stopped);
            throw MdbMessages::Damaged(
                m_path, "reading made no progress for " + std::to_string(m_timeout.count() / 1000) + " s");
        }
        case MdbChildProcess::ReadResult::EndOfStream:
            m_done = true;
            FailEnded(m_child->Reap(kExitGrace), "the reader stopped in the middle");
        }
    }
}

bool MdbRowCursor::Next(std::vector<std::string>& values) {
    if (!NextViews(m_views)) return false;
    values.resize(m_views.size());
    for (std::size_t i = 0; i < m_views.size(); ++i) values[i].assign(m_views[i]);
    return true;
}

bool MdbRowCursor::NextViews(std::vector<std::string_view>& values) {
    if (m_done) return false;
    while (m_batchRowsLeft == 0) {
        RowFrameCodec::FrameView frame = ReadFrame();
        switch (frame.type) {
        case RowFrameCodec::FrameType::Rows:
            m_batchReader = RowFrameCodec::Reader(frame.payload);
            try {
                m_batchRowsLeft = m_batchReader.U32();
            } catch (const std::runtime_error&) {
                Fail("the reader's rows were cut short");
            }
            // Rows of no values take no bytes: only the announced count limits them.
            if (m_batchRowsLeft > m_rowsAllowed) Fail("the reader sent more rows than the table announces");
            m_rowsAllowed -= m_batchRowsLeft;
            break;
        case RowFrameCodec::FrameType::Done: {
            m_done = true;
            MdbChildProcess::Ending ending = m_child->Reap(kExitGrace);
            if (ending.how != MdbChildProcess::Ending::How::Clean) FailEnded(ending, "");
            return false;
        }
        case RowFrameCodec::FrameType::Error:
            FailReported(frame.payload);
        case RowFrameCodec::FrameType::Opened:
            Fail("the reader answered out of turn");
        }
    }
    values.resize(m_valuesPerRow);
    try {
        for (uint32_t i = 0; i < m_valuesPerRow; ++i) m_nulls[i] = m_batchReader.Value(values[i]) ? 0 : 1;
    } catch (const std::runtime_error&) {
        Fail("the reader's rows were cut short");
    }
    if (--m_batchRowsLeft == 0 && !m_batchReader.AtEnd()) Fail("the reader's rows did not add up");
    return true;
}
