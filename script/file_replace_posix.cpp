// Replacing a file all at once with the POSIX calls (Linux, and node under the browser build).

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "script/file_replace.h"

namespace korzenik::script {

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    // A name of our own beside the target: same folder, so the rename never crosses a file system.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        *err = std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    errno = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    int error = done == bytes.size() ? 0 : (errno != 0 ? errno : EIO);
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        *err = std::strerror(error);
        return false;
    }
    return true;
}

}  // namespace korzenik::script
