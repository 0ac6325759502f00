#include "tolva/grammar/parse_error.hpp"

namespace tolva::grammar {

std::string_view display_text(ExpectedPattern p) noexcept {
  switch (p) {
    case ExpectedPattern::TokenV: return "'v'";
    case ExpectedPattern::TokenDot: return "'.'";
    case ExpectedPattern::TokenHyphen: return "'-'";
    case ExpectedPattern::TokenPlus: return "'+'";
    case ExpectedPattern::PartChar: return "alphanumeric or '-'";
    case ExpectedPattern::DotList: return "dot-separated list";
    case ExpectedPattern::Digit: return "digit";
    case ExpectedPattern::Integer: return "integer";
    case ExpectedPattern::Identifier: return "identifier";
    case ExpectedPattern::TokenBar: return "'|'";
    case ExpectedPattern::TokenEquals: return "'='";
    case ExpectedPattern::Comparator: return "comparator";
    case ExpectedPattern::RangeOperand: return "version";
    case ExpectedPattern::TokenColon: return "':'";
    case ExpectedPattern::LetterOrHyphen: return "letter or '-'";
    case ExpectedPattern::UpstreamChar: return "alphanumeric or one of . + - : ~";
    case ExpectedPattern::RevisionChar: return "alphanumeric or one of . + ~";
    case ExpectedPattern::Wildcard: return "'x', 'X' or '*'";
    case ExpectedPattern::EndOfInput: break;
  }
  return "end of input";
}

}  // namespace tolva::grammar
