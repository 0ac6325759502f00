#pragma once

namespace tolva::grammar::detail {

// What a reading makes of an accepted text: its value, or nothing when only
// whether it is accepted (and the error when it is not) is asked. Either way
// the same rules run and record the same failures.
enum class Build : bool { values, nothing };

}  // namespace tolva::grammar::detail
