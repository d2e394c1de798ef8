// The PNG writer, compiled once with each encoder (libpng and stb_image_write); pictures are read
// back with libpng.
#include "script/png_writer.h"

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <png.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "script/file_replace.h"

using namespace korzenik;
using namespace korzenik::script;

namespace {

/// The picture's pixels, encoded and read back from memory as RGB.
std::vector<std::uint8_t> roundTrip(const Framebuffer& picture) {
    std::vector<unsigned char> png;
    std::string err;
    EXPECT_TRUE(encodePng(picture, &png, &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    return pixels;
}

/// A new empty folder of the test's own, removed with all it holds at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "png_writer_XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// The names in the folder.
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            out.insert(entry.path().filename().string());
        }
        return out;
    }

private:
    std::filesystem::path m_path;
};

/// From now on this process's file system says it cannot make a file without a name, as some
/// file systems do: opening one fails with EOPNOTSUPP.
bool refuseAnonymousFiles() {
    const sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog filter{static_cast<unsigned short>(std::size(program)),
                            const_cast<sock_filter*>(program)};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Every pixel comes back: a picture of more colours than a palette holds, and palette pictures
// that start with runs of black (the colour an empty run cache would claim) or are all black.
// The chart's own pictures are checked by the golden sessions.
TEST(PngWriter, PicturesRoundTripExactly) {
    Framebuffer many(300, 2, 0);
    for (std::int32_t x = 0; x < 300; ++x) many.setPixel(x, 1, static_cast<Colour>(x * 0x010203));
    Framebuffer blackStart(40, 3, 0xFFFFFF);
    for (std::int32_t y = 0; y < 2; ++y) {
        for (std::int32_t x = 0; x < 24; ++x) blackStart.setPixel(x, y, 0x000000);
    }
    blackStart.setPixel(30, 2, 0x0000FF);
    Framebuffer allBlack(17, 2, 0x000000);
    for (Framebuffer* picture : {&many, &blackStart, &allBlack}) {
        EXPECT_EQ(roundTrip(*picture), picture->rgb) << picture->width << " pixels wide";
    }
}

// The file is written whole; a folder in the way gives the system's reason and leaves nothing.
TEST(PngWriter, WritesTheFileOrSaysWhyNot) {
    const ScratchFolder scratch;
    ASSERT_FALSE(scratch.path().empty());
    const Framebuffer many(300, 2, 0x123456);
    const std::string path = (scratch.path() / "picture.png").string();
    std::string err;
    ASSERT_TRUE(writePng(path, many, &err)) << err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    EXPECT_EQ(image.width, 300u);
    png_image_free(&image);
    EXPECT_EQ(scratch.names(), std::set<std::string>{"picture.png"});

    const std::filesystem::path folder = scratch.path() / "folder";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(writePng(folder.string(), many, &err));
    EXPECT_EQ(err, "Is a directory");
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"folder", "picture.png"}));
}

// A process killed while it writes the new file leaves the old one as it was and no other name
// behind, whether the new file has no name until it is complete or has a temporary one. The
// write crosses a file-size limit, whose signal ends the process at that very write.
TEST(ReplaceFile, AProcessKilledWhileWritingLeavesNothingBehind) {
    for (const bool anonymous : {true, false}) {
        const ScratchFolder scratch;
        ASSERT_FALSE(scratch.path().empty());
        const std::filesystem::path target = scratch.path() / "picture.png";
        std::ofstream(target, std::ios::binary) << "old picture";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlimit noCore{0, 0}, limit{4096, 4096};
            if (setrlimit(RLIMIT_CORE, &noCore) != 0 || setrlimit(RLIMIT_FSIZE, &limit) != 0 ||
                signal(SIGXFSZ, SIG_DFL) == SIG_ERR || (!anonymous && !refuseAnonymousFiles())) {
                _exit(3);
            }
            std::string err;
            replaceFile(target.string(), std::vector<unsigned char>(100000, 7), &err);
            _exit(4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ)
            << (anonymous ? "anonymous" : "named") << ": status " << status;
        EXPECT_EQ(scratch.names(), std::set<std::string>{"picture.png"})
            << (anonymous ? "anonymous" : "named");
        EXPECT_EQ(contents(target), "old picture");
    }
}
