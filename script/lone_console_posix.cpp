// A terminal always belongs to a shell that started the program, so there is nothing to explain.
#include "script/lone_console.h"

namespace korzenik::script {

bool explainToLoneConsole() { return false; }

}  // namespace korzenik::script
