// replaceFile() over the Win32 calls (script/file_replace_windows.cpp); a failing path that does
// not exist is the golden session error_png's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script/file_replace.h"
#include "win32/windows_api.h"

namespace fs = std::filesystem;
using korzenik::script::replaceFile;

namespace {

std::vector<unsigned char> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A fresh folder of the test's own.
fs::path freshFolder(const char* name) {
    const fs::path folder = fs::current_path() / name;
    fs::remove_all(folder);
    fs::create_directory(folder);
    return folder;
}

int entries(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
    return n;
}

}  // namespace

TEST(Win32FileReplace, ReplacesWholeFilesOfAnyNameAndSaysWhatIsInTheWay) {
    const fs::path folder = freshFolder("file_replace_test");
    std::string err;

    // A UTF-8 name reaches Windows as the same name, and an existing file is replaced.
    const fs::path polish = folder / fs::path(u8"zażółć.png");
    const std::string utf8 = (folder.string() + "/") + "za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87.png";
    ASSERT_TRUE(replaceFile(utf8, {1, 2, 3}, &err)) << err;
    ASSERT_TRUE(replaceFile(utf8, {4, 5}, &err)) << err;
    EXPECT_EQ(contents(polish), (std::vector<unsigned char>{4, 5}));

    // A folder in the way: the reason Linux gives, and the folder as it was.
    fs::create_directory(folder / "in_the_way");
    EXPECT_FALSE(replaceFile((folder / "in_the_way").string(), {6}, &err));
    EXPECT_EQ(err, "Is a directory");
    EXPECT_TRUE(fs::is_directory(folder / "in_the_way"));

    // Nothing but the two is left behind.
    EXPECT_EQ(entries(folder), 2);
    fs::remove_all(folder);
}

// Devices, a pipe and a read-only file are never written, nor opened where that would do
// something (a pipe's server would see a client come and go).
TEST(Win32FileReplace, LeavesDevicesPipesAndReadOnlyFilesAlone) {
    const fs::path folder = freshFolder("file_replace_devices");
    const std::wstring pipeName =
        L"\\\\.\\pipe\\korzenik-file-replace-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    const fs::path readOnly = folder / "read_only.png";
    std::ofstream(readOnly) << "old";
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);

    const struct {
        std::string target;
        std::string reason;
    } cases[] = {
        {"NUL", "not a regular file"},
        {"CON", "not a regular file"},
        {"COM1", "not a regular file"},
        {(folder / "NUL").string(), "not a regular file"},
        {"\\\\.\\NUL", "not a regular file"},
        {fs::path(pipeName).string(), "not a regular file"},
        {readOnly.string(), "Permission denied"},
    };
    for (const auto& c : cases) {
        std::string err;
        EXPECT_FALSE(replaceFile(c.target, {1, 2, 3}, &err)) << c.target;
        EXPECT_EQ(err, c.reason) << c.target;
    }
    // No client ever connected to the pipe.
    EXPECT_FALSE(ConnectNamedPipe(pipe, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));
    CloseHandle(pipe);
    EXPECT_EQ(contents(readOnly), (std::vector<unsigned char>{'o', 'l', 'd'}));
    EXPECT_EQ(entries(folder), 1);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder);
}

// A hidden or system file stays so, as an editor's save keeps it.
TEST(Win32FileReplace, KeepsTheAttributesOfTheFileItReplaces) {
    const fs::path folder = freshFolder("file_replace_attributes");
    const fs::path hidden = folder / "hidden.png";
    std::ofstream(hidden) << "old";
    constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), kept));
    std::string err;
    ASSERT_TRUE(replaceFile(hidden.string(), {7, 8}, &err)) << err;
    EXPECT_EQ(contents(hidden), (std::vector<unsigned char>{7, 8}));
    EXPECT_EQ(GetFileAttributesW(hidden.c_str()) & kept, kept);
    EXPECT_EQ(entries(folder), 1);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder);
}
