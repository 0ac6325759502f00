#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The natural scheme: every text is a version, read as the runs of letters
// and of digits it holds, ordered as people mean release names:
//
//   1.0alpha1 < 1.0beta2 < 1.0rc1 < 1.0 < 1.0patch1 < 1.0.1 < 1.0a < 1.1
//
//   - a 'v' or 'V' directly before a digit at the start is dropped;
//   - any other byte than an ASCII letter or digit separates runs;
//   - a word is a pre-release word (alpha, beta, rc, or any word beginning
//     with pre), a post-release word (patch, pl, errata, or any word
//     beginning with post), or unknown; case is ignored;
//   - the ranks: pre-release and unknown words < zero < post-release words <
//     other numbers < a letter suffix, an unknown word right after a digit
//     run and not right before one (1.0a, 1.0a.1, but not 1.0a1 or 1.0.a);
//   - runs compare by rank, then numbers by value (of any length), words by
//     their first letter, case ignored (so a = alpha, p = patch = post);
//   - the shorter text is padded with zeros: 1 = 1.0 = 1.0.0, "" = 0.
namespace tolva::natural {

enum class RunKind : std::uint8_t {
  pre_release,
  unknown,
  zero,
  post_release,
  number,
  letter_suffix
};

struct Run {
  std::string_view text;  // a view into the text read
  RunKind kind = RunKind::zero;
};

// The runs of the text, in order.
[[nodiscard]] std::vector<Run> read(std::string_view text);

[[nodiscard]] std::weak_ordering compare(std::string_view a, std::string_view b) noexcept;

// The order key (tolva::scheme::append_order_key): the runs as units of a
// count of zero runs and the non-zero run after them, with a pre-release or
// unknown word's unit (0x10 and its letter; after zeros 0x11, their count and
// the letter) below the end of the text (0x20) and every other unit (0x3B
// plus its rank and the run; after zeros 0x30, their count complemented, the
// rank and the run) above it; trailing zeros are no units.
void append_order_key(std::string& out, std::string_view text);

}  // namespace tolva::natural
