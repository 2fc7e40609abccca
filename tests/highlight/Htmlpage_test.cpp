#include "Highlighttestsupport.h"
#include "Htmlpage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace ov {
namespace {

using test::Crlf;
using test::SetLines;

// Lines of the page between "<div ...>" and "</div>", without their CR LF.
std::vector<std::string> BodyLines(const std::string& page) {
    std::vector<std::string> lines;
    std::size_t start = page.find("<div class=");
    start = page.find("\r\n", start) + 2;
    for (std::size_t end; (end = page.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = page.substr(start, end - start);
        if (line == "</div>")
            break;
        lines.push_back(line);
    }
    return lines;
}

class HtmlPage : public testing::Test {
protected:
    void SetUp() override {
        Folder.Add("Demo", test::DemoSyntax,
                   Crlf({"Normal=#000080,#FFFFF0", "Comment=#008000", "Item0=#0000FF,#EEEEEE"}));
        Highlighter = Folder.Highlighter("Demo");
    }
    std::string Page(std::initializer_list<std::string_view> texts, bool highlight = true) {
        SetLines(Lines, texts);
        if (highlight)
            Highlighter->Execute(Lines);
        return BuildHtmlPage(Lines, *Highlighter, "a.c");
    }
    test::TDefinitionFolder Folder;
    std::unique_ptr<TOVSynHighlighter> Highlighter;
    TOVSynStringList Lines;
};

TEST_F(HtmlPage, FileLayout) {
    const std::string page = Page({"int x;"});
    const std::string expected = "<html>\r\n"
                                 "<head>\r\n"
                                 "<meta http-equiv='Content-Type' content='text/html; "
                                 "charset=euc-kr'>\r\n"
                                 "<title>a.c</title>\r\n\r\n"
                                 "<style type='text/css'>\r\n"
                                 "body,p,br {font-family:Courier New; font-size:9pt}\r\n"
                                 ".DemoNormal {color:#000080; background-color:#FFFFF0}\r\n"
                                 ".DemoNumber {color:#000000; background-color:#FFFFF0}\r\n"
                                 ".DemoComment {color:#008000; background-color:#FFFFF0}\r\n"
                                 ".DemoString1 {color:#000000; background-color:#FFFFF0}\r\n"
                                 ".DemoString2 {color:#000000; background-color:#FFFFF0}\r\n"
                                 ".DemoLineNum {color:#000000; background-color:#FFFFF0}\r\n"
                                 ".DemoHTMLValue {color:#000000; background-color:#FFFFF0}\r\n"
                                 ".DemoKeyword {color:#0000FF; background-color:#EEEEEE}\r\n"
                                 "</style>\r\n"
                                 "</head>\r\n"
                                 "<body bgcolor='#FFFFF0'>\r\n"
                                 "<div class='DemoNormal'>\r\n"
                                 "<span class='DemoKeyword'>int</span> x;<br>\r\n"
                                 "</div>\r\n"
                                 "</body>\r\n"
                                 "</html>\r\n";
    EXPECT_EQ(page, expected);
}

// The page keeps the document's bytes, so it names their coding before the
// first of them (the title is already the document's text): a reader in
// any locale then shows the Korean of either coding.
TEST_F(HtmlPage, DeclaresTheDocumentsCharacterSetBeforeAnyOfItsText) {
    const struct {
        TTextCoding Coding;
        std::string Text, Title, Label;
    } cases[] = {{TTextCoding::Cp949, "int \xC7\xD1;", "\xC7\xD1.c", "euc-kr"},
                 {TTextCoding::Utf8, "int \xED\x95\x9C;", "\xED\x95\x9C.c", "utf-8"}};
    for (const auto& sample : cases) {
        SCOPED_TRACE(sample.Label);
        SetLines(Lines, {sample.Text});
        Lines.SetCoding(sample.Coding);
        Highlighter->Execute(Lines);
        const std::string page = BuildHtmlPage(Lines, *Highlighter, sample.Title);
        const std::string declaration =
            "<meta http-equiv='Content-Type' content='text/html; charset=" + sample.Label + "'>";
        const std::size_t at = page.find(declaration);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(page.find("charset="), page.rfind("charset=")) << "declared once";
        EXPECT_LT(at, page.find("<title>"));
        EXPECT_GT(at, page.find("<head>"));
    }
}

TEST_F(HtmlPage, BlanksTabsAndMarkupCharacters) {
    Page({"a    b", "a   b", "a\tb", "<&>"}, false);
    const std::vector<std::string> body = BodyLines(BuildHtmlPage(Lines, *Highlighter, "t"));
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0], "a&nbsp;&nbsp;&nbsp;&nbsp;b<br>");
    EXPECT_EQ(body[1], "a&nbsp;&nbsp; b<br>");
    EXPECT_EQ(body[2], "a&nbsp; b<br>");
    EXPECT_EQ(body[3], "&lt;&amp;&gt;<br>");
}

