// window_check: what the window test asks of the running Korzenik window, from inside Wine. It
// reads one request a line on standard input, its fields separated by tabs, and answers each
// with one line: "ok", "ok VALUES" or "fail WHY". Waiting requests give up after 20 s.
//
//   centre ID          "ok X Y", the screen point at the centre of the main window's control ID
//   menu               waits for a menu to be open
//   focus [ID]         waits until the main window is active and has the keyboard focus on its
//                      control ID, or on any of its controls: the window puts the focus back on
//                      the control that last had it only once it has taken the activation in,
//                      so keys sent before that may land on another control
//   focused            "ok ID", the control that has the keyboard focus now (0 for none)
//   checked ID         "ok 1" when the check box ID is ticked, else "ok 0"
//   enabled ID         "ok 1" when control ID takes input, else "ok 0"
//   selection ID       "ok FIRST COUNT": the selected characters of edit box ID (UTF-16 units)
//   combo ID           "ok DROPPED SELECTION": whether the drop-down's list is open (1 or 0),
//                      and its selected entry (-1 for none)
//   index ID LABEL     "ok INDEX", the entry of drop-down ID with exactly that label
//   text ID TEXT       waits until control ID shows TEXT
//   box CAPTION TEXT   waits for a message box with that caption, over the main window, and
//                      checks that it says TEXT
//   expect             then lines "FIELD<TAB>VALUE" up to an empty line: waits until the dialog
//                      shows that state (function, expression, start, end, precision, xmin, xmax,
//                      ymin, ymax, auto, one "line" for each line of the results list, selected, in
//                      this order), and says what differs when it does not
//   compare SCREEN.xwd EXPECTED.png
//                      checks the window, as a screenshot of the display shows it, against a
//                      picture of the window: the client area is 796 x 536 pixels at the
//                      window's scale (the monitor's, app/display_scale.h); every device pixel
//                      of a client pixel that no control covers where the layout table puts the
//                      controls, and of every pixel of the chart's backdrop, is the picture's
//                      pixel's colour (a group box covers only its frame and caption, the
//                      drop-down only its closed box)
//   dropdown           every function's label fits the drop-down's dropped list
//   scale              "ok SCALE WIDTH HEIGHT": the window's scale and its client area's size
//   layout             every control stands where the layout table puts it at the window's
//                      scale (the check box may be wider, for its mark), and no two controls
//                      that the table keeps apart overlap
//   ink ID SCREEN.xwd  "ok ROWS": the rows of control ID's rectangle in the screenshot that hold
//                      a dark pixel, the height of the text a label without a frame shows
//
// window_check exits at the end of its input; with status 2 when a request cannot be read.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/display_scale.h"
#include "app/res/dialog_template.h"
#include "app/res/resource.h"
#include "app/window.h"
#include "face_mask.h"
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

/// The scale the window shows its pixels at, worked out as the window works it out, for the
/// display's dots per inch (Wine's one monitor's, which Wine tells another process's window as
/// 96).
double windowScale(HWND main) {
    return korzenik::win32::layoutScale(main, korzenik::res::kMainDialog, GetDpiForSystem(),
                                        MonitorFromWindow(main, MONITOR_DEFAULTTOPRIMARY));
}

