#include "Ovsynlangsyntax.h"

#include "Codepage.h"
#include "Errors.h"
#include "Files.h"
#include "Keylines.h"
#include "Ovsynlangstyle.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace ov {

namespace {

// "0 when it is not one": the whole value must be a decimal integer, blanks
// before it allowed.
int DecimalValue(std::string_view value) {
    std::size_t start = value.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return 0;
    value.remove_prefix(start);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    int result = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    if (error != std::errc() || end != value.data() + value.size())
        return 0;
    return result;
}

bool IsItemHeader(std::string_view line) {
    return line.size() >= 7 && line.substr(0, 5) == "#Item";
}

std::string_view QuotedName(std::string_view header) {
    std::size_t open = header.find('"');
    if (open == std::string_view::npos)
        return {};
    std::size_t close = header.find('"', open + 1);
    if (close == std::string_view::npos)
        return {};
    return header.substr(open + 1, close - open - 1);
}

unsigned char FoldByte(unsigned char byte, bool caseSensitive) {
    if (caseSensitive || byte < 'a' || byte > 'z')
        return byte;
    return static_cast<unsigned char>(byte - 'a' + 'A');
}

// Folds the bytes of a word as the word lists compare them: ASCII letters
// upper-cased, except the second byte of a double-byte character, which is
// never folded (it would turn one syllable into another). Calls f with each
// folded byte in order.
template <typename F> void ForEachFolded(std::string_view word, bool caseSensitive, F f) {
    bool trail = false;
    for (char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        f(trail ? byte : FoldByte(byte, caseSensitive));
        trail = !trail && IsLeadByte(byte);
    }
}

bool SamePrefix(std::string_view word, std::string_view prefix, bool caseSensitive) {
    if (prefix.size() > word.size())
        return false;
    bool trail = false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(word[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (trail ? a != b : FoldByte(a, caseSensitive) != FoldByte(b, caseSensitive))
            return false;
        trail = !trail && IsLeadByte(a);
    }
    return true;
}

} // namespace

TOVSynLangSyntax::TOVSynLangSyntax() {
    Init();
}

void TOVSynLangSyntax::Init() {
    CaseSensitive = false;
    HTML_LANG = false;
    for (char* text : {Delimiters, BlockComment1S, BlockComment1E, BlockComment2S, BlockComment2E,
                       LineComment1, LineComment2, InsideLang1S, InsideLang1E, InsideLang1,
                       InsideLang2S, InsideLang2E, InsideLang2, LangBraceS, LangBraceE})
        text[0] = '\0';
    StringChar1 = StringChar2 = EscapeChar1 = EscapeChar2 = 0;
    for (TOVSynItem& item : FItems) {
        item.Words.reset();
        std::memset(item.Name, 0, sizeof(item.Name));
        item.PriorStr1 = item.PriorStr2 = item.StartWith = false;
    }
    FIndexValid = false;
    RebuildTables();
}

void TOVSynLangSyntax::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName))
        return;
    TOVStringList lines;
    lines.LoadFromFile(ResolveFileCase(fileName));
    Init();
    ReadKeys(lines);
    ReadItems(lines);
    RebuildTables();
}

void TOVSynLangSyntax::ReadKeys(const TOVStringList& lines) {
    TKeyLines keys(lines);
    auto flag = [&](const char* key) { return DecimalValue(keys.Value(key)) != 0; };
    auto text = [&](char* buffer, std::size_t size, const char* key) {
        StoreCut(buffer, size, keys.Value(key));
    };
    auto byte = [&](const char* key) {
        std::string_view value = keys.Value(key);
        return value.empty() ? '\0' : value.front();
    };

    CaseSensitive = flag("CaseSensitive");
    HTML_LANG = flag("HTML_LANG");
    text(Delimiters, sizeof(Delimiters), "Delimiters");
    std::sort(Delimiters, Delimiters + std::strlen(Delimiters), [](char a, char b) {
        return static_cast<signed char>(a) < static_cast<signed char>(b);
    });
    text(BlockComment1S, sizeof(BlockComment1S), "BlockComment1S");
    text(BlockComment1E, sizeof(BlockComment1E), "BlockComment1E");
    text(BlockComment2S, sizeof(BlockComment2S), "BlockComment2S");
    text(BlockComment2E, sizeof(BlockComment2E), "BlockComment2E");
    text(LineComment1, sizeof(LineComment1), "LineComment1");
    text(LineComment2, sizeof(LineComment2), "LineComment2");
    StringChar1 = byte("StringChar1");
    StringChar2 = byte("StringChar2");
    EscapeChar1 = byte("EscapeChar1");
    EscapeChar2 = byte("EscapeChar2");
    text(InsideLang1, sizeof(InsideLang1), "InsideLang1");
    text(InsideLang1S, sizeof(InsideLang1S), "InsideLang1S");
    text(InsideLang1E, sizeof(InsideLang1E), "InsideLang1E");
    text(InsideLang2, sizeof(InsideLang2), "InsideLang2");
    text(InsideLang2S, sizeof(InsideLang2S), "InsideLang2S");
    text(InsideLang2E, sizeof(InsideLang2E), "InsideLang2E");
    text(LangBraceS, sizeof(LangBraceS), "LangBraceS");
    text(LangBraceE, sizeof(LangBraceE), "LangBraceE");
}

