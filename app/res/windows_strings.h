#pragma once
// The Windows programs' own texts, UTF-8: what Korzenik.exe says when its window cannot open, and
// what korzenik-script.exe says in a console of its own, double-clicked in Explorer.
#include <string_view>

namespace korzenik::res {

inline constexpr std::string_view kWindowFailed = "Nie udało się otworzyć okna programu.";
/// The system's reason where it gives none, and the words around its error code: "Błąd (kod 5)".
inline constexpr std::string_view kSystemError = "Błąd";
inline constexpr std::string_view kSystemErrorCode = "kod";

/// Before the script language's summary; line ends \n.
inline constexpr std::string_view kLoneConsoleExplanation =
    "korzenik-script.exe: sesje programu Korzenik bez okna\n"
    "\n"
    "Ten program uruchamia się z wiersza poleceń (cmd albo PowerShell), a nie\n"
    "dwukrotnym kliknięciem. Odtwarza sesję okna programu Korzenik zapisaną w pliku\n"
    "tekstowym (jedna czynność w wierszu) i wypisuje wszystko, co zobaczyłby\n"
    "użytkownik, jako JSON Lines. Przykład:\n"
    "\n"
    "    korzenik-script.exe sesja.ksc > zapis.jsonl\n"
    "\n"
    "Czynności w pliku sesji:\n";
/// After the summary.
inline constexpr std::string_view kLoneConsoleClosing =
    "\n"
    "Okno z wykresem to Korzenik.exe: kliknij je dwukrotnie.\n"
    "\n"
    "Naciśnij dowolny klawisz, aby zamknąć to okno.\n";

}  // namespace korzenik::res
