#include "Inifiles.h"

#include "Codepage.h"
#include "Files.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

TEST(SettingsStore, RoundTripThroughTheFile) {
    test::TTempFolder folder;
    std::string file = folder.File("Orvane.ini");
    const std::string korean = "찾을 문자열 ไทย"; // beyond the code page too
    {
        TSettingsStore store(file);
        store.WriteInteger("Window", "Left", -12);
        store.WriteInteger("Window", "Width", 817);
        store.WriteBool("Window", "Max", true);
        store.WriteBool("Option", "WordWrap", false);
        store.WriteString("Style", "WFontName", "Tahoma");
        store.WriteString("FindHistory", "1", korean);
        store.WriteString("Recent", "/home/user/a=b.txt", "42");
        ASSERT_TRUE(store.UpdateFile());
    }
    TSettingsStore store(file);
    EXPECT_EQ(store.ReadInteger("Window", "Left", 0), -12);
    EXPECT_EQ(store.ReadInteger("Window", "Width", 0), 817);
    EXPECT_TRUE(store.ReadBool("Window", "Max", false));
    EXPECT_FALSE(store.ReadBool("Option", "WordWrap", true));
    EXPECT_EQ(store.ReadString("Style", "WFontName", ""), "Tahoma");
    EXPECT_EQ(store.ReadString("FindHistory", "1", ""), korean);
    EXPECT_EQ(store.ReadSectionValues("Recent"), std::vector<std::string>{"/home/user/a=b.txt=42"});
    EXPECT_EQ(store.ReadSections(),
              (std::vector<std::string>{"Window", "Option", "Style", "FindHistory", "Recent"}));
    EXPECT_EQ(test::ReadBytes(file).substr(0, 36), "[Window]\nLeft=-12\nWidth=817\nMax=1\n\n[");
}

// Files of older versions hold code-page text; those of this one UTF-8. A
// file may mix both (a path added by hand): each line is read as what it is
// and the whole file is written back as UTF-8.
TEST(SettingsStore, CodePageLinesOfOlderFilesAreReadAndWrittenBackAsUtf8) {
    test::TTempFolder folder;
    const std::string hangul = "찾을 문자열";
    const std::string path = "/home/사용자/문서.txt=3";
    const std::string file = folder.Write(
        "Orvane.ini", "[FindHistory]\n1=" + AnsiFromUtf8(hangul) + "\n2=ไทย\n[Recent]\n" + AnsiFromUtf8(path) + "\n");
    TSettingsStore store(file);
    EXPECT_EQ(store.ReadSectionValues("FindHistory"),
              (std::vector<std::string>{"1=" + hangul, "2=ไทย"}));
    EXPECT_EQ(store.ReadSectionValues("Recent"), std::vector<std::string>{path});
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(test::ReadBytes(file), "[FindHistory]\n1=" + hangul + "\n2=ไทย\n\n[Recent]\n" +
                                         path + "\n\n");
}

TEST(SettingsStore, NamesIgnoreLetterCaseAndKeepTheFirstSpelling) {
    TSettingsStore store;
    store.WriteString("Style", "BackColor", "#FFFFFF");
    store.WriteString("STYLE", "backcolor", "#000000");
    EXPECT_EQ(store.ReadString("style", "BACKCOLOR", ""), "#000000");
    EXPECT_EQ(store.ReadSections(), std::vector<std::string>{"Style"});
    EXPECT_EQ(store.ReadSectionValues("Style"), std::vector<std::string>{"backcolor=#000000"});
    EXPECT_TRUE(store.ValueExists("sTyLe", "BackColor"));
    EXPECT_FALSE(store.ValueExists("Style", "Back"));
}

TEST(SettingsStore, MissingOrUnreadableValuesGiveTheDefault) {
    TSettingsStore store;
    store.SetStrings({"[Option]", "A=12a", "B=", "C=0x10", "D=99999999999", "E= 7 ",
                      "F=-2147483648", "G=+5", "H=-", "I=1.5", "J=+-5", "K=++5", "Flag=yes"});
    EXPECT_EQ(store.ReadInteger("Option", "A", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "B", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "C", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "D", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "E", 3), 7);
    EXPECT_EQ(store.ReadInteger("Option", "F", 3), -2147483647 - 1);
    EXPECT_EQ(store.ReadInteger("Option", "G", 3), 5);
    EXPECT_EQ(store.ReadInteger("Option", "H", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "I", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "J", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "K", 3), 3);
    EXPECT_EQ(store.ReadInteger("Option", "Missing", 3), 3);
    EXPECT_EQ(store.ReadInteger("NoSection", "A", 3), 3);
    EXPECT_TRUE(store.ReadBool("Option", "Flag", true));
    EXPECT_FALSE(store.ReadBool("Option", "Flag", false));
    EXPECT_EQ(store.ReadString("NoSection", "A", "dflt"), "dflt");
    // A key that is present with an empty value is not missing.
    EXPECT_EQ(store.ReadString("Option", "B", "dflt"), "");
}

