#include <gtest/gtest.h>

#include <string>

#include "make_values.hpp"

namespace tolva::testing {
namespace {

struct FormCase {
  const char* name;
  Version value;
  std::string text;
  std::string debug;  // of the held value, without "Version::"
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class Forms : public ::testing::TestWithParam<FormCase> {};

TEST_P(Forms, held_value_and_version_print_alike) {
  const FormCase& c = GetParam();
  EXPECT_EQ(text_form(c.value), c.text);
  EXPECT_EQ(debug_form(c.value), "Version::" + c.debug);
  std::visit(
      [&](const auto& held) {
        EXPECT_EQ(text_form(held), c.text);
        EXPECT_EQ(debug_form(held), c.debug);
      },
      c.value.value);
}

TEST_P(Forms, append_keeps_what_was_there) {
  const FormCase& c = GetParam();
  std::string out = "<";
  append_text_form(out, c.value);
  append_debug_form(out, c.value);
  EXPECT_EQ(out, "<" + c.text + "Version::" + c.debug);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Forms,
    ::testing::Values(
        FormCase{"semver_full", version(semver(1, 2, 3, TextList{"alpha", "1"}, TextList{"build", "7"})),
                 "1.2.3-alpha.1+build.7",
                 R"(SemVer { major: 1, minor: 2, patch: 3, rc: Some(["alpha", "1"]), meta: Some(["build", "7"]) })"},
        FormCase{"semver_plain", version(semver(1, 2, 3)), "1.2.3",
                 "SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"},
        FormCase{"semver_zero", version(semver(0, 0, 0)), "0.0.0",
                 "SemVer { major: 0, minor: 0, patch: 0, rc: None, meta: None }"},
        FormCase{"semver_max", version(semver(4294967295u, 0, 1)), "4294967295.0.1",
                 "SemVer { major: 4294967295, minor: 0, patch: 1, rc: None, meta: None }"},
        FormCase{"semver_empty_rc", version(semver(1, 2, 3, TextList{})), "1.2.3-",
                 "SemVer { major: 1, minor: 2, patch: 3, rc: Some([]), meta: None }"},
        FormCase{"semver_empty_rc_and_meta", version(semver(1, 2, 3, TextList{}, TextList{})), "1.2.3-+",
                 "SemVer { major: 1, minor: 2, patch: 3, rc: Some([]), meta: Some([]) }"},
        FormCase{"semver_meta_only", version(semver(1, 2, 3, std::nullopt, TextList{"x"})), "1.2.3+x",
                 R"(SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: Some(["x"]) })"},
        FormCase{"dotted", version(DotSeparated{{"1", "2", "x"}}), "1.2.x",
                 R"(DotSeparated { parts: ["1", "2", "x"] })"},
        FormCase{"dotted_empty", version(DotSeparated{}), "", "DotSeparated { parts: [] }"},
        FormCase{"dotted_one", version(DotSeparated{{"7"}}), "7", R"(DotSeparated { parts: ["7"] })"},
        FormCase{"dotted_part_with_dot", version(DotSeparated{{"a.b", "c"}}), "a.b.c",
                 R"(DotSeparated { parts: ["a.b", "c"] })"},
        FormCase{"dotted_empty_parts", version(DotSeparated{{"", ""}}), ".",
                 R"(DotSeparated { parts: ["", ""] })"},
        FormCase{"other", version(Other{"nightly"}), "nightly", R"(Other { value: "nightly" })"},
        FormCase{"other_empty", version(Other{""}), "", R"(Other { value: "" })"},
        FormCase{"other_single_quote", version(Other{"it's"}), "it's", R"(Other { value: "it's" })"},
        FormCase{"other_escaped", version(Other{"a\"b\t"}), "a\"b\t", R"(Other { value: "a\"b\t" })"}),
    [](const auto& info) { return std::string(info.param.name); });

// The optional lists are the one hand-written copy; copies of a Version of
// any kind go through it or through the standard containers.
TEST(DeepCopy, changing_the_source_leaves_copies_alone) {
  auto source = version(semver(1, 2, 3, TextList{"rc", "1"}, TextList{"b"}));
  const std::string before = debug_form(source);
  const Version copied = source;
  Version assigned = version(semver(0, 0, 0, TextList{"old"}));
  assigned = source;
  assigned = static_cast<const Version&>(assigned);
  EXPECT_EQ(copied, source);

  auto& held = std::get<SemVer>(source.value);
  held.set_meta(TextList{"b", "more"});
  held.set_rc(std::nullopt);
  EXPECT_EQ(debug_form(copied), before);
  EXPECT_EQ(debug_form(assigned), before);
}

}  // namespace
}  // namespace tolva::testing
