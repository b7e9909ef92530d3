#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/DbEngine.h"
#include "data/IncomingBytes.h"
#include "data/MdbChildProcess.h"
#include "data/RowFrameCodec.h"

// The parent's side of one reading: takes the rows the reader process sends and turns
// every way that process can fail (an error it reports, a crash, a signal, silence, a
// garbled stream) into a CDaoException naming the file: damaged when the fault may lie in
// the file, interrupted when the reader was ended or held stopped from outside. Destroying
// the cursor early kills and reaps the reader.
class MdbRowCursor : public RowCursor {
public:
    // Waits for the reader to open the table; throws what it reports (missing table or
    // column, damage) or what becomes of it.
    MdbRowCursor(std::unique_ptr<MdbChildProcess> child, std::string path, std::chrono::milliseconds noProgressTimeout);
    ~MdbRowCursor() override;

    bool Next(std::vector<std::string>& values) override;
    // The values lie in the batch the reader sent, which stays until the next call.
    bool NextViews(std::vector<std::string_view>& values) override;
    long RowCount() const override { return m_rowCount; }

    // After a successful Next: whether value i of that row was NULL (it reads as "").
    bool WasNull(std::size_t i) const { return m_nulls.at(i) != 0; }

private:
    // The next frame, where it lies in m_incoming: valid until the next ReadFrame.
    RowFrameCodec::FrameView ReadFrame();
    [[noreturn]] void Fail(const std::string& why);
    [[noreturn]] void FailReported(std::string_view payload);
    // Throws what the reader's end means: interrupted from outside, or damage (a crash, a
    // status other than 0, or `cleanEnd` when it exited cleanly before it was done).
    [[noreturn]] void FailEnded(const MdbChildProcess::Ending& ending, const std::string& cleanEnd);

    std::unique_ptr<MdbChildProcess> m_child;
    std::string m_path;
    std::chrono::milliseconds m_timeout;
    IncomingBytes m_incoming;
    RowFrameCodec::Reader m_batchReader{std::string_view()};
    uint32_t m_batchRowsLeft = 0;
    uint32_t m_valuesPerRow = 0;
    long m_rowCount = 0;
    unsigned long m_rowsAllowed = 0;  // rows the reader may still send
    std::vector<char> m_nulls;
    std::vector<std::string_view> m_views;
    bool m_done = false;
};
