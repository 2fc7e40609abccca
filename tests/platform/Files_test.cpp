#include "Files.h"

#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <csignal>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ov;
using ov::test::ExitStatusInChild;
using ov::test::TTempFolder;

TEST(Files, LookupIgnoresLetterCaseWhenTheExactNameIsMissing) {
    TTempFolder temp;
    temp.Write("Syntax/Default.han", "x");
    EXPECT_EQ(ResolveFileCase(temp.File("syntax/default.HAN")), temp.File("Syntax/Default.han"));
    EXPECT_EQ(ResolveFileCase(temp.File("Syntax/Default.han")), temp.File("Syntax/Default.han"));
    EXPECT_EQ(ResolveFileCase(temp.File("nothing/here")), temp.File("nothing/here"));
    EXPECT_TRUE(FileExists(temp.File("SYNTAX/default.han")));
    EXPECT_TRUE(FolderExists(temp.File("syntax")));
    EXPECT_FALSE(FileExists(temp.File("syntax")));
}

TEST(Files, ReadAtStopsAtTheEnd) {
    TTempFolder temp;
    std::string path = temp.Write("f.bin", "0123456789");
    TReadOnlyFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(file.Size(), 10);
    char buffer[16] = {};
    EXPECT_EQ(file.ReadAt(8, buffer, 16), 2);
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file.ReadAt(20, buffer, 4), 0);
    EXPECT_FALSE(TReadOnlyFile().Open(temp.File("missing")));
    EXPECT_FALSE(TReadOnlyFile().Open(temp.Path())); // a folder is not a file
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
    TTempFolder temp;
    std::string path = temp.Write("Orvane.ini", "old");
    ASSERT_TRUE(WriteFileAtomically(path, "new contents"));
    EXPECT_EQ(ov::test::ReadBytes(path), "new contents");
    EXPECT_EQ(ListFiles(temp.Path(), "").size(), 1u);
    EXPECT_FALSE(WriteFileAtomically(temp.File("no/such/folder/x.ini"), "x"));
}

