#pragma once
// The browser page's own texts, UTF-8: what its window says when the dialog cannot start there,
// written into the page when it is built. Each says what went wrong and what to do, in words
// for a student; what only the teacher can do is said to the teacher.
#include <string_view>

namespace korzenik::res {

inline constexpr std::string_view kPageFailureHeading = "Program się nie uruchomił";

/// JavaScript is off in the browser.
inline constexpr std::string_view kPageNoScript =
    "W tej przeglądarce wyłączono JavaScript, a bez niego program nie działa. Włącz JavaScript "
    "dla tej strony w ustawieniach przeglądarki i odśwież stronę.";
/// The page's script did not arrive, or the browser could not run it.
inline constexpr std::string_view kPageScriptMissing =
    "Nie dotarł plik programu korzenik.js albo ta przeglądarka nie umie go uruchomić. Odśwież "
    "stronę. Jeśli to nie pomoże, otwórz ją w aktualnej wersji przeglądarki Firefox, Chrome, Edge "
    "lub Safari albo poproś prowadzącego zajęcia o skopiowanie na serwer wszystkich plików strony.";
/// Opened from a disk (file://), where no browser lets a page load its module.
inline constexpr std::string_view kPageFromDisk =
    "Ta strona jest otwarta z pliku na dysku (jej adres zaczyna się od file://), a tak otwartej "
    "strony przeglądarka nie pozwala uruchomić programu. Otwórz adres strony podany przez "
    "prowadzącego zajęcia albo poproś prowadzącego o umieszczenie folderu ze stroną na serwerze "
    "WWW.";
/// The same, for the teacher who has the project at hand.
inline constexpr std::string_view kPageFromDiskTeacher =
    "Dla prowadzącego: w katalogu projektu polecenie „make web-serve” udostępnia stronę pod "
    "adresem, który wypisze.";
inline constexpr std::string_view kPageNoWebAssembly =
    "Ta przeglądarka nie obsługuje WebAssembly, w którym działa program. Otwórz stronę w aktualnej "
    "wersji przeglądarki Firefox, Chrome, Edge lub Safari.";
inline constexpr std::string_view kPageNetwork =
    "Nie udało się pobrać programu (korzenik.wasm): brak połączenia z serwerem. Sprawdź połączenie "
    "z siecią i odśwież stronę.";
/// The module is not on the server; the server's answer (404 or 410) follows in brackets.
inline constexpr std::string_view kPageModuleGone = "Na serwerze nie ma pliku korzenik.wasm";
/// The server would not give the module; its answer follows in brackets.
inline constexpr std::string_view kPageModuleRefused = "Serwer nie wydał pliku korzenik.wasm";
/// After either of the two above.
inline constexpr std::string_view kPageCopyAll =
    "Skopiuj na serwer wszystkie pliki strony i odśwież stronę.";
inline constexpr std::string_view kPageModuleDamaged =
    "Plik korzenik.wasm na serwerze jest uszkodzony albo pochodzi z innej wersji strony niż "
    "pozostałe pliki. Skopiuj na serwer jeszcze raz wszystkie pliki strony i odśwież stronę.";
/// The server's answer, as the texts above give it: "(odpowiedź 404)".
inline constexpr std::string_view kPageAnswer = "odpowiedź";

}  // namespace korzenik::res
