#include "Commandline.h"

#include "Testsupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
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

TEST(CommandLine, LongArgumentsAreCutOnlyAtTheSystemPathLimit) {
    std::string path = "/" + std::string(PATH_MAX - 2, 'a');
    EXPECT_EQ(ParseCommandLine("orvane " + path), path);
    std::string longer = path + std::string(1000, 'b');
    EXPECT_EQ(ParseCommandLine("orvane " + longer), longer.substr(0, PATH_MAX));
    // Characters, not bytes: a Korean name keeps whole characters.
    std::string korean;
    for (int i = 0; i < PATH_MAX; ++i)
        korean += "가"; // three bytes in UTF-8
    std::string parsed = ParseCommandLine("orvane /" + korean);
    EXPECT_EQ(parsed, "/" + korean.substr(0, (PATH_MAX - 1) * 3));
}

// Whatever the arguments, the file argument comes back exactly as given:
// quotes, blanks and control characters anywhere, a program path with
// blanks or quotes of its own.
TEST(CommandLine, EveryFileArgumentComesBackExactly) {
    std::mt19937 random(7);
    const std::string alphabet = "a\" \t\n=;.\\/\xEA\xB0\x80";
    const std::vector<std::string> programs{"orvane", "/opt/my apps/orvane", "/opt/a\"b/orvane",
                                            "/opt/\"my apps\"/orvane", ""};
    for (int round = 0; round < 5000; ++round) {
        std::string file;
        for (int n = 1 + int(random() % 8); n > 0; --n)
            file += alphabet[random() % alphabet.size()];
        if (file.starts_with("--"))
            continue;
        const std::string& program = programs[random() % programs.size()];
        TLaunchOptions options = ParseLaunchArguments({program, file});
        ASSERT_EQ(options.Mode, TLaunchMode::View);
        ASSERT_EQ(ParseCommandLine(options.CommandLine), file)
            << "program '" << program << "' line '" << options.CommandLine << "'";
    }
    EXPECT_EQ(ParseCommandLine(ParseLaunchArguments({"orvane", "\"q\".txt"}).CommandLine),
              "\"q\".txt");
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
