// Each scheme against the answers of its ecosystem's own tool, committed as
// tables under tests/data/schemes/<scheme>/ by tools/oracles/<scheme>.py
// (their layout is described in tools/oracles/driver.py).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tolva/scheme/order.hpp"

namespace {

namespace scheme = tolva::scheme;
using Rows = std::vector<std::vector<std::string>>;

// The rows of a table, its fields split at tabs; none when the scheme has
// no such table.
Rows table(tolva::Scheme s, const std::string& name) {
  std::ifstream in(std::filesystem::path(TOLVA_SCHEME_TABLES) / scheme::name(s) / name);
  Rows rows;
  for (std::string line; std::getline(in, line);) {
    auto& row = rows.emplace_back(1);
    for (char c : line) {
      if (c == '\t') {
        row.emplace_back();
      } else {
        row.back().push_back(c);
      }
    }
  }
  return rows;
}

int sign(auto order) { return order < 0 ? -1 : order > 0 ? 1 : 0; }

class OracleTables : public testing::TestWithParam<tolva::Scheme> {};

// Every pair of the oracle's order (and of the documentation's, where the
// oracle lacks a rule), by compare() and by the order keys.
void holds_order(tolva::Scheme s, const Rows& rows) {
  std::vector<std::string> keys;
  for (const auto& row : rows) {
    auto key = scheme::order_key(row[1], s);
    ASSERT_TRUE(key.has_value()) << row[1];
    keys.push_back(*std::move(key));
  }
  int wrong = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      const int want = sign(std::stoi(rows[i][0]) - std::stoi(rows[j][0]));
      const auto order = scheme::compare(rows[i][1], rows[j][1], s);
      if (!order || sign(*order) != want || sign(keys[i].compare(keys[j])) != want) {
        ADD_FAILURE() << rows[i][1] << " vs " << rows[j][1] << ": the oracle says " << want;
        if (++wrong == 20) return;
      }
    }
  }
}

TEST_P(OracleTables, OrderOfEveryPair) {
  const Rows rows = table(GetParam(), "order.tsv");
  ASSERT_GT(rows.size(), 1000u);
  holds_order(GetParam(), rows);
  holds_order(GetParam(), table(GetParam(), "docs_order.tsv"));
}

TEST_P(OracleTables, RefusesWhatTheOracleRefuses) {
  const Rows refused = table(GetParam(), "invalid.tsv");
  ASSERT_GT(refused.size(), 500u);
  for (const auto& row : refused) {
    EXPECT_FALSE(scheme::check(row[0], GetParam()).has_value()) << row[0];
    EXPECT_FALSE(scheme::order_key(row[0], GetParam()).has_value()) << row[0];
  }
  for (const auto& row : table(GetParam(), "invalid_ranges.tsv"))
    EXPECT_FALSE(scheme::read_range(row[0], GetParam()).has_value()) << row[0];
}

TEST_P(OracleTables, RangesHoldWhatTheOracleHolds) {
  const Rows rows = table(GetParam(), "ranges.tsv");
  ASSERT_GT(rows.size(), 1000u);
  for (const auto& row : rows) {
    auto range = scheme::read_range(row[0], GetParam());
    ASSERT_TRUE(range.has_value()) << row[0];
    EXPECT_EQ(scheme::contains(*range, row[1]), row[2] == "1") << row[1] << " in " << row[0];
  }
}

// Composer's normal form of each version it reads, the first of its fields.
TEST(ComposerTables, NormalFormsAreComposers) {
  const Rows rows = table(tolva::Scheme::composer, "normalized.tsv");
  ASSERT_GT(rows.size(), 1000u);
  for (const auto& row : rows) {
    auto fields = scheme::fields(row[0], tolva::Scheme::composer);
    ASSERT_TRUE(fields.has_value()) << row[0];
    EXPECT_EQ(fields->front().value, row[1]) << row[0];
  }
}

// Composer orders no two branches; each sorts below the least numbered
// version and is equal to itself alone.
TEST(ComposerTables, BranchesLieBelowNumberedVersions) {
  const Rows branches = table(tolva::Scheme::composer, "branches.tsv");
  const std::string least = table(tolva::Scheme::composer, "order.tsv").front()[1];
  ASSERT_GT(branches.size(), 5u);
  const auto composer = tolva::Scheme::composer;
  for (const auto& a : branches) {
    EXPECT_EQ(sign(*scheme::compare(a[0], least, composer)), -1) << a[0];
    EXPECT_LT(*scheme::order_key(a[0], composer), *scheme::order_key(least, composer)) << a[0];
    for (const auto& b : branches)
      EXPECT_EQ(sign(*scheme::compare(a[0], b[0], composer)) == 0, a[0] == b[0]);
  }
}

INSTANTIATE_TEST_SUITE_P(Schemes, OracleTables,
                         testing::Values(tolva::Scheme::golang, tolva::Scheme::nuget,
                                         tolva::Scheme::composer),
                         [](const auto& info) { return std::string(scheme::name(info.param)); });

}  // namespace
