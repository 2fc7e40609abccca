#pragma once
// TRegexSearch: a regular expression (PCRE2, compiled by its JIT where the
// machine has one) as a line matcher for Find.
//
// In a UTF-8 document the pattern is taken in characters (UTF mode with
// Unicode properties: '.', a class and \w stand for whole characters, case
// folds as Unicode folds it). Bytes that form no character never match.
//
// In a CP949 document the pattern is converted to CP949 and matched over
// bytes: a Korean character of the pattern outside a class becomes a group
// of its two bytes (a quantifier after it repeats the whole character, and
// its second byte never folds), but '.' and a class stand for one byte, and
// \w, \b and case know only ASCII. As in the plain search, a match that
// would begin or end inside a character is passed over.
//
// Matches are never empty; a whole-words search keeps the plain search's
// rule for what ends a word. A pattern that does not compile leaves the
// matcher invalid with the reason and the character where it went wrong;
// an invalid matcher finds nothing. Matching that runs into the engine's
// limits (a pattern that backtracks without end) counts as no match.
// One thread at a time uses one matcher.

#include "Charcoding.h"
#include "Linematcher.h"

#include <memory>
#include <string>
#include <string_view>

namespace ov {

struct TRegexError {
    int Code = 0;      // the engine's error number; 0 when the pattern compiled
    int Position = -1; // characters of the pattern as typed before the error
};

class TRegexSearch : public TLineMatcher {
public:
    // pattern is UTF-8 as typed; coding is that of the lines searched,
    // borrowed, and outlives the matcher.
    TRegexSearch(std::string_view pattern, bool caseSensitive, bool wholeWords,
                 const TCharCoding& coding);
    ~TRegexSearch() override;
    TRegexSearch(const TRegexSearch&) = delete;
    TRegexSearch& operator=(const TRegexSearch&) = delete;

    bool Valid() const { return FError.Code == 0; }
    const TRegexError& Error() const { return FError; }

    TLineHit FindForward(std::string_view line, int from) const override;
    TLineHit FindBackward(std::string_view line, int from) const override;

private:
    struct TEngine;
    // The leftmost match at or after byte q, accepted or not: start and end.
    bool MatchFrom(std::string_view line, std::size_t q, std::size_t& start,
                   std::size_t& end) const;
    bool Accept(std::string_view line, std::size_t start, std::size_t end,
                TCharStartMemo& memo) const;

    const TCharCoding& FCoding;
    bool FWholeWords = false;
    TRegexError FError;
    std::unique_ptr<TEngine> FEngine;
};

// A Korean sentence for a pattern that did not compile, naming the
// character (counted from 1) where the error was found.
std::string RegexErrorMessage(const TRegexError& error);

} // namespace ov
