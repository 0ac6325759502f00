// The examples in the public headers' comments, as written there, each in a
// function of what it names.
#include <iostream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "tolva/log.hpp"
#include "tolva/tolva.hpp"

namespace {

// <tolva/explain.hpp>
void explain_example(std::string_view text) {
  auto v = tolva::parse(text);
  if (!v) std::cerr << tolva::explain(v.error(), text);
}

// <tolva/grammar/text_order_key.hpp>
std::string text_order_key_example(std::string_view line) {
  std::string key;
  if (auto made = tolva::append_order_key_as<tolva::Version>(key, line); !made)
    std::cerr << tolva::explain(made.error(), line);
  return key;
}

// <tolva/log/log.hpp>
[[maybe_unused]] void log_example(const std::string& path) {
  TOLVA_INFO("started", {"count", 3}, {"path", path});
  tolva::log::Span span = TOLVA_SPAN(tolva::log::Level::info, "request", {"id", 7});
  auto entered = span.enter();
}

TEST(HeaderExamples, Run) {
  explain_example("1.2.3");
  EXPECT_EQ(text_order_key_example("1.2.3"), tolva::order_key(*tolva::parse("1.2.3")));
}

}  // namespace
