#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "platform/work_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

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
