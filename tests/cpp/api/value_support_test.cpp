#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <type_traits>

#include "../values/make_values.hpp"
#include "tolva/tolva.hpp"

namespace tolva {
namespace {

using testing::semver;
using testing::version;

struct Pair {
  Version a, b;
  bool equal, identical;
};

class Sameness : public ::testing::TestWithParam<Pair> {};

// `identical` sees meta where `==` does not; the hash follows `==`.
TEST_P(Sameness, identical_and_hash) {
  const Pair& p = GetParam();
  EXPECT_EQ(p.a == p.b, p.equal);
  EXPECT_EQ(identical(p.a, p.b), p.identical);
  if (p.equal) {
    EXPECT_EQ(std::hash<Version>{}(p.a), std::hash<Version>{}(p.b));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Sameness,
    ::testing::Values(
        Pair{version(semver(1, 2, 3, {}, TextList{"a"})), version(semver(1, 2, 3)), true, false},
        Pair{version(semver(1, 2, 3, {}, TextList{})), version(semver(1, 2, 3)), true, false},
        Pair{version(semver(1, 2, 3, {}, TextList{"a"})),
             version(semver(1, 2, 3, {}, TextList{"b"})), true, false},
        Pair{version(semver(1, 2, 3, TextList{"a"}, TextList{"m"})),
             version(semver(1, 2, 3, TextList{"a"}, TextList{"m"})), true, true},
        Pair{version(semver(1, 2, 3, TextList{})), version(semver(1, 2, 3)), false, false},
        Pair{version(DotSeparated{{"1", "2"}}), version(Other{"1.2"}), false, false}));

TEST(Version, kind_get_if_and_visit) {
  Version v = version(DotSeparated{{"a", "b"}});
  EXPECT_EQ(v.kind(), Kind::dot_separated);
  EXPECT_EQ(v.get_if<SemVer>(), nullptr);
  ASSERT_NE(v.get_if<DotSeparated>(), nullptr);
  v.get_if<DotSeparated>()->parts.push_back("c");
  const auto size = v.visit([](const auto& held) -> std::size_t {
    if constexpr (std::is_same_v<std::decay_t<decltype(held)>, DotSeparated>) {
      return held.parts.size();
    }
    return 0;
  });
  EXPECT_EQ(size, 3u);
}

// Streams and std::format write the same forms as text_form and debug_form.
TEST(Forms, stream_and_format) {
  const Version v = version(semver(1, 2, 3, TextList{"rc"}, TextList{"b"}));
  std::ostringstream out;
  out << v << ' ' << *v.get_if<SemVer>() << ' ' << DotSeparated{{"a"}} << ' ' << Other{"x y"};
  EXPECT_EQ(out.str(), "1.2.3-rc+b 1.2.3-rc+b a x y");
#ifdef TOLVA_HAS_FORMAT
  EXPECT_EQ(std::format("{}|{:?}", v, v), text_form(v) + "|" + debug_form(v));
  EXPECT_EQ(std::format("{:?}", Other{"x"}), debug_form(Other{"x"}));
#endif
}

}  // namespace
}  // namespace tolva
