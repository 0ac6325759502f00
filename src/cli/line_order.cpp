#include "line_order.hpp"

#include "range_operand.hpp"

#include <unistd.h>

#include "kind.hpp"
#include "tolva/grammar/text_order_key.hpp"
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
  const std::size_t start = out.size();
  auto made = append_key_as(out, kind_, text, parts_);
  // A key of tolva's order starts with the rank of the version's kind.
  if (made) note_kind(static_cast<unsigned char>(out[start]));
  return made;
}

std::size_t LineOrder::key_size_bound(std::size_t size) const noexcept {
  if (scheme_ == Scheme::tolva) return order_key_size_bound(size, parts_);
  return scheme::order_key_size_bound(size, scheme_);
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
  if (is_vers(text)) {
    auto vers = read_range_operand(text, invocation);
    if (vers && vers->type().family != VersType::Family::scheme &&
        vers->type().family != VersType::Family::all && vers->type().family != VersType::Family::none) {
      vers = std::unexpected(RangeError{"type", "this command orders lines by a scheme, and " +
                                                    std::string(vers->type().name) + " is none"});
    }
    if (!vers) {
      range_trouble(io, invocation, vers.error());
      return std::nullopt;
    }
    range.vers_ = std::move(*vers);
    return range;
  }
  if (invocation.scheme == Scheme::tolva) {
    const RangeOptions options{
        .include_prerelease = invocation.include_prerelease,
        .parts = invocation.numeric_parts ? PartOrder::numeric : PartOrder::text,
    };
    auto own = parse_range(text);
    if (own) {
      range.own_.emplace(*own, options);
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

bool LineRange::holds(std::string_view key) const noexcept {
  if (vers_) return vers_->contains(TypedKey{std::string(key)});
  return own_ ? own_->contains(key) : scheme::contains_key(range_, key);
}

bool LineRange::holds(std::string_view key, std::string_view line) const noexcept {
  if (!vers_) return holds(key);
  return vers_->contains(TypedKey{std::string(key), held_back(line, vers_->type())});
}

}  // namespace tolva::cli
