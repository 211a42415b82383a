#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "platform/work_dir.h"
#include "support/error_kind.h"

#include <atomic>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

using namespace quarvel;
namespace fs = std::filesystem;

TEST(WorkDir, FindsFilesWithoutRegardToCaseAndCreatesItsFolder) {
    const fs::path dir = fs::temp_directory_path() / "quarvel-workdir-test" / "nested";
    fs::remove_all(dir.parent_path());
    WorkDir wd(dir);
    wd.ensureExists();
    EXPECT_TRUE(fs::is_directory(dir));
    EXPECT_EQ(wd.file("klauder.dat"), dir / "klauder.dat");
    writeTextFile(dir / "KLAUDER.DAT", "x");
    EXPECT_EQ(wd.file("klauder.dat"), dir / "KLAUDER.DAT");
    fs::remove_all(dir.parent_path());
}

TEST(WorkDir, EnvironmentChoosesTheFolder) {
    ::setenv("QUARVEL_WORKDIR", "/tmp/somewhere-else", 1);
    EXPECT_EQ(WorkDir::fromEnvironment().folder(), fs::path("/tmp/somewhere-else"));
    ::unsetenv("QUARVEL_WORKDIR");
    ::setenv("HOME", "/home/geo", 1);
    EXPECT_EQ(WorkDir::fromEnvironment().folder(), fs::path("/home/geo/Quarvel"));
}

TEST(WorkDir, AFileWhereTheFolderShouldBeIsReported) {
    const fs::path file = fs::temp_directory_path() / "quarvel-workdir-blocker";
    writeTextFile(file, "x");
    EXPECT_THROW(WorkDir(file / "sub").ensureExists(), QuarvelError);
    fs::remove(file);
}

TEST(WorkDir, WorkingFilesAreKnownByWhereAWriteLands) {
    const fs::path dir = fs::temp_directory_path() / "quarvel-workdir-own";
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    const WorkDir wd(dir);
    fs::create_symlink(dir / "LOG.DAT", dir / "sub" / "mine.csv");
    const struct {
        fs::path path;
        bool own;
    } cases[] = {
        {dir / "log.dat", true},
        {dir / "Ampl.Dat", true},
        {dir / "sub" / ".." / "klauder.sig", true},
        {dir / "sub" / "mine.csv", true},
        {dir / "tdr.csv", false},
        {dir / "sub" / "log.dat", false},
        {"/dev/null", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wd.holdsWorkingFile(c.path), c.own) << c.path;
    }
    fs::remove_all(dir);
}

TEST(WorkDirLock, ASecondCommandWaitsOrIsRefused) {
    const fs::path dir = fs::temp_directory_path() / "quarvel-workdir-lock";
    fs::create_directories(dir);
    const WorkDir wd(dir);
    std::optional<WorkDirLock> first(std::in_place, wd, WhenBusy::Refuse);
    EXPECT_EQ(quarvel::testing::thrownKind([&] { WorkDirLock(wd, WhenBusy::Refuse); }),
              ErrorKind::Busy);
    std::promise<void> told;
    std::atomic<bool> holding{false};
    std::thread waiter([&] {
        WorkDirLock second(wd, WhenBusy::Wait, [&] { told.set_value(); });
        holding = true;
    });
    told.get_future().wait();
    EXPECT_FALSE(holding);
    first.reset();
    waiter.join();
    EXPECT_TRUE(holding);
    EXPECT_NO_THROW(WorkDirLock(wd, WhenBusy::Refuse));
}

// Only working files count, whatever their letter case; made and removed
// ones too.
TEST(WorkingFileStamps, SayWhichWorkingFilesChanged) {
    const fs::path dir = fs::temp_directory_path() / "quarvel-workdir-stamps";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const WorkDir wd(dir);
    writeTextFile(dir / "LOG.DAT", "0.5 1500 1.6\r\n");
    writeTextFile(dir / "ampl.dat", "x\r\n");
    const WorkingFileStamps before = WorkingFileStamps::take(wd);
    EXPECT_TRUE(WorkingFileStamps::take(wd).changedSince(before).empty());
    writeTextFile(dir / "notes.txt", "mine");
    writeTextFile(dir / "LOG.DAT", "0.5 1600 1.6\r\n1 1600 2\r\n");
    writeTextFile(dir / "klauder.dat", "k");
    fs::remove(dir / "ampl.dat");
    EXPECT_EQ(WorkingFileStamps::take(wd).changedSince(before),
              (std::vector<std::string_view>{"log.dat", "klauder.dat", "ampl.dat"}));
    fs::remove_all(dir);
}
