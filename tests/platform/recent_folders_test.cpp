// The folder each file question was last answered in, across runs.
#include "platform/dialogs.h"
#include "platform/recent_folders.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

class RecentFoldersTest : public ::testing::Test {
protected:
    RecentFoldersTest() {
        EXPECT_TRUE(home.isValid());
        EXPECT_TRUE(QDir(home.path()).mkpath("logs"));
        EXPECT_TRUE(QDir(home.path()).mkpath("plots"));
    }
    // The settings as the next run finds them: read afresh from their file.
    QString startFolder(const QString& key) const {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        return RecentFolders(settings).startFolder(key);
    }
    void remember(const QString& key, const QString& chosen) const {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        RecentFolders(settings).remember(key, chosen);
    }
    QString settingsFile() const { return home.filePath("settings.ini"); }
    QString path(const char* name) const { return home.filePath(QString::fromLatin1(name)); }

    QTemporaryDir home;
};

TEST_F(RecentFoldersTest, EachQuestionStartsWhereItWasLastAnswered) {
    EXPECT_EQ(startFolder("open log"), QString()) << "never asked: the dialog's own choice";
    remember("open log", path("logs/core.txt"));
    remember("save final plot", path("plots/typed-without-extension"));
    EXPECT_EQ(startFolder("open log"), path("logs"));
    EXPECT_EQ(startFolder("save final plot"), path("plots"));
    EXPECT_EQ(startFolder("open trace"), QString());

    remember("open log", path("plots/other.txt"));
    EXPECT_EQ(startFolder("open log"), path("plots")) << "the last answer counts";

    ASSERT_TRUE(QDir(path("plots")).removeRecursively());
    EXPECT_EQ(startFolder("open log"), QString()) << "a folder that is gone is not offered";
}

TEST_F(RecentFoldersTest, QuestionsAreToldApartByNameAndDirection) {
    const FileDialogRequest named{"Load BND", "BND Files|*.BND", "bnd", "boundary file"};
    const FileDialogRequest sameTitle{"Open", "", "", "log"};
    const FileDialogRequest otherPage{"Open", "", "", "trace"};
    const FileDialogRequest unnamed{"Export", "CSV|*.csv", "csv"};
    EXPECT_EQ(questionKey(named, false), "open boundary file");
    EXPECT_EQ(questionKey(named, true), "save boundary file");
    EXPECT_NE(questionKey(sameTitle, false), questionKey(otherPage, false));
    EXPECT_EQ(questionKey(unnamed, true), "save Export|CSV|*.csv");

    // Any character a key holds is kept apart from the settings' groups.
    remember(questionKey(unnamed, true), path("logs/x.csv"));
    remember("save Export", path("plots/x.csv"));
    EXPECT_EQ(startFolder(questionKey(unnamed, true)), path("logs"));
}

} // namespace
} // namespace quarvel
