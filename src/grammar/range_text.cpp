#include "tolva/grammar/range_text.hpp"

#include <algorithm>
#include <array>

namespace tolva::grammar {
namespace {

using Op = RangeOperator;

struct Spelled {
  Op op;
  std::string_view text;
  std::string_view shown;
};

// Longest first, so that the first that matches is the one written.
constexpr std::array<Spelled, 14> spellings{{
    {Op::identical, "===", "'==='"},
    {Op::less_equal, "<=", "'<='"},
    {Op::greater_equal, ">=", "'>='"},
    {Op::equal_equal, "==", "'=='"},
    {Op::not_equal, "!=", "'!='"},
    {Op::much_less, "<<", "'<<'"},
    {Op::much_greater, ">>", "'>>'"},
    {Op::tilde_greater, "~>", "'~>'"},
    {Op::tilde_equal, "~=", "'~='"},
    {Op::less, "<", "'<'"},
    {Op::greater, ">", "'>'"},
    {Op::equal, "=", "'='"},
    {Op::caret, "^", "'^'"},
    {Op::tilde, "~", "'~'"},
}};

const Spelled& spelled(Op op) noexcept { return *std::ranges::find(spellings, op, &Spelled::op); }

ExpectedPattern pattern(Op op) noexcept { return ExpectedPattern(spelled(op).shown); }

bool is_blank(char c) noexcept { return c == ' ' || c == '\t'; }

}  // namespace

RangeOp comparison(RangeOperator op) noexcept {
  switch (op) {
    case Op::less:
    case Op::much_less: return RangeOp::less;
    case Op::less_equal: return RangeOp::less_equal;
    case Op::greater:
    case Op::much_greater: return RangeOp::greater;
    case Op::greater_equal: return RangeOp::greater_equal;
    case Op::not_equal: return RangeOp::not_equal;
    default: break;
  }
  return RangeOp::equal;
}

void RangeText::skip_blanks() noexcept {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

std::expected<void, ParseError> RangeText::take_bars() {
  if (!at("||")) return fail(pos_ + 1, {ExpectedPattern::TokenBar});
  pos_ += 2;
  skip_blanks();
  return {};
}

bool RangeText::skip_joiner(bool commas) noexcept {
  skip_blanks();
  if (!commas || !at(',')) return false;
  ++pos_;
  skip_blanks();
  return true;
}

std::string_view RangeText::take_operand(bool commas) noexcept {
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !is_blank(text_[pos_]) && text_[pos_] != '|' &&
         !(commas && text_[pos_] == ',')) {
    ++pos_;
  }
  return text_.substr(start, pos_ - start);
}

std::expected<std::optional<RangeOperator>, ParseError> RangeText::take_operator(
    std::span<const RangeOperator> allowed, ExpectedPattern operand) {
  const std::string_view rest = text_.substr(pos_);
  const auto written =
      std::ranges::find_if(spellings, [&](const Spelled& s) { return rest.starts_with(s.text); });
  // A '!' alone is the start of "!=" cut short.
  if (written == spellings.end() && at('!')) return fail(pos_ + 1, {ExpectedPattern::TokenEquals});
  if (written == spellings.end()) return std::nullopt;
  const auto has = [&](Op op) { return std::ranges::find(allowed, op) != allowed.end(); };
  if (has(written->op)) {
    pos_ += written->text.size();
    skip_blanks();
    return written->op;
  }
  // The longest allowed operator the written one begins with ("=" of "==").
  for (const Spelled& s : spellings) {
    if (has(s.op) && rest.starts_with(s.text)) {
      return fail(pos_ + s.text.size(), {operand});
    }
  }
  List<ExpectedPattern> expected;
  for (Op op : allowed) {
    if (spelled(op).text[0] == rest[0]) expected.push_back(pattern(op));
  }
  if (expected.empty()) {
    for (Op op : allowed) expected.push_back(pattern(op));
    expected.push_back(operand);
  }
  ParseError error = failure_at(text_, pos_, {operand});
  error.expected = std::move(expected);
  return std::unexpected(std::move(error));
}

}  // namespace tolva::grammar
