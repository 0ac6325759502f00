// The heap block that holds a SemVer's rc and meta lists.
#include <limits>
#include <new>

#include "tolva/values/semver.hpp"

namespace tolva {
namespace {

template <class Part>
std::optional<std::span<Part>> parts_of(OptionalTextList& list) noexcept {
  if (!list) return std::nullopt;
  return std::span<Part>(*list);
}

template <class Part>
std::size_t count_of(std::span<Part> parts) noexcept {
  return parts.size();
}
std::size_t count_of(const JoinedParts& parts) noexcept { return parts.count; }

// Constructs the parts at `out`, counting each in `built` as it is made. A
// const Part is copied, which may fail; a mutable one is moved, which cannot.
template <class Part>
void emplace_parts(ShortText* out, std::size_t& built, std::span<Part> parts) {
  for (Part& part : parts) {
    new (out + built) ShortText(std::move(part));
    ++built;
  }
}
void emplace_parts(ShortText* out, std::size_t& built, const JoinedParts& parts) {
  std::string_view rest = parts.text;
  for (std::size_t i = 1; i < parts.count; ++i) {
    const std::size_t dot = rest.find('.');
    new (out + built) ShortText(rest.substr(0, dot));
    ++built;
    rest.remove_prefix(dot + 1);
  }
  if (parts.count != 0) {
    new (out + built) ShortText(rest);
    ++built;
  }
}

}  // namespace

template <class List>
SemVer::Lists* SemVer::new_lists(const std::optional<List>& rc, const std::optional<List>& meta) {
  if (!rc && !meta) return nullptr;
  const std::size_t rc_size = rc ? count_of(*rc) : 0;
  const std::size_t meta_size = meta ? count_of(*meta) : 0;
  // A count must not reach the absent mark; no real list comes near it.
  if (rc_size >= Lists::absent || meta_size >= Lists::absent) throw std::bad_alloc();

  void* block = ::operator new(sizeof(Lists) + (rc_size + meta_size) * sizeof(ShortText));
  auto* lists = new (block) Lists{rc ? static_cast<std::uint32_t>(rc_size) : Lists::absent,
                                  meta ? static_cast<std::uint32_t>(meta_size) : Lists::absent};
  ShortText* out = lists->parts();
  std::size_t built = 0;
  try {
    if (rc) emplace_parts(out, built, *rc);
    if (meta) emplace_parts(out, built, *meta);
  } catch (...) {
    while (built > 0) out[--built].~ShortText();
    ::operator delete(block);
    throw;
  }
  return lists;
}

void SemVer::delete_lists(Lists* lists) noexcept {
  if (lists == nullptr) return;
  ShortText* parts = lists->parts();
  for (std::size_t i = 0, n = lists->rc_size() + lists->meta_size(); i < n; ++i)
    parts[i].~ShortText();
  lists->~Lists();
  ::operator delete(lists);
}

std::optional<std::span<ShortText>> SemVer::own_rc() noexcept {
  if (lists_ == nullptr || lists_->rc_count == Lists::absent) return std::nullopt;
  return std::span<ShortText>(lists_->parts(), lists_->rc_count);
}

std::optional<std::span<ShortText>> SemVer::own_meta() noexcept {
  if (lists_ == nullptr || lists_->meta_count == Lists::absent) return std::nullopt;
  return std::span<ShortText>(lists_->parts() + lists_->rc_size(), lists_->meta_count);
}

SemVer::SemVer(std::uint32_t major, std::uint32_t minor, std::uint32_t patch, OptionalTextList rc,
               OptionalTextList meta)
    : major(major), minor(minor), patch(patch) {
  set_lists(std::move(rc), std::move(meta));
}

SemVer::SemVer(const SemVer& other)
    : major(other.major),
      minor(other.minor),
      patch(other.patch),
      lists_(new_lists<std::span<const ShortText>>(other.rc(), other.meta())) {}

SemVer& SemVer::operator=(const SemVer& other) {
  if (this != &other) *this = SemVer(other);
  return *this;
}

SemVer& SemVer::operator=(SemVer&& other) noexcept {
  if (this != &other) {
    major = other.major;
    minor = other.minor;
    patch = other.patch;
    delete_lists(std::exchange(lists_, std::exchange(other.lists_, nullptr)));
  }
  return *this;
}

SemVer::~SemVer() { delete_lists(lists_); }

// The new block is complete before the old one goes, so a failed allocation
// leaves the value as it was; moving the kept list out of the old block
// cannot fail.
void SemVer::set_lists(OptionalTextList rc, OptionalTextList meta) {
  Lists* fresh = new_lists(parts_of<ShortText>(rc), parts_of<ShortText>(meta));
  delete_lists(std::exchange(lists_, fresh));
}

void SemVer::set_joined_lists(OptionalJoinedParts rc, OptionalJoinedParts meta) {
  Lists* fresh = new_lists(rc, meta);
  delete_lists(std::exchange(lists_, fresh));
}

void SemVer::set_rc(OptionalTextList rc) {
  Lists* fresh = new_lists(parts_of<ShortText>(rc), own_meta());
  delete_lists(std::exchange(lists_, fresh));
}

void SemVer::set_meta(OptionalTextList meta) {
  Lists* fresh = new_lists(own_rc(), parts_of<ShortText>(meta));
  delete_lists(std::exchange(lists_, fresh));
}

}  // namespace tolva
