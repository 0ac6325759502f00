// The rpm, apk and alpm schemes against their ecosystems' own tools, through
// the tables tools/oracles/ made from them: the order of every pair, every
// refusal, every range.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tolva/scheme/order.hpp"

namespace {

using Row = std::vector<std::string>;

// A table's lines without its comments, each split at tabs and unescaped.
std::vector<Row> table(const std::string& scheme, const std::string& name) {
  std::ifstream in(std::string(TOLVA_SCHEME_TABLES) + "/" + scheme + "/" + name);
  EXPECT_TRUE(in) << scheme << "/" << name;
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("#")) continue;
    Row& row = rows.emplace_back(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\t') {
        row.emplace_back();
      } else if (line[i] != '\\') {
        row.back() += line[i];
      } else if (const char e = line[++i]; e == 'x') {
        row.back() += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        row.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e;
      }
    }
  }
  return rows;
}

class OracleTables : public testing::TestWithParam<tolva::Scheme> {
 protected:
  std::string name() const { return std::string(tolva::scheme::name(GetParam())); }
  std::string key(const std::string& text) const {
    auto key = tolva::scheme::order_key(text, GetParam());
    EXPECT_TRUE(key.has_value()) << text;
    return key.value_or("");
  }
  int compare(const std::string& a, const std::string& b) const {
    auto order = tolva::scheme::compare(a, b, GetParam());
    EXPECT_TRUE(order.has_value()) << a << " " << b;
    return !order ? 2 : *order < 0 ? -1 : *order > 0 ? 1 : 0;
  }
};

// Equal within a class, ascending from class to class: every pair in order
// by keys, and by compare() between neighbours.
TEST_P(OracleTables, KeysOrderAsTheOracle) {
  std::string below;
  std::string below_text;
  for (const Row& equal : table(name(), "order.tsv")) {
    const std::string first = key(equal[0]);
    EXPECT_LT(below, first) << equal[0];
    if (!below_text.empty()) {
      EXPECT_LT(compare(below_text, equal[0]), 0) << equal[0];
    }
    for (const std::string& text : equal) {
      EXPECT_EQ(key(text), first) << text << " = " << equal[0];
      EXPECT_EQ(compare(text, equal[0]), 0) << text << " = " << equal[0];
    }
    below = first;
    below_text = equal[0];
  }
}

TEST_P(OracleTables, RefusesWhatTheEcosystemRefuses) {
  for (const Row& row : table(name(), "invalid.tsv")) {
    EXPECT_FALSE(tolva::scheme::check(row[0], GetParam()).has_value()) << row[0];
  }
}

TEST_P(OracleTables, RangesHoldAsTheOracleSays) {
  const std::vector<Row> rows = table(name(), "ranges.tsv");
  for (std::size_t r = 1; r < rows.size(); ++r) {
    auto range = tolva::scheme::read_range(rows[r][0], GetParam());
    ASSERT_TRUE(range.has_value()) << rows[r][0];
    std::set<std::string> want;
    std::istringstream words(rows[r].size() > 1 ? rows[r][1] : "");
    for (std::string w; words >> w;) want.insert(w);
    std::set<std::string> got;
    for (const std::string& v : rows[0]) {
      if (tolva::scheme::contains(*range, v).value()) got.insert(v);
    }
    EXPECT_EQ(got, want) << rows[r][0];
  }
}

// pacman calls a version without a pkgrel equal to the same one with any;
// the order puts it first, and ranges keep pacman's answer.
TEST_P(OracleTables, RangesMeetAsTheOracleWhereTheOrderCannot) {
  for (const Row& pair : table(name(), "pairs.tsv")) {
    ASSERT_EQ(pair[2], "=");
    auto range = tolva::scheme::read_range("=" + pair[1], GetParam());
    ASSERT_TRUE(range.has_value()) << pair[1];
    EXPECT_TRUE(tolva::scheme::contains(*range, pair[0]).value()) << pair[0] << " = " << pair[1];
  }
}

INSTANTIATE_TEST_SUITE_P(Schemes, OracleTables,
                         testing::Values(tolva::Scheme::rpm, tolva::Scheme::apk,
                                         tolva::Scheme::alpm),
                         [](const auto& info) {
                           return std::string(tolva::scheme::name(info.param));
                         });

}  // namespace
