// Replacing a file all at once with the POSIX calls (Linux, and node under the browser build).
//
// What is replaced is what a careful editor replaces: the regular file at the path, or the one
// its symbolic links lead to (the links stay), never a device, a pipe, a folder or one of the
// process's own descriptors (/dev/stdout is a link to whatever standard output is). A file whose
// mode lets nobody write it, or that this user may not write, is left alone, root or not. The new
// file takes over the old one's owner and group (as far as this user may set them), its mode, its
// access list and its extended attributes. node has no access lists nor extended attributes: the
// browser build keeps the owner, the group and the mode.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef KORZENIK_FILE_ATTRIBUTES
#include <acl/libacl.h>
#include <attr/libattr.h>
#include <sys/acl.h>
#include <sys/xattr.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/res/strings.h"
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

/// A short name of our own in the folder that no other process can guess: a target name near
/// the file system's limit must not push it over, and a temporary left by a process killed while
/// writing (node cannot hold signals back, and every node process has the same process id) must
/// never be in the way of a later one.
std::string temporaryName(const std::string& folder) {
    std::uint64_t bits = 0;
    if (getentropy(&bits, sizeof bits) != 0) {
        static std::uint64_t counter = 0;
        bits = static_cast<std::uint64_t>(
                   std::chrono::steady_clock::now().time_since_epoch().count()) *
                   0x9E3779B97F4A7C15u +
               ++counter;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return folder + ".korzenik-" + text + ".tmp";
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

/// Whether a link lives among a process's descriptors (/proc/PID/fd, /proc/PID/task/TID/fd; and
/// /dev/fd, a link to /proc/self/fd): it stands for whatever the descriptor is open on, a
/// terminal, a pipe or the transcript's own file, and is never a picture's place.
bool isDescriptorLink(const std::string& link) {
    std::string folder = folderOf(link);
    if (folder.empty()) folder = ".";
    char* real = realpath(folder.c_str(), nullptr);
    if (!real) return false;
    const std::string canonical = real;
    std::free(real);
    if (canonical.rfind("/proc/", 0) != 0 && canonical.rfind("/dev/fd", 0) != 0) return false;
    return canonical.size() >= 3 && canonical.compare(canonical.size() - 3, 3, "/fd") == 0;
}

/// What a picture at a path replaces.
struct Target {
    std::string path;  ///< the file itself: the path, or where its links lead
    bool exists = false;
    struct stat status {};
};

/// Follows the links at path to the file they name; 0 or the reason in *refusal (a message of
/// the tool's own) or the errno returned.
int resolve(const std::string& path, Target* target, const char** refusal) {
    target->path = path;
    for (int hops = 0;; ++hops) {
        if (lstat(target->path.c_str(), &target->status) != 0) {
            if (errno != ENOENT) return errno;
            // A link to nothing: writing through it would make a file wherever it points.
            if (hops > 0) *refusal = res::kNotRegularFile.data();
            return 0;
        }
        if (!S_ISLNK(target->status.st_mode)) break;
        if (hops == 40) return ELOOP;
        if (isDescriptorLink(target->path)) {
            *refusal = res::kNotRegularFile.data();
            return 0;
        }
        std::string to(static_cast<std::size_t>(
                           target->status.st_size > 0 ? target->status.st_size + 1 : 4096),
                       '\0');
        const ssize_t n = readlink(target->path.c_str(), to.data(), to.size());
        if (n < 0) return errno;
        if (static_cast<std::size_t>(n) >= to.size()) return ENAMETOOLONG;
        to.resize(static_cast<std::size_t>(n));
        target->path = to.front() == '/' ? to : folderOf(target->path) + to;
    }
    target->exists = true;
    if (S_ISDIR(target->status.st_mode)) return EISDIR;
    if (!S_ISREG(target->status.st_mode)) {
        *refusal = res::kNotRegularFile.data();
        return 0;
    }
    // The system follows the links itself too: where it refuses to (a link in a shared sticky
    // folder owned by someone else), so does this.
    struct stat followed {};
    if (stat(path.c_str(), &followed) != 0) return errno;
    if (followed.st_dev != target->status.st_dev || followed.st_ino != target->status.st_ino) {
        return EAGAIN;  // the links changed while they were followed
    }
    // A file protected from writing stays as it is, for root too (who may write anything).
    if ((target->status.st_mode & 0222) == 0) return EACCES;
    if (access(target->path.c_str(), W_OK) != 0) return errno;
    return 0;
}

#ifdef KORZENIK_FILE_ATTRIBUTES
/// Copies the access list and the extended attributes of the file at from to the open file to.
/// One the file system or the user's rights refuse is left out; the others are copied.
void copyAccessListAndAttributes(const std::string& from, int to) {
    if (acl_t acl = acl_get_file(from.c_str(), ACL_TYPE_ACCESS)) {
        acl_set_fd(to, acl);
        acl_free(acl);
    }
    std::string names;
    for (int attempt = 0; attempt < 4; ++attempt) {  // the list may grow between the two calls
        const ssize_t size = listxattr(from.c_str(), nullptr, 0);
        if (size <= 0) return;
        names.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t got = listxattr(from.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) return;
        names.clear();
    }
    std::string value;
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const char* name = names.c_str() + at;
        // What the system's list (/etc/xattr.conf) says is no plain attribute: the access lists,
        // copied above, and those that belong to one file alone.
        if (!attr_copy_check_permissions(name, nullptr)) continue;
        const ssize_t size = getxattr(from.c_str(), name, nullptr, 0);
        if (size < 0) continue;
        value.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t got = getxattr(from.c_str(), name, value.data(), value.size());
        if (got < 0) continue;
        fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0);
    }
}
#endif

/// Gives the new file what the old one had, as far as the system and the user's rights allow.
void takeOver(const Target& old, int fd) {
    // The owner first: a change of owner may clear bits that the mode then sets again. A user who
    // may not give the file away may still keep its group, if it is one of theirs.
    if (fchown(fd, old.status.st_uid, old.status.st_gid) != 0) {
        [[maybe_unused]] const int grouped = fchown(fd, static_cast<uid_t>(-1), old.status.st_gid);
    }
    fchmod(fd, old.status.st_mode & 0777);
#ifdef KORZENIK_FILE_ATTRIBUTES
    copyAccessListAndAttributes(old.path, fd);
#endif
}

}  // namespace

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    Target old;
    const char* refusal = nullptr;
    if (const int error = resolve(path, &old, &refusal); error != 0 || refusal) {
        *err = refusal ? refusal : std::strerror(error);
        return false;
    }

    // The new file beside the target, so the rename never crosses a file system. Where the
    // system offers it, it has no name until it is complete: a process killed while writing
    // leaves nothing behind. While a temporary name exists, signals wait, so one that ends the
    // process does so after the name is gone (SIGKILL alone cannot wait; nor can any signal under
    // node, whose temporaries then never block a later write).
    const std::string folder = folderOf(old.path);
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
            temporary = temporaryName(folder);
            fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0 || errno != EEXIST) break;
        }
        if (fd < 0) {
            *err = std::strerror(errno);
            return false;
        }
    }

    if (old.exists) takeOver(old, fd);
    int error = writeAll(fd, bytes);
    bool named = !anonymous;
    if (error == 0 && anonymous) {
        held.emplace();
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = temporaryName(folder);
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
    if (error == 0 && std::rename(temporary.c_str(), old.path.c_str()) != 0) error = errno;
    if (error != 0) {
        if (named) unlink(temporary.c_str());
        *err = std::strerror(error);
        return false;
    }
    return true;
}

}  // namespace korzenik::script
