#include "message.hpp"

#include "lenient_utf8.hpp"

namespace tolva::report {

std::string message_from_bytes(std::string bytes) {
  std::optional<Utf8Fault> fault = find_utf8_fault(bytes);
  if (!fault) return bytes;
  std::string message = "Invalid UTF-8 string: ";
  if (fault->length) {
    message += "invalid utf-8 sequence of " + std::to_string(*fault->length) +
               " bytes from index " + std::to_string(fault->index);
  } else {
    message += "incomplete utf-8 byte sequence from index " + std::to_string(fault->index);
  }
  return message;
}

}  // namespace tolva::report
