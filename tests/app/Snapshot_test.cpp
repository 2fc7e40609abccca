#include "Files.h"
#include "Testsupport.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

    // The exit status, or -1 when the run did not end within timeoutMs
    // (then it is killed). What it wrote to stderr goes to Errors.
    int Run(const QStringList& arguments, int timeoutMs = 60000) {
        QProcess process;
        process.setProcessEnvironment(Environment);
        process.start(QString::fromStdString(FProgram), arguments);
        const bool finished = process.waitForFinished(timeoutMs);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        Errors = process.readAllStandardError().toStdString();
        return finished ? process.exitCode() : -1;
    }

    std::string Errors;
    // The runs' environment: offscreen unless a test says otherwise.
    QProcessEnvironment Environment = [] {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }();

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

// A file above 100 MiB asks whether to open it; with nobody to answer, the
// run must neither wait on the question nor picture an empty view.
TEST_F(SnapshotRun, LargeFilesDoNotWaitForAnAnswer) {
    std::string file = FFolder.File("large.txt");
    {
        std::ofstream out(file, std::ios::binary);
        std::string line(1023, 'x');
        line += '\n';
        for (int i = 0; i < 101 * 1024; ++i)
            out << line;
    }
    std::string png = FFolder.File("out.png");
    ASSERT_EQ(Run({"--snapshot", QString::fromStdString(png), QString::fromStdString(file)}), 0);
    QImage picture(QString::fromStdString(png));
    ASSERT_FALSE(picture.isNull());
    // The text's first row is drawn in the view: some dark pixels near the top.
    bool inked = false;
    for (int x = 0; x < picture.width() / 2 && !inked; ++x)
        for (int y = 30; y < 60 && !inked; ++y)
            inked = qGray(picture.pixel(x, y)) < 100;
    EXPECT_TRUE(inked);
}

// A damaged Hangul font (empty, truncated or oversized) must not stop a run
// that nobody watches: the run ends with its picture, and the one message,
// on stderr, names the file.
TEST_F(SnapshotRun, DamagedHangulFontNeitherHangsNorRepeats) {
    std::filesystem::create_directory(FFolder.File("Fonts"));
    std::string file = FFolder.Write("a.c", "int a;\n");
    for (std::size_t size : {std::size_t(0), std::size_t(100), std::size_t(20000)}) {
        FFolder.Write("Fonts/default.han", std::string(size, '\x55'));
        std::string png = FFolder.File("out.png");
        ASSERT_EQ(Run({"--snapshot", QString::fromStdString(png), QString::fromStdString(file)},
                      20000),
                  0)
            << size << " bytes";
        EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
        std::size_t first = Errors.find("Invalid Font File");
        ASSERT_NE(first, std::string::npos) << Errors;
        EXPECT_EQ(Errors.find("Invalid Font File", first + 1), std::string::npos) << Errors;
        EXPECT_NE(Errors.find("default.han"), std::string::npos) << Errors;
    }
}

// Without a display the window cannot open: one line says so and how to
// render without one, and the run ends with status 1, not with an abort.
TEST_F(SnapshotRun, WithoutADisplayOneLineSaysHowToRenderInstead) {
    Environment.remove(QStringLiteral("DISPLAY"));
    Environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const std::string file = FFolder.Write("a.c", "int a;\n");
    EXPECT_EQ(Run({QString::fromStdString(file)}), 1) << Errors;
    EXPECT_EQ(Errors.find("orvane: no display could be opened"), 0u) << Errors;
    EXPECT_NE(Errors.find("--snapshot"), std::string::npos) << Errors;
    EXPECT_EQ(Errors.find('\n'), Errors.size() - 1) << Errors;
    EXPECT_FALSE(FileExists(FFolder.File("Orvane.ini")));
}

// A file that is not there is named on stderr; the empty window is pictured.
TEST_F(SnapshotRun, AMissingFileIsNamedOnStandardError) {
    std::string png = FFolder.File("out.png");
    std::string missing = FFolder.File("no such file.c");
    ASSERT_EQ(Run({"--snapshot", QString::fromStdString(png), QString::fromStdString(missing)}),
              0);
    EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
    EXPECT_NE(Errors.find("'" + missing + "'"), std::string::npos) << Errors;
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
