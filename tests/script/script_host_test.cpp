// The pieces of the script host that the golden sessions do not show: escaping of texts no
// session produces, and the list's selection between events.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/memory_dialog.h"
#include "script/json_lines.h"
#include "script/script_host.h"

using namespace korzenik;
using namespace korzenik::script;

// Quotes, backslashes and control characters are escaped; bytes that are not UTF-8 (cut short,
// overlong, surrogates) become U+FFFD each, valid sequences are kept.
TEST(JsonLines, EscapesAndReplacesBytesThatAreNotUtf8) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\t\n\r\b\f", R"("\t\n\r\b\f")"},
        {std::string("\x00\x1f\x7f", 3), R"("\u0000\u001f\u007f")"},
        {"Zły zakres", "\"Zły zakres\""},
        {"a\xff"
         "b",
         "\"a" + bad + "b\""},
        {"\xc5", "\"" + bad + "\""},
        {"\xc0\xaf", "\"" + bad + bad + "\""},
        {"\xed\xa0\x80", "\"" + bad + bad + bad + "\""},
        {"\xf0\x9f\x98\x80", "\"\xf0\x9f\x98\x80\""}};
    for (const auto& [text, json] : cases) EXPECT_EQ(encodeJsonString(text), json) << json;
}

TEST(MemoryDialog, ListDeletionMovesTheSelectionWithItsLine) {
    struct Deletions : DialogListener {
        int count = 0;
        void lineDeleted(int) override { ++count; }
    } deletions;
    MemoryDialog host(&deletions);
    host.listAddString("a");
    host.listAddString("b");
    host.listSetCurSel(1);
    host.listDeleteString(0);
    EXPECT_EQ(host.selectedLine(), 0);
    host.listDeleteString(0);
    EXPECT_EQ(host.selectedLine(), -1);
    host.listDeleteString(0);  // nothing left to remove: no deletion
    EXPECT_EQ(deletions.count, 2);
}

// What a script or a path brings is quoted with its control bytes, NUL and stray bytes escaped,
// valid UTF-8 kept, and cut after 60 characters with a note of the whole length.
TEST(ScriptHost, QuotesUntrustedTextSafely) {
    const std::pair<std::string, std::string> cases[] = {
        {"jump", "'jump'"},
        {std::string("\x1b[2Jx\0y", 7), R"('\x1b[2Jx\0y')"},
        {"a\tb\\c'd\x7f", R"('a\tb\\c\'d\x7f')"},
        {"zły\xff\xc5", R"('zły\xff\xc5')"},
        // a C1 control, bidirectional overrides and isolates, a byte-order mark; U+00A0 is kept
        {"a\u009b2J\u202eb\u2066\ufeff\u00a0", R"('a\u009b2J\u202eb\u2066\ufeff)"
                                               "\u00a0'"},
        {std::string(61, 'a'), "'" + std::string(60, 'a') + "' (cut: 61 bytes in all)"},
        {std::string(59, 'a') + "ż!", "'" + std::string(59, 'a') + "ż' (cut: 62 bytes in all)"},
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(quoteUntrusted(text), quoted) << quoted;
}