TEST_F(HtmlPage, RunsOverRowsOneByteRunsAndUnnamedStyles) {
    const std::vector<std::string> body = BodyLines(Page({"x /* a", "b", "c */", "{"}));
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0], "x <span class='DemoComment'>/* a<br>");
    EXPECT_EQ(body[1], "b<br>");
    EXPECT_EQ(body[2], "c */</span><br>");
    EXPECT_EQ(body[3], "<span class='DemoKeyword'>{</span><br>");

    // Items 1 .. 9 have no names: no rule, an empty class.
    Lines.SetStyleID(3, 0, -(StyleItem0 + 1));
    const std::string page = BuildHtmlPage(Lines, *Highlighter, "t");
    EXPECT_EQ(BodyLines(page)[3], "<span class=''>{</span><br>");
    std::size_t rules = 0;
    for (std::size_t at = 0; (at = page.find("\r\n.", at)) != std::string::npos; ++at)
        ++rules;
    EXPECT_EQ(rules, 8u) << "seven fixed styles and the one named item";
}

TEST_F(HtmlPage, MarksOnTheSecondOfTwoBlanksAreKept) {
    // A line comment that ends in two blanks closes on the second one.
    const std::vector<std::string> body = BodyLines(Page({"x //  ", "int"}));
    EXPECT_EQ(body[0], "x <span class='DemoComment'>//&nbsp;&nbsp;</span><br>");
    EXPECT_EQ(body[1], "<span class='DemoKeyword'>int</span><br>");
}

// A run that closes on the first of two blanks takes both blanks, as the
// page lays out a pair of blanks; only a mark on the second blank (which
// the pair would skip) makes the two blanks separate.
TEST_F(HtmlPage, ARunClosingOnTheFirstOfTwoBlanksTakesBoth) {
    SetLines(Lines, {"<a  href=x>"});
    Lines.SetStyleID(0, 0, StyleItem0);
    Lines.SetStyleID(0, 2, -StyleItem0);
    Lines.SetStyleID(0, 4, StyleComment);
    Lines.SetStyleID(0, 7, -StyleComment);
    EXPECT_EQ(BodyLines(BuildHtmlPage(Lines, *Highlighter, "t"))[0],
              "<span class='DemoKeyword'>&lt;a&nbsp;&nbsp;</span>"
              "<span class='DemoComment'>href</span>=x&gt;<br>");
    // Three blanks, the run closing on the first: the pair, then a plain one.
    SetLines(Lines, {"a   b"});
    Lines.SetStyleID(0, 0, StyleItem0);
    Lines.SetStyleID(0, 1, -StyleItem0);
    EXPECT_EQ(BodyLines(BuildHtmlPage(Lines, *Highlighter, "t"))[0],
              "<span class='DemoKeyword'>a&nbsp;&nbsp;</span> b<br>");
}

TEST_F(HtmlPage, SpansAlwaysBalance) {
    auto balanced = [](const std::string& page) {
        std::size_t opens = 0, closes = 0;
        for (std::size_t at = 0; (at = page.find("<span", at)) != std::string::npos; ++at)
            ++opens;
        for (std::size_t at = 0; (at = page.find("</span>", at)) != std::string::npos; ++at)
            ++closes;
        return opens == closes;
    };
    // An unterminated string at the end of the document has no closing mark.
    EXPECT_TRUE(balanced(Page({"int \"open"})));
    // 100 nested runs: beyond 64 they are not opened.
    SetLines(Lines, {std::string(200, 'x')});
    for (int i = 0; i < 100; ++i) {
        Lines.SetStyleID(0, i, StyleItem0);
        Lines.SetStyleID(0, 199 - i, -StyleItem0);
    }
    const std::string page = BuildHtmlPage(Lines, *Highlighter, "t");
    EXPECT_TRUE(balanced(page));
    // Marks that close out of order, ids of slots that are not loaded.
    SetLines(Lines, {"abcdef"});
    Lines.SetStyleID(0, 0, 7);
    Lines.SetStyleID(0, 1, 2);
    Lines.SetStyleID(0, 2, -7);
    Lines.SetStyleID(0, 3, -2);
    Lines.SetStyleID(0, 4, 100);
    Lines.SetStyleID(0, 5, -128);
    EXPECT_TRUE(balanced(BuildHtmlPage(Lines, *Highlighter, "t")));
}

