#pragma once

// Everything a C++ caller of tolva uses: the version values with their order
// and forms, the parsers and their reports, and the logging facility.

#include "tolva/error.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/io/stdout_stream.hpp"
#include "tolva/io/terminal_colour.hpp"
#include "tolva/log/field.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/level.hpp"
#include "tolva/log/log.hpp"
#include "tolva/log/metadata.hpp"
#include "tolva/log/span.hpp"
#include "tolva/log/subscriber.hpp"
#include "tolva/report/colour.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/report/parsers.hpp"
#include "tolva/report/render.hpp"
#include "tolva/report/report.hpp"
#include "tolva/values/dot_separated.hpp"
#include "tolva/values/other.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/short_text.hpp"
#include "tolva/values/text_list.hpp"
#include "tolva/values/version.hpp"
#include "tolva/version.hpp"
