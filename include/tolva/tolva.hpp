#pragma once

// The values with their order, forms and order key, the parsers and their
// reports, and the release. Logging has its own umbrella, <tolva/log.hpp>;
// the colour decision for standard error is <tolva/io/terminal_colour.hpp>.

#include "tolva/error.hpp"
#include "tolva/grammar/parse_error.hpp"
#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/parse.hpp"
#include "tolva/report/colour.hpp"
#include "tolva/report/parse_report.hpp"
#include "tolva/report/parsers.hpp"
#include "tolva/report/render.hpp"
#include "tolva/report/report.hpp"
#include "tolva/values/dot_separated.hpp"
#include "tolva/values/formatting.hpp"
#include "tolva/values/hash.hpp"
#include "tolva/values/identical.hpp"
#include "tolva/values/order_key.hpp"
#include "tolva/values/other.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/range.hpp"
#include "tolva/values/semver.hpp"
#include "tolva/values/short_text.hpp"
#include "tolva/values/text_list.hpp"
#include "tolva/values/version.hpp"
#include "tolva/version.hpp"
