// window_check: what the window test asks of the running Korzenik window, from inside Wine.
//
//   window_check centre ID
//       prints "x y", the screen point at the centre of the main window's control ID.
//   window_check menu
//       waits up to 20 s for a menu to be open.
//   window_check focus [ID]
//       waits up to 20 s until the main window is active and has the keyboard focus on its
//       control ID, or on any of its controls: the window puts the focus back on the control
//       that last had it only once it has taken the activation in, so keys sent before that
//       may land on another control.
//   window_check compare SCREEN.xwd EXPECTED.png EXPECTED.jsonl
//       checks the window, as a screenshot of the display shows it, against the picture and the
//       transcript that korzenik-script made of the same session: the client area is 796 x 536;
//       every client pixel that no control covers, and every pixel of the chart's backdrop, is
//       the picture's (a group box covers only its frame and caption); the results list holds
//       the lines the transcript leaves in it, with the same one selected; every function's
//       label fits the drop-down's dropped list.
//
// Exit status 0 when all of it holds, 1 saying what differs, 2 when something cannot be read or
// the window cannot be found.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/res/resource.h"
#include "app/window.h"
#include "win32/controls.h"
#include "win32/utf16.h"

namespace {

using korzenik::kClientHeight;
using korzenik::kClientLeft;
using korzenik::kClientTop;
using korzenik::kClientWidth;
using korzenik::win32::toUtf8;

constexpr int kChartId = korzenik::res::IDC_CHART_FRAME;
constexpr int kResultsId = korzenik::res::IDC_RESULTS;
/// A group box's caption band and frame, which it paints over the face.
constexpr int kGroupCaption = 20;
constexpr int kGroupFrame = 3;

/// The main window: the top-level window called Korzenik that holds the chart's backdrop.
HWND findMainWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t title[32] = {};
            GetWindowTextW(window, title, 32);
            if (std::wstring(title) == L"Korzenik" && GetDlgItem(window, kChartId)) {
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

/// An XWD screenshot of a true-colour display, as 0xRRGGBB pixels.
struct Screen {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

std::uint32_t bigEndian(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

int shiftOf(std::uint32_t mask) {
    int shift = 0;
    while (mask != 0 && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

bool readScreen(const char* path, Screen* screen) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    if (file.size() < 100) return false;
    // The header is 25 big-endian 32-bit fields, then the window name, then the colour map.
    const auto field = [&](int i) { return bigEndian(file.data() + 4 * i); };
    const std::uint32_t headerSize = field(0), format = field(2), width = field(4),
                        height = field(5), byteOrder = field(7), bitsPerPixel = field(11),
                        bytesPerLine = field(12), red = field(14), green = field(15),
                        blue = field(16), colours = field(19);
    const std::uint32_t bytesPerPixel = bitsPerPixel / 8;
    if (format != 2 || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        bytesPerLine < width * bytesPerPixel) {
        std::fprintf(stderr, "window_check: %s is not a true-colour picture\n", path);
        return false;
    }
    const std::size_t start = headerSize + std::size_t{colours} * 12;
    if (file.size() < start + std::size_t{bytesPerLine} * height) return false;
    screen->width = static_cast<int>(width);
    screen->height = static_cast<int>(height);
    screen->pixels.resize(std::size_t{width} * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = file.data() + start + std::size_t{y} * bytesPerLine +
                                     std::size_t{bytesPerPixel} * x;
            std::uint32_t v = 0;
            for (std::uint32_t b = 0; b < bytesPerPixel; ++b) {
                // Least significant byte first, or most significant first.
                const std::uint32_t shift = byteOrder == 0 ? 8 * b : 8 * (bytesPerPixel - 1 - b);
                v |= std::uint32_t{p[b]} << shift;
            }
            screen->pixels[std::size_t{y} * width + x] = ((v & red) >> shiftOf(red)) << 16 |
                                                         ((v & green) >> shiftOf(green)) << 8 |
                                                         ((v & blue) >> shiftOf(blue));
        }
    }
    return true;
}

/// The results list as the transcript leaves it: its lines and the selected one (or -1).
struct ExpectedList {
    std::vector<std::string> lines;
    int selected = -1;
};

/// The value of "key": a string (JSON escapes of quotes and backslashes undone) or a number.
std::string valueOf(const std::string& line, const std::string& key) {
    std::size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos) return {};
    at += key.size() + 3;
    std::string value;
    if (at < line.size() && line[at] == '"') {
        for (++at; at < line.size() && line[at] != '"'; ++at) {
            if (line[at] == '\\' && at + 1 < line.size()) ++at;
            value += line[at];
        }
        return value;
    }
    while (at < line.size() && line[at] != ',' && line[at] != '}') value += line[at++];
    return value;
}

ExpectedList replayTranscript(const char* path) {
    ExpectedList list;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::string event = valueOf(line, "event");
        if (event == "append") {
            list.lines.push_back(valueOf(line, "text"));
        } else if (event == "delete") {
            const int index = std::atoi(valueOf(line, "index").c_str());
            if (index >= 0 && index < static_cast<int>(list.lines.size())) {
                list.lines.erase(list.lines.begin() + index);
                if (list.selected == index) list.selected = -1;
                if (list.selected > index) --list.selected;
            }
        } else if (event == "select") {
            const int index = std::atoi(valueOf(line, "index").c_str());
            list.selected = index < static_cast<int>(list.lines.size()) ? index : -1;
        }
    }
    return list;
}

/// Client pixels a control paints itself, so the face does not show there.
std::vector<bool> coveredPixels(HWND main) {
    std::vector<bool> covered(static_cast<std::size_t>(kClientWidth) * kClientHeight, false);
    struct Context {
        HWND main;
        std::vector<bool>* covered;
    } context{main, &covered};
    EnumChildWindows(
        main,
        [](HWND child, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Context*>(param);
            if (!IsWindowVisible(child) || GetDlgCtrlID(child) == kChartId) return TRUE;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, c->main, reinterpret_cast<POINT*>(&r), 2);
            wchar_t cls[16] = {};
            GetClassNameW(child, cls, 16);
            const bool groupBox = lstrcmpiW(cls, L"Button") == 0 &&
                                  (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_GROUPBOX;
            for (LONG y = std::max(r.top, 0L); y < std::min(r.bottom, LONG{kClientHeight}); ++y) {
                for (LONG x = std::max(r.left, 0L); x < std::min(r.right, LONG{kClientWidth});
                     ++x) {
                    const bool inside = y >= r.top + kGroupCaption && y < r.bottom - kGroupFrame &&
                                        x >= r.left + kGroupFrame && x < r.right - kGroupFrame;
                    if (groupBox && inside) continue;
                    (*c->covered)[static_cast<std::size_t>(y) * kClientWidth +
                                  static_cast<std::size_t>(x)] = true;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    return covered;
}

int comparePixels(HWND main, const Screen& screen, const char* picturePath) {
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> picture(
        stbi_load(picturePath, &width, &height, &channels, 3), stbi_image_free);
    if (!picture || width != korzenik::kWindowWidth || height != korzenik::kWindowHeight) {
        std::fprintf(stderr, "window_check: cannot read a window picture from %s\n", picturePath);
        return 2;
    }
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    if (origin.x < 0 || origin.y < 0 || origin.x + kClientWidth > screen.width ||
        origin.y + kClientHeight > screen.height) {
        std::fprintf(stderr, "window_check: the client area is not all on the screen\n");
        return 1;
    }
    std::printf("window_check: the client area starts at (%ld, %ld) on the screen\n", origin.x,
                origin.y);
    const std::vector<bool> covered = coveredPixels(main);
    long compared = 0, differing = 0;
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            if (covered[static_cast<std::size_t>(y) * kClientWidth + static_cast<std::size_t>(x)]) {
                continue;
            }
            ++compared;
            const unsigned char* p =
                picture.get() + (static_cast<std::size_t>(y + kClientTop) * korzenik::kWindowWidth +
                                 static_cast<std::size_t>(x + kClientLeft)) *
                                    3;
            const std::uint32_t expected =
                std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
            const std::uint32_t shown = screen.at(origin.x + x, origin.y + y);
            if (shown != expected && differing++ < 5) {
                std::fprintf(stderr, "window_check: client pixel (%d, %d) is %06x, expected %06x\n",
                             x, y, static_cast<unsigned>(shown), static_cast<unsigned>(expected));
            }
        }
    }
    std::printf("window_check: %ld client pixels compared, %ld differ\n", compared, differing);
    // The chart's backdrop alone is 494 x 446 pixels: fewer compared means the mask is wrong.
    if (compared < 494 * 446) {
        std::fprintf(stderr, "window_check: too few pixels compared\n");
        return 1;
    }
    return differing == 0 ? 0 : 1;
}

/// Entry i of a list box (LB_ messages) or a drop-down (CB_ messages) as UTF-8.
std::string itemText(HWND control, UINT lengthMessage, UINT textMessage, int i) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return toUtf8(text);
}

int compareList(HWND main, const char* transcriptPath) {
    const ExpectedList expected = replayTranscript(transcriptPath);
    HWND list = GetDlgItem(main, kResultsId);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int failed = 0;
    if (count != static_cast<int>(expected.lines.size())) {
        std::fprintf(stderr, "window_check: the list holds %d lines, expected %zu\n", count,
                     expected.lines.size());
        failed = 1;
    }
    for (int i = 0; i < count && i < static_cast<int>(expected.lines.size()); ++i) {
        const std::string text = itemText(list, LB_GETTEXTLEN, LB_GETTEXT, i);
        if (text != expected.lines[static_cast<std::size_t>(i)]) {
            std::fprintf(stderr, "window_check: line %d is \"%s\", expected \"%s\"\n", i,
                         text.c_str(), expected.lines[static_cast<std::size_t>(i)].c_str());
            failed = 1;
        }
    }
    const int selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    if (selected != expected.selected) {
        std::fprintf(stderr, "window_check: line %d is selected, expected %d\n", selected,
                     expected.selected);
        failed = 1;
    }
    std::printf("window_check: %d lines in the list\n", count);
    return failed;
}

/// Every entry of the function drop-down fits its dropped list, measured in the window's font
/// (a font handle means nothing in another process, so this one is made the window's way).
int compareDropDown(HWND main) {
    HWND box = GetDlgItem(main, korzenik::res::IDC_FUNCTION);
    HFONT own = korzenik::win32::createDialogFont(korzenik::win32::pixelScale());
    if (!box || !own) {
        std::fprintf(stderr, "window_check: no drop-down or no font\n");
        return 2;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, own);
    const auto dropped = static_cast<long>(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0));
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    int failed = count == 5 ? 0 : 1;
    for (int i = 0; i < count; ++i) {
        const std::string label = itemText(box, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
        const std::wstring text = korzenik::win32::toUtf16(label);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (extent.cx + 2 * GetSystemMetrics(SM_CXEDGE) > dropped) {
            std::fprintf(stderr, "window_check: \"%s\" is %ld px wide, its list %ld px\n",
                         label.c_str(), extent.cx, dropped);
            failed = 1;
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(own);
    std::printf("window_check: %d entries in a list %ld px wide\n", count, dropped);
    return failed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (!((command == "centre" && argc == 3) || (command == "menu" && argc == 2) ||
          (command == "focus" && (argc == 2 || argc == 3)) ||
          (command == "compare" && argc == 5))) {
        std::fprintf(stderr,
                     "usage: window_check centre ID\n"
                     "       window_check menu\n"
                     "       window_check focus [ID]\n"
                     "       window_check compare SCREEN.xwd EXPECTED.png EXPECTED.jsonl\n");
        return 2;
    }
    if (command == "menu") {
        // An open menu is a visible window of the system's menu class.
        for (int i = 0; i < 200; ++i) {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (menu && IsWindowVisible(menu)) return 0;
            Sleep(100);
        }
        std::fprintf(stderr, "window_check: no menu opened\n");
        return 1;
    }
    HWND main = findMainWindow();
    if (!main) {
        std::fprintf(stderr, "window_check: no Korzenik window\n");
        return 2;
    }
    if (command == "focus") {
        HWND wanted = argc == 3 ? GetDlgItem(main, std::atoi(argv[2])) : nullptr;
        if (argc == 3 && !wanted) return 2;
        const DWORD thread = GetWindowThreadProcessId(main, nullptr);
        for (int i = 0; i < 200; ++i) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(thread, &info) && info.hwndActive == main && info.hwndFocus &&
                (wanted ? info.hwndFocus == wanted : GetParent(info.hwndFocus) == main)) {
                return 0;
            }
            Sleep(100);
        }
        std::fprintf(stderr, "window_check: the focus never came to %s\n",
                     argc == 3 ? argv[2] : "the window's controls");
        return 1;
    }
    if (command == "centre") {
        HWND control = GetDlgItem(main, std::atoi(argv[2]));
        RECT r;
        if (!control || !GetWindowRect(control, &r)) return 2;
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    RECT client;
    GetClientRect(main, &client);
    if (client.right != kClientWidth || client.bottom != kClientHeight) {
        std::fprintf(stderr, "window_check: the client area is %ldx%ld, expected %dx%d\n",
                     client.right, client.bottom, kClientWidth, kClientHeight);
        return 1;
    }
    Screen screen;
    if (!readScreen(argv[2], &screen)) {
        std::fprintf(stderr, "window_check: cannot read the screenshot %s\n", argv[2]);
        return 2;
    }
    const int pixels = comparePixels(main, screen, argv[3]);
    const int list = compareList(main, argv[4]);
    const int dropDown = compareDropDown(main);
    if (pixels == 2 || dropDown == 2) return 2;
    return pixels != 0 || list != 0 || dropDown != 0 ? 1 : 0;
}
