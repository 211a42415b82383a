#include "formats/file_system.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/temp_work_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;

// The system's calls, except that the chosen renames or exchanges (counted
// together from 1) fail as renaming an immutable file does, and exchanging
// can be made unsupported as on file systems that cannot swap.
class FailingFileSystem final : public FileSystem {
public:
    FailingFileSystem(int failingCall, bool canExchange)
        : FailingFileSystem(std::vector<int>{failingCall}, canExchange) {}
    FailingFileSystem(std::vector<int> failingCalls, bool canExchange)
        : failingCalls_(std::move(failingCalls)), canExchange_(canExchange) {}

    std::error_code exchange(const std::filesystem::path& a,
                             const std::filesystem::path& b) override {
        if (!canExchange_) {
            return std::make_error_code(std::errc::invalid_argument);
        }
        return fails() ? std::make_error_code(std::errc::operation_not_permitted)
                       : system().exchange(a, b);
    }
    std::error_code rename(const std::filesystem::path& from,
                           const std::filesystem::path& to) override {
        return fails() ? std::make_error_code(std::errc::operation_not_permitted)
                       : system().rename(from, to);
    }
    std::error_code copy(const std::filesystem::path& from,
                         const std::filesystem::path& to) override {
        return system().copy(from, to);
    }
    void remove(const std::filesystem::path& path) override { system().remove(path); }

private:
    static FileSystem& system() { return systemFileSystem(); }
    bool fails() { return std::ranges::count(failingCalls_, ++calls_) > 0; }

    std::vector<int> failingCalls_;
    bool canExchange_;
    int calls_ = 0;
};

const std::vector<std::string> Names{"refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat",
                                     "ampl.dat"};

std::vector<PendingFile> newSet(const TempWorkDir& dir) {
    std::vector<PendingFile> files;
    for (const std::string& name : Names) {
        files.push_back({dir.file(name), "new " + name + "\r\n"});
    }
    return files;
}

long fileCount(const TempWorkDir& dir) {
    return std::distance(std::filesystem::directory_iterator(dir.path()), {});
}

// A failure while the files take their places, at every step, with and
// without the swap, and with targets that did not exist before: every old
// file comes back, no new one stays, nothing temporary is left.
TEST(WriteTextFiles, FailedPlacementPartwayRestoresThePreviousSet) {
    for (const bool canExchange : {true, false}) {
        for (const bool allExisted : {true, false}) {
            for (int failing = 1; failing <= 5; ++failing) {
                SCOPED_TRACE(::testing::Message() << "swap " << canExchange << ", all existed "
                                                  << allExisted << ", failing call " << failing);
                TempWorkDir dir;
                for (std::size_t i = 0; i < Names.size(); ++i) {
                    if (allExisted || i % 2 == 0) {
                        dir.write(Names[i], "old " + Names[i] + "\r\n");
                    }
                }
                const long before = fileCount(dir);
                FailingFileSystem fs(failing, canExchange);
                try {
                    writeTextFiles(newSet(dir), fs);
                    ADD_FAILURE() << "not reported";
                } catch (const QuarvelError& error) {
                    // The new file was written; it could not take the old one's place.
                    EXPECT_EQ(std::string(error.what()).find("Cannot replace file"), 0U)
                        << error.what();
                }
                for (std::size_t i = 0; i < Names.size(); ++i) {
                    if (allExisted || i % 2 == 0) {
                        EXPECT_EQ(dir.read(Names[i]), "old " + Names[i] + "\r\n") << Names[i];
                    } else {
                        EXPECT_FALSE(dir.exists(Names[i])) << Names[i];
                    }
                }
                EXPECT_EQ(fileCount(dir), before);
            }
        }
    }
}

// When the second placement fails and putting the first old file back fails
// too, that old file is the only copy of what the target held: it is kept,
// and the message says where.
TEST(WriteTextFiles, AnOldFileThatCannotBePutBackIsKeptAndNamed) {
    for (const bool canExchange : {true, false}) {
        SCOPED_TRACE(canExchange ? "swap" : "copy and rename");
        TempWorkDir dir;
        for (const std::string& name : Names) {
            dir.write(name, "old " + name + "\r\n");
        }
        FailingFileSystem fs({2, 3}, canExchange);
        std::string message;
        try {
            writeTextFiles(newSet(dir), fs);
        } catch (const QuarvelError& error) {
            message = error.what();
        }
        const std::string marker = "it is kept as ";
        const std::size_t at = message.find(marker);
        ASSERT_NE(at, std::string::npos) << message;
        const std::filesystem::path kept =
            message.substr(at + marker.size(), message.size() - at - marker.size() - 1);
        EXPECT_EQ(kept.parent_path(), dir.path());
        EXPECT_EQ(dir.read(kept.filename().string()), "old refl.dat\r\n");
        EXPECT_EQ(dir.read("refl.dat"), "new refl.dat\r\n");
        EXPECT_EQ(dir.read("corr.dat"), "old corr.dat\r\n");
    }
}

