#include "shown_name.hpp"

#include "report/shown_char.hpp"

namespace tolva::cli {

std::string shown_name(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  report::append_shown_name(shown, name);
  return shown;
}

std::string quoted_name(std::string_view name) {
  std::string shown = "'";
  report::append_shown_name(shown, name);
  shown.push_back('\'');
  return shown;
}

}  // namespace tolva::cli
