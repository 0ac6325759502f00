#pragma once

#include <expected>
#include <string_view>

#include "tolva/grammar/readers.hpp"
#include "tolva/values/range.hpp"

namespace tolva {

// A range text: alternatives separated by "||", each a list of comparators
// that must all hold, separated by blanks (spaces, tabs) or by a comma with
// any blanks around it. Blanks may stand around "||" and at either end.
//
// A comparator is an operator and an operand, with any blanks between them:
//   <V  <=V  >V  >=V  =V  !=V   V alone means =V
//   ^V  same major (same minor when the major is 0, same patch when both
//       are 0): from V up to the next change that breaks compatibility
//   ~V  same major.minor: from V up to the next minor
//   A - B  from A to B, both included; the "-" stands alone between blanks
// An operand runs up to the next blank, comma, "|" or the end, and is read as
// tolva reads a version (SemVer, else DotSeparated, else Other), so a
// comparator holds only for versions of that kind. Two readings are SemVer's
// own:
//   - a wildcard: "*", "x" or "X" alone, or one or two numbers followed by
//     wildcard parts ("1.x", "1.2.x", "1.x.x", "1.2.*", an optional 'v'
//     first). It stands for every release it matches: =1.2.x is
//     >=1.2.0 <1.3.0, >1.2.x is >=1.3.0, <1.2.x is <1.2.0 (below its
//     pre-releases too), <=1.2.x is <1.3.0, !=1.2.x is outside them, and
//     "*" matches every SemVer;
//   - a partial version ("1", "1.2") is a wildcard after ^, ~ and in a
//     hyphen range whose other end is SemVer too: ^1.2 is >=1.2.0 <2.0.0,
//     ^0.0 and ^0.0.x are >=0.0.0 <0.1.0, ~1 is >=1.0.0 <2.0.0, and
//     1.2 - 2 is >=1.2.0 <3.0.0. After any other operator it is read as a
//     version: >=1.2 compares DotSeparated values, as tolva reads "1.2".
// A hyphen range whose ends are not both SemVer-like bounds the kind its ends
// are read as, ends included. The upper bounds that ^, ~ and wildcards make
// lie below every pre-release of the next release (<2.0.0 excludes
// 2.0.0-rc.1), and none of them counts as naming a pre-release.
// ^ and ~ take only a SemVer or a partial or wildcard one.
//
// A text of blanks alone is "*". An alternative may not be empty ("1 ||" is
// rejected); a range no version satisfies (">=1.2.3 <1.2.3") is fine. A
// number above 4294967295 in a wildcard is rejected as in a SemVer.
//
// A text that does not read gives the one error, at its furthest point, with
// offsets into the range text; an operand that does not read gives the
// version reader's own error there.
[[nodiscard]] std::expected<Range, ParseError> parse_range(std::string_view text);

}  // namespace tolva
