#include "command_line.hpp"

#include <array>
#include <utility>

#include "shown_name.hpp"
#include "text/utf8.hpp"

namespace tolva::cli {
namespace {

constexpr std::array<std::pair<std::string_view, Command>, 4> commands{{
    {"check", Command::check},
    {"sort", Command::sort},
    {"compare", Command::compare},
    {"parse", Command::parse},
}};

std::optional<ColourChoice> colour_named(std::string_view name) noexcept {
  if (name == "auto") return ColourChoice::automatic;
  if (name == "always") return ColourChoice::always;
  if (name == "never") return ColourChoice::never;
  return std::nullopt;
}

// An argument in quotes as a message shows it, whatever bytes it holds, after
// the dashes of an option.
std::string quoted(std::string_view text, std::string_view dashes = {}) {
  std::string out = "'";
  out.append(dashes).append(shown_name(text)).push_back('\'');
  return out;
}

// Reads the options and operands that follow the command name.
class Reader {
 public:
  Reader(Command command, std::span<const std::string_view> args) : args_(args) {
    invocation_.command = command;
  }

  Request read() {
    bool options_done = false;
    while (next_ < args_.size()) {
      std::string_view arg = args_[next_++];
      if (options_done || arg == "-" || !arg.starts_with('-')) {
        invocation_.operands.push_back(arg);
      } else if (arg == "--") {
        options_done = true;
      } else if (arg.starts_with("--")) {
        if (auto stop = long_option(arg.substr(2))) return std::move(*stop);
      } else {
        // A cluster of short options, one character each: a character of
        // several bytes is one (unknown) option, not several.
        for (std::string_view flags = arg.substr(1); !flags.empty();) {
          std::string_view flag = flags.substr(0, text::decode_utf8(flags, 0).length);
          flags.remove_prefix(flag.size());
          if (auto stop = short_option(flag)) return std::move(*stop);
        }
      }
    }
    if (auto wrong = operand_count_error()) return error(std::move(*wrong));
    return std::move(invocation_);
  }

 private:
  bool is(Command c) const noexcept { return invocation_.command == c; }

  UsageError error(std::string message) const {
    return UsageError{std::move(message), invocation_.command};
  }

  // Returns the request that ends reading (help or an error), if any.
  std::optional<Request> long_option(std::string_view option) {
    std::string_view name = option.substr(0, option.find('='));
    std::optional<std::string_view> value;
    if (name.size() < option.size()) value = option.substr(name.size() + 1);
    bool takes_value = name == "kind" || name == "color";
    if (value && !takes_value) {
      return error("option " + quoted(name, "--") + " takes no value");
    }
    if (name == "help") return HelpRequest{invocation_.command};
    if (name == "kind") {
      if (!value) {
        if (next_ == args_.size()) return error("option '--kind' needs a value");
        value = args_[next_++];
      }
      auto kind = kind_named(*value);
      if (!kind) return error("unknown kind " + quoted(*value));
      invocation_.kind = *kind;
    } else if (name == "color") {
      // A bare --color means always, as with other tools.
      auto colour = value ? colour_named(*value) : ColourChoice::always;
      if (!colour) return error("unknown colour choice " + quoted(*value));
      invocation_.colour = *colour;
    } else if (name == "reverse" && is(Command::sort)) {
      invocation_.reverse = true;
    } else if (name == "unique" && is(Command::sort)) {
      invocation_.unique = true;
    } else if (name == "json" && is(Command::parse)) {
      invocation_.json = true;
    } else {
      return error("unknown option " + quoted(name, "--"));
    }
    return std::nullopt;
  }

  std::optional<Request> short_option(std::string_view flag) {
    if (flag == "h") return HelpRequest{invocation_.command};
    if (flag == "r" && is(Command::sort)) {
      invocation_.reverse = true;
    } else if (flag == "u" && is(Command::sort)) {
      invocation_.unique = true;
    } else {
      return error("unknown option " + quoted(flag, "-"));
    }
    return std::nullopt;
  }

  std::optional<std::string> operand_count_error() const {
    std::size_t count = invocation_.operands.size();
    if (is(Command::compare) && count != 2) return "compare takes two versions";
    if (is(Command::parse) && count == 0) return "parse takes at least one text";
    return std::nullopt;
  }

  std::span<const std::string_view> args_;
  std::size_t next_ = 0;
  Invocation invocation_;
};

}  // namespace

std::string_view command_name(Command command) noexcept {
  for (const auto& [name, c] : commands) {
    if (c == command) return name;
  }
  return {};
}

Request read_command_line(std::span<const std::string_view> args) {
  if (args.empty()) return UsageError{"no command given", std::nullopt};
  std::string_view first = args.front();
  if (first == "--help" || first == "-h") return HelpRequest{};
  if (first == "--version") return VersionRequest{};
  for (const auto& [name, command] : commands) {
    if (name == first) return Reader(command, args.subspan(1)).read();
  }
  if (first.starts_with('-')) return UsageError{"unknown option " + quoted(first), std::nullopt};
  return UsageError{"unknown command " + quoted(first), std::nullopt};
}

}  // namespace tolva::cli