TEST_F(HtmlPage, EmbeddedLanguagesGetClassesInSlotOrder) {
    Folder.Add("HTML", Crlf({"HTML_LANG=1", "#Item \"Tag\"", "<b"}),
               Crlf({"Normal=#000000,#FFFFFF", "Item0=#800000"}));
    Folder.Add("JS", Crlf({"Delimiters=<>", "#Item \"Reserved Word\"", "var"}));
    Highlighter = Folder.Highlighter("HTML");
    const std::string page = Page({"<b><script>var</script>"});
    std::vector<std::string> classes;
    CollectStyleClasses(*Highlighter, classes);
    ASSERT_EQ(classes.size(), 2u * StyleCount);
    EXPECT_EQ(classes[StyleCount + StyleItem0], "JSReserved_Word");
    EXPECT_NE(page.find(".JSReserved_Word {color:#000000; background-color:#FFFFFF}"),
              std::string::npos);
    EXPECT_EQ(BodyLines(page)[0], "<span class='HTMLTag'>&lt;b&gt;</span>&lt;script&gt;"
                                  "<span class='JSReserved_Word'>var</span>&lt;/script&gt;<br>");
}

// A page far larger than one piece reaches the sink in bounded pieces that
// join to the whole page, and a refusing sink stops the writing at once.
TEST_F(HtmlPage, WritesLargePagesInBoundedPieces) {
    std::vector<std::string> rows;
    for (int i = 0; i < 6000; ++i)
        rows.push_back(i % 7 == 0 ? "int  <x> & y; // note " + std::to_string(i)
                                  : "/* open " + std::to_string(i) + " */ int z;");
    rows.push_back("/* left open at the end");
    SetLines(Lines, {});
    for (const std::string& row : rows)
        Lines.Add(row);
    Highlighter->Execute(Lines);
    const std::string whole = BuildHtmlPage(Lines, *Highlighter, "big.c");
    ASSERT_GT(whole.size(), 4 * PageSinkPiece);

    std::string joined;
    int pieces = 0;
    EXPECT_TRUE(WriteHtmlPage(Lines, *Highlighter, "big.c", [&](std::string_view piece) {
        EXPECT_LE(piece.size(), PageSinkPiece + 4096);
        joined.append(piece);
        ++pieces;
        return true;
    }));
    EXPECT_EQ(joined, whole);
    EXPECT_GT(pieces, 4);

    int calls = 0;
    EXPECT_FALSE(WriteHtmlPage(Lines, *Highlighter, "big.c", [&](std::string_view) {
        return ++calls < 2;
    }));
    EXPECT_EQ(calls, 2);
}

// The CSS reading of a selector's identifier: "\" and up to six hex digits
// with one optional blank after them is that code, "\" and another byte is
// that byte. Empty when the text holds anything an identifier may not.
std::string CssUnescape(std::string_view selector) {
    std::string name;
    for (std::size_t i = 0; i < selector.size(); ++i) {
        const auto byte = static_cast<unsigned char>(selector[i]);
        if (byte == '\\') {
            std::size_t end = i + 1;
            while (end < selector.size() && end < i + 7 &&
                   std::isxdigit(static_cast<unsigned char>(selector[end])))
                ++end;
            if (end == i + 1)
                return {};
            name += static_cast<char>(
                std::stoi(std::string(selector.substr(i + 1, end - i - 1)), nullptr, 16));
            i = end < selector.size() && selector[end] == ' ' ? end : end - 1;
        } else if (std::isalnum(byte) || byte == '_' || byte == '-' || byte >= 0x80) {
            name += selector[i];
        } else {
            return {};
        }
    }
    auto digit = [&](std::size_t i) {
        return i < selector.size() && std::isdigit(static_cast<unsigned char>(selector[i]));
    };
    const bool badStart = digit(0) || (!selector.empty() && selector[0] == '-' && digit(1));
    return badStart ? std::string() : name;
}

