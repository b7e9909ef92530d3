#include "export/OutputTarget.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "data/FileTypeText.h"
#include "export/CFileException.h"

namespace {

// As many links as the kernel follows in one path lookup.
constexpr int kMaxLinks = 40;

}  // namespace

OutputTarget OutputTarget::Resolve(const std::string& path) {
    OutputTarget target;
    target.m_path = path;
    for (int links = 0;; ++links) {
        // Anything lstat cannot see (nothing there yet, a folder that cannot be entered) is
        // a file still to be created; creating it tells what is wrong, if anything.
        if (::lstat(target.m_path.c_str(), &target.m_status) != 0) return target;
        if (!S_ISLNK(target.m_status.st_mode)) {
            target.m_exists = true;
            return target;
        }
        if (links == kMaxLinks)
            throw CFileException("The ADIF file \"" + path +
                                     "\" cannot be written: its symbolic links go round in a loop. Mend the links or "
                                     "name another file.",
                                 "its symbolic links go round in a loop");
        char text[PATH_MAX];
        ssize_t length = ::readlink(target.m_path.c_str(), text, sizeof text);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof text) {
            const std::string why = "the symbolic link \"" + target.m_path + "\" cannot be read (" +
                                    (length < 0 ? std::strerror(errno) : "its target is too long") + ")";
            throw CFileException("The ADIF file \"" + path + "\" cannot be written: " + why + ".", why);
        }
        // A relative target lies beside the link, not in the current directory.
        std::filesystem::path next(std::string(text, static_cast<std::size_t>(length)));
        if (next.is_relative()) next = std::filesystem::path(target.m_path).parent_path() / next;
        target.m_path = next.string();
    }
}

std::string OutputTarget::Describe(const std::string& given) const {
    const char* what = m_exists ? FileTypeText(m_status.st_mode) : "nothing yet";
    if (given == m_path) return "\"" + given + "\" is " + what;
    return "\"" + given + "\" leads to \"" + m_path + "\", " + what;
}