void TOVSynLangSyntax::ReadItems(const TOVStringList& lines) {
    TOVStringList splitter;
    splitter.SetDelimiter(' ');
    int item = 0;
    int j = 0;
    while (j < lines.Count() && item < MaxItemCount) {
        std::string_view header = lines.GetView(j);
        if (!IsItemHeader(header)) {
            ++j;
            continue;
        }
        TOVSynItem& record = FItems[item];
        StoreCut(record.Name, sizeof(record.Name), QuotedName(header));
        record.PriorStr1 = header.find("PriorStr1") != std::string_view::npos;
        record.PriorStr2 = header.find("PriorStr2") != std::string_view::npos;
        record.StartWith = header.find("StartWith") != std::string_view::npos;
        if (!NamesOnly) {
            record.Words = std::make_unique<TOVHashedStringList>();
            record.Words->SetCaseSensitive(CaseSensitive);
            record.Words->BeginUpdate();
        }
        int k = j + 1;
        for (; k < lines.Count() && !IsItemHeader(lines.GetView(k)); ++k) {
            if (NamesOnly)
                continue;
            splitter.SetDelimitedText(lines.GetView(k));
            record.Words->AddStrings(splitter);
        }
        if (record.Words) {
            record.Words->EndUpdate();
            record.Words->OnChange = [this](TOVStringList*) { FIndexValid = false; };
        }
        j = k;
        ++item;
    }
    FIndexValid = false;
}

void TOVSynLangSyntax::RebuildTables() {
    std::fill(std::begin(FDelimiterTable), std::end(FDelimiterTable), false);
    for (const char* p = Delimiters; *p; ++p)
        FDelimiterTable[static_cast<unsigned char>(*p)] = true;
    for (int b = 0; b < 256; ++b)
        FWordEnd[b] = b == 0 || b == ' ' || FDelimiterTable[b];
    std::fill(std::begin(FOpensConstruct), std::end(FOpensConstruct), false);
    for (const char* opener : {BlockComment1S, BlockComment2S, LineComment1, LineComment2})
        FOpensConstruct[static_cast<unsigned char>(opener[0])] = true;
    FOpensConstruct[static_cast<unsigned char>(StringChar1)] = true;
    FOpensConstruct[static_cast<unsigned char>(StringChar2)] = true;
    FOpensConstruct[0] = false;
}

const TOVSynItem& TOVSynLangSyntax::GetItems(int index) const {
    if (index < 0 || index >= MaxItemCount)
        ThrowRangeError("TOVSynLangSyntax.GetItems", index);
    return FItems[index];
}

int TOVSynLangSyntax::GetStyleIDOf(std::string_view word, TWordContext context) const {
    if (!FIndexValid) {
        FIndex.Build(FItems, CaseSensitive);
        FIndexValid = true;
    }
    int limit = context == TWordContext::Text      ? FIndex.Usable
                : context == TWordContext::String1 ? FIndex.String1Items
                                                   : FIndex.String2Items;
    if (limit == 0)
        return 0;
    int first = FIndex.FirstItemOf(word);
    if (first >= 0 && first < limit)
        return StyleItem0 + first;
    if (word.empty() ||
        !FIndex.PrefixStart[FoldByte(static_cast<unsigned char>(word[0]), CaseSensitive)])
        return 0;
    for (auto item = FIndex.StartWithItems.rbegin(); item != FIndex.StartWithItems.rend(); ++item) {
        if (*item < limit && StartsWithWord(word, *FItems[*item].Words))
            return StyleItem0 + *item;
    }
    return 0;
}

// An empty entry (left by a word line that starts with a blank) is no
// prefix: it would otherwise match every word of the document.
bool TOVSynLangSyntax::StartsWithWord(std::string_view word,
                                      const TOVHashedStringList& words) const {
    for (int i = 0; i < words.Count(); ++i) {
        std::string_view prefix = words.GetView(i);
        if (!prefix.empty() && SamePrefix(word, prefix, CaseSensitive))
            return true;
    }
    return false;
}

