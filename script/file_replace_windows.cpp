// Replacing a file all at once with the Win32 calls: a new file beside the target, put in its
// place once it is complete, as an editor saves one: the new file takes over the old one's
// attributes and, where the system's ReplaceFileW does it (Windows, not Wine), its access list,
// creation time and other streams. Paths are UTF-8 and reach Windows as UTF-16, so any name works
// whatever the system's code page. Failures are reported with the C library's texts for the nearest
// errno, so a message reads the same as on Linux (where the two systems have the same notion).

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include "app/res/strings.h"
#include "script/file_replace.h"
#include "win32/utf16.h"

namespace korzenik::script {

namespace {

constexpr const char* kNotRegular = res::kNotRegularFile.data();

std::string reason(DWORD error) {
    int e = 0;
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH: e = ENOENT; break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: e = EACCES; break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: e = ENOSPC; break;
        case ERROR_FILENAME_EXCED_RANGE: e = ENAMETOOLONG; break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: e = ENOMEM; break;
        default: break;
    }
    if (e != 0) return std::strerror(e);
    // The C library's texts end without a full stop; so does the system's here.
    std::wstring message = win32::systemErrorText(error);
    while (!message.empty() && (message.back() == L'.' || message.back() == L' ')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(error) : win32::toUtf8(message);
}

bool writeAll(HANDLE file, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool isDriveRoot(std::wstring_view s) {
    return s.size() >= 3 && ((s[0] >= L'A' && s[0] <= L'Z') || (s[0] >= L'a' && s[0] <= L'z')) &&
           s[1] == L':' && s[2] == L'\\';
}

/// Whether s begins with prefix, ignoring the case of ASCII letters.
bool startsWithIgnoringCase(std::wstring_view s, std::wstring_view prefix) {
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(s[i]) != lower(prefix[i])) return false;
    }
    return true;
}

/// Whether a full path (GetFullPathNameW's) names a device rather than a file on a volume: a
/// reserved name (NUL, CON, COM1: the system makes them \\.\NUL and so on), a pipe (\\.\pipe\…),
/// a disk or a volume itself. A file may still be named through the device namespace, by its
/// drive (\\.\C:\…, \\?\C:\…), its network share (\\?\UNC\…) or its volume (\\?\Volume{…}\…).
bool namesDevice(std::wstring_view full) {
    const bool local = full.starts_with(L"\\\\.\\");
    if (!local && !full.starts_with(L"\\\\?\\")) return false;
    const std::wstring_view rest = full.substr(4);
    if (isDriveRoot(rest)) return false;
    return local ||
           !(startsWithIgnoringCase(rest, L"UNC\\") || startsWithIgnoringCase(rest, L"Volume{"));
}

/// The folder part of a full path, with its separator.
std::wstring folderOf(const std::wstring& full) {
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

/// What is at the target now.
struct Target {
    std::wstring path;  ///< the file itself: where the links at the target lead, if any
    bool exists = false;
    const char* refusal = nullptr;  ///< why it must not be replaced; nullptr when it may be
    DWORD attributes = 0;           ///< the attributes the new file takes over (0: none)
};

/// Opens what is at the target, if anything, without reading or writing it: a file of a volume
/// answers as a disk file; a device, a pipe or a console does not.
Target inspect(const std::wstring& path) {
    Target target;
    target.path = path;
    // A folder opens only with the backup flag; a link opens what it points to.
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    // Nothing there, or nothing that may be looked at: the move says what is wrong, if anything.
    if (file == INVALID_HANDLE_VALUE) return target;
    target.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
        target.refusal = kNotRegular;
    } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        target.refusal = std::strerror(EISDIR);
    } else {
        // The new file is marked for archiving, as any changed file is.
        target.attributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        // A link is followed, as its handle followed it: the file it leads to is replaced in its
        // own folder, and the link stays.
        wchar_t final[32768];
        const DWORD n = GetFinalPathNameByHandleW(file, final, 32768, FILE_NAME_NORMALIZED);
        if (n > 0 && n < 32768) target.path.assign(final, n);
    }
    CloseHandle(file);
    return target;
}

/// Marks an open file to be deleted when its last handle closes (true), or to stay (false).
bool deleteOnClose(HANDLE file, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

}  // namespace

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    const std::wstring target = win32::toUtf16(path);
    // Devices are told by name, without opening them: opening one (a serial port, a pipe's
    // server) would do something of its own.
    const DWORD size = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(target.c_str(), size, full.data(), nullptr) : 0;
    if (length == 0 || length >= size) {
        *err = reason(GetLastError());
        return false;
    }
    full.resize(length);
    if (namesDevice(full)) {
        *err = kNotRegular;
        return false;
    }
    // Full paths from here on: Wine's ReplaceFileW fails on a bare file name.
    Target old = inspect(full);
    if (old.refusal) {
        *err = old.refusal;
        return false;
    }

    // A short name of our own in the target's folder, so the move never crosses a volume and a
    // target name near the file system's limit does not push the new one over it.
    const std::wstring folder = folderOf(old.path);
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = folder + L".korzenik-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt) + L".tmp";
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                           old.attributes ? old.attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (error != 0 && error != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        *err = reason(error);
        return false;
    }
    // Until it is complete the new file goes with its handle, so a process killed while writing
    // leaves nothing behind.
    const bool pending = deleteOnClose(file, true);
    // On the disk before the move, so that a crash leaves the old file or the whole new one.
    if (!writeAll(file, bytes) || !FlushFileBuffers(file) ||
        (pending && !deleteOnClose(file, false))) {
        error = GetLastError();
        if (error == 0) error = ERROR_WRITE_FAULT;
    }
    if (!CloseHandle(file) && error == 0) error = GetLastError();
    // The system's own save over an existing file keeps what was set on the old one (who may
    // read it, above all). It fails when the file has gone meanwhile, which a move is for, and
    // may fail after removing the old file without moving the new one in (the documented
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT), when a move is all there is left to try.
    bool keepNew = false;
    if (error == 0 && old.exists &&
        !ReplaceFileW(old.path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr)) {
        error = GetLastError();
        keepNew = error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
        if (error == ERROR_FILE_NOT_FOUND || keepNew) {
            old.exists = false;
            error = 0;
        }
    }
    if (error == 0 && !old.exists &&
        !MoveFileExW(temporary.c_str(), old.path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != 0) {
        // With the old file gone, the new one under its own name is all that is left of either.
        if (!keepNew) DeleteFileW(temporary.c_str());
        *err = reason(error);
        return false;
    }
    return true;
}

}  // namespace korzenik::script
