#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolva::log {

// An error recorded as a field: its text and the chain of its causes, each a
// view the recorder keeps alive for the duration of the call.
struct ErrorValue {
  std::string_view message;
  const ErrorValue* cause = nullptr;
};

// Appends the debug form of a value of the recorder's own type; false when
// it cannot be formatted, which drops the event.
using FormatFn = bool (*)(std::string& out, const void* object);

// A view of one field value. Holds no storage: texts, errors and custom
// objects are borrowed for the duration of the recording call.
class Value {
 public:
  enum class Kind : std::uint8_t {
    text, signed_integer, unsigned_integer, floating, boolean, error, custom
  };

  Value(std::string_view text) noexcept : kind_(Kind::text), text_(text) {}
  Value(const char* text) noexcept : Value(std::string_view(text)) {}
  Value(const std::string& text) noexcept : Value(std::string_view(text)) {}
  template <std::signed_integral T>
  Value(T number) noexcept : kind_(Kind::signed_integer), signed_(number) {}
  template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>)
  Value(T number) noexcept : kind_(Kind::unsigned_integer), unsigned_(number) {}
  template <std::floating_point T>
  Value(T number) noexcept : kind_(Kind::floating), floating_(number) {}
  // A template so that pointers do not silently become booleans.
  template <std::same_as<bool> T>
  Value(T flag) noexcept : kind_(Kind::boolean), boolean_(flag) {}
  Value(const ErrorValue& error) noexcept : kind_(Kind::error), error_(&error) {}

  // A value written by `Format(out, object)`, a function returning false when
  // the object cannot be formatted.
  template <auto Format, class T>
  static Value custom(const T& object) noexcept {
    return Value(static_cast<const void*>(&object),
                 [](std::string& out, const void* p) -> bool {
                   return Format(out, *static_cast<const T*>(p));
                 });
  }

  Kind kind() const noexcept { return kind_; }
  std::string_view text() const noexcept { return text_; }
  std::int64_t signed_integer() const noexcept { return signed_; }
  std::uint64_t unsigned_integer() const noexcept { return unsigned_; }
  double floating() const noexcept { return floating_; }
  bool boolean() const noexcept { return boolean_; }
  const ErrorValue& error() const noexcept { return *error_; }
  bool format_custom(std::string& out) const { return custom_.format(out, custom_.object); }

 private:
  struct Custom {
    const void* object;
    FormatFn format;
  };
  Value(const void* object, FormatFn format) noexcept
      : kind_(Kind::custom), custom_{object, format} {}

  Kind kind_;
  union {
    std::string_view text_;
    std::int64_t signed_;
    std::uint64_t unsigned_;
    double floating_;
    bool boolean_;
    const ErrorValue* error_;
    Custom custom_;
  };
};

// A named value. The field named "message" carries an event's message.
struct Field {
  std::string_view name;
  Value value;
};

}  // namespace tolva::log