TEST(WriteTextFiles, WithoutTheSwapTheNewSetStillReplacesTheOld) {
    TempWorkDir dir;
    for (const std::string& name : Names) {
        dir.write(name, "old\r\n");
    }
    FailingFileSystem fs(0, false);
    writeTextFiles(newSet(dir), fs);
    for (const std::string& name : Names) {
        EXPECT_EQ(dir.read(name), "new " + name + "\r\n");
    }
    EXPECT_EQ(fileCount(dir), static_cast<long>(Names.size()));
}

// Texts made one at a time into one buffer: each file gets its own text, and
// a text that cannot be made partway leaves the old set and nothing else.
TEST(WriteTextFiles, TextsMadeOneAtATime) {
    for (const bool failsPartway : {false, true}) {
        SCOPED_TRACE(failsPartway ? "fails at the third text" : "all made");
        TempWorkDir dir;
        std::vector<std::filesystem::path> paths;
        for (const std::string& name : Names) {
            dir.write(name, "old\r\n");
            paths.push_back(dir.file(name));
        }
        std::string buffer;
        const auto textOf = [&](std::size_t i) -> std::string_view {
            if (failsPartway && i == 2) {
                throw QuarvelError("no text");
            }
            buffer = "new " + Names[i] + "\r\n";
            return buffer;
        };
        if (failsPartway) {
            EXPECT_THROW(writeTextFiles(paths, textOf), QuarvelError);
        } else {
            writeTextFiles(paths, textOf);
        }
        for (const std::string& name : Names) {
            EXPECT_EQ(dir.read(name), failsPartway ? "old\r\n" : "new " + name + "\r\n");
        }
        EXPECT_EQ(fileCount(dir), static_cast<long>(Names.size()));
    }
}

// Texts made in pieces through a draining builder: each file gets its pieces
// whole and in order, no piece much passes the builder's size, and a text
// that fails partway, after some of its pieces went out, leaves the old set
// and nothing else.
TEST(WriteTextFiles, TextsMadeInPieces) {
    for (const bool failsPartway : {false, true}) {
        SCOPED_TRACE(failsPartway ? "fails within the third text" : "all made");
        TempWorkDir dir;
        std::vector<std::filesystem::path> paths;
        for (const std::string& name : Names) {
            dir.write(name, "old\r\n");
            paths.push_back(dir.file(name));
        }
        std::size_t longestPiece = 0;
        const auto textOf = [](std::size_t i, int row) {
            return Names[i] + " row " + std::to_string(row);
        };
        const auto writeOf = [&](std::size_t i, const PieceSink& put) {
            TextBuilder text(64, [&](std::string_view piece) {
                longestPiece = std::max(longestPiece, piece.size());
                put(piece);
            });
            for (int row = 0; row < 40; ++row) {
                if (failsPartway && i == 2 && row == 30) {
                    throw QuarvelError("no text");
                }
                text.line(textOf(i, row));
            }
            text.flush();
        };
        if (failsPartway) {
            EXPECT_THROW(writeTextFilesInPieces(paths, writeOf), QuarvelError);
        } else {
            writeTextFilesInPieces(paths, writeOf);
        }
        for (std::size_t i = 0; i < Names.size(); ++i) {
            std::string expected = "old\r\n";
            if (!failsPartway) {
                expected.clear();
                for (int row = 0; row < 40; ++row) {
                    expected += textOf(i, row) + "\r\n";
                }
            }
            EXPECT_EQ(dir.read(Names[i]), expected);
        }
        EXPECT_GT(longestPiece, 0u);
        EXPECT_LT(longestPiece, 64u + 32u);
        EXPECT_EQ(fileCount(dir), static_cast<long>(Names.size()));
    }
}

} // namespace
} // namespace quarvel
