#include "ui/CMorvaskDoc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

QString SaveFailure(const QString& path, const QString& why) {
    return QStringLiteral("Cannot save \"%1\": %2. Choose another folder or file name.").arg(path, why);
}

}  // namespace

void CMorvaskDoc::OnNewDocument() {
    m_strPathName.clear();
    m_bPathFromOpen = false;
}

void CMorvaskDoc::OnOpenDocument(const QString& path) {
    m_strPathName = QFileInfo(path).absoluteFilePath();
    m_bPathFromOpen = true;
}

QString CMorvaskDoc::OnSaveDocument(const QString& path) {
    // The document is an empty file. Only a plain file may become one: a pipe would hold the
    // window until someone reads it, and a device is nobody's document. O_NONBLOCK keeps the
    // open itself from waiting on a pipe; the check after it sees what was really opened.
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return SaveFailure(path, QStringLiteral("it is not a plain file"));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return SaveFailure(path, QString::fromLocal8Bit(std::strerror(errno)));
    QString failure;
    if (::fstat(fd, &info) != 0)
        failure = SaveFailure(path, QString::fromLocal8Bit(std::strerror(errno)));
    else if (!S_ISREG(info.st_mode))
        failure = SaveFailure(path, QStringLiteral("it is not a plain file"));
    else if (::ftruncate(fd, 0) != 0)
        failure = SaveFailure(path, QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    if (!failure.isEmpty()) return failure;
    m_strPathName = QFileInfo(path).absoluteFilePath();
    m_bPathFromOpen = false;
    return {};
}
