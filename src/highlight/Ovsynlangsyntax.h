#pragma once
// The lexical rules of one language, read from its .syn file: keyword case
// rule, delimiter bytes, comment and string markers, the markers of embedded
// code and up to ten keyword items.
//
// Every marker is a NUL-terminated byte string held in a buffer of fixed size;
// a value longer than its buffer is cut to size - 1 bytes (never in the middle
// of a double-byte character).

#include "Ovstrings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

constexpr int MaxItemCount = 10;

struct TOVSynItem {
    char Name[32] = {};
    bool PriorStr1 = false;
    bool PriorStr2 = false;
    bool StartWith = false;
    // None when the item was not read (or NamesOnly was set): the first item
    // without a word list ends the items for every lookup.
    std::unique_ptr<TOVHashedStringList> Words;
};

// Kind of text a word is looked up in.
enum class TWordContext { Text = 0, String1 = 1, String2 = 2 };

class TOVSynLangSyntax {
public:
    TOVSynLangSyntax();
    TOVSynLangSyntax(const TOVSynLangSyntax&) = delete;
    TOVSynLangSyntax& operator=(const TOVSynLangSyntax&) = delete;

    // Resets everything except NamesOnly and frees the word lists.
    void Init();
    // A missing file leaves the definition as it was; otherwise the whole
    // definition is replaced.
    void LoadFromFile(const std::string& fileName);
    // Writes nothing: no part of the program saves syntax definitions.
    void SaveToFile(const std::string& fileName) const {}

    // 0 <= index <= 9; 10 and more throw ERangeError.
    const TOVSynItem& GetItems(int index) const;

    bool IsDelimiter(unsigned char byte) const { return FDelimiterTable[byte]; }
    bool IsDelimiter(char byte) const { return IsDelimiter(static_cast<unsigned char>(byte)); }
    // Style index 7 + i of the item i that lists word, or 0. Whole-word items
    // answer at once; among StartWith items the last matching one wins.
    // Inside strings only the leading items flagged for that string kind
    // are consulted.
    int GetStyleIDOf(std::string_view word, TWordContext context) const;

    // True for bytes that are 0, a blank or a delimiter: where a word ends.
    bool EndsWord(unsigned char byte) const { return FWordEnd[byte]; }
    // True for the first byte of a comment opener or a quote byte.
    bool MayOpenConstruct(unsigned char byte) const { return FOpensConstruct[byte]; }
    // The byte tables behind IsDelimiter, EndsWord and MayOpenConstruct
    // follow the members only through LoadFromFile and Init; code that sets
    // the members directly calls this afterwards.
    void RebuildTables();

    bool NamesOnly = false;

    bool CaseSensitive = false;
    bool HTML_LANG = false;
    // Sorted ascending as signed bytes.
    char Delimiters[32] = {};
    char BlockComment1S[16] = {};
    char BlockComment1E[16] = {};
    char BlockComment2S[16] = {};
    char BlockComment2E[16] = {};
    char LineComment1[8] = {};
    char LineComment2[8] = {};
    char StringChar1 = 0;
    char StringChar2 = 0;
    char EscapeChar1 = 0;
    char EscapeChar2 = 0;
    char InsideLang1S[16] = {};
    char InsideLang1E[16] = {};
    char InsideLang1[16] = {};
    char InsideLang2S[16] = {};
    char InsideLang2E[16] = {};
    char InsideLang2[16] = {};
    char LangBraceS[16] = {};
    char LangBraceE[16] = {};

private:
    // Answers GetStyleIDOf with one probe for all whole-word items together;
    // built from the word lists on first use after they change.
    class TKeywordIndex {
    public:
        void Build(const TOVSynItem* items, bool caseSensitive);
        // The lowest whole-word item that lists word, or -1.
        int FirstItemOf(std::string_view word) const;

        // Items 0 .. Usable - 1 have word lists; of these, the leading
        // String1Items (String2Items) are flagged PriorStr1 (PriorStr2).
        int Usable = 0;
        int String1Items = 0;
        int String2Items = 0;
        std::vector<int> StartWithItems; // ascending
        // Folded first bytes of the StartWith items' words: a word whose
        // first byte is not among them matches no prefix.
        bool PrefixStart[256] = {};

    private:
        struct TSlot {
            std::uint32_t Hash;
            std::uint32_t Offset;
            std::uint32_t Length;
            int Item; // -1: empty slot
        };
        std::uint32_t HashOf(std::string_view word) const;
        bool SameWord(const TSlot& slot, std::string_view word) const;
        // Bit min(length, 63) of a word length.
        static std::uint64_t ShapeBit(std::size_t length) {
            return std::uint64_t{1} << (length < 63 ? length : 63);
        }
        void Insert(std::string_view word, int item);

        bool FCaseSensitive = false;
        std::size_t FLongest = 0;
        // Per folded first (last) byte, the ShapeBits of the lengths of the
        // words that start (end) with it.
        std::uint64_t FShapes[256] = {};
        std::uint64_t FEndShapes[256] = {};
        std::string FPool;
        std::vector<TSlot> FSlots;
        std::uint32_t FMask = 0;
    };

    void ReadKeys(const TOVStringList& lines);
    void ReadItems(const TOVStringList& lines);
    bool StartsWithWord(std::string_view word, const TOVHashedStringList& words) const;

    TOVSynItem FItems[10];
    bool FDelimiterTable[256] = {};
    bool FWordEnd[256] = {};
    bool FOpensConstruct[256] = {};
    mutable TKeywordIndex FIndex;
    mutable bool FIndexValid = false;
};

} // namespace ov
