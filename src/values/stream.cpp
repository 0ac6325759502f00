#include <ostream>
#include <string>

#include "tolva/values/formatting.hpp"

namespace tolva {
namespace {

template <class T>
std::ostream& write_text_form(std::ostream& out, const T& v) {
  std::string form;
  append_text_form(form, v);
  return out << form;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const SemVer& v) { return write_text_form(out, v); }
std::ostream& operator<<(std::ostream& out, const DotSeparated& v) {
  return write_text_form(out, v);
}
std::ostream& operator<<(std::ostream& out, const Other& v) { return write_text_form(out, v); }
std::ostream& operator<<(std::ostream& out, const Version& v) { return write_text_form(out, v); }

}  // namespace tolva
