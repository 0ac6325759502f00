#include <algorithm>
#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <vector>

#include "tolva/log/subscriber.hpp"

namespace tolva::log {
namespace {

// Every subscriber created in the process, weakly held.
struct LiveSubscribers {
  std::shared_mutex mutex;
  std::vector<std::weak_ptr<Subscriber>> entries;
};

LiveSubscribers& live_subscribers() {
  static LiveSubscribers live;
  return live;
}

// The default slot: unset, being installed, installed. `global_default` is
// written once, before the slot becomes installed, and never again.
enum : int { kUnset = 0, kInstalling = 1, kInstalled = 2 };
std::atomic<int> default_slot{kUnset};
std::shared_ptr<Subscriber>& global_default() {
  static std::shared_ptr<Subscriber>* slot = new std::shared_ptr<Subscriber>();  // never destroyed
  return *slot;
}

std::vector<std::shared_ptr<Subscriber>>& scoped_defaults() {
  thread_local std::vector<std::shared_ptr<Subscriber>> stack;
  return stack;
}

// The subscriber recordings of this thread go to, or null.
const std::shared_ptr<Subscriber>* current_subscriber() noexcept {
  const auto& scoped = scoped_defaults();
  if (!scoped.empty()) return &scoped.back();
  if (default_slot.load(std::memory_order_acquire) == kInstalled) return &global_default();
  return nullptr;
}

Parent parent_of(const Span* span, const Subscriber* subscriber) noexcept {
  if (span == nullptr) return {};
  // A disabled span, or one of another subscriber, leaves the event at the root.
  if (span->is_disabled() || span->subscriber() != subscriber) return {Parent::Kind::root, 0};
  return {Parent::Kind::explicit_span, span->id()};
}

}  // namespace

void register_subscriber(const std::shared_ptr<Subscriber>& subscriber) {
  LiveSubscribers& live = live_subscribers();
  std::unique_lock lock(live.mutex);
  std::erase_if(live.entries, [](const std::weak_ptr<Subscriber>& entry) { return entry.expired(); });
  live.entries.push_back(subscriber);

  auto most_verbose = static_cast<std::uint8_t>(LevelFilter::off);
  for (const auto& entry : live.entries) {
    const std::shared_ptr<Subscriber> alive = entry.lock();
    if (!alive) continue;
    const LevelFilter hint = alive->max_level_hint().value_or(LevelFilter::trace);
    most_verbose = std::min(most_verbose, static_cast<std::uint8_t>(hint));
  }
  detail::max_level.store(most_verbose, std::memory_order_relaxed);
}

std::expected<void, SetDefaultError> set_global_default(std::shared_ptr<Subscriber> subscriber) {
  int expected = kUnset;
  if (!default_slot.compare_exchange_strong(expected, kInstalling, std::memory_order_acq_rel)) {
    return std::unexpected(SetDefaultError::already_set);
  }
  global_default() = std::move(subscriber);
  default_slot.store(kInstalled, std::memory_order_release);
  return {};
}

ScopedDefault::ScopedDefault(std::shared_ptr<Subscriber> subscriber) {
  scoped_defaults().push_back(std::move(subscriber));
}

ScopedDefault::~ScopedDefault() { scoped_defaults().pop_back(); }

void dispatch_event(const Metadata& metadata, const Span* parent,
                    std::initializer_list<Field> fields) noexcept {
  const std::shared_ptr<Subscriber>* subscriber = current_subscriber();
  if (subscriber == nullptr) return;
  Subscriber& target = **subscriber;
  target.event(metadata, parent_of(parent, &target), {fields.begin(), fields.size()});
}

Span open_span(const Metadata& metadata, const Span* parent,
               std::initializer_list<Field> fields) noexcept {
  const std::shared_ptr<Subscriber>* subscriber = current_subscriber();
  if (subscriber == nullptr) return {};
  Subscriber& target = **subscriber;
  const SpanId id = target.new_span(metadata, parent_of(parent, &target), {fields.begin(), fields.size()});
  if (id == 0) return {};
  return Span(*subscriber, id);
}

}  // namespace tolva::log
