#pragma once
// An exercise in an address: what a teacher has put into the main dialog's controls, carried
// after the '#' of the page's address as "f=3&a=-1&b=0.5&p=0.001&auto=1" — the function by its
// place in the drop-down (1 to 5, or 6 for the typed function, whose text follows as e), the
// start, end and precision as the texts typed into their fields, and Auto 0 or 1. Opening the
// address enters the exercise as a student would, pressing nothing.
//
// An address may come from anywhere, so a parameter is taken only when it is sure: a function
// that is a drop-down's place, Auto 0 or 1, and a text that the field could hold and that the
// dialog would read as a number (as a function, for e). Anything else is passed over in silence,
// and its control stays as it was: a parameter that is missing, not understood, given twice (the
// link cannot say which it means), percent-encoded wrongly, not UTF-8, with a character no one can
// type into a field (a line break, a control character), or longer than a field takes. Names that
// are not the six above are ignored.
#include <cstddef>
#include <string>
#include <string_view>

#include "app/dialog_host.h"

namespace korzenik {

/// The most characters (UTF-16 code units, as the window systems count them) that an edit box
/// takes: what Qt's and Windows' edit boxes take unless told otherwise.
inline constexpr std::size_t kEditTextLimit = 32767;

/// Enters the exercise of an address's fragment (what follows its '#', without the '#') into the
/// main dialog's controls as the student would: picks the function, types each text, ticks or
/// clears Auto. What the fragment does not give surely is not touched.
void openExercise(DialogHost& controls, std::string_view fragment);

/// The fragment that opens the exercise the controls hold now: the parameters in the order f, e,
/// a, b, p, auto, each text percent-encoded but for letters, digits and "-._~". What openExercise
/// would pass over (no function picked, a text that is no number) is left out; everything else
/// opens exactly as the controls hold it.
std::string exerciseFragment(const DialogHost& controls);

}  // namespace korzenik
