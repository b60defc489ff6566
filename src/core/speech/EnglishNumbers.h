#pragma once

// The English reading of a number in words, as an American speaker says it: no "and", "one
// hundred", a comma (a pause) at each group boundary. Engines read words the same in every
// context, while their own normalisers read long digit strings digit by digit.

#include <string>

namespace agent::speech {

// Words for a reading text the drill hands over: grouped digits ("12,345"), plain digits, or the
// three-digit form ("3 hundred 45", "3 hundred "). Any other text comes back unchanged.
std::string englishNumberWords(const std::string& text);

// How long the reading of such a text may last: the drill's English wait after it, at gap 0, less
// 300 ms, so the learner hears it end before the next step. 0 for any other text.
int englishReadingBudgetMs(const std::string& text);

}  // namespace agent::speech
