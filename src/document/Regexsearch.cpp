#include "Regexsearch.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <vector>

namespace ov {

namespace {

// The JIT's stack grows up to this size before a match gives up.
constexpr std::size_t JitStackStart = 32 << 10;
constexpr std::size_t JitStackMax = 1 << 20;

// Appends one UTF-8 character of a pattern, converted to CP949, to out and
// records for each byte added which typed character it came from. A
// character CP949 lacks becomes a literal '?', as the plain search takes it.
class TCp949PatternWriter {
public:
    TCp949PatternWriter(const TCharCoding& coding, bool caseSensitive)
        : FCoding(coding), FCaseSensitive(caseSensitive) {}

    std::string Convert(std::string_view pattern) {
        std::vector<std::string> chars;
        for (std::size_t p = 0; p < pattern.size();) {
            char32_t value = 0;
            const int length = std::max(DecodeUtf8(pattern, p, value), 1);
            chars.emplace_back(pattern.substr(p, std::size_t(length)));
            p += std::size_t(length);
        }
        for (std::size_t i = 0; i < chars.size(); ++i) {
            FIndex = static_cast<int>(i);
            std::string converted = FCoding.FromUtf8(chars[i]);
            const bool lost = converted == "?" && chars[i] != "?";
            if (converted.size() >= 2)
                Wide(converted);
            else if (lost || converted.empty())
                Lost();
            else
                Narrow(converted[0], i + 1 < chars.size() ? chars[i + 1] : "");
        }
        FIndex = static_cast<int>(chars.size());
        if (FEscape)
            Emit("\\"); // left for the compiler to report
        return FOut;
    }
    // The typed character each byte of the converted pattern came from.
    int CharAt(std::size_t offset) const {
        return offset < FCharOf.size() ? FCharOf[offset] : FIndex;
    }

private:
    void Emit(std::string_view bytes) {
        FOut += bytes;
        FCharOf.insert(FCharOf.end(), bytes.size(), FIndex);
    }

    // A double-byte character: inside a class its bytes as they are (a
    // class holds bytes); elsewhere a group, so that a quantifier repeats the
    // character and its second byte, which may read as a letter, never folds.
    void Wide(const std::string& bytes) {
        FEscape = false; // an escaped symbol is that symbol
        FClassFirst = false;
        if (FInClass) {
            Emit(bytes);
            return;
        }
        const std::string group = (FCaseSensitive ? "(?:" : "(?-i:") + bytes + ")";
        Emit(FInQuote ? "\\E" + group + "\\Q" : group);
    }

    // A character CP949 lacks: '?', a literal wherever it stands.
    void Lost() {
        Emit(FInQuote ? "?" : "\\?");
        FEscape = false;
        FClassFirst = false;
    }

    void Narrow(char byte, std::string_view next) {
        const std::string one(1, byte);
        if (FInQuote) {
            if (byte == '\\' && next == "E") {
                FInQuote = false;
                FEscape = true; // the E follows as an escape
                return;
            }
            Emit(one);
            return;
        }
        if (FEscape) {
            FEscape = false;
            FClassFirst = false;
            if (byte == 'Q')
                FInQuote = true;
            Emit("\\" + one);
            return;
        }
        if (byte == '\\') {
            FEscape = true;
            return;
        }
        if (FInClass) {
            if (byte == '^' && FClassFirst && !FClassCaret) {
                FClassCaret = true;
            } else {
                if (byte == ']' && !FClassFirst)
                    FInClass = false;
                FClassFirst = false;
            }
        } else if (byte == '[') {
            FInClass = true;
            FClassFirst = true;
            FClassCaret = false;
        }
        Emit(one);
    }

