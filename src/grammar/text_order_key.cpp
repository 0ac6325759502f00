#include "tolva/grammar/text_order_key.hpp"

#include <utility>

#include "read_kinds.hpp"
#include "values/order_key_writer.hpp"

namespace tolva {
namespace {

using grammar::ParseError;
using grammar::detail::Build;
using grammar::detail::NoRecord;
using Scanner = grammar::detail::Scanner<NoRecord>;
namespace keys = values_detail;

// An accepted text's value as it lies in the text: which kind it is, and
// its pieces, which the key is written from.
struct Pieces {
  Kind kind = Kind::semver;
  SemVer release;  // its numbers only
  OptionalJoinedParts rc;
  JoinedParts list;
  std::string_view other;
};

// Each reads the whole text as its kind with the grammar's own rules,
// without recording failures; false when the text is not of that kind.
bool semver_pieces(std::string_view text, Pieces& out) {
  Scanner s(text, Build::nothing);
  OptionalJoinedParts meta;
  out.kind = Kind::semver;
  return s.semver_pieces(out.release, out.rc, meta);
}

bool dot_separated_pieces(Scanner& s, Pieces& out) {
  const std::optional<JoinedParts> list = s.joined_dot_list();
  if (!list) return false;
  out.kind = Kind::dot_separated;
  out.list = *list;
  return true;
}

bool other_pieces(Scanner& s, Pieces& out) {
  const std::optional<std::string_view> id = s.identifier();
  if (!id || !s.end_of_input()) return false;
  out.kind = Kind::other;
  out.other = *id;
  return true;
}

ParseError as_is(ParseError&& e) noexcept { return std::move(e); }

// The pieces of an accepted text, or the error its kind's reader gives.
template <class K>
std::expected<void, ParseError> read_pieces(std::string_view text, Pieces& out) {
  namespace g = grammar::detail;
  if constexpr (std::same_as<K, SemVer>) {
    if (semver_pieces(text, out)) return {};
    return g::diagnosis<SemVer, ParseError, Build::nothing>(text, g::SemVerRule{}, as_is);
  } else if constexpr (std::same_as<K, DotSeparated>) {
    if (Scanner s(text, Build::nothing); dot_separated_pieces(s, out)) return {};
    return g::diagnosis<DotSeparated, ParseError, Build::nothing>(text, g::DotSeparatedRule{},
                                                                  as_is);
  } else if constexpr (std::same_as<K, Other>) {
    if (Scanner s(text, Build::nothing); other_pieces(s, out)) return {};
    return g::diagnosis<Other, ParseError, Build::nothing>(text, g::OtherRule<Build::nothing>{},
                                                           as_is);
  } else {
    // A failed semantic version leaves nothing behind, so the list and the
    // identifier are read from the start as Version's reader reads them.
    if (semver_pieces(text, out)) return {};
    if (Scanner s(text, Build::nothing); dot_separated_pieces(s, out) || other_pieces(s, out))
      return {};
    return g::diagnosis<Version, ParseError, Build::nothing>(text, g::VersionRule<Build::nothing>{},
                                                             as_is);
  }
}

template <PartOrder P>
void put_pieces(std::string& out, const Pieces& p) {
  keys::WholeKey key(out);
  switch (p.kind) {
    case Kind::semver:
      return keys::put_semver<P>(key, p.release.major, p.release.minor, p.release.patch, p.rc);
    case Kind::dot_separated: return keys::put_dot_separated<P>(key, p.list);
    case Kind::other: return keys::put_other(key, p.other);
  }
}

}  // namespace

std::size_t order_key_size_bound(std::size_t size, PartOrder parts) noexcept {
  return keys::key_size_bound(size, parts);
}

template <Parsable K>
std::expected<void, ParseError> append_order_key_as(std::string& out, std::string_view text,
                                                    PartOrder parts) {
  Pieces pieces;
  if (auto read = read_pieces<K>(text, pieces); !read) return read;
  out.reserve(out.size() + order_key_size_bound(text.size(), parts));
  if (parts == PartOrder::numeric) {
    put_pieces<PartOrder::numeric>(out, pieces);
  } else {
    put_pieces<PartOrder::text>(out, pieces);
  }
  return {};
}

template std::expected<void, ParseError> append_order_key_as<SemVer>(std::string&, std::string_view,
                                                                     PartOrder);
template std::expected<void, ParseError> append_order_key_as<DotSeparated>(std::string&,
                                                                           std::string_view,
                                                                           PartOrder);
template std::expected<void, ParseError> append_order_key_as<Other>(std::string&, std::string_view,
                                                                    PartOrder);
template std::expected<void, ParseError> append_order_key_as<Version>(std::string&,
                                                                      std::string_view, PartOrder);

}  // namespace tolva