/// Compares the client pixels that no control covers with the picture, at the window's scale;
/// empty when all agree, else why not (the first differing pixels go to standard error).
std::string comparePixels(HWND main, const Screen& screen, const std::string& picturePath) {
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> picture(
        stbi_load(picturePath.c_str(), &width, &height, &channels, 3), stbi_image_free);
    if (!picture || width != korzenik::kWindowWidth || height != korzenik::kWindowHeight) {
        return "cannot read a window picture from " + picturePath;
    }
    const double scale = windowScale(main);
    const korzenik::PixelRect device = korzenik::deviceRect(scale, korzenik::kClientRect);
    RECT client;
    GetClientRect(main, &client);
    if (client.right != device.right || client.bottom != device.bottom) {
        return "the client area is " + std::to_string(client.right) + "x" +
               std::to_string(client.bottom) + ", not " + std::to_string(device.right) + "x" +
               std::to_string(device.bottom) + " at the scale " + std::to_string(scale);
    }
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    if (origin.x < 0 || origin.y < 0 || origin.x + device.right > screen.width ||
        origin.y + device.bottom > screen.height) {
        return "the client area is not all on the screen";
    }
    // Where the layout puts the controls, not where the window has them: a control out of its
    // place shows as pixels that differ from the picture. The drop-down covers its closed box.
    RECT box;
    GetWindowRect(GetDlgItem(main, korzenik::res::IDC_FUNCTION), &box);
    const std::vector<bool> face =
        korzenik::faceShows(korzenik::res::kMainDialog,
                            static_cast<std::int32_t>(std::ceil((box.bottom - box.top) / scale)));
    std::vector<bool> seen(face.size());
    long differing = 0;
    for (int dy = 0; dy < device.bottom; ++dy) {
        const int y = korzenik::shownPixel(scale, dy);
        for (int dx = 0; dx < device.right; ++dx) {
            const int x = korzenik::shownPixel(scale, dx);
            const std::size_t at =
                static_cast<std::size_t>(y) * kClientWidth + static_cast<std::size_t>(x);
            if (!face[at]) continue;
            seen[at] = true;
            const unsigned char* p =
                picture.get() + (static_cast<std::size_t>(y + kClientTop) * korzenik::kWindowWidth +
                                 static_cast<std::size_t>(x + kClientLeft)) *
                                    3;
            const std::uint32_t expected =
                std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
            const std::uint32_t shown = screen.at(origin.x + dx, origin.y + dy);
            if (shown != expected && differing++ < 5) {
                std::fprintf(stderr,
                             "window_check: device pixel (%d, %d) of client pixel (%d, %d) is "
                             "%06x, expected %06x\n",
                             dx, dy, x, y, static_cast<unsigned>(shown),
                             static_cast<unsigned>(expected));
            }
        }
    }
    const long compared = static_cast<long>(std::count(seen.begin(), seen.end(), true));
    // The chart's backdrop alone is 494 x 446 pixels: fewer compared means the mask is wrong.
    if (compared < 494 * 446) return "only " + std::to_string(compared) + " pixels compared";
    if (differing != 0) {
        return std::to_string(differing) + " of " + std::to_string(compared) +
               " client pixels differ";
    }
    return {};
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

/// What a window or control shows. GetWindowText would give another process's edit boxes' first
/// text, not what they show now: only the message reaches the control itself.
std::string windowText(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return toUtf8(text);
}

/// Every entry of the function drop-down fits its dropped list, measured in the window's font
/// (a font handle means nothing in another process, so this one is made the window's way).
std::string compareDropDown(HWND main) {
    HWND box = GetDlgItem(main, korzenik::res::IDC_FUNCTION);
    HFONT own = korzenik::win32::createDialogFont(windowScale(main));
    if (!box || !own) return "no drop-down or no font";
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, own);
    const auto dropped = static_cast<long>(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0));
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    const std::size_t items = korzenik::res::functionItems().size();
    std::string why = static_cast<std::size_t>(count) == items
                          ? ""
                          : std::to_string(count) + " entries, not " + std::to_string(items);
    for (int i = 0; i < count; ++i) {
        const std::string label = itemText(box, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
        const std::wstring text = korzenik::win32::toUtf16(label);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (extent.cx + 2 * GetSystemMetrics(SM_CXEDGE) > dropped) {
            why = "\"" + label + "\" is " + std::to_string(extent.cx) + " px wide, its list " +
                  std::to_string(dropped) + " px";
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(own);
    return why;
}

/// The control of the main dialog's table that a child window of the window is: by its
/// identifier, or for one without (a static text, a group box) by its text. nullptr for none.
const korzenik::res::ControlTemplate* rowOf(HWND child) {
    // A control made without an identifier has -1, or 0xFFFF as a dialog's 16-bit ones read.
    const int id = GetDlgCtrlID(child);
    const bool none = (id & 0xFFFF) == 0xFFFF;
    const std::string text = windowText(child);
    for (const korzenik::res::ControlTemplate& row : korzenik::res::kMainDialog.controls) {
        if (row.id != korzenik::res::IDC_STATIC ? row.id == id
                                                : none && !row.text.empty() && row.text == text) {
            return &row;
        }
    }
    return nullptr;
}

/// Every control where the table puts it at the window's scale, the check box no narrower, and
/// no two controls that the table keeps apart over each other; empty when so, else why not.
std::string compareLayout(HWND main) {
    const double scale = windowScale(main);
    struct Placed {
        korzenik::ControlPlan plan;
        RECT shown;
    };
    std::vector<Placed> placed;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const korzenik::res::ControlTemplate* row = rowOf(child);
        if (!row) continue;
        Placed p{korzenik::controlPlan(*row), {}};
        GetWindowRect(child, &p.shown);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&p.shown), 2);
        const RECT table = korzenik::win32::controlRect(p.plan, scale);
        const bool wider = p.plan.kind == korzenik::ControlKind::CheckBox;
        // A drop-down's window is its closed box; the table's height includes its list.
        const bool closed = p.plan.kind == korzenik::ControlKind::DropDown;
        if (p.shown.left != table.left || p.shown.top != table.top ||
            (wider ? p.shown.right < table.right : p.shown.right != table.right) ||
            (closed ? p.shown.bottom > table.bottom : p.shown.bottom != table.bottom)) {
            return "control \"" + std::string(row->text) + "\" (" + std::to_string(row->id) +
                   ") stands at " + std::to_string(p.shown.left) + "," +
                   std::to_string(p.shown.top) + "-" + std::to_string(p.shown.right) + "," +
                   std::to_string(p.shown.bottom) + ", not " + std::to_string(table.left) + "," +
                   std::to_string(table.top) + "-" + std::to_string(table.right) + "," +
                   std::to_string(table.bottom);
        }
        placed.push_back(p);
    }
    if (placed.size() != korzenik::res::kMainDialog.controls.size()) {
        return std::to_string(placed.size()) + " of the table's controls found";
    }
    const auto apart = [](const auto& a, const auto& b) {
        return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    };
    for (const Placed& a : placed) {
        for (const Placed& b : placed) {
            if (&a != &b && apart(a.plan.rect, b.plan.rect) && !apart(a.shown, b.shown)) {
                return "\"" + std::string(a.plan.text) + "\" (" + std::to_string(a.plan.id) +
                       ") runs into \"" + std::string(b.plan.text) + "\" (" +
                       std::to_string(b.plan.id) + ")";
            }
        }
    }
    return {};
}