std::string HtmlUnescape(std::string text) {
    for (const auto& [entity, byte] :
         {std::pair("&lt;", "<"), std::pair("&gt;", ">"), std::pair("&quot;", "\""),
          std::pair("&#39;", "'"), std::pair("&amp;", "&")})
        text = ReplaceAll(text, entity, byte);
    return text;
}

// A user's definition whose language and style names hold quotes, braces,
// markup, a leading digit and Korean: every class attribute ends where it
// should and names its style, every rule of the style sheet selects exactly
// that class, the style element ends only at its end, and the title is text.
TEST(HtmlText, NamesOfAnyBytesAreEscapedForTextAttributesAndStyleSheet) {
    const std::vector<std::string> names = {"It's",     "{x}",         "<b>&c",
                                            "</style>", "a.b:c",       "9 lives",
                                            "-1",       "back\\slash", "\xB0\xA1\xB3\xAA"};
    std::string syn = "Delimiters=;\r\n", sty = "Normal=#000000,#FFFFFF\r\n", text;
    for (std::size_t k = 0; k < names.size(); ++k) {
        syn += "#Item \"" + names[k] + "\"\r\nw" + std::to_string(k) + "\r\n";
        sty += "Item" + std::to_string(k) + "=#0000" + std::to_string(10 + k) + "\r\n";
        text += "w" + std::to_string(k) + " ";
    }
    test::TDefinitionFolder folder;
    folder.Add("9Lang", syn, sty);
    auto highlighter = folder.Highlighter("9Lang");
    TOVSynStringList lines;
    SetLines(lines, {text});
    ASSERT_TRUE(highlighter->Execute(lines));
    const std::string page = BuildHtmlPage(lines, *highlighter, "a&lt;b.c");

    EXPECT_NE(page.find("<title>a&amp;lt;b.c</title>"), std::string::npos);
    const std::size_t sheet = page.find("<style type='text/css'>");
    const std::size_t sheetEnd = page.find("</style>");
    ASSERT_NE(sheet, std::string::npos);
    EXPECT_EQ(sheetEnd, page.rfind("</style")) << "the style element ends early";
    std::map<std::string, std::string> colourOfClass;
    for (std::size_t at = page.find("\r\n.", sheet); at < sheetEnd;
         at = page.find("\r\n.", at + 1)) {
        const std::size_t brace = page.find(" {color:", at);
        const std::string selector = page.substr(at + 3, brace - at - 3);
        const std::string name = CssUnescape(selector);
        ASSERT_FALSE(name.empty()) << "not an identifier: " << selector;
        EXPECT_TRUE(colourOfClass.emplace(name, page.substr(brace + 8, 7)).second) << name;
    }
    EXPECT_EQ(colourOfClass.size(), 7 + names.size());
    for (std::size_t k = 0; k < names.size(); ++k) {
        SCOPED_TRACE(names[k]);
        const std::string word = "w" + std::to_string(k) + "</span>";
        const std::size_t end = page.find(word);
        ASSERT_NE(end, std::string::npos);
        const std::size_t open = page.rfind("<span class='", end) + 13;
        const std::size_t close = page.find('\'', open);
        EXPECT_EQ(page.substr(close, 2), "'>");
        const std::string name = HtmlUnescape(page.substr(open, close - open));
        EXPECT_EQ(name, ClassName("9Lang", names[k]));
        EXPECT_EQ(colourOfClass[name], "#0000" + std::to_string(10 + k));
    }
}

TEST(HtmlText, CssIdentifiersKeepNameBytesAndEscapeTheRest) {
    // Every byte after a letter, and every byte first: read back as itself.
    for (int byte = 1; byte < 256; ++byte) {
        const std::string alone(1, static_cast<char>(byte));
        EXPECT_EQ(CssUnescape(CssIdentifier("a" + alone)), "a" + alone) << byte;
        EXPECT_EQ(CssUnescape(CssIdentifier(alone)), alone) << byte;
        EXPECT_EQ(CssUnescape(CssIdentifier("-" + alone)), "-" + alone) << byte;
    }
    // The shipped style names read as they always have.
    EXPECT_EQ(CssIdentifier("CSSAt-rules"), "CSSAt-rules");
    EXPECT_EQ(CssIdentifier(ClassName("C", "Library functions")), "CLibrary_functions");
    EXPECT_EQ(ClassName("Go", "Built-in\tfunctions"), "GoBuilt-in_functions");
}

