#pragma once

#include "binding/py_ref.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tolva/values/text_list.hpp"

// Python objects to version fields and back. Every function that can fail
// returns an empty optional (or nullptr) with a Python exception set.
namespace tolva::binding {

// int (bool included) or __index__, read as a signed 64-bit number, then
// OverflowError "out of range integral type conversion attempted" outside 0..2**32-1.
std::optional<std::uint32_t> to_u32(PyObject* obj);

// A str (or subclass) as UTF-8; otherwise TypeError
// "'<type qualname>' object cannot be converted to 'PyString'".
std::optional<std::string> to_text(PyObject* obj);
// The same, held as a version's text.
std::optional<ShortText> to_short_text(PyObject* obj);

// str refused first ("Can't extract `str` to `Vec`"), then the sequence check
// ("'<qualname>' object cannot be converted to 'Sequence'"), then every element
// by to_text, in iteration order.
std::optional<TextList> to_text_list(PyObject* obj);

// None gives an absent list; anything else goes through to_text_list.
std::optional<OptionalTextList> to_optional_text_list(PyObject* obj);

// The UTF-8 buffer the interpreter caches on a str: no copy, valid while `str` lives.
std::optional<std::string_view> utf8_view(PyObject* str);

// New references built from core values. Both read their argument only before
// anything that can run Python code, so it may point into an object's storage.
PyObject* new_str(std::string_view utf8) noexcept;
// new_str_list throws bad_alloc when its own room cannot be had.
PyObject* new_str_list(TextSpan list);

// `__qualname__` of the object's type, or "<failed to extract type name>".
std::string type_qualname(PyObject* obj);
// `__name__` of the object's type; empty optional with the interpreter's error
// set when it cannot be read.
std::optional<std::string> type_name(PyObject* obj);

}  // namespace tolva::binding
