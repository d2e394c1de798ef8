#pragma once
// The console a program of the command line writes to. On Windows a console shows the bytes it
// is given in its own code page (852 on a Polish system), not in UTF-8; and a program started by
// a double-click gets a console window of its own with nothing to read, where it would wait in
// silence for a script typed by hand.
#include <cstdio>
#include <string_view>

namespace korzenik::script {

/// When standard input is a console that no other program shares (a double-click started the
/// program), says in that console what the program is and how to run it, waits for a key and
/// returns true. Otherwise (a console shared with a shell, a pipe, a file, no console at all)
/// does nothing and returns false.
bool explainToLoneConsole();

/// Writes text (UTF-8) to stream: as characters to a console that would show the bytes in another
/// code page (Windows), as the bytes otherwise. False when it could not be written, with the
/// stream's error indicator set as a failed write sets it.
bool writeText(std::FILE* stream, std::string_view text);

}  // namespace korzenik::script
