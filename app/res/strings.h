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

/// The drop-down's item after the five functions, and the label of the field it enables.
inline constexpr std::string_view kOwnFunctionItem = "Własna funkcja";
inline constexpr std::string_view kOwnFunctionLabel = "&f(x) =";

/// What is wrong with a typed function. "{token}" stands for the offending text and "{place}"
/// for its place in the field, counted in characters from 1.
inline constexpr std::string_view kFunctionErrorCaption = "Błąd w funkcji";
inline constexpr std::string_view kFunctionEmptyText = "Wpisz funkcję w polu „f(x) =”";
inline constexpr std::string_view kFunctionTooLongText =
    "Funkcja jest za długa: może mieć najwyżej 200 znaków";
inline constexpr std::string_view kFunctionTooDeepText =
    "Za dużo nawiasów jeden w drugim (najwyżej 32) w funkcji, znak {place}";
inline constexpr std::string_view kFunctionUnknownNameText =
    "Nieznana nazwa „{token}” w funkcji, znak {place}";
inline constexpr std::string_view kFunctionUnexpectedCharacterText =
    "Niedozwolony znak „{token}” w funkcji, znak {place}";
inline constexpr std::string_view kFunctionDecimalCommaText =
    "Przecinek w liczbie w funkcji, znak {place}: część dziesiętną oddziela się kropką";
inline constexpr std::string_view kFunctionNumberOutOfRangeText =
    "Liczba „{token}” w funkcji jest za duża, znak {place}";
inline constexpr std::string_view kFunctionMissingOperandText =
    "Brakuje liczby, x albo nawiasu w funkcji, znak {place}";
inline constexpr std::string_view kFunctionMissingOperatorText =
    "Brakuje znaku działania (na przykład *) w funkcji, znak {place}";
inline constexpr std::string_view kFunctionMissingArgumentText =
    "Po nazwie „{token}” brakuje nawiasu z argumentem, znak {place}";
inline constexpr std::string_view kFunctionUnclosedParenthesisText = "Brakuje nawiasu zamykającego";
inline constexpr std::string_view kFunctionUnopenedParenthesisText =
    "Nawias zamykający bez otwierającego w funkcji, znak {place}";

/// A step that met a typed function where it has no finite value; the abscissa follows.
inline constexpr std::string_view kUndefinedValueText =
    "Funkcja nie ma skończonej wartości w punkcie x=";
inline constexpr std::string_view kNoChordZeroText =
    "Cięciwa nie przecina osi w skończonym punkcie: wartości funkcji na końcach przedziału są "
    "zbyt duże";

/// Why korzenik-script writes no picture over a device, a pipe, a process's descriptor or a link
/// to nothing (the system's own reasons, such as "Permission denied", are the system's texts).
inline constexpr std::string_view kNotRegularFile = "not a regular file";

}  // namespace korzenik::res
