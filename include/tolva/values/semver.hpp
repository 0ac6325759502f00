#pragma once

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <utility>

#include "tolva/values/forms.hpp"
#include "tolva/values/text_list.hpp"

namespace tolva {

// A semantic version. `rc` holds the pre-release parts, `meta` the build parts.
// Most versions have neither, so both lists share one heap block that exists
// only while one of them is present: a plain release is three numbers and a
// null pointer.
class SemVer {
 public:
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t patch = 0;

  SemVer() noexcept = default;
  SemVer(std::uint32_t major, std::uint32_t minor, std::uint32_t patch,
         OptionalTextList rc = std::nullopt, OptionalTextList meta = std::nullopt);

  // Copies are deep.
  SemVer(const SemVer& other);
  SemVer& operator=(const SemVer& other);
  SemVer(SemVer&& other) noexcept
      : major(other.major),
        minor(other.minor),
        patch(other.patch),
        lists_(std::exchange(other.lists_, nullptr)) {}
  SemVer& operator=(SemVer&& other) noexcept;
  ~SemVer();

  [[nodiscard]] OptionalTextSpan rc() const noexcept {
    if (lists_ == nullptr || lists_->rc_count == Lists::absent) return std::nullopt;
    return TextSpan(lists_->parts(), lists_->rc_count);
  }
  [[nodiscard]] OptionalTextSpan meta() const noexcept {
    if (lists_ == nullptr || lists_->meta_count == Lists::absent) return std::nullopt;
    return TextSpan(lists_->parts() + lists_->rc_size(), lists_->meta_count);
  }
  // Each replaces one list and keeps the other; the parts are moved in.
  void set_rc(OptionalTextList rc);
  void set_meta(OptionalTextList meta);
  void set_lists(OptionalTextList rc, OptionalTextList meta);
  // Replaces both lists with parts taken from their texts straight into the
  // one block, which is sized once.
  void set_joined_lists(OptionalJoinedParts rc, OptionalJoinedParts meta);

 private:
  // The head of the block: the two counts, then the rc parts and after them
  // the meta parts, one allocation for both lists.
  struct Lists {
    static constexpr std::uint32_t absent = 0xFFFFFFFF;
    std::uint32_t rc_count = absent;
    std::uint32_t meta_count = absent;

    std::size_t rc_size() const noexcept { return rc_count == absent ? 0 : rc_count; }
    std::size_t meta_size() const noexcept { return meta_count == absent ? 0 : meta_count; }
    ShortText* parts() noexcept { return reinterpret_cast<ShortText*>(this + 1); }
    const ShortText* parts() const noexcept { return reinterpret_cast<const ShortText*>(this + 1); }
  };
  static_assert(sizeof(Lists) % alignof(ShortText) == 0);

  // Each list is a span of parts (moved from when mutable, else copied) or
  // JoinedParts.
  template <class List>
  static Lists* new_lists(const std::optional<List>& rc, const std::optional<List>& meta);
  static void delete_lists(Lists* lists) noexcept;
  // This value's own lists as parts that may be moved from.
  std::optional<std::span<ShortText>> own_rc() noexcept;
  std::optional<std::span<ShortText>> own_meta() noexcept;

  Lists* lists_ = nullptr;
};

// The order of two values with the same numbers: rc part by part in
// `order`, an absent rc after every present one.
[[nodiscard]] std::weak_ordering compare_pre_releases(const SemVer& a, const SemVer& b,
                                                      PartOrder order) noexcept;

// Order: numbers, then rc, its parts compared in `order`; meta never counts,
// so values that differ only in meta are equal yet distinguishable. The
// numbers are compared inline, as sorting calls this for every pair and most
// pairs differ there.
[[nodiscard]] inline std::weak_ordering compare(const SemVer& a, const SemVer& b,
                                                PartOrder order) noexcept {
  if (a.major != b.major) return a.major <=> b.major;
  if (a.minor != b.minor) return a.minor <=> b.minor;
  if (a.patch != b.patch) return a.patch <=> b.patch;
  return compare_pre_releases(a, b, order);
}

[[nodiscard]] inline std::weak_ordering operator<=>(const SemVer& a, const SemVer& b) noexcept {
  return compare(a, b, PartOrder::text);
}
[[nodiscard]] bool operator==(const SemVer& a, const SemVer& b) noexcept;

// "1.2.3-rc.1+build.5"
void append_text_form(std::string& out, const SemVer& v);

// "SemVer { major: 1, minor: 2, patch: 3, rc: None, meta: None }"
void append_debug_form(std::string& out, const SemVer& v);

}  // namespace tolva
