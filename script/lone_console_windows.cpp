// korzenik-script.exe double-clicked in Explorer: Windows gives it a console of its own, whose
// only process it is. It says there what it is for and how to run it, in the language of the
// window, and waits for a key so that the text can be read before the console closes.
#include <io.h>

#include <algorithm>
#include <cerrno>

#include <cstdio>
#include <string>

#include "app/res/windows_strings.h"
#include "script/lone_console.h"
#include "script/script_host.h"
#include "win32/utf16.h"

namespace korzenik::script {

bool explainToLoneConsole() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(in, &mode) || !GetConsoleMode(out, &mode)) return false;
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) != 1) return false;

    // A console starts a line with \r\n.
    std::string text;
    for (const std::string_view part :
         {res::kLoneConsoleExplanation, kLanguageSummary, res::kLoneConsoleClosing}) {
        for (char c : part) {
            if (c == '\n') text += '\r';
            text += c;
        }
    }
    const std::wstring wide = win32::toUtf16(text);
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);

    // A key pressed once the text is there, not one typed before it or a key's release.
    FlushConsoleInputBuffer(in);
    INPUT_RECORD record;
    DWORD got = 0;
    while (ReadConsoleInputW(in, &record, 1, &got) && got == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) break;
    }
    return true;
}

// A redirected stream (a file, a pipe) gets the UTF-8 bytes, as on Linux; a console gets the
// characters, whatever its code page, which is left as the user set it.
bool writeText(std::FILE* stream, std::string_view text) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    }
    // What the stream holds goes first, so that the order stays.
    if (std::fflush(stream) != 0) return false;
    const std::wstring wide = win32::toUtf16(text);
    for (std::size_t done = 0; done < wide.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
        DWORD written = 0;
        if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0) {
            errno = EIO;
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace korzenik::script
