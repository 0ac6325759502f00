#pragma once

// Everything but logging: the base header <tolva/values.hpp>, the values'
// hashes, streams and formatters, the reports for rejected texts, the version
// schemes, and the release. Logging has its own umbrella, <tolva/log.hpp>; the colour decision
// for standard error is <tolva/io/terminal_colour.hpp>.

#include "tolva/explain.hpp"
#include "tolva/scheme/order.hpp"
#include "tolva/scheme/version_range.hpp"
#include "tolva/values.hpp"
#include "tolva/values/formatting.hpp"
#include "tolva/values/hash.hpp"
#include "tolva/version.hpp"
