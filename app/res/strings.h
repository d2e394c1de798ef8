#pragma once
// The tool's own texts, UTF-8.
#include <string_view>

namespace korzenik::res {

inline constexpr std::string_view kAppName = "Korzenik";
inline constexpr std::string_view kAboutMenuText = "&About Korzenik...";  // IDS_ABOUT
/// The browser page's window menu entry that copies the address of the exercise on the screen.
inline constexpr std::string_view kCopyExerciseLinkMenuText = "&Kopiuj link do ćwiczenia";

inline constexpr std::string_view kEnterNumber = "Please enter a number.";

inline constexpr std::string_view kNoFunctionText = "Nie wybrano żadnej funkcji";
inline constexpr std::string_view kNoFunctionCaption = "Brak funkcji";
inline constexpr std::string_view kRootAtStartText =
    "Miejsce zerowe funkcji znajduje się w punkcie poczatkowym zakresu ";
inline constexpr std::string_view kRootAtEndText =
    "Miejsce zerowe funkcji znajduje się w punkcie końcowym zakresu";
inline constexpr std::string_view kRootFoundCaption = "Znaleziono wynik";
inline constexpr std::string_view kSameEndsText =
    "Początek i koniec zakresu mają taką samą wartość";
inline constexpr std::string_view kBadRangeCaption = "Zły zakres";
inline constexpr std::string_view kNoSignChangeText =
    "W podanym przedziale nie można wyznaczyć miejsca zerowego";
inline constexpr std::string_view kSolutionCaption = "Rozwiązanie";

/// Why korzenik-script writes no picture over a device, a pipe, a process's descriptor or a link
/// to nothing (the system's own reasons, such as "Permission denied", are the system's texts).
inline constexpr std::string_view kNotRegularFile = "not a regular file";

}  // namespace korzenik::res
