#pragma once

// The base header: the values, reading them from text, their order and their
// text, debug and order-key forms, light enough for every file of a caller.
// The text forms are declared over std::string; a caller that calls them has
// <string>. Hashes are <tolva/values/hash.hpp>, streams and std::format
// <tolva/values/formatting.hpp>, reports for rejected texts
// <tolva/parse.hpp>; <tolva/tolva.hpp> gathers them all.

#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/reads_back.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/values/identical.hpp"
#include "tolva/values/order_key.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/range.hpp"
#include "tolva/values/version.hpp"
