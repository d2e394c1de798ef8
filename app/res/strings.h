#pragma once
// The tool's own texts, UTF-8: every text a user sees in any edition, but for the browser
// page's when it cannot start (page_strings.h) and the Windows programs' own (windows_strings.h).
// A "%1" (and "%2", ...) stands for what the dialog puts there.
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
/// Followed by the root's x as the results list writes it.
inline constexpr std::string_view kRootMessage = "Wyznaczono miejsce zerowe funkcji w punkcie x=";

/// The message boxes' one button.
inline constexpr std::string_view kOk = "OK";

// What a screen reader hears of the window: the names of the controls no text of their own
// names, and what the chart shows (CSolverDialog::chartDescription).
inline constexpr std::string_view kResultsName = "Kolejne przybliżenia";
inline constexpr std::string_view kChartName = "Wykres";
inline constexpr std::string_view kXMinName = "najmniejsze x";
inline constexpr std::string_view kXMaxName = "największe x";
inline constexpr std::string_view kYMinName = "najmniejsze y";
inline constexpr std::string_view kYMaxName = "największe y";
inline constexpr std::string_view kChartEmpty = "Wykres jest pusty.";
/// The function, the interval's start and end.
inline constexpr std::string_view kChartOfFunction = "Wykres funkcji %1 na przedziale od %2 do %3.";
/// The interval's start and end.
inline constexpr std::string_view kChartWithoutFunction =
    "Wykres bez funkcji (nie wybrano jej) na przedziale od %1 do %2.";
/// The least and the greatest x, the least and the greatest y.
inline constexpr std::string_view kChartAxes = " Oś x od %1 do %2, oś y od %3 do %4.";
inline constexpr std::string_view kChartSteps = " Narysowane kroki metody: %1.";
inline constexpr std::string_view kChartNoSteps = " Nie narysowano kroków metody.";
/// The last line of the results list as it is spoken.
inline constexpr std::string_view kChartLastLine = " Ostatnie przybliżenie: %1.";

// The browser page's exercise link (app/exercise_link.h).
inline constexpr std::string_view kLinkCopied = "Skopiowano link do ćwiczenia.";
inline constexpr std::string_view kLinkBoxCaption = "Link do ćwiczenia";
inline constexpr std::string_view kLinkBoxText =
    "Przeglądarka nie pozwoliła skopiować linku. Skopiuj go stąd (Ctrl+C):";

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
