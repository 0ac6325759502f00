#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "text/hex.hpp"
#include "text/write_all.hpp"

namespace tolva {
namespace {

struct HexWriting {
  std::uint32_t number;
  std::size_t width;
  HexCase letters;
  const char* written;
};

class Hex : public ::testing::TestWithParam<HexWriting> {};

TEST_P(Hex, writes_the_digits) {
  std::string out = "x";
  append_hex(out, GetParam().number, GetParam().width, GetParam().letters);
  EXPECT_EQ(out, std::string("x") + GetParam().written);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Edges, Hex,
    ::testing::Values(
        HexWriting{0x0, 1, HexCase::lower, "0"},
        HexWriting{0xF, 1, HexCase::lower, "f"},
        HexWriting{0x10, 1, HexCase::lower, "10"},
        HexWriting{0x1B, 2, HexCase::lower, "1b"},
        HexWriting{0x5, 2, HexCase::lower, "05"},
        HexWriting{0xAD, 4, HexCase::upper, "00AD"},
        HexWriting{0xFFFF, 4, HexCase::upper, "FFFF"},
        HexWriting{0x10000, 4, HexCase::upper, "10000"},
        HexWriting{0xFFFFFFFF, 1, HexCase::lower, "ffffffff"},
        HexWriting{0x5, 10, HexCase::lower, "0000000005"}));
// clang-format on

TEST(WriteAll, reports_the_errno_of_a_failed_write) {
  const WriteOutcome outcome = write_all(-1, "x");
  EXPECT_EQ(outcome.written, 0u);
  EXPECT_EQ(outcome.error, EBADF);
}

// A pipe takes 64 KiB at a time without a reader: the first write is short,
// and the check that follows it stops the writing.
TEST(WriteAll, asks_between_attempts_and_stops_when_told) {
  int ends[2];
  ASSERT_EQ(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
  const std::string bytes(1 << 20, 'v');
  std::size_t asked_at = 0;
  const GoOn stop = [](void* context, std::size_t written) noexcept {
    *static_cast<std::size_t*>(context) = written;
    return false;
  };
  const WriteOutcome outcome = write_all(ends[1], bytes, stop, &asked_at);
  EXPECT_GT(outcome.written, 0u);
  EXPECT_LT(outcome.written, bytes.size());
  EXPECT_EQ(asked_at, outcome.written);
  EXPECT_EQ(outcome.error, EINTR);
  ::close(ends[0]);
  ::close(ends[1]);
}

}  // namespace
}  // namespace tolva
