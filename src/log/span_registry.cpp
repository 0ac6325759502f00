#include "span_registry.hpp"

#include <mutex>
#include <utility>
#include <vector>

namespace tolva::log {
namespace {

struct EnteredSpan {
  std::uint64_t registry;
  SpanId id;
};

// The calling thread's entered spans of every registry, innermost last.
std::vector<EnteredSpan>& entered_stack() {
  thread_local std::vector<EnteredSpan> stack;
  return stack;
}

std::uint64_t next_serial() noexcept {
  static std::atomic<std::uint64_t> serial{1};
  return serial.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

SpanRegistry::SpanRegistry() noexcept : serial_(next_serial()) {}

SpanId SpanRegistry::open(const Metadata& metadata, Parent parent, std::string fields) {
  const SpanId id = next_id_.fetch_add(1, std::memory_order_relaxed);
  std::unique_lock lock(mutex_);
  SpanId parent_id = 0;
  if (parent.kind == Parent::Kind::current) {
    parent_id = current_locked();
  } else if (parent.kind == Parent::Kind::explicit_span && spans_.contains(parent.id)) {
    parent_id = parent.id;
  }
  if (parent_id != 0) ++spans_.at(parent_id).references;
  spans_.emplace(id, SpanRecord{std::string(metadata.target), std::string(metadata.name),
                                std::move(fields), parent_id, 1});
  return id;
}

void SpanRegistry::clone(SpanId id) {
  std::unique_lock lock(mutex_);
  if (const auto found = spans_.find(id); found != spans_.end()) ++found->second.references;
}

void SpanRegistry::close(SpanId id) {
  std::unique_lock lock(mutex_);
  release_locked(id);
}

void SpanRegistry::release_locked(SpanId id) {
  // A closing span releases its parent, which may close in turn.
  while (id != 0) {
    const auto found = spans_.find(id);
    if (found == spans_.end() || --found->second.references > 0) return;
    id = found->second.parent;
    spans_.erase(found);
  }
}

void SpanRegistry::enter(SpanId id) {
  entered_stack().push_back({serial_, id});  // first, so a failure leaves no reference behind
  clone(id);
}

void SpanRegistry::exit(SpanId id) {
  auto& stack = entered_stack();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (it->registry == serial_ && it->id == id) {
      stack.erase(std::next(it).base());
      close(id);
      return;
    }
  }
}

bool SpanRegistry::has_entered_span() const noexcept {
  for (const EnteredSpan& entry : entered_stack()) {
    if (entry.registry == serial_) return true;
  }
  return false;
}

SpanId SpanRegistry::current_locked() const {
  const auto& stack = entered_stack();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (it->registry == serial_ && spans_.contains(it->id)) return it->id;
  }
  return 0;
}

}  // namespace tolva::log
