#include "Errors.h"
#include "Highlighttestsupport.h"
#include "Ovsynlangsyntax.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>

namespace ov {
namespace {

using test::Crlf;
using test::TTempFolder;

class SyntaxFile : public testing::Test {
public:
    void Load(const std::string& text) { Syntax.LoadFromFile(Folder.Write("Lang.syn", text)); }
    int StyleOf(std::string_view word, TWordContext context = TWordContext::Text) {
        return Syntax.GetStyleIDOf(word, context);
    }
    TTempFolder Folder;
    TOVSynLangSyntax Syntax;
};

TEST_F(SyntaxFile, KeysAreFoundIgnoringCaseAndTheFirstLineWins) {
    Load(Crlf({"casesensitive=1", "LINECOMMENT1=//", "LineComment1=#", "StringChar1='x",
               "EscapeChar2=\\\\", "HTML_LANG=abc", "BlockComment1S = {"}));
    EXPECT_TRUE(Syntax.CaseSensitive);
    EXPECT_STREQ(Syntax.LineComment1, "//");
    EXPECT_EQ(Syntax.StringChar1, '\'');
    EXPECT_EQ(Syntax.EscapeChar2, '\\');
    EXPECT_FALSE(Syntax.HTML_LANG) << "a value that is not a number reads as 0";
    EXPECT_STREQ(Syntax.BlockComment1S, "") << "blanks around = make another key";
}

TEST_F(SyntaxFile, ValuesKeepTheirBlanksAndLongValuesAreCutToTheirMember) {
    const std::string longOpener(40, '<');
    const std::string longDelimiters = "abcdefghijklmnopqrstuvwxyz0123456789";
    Load(Crlf({"LangBraceS= <?", "BlockComment2S=" + longOpener, "LineComment2=1234567890",
               "Delimiters=" + longDelimiters, "InsideLang1=JS"}));
    EXPECT_STREQ(Syntax.LangBraceS, " <?");
    EXPECT_EQ(std::string(Syntax.BlockComment2S), longOpener.substr(0, 15));
    EXPECT_STREQ(Syntax.LineComment2, "1234567");
    EXPECT_EQ(std::string(Syntax.Delimiters).size(), 31u);
    EXPECT_STREQ(Syntax.InsideLang1, "JS");
}

TEST_F(SyntaxFile, CuttingNeverSplitsADoubleByteCharacter) {
    // 15 bytes of room: seven two-byte characters and one lead byte that
    // would be cut from its trail byte.
    std::string korean;
    for (int i = 0; i < 8; ++i)
        korean += "\xb0\xa1";
    Load(Crlf({"BlockComment1S=" + korean, "#Item \"" + korean + korean + "\"", "w"}));
    EXPECT_EQ(std::string(Syntax.BlockComment1S), korean.substr(0, 14));
    EXPECT_EQ(std::string(Syntax.GetItems(0).Name), (korean + korean).substr(0, 30));
}

TEST_F(SyntaxFile, DelimitersAreSortedAsSignedBytesAndAnsweredExactly) {
    Load(Crlf({"Delimiters=;,(\xa1"}));
    EXPECT_STREQ(Syntax.Delimiters, "\xa1(,;");
    for (int b = 0; b < 256; ++b) {
        const bool listed = b == ';' || b == ',' || b == '(' || b == 0xa1;
        EXPECT_EQ(Syntax.IsDelimiter(static_cast<unsigned char>(b)), listed) << b;
    }
}

TEST_F(SyntaxFile, ItemHeadersNamesFlagsAndWords) {
    Load(Crlf({"#Item1", "ignored before the first header", "#Item \"Vars\" StartWith", "$",
               "#Item \"Str\" PriorStr1 PriorStr2", "%d %s", "#Item1", "tab\tword  two",
               "#Item no quotes", "x"}));
    const TOVSynItem& vars = Syntax.GetItems(0);
    EXPECT_STREQ(vars.Name, "Vars");
    EXPECT_TRUE(vars.StartWith);
    EXPECT_FALSE(vars.PriorStr1);
    const TOVSynItem& strings = Syntax.GetItems(1);
    EXPECT_TRUE(strings.PriorStr1 && strings.PriorStr2 && !strings.StartWith);
    // "#Item1" is six bytes, not a header: it is a word line of item 1.
    ASSERT_TRUE(strings.Words);
    EXPECT_EQ(strings.Words->GetDelimitedText(), "%d %s #Item1 tab\tword two");
    EXPECT_STREQ(Syntax.GetItems(2).Name, "");
    EXPECT_FALSE(Syntax.GetItems(3).Words);

    EXPECT_EQ(StyleOf("$name"), StyleItem0);
    EXPECT_EQ(StyleOf("tab\tword"), StyleItem0 + 1);
    EXPECT_EQ(StyleOf("tab"), 0) << "a tab is part of the word";
}

TEST_F(SyntaxFile, CaseRuleOfTheWords) {
    const std::string items = Crlf({"#Item \"k\"", "begin Mixed"});
    Load("CaseSensitive=0\r\n" + items);
    EXPECT_EQ(StyleOf("BEGIN"), StyleItem0);
    EXPECT_EQ(StyleOf("mIXED"), StyleItem0);
    Load("CaseSensitive=1\r\n" + items);
    EXPECT_EQ(StyleOf("BEGIN"), 0);
    EXPECT_EQ(StyleOf("begin"), StyleItem0);
}

TEST_F(SyntaxFile, StringItemsMustLeadTheList) {
    Load(Crlf({"#Item \"InStrings\" PriorStr1", "%d", "#Item \"Plain\"", "if",
               "#Item \"Late\" PriorStr1", "%s"}));
    EXPECT_EQ(StyleOf("%d", TWordContext::String1), StyleItem0);
    EXPECT_EQ(StyleOf("if", TWordContext::String1), 0);
    EXPECT_EQ(StyleOf("%s", TWordContext::String1), 0);
    EXPECT_EQ(StyleOf("%d", TWordContext::String2), 0);
    EXPECT_EQ(StyleOf("%s"), StyleItem0 + 2);
}

TEST_F(SyntaxFile, WholeWordsAnswerAtOnceAndTheLastPrefixItemWins) {
    Load(Crlf({"#Item \"P0\" StartWith", "ab", "#Item \"P1\" StartWith", "a", "#Item \"W\"", "abc",
               "#Item \"P3\" StartWith", "abcd"}));
    EXPECT_EQ(StyleOf("abc"), StyleItem0 + 2);
    EXPECT_EQ(StyleOf("abx"), StyleItem0 + 1);
    EXPECT_EQ(StyleOf("abcde"), StyleItem0 + 3);
    EXPECT_EQ(StyleOf("b"), 0);
}

TEST_F(SyntaxFile, AnEmptyWordOfAPrefixItemMatchesNothing) {
    // A word line that begins with a blank splits into an empty first word.
    Load(Crlf({"#Item \"Vars\" StartWith", " $"}));
    ASSERT_EQ(Syntax.GetItems(0).Words->Count(), 2);
    EXPECT_EQ(StyleOf("$x"), StyleItem0);
    EXPECT_EQ(StyleOf("plain"), 0);
}

TEST_F(SyntaxFile, OnlyTenItemsAreRead) {
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "#Item \"I" + std::to_string(i) + "\"\r\nw" + std::to_string(i) + "\r\n";
    Load(text);
    EXPECT_STREQ(Syntax.GetItems(9).Name, "I9");
    EXPECT_EQ(StyleOf("w9"), StyleItem0 + 9);
    EXPECT_EQ(StyleOf("w10"), 0);
    try {
        Syntax.GetItems(10);
        FAIL() << "no range error";
    } catch (const ERangeError& error) {
        EXPECT_EQ(error.Label(), "TOVSynLangSyntax.GetItems");
        EXPECT_EQ(error.Index(), 10);
    }
}

TEST_F(SyntaxFile, NamesOnlyReadsNamesAndFlagsWithoutWords) {
    Syntax.NamesOnly = true;
    Load(Crlf({"#Item \"Keywords\" PriorStr2", "if else"}));
    EXPECT_STREQ(Syntax.GetItems(0).Name, "Keywords");
    EXPECT_TRUE(Syntax.GetItems(0).PriorStr2);
    EXPECT_FALSE(Syntax.GetItems(0).Words);
    EXPECT_EQ(StyleOf("if"), 0);
    EXPECT_TRUE(Syntax.NamesOnly) << "Init keeps NamesOnly";
}

TEST_F(SyntaxFile, AMissingFileKeepsTheDefinitionAndAnotherFileReplacesIt) {
    Load(Crlf({"LineComment1=//", "#Item \"A\"", "x"}));
    Syntax.LoadFromFile(Folder.File("missing.syn"));
    EXPECT_STREQ(Syntax.LineComment1, "//");
    Load(Crlf({"Delimiters=;"}));
    EXPECT_STREQ(Syntax.LineComment1, "");
    EXPECT_FALSE(Syntax.GetItems(0).Words);
    EXPECT_EQ(StyleOf("x"), 0);
}

TEST_F(SyntaxFile, ChangedWordListsAreSeenByTheNextLookup) {
    Load(Crlf({"#Item \"A\"", "x"}));
    EXPECT_EQ(StyleOf("y"), 0);
    Syntax.GetItems(0).Words->Add("y");
    EXPECT_EQ(StyleOf("y"), StyleItem0);
}

// The one-probe lookup must answer like the item-by-item walk of the
// definition: whole-word items return at once, prefix items leave the last
// match, string kinds consult only their leading flagged items.
int ReferenceStyleOf(const TOVSynLangSyntax& syntax, std::string_view word, int kind) {
    int result = 0;
    for (int i = 0; i < MaxItemCount; ++i) {
        const TOVSynItem& item = syntax.GetItems(i);
        if (!item.Words || (kind == 1 && !item.PriorStr1) || (kind == 2 && !item.PriorStr2))
            break;
        if (item.StartWith) {
            for (int w = 0; w < item.Words->Count(); ++w) {
                std::string_view prefix = item.Words->GetView(w);
                if (prefix.empty() || prefix.size() > word.size())
                    continue;
                // The word list's own rule: the second byte of a double-byte
                // character is never folded.
                bool same = true;
                bool trail = false;
                for (std::size_t c = 0; c < prefix.size() && same; ++c) {
                    char a = word[c], b = prefix[c];
                    if (!syntax.CaseSensitive && !trail) {
                        a = static_cast<char>(std::toupper(static_cast<unsigned char>(a)));
                        b = static_cast<char>(std::toupper(static_cast<unsigned char>(b)));
                    }
                    same = a == b;
                    trail = !trail && static_cast<unsigned char>(word[c]) >= 0x80;
                }
                if (same)
                    result = StyleItem0 + i;
            }
        } else if (item.Words->IndexOf(word) >= 0) {
            return StyleItem0 + i;
        }
    }
    return result;
}

void ExpectFastLookupLikeTheItemWalk(SyntaxFile& test, const std::string& letters, unsigned seed);

TEST_F(SyntaxFile, FastLookupAnswersLikeTheItemWalk) {
    ExpectFastLookupLikeTheItemWalk(*this, "abAB$_", 12345);
}

// Korean words: a second byte that is an ASCII letter is never folded, so
// 0x81 0x41 and 0x81 0x61 (two different syllables) never match each other.
TEST_F(SyntaxFile, FastLookupNeverFoldsSecondBytes) {
    Load(Crlf({"#Item \"K\"", "\x81\x41 a\x81\x61" "b"}));
    EXPECT_EQ(StyleOf("\x81\x41"), StyleItem0);
    EXPECT_EQ(StyleOf("\x81\x61"), 0);
    EXPECT_EQ(StyleOf("A\x81\x61" "B"), StyleItem0);
    EXPECT_EQ(StyleOf("A\x81\x41" "B"), 0);
    ExpectFastLookupLikeTheItemWalk(*this, "aAzZ\x81\xB0", 777);
}

void ExpectFastLookupLikeTheItemWalk(SyntaxFile& test, const std::string& letters, unsigned seed) {
    std::mt19937 random(seed);
    auto randomWord = [&] {
        std::string word;
        int length = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < length; ++i)
            word += letters[random() % letters.size()];
        return word;
    };
    for (int round = 0; round < 40; ++round) {
        std::string text = round % 2 ? "CaseSensitive=1\r\n" : "";
        const int items = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < items; ++i) {
            text += "#Item \"I\"";
            if (random() % 3 == 0)
                text += " StartWith";
            if (random() % 2)
                text += " PriorStr1";
            if (random() % 2)
                text += " PriorStr2";
            text += "\r\n";
            for (int w = 0; w < 5; ++w)
                text += randomWord() + " ";
            text += "\r\n";
        }
        test.Load(text);
        for (int probe = 0; probe < 200; ++probe) {
            const std::string word = randomWord();
            for (int kind = 0; kind < 3; ++kind) {
                ASSERT_EQ(test.StyleOf(word, static_cast<TWordContext>(kind)),
                          ReferenceStyleOf(test.Syntax, word, kind))
                    << text << "word " << word << " kind " << kind;
            }
        }
    }
}

