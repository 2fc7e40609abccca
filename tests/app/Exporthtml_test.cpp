#include "Exporthtml.h"
#include "Files.h"
#include "Highlighttestsupport.h"
#include "Htmlpage.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ov {
namespace {

using test::Crlf;

// A program folder with langlink.ini and Syntax/ beside a pretend executable.
class ExportCommand : public testing::Test {
protected:
    void SetUp() override {
        Program.Write("langlink.ini", "Demo=c;h\nNoDefinition=zz\n");
        Program.Write("Syntax/Demo.syn", test::DemoSyntax);
        Program.Write("Syntax/Demo.sty", Crlf({"Normal=#000000,#FFFFFF", "Item0=#0000FF"}));
        SetExeFolderOverride(Program.Path());
    }
    void TearDown() override { SetExeFolderOverride(""); }
    int Run(std::vector<std::string> args) {
        Errors.str("");
        return ExportHtmlCommand(args, Errors);
    }
    std::string ErrorLine() const { return Errors.str(); }

    test::TTempFolder Program;
    test::TTempFolder Work;
    std::ostringstream Errors;
};

TEST_F(ExportCommand, WritesThePageOfTheSaveCommand) {
    const std::string input = Work.Write("main.c", "int x;\nx = 1;\n");
    ASSERT_EQ(Run({input, Work.File("main.htm")}), 0) << ErrorLine();
    EXPECT_EQ(ErrorLine(), "");

    TOVSynStringList lines;
    lines.LoadFromFile(input);
    TOVSynHighlighter highlighter(Program.Path() + "Syntax");
    highlighter.SetLang("Demo");
    highlighter.Execute(lines);
    EXPECT_EQ(test::ReadBytes(Work.File("main.htm")), BuildHtmlPage(lines, highlighter, "main.c"));
}

TEST_F(ExportCommand, LanguageOptionOverridesTheExtension) {
    const std::string input = Work.Write("notes.unknown", "int\n");
    EXPECT_EQ(Run({input, Work.File("a.htm")}), 1);
    EXPECT_NE(ErrorLine().find("--lang"), std::string::npos);
    EXPECT_EQ(ErrorLine().find('\n'), ErrorLine().size() - 1) << "one line";
    EXPECT_FALSE(FileExists(Work.File("a.htm")));
    EXPECT_EQ(Run({"--lang", "demo", input, Work.File("a.htm")}), 0) << ErrorLine();
    EXPECT_NE(test::ReadBytes(Work.File("a.htm")).find("<span class='demoKeyword'>int</span>"),
              std::string::npos);
}

TEST_F(ExportCommand, FailuresAreReportedWithAStatus) {
    const std::string input = Work.Write("a.c", "int\n");
    EXPECT_EQ(Run({Work.File("missing.c"), Work.File("a.htm")}), 1);
    EXPECT_NE(ErrorLine().find("cannot read"), std::string::npos);
    EXPECT_EQ(Run({Work.Path(), Work.File("a.htm")}), 1) << "a folder is no input";
    EXPECT_EQ(Run({input, Work.File("no/folder/a.htm")}), 1);
    EXPECT_NE(ErrorLine().find("cannot write"), std::string::npos);
    EXPECT_EQ(Run({input, input}), 1);
    EXPECT_EQ(test::ReadBytes(input), "int\n") << "the input is never written";
    EXPECT_EQ(Run({Work.Write("b.zz", "x"), Work.File("b.htm")}), 1);
    EXPECT_NE(ErrorLine().find("NoDefinition.syn"), std::string::npos);
    EXPECT_EQ(Run({input}), 2);
    EXPECT_EQ(Run({input, Work.File("a.htm"), "--lang"}), 2);
    EXPECT_EQ(Run({input, Work.File("a.htm"), "extra"}), 2);

    Program.Write("Syntax/Demo.sty", "Normal=#XYZ\r\n");
    EXPECT_EQ(Run({input, Work.File("a.htm")}), 1);
    EXPECT_NE(ErrorLine().find("is not a valid integer value"), std::string::npos);
}

TEST_F(ExportCommand, AnEmptyInputGivesAPageWithoutLines) {
    const std::string input = Work.Write("empty.c", "");
    ASSERT_EQ(Run({input, Work.File("e.htm")}), 0);
    const std::string page = test::ReadBytes(Work.File("e.htm"));
    EXPECT_TRUE(page.ends_with("<div class='DemoNormal'>\r\n</div>\r\n</body>\r\n</html>\r\n"));
}

} // namespace
} // namespace ov
