#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "command_line.hpp"
#include "inputs.hpp"
#include "line_order.hpp"
#include "lines.hpp"
#include "rejection.hpp"
#include "sort/line_blocks.hpp"
#include "text/decimal.hpp"

namespace tolva::cli {

// What ends each line written: a line feed, or with -z a NUL.
inline std::string_view line_end(const Invocation& invocation) noexcept {
  return invocation.zero_terminated ? std::string_view("\0", 1) : std::string_view("\n");
}

// Every line counts.
inline const key_bytes::Bar* no_bar() noexcept { return nullptr; }

// Reads the lines of every input as they arrive and keys each in `order`,
// by the field -k names or else the whole line: a line that does not read
// or lacks the field is reported and makes `status` rejected; each other
// line goes to `take(key, facts, line)`, which may take the key's buffer,
// unless its key falls short of the bar `bar()` sets (none: null), which is
// then told from as little of the key as the order allows. Memory holds the
// longest line and its key.
template <class Take, class SetBar = decltype(&no_bar)>
ExitStatus for_each_keyed_line(const Invocation& invocation, const LineOrder& order, bool colour,
                               Streams& io, ExitStatus& status, Take take, SetBar bar = &no_bar) {
  std::string key;
  return for_each_line(invocation.operands, line_end(invocation).front(), io,
                       [&](std::string_view name, std::size_t number, std::string_view line) {
                         std::optional<std::string_view> version = line;
                         if (invocation.key_field) {
                           version =
                               sort::field_of(line, *invocation.key_field, invocation.separator);
                         }
                         key.clear();
                         const auto reject = [&](const ParseError& error) {
                           io.report(full_report(Rejection{name, number, *version, error}, colour));
                           status = ExitStatus::rejected;
                         };
                         if (!version) {
                           std::string message = "tolva: ";
                           message.append(name).push_back(':');
                           append_decimal(message, number);
                           message.append(": no field ");
                           append_decimal(message, *invocation.key_field);
                           io.report(message);
                           status = ExitStatus::rejected;
                         } else if (const key_bytes::Bar* b = bar(); b == nullptr) {
                           if (auto made = order.append_key(key, *version); !made) {
                             reject(made.error());
                           } else {
                             take(key, *made, line);
                           }
                         } else if (auto made = order.append_key(key, *version, *b); !made) {
                           reject(made.error());
                         } else if (*made) {
                           take(key, **made, line);
                         }
                       });
}

}  // namespace tolva::cli
