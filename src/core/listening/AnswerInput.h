#pragma once

#include <string>

namespace drill {

// Why a typed answer is not a number.
enum class AnswerProblem { None, Empty, NotADigit, TooLong };

// Longest answer taken: three places beyond the drill's fifteen, so a number heard a group too big
// still reaches the comparison as a place shift.
inline constexpr int kMaxAnswerDigits = 18;

struct NormalisedAnswer {
    AnswerProblem problem = AnswerProblem::None;
    // Half-width digits without leading zeros ("0" for zero); empty unless problem is None.
    std::string digits;
};

// Reads what a Japanese learner types (UTF-8): half- or full-width digits, with or without commas
// (",", "，", "、", "､") or spaces (half-width, ideographic, tabs) anywhere between them.
NormalisedAnswer NormaliseAnswer(const std::string& typed);

// The short inline hint for a problem; empty for AnswerProblem::None.
std::string AnswerHint(AnswerProblem problem);

}  // namespace drill
