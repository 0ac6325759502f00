#pragma once

// Recording macros. The level is checked before any argument is evaluated,
// so a disabled callsite costs one relaxed atomic load.
//
//   TOLVA_INFO("started", {"count", 3}, {"path", path});
//   tolva::log::Span span = TOLVA_SPAN(tolva::log::Level::info, "request", {"id", 7});
//   auto entered = span.enter();
//
// The target defaults to TOLVA_LOG_TARGET, which a file may define before
// its first recording.

#include "tolva/log/field.hpp"
#include "tolva/log/level.hpp"
#include "tolva/log/metadata.hpp"
#include "tolva/log/span.hpp"
#include "tolva/log/subscriber.hpp"

#ifndef TOLVA_LOG_TARGET
#define TOLVA_LOG_TARGET "tolva"
#endif

#define TOLVA_LOG_STRINGIFY_(x) #x
#define TOLVA_LOG_STRINGIFY(x) TOLVA_LOG_STRINGIFY_(x)

// An event with an explicit target and parent span (null: the current span);
// the fields are braced {name, value} pairs.
#define TOLVA_EVENT(level, target, parent, ...)                                   \
  do {                                                                            \
    if (::tolva::log::enabled(level)) {                                           \
      ::tolva::log::dispatch_event(                                               \
          ::tolva::log::Metadata{(level), (target),                               \
                                 "event " __FILE__ ":" TOLVA_LOG_STRINGIFY(__LINE__), \
                                 __FILE__, __LINE__},                             \
          (parent), {__VA_ARGS__});                                               \
    }                                                                             \
  } while (false)

#define TOLVA_LOG(level, message, ...) \
  TOLVA_EVENT(level, TOLVA_LOG_TARGET, nullptr, {"message", message} __VA_OPT__(, ) __VA_ARGS__)

#define TOLVA_TRACE(...) TOLVA_LOG(::tolva::log::Level::trace, __VA_ARGS__)
#define TOLVA_DEBUG(...) TOLVA_LOG(::tolva::log::Level::debug, __VA_ARGS__)
#define TOLVA_INFO(...) TOLVA_LOG(::tolva::log::Level::info, __VA_ARGS__)
#define TOLVA_WARN(...) TOLVA_LOG(::tolva::log::Level::warn, __VA_ARGS__)
#define TOLVA_ERROR(...) TOLVA_LOG(::tolva::log::Level::error, __VA_ARGS__)

// A span with an explicit target and parent (null: the current span).
#define TOLVA_SPAN_IN(level, target, parent, name, ...)                                \
  (::tolva::log::enabled(level)                                                        \
       ? ::tolva::log::open_span(                                                      \
             ::tolva::log::Metadata{(level), (target), (name), __FILE__, __LINE__},   \
             (parent), {__VA_ARGS__})                                                  \
       : ::tolva::log::Span())

#define TOLVA_SPAN(level, name, ...) \
  TOLVA_SPAN_IN(level, TOLVA_LOG_TARGET, nullptr, name __VA_OPT__(, ) __VA_ARGS__)
