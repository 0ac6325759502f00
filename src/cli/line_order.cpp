#include "line_order.hpp"

#include "range_operand.hpp"

#include <unistd.h>

#include "scheme/row.hpp"
#include "tolva/explain.hpp"
#include "usage.hpp"

namespace tolva::cli {
namespace {

// How reports name the range text.
constexpr std::string_view range_source_name = "<range>";

// KindChoice is `version` and then the kinds in Kind's order.
std::optional<Kind> kind_of(KindChoice kind) noexcept {
  if (kind == KindChoice::version) return std::nullopt;
  return static_cast<Kind>(static_cast<int>(kind) - 1);
}

}  // namespace

Order order_of(const Invocation& invocation) noexcept {
  if (invocation.scheme != Scheme::tolva) return invocation.scheme;
  return {Scheme::tolva, kind_of(invocation.kind),
          invocation.numeric_parts ? PartOrder::numeric : PartOrder::text};
}

std::expected<KeyFacts, ParseError> LineOrder::append_key(std::string& out,
                                                          std::string_view text) const {
  const std::size_t start = out.size();
  auto made = scheme::append_order_key(out, text, order_);
  // A key of tolva's order starts with the rank of the version's kind.
  if (made && order_.scheme == Scheme::tolva) {
    const auto bit = static_cast<std::uint8_t>(1u << (static_cast<unsigned char>(out[start]) & 7u));
    if ((kinds_.load(std::memory_order_relaxed) & bit) == 0) {
      kinds_.fetch_or(bit, std::memory_order_relaxed);
    }
  }
  return made;
}

std::expected<std::optional<KeyFacts>, ParseError> LineOrder::append_key(
    std::string& out, std::string_view text, const key_bytes::Bar& bar) const {
  if (const auto past = scheme::detail::row(order_.scheme).append_key_past; past != nullptr) {
    return past(out, text, order_, bar);
  }
  auto made = append_key(out, text);
  if (!made) return std::unexpected(std::move(made.error()));
  return *made;
}

void LineOrder::tell_of_mixed_kinds(Streams& io) const {
  const std::uint8_t kinds = kinds_.load(std::memory_order_relaxed);
  if ((kinds & (kinds - 1)) == 0 || isatty(2) == 0) return;
  io.report(
      "tolva: these versions are of more than one kind, and tolva's order puts every SemVer "
      "before every dot-separated version; --scheme natural orders them by their numbers\n");
}

std::optional<LineRange> read_line_range(const Invocation& invocation, bool colour, Streams& io) {
  const std::string_view text = invocation.range.value_or(std::string_view());
  if (is_vers(text)) {
    auto vers = read_range_operand(text, invocation);
    if (vers && vers->type().family != VersType::Family::scheme &&
        vers->type().family != VersType::Family::all &&
        vers->type().family != VersType::Family::none) {
      std::string message = "this command orders lines by a scheme, and ";
      vers =
          std::unexpected(RangeError{"type", message.append(vers->type().name).append(" is none")});
    }
    if (!vers) {
      range_trouble(io, invocation, vers.error());
      return std::nullopt;
    }
    return LineRange(std::move(*vers));
  }
  auto range = scheme::read_range(text, order_of(invocation), invocation.include_prerelease);
  if (range) return LineRange(std::move(*range));
  std::string message = "tolva: the range does not read\n";
  message += explain(range.error(), text, {.source_name = range_source_name, .colour = colour});
  message += usage_line(invocation.command);
  message += "Try 'tolva --help' for more.\n";
  io.report(message);
  return std::nullopt;
}

}  // namespace tolva::cli
