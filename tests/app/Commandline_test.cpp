#include "Commandline.h"

#include "Testsupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

namespace ov {
namespace {

TEST(CommandLine, BuildQuotesArgumentsWithBlanks) {
    EXPECT_EQ(BuildCommandLine({"/usr/bin/orvane"}), "/usr/bin/orvane");
    EXPECT_EQ(BuildCommandLine({"/opt/my apps/orvane", "/tmp/a b.txt"}),
              "\"/opt/my apps/orvane\" \"/tmp/a b.txt\"");
    EXPECT_EQ(BuildCommandLine({"orvane", "plain.txt"}), "orvane plain.txt");
    EXPECT_EQ(BuildCommandLine({"orvane", ""}), "orvane \"\"");
}

TEST(CommandLine, TheFileArgumentIsTheRestOfTheLine) {
    EXPECT_EQ(ParseCommandLine("\"C:\\Program Files\\orvane.exe\" \"C:\\my docs\\a b.txt\""),
              "C:\\my docs\\a b.txt");
    EXPECT_EQ(ParseCommandLine("orvane /tmp/two words.txt"), "/tmp/two words.txt");
    EXPECT_EQ(ParseCommandLine("orvane /tmp/a.txt /tmp/b.txt"), "/tmp/a.txt /tmp/b.txt");
    EXPECT_EQ(ParseCommandLine("  orvane   /tmp/a.txt  \t"), "/tmp/a.txt");
    EXPECT_EQ(ParseCommandLine("\"orvane\"/tmp/a.txt"), "/tmp/a.txt");
    EXPECT_EQ(ParseCommandLine("orvane \"/tmp/a.txt"), "/tmp/a.txt");
}

TEST(CommandLine, NoFileArgument) {
    EXPECT_EQ(ParseCommandLine(""), "");
    EXPECT_EQ(ParseCommandLine("orvane"), "");
    EXPECT_EQ(ParseCommandLine("orvane "), "");
    EXPECT_EQ(ParseCommandLine("\"/opt/my apps/orvane\""), "");
    EXPECT_EQ(ParseCommandLine("\"/opt/my apps/orvane"), "");
    EXPECT_EQ(ParseCommandLine("orvane \"\""), "");
}

TEST(CommandLine, LongArgumentsAreCutTo255Characters) {
    std::string path = "/" + std::string(300, 'a');
    EXPECT_EQ(ParseCommandLine("orvane " + path), path.substr(0, 255));
    // Characters, not bytes: a Korean name keeps whole characters.
    std::string korean;
    for (int i = 0; i < 100; ++i)
        korean += "가"; // three bytes in UTF-8
    std::string parsed = ParseCommandLine("orvane /" + korean + korean + korean);
    EXPECT_EQ(parsed, "/" + korean + korean + korean.substr(0, 54 * 3));
}

TEST(CommandLine, ArgvRoundTrip) {
    for (const std::string& file :
         {std::string("/tmp/x.c"), std::string("/tmp/with blank/x y.c"),
          std::string("/tmp/한글 이름.txt"), std::string("/tmp/tab-at-end\t"),
          std::string("\n/tmp/line-break-first")}) {
        TLaunchOptions options = ParseLaunchArguments({"/opt/my apps/orvane", file});
        EXPECT_EQ(options.Mode, TLaunchMode::View);
        EXPECT_EQ(ParseCommandLine(options.CommandLine), file);
    }
    EXPECT_EQ(ParseCommandLine(ParseLaunchArguments({"orvane"}).CommandLine), "");
}

TEST(CommandLine, ProgramOptions) {
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--help"}).Mode, TLaunchMode::Help);
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--version"}).Mode, TLaunchMode::Version);
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--bogus"}).Mode, TLaunchMode::Error);
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--snapshot"}).Mode, TLaunchMode::Error);

    TLaunchOptions snapshot = ParseLaunchArguments({"orvane", "--snapshot", "out.png", "a b.txt"});
    EXPECT_EQ(snapshot.Mode, TLaunchMode::Snapshot);
    EXPECT_EQ(snapshot.SnapshotFile, "out.png");
    EXPECT_EQ(ParseCommandLine(snapshot.CommandLine), "a b.txt");
    EXPECT_EQ(ParseCommandLine(ParseLaunchArguments({"o", "--snapshot", "x.png"}).CommandLine), "");

    TLaunchOptions export_ =
        ParseLaunchArguments({"orvane", "--export-html", "in.c", "out.htm", "--lang", "C"});
    EXPECT_EQ(export_.Mode, TLaunchMode::ExportHtml);
    EXPECT_EQ(export_.ExportArguments,
              (std::vector<std::string>{"in.c", "out.htm", "--lang", "C"}));
    // A file whose name merely starts with one dash is a file.
    EXPECT_EQ(ParseLaunchArguments({"orvane", "-notes.txt"}).Mode, TLaunchMode::View);
}

// The manual page and --help name the same options, and every option they
// name is one the parser takes.
TEST(CommandLine, ManualPageAndHelpAgree) {
    auto optionsIn = [](const std::string& text) {
        std::set<std::string> found;
        const std::regex option(R"(--([a-z]+(-[a-z]+)*))");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
             it != std::sregex_iterator(); ++it)
            found.insert((*it)[1].str());
        return found;
    };
    std::string manual = test::ReadBytes(ORVANE_SOURCE_DIR "/packaging/orvane.1");
    ASSERT_FALSE(manual.empty());
    // troff writes a hyphen of an option as "\-".
    manual = std::regex_replace(manual, std::regex(R"(\\-)"), "-");
    const std::set<std::string> inHelp = optionsIn(UsageText());
    EXPECT_EQ(optionsIn(manual), inHelp);
    EXPECT_EQ(inHelp, (std::set<std::string>{"snapshot", "export-html", "lang", "help", "version"}));
    for (const char* first : {"--help", "--version"})
        EXPECT_NE(ParseLaunchArguments({"orvane", first}).Mode, TLaunchMode::Error) << first;
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--snapshot", "x.png"}).Mode, TLaunchMode::Snapshot);
    EXPECT_EQ(ParseLaunchArguments({"orvane", "--export-html", "a", "b"}).Mode,
              TLaunchMode::ExportHtml);
}

} // namespace
} // namespace ov
