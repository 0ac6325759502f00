#pragma once

#include <atomic>
#include <cstdint>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "tolva/log/metadata.hpp"
#include "tolva/log/subscriber.hpp"

namespace tolva::log {

// An open span as the formatter needs it.
struct SpanRecord {
  std::string target;
  std::string name;
  std::string fields;  // already formatted
  SpanId parent = 0;
  std::size_t references = 1;
};

// Every open span of one subscriber, and each thread's stack of the spans it
// has entered. Stacks are per thread and per registry, so spans of different
// threads or subscribers never mix.
class SpanRegistry {
 public:
  SpanRegistry() noexcept;
  SpanRegistry(const SpanRegistry&) = delete;
  SpanRegistry& operator=(const SpanRegistry&) = delete;

  // Opens a span with one reference; a parent span gains one until it closes.
  SpanId open(const Metadata& metadata, Parent parent, std::string fields);
  void clone(SpanId id);
  void close(SpanId id);
  // Entering holds a reference until the matching exit.
  void enter(SpanId id);
  void exit(SpanId id);

  // Calls `visit(const SpanRecord&)` for the span `parent` names (the
  // thread's current span for Parent::Kind::current) and then for each of
  // its ancestors, under the registry's read lock.
  template <class Visit>
  void for_each_in_scope(Parent parent, Visit&& visit) const {
    if (parent.kind == Parent::Kind::root) return;
    if (parent.kind == Parent::Kind::current && !has_entered_span()) return;
    std::shared_lock lock(mutex_);
    SpanId id = parent.kind == Parent::Kind::explicit_span ? parent.id : current_locked();
    while (id != 0) {
      const auto found = spans_.find(id);
      if (found == spans_.end()) return;
      visit(found->second);
      id = found->second.parent;
    }
  }

 private:
  bool has_entered_span() const noexcept;
  SpanId current_locked() const;
  void release_locked(SpanId id);

  const std::uint64_t serial_;
  std::atomic<SpanId> next_id_{1};
  mutable std::shared_mutex mutex_;
  std::unordered_map<SpanId, SpanRecord> spans_;
};

}  // namespace tolva::log
