#include <array>
#include <compare>
#include <optional>
#include <span>
#include <string>

#include "commands.hpp"
#include "line_order.hpp"
#include "option_values.hpp"
#include "shown_name.hpp"
#include "tolva/parse.hpp"
#include "usage_error.hpp"

namespace tolva::cli {
namespace {

struct Operator {
  std::string_view word;
  std::string_view symbol;
  bool (*holds)(std::weak_ordering);
  std::string_view strict = {};  // dpkg's spelling of lt and gt
};

constexpr std::array<Operator, 6> operators{{
    {"lt", "<", [](std::weak_ordering o) { return o < 0; }, "<<"},
    {"le", "<=", [](std::weak_ordering o) { return o <= 0; }},
    {"eq", "==", [](std::weak_ordering o) { return o == 0; }},
    {"ne", "!=", [](std::weak_ordering o) { return o != 0; }},
    {"gt", ">", [](std::weak_ordering o) { return o > 0; }, ">>"},
    {"ge", ">=", [](std::weak_ordering o) { return o >= 0; }},
}};

const Operator* operator_named(std::string_view name) noexcept {
  for (const Operator& op : operators) {
    if (same_word(op.word, name) || op.symbol == name || op.strict == name) return &op;
  }
  return nullptr;
}

std::string unknown_operator(std::string_view name) {
  std::string message = quoted_name(name) + " is not a comparison; OP is one of ";
  for (const Operator& op : operators) message.append(op.word).append(", ");
  for (const Operator& op : operators) message.append(op.symbol).append(", ");
  return message.append("<<, >>");
}

// dpkg reads a lone '<' or '>' as its obsolete spelling of <= or >=, so
// under its order neither is taken for a strict comparison.
std::optional<std::string> obsolete_in_debian(const Invocation& invocation, std::string_view op) {
  if (invocation.scheme != Scheme::debian || (op != "<" && op != ">")) return std::nullopt;
  const bool less = op == "<";
  return quoted_name(op) + " is ambiguous under --scheme debian, where dpkg reads it as " +
         (less ? "<=" : ">=") + "; write " + (less ? "<< or <=" : ">> or >=");
}

// Two operands of which one is OP are A OP B with a version missing, as
// when a shell variable given unquoted was empty; never two versions.
std::optional<std::string> missing_version(std::span<const std::string_view> operands) {
  if (operands.size() != 2) return std::nullopt;
  for (std::string_view operand : operands) {
    if (operator_named(operand) != nullptr) {
      return quoted_name(operand) +
             " is a comparison and a version is missing; compare takes A OP B";
    }
  }
  return std::nullopt;
}

}  // namespace

ExitStatus run_compare(const Invocation& invocation, bool colour, Streams& io) {
  if (auto missing = missing_version(invocation.operands))
    return usage_error(io, *missing, Command::compare);
  const bool tested = invocation.operands.size() == 3;
  const Operator* op = nullptr;
  if (tested) {
    op = operator_named(invocation.operands[1]);
    if (op == nullptr)
      return usage_error(io, unknown_operator(invocation.operands[1]), Command::compare);
    if (auto obsolete = obsolete_in_debian(invocation, invocation.operands[1]))
      return usage_error(io, *obsolete, Command::compare);
  }
  const std::string_view texts[2] = {invocation.operands.front(), invocation.operands.back()};
  const LineOrder line_order(invocation);
  std::string keys[2];
  bool read = true;
  for (int i = 0; i < 2; ++i) {
    auto made = line_order.append_key(keys[i], texts[i]);
    if (!made) {
      // Reports name the version by its place.
      const std::string name = "argument " + std::to_string(i + 1);
      io.report(explain(made.error(), texts[i],
                        {.source_name = name, .first_line = 1, .colour = colour}));
      read = false;
    }
  }
  if (!read) return tested ? ExitStatus::trouble : ExitStatus::rejected;
  line_order.tell_of_mixed_kinds(io);
  // Keys order exactly as the versions, and are equal exactly when they are.
  const std::weak_ordering order = keys[0].compare(keys[1]) <=> 0;
  if (tested) return op->holds(order) ? ExitStatus::ok : ExitStatus::rejected;
  io.out.write(order < 0 ? "<\n" : order > 0 ? ">\n" : "=\n");
  return ExitStatus::ok;
}

}  // namespace tolva::cli
