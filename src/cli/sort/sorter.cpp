#include "sorter.hpp"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

#include "../lines.hpp"
#include "merge.hpp"
#include "ordered_reports.hpp"
#include "temp_files.hpp"
#include "tolva/grammar/text_order_key.hpp"

namespace tolva::cli::sort {
namespace {

// Runs merged at once: each holds a descriptor and a read buffer.
constexpr std::size_t fan_in = 16;
// A thread is worth starting for this much input.
constexpr std::size_t min_piece = 16 * 1024;
// Bytes of reports a piece holds before it writes them.
constexpr std::size_t reports_held = 64 * 1024;

// What parsing one piece of a block gives besides its records.
struct PieceOutcome {
  std::string reports;   // not yet written
  std::string rejected;  // the rejected lines, each with its terminator
  std::size_t lines = 0;
  bool any_rejected = false;
};

// Parses piece number `piece` of a block, handing its reports to `reports`
// as they grow; the caller hands over the rest at the piece's end.
void parse_piece(const Settings& settings, std::string_view text, std::string_view name,
                 std::size_t lines_before, RecordBlock& into, PieceOutcome& outcome,
                 OrderedReports& reports, std::size_t piece) {
  report::ReportStyle style{
      .source_name = name, .first_line = lines_before, .colour = settings.colour};
  while (!text.empty()) {
    std::string_view line = take_line(text, settings.terminator);
    ++style.first_line;
    auto key = [&](std::string& out) {
      return line_key(settings, line, style, out, outcome.reports);
    };
    if (into.add(line, settings.order.key_size_bound(line.size()), key)) continue;
    outcome.any_rejected = true;
    if (settings.options.keep_rejected)
      outcome.rejected.append(line).push_back(settings.terminator);
    reports.hand_over(piece, outcome.reports, false);
  }
  outcome.lines = style.first_line - lines_before;
}

// Threads joined when it goes, however the scope is left (std::jthread is
// not in every standard library this builds with).
class JoinedThreads {
 public:
  JoinedThreads() = default;
  JoinedThreads(const JoinedThreads&) = delete;
  JoinedThreads& operator=(const JoinedThreads&) = delete;
  ~JoinedThreads() {
    for (std::thread& thread : threads_) thread.join();
  }

  // Runs `work(i)` on a new thread: false when no thread can be made.
  template <class Work>
  bool run(Work& work, std::size_t i) {
    try {
      threads_.emplace_back(work, i);
      return true;
    } catch (const std::system_error&) {
      return false;
    }
  }

