// replaceFile() over the Win32 calls (win32/file_replace.cpp); a failing path that does not exist
// is the golden session error_png's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script/file_replace.h"

namespace fs = std::filesystem;
using korzenik::script::replaceFile;

namespace {

std::vector<unsigned char> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(Win32FileReplace, ReplacesWholeFilesOfAnyNameAndSaysWhatIsInTheWay) {
    const fs::path folder = fs::current_path() / "file_replace_test";
    fs::remove_all(folder);
    fs::create_directory(folder);
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
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++entries;
    EXPECT_EQ(entries, 2);
    fs::remove_all(folder);
}
