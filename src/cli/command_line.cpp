#include "command_line.hpp"

#include <unistd.h>

#include <array>
#include <charconv>
#include <limits>
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

// A positive decimal number that fits.
template <class T>
std::optional<T> positive_number(std::string_view text) noexcept {
  T n{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n == 0) return std::nullopt;
  return n;
}

// A buffer size as sort's -S reads it: a number of KiB, or a number with the
// unit b, K (or k), M, G, or % of physical memory.
std::optional<std::size_t> buffer_size_named(std::string_view text) noexcept {
  std::size_t unit = 1024;
  bool percent = false;
  if (!text.empty()) {
    switch (text.back()) {
      case 'b': unit = 1; break;
      case 'k':
      case 'K': unit = std::size_t{1} << 10; break;
      case 'M': unit = std::size_t{1} << 20; break;
      case 'G': unit = std::size_t{1} << 30; break;
      case '%': percent = true; break;
      default: unit = 0; break;
    }
    if (unit != 0 || percent) text.remove_suffix(1);
    if (unit == 0) unit = 1024;
  }
  std::size_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (percent) {
    if (n > 100) return std::nullopt;
    long pages = ::sysconf(_SC_PHYS_PAGES);
    long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return std::nullopt;
    return static_cast<std::size_t>(pages) / 100 * n * static_cast<std::size_t>(page_size);
  }
  if (n > std::numeric_limits<std::size_t>::max() / unit) return std::nullopt;
  return n * unit;
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
          std::string_view flag = flags.substr(0, unicode::decode_utf8(flags, 0).length);
          flags.remove_prefix(flag.size());
          if (auto name = short_with_value(flag)) {
            // The value is the rest of the argument, or the next one.
            if (flags.empty()) {
              if (next_ == args_.size())
                return error("option " + quoted(flag, "-") + " needs a value");
              flags = args_[next_++];
            }
            if (auto stop = sort_value(*name, flags)) return std::move(*stop);
            break;
          }
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
    bool takes_value = name == "kind" || name == "color" ||
                       (is(Command::sort) &&
                        (name == "buffer-size" || name == "temporary-directory" || name == "key" ||
                         name == "field-separator" || name == "output" || name == "parallel"));
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
    } else if (name == "zero-terminated" && is(Command::sort)) {
      invocation_.zero_terminated = true;
    } else if (name == "check" && is(Command::sort)) {
      invocation_.check_order = true;
    } else if (name == "keep-rejected" && is(Command::sort)) {
      invocation_.keep_rejected = true;
    } else if (takes_value) {
      if (!value) {
        if (next_ == args_.size()) return error("option " + quoted(name, "--") + " needs a value");
        value = args_[next_++];
      }
      return sort_value(name, *value);
    } else {
      return error("unknown option " + quoted(name, "--"));
    }
    return std::nullopt;
  }

  // The value of one of sort's options, named by its long name.
  std::optional<Request> sort_value(std::string_view name, std::string_view value) {
    auto invalid = [&] {
      return error("invalid value " + quoted(value) + " for " + quoted(name, "--"));
    };
    if (name == "buffer-size") {
      invocation_.buffer_size = buffer_size_named(value);
      if (!invocation_.buffer_size) return invalid();
    } else if (name == "temporary-directory") {
      invocation_.temp_dir = value;
    } else if (name == "key") {
      invocation_.key_field = positive_number<std::size_t>(value);
      if (!invocation_.key_field) return invalid();
    } else if (name == "field-separator") {
      if (value.size() != 1) return invalid();
      invocation_.separator = value.front();
    } else if (name == "output") {
      invocation_.output_file = value;
    } else {
      invocation_.parallel = positive_number<unsigned>(value);
      if (!invocation_.parallel) return invalid();
    }
    return std::nullopt;
  }

  // The long name of a short option of sort's that takes a value.
  std::optional<std::string_view> short_with_value(std::string_view flag) const noexcept {
    if (!is(Command::sort)) return std::nullopt;
    if (flag == "S") return "buffer-size";
    if (flag == "T") return "temporary-directory";
    if (flag == "k") return "key";
    if (flag == "t") return "field-separator";
    if (flag == "o") return "output";
    return std::nullopt;
  }

  std::optional<Request> short_option(std::string_view flag) {
    if (flag == "h") return HelpRequest{invocation_.command};
    if (flag == "z" && is(Command::sort)) {
      invocation_.zero_terminated = true;
      return std::nullopt;
    }
    if (flag == "c" && is(Command::sort)) {
      invocation_.check_order = true;
      return std::nullopt;
    }
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
