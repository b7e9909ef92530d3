#include "ui/CProgressPipe.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>

CProgressPipe::CProgressPipe(LineHandler onLine) : m_onLine(std::move(onLine)) {
    int fds[2];
    // Close-on-exec on both ends: only the copy made for the child survives its exec.
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("the system has no pipe left to give (") + std::strerror(errno) + ")");
    m_readFd = fds[0];
    m_writeFd = fds[1];
    // Only this end may be non-blocking, so that the event loop never waits on it. The
    // writer's end blocks: a writer faster than this reader waits for it instead of failing.
    ::fcntl(m_readFd, F_SETFL, ::fcntl(m_readFd, F_GETFL) | O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadAvailable(); });
}

CProgressPipe::~CProgressPipe() {
    m_notifier.reset();
    CloseWriteEnd();
    if (m_readFd >= 0) ::close(m_readFd);
}

void CProgressPipe::CloseWriteEnd() {
    if (m_writeFd >= 0) {
        ::close(m_writeFd);
        m_writeFd = -1;
    }
}

void CProgressPipe::ReadAvailable() {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_readFd, buffer, sizeof buffer);
        if (got > 0) {
            Deliver(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) m_notifier->setEnabled(false);
        return;
    }
}

void CProgressPipe::Drain() {
    ReadAvailable();
    // Every record ends with its line end. A last line without one was torn off when the
    // exporter ended mid-write: "failed ... reason" cut short would still parse, with a cut
    // reason, so it is refused whole and the exporter's end speaks instead.
    m_partial.clear();
}

void CProgressPipe::Deliver(const char* data, std::size_t size) {
    m_partial.append(data, size);
    std::size_t start = 0;
    for (std::size_t nl; (nl = m_partial.find('\n', start)) != std::string::npos; start = nl + 1)
        m_onLine(m_partial.substr(start, nl - start));
    m_partial.erase(0, start);
}
