#pragma once

#include <string>
#include <string_view>

// Texts from recorders are untrusted: they may hold terminal escape sequences
// or bytes that are not UTF-8. These helpers keep both out of the output.
namespace tolva::log {

// Appends `text` as written unquoted in a row: tab as it is, line feed as
// the two characters \n, every other control character (C0, DEL, C1) and
// every format character (general category Cf: bidirectional controls,
// zero-width characters, ...) as \u{hex}, and each ill-formed UTF-8 sequence
// as U+FFFD.
void append_clean(std::string& out, std::string_view text);

// Appends `text` between double quotes with the escapes of the debug form,
// ill-formed UTF-8 replaced by U+FFFD first.
void append_quoted_text(std::string& out, std::string_view text);

// True when append_clean would copy `text` unchanged.
bool is_clean(std::string_view text) noexcept;

}  // namespace tolva::log
