#pragma once

#include <optional>
#include <span>
#include <string>

#include "span_registry.hpp"
#include "tolva/log/field.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/metadata.hpp"

namespace tolva::log {

// Everything one block is made from besides the event itself.
struct BlockContext {
  std::optional<Timestamp> time;
  bool colour;
  const SpanRegistry& spans;
  Parent parent;
};

// Appends the block of one event: the row with timestamp, level, target and
// fields; the row with location and thread; one row per enclosing span,
// innermost first; an empty row. False when a field cannot be formatted.
bool append_block(std::string& out, const Metadata& metadata,
                  std::span<const Field> fields, const BlockContext& context);

}  // namespace tolva::log
