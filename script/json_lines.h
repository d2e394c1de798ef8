#pragma once
// The transcript of korzenik-script: one JSON object per line, one line per event.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korzenik::script {

/// text as a JSON string literal, quotes included. Control characters are escaped; bytes that
/// are not valid UTF-8 become U+FFFD, so the transcript is always valid UTF-8.
std::string encodeJsonString(std::string_view text);

/// What a `state` line reports: the dialog as the user sees it.
struct DialogSnapshot {
    std::string function;    ///< the picked drop-down item, "" when none
    std::string expression;  ///< the typed function's field, shown only when it holds text
    std::string start, end, precision;
    int autoState = 0;
    std::string xmin, xmax, ymin, ymax;
    std::vector<std::string> lines;
    int selected = -1;
};

std::string messageEvent(std::string_view icon, std::string_view caption, std::string_view text);
std::string focusEvent(std::string_view control);
/// The focus with part of the field's text selected: count UTF-16 code units from first.
std::string focusEvent(std::string_view control, int first, int count);
std::string appendEvent(std::string_view text);
std::string selectEvent(int index);
std::string deleteEvent(int index);
std::string stateEvent(const DialogSnapshot& s);

}  // namespace korzenik::script
