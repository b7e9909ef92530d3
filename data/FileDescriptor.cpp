#include "data/FileDescriptor.h"

#include <unistd.h>

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
}
