#include "Appfolders.h"

#include "Files.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace ov {
namespace {

using test::TEnvVar;

// A prefix as the install rule lays it out (PREFIX/bin, PREFIX/share/orvane)
// and a home with its own configuration and data folders.
class AppFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        Prefix.Write("bin/.keep", "");
        Prefix.Write("share/orvane/langlink.ini", "C=c;h\n");
        Prefix.Write("share/orvane/Syntax/C.syn", "shipped");
        Prefix.Write("share/orvane/Fonts/default.han", "font");
        SetExeFolderOverride(Prefix.File("bin"));
    }
    void TearDown() override { SetExeFolderOverride(""); }

    std::string Shipped(const std::string& name) const {
        return Prefix.File("bin/../share/orvane/" + name);
    }

    test::TTempFolder Prefix;
    test::TTempFolder Home;
    TEnvVar FHome{"HOME", Home.Path().c_str()};
    TEnvVar FConfig{"XDG_CONFIG_HOME", Home.File("cfg").c_str()};
    TEnvVar FData{"XDG_DATA_HOME", Home.File("dat").c_str()};
};

TEST_F(AppFoldersTest, InstalledProgramReadsShareAndKeepsUserFilesInXdgFolders) {
    EXPECT_EQ(RuntimePath("langlink.ini"), Shipped("langlink.ini"));
    // The program's own names ignore letter case, wherever the file lies.
    EXPECT_EQ(RuntimePath("LANGLINK.INI"), Shipped("langlink.ini"));
    EXPECT_EQ(RuntimePath("fonts/"), Shipped("Fonts"));
    EXPECT_EQ(ShippedSyntaxFolder(), Shipped("Syntax/"));
    // Missing everywhere: named where a portable copy would hold it.
    EXPECT_EQ(RuntimePath("shortcut.htm"), Prefix.File("bin/shortcut.htm"));

    EXPECT_FALSE(SettingsBesideExecutable());
    EXPECT_EQ(SettingsFilePath(), Home.File("cfg/orvane/Orvane.ini"));
    EXPECT_EQ(UserSyntaxFolder(), Home.File("dat/orvane/Syntax/"));
    EXPECT_EQ(UserStyleFile("C"), Home.File("dat/orvane/Syntax/C.sty"));
    EXPECT_EQ(UserLangLinkFile(), Home.File("dat/orvane/langlink.ini"));

    // A definition of the user's own is read before the shipped one, by file.
    EXPECT_EQ(FindSyntaxFile("C.syn"), Shipped("Syntax/C.syn"));
    Home.Write("dat/orvane/syntax/c.SYN", "mine");
    EXPECT_EQ(FindSyntaxFile("C.syn"), Home.File("dat/orvane/syntax/c.SYN"));
    EXPECT_EQ(FindSyntaxFile("C.sty"), Shipped("Syntax/C.sty"));
    EXPECT_EQ(UserStyleFile("C"), Home.File("dat/orvane/syntax/C.sty"));
}

TEST_F(AppFoldersTest, XdgVariablesThatAreUnsetEmptyOrRelativeMeanTheHomeFolders) {
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        TEnvVar config("XDG_CONFIG_HOME", value);
        TEnvVar data("XDG_DATA_HOME", value);
        EXPECT_EQ(SettingsFilePath(), Home.File(".config/orvane/Orvane.ini"));
        EXPECT_EQ(UserSyntaxFolder(), Home.File(".local/share/orvane/Syntax/"));
    }
}

TEST_F(AppFoldersTest, PortableFolderKeepsEverythingBesideTheExecutable) {
    // An Orvane.ini beside an installed executable makes it portable again.
    Prefix.Write("bin/Orvane.ini", "");
    EXPECT_TRUE(SettingsBesideExecutable());
    EXPECT_EQ(SettingsFilePath(), Prefix.File("bin/Orvane.ini"));

    // A build or copied folder: the runtime files beside the executable win
    // over an installed copy, and settings and colours are written there.
    test::TTempFolder portable;
    portable.Write("langlink.ini", "C=c\n");
    portable.Write("Syntax/C.syn", "beside");
    SetExeFolderOverride(portable.Path());
    EXPECT_TRUE(SettingsBesideExecutable());
    EXPECT_EQ(SettingsFilePath(), portable.File("Orvane.ini"));
    EXPECT_EQ(RuntimePath("langlink.ini"), portable.File("langlink.ini"));
    EXPECT_EQ(UserSyntaxFolder(), portable.File("Syntax/"));
    EXPECT_EQ(UserStyleFile("C"), portable.File("Syntax/C.sty"));
    EXPECT_EQ(FindSyntaxFile("C.syn"), portable.File("Syntax/C.syn"));
    EXPECT_EQ(UserLangLinkFile(), "");
}

