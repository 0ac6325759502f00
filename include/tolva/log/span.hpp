#pragma once

#include <cstdint>
#include <memory>

namespace tolva::log {

class Subscriber;

// Identifies a span within the subscriber that recorded it; 0 is no span.
using SpanId = std::uint64_t;

// A handle to an open span. Copies share the span; it closes when the last
// handle (and the last child span) is gone. A default-constructed span is
// disabled: entering it does nothing.
class Span {
 public:
  class Entered;

  Span() noexcept = default;
  Span(std::shared_ptr<Subscriber> subscriber, SpanId id) noexcept;
  Span(const Span& other) noexcept;
  Span(Span&& other) noexcept;
  Span& operator=(Span other) noexcept;
  ~Span();

  bool is_disabled() const noexcept { return id_ == 0; }
  SpanId id() const noexcept { return id_; }
  Subscriber* subscriber() const noexcept { return subscriber_.get(); }

  // Makes this span the calling thread's current span until the guard is
  // destroyed. The guard keeps the span open and must not leave its thread.
  [[nodiscard]] Entered enter() const noexcept;

 private:
  std::shared_ptr<Subscriber> subscriber_;
  SpanId id_ = 0;
};

class Span::Entered {
 public:
  Entered(Entered&& other) noexcept;
  Entered(const Entered&) = delete;
  Entered& operator=(const Entered&) = delete;
  Entered& operator=(Entered&&) = delete;
  ~Entered();

 private:
  friend class Span;
  Entered(std::shared_ptr<Subscriber> subscriber, SpanId id) noexcept;
  std::shared_ptr<Subscriber> subscriber_;
  SpanId id_;
};

}  // namespace tolva::log
