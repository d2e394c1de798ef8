// A terminal always belongs to a shell that started the program, so there is nothing to explain.
#include "script/lone_console.h"

namespace korzenik::script {

bool explainToLoneConsole() { return false; }

// A terminal takes the bytes in the locale's character set: UTF-8 on every current system.
bool writeText(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

}  // namespace korzenik::script