    const TCharCoding& FCoding;
    bool FCaseSensitive;
    std::string FOut;
    std::vector<int> FCharOf;
    int FIndex = 0;
    bool FEscape = false;
    bool FInQuote = false;
    bool FInClass = false;
    bool FClassFirst = false; // a ']' here is a member, not the end
    bool FClassCaret = false;
};

// A UTF-8 pattern in which Hangul matches in either form: each syllable
// U+AC00-D7A3 written as a literal becomes a group of the syllable or its
// conjoining jamo, and each run of conjoining jamo that makes a syllable a
// group of the jamo or the syllable; a quantifier after it repeats the
// whole. Inside a class (which holds single characters) and after a
// backslash, Hangul stays as typed. Records for each byte written which
// typed character it came from.
class THangulPatternWriter {
public:
    std::string Convert(std::string_view pattern) {
        int index = 0;
        for (std::size_t p = 0; p < pattern.size(); ++index) {
            FIndex = index;
            char32_t code = 0;
            const int length = Utf8CharAt(pattern, p, code);
            const std::string_view typed = pattern.substr(p, std::size_t(length));
            p += std::size_t(length);
            const bool syllable = code >= 0xAC00 && code <= 0xD7A3;
            if (syllable && !FEscape && !FInClass) {
                // Either form of one syllable; the typed form first.
                const std::string composed = HangulForm(typed, true);
                const std::string decomposed = HangulForm(typed, false);
                const std::string group = "(?:" + std::string(typed) + "|" +
                                          (typed == composed ? decomposed : composed) + ")";
                Emit(FInQuote ? "\\E" + group + "\\Q" : group);
                index += static_cast<int>(length / 3) - 1; // the jamo typed are characters each
                continue;
            }
            if (syllable) // escaped or in a class: as typed
                index += static_cast<int>(length / 3) - 1;
            Step(typed, p < pattern.size() ? pattern[p] : '\0');
        }
        FIndex = index;
        return FOut;
    }
    int CharAt(std::size_t offset) const {
        return offset < FCharOf.size() ? FCharOf[offset] : FIndex;
    }

private:
    void Emit(std::string_view bytes) {
        FOut += bytes;
        FCharOf.insert(FCharOf.end(), bytes.size(), FIndex);
    }

    // Any other character: written as typed, its meaning followed.
    void Step(std::string_view typed, char next) {
        Emit(typed);
        const char c = typed.size() == 1 ? typed[0] : '\0';
        if (FInQuote) {
            if (c == '\\' && next == 'E') {
                FInQuote = false;
                FEscape = true; // the E follows as an escape
            }
            return;
        }
        if (FEscape) {
            FEscape = false;
            FClassFirst = false;
            FInQuote = c == 'Q';
            return;
        }
        if (c == '\\') {
            FEscape = true;
            return;
        }
        if (FInClass) {
            if (c == '^' && FClassFirst && !FClassCaret) {
                FClassCaret = true;
            } else {
                if (c == ']' && !FClassFirst)
                    FInClass = false;
                FClassFirst = false;
            }
        } else if (c == '[') {
            FInClass = true;
            FClassFirst = true;
            FClassCaret = false;
        }
    }

    std::string FOut;
    std::vector<int> FCharOf;
    int FIndex = 0;
    bool FEscape = false;
    bool FInQuote = false;
    bool FInClass = false;
    bool FClassFirst = false; // a ']' here is a member, not the end
    bool FClassCaret = false;
};

} // namespace

struct TRegexSearch::TEngine {
    pcre2_code* Code = nullptr;
    pcre2_match_data* Match = nullptr;
    pcre2_match_context* Context = nullptr;
    pcre2_jit_stack* Stack = nullptr;
    bool Jit = false;

    ~TEngine() {
        pcre2_match_data_free(Match);
        pcre2_match_context_free(Context);
        pcre2_jit_stack_free(Stack);
        pcre2_code_free(Code);
    }
};

TRegexSearch::TRegexSearch(std::string_view pattern, bool caseSensitive, bool wholeWords,
                           const TCharCoding& coding)
    : FCoding(coding), FWholeWords(wholeWords), FEngine(std::make_unique<TEngine>()) {
    const bool utf = coding.Coding() == TTextCoding::Utf8;
    uint32_t options = caseSensitive ? 0 : PCRE2_CASELESS;
    std::string compiled;
    TCp949PatternWriter writer(coding, caseSensitive);
    THangulPatternWriter hangul;
    if (utf) {
        options |= PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
        compiled = hangul.Convert(pattern);
    } else {
        compiled = writer.Convert(pattern);
    }
    if (pattern.empty()) {
        FError.Code = PCRE2_ERROR_NULL_PATTERN;
        FError.Position = 0;
        return;
    }
    int code = 0;
    PCRE2_SIZE offset = 0;
    FEngine->Code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(compiled.data()), compiled.size(),
                                  options, &code, &offset, nullptr);
    if (!FEngine->Code) {
        FError.Code = code;
        FError.Position = utf ? hangul.CharAt(offset) : writer.CharAt(offset);
        return;
    }
    FEngine->Jit = pcre2_jit_compile(FEngine->Code, PCRE2_JIT_COMPLETE) == 0;
    FEngine->Match = pcre2_match_data_create(1, nullptr);
    FEngine->Context = pcre2_match_context_create(nullptr);
    if (FEngine->Jit) {
        FEngine->Stack = pcre2_jit_stack_create(JitStackStart, JitStackMax, nullptr);
        pcre2_jit_stack_assign(FEngine->Context, nullptr, FEngine->Stack);
    }
    if (!FEngine->Match || !FEngine->Context) {
        FError.Code = PCRE2_ERROR_HEAP_FAILED;
        FError.Position = 0;
    }
}

TRegexSearch::~TRegexSearch() = default;