/// The rows of a control's rectangle in the screenshot that hold a pixel darker than mid-gray.
int inkRows(HWND control, const Screen& screen) {
    RECT r;
    GetWindowRect(control, &r);
    int rows = 0;
    for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, screen.height); ++y) {
        for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, screen.width); ++x) {
            const std::uint32_t c = screen.at(x, y);
            if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 0x80) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

/// The dialog's state as the window shows it, in the fields of korzenik-script's state event.
std::vector<std::pair<std::string, std::string>> shownState(HWND main) {
    using namespace korzenik::res;
    std::vector<std::pair<std::string, std::string>> state;
    const std::pair<const char*, int> texts[] = {{"function", IDC_FUNCTION},
                                                 {"expression", IDC_EXPRESSION},
                                                 {"start", IDC_START},
                                                 {"end", IDC_END},
                                                 {"precision", IDC_PRECISION},
                                                 {"xmin", IDC_XMIN},
                                                 {"xmax", IDC_XMAX},
                                                 {"ymin", IDC_YMIN},
                                                 {"ymax", IDC_YMAX}};
    for (const auto& [field, id] : texts)
        state.emplace_back(field, windowText(GetDlgItem(main, id)));
    state.emplace_back(
        "auto", SendDlgItemMessageW(main, IDC_AUTO, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
    HWND list = GetDlgItem(main, kResultsId);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        state.emplace_back("line", itemText(list, LB_GETTEXTLEN, LB_GETTEXT, i));
    }
    state.emplace_back("selected",
                       std::to_string(static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0))));
    return state;
}

