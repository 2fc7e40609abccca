#include "Files.h"
#include "Testsupport.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

namespace ov {
namespace {

// Runs a copy of the program from a temporary folder, so that whatever it
// would write beside itself lands there and not beside the real binary.
class SnapshotRun : public testing::Test {
protected:
    void SetUp() override {
        FProgram = FFolder.File("orvane");
        std::filesystem::copy_file(std::string(ORVANE_BIN_DIR) + "/orvane", FProgram);
        FFolder.Write("langlink.ini", "C=c;h\n");
    }

    int Run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QString::fromStdString(FProgram), arguments);
        if (!process.waitForFinished(60000))
            return -1;
        return process.exitCode();
    }

    test::TTempFolder FFolder;
    std::string FProgram;
};

TEST_F(SnapshotRun, WritesThePictureAndNoSettings) {
    std::string png = FFolder.File("out.png");
    std::string file = FFolder.Write("a b.c", "int main() { return 0; }\n");
    ASSERT_EQ(Run({"--snapshot", QString::fromStdString(png), QString::fromStdString(file)}), 0);
    QImage picture(QString::fromStdString(png));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(500, 450));
    EXPECT_FALSE(FileExists(FFolder.File("Orvane.ini")));
}

TEST_F(SnapshotRun, BoundsOfTheSettingsFileApply) {
    FFolder.Write("Orvane.ini", "[Window]\nLeft=0\nTop=0\nWidth=640\nHeight=300\n");
    std::string png = FFolder.File("out.png");
    ASSERT_EQ(Run({"--snapshot", QString::fromStdString(png)}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(640, 300));
    EXPECT_EQ(test::ReadBytes(FFolder.File("Orvane.ini")),
              "[Window]\nLeft=0\nTop=0\nWidth=640\nHeight=300\n");
}

TEST_F(SnapshotRun, HelpVersionAndBadOptions) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(Run({"--no-such-option"}), 2);
    EXPECT_EQ(Run({"--snapshot"}), 2);
    EXPECT_EQ(Run({"--snapshot", QString::fromStdString(FFolder.File("missing/dir/out.png"))}), 1);
}

} // namespace
} // namespace ov
