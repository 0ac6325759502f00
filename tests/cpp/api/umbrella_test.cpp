// What <tolva/tolva.hpp> brings, checked at compile time.
#include "tolva/tolva.hpp"

// Logging is the other umbrella's, <tolva/log.hpp>.
#if defined(TOLVA_INFO) || defined(TOLVA_LOG_TARGET)
#error "<tolva/tolva.hpp> brings the logging facility"
#endif