// A mapped file's NUL bytes read as blanks to the scanners and the page:
// the marks and the page are those of the same text with blanks.
TEST_F(HtmlPage, NulBytesOfAMappedFileAreMarkedAndWrittenAsBlanks) {
    using namespace std::string_literals;
    const std::string bytes = "int\0x = 1;\0// c\0d\r\n{\0int\0}\n\"s\0t\" /*\0*/ int\0\n"
                              "a\0\0\0b\n"s;
    std::string blanks = bytes;
    std::replace(blanks.begin(), blanks.end(), '\0', ' ');
    test::TTempFolder temp;
    TOVSynStringList mapped;
    ASSERT_TRUE(mapped.LoadViewedFile(temp.Write("nul.c", bytes), TFileEncoding::Cp949));
    ASSERT_TRUE(mapped.Mapped());
    Lines.SetTextStr(blanks.c_str());
    ASSERT_EQ(mapped.Count(), Lines.Count());
    Highlighter->Execute(mapped);
    Highlighter->Execute(Lines);
    for (int row = 0; row < Lines.Count(); ++row)
        EXPECT_EQ(test::MarksOf(mapped, row), test::MarksOf(Lines, row)) << row;
    EXPECT_NE(test::MarksOf(Lines, 0), "");
    EXPECT_EQ(BuildHtmlPage(mapped, *Highlighter, "a.c"), BuildHtmlPage(Lines, *Highlighter, "a.c"));
}

TEST(HtmlText, ColoursAndReplacement) {
    EXPECT_EQ(ColorToHtml(RGBColor(0x12, 0xAB, 0x0C)), "#12AB0C");
    EXPECT_EQ(ReplaceAll("a  b c", " ", "_"), "a__b_c");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST_F(HtmlPage, SaveWritesThePageOrReportsFailure) {
    Page({"int"});
    test::TTempFolder out;
    ASSERT_TRUE(SaveAsHtml(out.File("a.htm"), Lines, *Highlighter, "a.c"));
    EXPECT_EQ(test::ReadBytes(out.File("a.htm")), BuildHtmlPage(Lines, *Highlighter, "a.c"));
    EXPECT_FALSE(SaveAsHtml(out.File("missing/a.htm"), Lines, *Highlighter, "a.c"));
}

// A page of several megabytes, written as it is made, is on disk byte for
// byte the page built whole, and replaces the page that was there; written
// into a full device it fails with the device's error.
TEST_F(HtmlPage, LargeSavedPageEqualsTheBuiltPage) {
    const char* shapes[] = {"int  x = 1; // 한글 <b> & \t", "/* open", "still  open */ if (y) {",
                            "\t\tz = \"a  b\";", ""};
    SetLines(Lines, {});
    for (int i = 0; i < 120000; ++i)
        Lines.Add(std::string(shapes[i % 5]) + (i % 3 == 0 ? " int" : "") + std::to_string(i));
    Lines.Add("/* left open at the end");
    Highlighter->Execute(Lines);
    const std::string whole = BuildHtmlPage(Lines, *Highlighter, "big.c");
    ASSERT_GT(whole.size(), 4u << 20);

    test::TTempFolder out;
    const std::string path = out.Write("big.htm", "old page");
    ASSERT_TRUE(SaveAsHtml(path, Lines, *Highlighter, "big.c"));
    EXPECT_TRUE(test::ReadBytes(path) == whole) << "the saved page differs";
    EXPECT_EQ(SaveAsHtml("/dev/full", Lines, *Highlighter, "big.c").Error, ENOSPC);
}

// Without a language or without lines there is no page: nothing is written,
// an existing file stays as it was, and the result says why.
TEST_F(HtmlPage, NoLanguageOrNoLinesWritesNothing) {
    test::TTempFolder out;
    const std::string kept = out.Write("kept.htm", "old page");
    Page({});
    TWriteResult empty = SaveAsHtml(kept, Lines, *Highlighter, "a.c");
    EXPECT_FALSE(empty);
    EXPECT_FALSE(empty.Reason().empty());
    Page({"int"});
    TOVSynHighlighter none(Folder.Path());
    EXPECT_FALSE(SaveAsHtml(kept, Lines, none, "a.c"));
    EXPECT_FALSE(SaveAsHtml(out.File("new.htm"), Lines, none, "a.c"));
    EXPECT_EQ(test::ReadBytes(kept), "old page");
    EXPECT_FALSE(FileExists(out.File("new.htm")));
}

} // namespace
} // namespace ov