/// A message box over the main window with this caption: a dialog window the main one owns.
HWND findMessageBox(HWND main, const std::string& caption) {
    struct Search {
        HWND main;
        std::string caption;
        HWND found;
    } search{main, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[16] = {};
            GetClassNameW(window, cls, 16);
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->main &&
                lstrcmpW(cls, L"#32770") == 0 && windowText(window) == s->caption) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

/// The texts of a message box's static controls that are not its icon.
std::string messageText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Static") != 0) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        text += windowText(child);
    }
    return text;
}

/// Asks again every 50 ms for 20 s until ready() holds.
template <typename Ready>
bool waitFor(Ready ready) {
    for (int i = 0; i < 400; ++i) {
        if (ready()) return true;
        Sleep(50);
    }
    return false;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == '\t') {
            out.emplace_back();
        } else if (c != '\r') {
            out.back() += c;
        }
    }
    return out;
}

/// One request, answered with "ok[ VALUES]" or "fail WHY".
std::string answer(const std::vector<std::string>& request) {
    const std::string& command = request[0];
    const std::size_t n = request.size();
    if (command == "menu") {
        // An open menu is a visible window of the system's menu class.
        const bool open = waitFor([] {
            HWND menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        });
        return open ? "ok" : "fail no menu opened";
    }
    HWND main = findMainWindow();
    if (!main) return "fail no Korzenik window";
    const int id = n > 1 ? std::atoi(request[1].c_str()) : 0;
    HWND control = n > 1 ? GetDlgItem(main, id) : nullptr;
    if (n > 1 && command != "box" && command != "compare" && !control) {
        return "fail no control " + request[1];
    }
    if (command == "centre" && n == 2) {
        RECT r;
        GetWindowRect(control, &r);
        return "ok " + std::to_string((r.left + r.right) / 2) + " " +
               std::to_string((r.top + r.bottom) / 2);
    }
    if (command == "focus" && n <= 2) {
        const DWORD thread = GetWindowThreadProcessId(main, nullptr);
        const bool focused = waitFor([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && info.hwndActive == main && info.hwndFocus &&
                   (control ? info.hwndFocus == control : GetParent(info.hwndFocus) == main);
        });
        if (focused) return "ok";
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread, &info);
        wchar_t capture[32] = L"none";
        if (info.hwndCapture) GetClassNameW(info.hwndCapture, capture, 32);
        return "fail the focus never came to " + (n == 2 ? request[1] : "a control") +
               " (active: \"" + windowText(info.hwndActive) + "\", focus on control " +
               std::to_string(GetDlgCtrlID(info.hwndFocus)) + ", mouse captured by " +
               toUtf8(capture) + ")";
    }
    if (command == "focused" && n == 1) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        const DWORD thread = GetWindowThreadProcessId(main, nullptr);
        const bool ours = GetGUIThreadInfo(thread, &info) && info.hwndActive == main &&
                          info.hwndFocus && GetParent(info.hwndFocus) == main;
        return "ok " + std::to_string(ours ? GetDlgCtrlID(info.hwndFocus) : 0);
    }
    if (command == "checked" && n == 2) {
        return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "ok 1" : "ok 0";
    }
    if (command == "enabled" && n == 2) return IsWindowEnabled(control) ? "ok 1" : "ok 0";
    if (command == "selection" && n == 2) {
        DWORD first = 0;
        DWORD past = 0;
        SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                     reinterpret_cast<LPARAM>(&past));
        return "ok " + std::to_string(first) + " " + std::to_string(past - first);
    }
    if (command == "combo" && n == 2) {
        return "ok " + std::to_string(SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0) +
               " " + std::to_string(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    }
    if (command == "index" && n == 3) {
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (itemText(control, CB_GETLBTEXTLEN, CB_GETLBTEXT, i) == request[2]) {
                return "ok " + std::to_string(i);
            }
        }
        return "fail no entry \"" + request[2] + "\"";
    }
    if (command == "text" && n == 3) {
        const bool shown = waitFor([&] { return windowText(control) == request[2]; });
        return shown ? "ok"
                     : "fail control " + request[1] + " shows \"" + windowText(control) +
                           "\", not \"" + request[2] + "\"";
    }
    if (command == "box" && n == 3) {
        HWND box = nullptr;
        if (!waitFor([&] { return (box = findMessageBox(main, request[1])) != nullptr; })) {
            return "fail no message box \"" + request[1] + "\"";
        }
        std::string text;
        waitFor([&] { return (text = messageText(box)) == request[2]; });
        return text == request[2] ? "ok"
                                  : "fail the box \"" + request[1] + "\" says \"" + text +
                                        "\", not \"" + request[2] + "\"";
    }
    if (command == "compare" && n == 3) {
        Screen screen;
        if (!readScreen(request[1].c_str(), &screen)) return "fail cannot read " + request[1];
        const std::string why = comparePixels(main, screen, request[2]);
        return why.empty() ? "ok" : "fail " + why;
    }
    if (command == "scale" && n == 1) {
        RECT client;
        GetClientRect(main, &client);
        return "ok " + std::to_string(windowScale(main)) + " " + std::to_string(client.right) +
               " " + std::to_string(client.bottom);
    }
    if (command == "layout" && n == 1) {
        const std::string why = compareLayout(main);
        return why.empty() ? "ok" : "fail " + why;
    }
    if (command == "ink" && n == 3) {
        Screen screen;
        if (!readScreen(request[2].c_str(), &screen)) return "fail cannot read " + request[2];
        return "ok " + std::to_string(inkRows(control, screen));
    }
    if (command == "dropdown" && n == 1) {
        const std::string why = compareDropDown(main);
        return why.empty() ? "ok" : "fail " + why;
    }
    return "fail cannot understand the request \"" + command + "\"";
}

