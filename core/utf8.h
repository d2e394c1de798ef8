#pragma once
// Reading UTF-8 one character at a time, for every place that must know where a character ends
// or which one it is: a transcript that stays valid UTF-8, an escape of what a terminal would act
// on, a field that must hold the text, a caption's mnemonic.
#include <cstddef>
#include <string_view>

namespace korzenik {

struct Utf8Character {
    char32_t code = 0;
    std::size_t size = 0;  ///< its bytes; 0 when there is no well-formed character
};

/// The character at the start of s when s starts with a well-formed UTF-8 sequence; size 0 when
/// it does not (a stray or cut byte, an overlong form, a surrogate, a code point above U+10FFFF)
/// or when s is empty.
Utf8Character decodeUtf8(std::string_view s);

}  // namespace korzenik
