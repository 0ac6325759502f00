#include "internal_errors.hpp"

#include <unistd.h>

#include "text/decimal.hpp"
#include "text/write_all.hpp"

namespace tolva::log {

void write_stderr(std::string_view text) noexcept { write_all(STDERR_FILENO, text); }

void append_error_description(std::string& out, std::error_code error) {
  out += error.message();
  out += " (os error ";
  append_decimal(out, error.value());
  out += ')';
}

}  // namespace tolva::log