/// Waits until the window shows the expected state; else says every field that differs.
std::string expectState(const std::vector<std::pair<std::string, std::string>>& expected) {
    std::vector<std::pair<std::string, std::string>> shown;
    const bool same = waitFor([&] {
        HWND main = findMainWindow();
        if (!main) return false;
        shown = shownState(main);
        return shown == expected;
    });
    if (same) return "ok";
    std::string why = "fail the window shows";
    for (const auto& [field, value] : shown) why += " " + field + "=\"" + value + "\"";
    why += "; expected";
    for (const auto& [field, value] : expected) why += " " + field + "=\"" + value + "\"";
    return why;
}

}  // namespace

int main() {
    // The window's own coordinates and scale, whatever the monitor's: not those the system
    // makes up for a program that knows no scale.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // Requests and answers are UTF-8 bytes, unchanged by the C library.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    for (std::string line; std::getline(std::cin, line);) {
        const std::vector<std::string> request = fields(line);
        std::string reply;
        if (request[0] == "expect") {
            // The fields in the order shownState() gives them.
            std::vector<std::pair<std::string, std::string>> expected;
            for (std::string f; std::getline(std::cin, f) && !f.empty();) {
                const std::vector<std::string> pair = fields(f);
                if (pair.size() != 2) return 2;
                expected.emplace_back(pair[0], pair[1]);
            }
            reply = expectState(expected);
        } else {
            reply = answer(request);
        }
        std::cout << reply << '\n' << std::flush;
    }
    return 0;
}
