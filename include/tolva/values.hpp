#pragma once

// The base header: the values, reading them from text, their order and their
// text, debug and order-key forms, light enough for every file of a caller.
// It leaves out <string>, which would double its size: the text forms and
// order keys are std::string, so a caller that makes them includes <string>:
//
//   #include <string>
//   #include <tolva/values.hpp>
//
//   auto rc = tolva::parse("1.2.3-rc.1"), release = tolva::parse("1.2.3");
//   bool before = *rc < *release;                // true
//   std::string text = tolva::text_form(*rc);    // "1.2.3-rc.1"
//   std::string key = tolva::order_key(*rc);     // below order_key(*release)
//
// Hashes are <tolva/values/hash.hpp>, streams and std::format
// <tolva/values/formatting.hpp>, the report for a rejected text
// <tolva/explain.hpp>; <tolva/tolva.hpp> gathers them all.

#include "tolva/grammar/read_range.hpp"
#include "tolva/grammar/readers.hpp"
#include "tolva/grammar/reads_back.hpp"
#include "tolva/grammar/text_order_key.hpp"
#include "tolva/values/identical.hpp"
#include "tolva/values/order_key.hpp"
#include "tolva/values/part_order.hpp"
#include "tolva/values/range.hpp"
#include "tolva/values/version.hpp"
