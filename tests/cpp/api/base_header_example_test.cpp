// The base header's example, compiled before anything but what it names to
// include.
#include <string>
#include <tolva/values.hpp>

namespace {

struct Made {
  bool before;
  std::string text, key, release_key;
};

Made base_header_example() {
  auto rc = tolva::parse("1.2.3-rc.1"), release = tolva::parse("1.2.3");
  bool before = *rc < *release;
  std::string text = tolva::text_form(*rc);
  std::string key = tolva::order_key(*rc);
  return {before, text, key, tolva::order_key(*release)};
}

}  // namespace

#include <gtest/gtest.h>

TEST(BaseHeaderExample, DoesWhatItSays) {
  const Made made = base_header_example();
  EXPECT_TRUE(made.before);
  EXPECT_EQ(made.text, "1.2.3-rc.1");
  EXPECT_LT(made.key, made.release_key);
}