void TOVSynLangSyntax::TKeywordIndex::Build(const TOVSynItem* items, bool caseSensitive) {
    FCaseSensitive = caseSensitive;
    Usable = String1Items = String2Items = 0;
    StartWithItems.clear();
    std::fill(std::begin(PrefixStart), std::end(PrefixStart), false);
    FLongest = 0;
    std::fill(std::begin(FShapes), std::end(FShapes), std::uint64_t{0});
    std::fill(std::begin(FEndShapes), std::end(FEndShapes), std::uint64_t{0});
    FPool.clear();
    std::size_t wordCount = 0;
    while (Usable < MaxItemCount && items[Usable].Words) {
        wordCount += items[Usable].Words->Count();
        ++Usable;
    }
    while (String1Items < Usable && items[String1Items].PriorStr1)
        ++String1Items;
    while (String2Items < Usable && items[String2Items].PriorStr2)
        ++String2Items;

    std::size_t capacity = 16;
    while (capacity < wordCount * 2)
        capacity *= 2;
    FSlots.assign(capacity, TSlot{0, 0, 0, -1});
    FMask = static_cast<std::uint32_t>(capacity - 1);
    for (int i = 0; i < Usable; ++i) {
        if (items[i].StartWith) {
            StartWithItems.push_back(i);
            const TOVHashedStringList& prefixes = *items[i].Words;
            for (int w = 0; w < prefixes.Count(); ++w) {
                if (prefixes.GetLength(w) > 0)
                    PrefixStart[FoldByte(static_cast<unsigned char>(prefixes.Get(w)[0]),
                                         caseSensitive)] = true;
            }
            continue;
        }
        const TOVHashedStringList& words = *items[i].Words;
        for (int w = 0; w < words.Count(); ++w) {
            if (words.GetLength(w) > 0) {
                Insert(words.GetView(w), i);
                const std::string_view word = words.GetView(w);
                const std::uint64_t shape = ShapeBit(word.size());
                FShapes[FoldByte(static_cast<unsigned char>(word.front()), caseSensitive)] |= shape;
                FEndShapes[FoldByte(static_cast<unsigned char>(word.back()), caseSensitive)] |= shape;
            }
        }
    }
}

std::uint32_t TOVSynLangSyntax::TKeywordIndex::HashOf(std::string_view word) const {
    std::uint32_t hash = 2166136261u;
    if (FCaseSensitive) {
        for (char c : word)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    } else {
        ForEachFolded(word, false,
                      [&hash](unsigned char byte) { hash = (hash ^ byte) * 16777619u; });
    }
    return hash;
}

bool TOVSynLangSyntax::TKeywordIndex::SameWord(const TSlot& slot, std::string_view word) const {
    if (slot.Length != word.size())
        return false;
    const char* key = FPool.data() + slot.Offset;
    if (FCaseSensitive)
        return std::memcmp(key, word.data(), word.size()) == 0;
    bool trail = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const auto byte = static_cast<unsigned char>(word[i]);
        if (static_cast<unsigned char>(key[i]) != (trail ? byte : FoldByte(byte, false)))
            return false;
        trail = !trail && IsLeadByte(byte);
    }
    return true;
}

void TOVSynLangSyntax::TKeywordIndex::Insert(std::string_view word, int item) {
    std::uint32_t hash = HashOf(word);
    std::uint32_t at = hash & FMask;
    while (FSlots[at].Item >= 0) {
        if (FSlots[at].Hash == hash && SameWord(FSlots[at], word))
            return; // an earlier item already lists it
        at = (at + 1) & FMask;
    }
    FLongest = std::max(FLongest, word.size());
    TSlot& slot = FSlots[at];
    slot = TSlot{hash, static_cast<std::uint32_t>(FPool.size()),
                 static_cast<std::uint32_t>(word.size()), item};
    ForEachFolded(word, FCaseSensitive,
                  [this](unsigned char byte) { FPool.push_back(static_cast<char>(byte)); });
}

// Most words of a document are no keyword; the first and last bytes and the
// length rule nearly all of them out before any hashing. Both tables fold
// the byte the same way whether or not it is the second byte of a character,
// so they may let a word through that the comparison then refuses, but never
// keep a listed word out.
int TOVSynLangSyntax::TKeywordIndex::FirstItemOf(std::string_view word) const {
    if (FSlots.empty() || word.empty() || word.size() > FLongest)
        return -1;
    const std::uint64_t shape = ShapeBit(word.size());
    if ((FShapes[FoldByte(static_cast<unsigned char>(word.front()), FCaseSensitive)] & shape) == 0 ||
        (FEndShapes[FoldByte(static_cast<unsigned char>(word.back()), FCaseSensitive)] & shape) == 0)
        return -1;
    std::uint32_t hash = HashOf(word);
    for (std::uint32_t at = hash & FMask;; at = (at + 1) & FMask) {
        const TSlot& slot = FSlots[at];
        if (slot.Item < 0)
            return -1;
        if (slot.Hash == hash && SameWord(slot, word))
            return slot.Item;
    }
}

} // namespace ov
