#include "data/RowBatchSender.h"

#include <unistd.h>

#include "data/RowFrameCodec.h"
#include "data/WriteAll.h"

namespace {
using FrameType = RowFrameCodec::FrameType;
constexpr std::size_t kBatchBytes = 256 * 1024;
constexpr std::chrono::seconds kMaxHold{1};
}  // namespace

RowBatchSender::RowBatchSender(int fd) : m_fd(fd), m_lastSend(std::chrono::steady_clock::now()) {
    m_out.reserve(kBatchBytes + 64 * 1024);
}

void RowBatchSender::Opened(unsigned long rows, std::size_t values) {
    std::string payload;
    RowFrameCodec::PutU32(payload, static_cast<uint32_t>(rows));
    RowFrameCodec::PutU32(payload, static_cast<uint32_t>(values));
    RowFrameCodec::PutFrame(m_out, FrameType::Opened, payload);
    Send();
}

void RowBatchSender::Add(const MdbTableWalker::Row& row) {
    if (m_rows == 0) {
        m_start = RowFrameCodec::BeginFrame(m_out, FrameType::Rows);
        RowFrameCodec::PutU32(m_out, 0);
    }
    RowFrameCodec::PutRow(m_out, row.values, row.isNull);
    ++m_rows;
    if (m_out.size() >= kBatchBytes || (m_rows % 64 == 0 && std::chrono::steady_clock::now() - m_lastSend > kMaxHold))
        Flush();
}

void RowBatchSender::Flush() {
    if (m_rows > 0) {
        std::string count;
        RowFrameCodec::PutU32(count, m_rows);
        m_out.replace(m_start + RowFrameCodec::kHeaderSize, 4, count);
        RowFrameCodec::EndFrame(m_out, m_start);
        m_rows = 0;
    }
    Send();
}

void RowBatchSender::Finish(unsigned long rows) {
    Flush();
    std::string payload;
    RowFrameCodec::PutU32(payload, static_cast<uint32_t>(rows));
    RowFrameCodec::PutFrame(m_out, FrameType::Done, payload);
    Send();
}

void RowBatchSender::Fail(const CDaoException& error) {
    Flush();
    RowFrameCodec::PutFrame(m_out, FrameType::Error, RowFrameCodec::ErrorPayload(error));
    Send();
}

void RowBatchSender::Send() {
    m_lastSend = std::chrono::steady_clock::now();
    if (!m_out.empty() && !WriteAll(m_fd, m_out)) ::_exit(0);
    m_out.clear();
}