TEST_F(SyntaxFile, BadFilesLoadWithoutHarm) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 131) & 0xFF);
    Load(binary);
    Load("");
    EXPECT_STREQ(Syntax.Delimiters, "");
    Load("Delimiters=" + std::string(1 << 20, ';') + "\r\n#Item \"big\"\r\n" +
         std::string(1 << 20, 'w') + "\r\nStringChar1=\"\"\"\r\n");
    EXPECT_EQ(std::string(Syntax.Delimiters), std::string(31, ';'));
    EXPECT_EQ(StyleOf(std::string(1 << 20, 'w')), StyleItem0);
}

// Whole words of every length from 1 to 80, in both case rules, beside
// words that differ from them in one byte, in case or by one byte more or
// less: the lookup rules words out by first byte and length before it
// compares them, and must never rule out a listed word.
TEST_F(SyntaxFile, WordsOfEveryLengthAnswerLikeTheItemWalk) {
    std::mt19937 random(4242);
    // Second bytes are no letters here: whether a letter there folds is the
    // business of another test.
    const std::string letters = "aZq_$9\x81\xB0", seconds = "_9\xB0";
    std::vector<std::string> words;
    for (int length = 1; length <= 80; ++length) {
        std::string word;
        bool second = false;
        for (int i = 0; i < length; ++i) {
            word += second ? seconds[random() % seconds.size()] : letters[random() % letters.size()];
            second = !second && static_cast<unsigned char>(word.back()) >= 0x81;
        }
        if (second)
            word.back() = 'x'; // no lead byte without its second byte
        words.push_back(word);
    }
    for (const char* rule : {"", "CaseSensitive=1\r\n"}) {
        std::string text = rule;
        for (int item = 0; item < 3; ++item) {
            text += "#Item \"I\"" + std::string(item == 1 ? " PriorStr1" : "") + "\r\n";
            for (std::size_t w = static_cast<std::size_t>(item); w < words.size(); w += 3)
                text += words[w] + " ";
            text += "\r\n";
        }
        Load(text);
        for (const std::string& word : words) {
            std::string upper = word, changed = word;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            changed[random() % changed.size()] ^= 0x01;
            for (const std::string& probe : {word, upper, changed, word + "a", word.substr(1),
                                             word.substr(0, word.size() - 1)}) {
                for (int kind = 0; kind < 3; ++kind) {
                    ASSERT_EQ(StyleOf(probe, static_cast<TWordContext>(kind)),
                              ReferenceStyleOf(Syntax, probe, kind))
                        << rule << "probe of length " << probe.size() << " kind " << kind;
                }
            }
        }
    }
}

} // namespace
} // namespace ov
