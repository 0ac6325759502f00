#include "tolva/log/span.hpp"

#include <utility>

#include "tolva/log/subscriber.hpp"

namespace tolva::log {

Span::Span(std::shared_ptr<Subscriber> subscriber, SpanId id) noexcept
    : subscriber_(std::move(subscriber)), id_(id) {}

Span::Span(const Span& other) noexcept : subscriber_(other.subscriber_), id_(other.id_) {
  if (id_ != 0) subscriber_->clone_span(id_);
}

Span::Span(Span&& other) noexcept
    : subscriber_(std::move(other.subscriber_)), id_(std::exchange(other.id_, 0)) {}

Span& Span::operator=(Span other) noexcept {
  std::swap(subscriber_, other.subscriber_);
  std::swap(id_, other.id_);
  return *this;
}

Span::~Span() {
  if (id_ != 0) subscriber_->close_span(id_);
}

Span::Entered Span::enter() const noexcept {
  if (id_ == 0) return Entered(nullptr, 0);
  subscriber_->enter(id_);
  return Entered(subscriber_, id_);
}

Span::Entered::Entered(std::shared_ptr<Subscriber> subscriber, SpanId id) noexcept
    : subscriber_(std::move(subscriber)), id_(id) {}

Span::Entered::Entered(Entered&& other) noexcept
    : subscriber_(std::move(other.subscriber_)), id_(std::exchange(other.id_, 0)) {}

Span::Entered::~Entered() {
  if (id_ != 0) subscriber_->exit(id_);
}

}  // namespace tolva::log