TEST_F(AppFoldersTest, SettingsFolderThatCannotBeMadeIsReportedAndNothingIsCreated) {
    EXPECT_TRUE(SettingsCanBeSaved()); // cfg/orvane is made at the first save
    EXPECT_FALSE(FolderExists(Home.File("cfg")));

    // A file where the folder should be: running as root, permissions alone
    // would not stop a write.
    Home.Write("blocked", "not a folder");
    TEnvVar config("XDG_CONFIG_HOME", Home.File("blocked/deeper").c_str());
    EXPECT_FALSE(SettingsCanBeSaved());
    EXPECT_FALSE(CanCreateFile(Home.File("blocked/x.ini")));
    EXPECT_FALSE(CreateFolders(Home.File("blocked/deeper/orvane")));

    EXPECT_TRUE(CreateFolders(Home.File("a/b/c/")));
    EXPECT_TRUE(FolderExists(Home.File("a/b/c")));
    EXPECT_TRUE(CanCreateFile(Home.File("a/b/c/d/e.ini")));
}

// Whatever stands where the settings file goes, the user is told why the
// settings will not be saved, naming it, exactly when a save would fail;
// a plain file and a device (a link to /dev/null, settings thrown away on
// purpose) are written.
TEST_F(AppFoldersTest, EverySettingsFileThatCannotBeSavedIsSaidWhy) {
    const std::string file = SettingsFilePath();
    ASSERT_TRUE(CreateFolders(ExtractFilePath(file)));
    struct TCase {
        const char* Name;
        std::function<void()> Make;
        std::string Names; // what the sentence names; empty: no obstacle
    };
    const std::vector<TCase> cases = {
        {"no file yet", [] {}, ""},
        {"a plain file", [&] { Home.Write("cfg/orvane/Orvane.ini", "[Window]\n"); }, ""},
        {"a link to a device", [&] { ASSERT_EQ(::symlink("/dev/null", file.c_str()), 0); }, ""},
        {"a read-only file",
         [&] {
             Home.Write("cfg/orvane/Orvane.ini", "[Window]\n");
             ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
         },
         file + " 파일에 쓸 수 없습니다."},
        {"a named pipe", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); },
         file + " 은(는) 파일이 아니라 이름 있는 파이프입니다."},
        {"a link to a named pipe",
         [&] {
             ASSERT_EQ(::mkfifo(Home.File("pipe").c_str(), 0600), 0);
             ASSERT_EQ(::symlink(Home.File("pipe").c_str(), file.c_str()), 0);
         },
         file + " 은(는) 파일이 아니라 이름 있는 파이프입니다."},
        {"a folder", [&] { ASSERT_TRUE(CreateFolders(file)); },
         file + " 은(는) 파일이 아니라 폴더입니다."},
    };
    for (const TCase& each : cases) {
        SCOPED_TRACE(each.Name);
        ::unlink(file.c_str());
        ::rmdir(file.c_str());
        ::unlink(Home.File("pipe").c_str());
        each.Make();
        const std::string why = SettingsSaveObstacle(file);
        EXPECT_EQ(SettingsCanBeSaved(), each.Names.empty());
        EXPECT_EQ(why, each.Names.empty() ? "" : "설정을 저장할 수 없습니다: " + each.Names);
        const bool saved = WriteFileAtomically(file, "[Window]\n").Ok();
        EXPECT_EQ(saved, each.Names.empty()) << "a save the user was not warned of failed, or the reverse";
    }
}

} // namespace
} // namespace ov
