#pragma once

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

// The progress channel of one job: the exporter writes its records (ProgressRecord) to its end,
// this process reads them as they arrive while its event loop runs. Both ends are closed
// on destruction.
class CProgressPipe {
public:
    using LineHandler = std::function<void(const std::string&)>;

    // Throws std::runtime_error, with the bare reason, when the system has no pipe to give.
    explicit CProgressPipe(LineHandler onLine);
    ~CProgressPipe();
    CProgressPipe(const CProgressPipe&) = delete;
    CProgressPipe& operator=(const CProgressPipe&) = delete;

    // The end the child writes to; it must be made the child's descriptor before exec.
    int WriteEnd() const { return m_writeFd; }
    // Called once the child has its copy, so that the reader sees the end of the data when
    // the child exits.
    void CloseWriteEnd();
    // Reads what is left once the child has ended; a last line without its line end is dropped.
    void Drain();

private:
    void ReadAvailable();
    void Deliver(const char* data, std::size_t size);

    LineHandler m_onLine;
    int m_readFd = -1;
    int m_writeFd = -1;
    std::string m_partial;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
