// Replacing a file all at once with the Win32 calls: a new file beside the target, moved over it
// once it is complete. Paths are UTF-8 and reach Windows as UTF-16, so any name works whatever
// the system's code page. Failures are reported with the C library's texts for the nearest
// errno, so a message reads the same as on Linux (where the two systems have the same notion).

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include "script/file_replace.h"
#include "win32/utf16.h"

namespace korzenik::script {

namespace {

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
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", n);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' ')) {
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

}  // namespace

bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err) {
    const std::wstring target = win32::toUtf16(path);
    // A name of our own beside the target: same folder, so the move never crosses a volume.
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (error != 0 && error != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        *err = reason(error);
        return false;
    }
    if (!writeAll(file, bytes)) {
        error = GetLastError();
        if (error == 0) error = ERROR_WRITE_FAULT;
    }
    if (!CloseHandle(file) && error == 0) error = GetLastError();
    if (error == 0) {
        // Windows refuses to move a file over a folder with "access denied"; say what is wrong.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileW(temporary.c_str());
            *err = std::strerror(EISDIR);
            return false;
        }
        if (!MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            error = GetLastError();
        }
    }
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        *err = reason(error);
        return false;
    }
    return true;
}

}  // namespace korzenik::script
