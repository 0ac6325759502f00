#include "message.hpp"

#include "text/decimal.hpp"
#include "text/utf8.hpp"

namespace tolva::report {

std::string message_from_bytes(std::string bytes) {
  if (text::is_valid_utf8(bytes)) return bytes;
  std::size_t pos = 0;
  text::Decoded d = text::decode_utf8(bytes, pos);
  while (d.well_formed) {
    pos += d.length;
    d = text::decode_utf8(bytes, pos);
  }
  std::string message = "Invalid UTF-8 string: ";
  const bool cut_short = pos + d.length == bytes.size() &&
                         text::announced_length(static_cast<std::uint8_t>(bytes[pos])) > d.length;
  if (cut_short) {
    message += "incomplete utf-8 byte sequence from index ";
  } else {
    message += "invalid utf-8 sequence of ";
    append_decimal(message, unsigned{d.length});
    message += " bytes from index ";
  }
  append_decimal(message, pos);
  return message;
}

}  // namespace tolva::report
