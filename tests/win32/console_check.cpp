// console_check SCRIPT_EXE SCRIPT, run in a console (under Wine: in a terminal, which Wine makes
// a console of): korzenik-script.exe started in that console with its code page set to 852, as
// cmd's and PowerShell's are on a Polish Windows, once with SCRIPT and once with --help. What the
// console then shows, read back from its screen, must hold the Polish letters of the transcript,
// of the failed line's message and of the help, and the console's code page must be 852 still.
// Exit status 0 when so, 1 saying what was wrong (written to the console after it was read), 2
// when the console or the program cannot be had.
#include <cstdio>
#include <string>
#include <vector>

#include "win32/utf16.h"

namespace {

using korzenik::win32::toUtf8;

HANDLE g_report = INVALID_HANDLE_VALUE;

void report(const std::string& text) {
    const std::wstring wide = korzenik::win32::toUtf16(text);
    DWORD written = 0;
    WriteConsoleW(g_report, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

/// Runs the command line with the console as its standard streams; its exit status, or -1.
long run(std::wstring commandLine, HANDLE in, HANDLE out) {
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = in;
    start.hStdOutput = out;
    start.hStdError = out;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &start, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(status);
}

/// Every character on the console's screen up to the cursor's row, row after row.
std::wstring screen(HANDLE out) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(out, &info)) return {};
    const DWORD cells =
        static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwCursorPosition.Y + 1);
    std::wstring text(cells, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(out, text.data(), cells, COORD{0, 0}, &read);
    text.resize(read);
    return text;
}

std::wstring fullPath(const wchar_t* path) {
    wchar_t full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path, MAX_PATH * 4, full, nullptr);
    return n > 0 && n < MAX_PATH * 4 ? std::wstring(full, n) : std::wstring(path);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE out =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
    HANDLE in =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, OPEN_EXISTING, 0, nullptr);
    g_report = out;
    if (argc != 3) {
        report("usage: console_check SCRIPT_EXE SCRIPT\n");
        return 2;
    }
    // The code page of a Polish system's command line, on a screen with nothing on it yet.
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (in == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(out, &info) ||
        !SetConsoleOutputCP(852) || !SetConsoleCP(852)) {
        std::fprintf(stderr, "console_check: no console to write to (error %lu)\n", GetLastError());
        return 2;
    }
    DWORD cleared = 0;
    FillConsoleOutputCharacterW(
        out, L' ', static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y),
        COORD{0, 0}, &cleared);
    SetConsoleCursorPosition(out, COORD{0, 0});

    const std::wstring program = L"\"" + fullPath(argv[1]) + L"\"";
    const long session = run(program + L" \"" + fullPath(argv[2]) + L"\"", in, out);
    const long help = run(program + L" --help", in, out);
    if (session < 0 || help < 0) {
        report("console_check: korzenik-script.exe cannot be started\n");
        return 2;
    }
    const std::wstring shown = screen(out);

    std::vector<std::string> failures;
    if (session != 2) failures.push_back("the session's exit status is " + std::to_string(session));
    if (help != 0) failures.push_back("--help's exit status is " + std::to_string(help));
    for (const wchar_t* wanted :
         {L"\"caption\":\"Rozwiązanie\"", L"\"caption\":\"Zły zakres\"",
          L"line 14: no function is labelled 'Żółć'", L"press Zatwierdź / Licz"}) {
        if (shown.find(wanted) == std::wstring::npos) {
            failures.push_back("the console does not show " + toUtf8(wanted));
        }
    }
    if (GetConsoleOutputCP() != 852) {
        failures.push_back("the console's code page is " + std::to_string(GetConsoleOutputCP()) +
                           " afterwards, not 852");
    }
    for (const std::string& failure : failures) report("console_check: " + failure + "\n");
    if (!failures.empty()) {
        // What the console showed, row by row without the blanks that fill them.
        GetConsoleScreenBufferInfo(out, &info);
        const std::size_t width = info.dwSize.X > 0 ? static_cast<std::size_t>(info.dwSize.X) : 80;
        for (std::size_t at = 0; at < shown.size(); at += width) {
            std::wstring row = shown.substr(at, width);
            row.erase(row.find_last_not_of(L' ') + 1);
            report("  | " + toUtf8(row) + "\n");
        }
    }
    return failures.empty() ? 0 : 1;
}