bool TRegexSearch::MatchFrom(std::string_view line, std::size_t q, std::size_t& start,
                             std::size_t& end) const {
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(line.data());
    const int result =
        FEngine->Jit ? pcre2_jit_match(FEngine->Code, subject, line.size(), q, PCRE2_NOTEMPTY,
                                       FEngine->Match, FEngine->Context)
                     : pcre2_match(FEngine->Code, subject, line.size(), q, PCRE2_NOTEMPTY,
                                   FEngine->Match, FEngine->Context);
    if (result < 0)
        return false;
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(FEngine->Match);
    start = vector[0];
    end = vector[1];
    // \K can put the reported start past the end; such a match is no run.
    return start < end && end <= line.size();
}

// The plain search's rule (AcceptsMatch), for a run of any length.
bool TRegexSearch::Accept(std::string_view line, std::size_t start, std::size_t end,
                          TCharStartMemo& memo) const {
    return AcceptsMatch(FCoding, FWholeWords, line, start, end, memo);
}

TLineHit TRegexSearch::FindForward(std::string_view line, int from) const {
    if (!Valid() || from > static_cast<int>(line.size()))
        return {};
    std::size_t q = std::size_t(std::max(from, 0));
    TCharStartMemo memo;
    // Past a match refused, from its next character; from a byte that starts
    // none (CP949's second bytes), from the byte after.
    while (q < line.size()) {
        std::size_t start = 0;
        std::size_t end = 0;
        if (!MatchFrom(line, q, start, end))
            return {};
        if (Accept(line, start, end, memo))
            return {static_cast<int>(start), static_cast<int>(end - start)};
        q = FCoding.IsCharStart(line, start, memo) ? FCoding.NextChar(line, start) : start + 1;
    }
    return {};
}

TLineHit TRegexSearch::FindBackward(std::string_view line, int from) const {
    TLineHit best;
    if (from < 0)
        return best;
    for (TLineHit hit = FindForward(line, 0); hit.Found() && hit.Column <= from;
         hit = FindForward(line, static_cast<int>(
                                     FCoding.NextChar(line, std::size_t(hit.Column)))))
        best = hit;
    return best;
}

std::string RegexErrorMessage(const TRegexError& error) {
    const char* reason = nullptr;
    switch (error.Code) {
    case PCRE2_ERROR_END_BACKSLASH: reason = "역슬래시(\\)로 끝났습니다"; break;
    case PCRE2_ERROR_UNKNOWN_ESCAPE: reason = "역슬래시 뒤의 글자를 알 수 없습니다"; break;
    case PCRE2_ERROR_QUANTIFIER_OUT_OF_ORDER:
        reason = "반복 횟수 {최소,최대}의 순서가 거꾸로입니다";
        break;
    case PCRE2_ERROR_QUANTIFIER_TOO_BIG: reason = "반복 횟수가 너무 큽니다"; break;
    case PCRE2_ERROR_MISSING_SQUARE_BRACKET: reason = "대괄호 ]가 닫히지 않았습니다"; break;
    case PCRE2_ERROR_CLASS_RANGE_ORDER:
    case PCRE2_ERROR_CLASS_INVALID_RANGE: reason = "대괄호 안의 범위가 잘못되었습니다"; break;
    case PCRE2_ERROR_QUANTIFIER_INVALID: reason = "반복할 대상이 없습니다"; break;
    case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS: reason = "괄호 )가 닫히지 않았습니다"; break;
    case PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS: reason = "짝이 없는 괄호 )가 있습니다"; break;
    case PCRE2_ERROR_BAD_SUBPATTERN_REFERENCE:
    case PCRE2_ERROR_BAD_RELATIVE_REFERENCE: reason = "없는 묶음을 가리킵니다"; break;
    case PCRE2_ERROR_NULL_PATTERN: reason = "식이 비어 있습니다"; break;
    case PCRE2_ERROR_LOOKBEHIND_NOT_FIXED_LENGTH:
        reason = "뒤쪽 확인 (?<=...)의 길이가 정해져 있지 않습니다";
        break;
    case PCRE2_ERROR_CODE_POINT_TOO_BIG: reason = "글자 코드가 너무 큽니다"; break;
    case PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP:
    case PCRE2_ERROR_PATTERN_TOO_LARGE:
    case PCRE2_ERROR_PATTERN_TOO_COMPLICATED: reason = "식이 너무 깁니다"; break;
    case PCRE2_ERROR_HEAP_FAILED: reason = "메모리가 모자랍니다"; break;
    default: reason = "문법이 잘못되었습니다"; break;
    }
    return "정규 표현식의 " + std::to_string(error.Position + 1) + "번째 글자에서 오류: " +
           reason + ".";
}

} // namespace ov
