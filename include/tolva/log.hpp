#pragma once

// The logging facility: the recording macros, fields, levels, spans, the
// subscriber interface and the block-writing subscriber, which writes to
// standard output through tolva::io::write_stdout.

#include "tolva/io/stdout_stream.hpp"
#include "tolva/log/field.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/level.hpp"
#include "tolva/log/log.hpp"
#include "tolva/log/metadata.hpp"
#include "tolva/log/span.hpp"
#include "tolva/log/subscriber.hpp"
