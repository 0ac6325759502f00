// What <tolva/tolva.hpp> brings, checked at compile time.
#include "tolva/tolva.hpp"

#include <type_traits>

// Logging is the other umbrella's, <tolva/log.hpp>.
#if defined(TOLVA_INFO) || defined(TOLVA_LOG_TARGET)
#error "<tolva/tolva.hpp> brings the logging facility"
#endif

#ifdef TOLVA_HAS_FORMAT
// The formatter's former name still names it, for one release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
static_assert(std::is_same_v<tolva::values_detail::FormFormatter<tolva::SemVer>,
                             tolva::values::detail::FormFormatter<tolva::SemVer>>);
#pragma GCC diagnostic pop
#endif
