#include "Charsets.h"
#include "Exporthtml.h"
#include "Files.h"
#include "Highlighttestsupport.h"
#include "Htmlpage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A file in an encoding converted when loaded is written as UTF-8, and the
// page says so.
TEST_F(ExportCommand, AConvertedEncodingIsWrittenAsUtf8) {
    const std::string text = "int x; // 東京都の天気は晴れです。ログファイルを開きました。\n";
    const std::string input = Work.Write("sjis.c", *ConvertCharset(text, "UTF-8", "SHIFT_JIS"));
    ASSERT_EQ(Run({input, Work.File("sjis.htm")}), 0) << ErrorLine();
    const std::string page = test::ReadBytes(Work.File("sjis.htm"));
    EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
    EXPECT_NE(page.find("東京都の天気は晴れです。ログファイルを開きました。"), std::string::npos);
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

// An empty input has no page to write: the run fails with one line and
// leaves an existing output as it was.
TEST_F(ExportCommand, AnEmptyInputWritesNothing) {
    const std::string input = Work.Write("empty.c", "");
    const std::string output = Work.Write("e.htm", "old");
    EXPECT_EQ(Run({input, output}), 1);
    EXPECT_NE(ErrorLine().find("empty"), std::string::npos) << ErrorLine();
    EXPECT_EQ(ErrorLine().find('\n'), ErrorLine().size() - 1) << "one line";
    EXPECT_EQ(test::ReadBytes(output), "old");
    EXPECT_EQ(Run({"--lang", "", Work.Write("a.c", "int\n"), output}), 1);
    EXPECT_EQ(ErrorLine().find('\n'), ErrorLine().size() - 1) << "one line";
}

// A regular output (also behind a link) is replaced whole; a named pipe, a
// device and "-" (the standard output) are written into, never replaced.
TEST_F(ExportCommand, WritesIntoPipesDevicesAndStandardOutput) {
    const std::string input = Work.Write("main.c", "int x;\n");
    ASSERT_EQ(Run({input, Work.File("plain.htm")}), 0) << ErrorLine();
    const std::string page = test::ReadBytes(Work.File("plain.htm"));
    ASSERT_FALSE(page.empty());

    const std::string target = Work.Write("target.htm", "old");
    ASSERT_EQ(::symlink(target.c_str(), Work.File("link.htm").c_str()), 0);
    ASSERT_EQ(Run({input, Work.File("link.htm")}), 0) << ErrorLine();
    struct stat st;
    ASSERT_EQ(::lstat(Work.File("link.htm").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(test::ReadBytes(target), page);

    const std::string pipe = Work.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = test::ReadBytes(pipe); });
    EXPECT_EQ(Run({input, pipe}), 0) << ErrorLine();
    reader.join();
    EXPECT_EQ(received, page);
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    EXPECT_EQ(Run({input, "/dev/null"}), 0) << ErrorLine();
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));

    // "-": the page goes to the standard output.
    const std::string captured = Work.File("stdout");
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    ::dup2(file, STDOUT_FILENO);
    ::close(file);
    const int status = Run({input, "-"});
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    EXPECT_EQ(status, 0) << ErrorLine();
    EXPECT_EQ(test::ReadBytes(captured), page);
    EXPECT_FALSE(FileExists(Work.File("-")));
}

} // namespace
} // namespace ov