TEST(SettingsStore, BooleansAreIntegersOtherThanZero) {
    TSettingsStore store;
    store.SetStrings({"[B]", "one=1", "zero=0", "two=2", "minus=-1"});
    EXPECT_TRUE(store.ReadBool("B", "one", false));
    EXPECT_FALSE(store.ReadBool("B", "zero", true));
    EXPECT_TRUE(store.ReadBool("B", "two", false));
    EXPECT_TRUE(store.ReadBool("B", "minus", false));
    store.WriteBool("B", "zero", true);
    store.WriteBool("B", "one", false);
    EXPECT_EQ(store.ReadSectionValues("B"),
              (std::vector<std::string>{"one=0", "zero=1", "two=2", "minus=-1"}));
}

TEST(SettingsStore, ParsesIniLines) {
    TSettingsStore store;
    store.SetStrings({"orphan=1", "", "; comment", "  [ Window ]  ", " Left = 5 ", "Top=6",
                      "no equals sign", "[Recent]", "/a b/c.txt=3", "[window]", "Width=7"});
    EXPECT_EQ(store.ReadSections(), (std::vector<std::string>{"Window", "Recent"}));
    EXPECT_EQ(store.ReadSectionValues("Window"),
              (std::vector<std::string>{"Left=5", "Top=6", "no equals sign", "Width=7"}));
    EXPECT_EQ(store.ReadInteger("Window", "Left", 0), 5);
    EXPECT_EQ(store.ReadString("Recent", "/a b/c.txt", ""), "3");
    EXPECT_EQ(store.GetStrings(),
              (std::vector<std::string>{"; comment", "[Window]", "Left=5", "Top=6",
                                        "no equals sign", "Width=7", "", "[Recent]",
                                        "/a b/c.txt=3", ""}));
}

// A byte-order mark before the first section hides nothing, and comment
// lines written by hand stay where they were through a save; they are never
// values, keys or recent entries.
TEST(SettingsStore, ByteOrderMarkIsSkippedAndCommentsSurviveASave) {
    test::TTempFolder folder;
    std::string file = folder.Write(
        "Orvane.ini", "\xEF\xBB\xBF[Window]\nLeft=5\n; why Left is 5\n[Option]\n;x=1\nTabWidth=8\n");
    TSettingsStore store(file);
    EXPECT_EQ(store.ReadInteger("Window", "Left", 0), 5);
    EXPECT_EQ(store.ReadSectionValues("Option"), std::vector<std::string>{"TabWidth=8"});
    EXPECT_FALSE(store.ValueExists("Option", ";x"));
    store.WriteInteger("Option", ";x", 2);
    store.DeleteKey("Window", "; why Left is 5");
    store.WriteInteger("Window", "Top", 9);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(test::ReadBytes(file), "[Window]\nLeft=5\n; why Left is 5\nTop=9\n\n"
                                     "[Option]\n;x=1\nTabWidth=8\n;x=2\n\n");
    EXPECT_EQ(TSettingsStore(file).ReadInteger("Window", "Left", 0), 5);
}

// KeepsLine tells exactly which lines come back unchanged through the file.
TEST(SettingsStore, KeepsLineAnswersWhetherALineSurvivesTheFile) {
    std::mt19937 random(10);
    const std::string alphabet = "ab=; [] \t\r\n\x01\xC7";
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        for (int n = int(random() % 7); n > 0; --n)
            line += alphabet[random() % alphabet.size()];
        TSettingsStore store;
        store.AddLine("S", line);
        TSettingsStore reread;
        reread.SetStrings(SplitLines([&] {
            std::string text;
            for (const std::string& l : store.GetStrings())
                text += l + "\n";
            return text;
        }()));
        const bool survived = reread.ReadSectionValues("S") == std::vector<std::string>{line};
        ASSERT_EQ(TSettingsStore::KeepsLine(line), survived) << '"' << line << '"';
    }
}

TEST(SettingsStore, EraseDeleteClearAndReplace) {
    TSettingsStore store;
    store.SetStrings({"[A]", "x=1", "y=2", "[B]", "z=3"});
    store.DeleteKey("a", "X");
    EXPECT_EQ(store.ReadSectionValues("A"), std::vector<std::string>{"y=2"});
    store.EraseSection("b");
    EXPECT_FALSE(store.SectionExists("B"));
    EXPECT_TRUE(store.ReadSectionValues("B").empty());
    store.EraseSection("missing");
    store.Clear();
    EXPECT_TRUE(store.ReadSections().empty());
    store.SetStrings({"[C]", "k=v"});
    store.SetStrings({"[D]", "k=w"});
    EXPECT_FALSE(store.SectionExists("C"));
    EXPECT_EQ(store.ReadString("D", "k", ""), "w");
}

