#pragma once

#include <string>
#include <string_view>

namespace tolva {

// Appends `text` between double quotes with the escapes of the debug form:
// \" \\ \n \r \t \0, and \u{hex} for Grapheme_Extend characters and for the
// categories Cc Cf Cs Co Cn Zl Zp Zs (the space excepted). `text` should be
// UTF-8; a byte that starts no well-formed sequence is written as \xhh.
void append_quoted(std::string& out, std::string_view text);

// Appends `\u{hex}`: lowercase hexadecimal without leading zeros.
void append_unicode_escape(std::string& out, char32_t c);

// Appends `\xhh` (lowercase) for one byte.
void append_byte_escape(std::string& out, char byte);

}  // namespace tolva
