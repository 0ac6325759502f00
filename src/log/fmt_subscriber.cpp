#include "tolva/log/fmt_subscriber.hpp"

#include <cstdlib>

#include "block_format.hpp"
#include "clean_text.hpp"
#include "field_format.hpp"
#include "internal_errors.hpp"
#include "span_registry.hpp"

namespace tolva::log {
namespace {

// Each thread formats into a buffer of its own that keeps its capacity.
// `busy` marks that the thread is inside a block already, so an event
// recorded from a field's formatting takes a fresh buffer instead.
struct ThreadBuffer {
  std::string text;
  bool busy = false;
};

ThreadBuffer& thread_buffer() {
  thread_local ThreadBuffer buffer;
  return buffer;
}

class BusyMark {
 public:
  explicit BusyMark(ThreadBuffer& buffer) noexcept : buffer_(buffer) { buffer_.busy = true; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;
  ~BusyMark() {
    buffer_.text.clear();
    buffer_.busy = false;
  }

 private:
  ThreadBuffer& buffer_;
};

void append_field_names(std::string& out, std::span<const Field> fields) {
  out += '[';
  for (const Field& field : fields) {
    if (&field != fields.data()) out += ", ";
    append_clean(out, field.name);
  }
  out += ']';
}

class FmtSubscriber final : public Subscriber {
 public:
  explicit FmtSubscriber(const FmtOptions& options) : options_(options) {}

  std::optional<LevelFilter> max_level_hint() const noexcept override { return options_.max_level; }

  bool enabled(const Metadata& metadata) const noexcept override {
    return passes(metadata.level, options_.max_level);
  }

  void event(const Metadata& metadata, Parent parent,
             std::span<const Field> fields) noexcept override {
    if (!enabled(metadata)) return;
    try {
      ThreadBuffer& buffer = thread_buffer();
      if (buffer.busy) {
        std::string fresh;
        format_and_write(fresh, metadata, parent, fields);
        return;
      }
      BusyMark mark(buffer);
      format_and_write(buffer.text, metadata, parent, fields);
    } catch (...) {
      // Out of memory, or a custom formatter threw: the event is dropped and
      // the caller goes on.
    }
  }

  SpanId new_span(const Metadata& metadata, Parent parent,
                  std::span<const Field> fields) noexcept override {
    if (!enabled(metadata)) return 0;
    try {
      std::string formatted;
      if (!append_fields(formatted, fields, FieldStyle{})) {
        report_span_failure(metadata, fields);
        formatted.clear();  // the span stays usable, without its fields
      }
      return spans_.open(metadata, parent, std::move(formatted));
    } catch (...) {
      return 0;
    }
  }

  void clone_span(SpanId id) noexcept override { spans_.clone(id); }
  void close_span(SpanId id) noexcept override { spans_.close(id); }

  void enter(SpanId id) noexcept override {
    try {
      spans_.enter(id);
    } catch (...) {
      // Without room on the stack the span is simply not current.
    }
  }
  void exit(SpanId id) noexcept override { spans_.exit(id); }

 private:
  void format_and_write(std::string& out, const Metadata& metadata, Parent parent,
                        std::span<const Field> fields) {
    const BlockContext context{options_.clock(), options_.colour, spans_, parent};
    if (!append_block(out, metadata, fields, context)) {
      report_format_failure(metadata, fields);
      return;
    }
    if (auto written = options_.writer(out); !written) {
      std::string message =
          "[tracing-subscriber] Unable to write an event to the Writer for this Subscriber! Error: ";
      append_error_description(message, written.error());
      message += "\n\n";
      write_stderr(message);
    }
  }

  void report_format_failure(const Metadata& metadata, std::span<const Field> fields) {
    std::string text = "Unable to format the following event. Name: ";
    append_clean(text, metadata.name);
    text += "; Fields: ";
    append_field_names(text, fields);
    text += '\n';
    if (auto written = options_.writer(text); !written) {
      std::string message =
          "[tracing-subscriber] Unable to write an \"event formatting error\" to the Writer for "
          "this Subscriber! Error: ";
      append_error_description(message, written.error());
      message += "\n\n";
      write_stderr(message);
    }
  }

  static void report_span_failure(const Metadata& metadata, std::span<const Field> fields) {
    std::string text = "[tracing-subscriber] Unable to format the following event, ignoring: ";
    text += "Attributes { target: ";
    append_quoted_text(text, metadata.target);
    text += ", name: ";
    append_quoted_text(text, metadata.name);
    text += ", fields: ";
    append_field_names(text, fields);
    text += " }\n";
    write_stderr(text);
  }

  const FmtOptions options_;
  SpanRegistry spans_;
};

}  // namespace

bool colour_from_environment() noexcept {
  // Any value but the empty one turns colour off, whatever its bytes.
  const char* value = std::getenv("NO_COLOR");
  return value == nullptr || *value == '\0';
}

std::shared_ptr<Subscriber> make_fmt_subscriber(const FmtOptions& options) {
  auto subscriber = std::make_shared<FmtSubscriber>(options);
  register_subscriber(subscriber);
  return subscriber;
}

}  // namespace tolva::log
