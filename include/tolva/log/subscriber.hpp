#pragma once

#include <expected>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>

#include "tolva/log/field.hpp"
#include "tolva/log/level.hpp"
#include "tolva/log/metadata.hpp"
#include "tolva/log/span.hpp"

namespace tolva::log {

// Where an event or a new span sits: under the thread's current span, at the
// root, or under the span `id`.
struct Parent {
  enum class Kind : std::uint8_t { current, root, explicit_span };
  Kind kind = Kind::current;
  SpanId id = 0;
};

// Receives what callsites record. Implementations are thread-safe, and none
// of these calls throws or reports a failure to the recorder.
class Subscriber {
 public:
  virtual ~Subscriber() = default;

  // The most verbose level this subscriber may let through; none means any.
  virtual std::optional<LevelFilter> max_level_hint() const noexcept { return std::nullopt; }
  virtual bool enabled(const Metadata& metadata) const noexcept = 0;

  virtual void event(const Metadata& metadata, Parent parent,
                     std::span<const Field> fields) noexcept = 0;

  // Opens a span holding one reference; 0 when it is not recorded.
  virtual SpanId new_span(const Metadata& metadata, Parent parent,
                          std::span<const Field> fields) noexcept = 0;
  virtual void clone_span(SpanId id) noexcept = 0;
  // Drops one reference; the span closes with its last one.
  virtual void close_span(SpanId id) noexcept = 0;
  // Enter and exit happen in pairs on one thread.
  virtual void enter(SpanId id) noexcept = 0;
  virtual void exit(SpanId id) noexcept = 0;
};

// Adds `subscriber` to the process's live subscribers (dropping those that no
// longer exist) and recomputes the maximum enabled level from their hints.
void register_subscriber(const std::shared_ptr<Subscriber>& subscriber);

enum class SetDefaultError { already_set };

// Installs `subscriber` as the process-wide default. Only the first call in
// the process succeeds; the default never changes afterwards.
[[nodiscard]] std::expected<void, SetDefaultError> set_global_default(
    std::shared_ptr<Subscriber> subscriber);

// Routes the calling thread's recordings to `subscriber` while it lives,
// ahead of the process-wide default. Nests; destroy in reverse order.
class ScopedDefault {
 public:
  explicit ScopedDefault(std::shared_ptr<Subscriber> subscriber);
  ScopedDefault(const ScopedDefault&) = delete;
  ScopedDefault& operator=(const ScopedDefault&) = delete;
  ~ScopedDefault();
};

// Hands an event to the current subscriber; discarded when there is none.
// `parent` null means the thread's current span.
void dispatch_event(const Metadata& metadata, const Span* parent,
                    std::initializer_list<Field> fields) noexcept;

// Opens a span in the current subscriber; disabled when there is none or it
// does not record the span. `parent` null means the thread's current span.
Span open_span(const Metadata& metadata, const Span* parent,
               std::initializer_list<Field> fields) noexcept;

}  // namespace tolva::log
