#pragma once
// A program of the command line started by a double-click: on Windows it gets a console window
// of its own with nothing to read, and would wait there in silence for a script typed by hand.

namespace korzenik::script {

/// When standard input is a console that no other program shares (a double-click started the
/// program), says in that console what the program is and how to run it, waits for a key and
/// returns true. Otherwise (a console shared with a shell, a pipe, a file, no console at all)
/// does nothing and returns false.
bool explainToLoneConsole();

}  // namespace korzenik::script
