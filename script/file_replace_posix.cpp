// Replacing a file all at once with the POSIX calls (Linux, and node under the browser build).

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "script/file_replace.h"

namespace korzenik::script {

namespace {

/// Writes all the bytes and flushes them to the disk; 0 or the reason.
int writeAll(int fd, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    // On the disk before the rename, so that a crash leaves the old file or the whole new one.
    if (fsync(fd) != 0 && errno != EINVAL && errno != ENOSYS) return errno;
    return 0;
}

/// A short name of our own in the folder: a target name near the file system's limit must not
/// push it over.
std::string temporaryName(const std::string& folder, int attempt) {
    return folder + ".korzenik-" + std::to_string(getpid()) + "-" + std::to_string(attempt) +
           ".tmp";
}

/// Holds back every signal that can be held while it lives, so that one which would end the
/// process takes effect only once the temporary name is gone again.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        m_held = sigprocmask(SIG_BLOCK, &all, &m_previous) == 0;
    }
    ~SignalsHeld() {
        if (m_held) sigprocmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_previous{};
    bool m_held = false;
};

/// The folder part of path, with its slash ("" for a bare name).
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    // What is there now. A regular file (or a link to one) is replaced and its mode and owner
    // kept, as an editor keeps them; anything else (a device, a pipe, a folder) is left alone.
    struct stat old {};
    const bool exists = stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        *err = S_ISDIR(old.st_mode) ? std::strerror(EISDIR) : "not a regular file";
        return false;
    }

    // The new file beside the target, so the rename never crosses a file system. Where the
    // system offers it, it has no name until it is complete: a process killed while writing
    // leaves nothing behind. While a temporary name exists, signals wait, so one that ends the
    // process does so after the name is gone (SIGKILL alone cannot wait).
    const std::string folder = folderOf(path);
    std::optional<SignalsHeld> held;
    int fd = -1;
#ifdef O_TMPFILE
    fd = open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#endif
    const bool anonymous = fd >= 0;
    std::string temporary;
    if (!anonymous) {
        held.emplace();
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = temporaryName(folder, attempt);
            fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0 || errno != EEXIST) break;
        }
        if (fd < 0) {
            *err = std::strerror(errno);
            return false;
        }
    }

    if (exists) {
        // The owner first: a change of owner may clear bits that the mode then sets again.
        [[maybe_unused]] const int owned = fchown(fd, old.st_uid, old.st_gid);
        fchmod(fd, old.st_mode & 0777);
    }
    int error = writeAll(fd, bytes);
    bool named = !anonymous;
    if (error == 0 && anonymous) {
        held.emplace();
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = temporaryName(folder, attempt);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) ==
                0) {
                named = true;
                break;
            }
            if (errno != EEXIST) break;
        }
        if (!named) error = errno;
    }
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        if (named) unlink(temporary.c_str());
        *err = std::strerror(error);
        return false;
    }
    return true;
}

}  // namespace korzenik::script
