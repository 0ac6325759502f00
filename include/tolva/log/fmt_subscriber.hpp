#pragma once

#include <chrono>
#include <expected>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "tolva/io/stdout_stream.hpp"
#include "tolva/log/level.hpp"
#include "tolva/log/subscriber.hpp"

namespace tolva::log {

using Timestamp = std::chrono::sys_time<std::chrono::microseconds>;
// The current time, or none when the clock cannot be read.
using Clock = std::optional<Timestamp> (*)() noexcept;
// Writes one whole block; the error is reported on standard error.
using Writer = std::expected<void, std::error_code> (*)(std::string_view bytes);

[[nodiscard]] std::optional<Timestamp> system_clock_now() noexcept;

struct FmtOptions {
  bool colour = true;
  LevelFilter max_level = LevelFilter::info;
  Clock clock = system_clock_now;
  Writer writer = io::write_stdout;
};

// Colour is on unless NO_COLOR holds a non-empty value, whatever its bytes.
[[nodiscard]] bool colour_from_environment() noexcept;

// The span registry, level filter and block formatter in one subscriber,
// already registered among the live subscribers.
[[nodiscard]] std::shared_ptr<Subscriber> make_fmt_subscriber(const FmtOptions& options);

}  // namespace tolva::log
