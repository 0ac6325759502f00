#pragma once

#include "binding/py_ref.hpp"

#include <array>
#include <cstddef>
#include <string_view>

#include "tolva/values/version.hpp"

// Everything the binding keeps for the life of the process, made in one step
// when the module is first imported and never released: the four classes,
// their pickling stand-ins, tolva.InternalError and the interned keyword
// names. No entry point of the module runs before the import, so none finds
// it empty; nothing is created lazily.
namespace tolva::binding {

// The keywords the constructors look up, by their interned names.
enum class Keyword : std::size_t { major, minor, patch, rc, meta, parts, value };
inline constexpr std::size_t keyword_count = 7;
std::string_view keyword_text(Keyword keyword) noexcept;

template <class T>
inline constexpr std::size_t class_index = 0;
template <>
inline constexpr std::size_t class_index<SemVer> = 1;
template <>
inline constexpr std::size_t class_index<DotSeparated> = 2;
template <>
inline constexpr std::size_t class_index<Other> = 3;

struct ModuleState {
  std::array<PyTypeObject*, 4> classes{};
  // Each stands in for its class in a pickle.
  std::array<PyObject*, 4> stand_ins{};
  PyObject* internal_error = nullptr;
  std::array<PyObject*, keyword_count> keywords{};
};

namespace detail {
extern ModuleState module_state;
}

// Empty (all null) until the import built it. Inline: instance tests on the
// comparison path read it.
inline const ModuleState& state() noexcept { return detail::module_state; }

// Builds the state for the new top module. All or nothing: false with an
// exception set and the state left empty, so a later import tries again.
bool build_state(PyObject* top);
// Empties the state again, for an import that failed after building it.
void release_state() noexcept;

}  // namespace tolva::binding