TEST(SettingsStore, DeletedKeysNamedTwiceByHandDoNotComeBack) {
    TSettingsStore store;
    store.SetStrings({"[A]", "x=1", "y=2", "X = 9", "[B]", "x=3"});
    store.DeleteKey("A", "x");
    EXPECT_FALSE(store.ValueExists("A", "x"));
    EXPECT_EQ(store.ReadString("A", "x", "none"), "none");
    EXPECT_EQ(store.ReadSectionValues("A"), std::vector<std::string>{"y=2"});
    EXPECT_EQ(store.ReadString("B", "x", ""), "3");
}

TEST(SettingsStore, LineEndsOfEveryKind) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(SettingsStore, MissingAndEmptyFilesGiveAnEmptyStore) {
    test::TTempFolder folder;
    TSettingsStore missing(folder.File("Orvane.ini"));
    EXPECT_TRUE(missing.ReadSections().empty());
    EXPECT_EQ(missing.ReadInteger("Window", "Left", 10), 10);
    TSettingsStore empty(folder.Write("empty.ini", ""));
    EXPECT_TRUE(empty.ReadSections().empty());
}

TEST(SettingsStore, BinaryFilesLoadWithoutHarm) {
    test::TTempFolder folder;
    std::mt19937 random(2024);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    bytes += "\n[Window]\nLeft=\x01\x02\n";
    TSettingsStore store(folder.Write("Orvane.ini", bytes));
    EXPECT_EQ(store.ReadInteger("Window", "Left", 10), 10);
    EXPECT_EQ(store.ReadInteger("Window", "Top", 50), 50);
    store.WriteInteger("Window", "Top", 1);
    EXPECT_TRUE(store.UpdateFile());
    EXPECT_EQ(TSettingsStore(store.FileName()).ReadInteger("Window", "Top", 50), 1);
}

TEST(SettingsStore, HundredKilobyteLinesSurvive) {
    test::TTempFolder folder;
    std::string longValue(100 * 1024, 'x');
    std::string longKey(100 * 1024, 'k');
    std::string text = "[FindHistory]\n1=" + longValue + "\n" + longKey + "=5\n[Option]\nWheel=7\n";
    TSettingsStore store(folder.Write("Orvane.ini", text));
    EXPECT_EQ(store.ReadString("FindHistory", "1", ""), longValue);
    EXPECT_EQ(store.ReadInteger("FindHistory", longKey, 0), 5);
    EXPECT_EQ(store.ReadInteger("Option", "Wheel", 3), 7);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(TSettingsStore(store.FileName()).ReadString("FindHistory", "1", ""), longValue);
}

TEST(SettingsStore, FailedWritesAndReloadsChangeNothing) {
    test::TTempFolder folder;
    TSettingsStore store(folder.File("no-such-folder/Orvane.ini"));
    store.WriteInteger("Window", "Left", 1);
    EXPECT_FALSE(store.UpdateFile());
    EXPECT_FALSE(store.Reload());
    EXPECT_EQ(store.ReadInteger("Window", "Left", 0), 1);
    EXPECT_FALSE(TSettingsStore().UpdateFile());
}

TEST(SettingsStore, ReloadReplacesTheContentFromDisk) {
    test::TTempFolder folder;
    std::string file = folder.Write("Orvane.ini", "[Option]\nTabWidth=8\n");
    TSettingsStore store(file);
    store.WriteInteger("Option", "Wheel", 5);
    folder.Write("Orvane.ini", "[Option]\nTabWidth=2\n");
    EXPECT_TRUE(store.Reload());
    EXPECT_EQ(store.ReadInteger("Option", "TabWidth", 4), 2);
    EXPECT_FALSE(store.ValueExists("Option", "Wheel"));
}

TEST(SettingsStore, FindsTheFileWithoutRegardToCase) {
    test::TTempFolder folder;
    folder.Write("ORVANE.INI", "[Window]\nLeft=77\n");
    TSettingsStore store(folder.File("Orvane.ini"));
    EXPECT_EQ(store.ReadInteger("Window", "Left", 10), 77);
    store.WriteInteger("Window", "Left", 78);
    ASSERT_TRUE(store.UpdateFile());
    EXPECT_EQ(test::ReadBytes(folder.File("ORVANE.INI")), "[Window]\nLeft=78\n\n");
}

TEST(SettingsStore, FileNameIsBesideTheExecutable) {
    test::TTempFolder folder;
    SetExeFolderOverride(folder.Path());
    EXPECT_EQ(SettingsFileName(), folder.Path() + "Orvane.ini");
    SetExeFolderOverride("");
}

} // namespace
} // namespace ov
