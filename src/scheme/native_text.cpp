#include "tolva/scheme/version_range.hpp"

namespace tolva {
namespace {

// How a scheme's own syntax spells what a vers range says.
struct Spelling {
  std::string_view less = "<";
  std::string_view greater = ">";
  std::string_view equal = "=";
  bool not_equal = true;
  std::string_view every;    // every version; empty: not sayable
  std::string_view nothing;  // no version; empty: not sayable
};

Spelling spelling(Scheme s) noexcept {
  switch (s) {
    case Scheme::semver: return {"<", ">", "", false, "*", "<0.0.0-0"};
    case Scheme::debian: return {"<<", ">>", "=", true, "", ""};
    default: return {};
  }
}

std::string spelled(const VersConstraint& c, const Spelling& s) {
  if (c.op == "<") return std::string(s.less) + c.version;
  if (c.op == ">") return std::string(s.greater) + c.version;
  if (c.op == "=") return std::string(s.equal) + c.version;
  return c.op + c.version;
}

RangeError unsayable(const VersionRange& range) {
  return {"native", "this range cannot be said in " +
                        std::string(scheme::name(range.type().scheme)) + "'s range syntax"};
}

}  // namespace

std::expected<std::string, RangeError> write_native(const VersionRange& range) {
  if (range.type().family != VersType::Family::scheme) {
    return std::unexpected(RangeError{
        "native", "the vers type " + std::string(range.type().name) + " has no syntax of its own"});
  }
  const Spelling s = spelling(range.type().scheme);
  // A rule type's pre-releases beyond those its ends let in are alternatives
  // of their own, each within the pre-releases of one release (npm's
  // "^1.0.0 || 1.5.0-beta").
  std::vector<std::string> extra;
  auto list = vers_constraints(range);
  if (!list && range.type().prerelease_rule) {
    const VersionRange plain(range.type(), range.releases());
    list = vers_constraints(plain);
    const KeySet beyond = range.prereleases().intersection(plain.prereleases().complement());
    for (const KeySet::Interval& i : beyond.intervals()) {
      if (!i.low || !i.high) return std::unexpected(unsayable(range));
      if (i.low->closed && i.high->closed && i.low->point.key == i.high->point.key) {
        extra.push_back(i.low->point.text);
        continue;
      }
      extra.push_back(spelled({i.low->closed ? ">=" : ">", i.low->point.text}, s) + ' ' +
                      spelled({i.high->closed ? "<=" : "<", i.high->point.text}, s));
    }
  }
  if (!list) return std::unexpected(std::move(list.error()));
  std::string text;
  if (list->constraints.front().op == "*" && (list->type != "none" || extra.empty())) {
    text = list->type == "none" ? s.nothing : s.every;
    if (text.empty()) return std::unexpected(unsayable(range));
  } else {
    // Each interval is an alternative: its ends and holes, or a version alone.
    if (list->type == "none") list->constraints.clear();
    std::vector<std::vector<std::string>> alternatives;
    std::vector<std::string> open;
    const auto flush = [&] {
      if (!open.empty()) alternatives.push_back(std::move(open));
      open.clear();
    };
    for (const VersConstraint& c : list->constraints) {
      if (c.op == "=" || c.op == ">" || c.op == ">=") flush();
      if (c.op == "!=" && !s.not_equal) {
        // A hole without "!=": the interval ends below it and starts again above.
        open.push_back(spelled({"<", c.version}, s));
        flush();
        open.push_back(spelled({">", c.version}, s));
        continue;
      }
      open.push_back(spelled(c, s));
      if (c.op == "=" || c.op == "<" || c.op == "<=") flush();
    }
    flush();
    for (std::string& alternative : extra) alternatives.push_back({std::move(alternative)});
    for (std::size_t i = 0; i < alternatives.size(); ++i) {
      if (i > 0) text += " || ";
      for (std::size_t j = 0; j < alternatives[i].size(); ++j) {
        if (j > 0) text += ' ';
        text += alternatives[i][j];
      }
    }
  }
  // What the syntax reads back is the range itself, or the range is not sayable.
  auto back = read_native(text, range.type().scheme);
  if (!back) return std::unexpected(unsayable(range));
  auto same = back->same(range);
  if (!same || !*same) return std::unexpected(unsayable(range));
  return text;
}

}  // namespace tolva