 private:
  std::vector<std::thread> threads_;
};

}  // namespace

Sorter::Sorter(const Settings& settings, Streams& io)
    : settings_(settings),
      io_(io),
      block_size_(std::clamp<std::size_t>(settings.buffer_size / 8, 4096, 8 << 20)),
      reader_buffer_(std::clamp<std::size_t>(settings.buffer_size / (4 * fan_in), 4096, 1 << 20)),
      rejected_(settings.temp_dir, std::max<std::size_t>(settings.buffer_size / 8, 4096)) {}

std::error_code Sorter::read(int fd, std::string_view name) {
  LineBlocks blocks(fd, settings_.terminator, block_size_);
  std::size_t line_number = 0;
  for (;;) {
    auto block = blocks.next();
    if (!block) return block.error();
    if (block->empty()) return {};
    parse(*block, name, line_number);
  }
}

void Sorter::parse(std::string_view block, std::string_view name, std::size_t& line_number) {
  std::size_t before = held_;
  auto pieces =
      static_cast<unsigned>(std::min<std::size_t>(settings_.threads, block.size() / min_piece));
  if (pieces > 1) {
    parse_in_parallel(block, name, line_number, pieces);
  } else {
    parse_alone(block, name, line_number);
  }
  held_ = 0;
  for (const Part& part : parts_) held_ += part.records->memory();
  // The next block will likely add as much again.
  if (held_ + (held_ - before) > settings_.buffer_size) spill();
}

void Sorter::parse_alone(std::string_view block, std::string_view name, std::size_t& line_number) {
  // Small blocks go on filling one part, sorted when it is needed; a part
  // stays below an eighth of the buffer so that its growing does not pass
  // the buffer by much.
  if (parts_.empty() || parts_.back().sorted ||
      parts_.back().records->memory() > settings_.buffer_size / 8) {
    parts_.push_back(Part{std::make_unique<RecordBlock>(), false});
  }
  PieceOutcome outcome;
  OrderedReports reports(io_, reports_held);
  parse_piece(settings_, block, name, line_number, *parts_.back().records, outcome, reports, 0);
  reports.hand_over(0, outcome.reports, true);
  line_number += outcome.lines;
  if (outcome.any_rejected) status_ = ExitStatus::rejected;
  if (!outcome.rejected.empty()) rejected_.add(outcome.rejected);
}

void Sorter::parse_in_parallel(std::string_view block, std::string_view name,
                               std::size_t& line_number, unsigned pieces) {
  // Pieces of about equal size, each ending after a terminator, and the
  // number of lines before each.
  std::vector<std::string_view> texts;
  std::vector<std::size_t> lines_before;
  std::size_t start = 0;
  std::size_t lines = line_number;
  for (unsigned i = 0; i < pieces && start < block.size(); ++i) {
    std::size_t end = block.size();
    if (i + 1 < pieces) {
      std::size_t cut =
          block.find(settings_.terminator, std::max(start, block.size() * (i + 1) / pieces));
      end = cut == std::string_view::npos ? block.size() : cut + 1;
    }
    texts.push_back(block.substr(start, end - start));
    lines_before.push_back(lines);
    lines += static_cast<std::size_t>(
        std::count(texts.back().begin(), texts.back().end(), settings_.terminator));
    start = end;
  }

  std::vector<std::unique_ptr<RecordBlock>> records(texts.size());
  std::vector<PieceOutcome> outcomes(texts.size());
  std::vector<std::exception_ptr> failures(texts.size());
  OrderedReports reports(io_, reports_held);
  auto work = [&](std::size_t i) {
    try {
      records[i] = std::make_unique<RecordBlock>();
      // Room for the lines (one more, the input's last, may lack its
      // terminator) and keys about as long as they are.
      std::size_t next_lines = i + 1 < texts.size() ? lines_before[i + 1] : lines;
      records[i]->reserve(2 * texts[i].size(), next_lines - lines_before[i] + 1);
      parse_piece(settings_, texts[i], name, lines_before[i], *records[i], outcomes[i], reports, i);
      records[i]->sort(settings_.options.reverse);
      reports.hand_over(i, outcomes[i].reports, true);
    } catch (...) {
      failures[i] = std::current_exception();
      reports.stop();
    }
  };
  {
    JoinedThreads threads;
    // Pieces that got no thread of their own, run here after the first: a
    // piece waits for the ones before it to write their reports. Room is
    // made first, so nothing throws between starting a thread and running
    // the first piece, which the thread may wait for.
    std::vector<std::size_t> here;
    here.reserve(texts.size());
    {
      // The temporary files' signal handler runs on this thread, never beside it.
      temp_files::HandledSignalsBlocked blocked;
      for (std::size_t i = 1; i < texts.size(); ++i)
        if (!threads.run(work, i)) here.push_back(i);
    }
    work(0);
    for (std::size_t i : here) work(i);
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (failures[i]) std::rethrow_exception(failures[i]);
    line_number += outcomes[i].lines;
    if (outcomes[i].any_rejected) status_ = ExitStatus::rejected;
    if (!outcomes[i].rejected.empty()) rejected_.add(outcomes[i].rejected);
    parts_.push_back(Part{std::move(records[i]), true});
  }
}

void Sorter::sort_parts() {
  for (Part& part : parts_) {
    if (!part.sorted) part.records->sort(settings_.options.reverse);
    part.sorted = true;
  }
}

std::string Sorter::merge_into_file(std::vector<std::unique_ptr<Source>> sources) {
  RunWriter writer(settings_.temp_dir, reader_buffer_);
  merge(sources, settings_.options.reverse, settings_.options.unique,
        [&](const Record& r) { writer.add(r); });
  return writer.finish();
}

void Sorter::spill() {
  sort_parts();
  std::vector<std::unique_ptr<Source>> sources;
  for (const Part& part : parts_) sources.push_back(std::make_unique<BlockSource>(*part.records));
  runs_.push_back(merge_into_file(std::move(sources)));
  parts_.clear();
  held_ = 0;
}

void Sorter::finish_input() {
  if (!runs_.empty() && !parts_.empty()) spill();
  sort_parts();
  // Runs are merged in groups of neighbours, so each merged run still holds
  // lines of earlier input before those of later input.
  while (runs_.size() > fan_in) {
    std::vector<std::string> merged;
    for (std::size_t first = 0; first < runs_.size(); first += fan_in) {
      std::size_t end = std::min(first + fan_in, runs_.size());
      if (end - first == 1) {
        merged.push_back(runs_[first]);
        continue;
      }
      std::vector<std::unique_ptr<Source>> sources;
      for (std::size_t i = first; i < end; ++i) {
        sources.push_back(std::make_unique<RunSource>(runs_[i], reader_buffer_));
      }
      merged.push_back(merge_into_file(std::move(sources)));
      for (std::size_t i = first; i < end; ++i) temp_files::remove(runs_[i]);
    }
    runs_ = std::move(merged);
  }
}

void Sorter::write(Output& out) {
  finish_input();
  std::vector<std::unique_ptr<Source>> sources;
  for (const std::string& run : runs_)
    sources.push_back(std::make_unique<RunSource>(run, reader_buffer_));
  for (const Part& part : parts_) sources.push_back(std::make_unique<BlockSource>(*part.records));
  const char terminator = settings_.terminator;
  merge(sources, settings_.options.reverse, settings_.options.unique, [&](const Record& r) {
    out.write(r.line);
    out.write({&terminator, 1});
  });
  sources.clear();
  for (const std::string& run : runs_) temp_files::remove(run);
  runs_.clear();
  parts_.clear();
  if (settings_.options.keep_rejected) rejected_.write(out);
}

}  // namespace tolva::cli::sort
