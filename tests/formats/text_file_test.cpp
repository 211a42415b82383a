#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/error_kind.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace quarvel;
namespace fs = std::filesystem;

namespace {
fs::path freshFolder(const char* name) {
    const fs::path dir = fs::temp_directory_path() /
                         ("quarvel-formats-" + std::string(name) + "-" +
                          std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(TextFile, BuilderEndsEveryLineWithCrLfAndWriteIsExact) {
    TextBuilder b;
    b.line("a b");
    b.line("");
    EXPECT_EQ(b.text(), "a b\r\n\r\n");
    const fs::path dir = freshFolder("write");
    writeTextFile(dir / "x.txt", b.text());
    EXPECT_EQ(readTextFile(dir / "x.txt"), "a b\r\n\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(TextFile, FailuresTellTheirKindAndKeepTheOldFile) {
    const fs::path dir = freshFolder("fail");
    writeTextFile(dir / "big.txt", std::string(100, 'x'));
    using quarvel::testing::thrownKind;
    EXPECT_EQ(thrownKind([&] { readTextFile(dir / "missing.txt"); }), ErrorKind::NotFound);
    EXPECT_EQ(thrownKind([&] { readTextFile(dir / "no-such-folder" / "x.txt"); }),
              ErrorKind::NotFound);
    EXPECT_EQ(thrownKind([&] { readTextFile(dir); }), ErrorKind::ReadFailed);
    EXPECT_EQ(thrownKind([&] { readTextFile(dir / "big.txt", 50); }), ErrorKind::Capacity);
    EXPECT_EQ(thrownKind([&] { writeTextFile(dir / "no-such-folder" / "x.txt", "x"); }),
              ErrorKind::WriteFailed);
    EXPECT_EQ(readTextFile(dir / "big.txt").size(), 100u);
}

TEST(TextFile, ReadingDropsALeadingByteOrderMarkOnly) {
    const fs::path dir = freshFolder("bom");
    const std::string bom(Utf8Bom);
    writeTextFile(dir / "log.txt", bom + "0.01 1500 1.7\r\n" + bom + "\r\n");
    EXPECT_EQ(readTextFile(dir / "log.txt"), "0.01 1500 1.7\r\n" + bom + "\r\n");
    writeTextFile(dir / "mark.txt", "\xEF\xBB\xBF");
    EXPECT_EQ(readTextFile(dir / "mark.txt"), "");
    writeTextFile(dir / "latin1.txt", "\xEF\xBB");
    EXPECT_EQ(readTextFile(dir / "latin1.txt"), "\xEF\xBB");
}

TEST(TextFile, WhatIsNotARegularFileIsRefusedBeforeItIsOpened) {
    const fs::path dir = freshFolder("special");
    // Opening a FIFO for reading blocks until a writer comes: the test would hang.
    const fs::path fifo = dir / "log.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {{fifo, "It is not a file."},
                 {"/dev/null", "It is not a file."},
                 {dir, "It is a folder, not a file."},
                 {dir / "missing.txt", "No such file or directory."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const std::string expected = "Cannot open file \"" + c.path.string() + "\". " + c.reason;
        try {
            readTextFile(c.path);
            ADD_FAILURE() << "not refused";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.what(), expected);
        }
    }
    writeTextFile(dir / "plain.txt", "x");
    EXPECT_NO_THROW(requireRegularFile(dir / "plain.txt"));
    fs::create_symlink(dir / "plain.txt", dir / "link.txt");
    EXPECT_EQ(readTextFile(dir / "link.txt"), "x");
}

TEST(TextFile, WriteFailuresNameTheFileAndTheSystemsReason) {
    const fs::path dir = freshFolder("writefail");
    writeTextFile(dir / "plain.txt", "old");
    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {{dir / "no-such-folder" / "x.txt", "No such file or directory."},
                 {dir / "plain.txt" / "x.txt", "Not a directory."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        try {
            writeTextFile(c.path, "new");
            ADD_FAILURE() << "not refused";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.what(), "Cannot create file \"" + c.path.string() + "\". " + c.reason);
        }
    }
    EXPECT_EQ(readTextFile(dir / "plain.txt"), "old");
}

// Renaming a written file over a link, a device or a pipe would put a plain
// file in its place: they are written through, or refused, and stay what
// they were.
TEST(TextFile, WritingToWhatIsNotAPlainFileNeverReplacesIt) {
    const fs::path dir = freshFolder("through");
    writeTextFile(dir / "target.txt", "old");
    fs::create_symlink(dir / "target.txt", dir / "link.txt");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "read-pipe").c_str(), 0600), 0);
    const int reader = ::open((dir / "read-pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    // A character device as the null device is one (made only by root).
    const bool device = ::mknod((dir / "null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    const struct {
        fs::path path;
        std::string refusal; // empty: written
        fs::path lands;      // where the text is then found, if anywhere readable
    } cases[] = {
        {dir / "link.txt", "", dir / "target.txt"},
        {dir / "read-pipe", "", {}},
        {dir / "pipe", "No program reads from it.", {}},
        {device ? dir / "null" : dir / "link.txt", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const fs::file_type type = fs::symlink_status(c.path).type();
        try {
            writeTextFile(c.path, "new");
            EXPECT_EQ(c.refusal, "");
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.what(), "Cannot create file \"" + c.path.string() + "\". " + c.refusal);
        }
        EXPECT_EQ(fs::symlink_status(c.path).type(), type);
        if (!c.lands.empty()) {
            EXPECT_EQ(readTextFile(c.lands), "new");
        }
    }
    char piped[8] = {};
    EXPECT_EQ(::read(reader, piped, sizeof piped), 3);
    EXPECT_EQ(std::string(piped), "new");
    ::close(reader);
    // In a set, a pipe is refused before any file of it is written.
    EXPECT_THROW(writeTextFiles({{dir / "target.txt", "set"}, {dir / "pipe", "set"}}),
                 QuarvelError);
    EXPECT_EQ(readTextFile(dir / "target.txt"), "new");
}

TEST(TextFile, AWriteCutShortByTheSystemSaysWhy) {
    // A file size limit fails the write as a full disk does, with a reason of
    // its own; the signal it raises is ignored so the write returns the error.
    const fs::path dir = freshFolder("limit");
    writeTextFile(dir / "plain.txt", "old");
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        writeTextFile(dir / "plain.txt", std::string(200000, 'x'));
    } catch (const QuarvelError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(message,
              "Cannot create file \"" + (dir / "plain.txt").string() + "\". File too large.");
    EXPECT_EQ(readTextFile(dir / "plain.txt"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(TextFile, LineSplittingAndNormalising) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(normaliseLineEnds("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
}
