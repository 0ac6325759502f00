#include "line_order.hpp"

#include <unistd.h>

#include "reading.hpp"
#include "tolva/parse.hpp"
#include "tolva/values/order_key.hpp"
#include "usage.hpp"

namespace tolva::cli {
namespace {

// How reports name the range text.
constexpr std::string_view range_source_name = "<range>";

}  // namespace

LineOrder::LineOrder(const Invocation& invocation) noexcept
    : scheme_(invocation.scheme),
      kind_(invocation.kind),
      parts_(invocation.numeric_parts ? PartOrder::numeric : PartOrder::text) {}

std::expected<void, grammar::ParseError> LineOrder::check(std::string_view text) const {
  if (scheme_ == Scheme::tolva) return check_as(kind_, text);
  return scheme::check(text, scheme_);
}

std::expected<void, grammar::ParseError> LineOrder::append_key(std::string& out,
                                                               std::string_view text) const {
  if (scheme_ != Scheme::tolva) return scheme::append_order_key(out, text, scheme_);
  auto value = read_as(kind_, text);
  if (!value) return std::unexpected(std::move(value.error()));
  append_order_key(out, *value, parts_);
  note_kind(static_cast<unsigned char>(value->kind()));
  return {};
}

void LineOrder::tell_of_mixed_kinds(Streams& io) const {
  const std::uint8_t kinds = kinds_.load(std::memory_order_relaxed);
  if ((kinds & (kinds - 1)) == 0 || isatty(2) == 0) return;
  io.report(
      "tolva: these versions are of more than one kind, and tolva's order puts every SemVer "
      "before every dot-separated version; --scheme natural orders them by their numbers\n");
}

std::optional<LineRange> LineRange::read(const Invocation& invocation, bool colour, Streams& io) {
  const std::string_view text = invocation.range.value_or(std::string_view());
  LineRange range;
  std::optional<grammar::ParseError> error;
  if (invocation.scheme == Scheme::tolva) {
    range.kind_ = invocation.kind;
    range.options_ = RangeOptions{
        .include_prerelease = invocation.include_prerelease,
        .parts = invocation.numeric_parts ? PartOrder::numeric : PartOrder::text,
    };
    auto own = parse_range(text);
    if (own) {
      range.own_ = std::move(*own);
    } else {
      error = std::move(own.error());
    }
  } else {
    auto read = scheme::read_range(text, invocation.scheme, invocation.include_prerelease);
    if (read) {
      range.range_ = std::move(*read);
    } else {
      error = std::move(read.error());
    }
  }
  if (!error) return range;
  std::string message = "tolva: the range does not read\n";
  message += explain(*error, text, {.source_name = range_source_name, .colour = colour});
  message += usage_line(invocation.command);
  message += "Try 'tolva --help' for more.\n";
  io.report(message);
  return std::nullopt;
}

std::expected<bool, grammar::ParseError> LineRange::holds(const LineOrder& order,
                                                          std::string_view text,
                                                          std::string& key) const {
  if (own_) {
    auto value = read_as(kind_, text);
    if (!value) return std::unexpected(std::move(value.error()));
    order.note_kind(static_cast<unsigned char>(value->kind()));
    return contains(*own_, *value, options_);
  }
  key.clear();
  if (auto made = order.append_key(key, text); !made)
    return std::unexpected(std::move(made.error()));
  return scheme::contains_key(range_, key);
}

bool LineRange::holds_keyed(std::string_view text, std::string_view key) const {
  if (!own_) return scheme::contains_key(range_, key);
  auto value = read_as(kind_, text);
  return value && contains(*own_, *value, options_);
}

}  // namespace tolva::cli
