#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "../io/fd_capture.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/subscriber.hpp"

namespace log_test {

using tolva::log::Timestamp;

// 2026-12-06T10:39:28.123456Z
inline constexpr Timestamp kExampleTime{std::chrono::microseconds(1'796'553'568'123'456)};

// The time the injected clock reports; none reads as a broken clock.
inline std::optional<Timestamp> clock_time = kExampleTime;
inline std::optional<Timestamp> test_clock() noexcept { return clock_time; }

inline tolva::log::FmtOptions plain_options() {
  tolva::log::FmtOptions options;
  options.colour = false;
  options.clock = test_clock;
  return options;
}

// Runs `body` with a fresh subscriber as the thread's default and returns what
// reached descriptor 1.
inline std::string record(const tolva::log::FmtOptions& options, const std::function<void()>& body) {
  auto subscriber = tolva::log::make_fmt_subscriber(options);
  tolva::log::ScopedDefault scope(subscriber);
  FdCapture capture(1);
  body();
  return capture.finish();
}

// "ThreadId(n)" of the calling thread, read back from a recorded event.
inline std::string thread_tag() {
  const std::string out = record(plain_options(), [] {
    tolva::log::dispatch_event({tolva::log::Level::info, "probe", "probe", "", 0}, nullptr, {});
  });
  const auto start = out.find("ThreadId(");
  return out.substr(start, out.find(')', start) + 1 - start);
}

// Replaces every "{T}" in `text` with the calling thread's tag.
inline std::string with_thread(std::string text) {
  const std::string tag = thread_tag();
  for (auto at = text.find("{T}"); at != std::string::npos; at = text.find("{T}", at)) {
    text.replace(at, 3, tag);
  }
  return text;
}

}  // namespace log_test