TEST(Files, PathPieces) {
    EXPECT_EQ(ExtractFilePath("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(ExtractFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractFileExt("/a/b.d/c"), "");
    EXPECT_EQ(ExtractFileExt("/a/b/c.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFilePath("c.txt"), "");
}

TEST(Files, ANamedPipeIsRefusedInsteadOfBlocking) {
    TTempFolder temp;
    std::string path = temp.File("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    TReadOnlyFile file;
    EXPECT_FALSE(file.Open(path)); // no writer: a blocking open would never return
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(file.Open(temp.Write("plain.txt", "abc")));
    char buffer[4] = {};
    EXPECT_EQ(file.ReadAt(0, buffer, 3), 3); // reads block as usual once opened
}

TEST(Files, AFileTooLargeToHoldReadsAsUnreadable) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator aborts instead of failing";
#else
    TTempFolder temp;
    std::string path = temp.File("huge.ini");
    int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t(1) << 40), 0); // sparse: a terabyte of nothing
    ::close(fd);
    EXPECT_EQ(ReadWholeFile(path), std::nullopt);
#endif
}

TEST(Files, WholeWriteTruncatesAndReportsFailure) {
    TTempFolder temp;
    std::string path = temp.Write("page.html", "a longer old text");
    EXPECT_TRUE(WriteWholeFile(path, "new"));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>("new"));
    EXPECT_FALSE(WriteWholeFile(temp.File("no/such/folder/x.html"), "x"));
}

TEST(Files, ViewedFilesAreMatchedExactly) {
    TTempFolder temp;
    temp.Write("Notes.TXT", "x");
    EXPECT_TRUE(ViewedFileExists(temp.File("Notes.TXT")));
    EXPECT_FALSE(ViewedFileExists(temp.File("notes.txt"))); // another name on this file system
    EXPECT_TRUE(FileExists(temp.File("notes.txt")));        // the program's own files ignore case
    EXPECT_FALSE(ViewedFileExists(temp.Path()));
}

// The atomic write replaces what a link points at, not the link; keeps the
// mode of the file it replaces (a private settings file stays private); and
// writes straight into what is not a regular file (a named pipe, a device),
// which a rename would replace by a plain file.
TEST(Files, AtomicWriteFollowsLinksKeepsTheModeAndWritesIntoPipes) {
    TTempFolder temp;
    std::string target = temp.Write("real/Orvane.ini", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/Orvane.ini", temp.File("hop").c_str()), 0);
    ASSERT_EQ(::symlink(temp.File("hop").c_str(), temp.File("Orvane.ini").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(temp.File("Orvane.ini"), "new"));
    struct stat st;
    ASSERT_EQ(::lstat(temp.File("Orvane.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(temp.File("hop").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ov::test::ReadBytes(target), "new");
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ListFiles(temp.File("real"), "").size(), 1u); // no temporary file left

    // A new file gets the mode any new file gets.
    mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(temp.File("fresh.ini"), "x"));
    ::umask(mask);
    ASSERT_EQ(::stat(temp.File("fresh.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    // A named pipe receives the data and stays a pipe; asked to, the write
    // waits for its reader.
    std::string pipe = temp.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ov::test::ReadBytes(pipe); });
    EXPECT_TRUE(WriteFileAtomically(pipe, "through the pipe", TPipeWait::WaitForReader));
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // A device behind a link: written into, the link and the device stay.
    ASSERT_EQ(::symlink("/dev/null", temp.File("null").c_str()), 0);
    EXPECT_TRUE(WriteFileAtomically(temp.File("null"), "gone"));
    ASSERT_EQ(::lstat(temp.File("null").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A failed write says why, in a sentence for the user.
TEST(Files, FailedWritesTellWhy) {
    TTempFolder temp;
    TWriteResult missing = WriteFileAtomically(temp.File("no/such/folder/x.ini"), "x");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Error, ENOENT);
    EXPECT_FALSE(missing.Reason().empty());
    TWriteResult folder = WriteWholeFile(temp.Path(), "x");
    EXPECT_FALSE(folder);
    EXPECT_EQ(folder.Error, EISDIR);
    EXPECT_NE(folder.Reason(), missing.Reason());
    TWriteFile file;
    ASSERT_TRUE(file.Create("/dev/full"));
    file.Write("x", 1);
    TWriteResult full = file.Close();
    EXPECT_EQ(full.Error, ENOSPC);
    EXPECT_TRUE(WriteWholeFile(temp.File("ok.txt"), "x"));
    EXPECT_TRUE(TWriteResult().Reason().empty());
}

// Output made piece by piece: whatever stops it (the producer giving up or
// throwing, a write the file system refuses) leaves an existing file byte for
// byte as it was, with its mode, and no temporary file beside it; the result
// names the cause. A producer that finishes replaces the file with exactly
// its pieces.
TEST(Files, ProducedWritesLeaveTheTargetWholeWhenTheyStopHalfway) {
    TTempFolder temp;
    const std::string old("old page\0\xff\r\n", 13);
    const std::string path = temp.Write("page.htm", old);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string piece(64 * 1024, 'p');
    auto pieces = [&piece](int count, bool finish) {
        return [&piece, count, finish](const TPieceWriter& write) {
            for (int i = 0; i < count; ++i)
                if (!write(piece))
                    return false;
            return finish;
        };
    };
    auto unchanged = [&] {
        struct stat st;
        EXPECT_EQ(ov::test::ReadBytes(path), old);
        EXPECT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(ListFiles(temp.Path(), ""), std::vector<std::string>{"page.htm"});
    };

    EXPECT_EQ(WriteFileAtomically(path, pieces(5, false)).Error, ECANCELED);
    unchanged();
    EXPECT_THROW(WriteFileAtomically(path,
                                     [&](const TPieceWriter& write) -> bool {
                                         write(piece);
                                         throw std::runtime_error("no memory");
                                     }),
                 std::runtime_error);
    unchanged();

    // A file size limit makes the third piece's write fail with EFBIG; the
    // writer refuses every piece after it, and its error is the result.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*oldHandler)(int) = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 2 * piece.size() + 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    int refused = 0;
    const TWriteResult tooBig = WriteFileAtomically(path, [&](const TPieceWriter& write) {
        for (int i = 0; i < 6; ++i)
            refused += write(piece) ? 0 : 1;
        return true;
    });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(tooBig.Error, EFBIG);
    EXPECT_EQ(refused, 4);
    unchanged();

    // A device takes the pieces straight; its refusal is the result too.
    EXPECT_EQ(WriteFileAtomically("/dev/full", pieces(2, true)).Error, ENOSPC);

    ASSERT_TRUE(WriteFileAtomically(path, pieces(3, true)));
    EXPECT_EQ(ov::test::ReadBytes(path), piece + piece + piece);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ListFiles(temp.Path(), "").size(), 1u);
    EXPECT_FALSE(TWriteResult{ECANCELED}.Reason().empty());
}

// The program's own saves never wait on a named pipe that nobody reads: they
// fail at once saying why, and the pipe stays a pipe. With a reader the data
// goes through; a reader that leaves early makes the write fail, and the
// program lives on.
TEST(Files, APipeWithoutAReaderFailsInsteadOfWaiting) {
    TTempFolder temp;
    const std::string pipe = temp.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ExitStatusInChild([&] { return WriteFileAtomically(pipe, "settings").Error; }), ENXIO);
    EXPECT_EQ(ExitStatusInChild([&] {
                  return WriteFileAtomically(pipe, [](const TPieceWriter& write) {
                             return write("page");
                         }).Error;
              }),
              ENXIO);
    EXPECT_EQ(ExitStatusInChild([&] { return TWriteFile().Create(pipe).Error; }), ENXIO);
    EXPECT_FALSE(TWriteResult{ENXIO}.Reason().empty());
    struct stat st;
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteFileAtomically(pipe, "through the pipe"));
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 16);
    EXPECT_EQ(std::string(buffer, 16), "through the pipe");
    ::close(reader);

    EXPECT_EQ(ExitStatusInChild([&] {
                  const int early = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
                  return WriteFileAtomically(pipe, [early](const TPieceWriter& write) {
                             ::close(early);
                             return write("nobody reads this");
                         }).Error;
              }),
              EPIPE);
    EXPECT_FALSE(TWriteResult{EPIPE}.Reason().empty());
}

// A file the user made read-only, or one the user may not write in a folder
// the user may, stays as it is, with its owner and mode, and no temporary
// file is left: a rename would replace it, since it asks only for the
// folder. A file of another owner that the user may write keeps its owner.
TEST(Files, WriteProtectedFilesAndOwnersAreKept) {
    TTempFolder temp;
    const std::string path = temp.Write("Orvane.ini", "old");
    auto expectFile = [&](const std::string& bytes, uid_t owner, mode_t mode) {
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(ov::test::ReadBytes(path), bytes);
        EXPECT_EQ(st.st_uid, owner);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(ListFiles(temp.Path(), "").size(), 1u);
    };
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const TWriteResult readOnly = WriteFileAtomically(path, "new");
    EXPECT_EQ(readOnly.Error, EACCES);
    EXPECT_FALSE(readOnly.Reason().empty());
    expectFile("old", ::geteuid(), 0444);

    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give files to other users";
    constexpr uid_t other = 4321;
    ASSERT_EQ(::chown(path.c_str(), other, other), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_TRUE(WriteFileAtomically(path, "new"));
    expectFile("new", other, 0644);

    // The superuser's file in a folder that anybody may write, saved by
    // somebody else.
    ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(temp.Path().c_str(), 0777), 0);
    EXPECT_EQ(ExitStatusInChild([&] {
                  if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                      return 100;
                  return WriteFileAtomically(path, "theirs").Error;
              }),
              EACCES);
    expectFile("new", 0, 0644);
}

// /proc/kmsg reports a size of 0 and, once its messages are read, waits for
// the next one. (Reading it takes the kernel's pending messages.)
TEST(Files, UnsizedKernelFilesAreReadWithoutWaiting) {
    TReadOnlyFile status;
    ASSERT_TRUE(status.Open("/proc/self/status"));
    char head[5] = {};
    EXPECT_EQ(status.ReadAt(0, head, 5), 5);
    EXPECT_EQ(std::string(head, 5), "Name:");
    constexpr int Unreadable = 100;
    const int opened = ExitStatusInChild([] {
        TReadOnlyFile kernel;
        if (!kernel.Open("/proc/kmsg"))
            return Unreadable;
        return kernel.Size() >= 0 && kernel.Size() <= TReadOnlyFile::MaxUnsizedFileBytes ? 0 : 1;
    });
    if (opened == Unreadable)
        GTEST_SKIP() << "/proc/kmsg cannot be read here";
    EXPECT_EQ(opened, 0);
}
