#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "records.hpp"
#include "run_file.hpp"

namespace tolva::cli::sort {

// A sorted sequence of records that a merge reads from.
class Source {
 public:
  virtual ~Source() = default;
  // The next record, valid until the next call; false at the end.
  virtual bool next(Record& record) = 0;
  // Whether its records stay valid as long as the source, past the next call.
  virtual bool lasting() const noexcept = 0;
};

class BlockSource final : public Source {
 public:
  explicit BlockSource(const RecordBlock& block) noexcept : block_(block) {}
  bool next(Record& record) override {
    if (next_ == block_.size()) return false;
    // Records are read in sorted order, all over the block: fetching a few
    // ahead hides the wait for memory.
    if (next_ + lookahead < block_.size()) block_.prefetch(next_ + lookahead);
    record = block_[next_++];
    return true;
  }
  bool lasting() const noexcept override { return true; }

 private:
  static constexpr std::size_t lookahead = 16;
  const RecordBlock& block_;
  std::size_t next_ = 0;
};

class RunSource final : public Source {
 public:
  RunSource(std::string path, std::size_t buffer_size) : reader_(std::move(path), buffer_size) {}
  bool next(Record& record) override { return reader_.next(record); }
  bool lasting() const noexcept override { return false; }

 private:
  RunReader reader_;
};

// Merges sorted sources, given in input order, into `sink(record)`: by key,
// highest first when `reverse`, equal keys in source order, so the merge is
// as stable as the sort of each source. With `unique`, only the first record
// of each key is passed on.
template <class Sink>
void merge(std::vector<std::unique_ptr<Source>>& sources, bool reverse, bool unique, Sink&& sink) {
  struct Head {
    Record record;
    std::size_t source;
  };
  auto before = [reverse](const Head& a, const Head& b) {
    int order = compare_keys(a.record.key, b.record.key);
    if (order != 0) return reverse ? order > 0 : order < 0;
    return a.source < b.source;
  };
  // A heap with the first record to come out at the front.
  std::vector<Head> heap;
  heap.reserve(sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    Head head{{}, i};
    if (sources[i]->next(head.record)) heap.push_back(head);
  }
  auto sift_down = [&](std::size_t at) {
    Head moving = heap[at];
    for (;;) {
      std::size_t child = 2 * at + 1;
      if (child >= heap.size()) break;
      if (child + 1 < heap.size() && before(heap[child + 1], heap[child])) ++child;
      if (!before(heap[child], moving)) break;
      heap[at] = heap[child];
      at = child;
    }
    heap[at] = moving;
  };
  for (std::size_t i = heap.size() / 2; i-- > 0;) sift_down(i);

  // The key last passed on: the record's own when its source keeps it, else
  // a copy.
  std::string last_copy;
  std::string_view last_key;
  bool any = false;
  while (!heap.empty()) {
    Head& top = heap.front();
    if (!unique || !any || compare_keys(top.record.key, last_key) != 0) {
      if (unique) {
        last_key = top.record.key;
        if (!sources[top.source]->lasting()) last_key = last_copy.assign(last_key);
      }
      any = true;
      sink(top.record);
    }
    if (!sources[top.source]->next(top.record)) {
      top = heap.back();
      heap.pop_back();
      if (heap.empty()) break;
    }
    sift_down(0);
  }
}

}  // namespace tolva::cli::sort
